#pragma once

// A running game for the saved-game target and its seeds. The game opens a
// hidden window (SDL's off-screen driver unless the environment names
// another), draws through the recording renderer, plays on OpenAL Soft's
// null output and measures every frame as a sixtieth of a second. Its level
// holds the kinds a save carries: layers with collision grids, the listener
// camera and a viewport, sprites with collision objects and bodies (a force
// and a joint), a text, a circle mounted on a line, a playing sound, and an
// object still waiting in its layer's queue.

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_DynamicObject.h"
#include "core/Core_Clock.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Circle.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_LevelFactory.h"
#include "framework/Velkor_Line.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_SpriteAnimation.h"
#include "framework/Velkor_Text.h"
#include "framework/Velkor_Viewport.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_PhysicsEngine.h"
#include "renderer/Renderer_RecordingRenderer.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace Fuzz
{

// Two plain levels: the save names level indices, and a loaded pending
// switch must find a level to switch to.
class TwoLevels : public Velkor::LevelFactory
{
public:
    std::uint32_t GetLevelCount() override { return 2; }
    Velkor::Level* CreateLevel(std::uint32_t) override { return new Velkor::Level(); }
};

// Each read of the main thread is a sixtieth of a second later; other
// threads (the sound engine's streaming) read the real clock.
inline double SteppedClock()
{
    static const std::thread::id main = std::this_thread::get_id();
    static double now = 0.0;
    if (std::this_thread::get_id() != main)
    {
        return Core::QueryPerformanceMilliseconds();
    }
    now += 1000.0 / 60.0;
    return now;
}

inline Renderer::RecordingRenderer*& RecordingRendererOfGame()
{
    static Renderer::RecordingRenderer* renderer = nullptr;
    return renderer;
}

inline Core::RefPtr<Renderer::IRenderer> MakeRecordingRenderer(const Renderer::DisplayDescription& description)
{
    RecordingRendererOfGame() = new Renderer::RecordingRenderer(description);
    return Core::RefPtr<Renderer::IRenderer>(RecordingRendererOfGame());
}

// Runs frames and forgets what the renderer logged.
inline void RunFrames(Velkor::Game& game, int count)
{
    for (int i = 0; i < count; ++i)
    {
        game.RunFrame();
    }
    if (RecordingRendererOfGame() != nullptr)
    {
        RecordingRendererOfGame()->ClearLog();
    }
}

inline void AddBody(Velkor::GameObject& object)
{
    object.AddPhysicalProperties(Physics2D::MassProperties(1.0f, 1.0f, {}), 0);
}

// A sprite of a four-frame animation over collision asset 0, with a body.
inline Core::RefPtr<Velkor::Sprite> AddSprite(Velkor::Game& game, Velkor::Layer& layer, const char* name,
                                              Math::Vector2D at)
{
    Velkor::Sprite::AnimationList animations{Core::RefPtr<Velkor::SpriteAnimation>(new Velkor::SpriteAnimation(
        game.GetDirectory() + "\\Resources\\Animations\\DemoSheet.png", 2, 2, std::vector<float>(4, 0.05f)))};
    Core::RefPtr<Velkor::Sprite> sprite(new Velkor::Sprite(animations));
    sprite->SetName(name);
    sprite->SetPosition(at);
    auto* dynamic = new Collision2D::DynamicObject();
    dynamic->AddCollisionData(game.GetCollisionAssets()[0].get(), 0, 0);
    dynamic->SetCollisionType(0);
    dynamic->SetCanCollid(0, true);
    sprite->AddCollision(dynamic, layer.GetCollisionLayerIndex());
    sprite->SetCollisionActorIndex(0);
    AddBody(*sprite);
    layer.AddGameObject(sprite.Get());
    return sprite;
}

inline void BuildSavedLevel(Velkor::Game& game, Velkor::Level& level)
{
    level.SetName("fuzz");
    auto* actor = new Collision2D::CollisionActor();
    auto* animation = new Collision2D::CollisionAnimation();
    for (int i = 0; i < 4; ++i)
    {
        auto* frame = new Collision2D::CollisionFrame();
        frame->SetBoundingRectangle(Collision2D::ZibRect{16.0f, -16.0f, 16.0f, -16.0f}, true);
        frame->AddCircle(Math::Vector2D(0.0f, 0.0f), 14.0f, 0, true);
        animation->AddCollisionFrame(frame);
    }
    actor->AddCollisionAnimation(animation);
    game.AddCollisionAssets(actor);
    for (const char* name : {"back", "play"})
    {
        Core::RefPtr<Velkor::Layer> layer(new Velkor::Layer(static_cast<float>(level.GetLayers().size())));
        layer->SetName(name);
        layer->SetCollisionProperties(Math::Vector2D(-512.0f, -384.0f), 1024, 768, 100);
        level.AddLayer(layer.Get());
    }
    Velkor::Layer& back = *level.GetLayer(0);
    Velkor::Layer& play = *level.GetLayer(1);

    Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera(50.0f));
    camera->SetName("camera");
    back.AddGameObject(camera.Get());
    camera->MakeActiveListener();
    Core::RefPtr<Velkor::Viewport> viewport(new Velkor::Viewport(0, 0, 512, 384));
    viewport->SetName("view");
    viewport->SetCamera(camera.Get());
    level.AddViewport(viewport.Get());

    Core::RefPtr<Velkor::Sprite> runner = AddSprite(game, play, "runner", Math::Vector2D(100.0f, 50.0f));
    runner->SetLoop(true);
    runner->Play(true);
    runner->SetVelocity(Math::Vector2D(2.0f, 0.0f));
    runner->AddForce(new Physics2D::GravityForce(Math::Vector2D(0.0f, -1.0f), 50.0f));
    Core::RefPtr<Velkor::Sprite> sleeper = AddSprite(game, play, "sleeper", Math::Vector2D(110.0f, 55.0f));
    sleeper->SetFlipVertical(true);
    game.GetPhysicsEngine()->AddJoint(runner->GetPhysicsId(), sleeper->GetPhysicsId(),
                                      new Physics2D::JointFixed());

    Core::RefPtr<Velkor::Text> text(new Velkor::Text("score 100", ""));
    text->SetName("score");
    back.AddGameObject(text.Get());
    Core::RefPtr<Velkor::Line> line(new Velkor::Line(Math::Vector2D(1, 2), Math::Vector2D(3, 4)));
    line->SetName("edge");
    back.AddGameObject(line.Get());
    Core::RefPtr<Velkor::Circle> circle(new Velkor::Circle(12.0f));
    circle->SetName("ring");
    back.AddGameObject(circle.Get());
    circle->Mount(line.Get());
    Core::RefPtr<Velkor::Sound> hum(new Velkor::Sound(
        game.GetDirectory() + "\\Resources\\Sounds\\Armour_Fall_LoseArmour1.wav", 0, 10.0f, 1, 0.0f, 0));
    hum->SetName("hum");
    back.AddGameObject(hum.Get());
    hum->Play(true);
}

