#include "SceneTestSupport.h"

#include "engine/Engine_Camera.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_ScreenObject.h"
#include "engine/Engine_Viewport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Core::RefPtr;
using Engine::RenderQueue;
using Engine::TextRenderContext;
using Renderer::ToText;

namespace
{

// A quad that counts the queue's calls before it is drawn.
class CountingContext : public TextRenderContext
{
public:
    void PrepareDraw() override { ++prepared; }
    int prepared = 0;
};

RefPtr<CountingContext> MakeObject(float depth, bool withEffect, bool withTexture)
{
    RefPtr<CountingContext> object(new CountingContext());
    object->depth = depth;
    // The colour tells the draws apart.
    object->color = Math::Vector4(depth, 0.0f, 0.0f, 1.0f);
    if (withEffect)
    {
        object->effect = Renderer::CreateTextureEffect();
    }
    if (withTexture)
    {
        object->texture = SceneTest::MakeTexture("image");
    }
    return object;
}

class ScreenObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        renderer = SceneTest::MakeRenderer();
        scene = RefPtr<Engine::SceneGraph>(new Engine::SceneGraph(renderer.Get()));
    }

    RenderQueue& Queue() { return scene->GetRenderQueue(); }

    RefPtr<Renderer::RecordingRenderer> renderer;
    RefPtr<Engine::SceneGraph> scene;
};

TEST_F(ScreenObjectTest, OnlyDrawableObjectsAreQueuedAndTheyAreDrawnByDepth)
{
    Queue().AddScreenObject(MakeObject(0.2f, false, true));
    Queue().AddScreenObject(nullptr);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());

    const RefPtr<CountingContext> objects[3] = {MakeObject(0.5f, true, true), MakeObject(0.1f, true, true),
                                                MakeObject(0.3f, true, false)};
    for (const RefPtr<CountingContext>& object : objects)
    {
        Queue().AddScreenObject(object);
    }
    Queue().DrawScreenObjects();

    const std::vector<Renderer::RecordedDraw>& draws = renderer->GetDraws();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].color.x, 0.1f);
    EXPECT_EQ(draws[1].color.x, 0.3f);
    EXPECT_EQ(draws[2].color.x, 0.5f);
    for (const Renderer::RecordedDraw& draw : draws)
    {
        EXPECT_EQ(draw.operation, "DrawRange");
        EXPECT_EQ(draw.count, 6u);
        EXPECT_FALSE(draw.indices32);
    }
    // The object without a texture binds none.
    EXPECT_TRUE(draws[0].texture0);
    EXPECT_FALSE(draws[1].texture0);
    EXPECT_EQ(SceneTest::CallsNamed(*renderer, {"SetTexture"}).size(), 4u);
    for (const RefPtr<CountingContext>& object : objects)
    {
        EXPECT_EQ(object->prepared, 1);
    }
    EXPECT_TRUE(Queue().GetScreenObjects().empty());
}

