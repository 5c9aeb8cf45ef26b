#include "GameTestSupport.h"
#include "framework/Velkor_ZibNetTestAccess.h"

#include "audio/Sound_Engine.h"
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "engine/Engine_SceneGraph.h"
#include "physics/Physics_PhysicsEngine.h"

#include <cmath>
#include <limits>

namespace
{

using GameTest::GameDisplayTest;
using GameTest::Log;
using GameTest::Record;

using Strings = std::vector<std::string>;

TEST_F(GameDisplayTest, TheFirstTickStartsTheLevelOnceAndUpdatesNothing)
{
    Velkor::Game& game = MakeGame();
    EXPECT_EQ(Velkor::Game::GetInstance(), &game);
    EXPECT_EQ(game.GetCurrentLevel(), nullptr);

    Tick();
    EXPECT_EQ(Log(), (Strings{"Create 0", "OnGameStart", "L0.OnStart"}));
    ASSERT_NE(game.GetCurrentLevel(), nullptr);

    Log().clear();
    Tick(2);
    EXPECT_EQ(Log(), (Strings{"Game.Update", "L0.Update", "Game.OnPostCollision", "Game.Update", "L0.Update",
                              "Game.OnPostCollision"}));
}

TEST_F(GameDisplayTest, AStartingIndexAtOrAboveTheCountStartsAtLevelZero)
{
    const struct
    {
        std::uint32_t starting;
        int started;
    } cases[] = {{0, 0}, {2, 2}, {3, 0}, {0xFFFFFFFF, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.starting);
        MakeGame(c.starting);
        Tick();
        EXPECT_EQ(CurrentIndex(), c.started);
        EXPECT_EQ(game->GetStartingLevelIndex(), static_cast<std::uint32_t>(c.started));
        game.Reset();
    }
}

TEST_F(GameDisplayTest, ATickThatMeasuresNoTimeDrawsAndUpdatesNothing)
{
    MakeGame();
    auto& renderer = static_cast<Renderer::RecordingRenderer&>(*game->GetRenderer());
    Tick();
    // This tick runs on the step measured by the first and measures 0.
    GameTest::SteppingClock::SetStep(0.0);
    Tick();
    Log().clear();
    renderer.ClearLog();

    Tick();
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(renderer.GetCalls().empty());

    // The next tick measures again; it still runs on the 0 it measured.
    GameTest::SteppingClock::SetStep(Step);
    Tick();
    EXPECT_TRUE(Log().empty());
    Tick();
    EXPECT_EQ(Log(), (Strings{"Game.Update", "L0.Update", "Game.OnPostCollision"}));
}

// The frame's observable steps: a level switch (with a pretend client) and
// then the update, from the stand-ins, the hooks, a body's move callback,
// the contact callback and the scene graph's update hook.
void RecordCall(const char* operation, void* prefix)
{
    Record(std::string(static_cast<const char*>(prefix)) + operation);
}

void RecordBodyMove(Physics2D::RigidBody*, void*)
{
    Record("Body.Move");
}

Physics2D::PhysicsEngine::ContactListUpdate g_gameContacts = nullptr;

void RecordContacts(Physics2D::PhysicsEngine* engine, void* data)
{
    Record("Contacts");
    g_gameContacts(engine, data);
}

TEST_F(GameDisplayTest, OneFrameRunsItsStepsInOrder)
{
    MakeGame();
    Tick();
    static char hudPrefix[] = "HUD.";
    static char netPrefix[] = "Net.";
    GUI::HUD::SetCallObserver(&RecordCall, hudPrefix);
    Velkor::ZibNet::SetCallObserver(&RecordCall, netPrefix);
    Velkor::ZibNetTestAccess::Pretend(*game->GetNetworkEngine(), Velkor::ZibNetTestAccess::Session::Client,
                                      7);
    Physics2D::PhysicsEngine* physics = game->GetPhysicsEngine();
    g_gameContacts = physics->GetContactListUpdate();
    physics->SetContactListUpdate(&RecordContacts);
    game->GetSceneGraph()->SetUpdateHook([](Engine::Node&, float) { Record("SceneGraph.Update"); });
    // The new level's body: the engines are cleared before it starts.
    factory->onStart = [physics](GameTest::TestLevel&)
    {
        physics->AddRigidBody(new Physics2D::RigidBody(Physics2D::MassProperties(1.0f, 1.0f, {}),
                                                       Physics2D::RigidBody::Euler, &RecordBodyMove, nullptr,
                                                       nullptr));
    };
    game->ChangeLevel(1);
    Log().clear();

    Tick();
    EXPECT_EQ(Log(), (Strings{// the switch
                              "HUD.Clear", "L0.OnEnd", "Init", "Net.RemoveAllNetworkGameObjects",
                              "Net.ClearBaseNetObjects", "Create 1",
                              "L1.OnStart", "Body.Move", "Net.Send",
                              // the update
                              "HUD.Update", "Game.Update", "L1.Update", "Body.Move", "Game.OnPostCollision",
                              "Contacts", "Net.ResetNetworkKeyboards", "Net.Update", "SceneGraph.Update",
                              "HUD.Render"}));
}

TEST_F(GameDisplayTest, TheClearBackBufferFlagClearsTheWindowWithTheLevelsColour)
{
    MakeGame();
    auto& renderer = static_cast<Renderer::RecordingRenderer&>(*game->GetRenderer());
    Tick(2);
    EXPECT_EQ(renderer.CountCalls("ClearColorBuffer"), 0u);

    game->GetCurrentLevel()->SetClearBackBuffer(true);
    game->GetCurrentLevel()->SetClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    renderer.ClearLog();
    Tick();
    EXPECT_EQ(renderer.CountCalls("ClearColorBuffer"), 1u);
}

TEST_F(GameDisplayTest, MasterVolumeIsClampedAndNaNIgnored)
{
    MakeGame();
    ASSERT_TRUE(game->GetSoundEngine()->IsInitialized());
    const struct
    {
        float set;
        float kept;
    } cases[] = {{5.0f, 5.0f},
                 {12.0f, 10.0f},
                 {-1.0f, 0.0f},
                 {std::numeric_limits<float>::quiet_NaN(), 0.0f},
                 {10.0f, 10.0f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.set);
        game->SetMasterVolume(c.set);
        EXPECT_EQ(game->GetMasterVolume(), c.kept);
        EXPECT_EQ(game->GetSoundEngine()->GetMasterVolume(), c.kept);
    }
}

TEST_F(GameDisplayTest, AFactoryThatMakesNoLevelIsReportedAndNothingCallsTheMissingLevel)
{
    factory->nullIndex = 1;
    MakeGame();
    Tick();
    game->ChangeLevel(1);
    Tick(3);
    EXPECT_EQ(game->GetCurrentLevel(), nullptr);
    // The report ends the program: the quit message is posted.
    EXPECT_FALSE(PAL::ProcessMessages());
}

TEST_F(GameDisplayTest, TheWindowOperationsAndResolutionComeFromTheApplication)
{
    MakeGame();
    game->SetTitle("Brillow");
    EXPECT_EQ(game->GetTitle(), "Brillow");
    EXPECT_EQ(game->GetWindow().GetTitle(), "Brillow");
    EXPECT_EQ(game->GetResolutionWidth(), 64u);
    EXPECT_EQ(game->GetResolutionHeight(), 48u);
    EXPECT_FALSE(game->GetDirectory().empty());
    EXPECT_EQ(game->GetExecutableNameNoExtension(), game->GetExecutableName());
}

TEST(GameNames, OnlyAFinalLowerCaseExeIsDropped)
{
    const struct
    {
        const char* name;
        const char* expected;
    } cases[] = {{"game.exe", "game"}, {"GAME.EXE", "GAME.EXE"},
                 {"game", "game"},     {"game.exe.txt", "game.exe.txt"},
                 {".exe", ""},         {"", ""}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(Velkor::Game::WithoutExeExtension(c.name), c.expected) << c.name;
    }
}

// An object that uses the engines when it is released, as game objects do
// (they take their collision object and body out of the engines).
class EngineUser : public Core::Object
{
public:
    explicit EngineUser(std::string name) : name_(std::move(name))
    {
        Velkor::Game* game = Velkor::Game::GetInstance();
        bodyId_ = game->GetPhysicsEngine()->AddRigidBody(new Physics2D::RigidBody(
            Physics2D::MassProperties(1.0f, 1.0f, {}), Physics2D::RigidBody::Euler, nullptr, nullptr, this));
        layer_ = static_cast<std::uint32_t>(game->GetCollisionEngine()->AddLayer());
    }
    ~EngineUser() override
    {
        Velkor::Game* game = Velkor::Game::GetInstance();
        if (game == nullptr || game->GetPhysicsEngine() == nullptr || game->GetCollisionEngine() == nullptr)
        {
            Record(name_ + " found no engines");
            return;
        }
        game->GetPhysicsEngine()->RemoveRigidBody(bodyId_);
        game->GetCollisionEngine()->RemoveStaticShapes(layer_);
        Record(name_ + " released its body");
    }

private:
    std::string name_;
    std::uint32_t bodyId_ = 0;
    std::uint32_t layer_ = 0;
};

class GameWithMembers : public GameTest::TestGame
{
public:
    using TestGame::TestGame;
    Core::RefPtr<EngineUser> member;
};

TEST_F(GameDisplayTest, ShutdownEndsTheLevelAndReleasesObjectsBeforeTheEnginesGo)
{
    Core::RefPtr<GameWithMembers> owner(new GameWithMembers(factory, 0));
    game = owner;
    Tick(2);
    owner->member = new EngineUser("member");
    owner->AddManagedObject(new EngineUser("managed"), "managed");
    auto* actor = new Collision2D::CollisionActor();
    auto* animation = new Collision2D::CollisionAnimation();
    animation->AddCollisionFrame(new Collision2D::CollisionFrame());
    actor->AddCollisionAnimation(animation);
    owner->AddCollisionAssets(actor);
    owner->AddCollisionAssets(actor);
    EXPECT_EQ(owner->GetCollisionAssets().size(), 1u);
    Log().clear();

    owner->Shutdown();
    EXPECT_EQ(Log(), (Strings{"L0.OnEnd", "OnGameEnd", "managed released its body"}));
    EXPECT_EQ(GUI::HUD::GetInstance(), nullptr);
    EXPECT_EQ(owner->GetCurrentLevel(), nullptr);
    EXPECT_TRUE(owner->GetCollisionAssets().empty());
    EXPECT_EQ(owner->GetCollisionEngine(), nullptr);
    EXPECT_EQ(owner->GetPhysicsEngine(), nullptr);
    EXPECT_EQ(owner->GetSoundEngine(), nullptr);
    EXPECT_EQ(owner->GetNetworkEngine(), nullptr);

    Log().clear();
    owner->Shutdown();
    EXPECT_TRUE(Log().empty()) << "Shutdown runs once";

    // The derived game releases its own members after the engines went.
    game.Reset();
    owner.Reset();
    EXPECT_EQ(Log(), (Strings{"member found no engines"}));
    EXPECT_EQ(Velkor::Game::GetInstance(), nullptr);
}

TEST_F(GameDisplayTest, AGameDestroyedWithoutShutdownShutsDownOnItsWay)
{
    MakeGame();
    Tick();
    game->AddManagedObject(new EngineUser("managed"), "managed");
    Log().clear();
    game.Reset();
    // The derived part is gone by then: the Game's own hooks run.
    EXPECT_EQ(Log(), (Strings{"L0.OnEnd", "managed released its body"}));
    EXPECT_EQ(Velkor::Game::GetInstance(), nullptr);
}

} // namespace
