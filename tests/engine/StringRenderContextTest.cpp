#include "SceneTestSupport.h"

#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_StringRenderContext.h"

#include <gtest/gtest.h>

namespace
{

using Core::RefPtr;
using Engine::StringRenderContext;

TEST(StringRenderContext, OnlyAContextWithTextureAndEffectIsQueued)
{
    const RefPtr<Renderer::RecordingRenderer> renderer = SceneTest::MakeRenderer();
    const RefPtr<Engine::SceneGraph> scene(new Engine::SceneGraph(renderer.Get()));
    Engine::RenderQueue& queue = scene->GetRenderQueue();

    const RefPtr<StringRenderContext> context(new StringRenderContext());
    EXPECT_EQ(context->GetType(), 1u);
    EXPECT_EQ(context->GetPrimitiveType(), 4u);
    EXPECT_EQ(context->GetVertices(), nullptr);
    EXPECT_EQ(context->GetTexCoords(), nullptr);
    EXPECT_EQ(context->GetIndices(), nullptr);
    EXPECT_EQ(context->GetIndexCount(), 0u);
    queue.AddScreenObject(context);
    EXPECT_TRUE(queue.GetScreenObjects().empty());

    context->effect = Renderer::CreateTextureEffect();
    queue.AddScreenObject(context);
    EXPECT_TRUE(queue.GetScreenObjects().empty());
    context->texture = SceneTest::MakeTexture("glyphs");
    context->vertices.assign(4, Math::Vector3(1, 2, 0));
    context->texCoords.assign(4, Math::Vector2D(0.5f, 0.5f));
    context->indices = {0, 1, 2, 0, 2, 3};
    context->depth = 3.0f;
    context->visible = false;
    context->transform = Math::Matrix4::Translation(1, 2, 3);
    queue.AddScreenObject(context);
    ASSERT_EQ(queue.GetScreenObjects().size(), 1u);
    EXPECT_EQ(context->GetIndexCount(), 6u);
    EXPECT_EQ(context->GetVertices(), context->vertices.data());

    // A reset context is back to its start: nothing to draw with.
    queue.ClearScreenObjects();
    context->Reset();
    EXPECT_FALSE(context->IsDrawable());
    EXPECT_EQ(context->GetVertices(), nullptr);
    EXPECT_EQ(context->GetIndexCount(), 0u);
    EXPECT_EQ(context->GetDepth(), 0.0f);
    EXPECT_TRUE(context->IsVisible());
    EXPECT_EQ(context->GetColor().w, 1.0f);
    EXPECT_EQ(context->GetColor().x, 0.0f);
    EXPECT_EQ(context->GetTransform().m[12], 0.0f);
    queue.AddScreenObject(context);
    EXPECT_TRUE(queue.GetScreenObjects().empty());
}

} // namespace