TEST_F(ScreenObjectTest, DrawScreenObjectsUsesWindowPixelsAndPutsEverythingBack)
{
    renderer->SetViewport(Renderer::ViewportRecord{10, 20, 30, 40, 0.0f, 1.0f});
    Renderer::ScissorState scissor;
    scissor.x = 10;
    scissor.enabled = true;
    renderer->SetScissor(scissor);
    renderer->SetViewMatrix(Math::Matrix4::Translation(0, 0, -9));
    renderer->SetProjectionMatrix(Math::Matrix4::Perspective(45.0f, 1.0f, 1.0f, 100.0f));
    renderer->SetTextureMatrix(0, Math::Matrix4::Scale(3, 3, 3));
    const std::string before = renderer->DescribeStates();
    const auto snapshot = [this]
    {
        Renderer::ScissorState current;
        return ToText(renderer->GetViewport()) + ToText(renderer->GetScissor(current)) +
               ToText(renderer->GetViewMatrix()) + ToText(renderer->GetProjectionMatrix());
    };
    const std::string placement = snapshot();

    // An empty list changes only the texture matrix.
    Queue().DrawScreenObjects();
    EXPECT_EQ(snapshot(), placement);
    EXPECT_EQ(ToText(renderer->GetTextureMatrix(0)), ToText(Math::Matrix4()));

    renderer->SetTextureMatrix(0, Math::Matrix4::Scale(3, 3, 3));
    const RefPtr<CountingContext> object = MakeObject(0.0f, true, true);
    object->transform = Math::Matrix4::Translation(5, 6, 0);
    Queue().AddScreenObject(object);
    renderer->ClearLog();
    Queue().DrawScreenObjects();
    ASSERT_EQ(renderer->GetDraws().size(), 1u);
    const Renderer::RecordedDraw& draw = renderer->GetDraws()[0];
    EXPECT_EQ(ToText(draw.projection), ToText(Math::Matrix4::Orthographic2D(0, 1024, 0, 768)));
    EXPECT_EQ(ToText(draw.view), ToText(Math::Matrix4()));
    EXPECT_EQ(draw.world.m[12], 5.0f);
    EXPECT_EQ(SceneTest::CallsNamed(*renderer, {"SetViewport", "SetScissor"}).front(),
              "SetScissor(0, 0, 1024, 768, false)");
    EXPECT_EQ(snapshot(), placement);
    EXPECT_EQ(renderer->DescribeStates().substr(0, before.find("CurrentColor")),
              before.substr(0, before.find("CurrentColor")));
    EXPECT_EQ(ToText(renderer->GetTextureMatrix(0)), ToText(Math::Matrix4()));
    EXPECT_FALSE(renderer->GetTexture(0));
    EXPECT_EQ(renderer->GetArrays().vertices, nullptr);
    EXPECT_EQ(renderer->GetArrays().indices, nullptr);
}

TEST_F(ScreenObjectTest, ClearScreenObjectsDropsThemUndrawn)
{
    Queue().AddScreenObject(MakeObject(0.0f, true, true));
    Queue().Clear();
    EXPECT_EQ(Queue().GetScreenObjects().size(), 1u);
    Queue().ClearScreenObjects();
    EXPECT_TRUE(Queue().GetScreenObjects().empty());
}

TEST_F(ScreenObjectTest, BackgroundFillsItsViewportInThatViewportsPixels)
{
    const RefPtr<Engine::Camera> camera(new Engine::Camera(45.0f, 0.1f, 100.0f));
    scene->AddChild(camera);
    const RefPtr<Engine::Viewport> viewport(new Engine::Viewport(100, 50, 200, 100, 0));
    viewport->SetBackground(SceneTest::MakeTexture("sky"));
    scene->RenderView(camera, viewport);

    const std::vector<Renderer::RecordedDraw>& draws = renderer->GetDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(ToText(draws[0].projection), ToText(Math::Matrix4::Orthographic2D(100, 300, 50, 150)));
    EXPECT_EQ(ToText(draws[0].view), ToText(Math::Matrix4()));
    EXPECT_EQ(draws[0].primitiveType, Renderer::PrimitiveTriangles);
    ASSERT_TRUE(draws[0].texture0);
    EXPECT_EQ(draws[0].texture0->GetName(), "sky");
    // Its corners project onto the viewport's corners.
    const auto* corners = static_cast<const Math::Vector3*>(draws[0].vertexArray);
    const Math::Vector4 lowerLeft = draws[0].projection * Math::Vector4(corners[0].x, corners[0].y, 0, 1);
    const Math::Vector4 upperRight = draws[0].projection * Math::Vector4(corners[2].x, corners[2].y, 0, 1);
    EXPECT_FLOAT_EQ(lowerLeft.x, -1.0f);
    EXPECT_FLOAT_EQ(lowerLeft.y, -1.0f);
    EXPECT_FLOAT_EQ(upperRight.x, 1.0f);
    EXPECT_FLOAT_EQ(upperRight.y, 1.0f);
}

