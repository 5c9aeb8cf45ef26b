#include "SceneTestSupport.h"

#include "engine/Engine_Camera.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_TransformationGroup.h"
#include "engine/Engine_Viewport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using Core::RefPtr;
using Engine::Camera;
using Engine::SceneGraph;
using Engine::Viewport;
using Renderer::ToText;

namespace
{

// A drawable that submits one mesh item per view and notes when the walk
// reached it.
class ItemNode : public Engine::Node
{
public:
    explicit ItemNode(bool overlay) : mesh(new Engine::Mesh()), effect(Renderer::CreateDefaultEffect())
    {
        for (int i = 0; i < 3; ++i)
        {
            mesh->AddPosition(Math::Vector3(static_cast<float>(i), 1.0f, 0.0f));
        }
        mesh->AddDrawRange(Engine::DrawRange{0, 2, -1, true});
        SetOverlay(overlay);
    }
    void Render(const Math::Frustum&) override { Draw(); }
    void DrawRecursive() override { Draw(); }
    void Draw() override
    {
        walkedAt = renderer != nullptr ? renderer->GetCalls().size() : 0;
        Engine::RenderQueueItem item;
        item.effect = effect;
        item.mesh = mesh;
        item.drawRangeIndex = 0;
        item.overlay = IsOverlay();
        Engine::RenderQueue::GetInstance()->Submit(item);
    }

    RefPtr<Engine::Mesh> mesh;
    RefPtr<Renderer::Effect> effect;
    Renderer::RecordingRenderer* renderer = nullptr;
    std::size_t walkedAt = 0;
};

// Equal up to the sign of zero.
bool SameMatrix(const Math::Matrix4& a, const Math::Matrix4& b)
{
    for (int i = 0; i < 16; ++i)
    {
        if (a.m[i] != b.m[i])
        {
            return false;
        }
    }
    return true;
}

class SceneGraphTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        renderer = SceneTest::MakeRenderer();
        scene = RefPtr<SceneGraph>(new SceneGraph(renderer.Get()));
        cameraMount = RefPtr<Engine::TransformationGroup>(new Engine::TransformationGroup());
        cameraMount->SetTransformation(Math::Matrix4::Translation(0, 0, 50));
        camera = RefPtr<Camera>(new Camera(45.0f, 0.1f, 10000.0f));
        cameraMount->AddChild(camera);
        scene->AddChild(cameraMount);
        scene->MakeCurrentAndUpdate(0.0f);
    }

    RefPtr<Renderer::RecordingRenderer> renderer;
    RefPtr<SceneGraph> scene;
    RefPtr<Engine::TransformationGroup> cameraMount;
    RefPtr<Camera> camera;
};

TEST_F(SceneGraphTest, RenderViewRunsItsStepsInOrder)
{
    const RefPtr<ItemNode> drawable(new ItemNode(false));
    drawable->renderer = renderer.Get();
    scene->AddChild(drawable);
    const RefPtr<Viewport> viewport(new Viewport(10, 20, 300, 200, 0));
    viewport->SetClearColor(Math::Vector4(0.5f, 0.25f, 0.125f, 1.0f));
    viewport->SetBackground(SceneTest::MakeTexture("background"));
    renderer->ClearLog();

    scene->RenderView(camera, viewport);

    const std::vector<std::string> names = {"SetViewport",   "SetScissor",   "SetProjectionMatrix",
                                            "SetViewMatrix", "ClearBuffers", "DrawRange"};
    std::vector<std::string> steps;
    const std::vector<Renderer::RecordedCall>& calls = renderer->GetCalls();
    for (std::size_t i = 0; i < calls.size(); ++i)
    {
        if (i == drawable->walkedAt)
        {
            steps.push_back("walk");
        }
        for (const std::string& name : names)
        {
            if (calls[i].name == name)
            {
                steps.push_back(name);
            }
        }
    }
    const std::vector<std::string> expected = {
        // viewport Begin, camera Begin, the scene walk, the viewport's clear
        "SetViewport", "SetScissor", "SetProjectionMatrix", "SetViewMatrix", "walk", "ClearBuffers",
        // the background in the viewport's pixels
        "SetViewMatrix", "SetProjectionMatrix", "DrawRange", "SetProjectionMatrix", "SetViewMatrix",
        // the item, then camera End and viewport End
        "DrawRange", "SetProjectionMatrix", "SetViewMatrix", "SetViewport", "SetScissor"};
    EXPECT_EQ(steps, expected);

    EXPECT_EQ(SceneTest::CallsNamed(*renderer, {"SetViewport"}).front(),
              "SetViewport(10, 20, 300, 200, 0, 1)");
    EXPECT_EQ(SceneTest::CallsNamed(*renderer, {"SetScissor"}).front(), "SetScissor(10, 20, 300, 200, true)");
    EXPECT_EQ(SceneTest::CallsNamed(*renderer, {"ClearBuffers"}).front(),
              "ClearBuffers((0.5, 0.25, 0.125, 1), 1, 0)");
    // The item was drawn through the camera; afterwards all is as before.
    ASSERT_EQ(renderer->GetDraws().size(), 2u);
    EXPECT_EQ(renderer->GetDraws()[1].view.m[14], -50.0f);
    EXPECT_EQ(ToText(renderer->GetViewMatrix()), ToText(Math::Matrix4()));
    EXPECT_EQ(ToText(renderer->GetProjectionMatrix()), ToText(Math::Matrix4()));
    Renderer::ScissorState scissor;
    EXPECT_FALSE(renderer->GetScissor(scissor).enabled);
    EXPECT_TRUE(scene->GetRenderQueue().GetBlendedItems().empty());
    EXPECT_TRUE(scene->GetRenderQueue().GetBackgrounds().empty());
    EXPECT_EQ(scene->GetRenderQueue().GetCamera().Get(), camera.Get());
}

