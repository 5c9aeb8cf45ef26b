#include "WorldTestSupport.h"

#include "audio/Sound_Engine.h"
#include "engine/Engine_SceneGraph.h"
#include "input/Input_KeyCodes.h"

#include <algorithm>
#include <cmath>

namespace
{

using GameTest::Log;
using WorldTest::Probe;
using WorldTest::WorldDisplayTest;

using Strings = std::vector<std::string>;

class LevelDisplayTest : public WorldDisplayTest
{
protected:
    Renderer::RecordingRenderer& Renderer()
    {
        return static_cast<Renderer::RecordingRenderer&>(*game->GetRenderer());
    }

    // The viewport rectangles drawn into, in order (the whole window, which
    // views restore and the last view's overlay pass uses, left out; a
    // rectangle set again at once counted once).
    std::vector<std::string> ViewportsDrawn()
    {
        std::vector<std::string> drawn;
        for (const std::string& call : Renderer().GetCallStrings())
        {
            if (call.rfind("SetViewport(", 0) == 0 && call != "SetViewport(0, 0, 64, 48, 0, 1)")
            {
                drawn.push_back(call);
            }
        }
        drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
        return drawn;
    }
};

TEST_F(LevelDisplayTest, ViewportsRenderInOrderAndACameralessOneOnlyCounts)
{
    Engine::SceneGraph& sceneGraph = *game->GetSceneGraph();
    sceneGraph.SetViewportCount(99);
    Level().Render(0.1f);
    EXPECT_EQ(sceneGraph.GetViewportCount(), 0) << "no viewports";

    Velkor::Layer& layer = AddLayer(0.0f, "layer");
    Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera(45.0f));
    layer.AddGameObject(camera.Get());
    Core::RefPtr<Velkor::Viewport> left(new Velkor::Viewport(0, 0, 32, 48));
    Core::RefPtr<Velkor::Viewport> right(new Velkor::Viewport(32, 0, 32, 48));
    Core::RefPtr<Velkor::Viewport> blind(new Velkor::Viewport(0, 0, 8, 8));
    left->SetCamera(camera.Get());
    right->SetCamera(camera.Get());
    Level().AddViewport(left.Get());
    Level().AddViewport(right.Get());
    Level().AddViewport(left.Get()); // already there
    Level().AddViewport(nullptr);
    ASSERT_EQ(Level().GetViewportsCount(), 2u);

    Renderer().ClearLog();
    Level().Render(0.1f);
    const Strings inOrder = {"SetViewport(0, 0, 32, 48, 0, 1)", "SetViewport(32, 0, 32, 48, 0, 1)"};
    EXPECT_EQ(ViewportsDrawn(), inOrder);
    EXPECT_EQ(sceneGraph.GetViewportCount(), 2);
    EXPECT_EQ(sceneGraph.GetCurrentViewportIndex(), 1);

    Level().AddViewport(blind.Get());
    Renderer().ClearLog();
    Level().Render(0.1f);
    EXPECT_EQ(ViewportsDrawn(), inOrder) << "the camera-less viewport draws nothing";
    EXPECT_EQ(sceneGraph.GetViewportCount(), 3);

    // A detached camera draws nothing, and its viewport still holds it.
    camera->Detach();
    camera = nullptr;
    Renderer().ClearLog();
    Level().Render(0.1f);
    EXPECT_TRUE(ViewportsDrawn().empty());
    Level().RemoveViewport(left.Get());
    EXPECT_EQ(Level().GetViewport(0), right.Get());
}

TEST_F(LevelDisplayTest, LayersKeepTheirIndicesAndClearRunsOnce)
{
    Velkor::Layer& first = AddLayer(0.0f, "twin");
    Velkor::Layer& second = AddLayer(0.0f, "twin");
    EXPECT_EQ(first.GetIndex(), 0u);
    EXPECT_EQ(second.GetIndex(), 1u);
    EXPECT_EQ(Level().GetLayer(2), nullptr);
    EXPECT_EQ(Level().GetLayerByName("twin"), &first);
    EXPECT_EQ(Level().GetLayerByName("none"), nullptr);
    EXPECT_FALSE(Level().AddLayer(&first)) << "already in a level";
    EXPECT_FALSE(Level().AddLayer(nullptr));
    EXPECT_EQ(Level().GetLayersCount(), 2u);
    EXPECT_EQ(game->GetSceneGraph()->GetChildren().size(), 2u);

    Core::RefPtr<Probe> object(new Probe("p"));
    first.AddGameObject(object.Get());
    first.FrameUpdate(0.1f);
    Log().clear();
    Level().Clear();
    EXPECT_EQ(Log(), (Strings{"p.Detach"}));
    EXPECT_EQ(Level().GetLayersCount(), 0u);
    EXPECT_TRUE(game->GetSceneGraph()->GetChildren().empty());
    Level().Clear();
    EXPECT_EQ(Log(), (Strings{"p.Detach"}));
}