TEST_F(ScreenObjectTest, SubmittedBackgroundTakesTheBackgroundEffectAndDrawsAsTriangles)
{
    TextRenderContext background;
    background.effect = Renderer::CreateSpriteEffect();
    background.primitiveType = Renderer::PrimitiveTriangleFan;
    Queue().SubmitBackground(background);
    EXPECT_TRUE(Queue().GetBackgrounds().empty());

    background.texture = SceneTest::MakeTexture("sky");
    Queue().SubmitBackground(background);
    ASSERT_EQ(Queue().GetBackgrounds().size(), 1u);
    EXPECT_EQ(background.effect.Get(), Queue().GetBackgroundEffect().Get());
    EXPECT_EQ(Queue().GetBackgrounds()[0].effect.Get(), Queue().GetBackgroundEffect().Get());

    Queue().DrawBackgrounds();
    ASSERT_EQ(renderer->GetDraws().size(), 1u);
    EXPECT_EQ(renderer->GetDraws()[0].primitiveType, Renderer::PrimitiveTriangles);
}

// Neighbouring backgrounds share the background effect: its states are
// saved before the first and restored after the last, and a texture they
// share stays bound between them.
TEST_F(ScreenObjectTest, BackgroundsChangeStateOnlyAtTheEdgesOfRuns)
{
    const RefPtr<Renderer::ITexture> shared = SceneTest::MakeTexture("shared");
    const RefPtr<Renderer::ITexture> other = SceneTest::MakeTexture("other");
    for (const RefPtr<Renderer::ITexture>& texture : {shared, shared, other})
    {
        TextRenderContext background;
        background.texture = texture;
        Queue().SubmitBackground(background);
    }
    renderer->ClearLog();
    Queue().DrawBackgrounds();
    EXPECT_EQ(renderer->GetDraws().size(), 3u);
    // Saving captures the depth state; applying and restoring set it.
    EXPECT_EQ(renderer->CountCalls("GetDepthBuffer"), 1u);
    EXPECT_EQ(renderer->CountCalls("SetDepthBuffer"), 2u);
    const std::vector<std::string> bindings = SceneTest::CallsNamed(*renderer, {"SetTexture"});
    ASSERT_EQ(bindings.size(), 4u);
    EXPECT_NE(bindings[0], "SetTexture(0, none)");
    EXPECT_EQ(bindings[1], "SetTexture(0, none)");
    EXPECT_NE(bindings[2], "SetTexture(0, none)");
    EXPECT_EQ(bindings[3], "SetTexture(0, none)");
    EXPECT_EQ(renderer->GetDraws()[1].texture0.Get(), shared.Get());
    EXPECT_EQ(renderer->GetDraws()[2].texture0.Get(), other.Get());
}

TEST(TextRenderContext, ResetRestoresTheDefaults)
{
    TextRenderContext context;
    context.effect = Renderer::CreateTextureEffect();
    context.texture = SceneTest::MakeTexture("t");
    context.vertices[1] = Math::Vector3(4, 5, 6);
    context.texCoords[3] = Math::Vector2D(1, 1);
    context.color = Math::Vector4(1, 1, 1, 1);
    context.indices[0] = 9;
    context.depth = 0.5f;
    context.visible = false;
    context.primitiveType = 6;
    context.transform = Math::Matrix4::Translation(1, 1, 1);
    EXPECT_TRUE(context.IsDrawable());
    context.Reset();

    const TextRenderContext fresh;
    EXPECT_FALSE(context.IsDrawable());
    EXPECT_FALSE(context.GetTexture());
    EXPECT_EQ(context.vertices[1].y, 0.0f);
    EXPECT_EQ(context.texCoords[3].x, 0.0f);
    EXPECT_EQ(ToText(context.color), ToText(fresh.color));
    EXPECT_EQ(context.indices[0], 0u);
    EXPECT_EQ(context.indices[4], 2u);
    EXPECT_EQ(context.GetDepth(), 0.0f);
    EXPECT_TRUE(context.IsVisible());
    EXPECT_EQ(context.GetPrimitiveType(), 4u);
    EXPECT_EQ(ToText(context.GetTransform()), ToText(Math::Matrix4()));
}

} // namespace