TEST_F(SceneGraphTest, CameraSetsProjectionAndInverseWorldAndPutsThemBack)
{
    const Math::Matrix4 oldProjection = Math::Matrix4::Orthographic2D(0, 10, 0, 10);
    const Math::Matrix4 oldView = Math::Matrix4::Translation(1, 2, 3);
    renderer->SetProjectionMatrix(oldProjection);
    renderer->SetViewMatrix(oldView);

    EXPECT_EQ(camera->GetPosition().z, 50.0f);
    camera->Begin(*renderer, 300, 200);
    EXPECT_EQ(ToText(renderer->GetProjectionMatrix()),
              ToText(Math::Matrix4::Perspective(45.0f, 1.5f, 0.1f, 10000.0f)));
    EXPECT_TRUE(SameMatrix(renderer->GetViewMatrix(), Math::Matrix4::Translation(0, 0, -50)));
    // The frustum follows the camera: the near corners sit just in front of it.
    EXPECT_NEAR(camera->GetFrustum().corners[0].z, 49.9f, 1e-3f);
    camera->End(*renderer);
    EXPECT_EQ(ToText(renderer->GetProjectionMatrix()), ToText(oldProjection));
    EXPECT_EQ(ToText(renderer->GetViewMatrix()), ToText(oldView));

    // A new field of view takes effect at the next Begin; BuildFrustum
    // touches neither the renderer nor the camera's frustum.
    camera->SetFOV(90.0f);
    const Math::Frustum before = camera->GetFrustum();
    renderer->ClearLog();
    Math::Frustum built;
    camera->BuildFrustum(built, 300, 200);
    EXPECT_TRUE(renderer->GetCalls().empty());
    EXPECT_EQ(camera->GetFrustum().corners[4].x, before.corners[4].x);
    EXPECT_NE(built.corners[4].x, before.corners[4].x);
    camera->Begin(*renderer, 300, 200);
    EXPECT_EQ(ToText(renderer->GetProjectionMatrix()),
              ToText(Math::Matrix4::Perspective(90.0f, 1.5f, 0.1f, 10000.0f)));
    camera->End(*renderer);
}

TEST_F(SceneGraphTest, ViewportPutsViewportAndScissorBack)
{
    renderer->SetViewport(Renderer::ViewportRecord{1, 2, 3, 4, 0.25f, 0.75f});
    Viewport viewport(100, 50, 200, 100, 0);
    viewport.Begin(*renderer);
    const Renderer::ViewportRecord inside = renderer->GetViewport();
    EXPECT_EQ(ToText(inside), ToText(Renderer::ViewportRecord{100, 50, 200, 100, 0.0f, 1.0f}));
    Renderer::ScissorState scissor;
    EXPECT_EQ(ToText(renderer->GetScissor(scissor)), "100, 50, 200, 100, true");
    viewport.End(*renderer);
    EXPECT_EQ(ToText(renderer->GetViewport()), ToText(Renderer::ViewportRecord{1, 2, 3, 4, 0.25f, 0.75f}));
    EXPECT_FALSE(renderer->GetScissor(scissor).enabled);
}

TEST_F(SceneGraphTest, ViewportWithoutBackgroundSubmitsNothing)
{
    Viewport viewport(0, 0, 100, 100, 0);
    viewport.DrawBackground();
    EXPECT_TRUE(scene->GetRenderQueue().GetBackgrounds().empty());

    viewport.SetBackground(SceneTest::MakeTexture("sky"));
    viewport.DrawBackground();
    ASSERT_EQ(scene->GetRenderQueue().GetBackgrounds().size(), 1u);
    const Engine::TextRenderContext& background = scene->GetRenderQueue().GetBackgrounds()[0];
    EXPECT_EQ(background.effect.Get(), scene->GetRenderQueue().GetBackgroundEffect().Get());
    EXPECT_EQ(background.texture->GetName(), "sky");
    EXPECT_EQ(ToText(background.color), ToText(Math::Vector4(1, 1, 1, 1)));
    EXPECT_EQ(background.vertices[2].x, 100.0f);
    EXPECT_EQ(background.texCoords[2].y, 1.0f);
}