TEST_F(LevelDisplayTest, TheSoundListenerFollowsTheActiveCamera)
{
    ASSERT_EQ(Velkor::Camera::GetActiveListener(), nullptr);
    SoundEngine& sound = *game->GetSoundEngine();
    sound.SetListenerPosition({1.0f, 2.0f, 3.0f});
    Level().FrameUpdate(0.1f);
    EXPECT_EQ(sound.GetListenerPosition().x, 1.0f) << "untouched without a listener";

    // The first camera is the listener, before it is in any layer (depth 0).
    Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera(45.0f));
    Core::RefPtr<Velkor::Camera> second(new Velkor::Camera(30.0f));
    EXPECT_TRUE(camera->IsActiveListener());
    EXPECT_FALSE(second->IsActiveListener());
    camera->SetPosition(10.0f, 20.0f);
    Level().FrameUpdate(0.1f);
    EXPECT_EQ(sound.GetListenerPosition().x, 10.0f);
    EXPECT_EQ(sound.GetListenerPosition().y, 20.0f);
    EXPECT_EQ(sound.GetListenerPosition().z, 0.0f);

    Velkor::Layer& deep = AddLayer(927.058f);
    deep.AddGameObject(camera.Get());
    Level().FrameUpdate(0.1f);
    EXPECT_EQ(sound.GetListenerPosition().z, 927.058f);

    camera->Detach();
    EXPECT_EQ(Velkor::Camera::GetActiveListener(), nullptr);
    second->MakeActiveListener();
    EXPECT_TRUE(second->IsActiveListener());
    second = nullptr;
    EXPECT_EQ(Velkor::Camera::GetActiveListener(), nullptr) << "a destroyed listener is forgotten";
}

TEST_F(LevelDisplayTest, CamerasAndViewportsKeepTheirSettings)
{
    Core::RefPtr<Velkor::Viewport> viewport(new Velkor::Viewport(3, 4, -5, 10));
    EXPECT_EQ(viewport->GetWidth(), 0);
    EXPECT_EQ(viewport->GetHeight(), 10);
    EXPECT_EQ(viewport->GetPosition().x, 3.0f);
    Core::RefPtr<Core::Object> made(Core::CreateObject("Velkor::Viewport"));
    auto* byName = dynamic_cast<Velkor::Viewport*>(made.Get());
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->GetWidth(), 800);
    EXPECT_EQ(byName->GetHeight(), 600);

    Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera(60.0f));
    Core::RefPtr<Velkor::Camera> copy(static_cast<Velkor::Camera*>(camera->Clone()));
    EXPECT_EQ(copy->GetFOV(), 60.0f);
    EXPECT_NE(copy->GetEngineCamera().Get(), camera->GetEngineCamera().Get());
    EXPECT_EQ(copy->GetEngineCamera()->GetFOV(), 60.0f);
    EXPECT_FALSE(copy->IsActiveListener());
    copy->SetFOV(30.0f);
    EXPECT_EQ(camera->GetEngineCamera()->GetFOV(), 60.0f);
}

void ExpectIdentityAt(const Math::Matrix4& matrix, float x, float y, float z, float tolerance)
{
    const Math::Matrix4 expected = Math::Matrix4::Translation(x, y, z);
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_NEAR(matrix.m[i], expected.m[i], tolerance) << i;
    }
}

TEST_F(LevelDisplayTest, FreeFlightIsSharedAndWTurnsAFullCircleIn90Steps)
{
    Core::RefPtr<Velkor::Camera> first(new Velkor::Camera(45.0f));
    Core::RefPtr<Velkor::Camera> second(new Velkor::Camera(45.0f));
    // A step shows the turns of the steps before it, a move at once.
    auto hold = [this](Velkor::Camera& camera, std::uint8_t key, int calls)
    {
        input.SetKeyDown(key, true);
        game->GetKeyboard()->Update();
        for (int i = 0; i < calls; ++i)
        {
            camera.UpdateFromKeyboard();
        }
        input.SetKeyDown(key, false);
        game->GetKeyboard()->Update();
        camera.UpdateFromKeyboard();
        return camera.GetNode()->GetTransformation();
    };
    // The keyboard counts keys that go down after its first update.
    game->GetKeyboard()->Update();
    hold(*first, Input::VirtualKey::A + ('R' - 'A'), 1);

    const Math::Matrix4 quarter = hold(*first, Input::VirtualKey::A + ('W' - 'A'), 22);
    EXPECT_GT(std::fabs(quarter.m[6]), 0.9f) << "about a quarter pitch after 22 steps of 4 degrees";
    ExpectIdentityAt(hold(*first, Input::VirtualKey::A + ('W' - 'A'), 68), 0.0f, 0.0f, 0.0f, 1e-4f);

    hold(*first, Input::VirtualKey::Up, 1);
    const Math::Matrix4 moved = first->GetNode()->GetTransformation();
    ExpectIdentityAt(moved, 0.0f, 0.0f, -4.0f, 1e-4f);
    second->UpdateFromKeyboard();
    // The state is shared.
    ExpectIdentityAt(second->GetNode()->GetTransformation(), 0.0f, 0.0f, -4.0f, 1e-4f);

    hold(*second, Input::VirtualKey::A + ('S' - 'A'), 5);
    ExpectIdentityAt(hold(*second, Input::VirtualKey::A + ('R' - 'A'), 1), 0.0f, 0.0f, 0.0f, 1e-6f);
}

} // namespace