// The game, made once per process and kept: its level built and run for a
// few frames, with one more object waiting in the play layer's queue.
inline Velkor::Game& GetSavedGame()
{
    static Velkor::Game* game = []
    {
        setenv("ENGINE_HEADLESS", "1", 1);
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        Core::SetClockFunction(&SteppedClock);
        Engine::RenderingApplication::SetRendererFactory(&MakeRecordingRenderer);
        auto* made = new Velkor::Game(Core::RefPtr<Velkor::LevelFactory>(new TwoLevels()),
                                      Engine::DisplayRequest{64, 48, 60, 0, false, false}, 0);
        made->AddReference();
        RunFrames(*made, 1);
        BuildSavedLevel(*made, *made->GetCurrentLevel());
        RunFrames(*made, 3);
        Core::RefPtr<Velkor::GameObject> waiting(new Velkor::GameObject());
        waiting->SetName("waiting");
        AddBody(*waiting);
        made->GetCurrentLevel()->GetLayer(1)->AddGameObject(waiting.Get());
        Core::SeedRandom(77);
        // The engines go before the process ends; the game itself stays.
        static Velkor::Game* const running = made;
        std::atexit([] { running->Shutdown(); });
        return made;
    }();
    return *game;
}

inline std::vector<std::uint8_t> SaveOf(const Velkor::Game& game)
{
    Core::MemoryFile file;
    game.SaveGame(file);
    return file.GetBuffer();
}

} // namespace Fuzz