// With three viewports, overlay items live only in the last one: dropped in
// viewports 0 and 1, drawn once in 2 over the whole window, one unit a pixel.
TEST_F(SceneGraphTest, OverlayIsDrawnOnlyInTheLastViewport)
{
    const RefPtr<ItemNode> overlay(new ItemNode(true));
    scene->AddChild(overlay);
    const RefPtr<Viewport> viewports[3] = {RefPtr<Viewport>(new Viewport(0, 0, 512, 384, 0)),
                                           RefPtr<Viewport>(new Viewport(512, 0, 512, 384, 0)),
                                           RefPtr<Viewport>(new Viewport(0, 384, 1024, 384, 0))};
    scene->SetViewportCount(3);
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        scene->SetCurrentViewportIndex(i);
        renderer->ClearLog();
        scene->RenderView(camera, viewports[i]);
        EXPECT_EQ(renderer->GetDraws().size(), i == 2 ? 1u : 0u);
        EXPECT_TRUE(scene->GetRenderQueue().GetOverlayItems().empty());
    }
    const Renderer::RecordedDraw& draw = renderer->GetDraws().front();
    EXPECT_EQ(ToText(draw.projection),
              ToText(Math::Matrix4::Perspective(45.0f, 1024.0f / 768.0f, 1.0f, 10000.0f)));
    const float distance =
        static_cast<float>(768.0 / (2.0 * std::tan(22.5 * 3.14159265358979323846 / 180.0)));
    EXPECT_EQ(ToText(draw.view), ToText(Math::Matrix4::Translation(0, 0, -distance)));
    EXPECT_EQ(draw.vertexArray, overlay->mesh->GetPositions().data());
    const std::vector<std::string> viewportCalls = SceneTest::CallsNamed(*renderer, {"SetViewport"});
    EXPECT_EQ(viewportCalls[1], "SetViewport(0, 0, 1024, 768, 0, 1)");
    const std::vector<std::string> scissorCalls = SceneTest::CallsNamed(*renderer, {"SetScissor"});
    EXPECT_EQ(scissorCalls[1], "SetScissor(0, 0, 1024, 768, false)");
    // Every window pixel of a 1024 x 768 window maps to one unit at z = 0.
    Math::Vector3 window;
    renderer->SetProjectionMatrix(draw.projection);
    renderer->SetViewMatrix(draw.view);
    renderer->SetWorldMatrix(Math::Matrix4());
    renderer->SetViewport(Renderer::ViewportRecord{0, 0, 1024, 768, 0.0f, 1.0f});
    ASSERT_TRUE(renderer->Project(window, Math::Vector3(100.0f, -50.0f, 0.0f)));
    EXPECT_NEAR(window.x, 512.0f + 100.0f, 1e-2f);
    EXPECT_NEAR(window.y, 384.0f - 50.0f, 1e-2f);
}

TEST_F(SceneGraphTest, CameraIsDrawnOnlyForItsDebugMeshes)
{
    const RefPtr<Viewport> viewport(new Viewport(0, 0, 100, 100, 0));
    renderer->ClearLog();
    scene->RenderView(camera, viewport);
    EXPECT_TRUE(renderer->GetDraws().empty());

    camera->ShowBoundingVolume(true, false);
    camera->ShowFrustum(true);
    scene->RenderView(camera, viewport);
    ASSERT_EQ(renderer->GetDraws().size(), 2u);
    EXPECT_EQ(renderer->GetDraws()[0].count, 36u);
    // The frustum mesh holds the frustum's corners.
    EXPECT_EQ(camera->GetFrustumMesh()->GetPositions()[0].z, camera->GetFrustum().corners[0].z);
}

TEST_F(SceneGraphTest, ClearScreenClearsTheWholeWindow)
{
    renderer->ClearLog();
    scene->ClearScreen(Math::Vector4(0.0f, 0.5f, 1.0f, 1.0f));
    EXPECT_EQ(
        SceneTest::CallsNamed(*renderer, {"SetViewport", "SetScissor", "ClearColorBuffer"}),
        (std::vector<std::string>{"SetViewport(0, 0, 1024, 768, 0, 1)", "SetScissor(0, 0, 1024, 768, true)",
                                  "ClearColorBuffer((0, 0.5, 1, 1))", "SetViewport(0, 0, 1024, 768, 0, 1)",
                                  "SetScissor(0, 0, 640, 480, false)"}));
}

TEST_F(SceneGraphTest, UpdatePlacesTheTreeUnderTheSceneGraph)
{
    cameraMount->SetTransformation(Math::Matrix4::Translation(0, 7, 0));
    scene->Update(0.0f);
    EXPECT_EQ(camera->GetWorldMatrix().m[13], 7.0f);
    EXPECT_EQ(cameraMount->GetParent(), scene.Get());
    EXPECT_EQ(scene->GetNodeType(), 5u);
    EXPECT_EQ(camera->GetNodeType(), 1u);
    EXPECT_TRUE(camera->IsLeaf());
    EXPECT_FALSE(scene->IsLeaf());
}

} // namespace
