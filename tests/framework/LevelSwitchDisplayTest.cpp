#include "GameTestSupport.h"
#include "SpriteTestSupport.h"
#include "framework/Velkor_ZibNetTestAccess.h"

#include "audio/Sound_Engine.h"
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_ObjectCounter.h"
#include "input/Input_KeyCodes.h"
#include "physics/Physics_PhysicsEngine.h"
#include "renderer/Renderer_TextureCache.h"

#include <cstdio>
#include <fstream>
#include <map>

namespace
{

using GameTest::GameDisplayTest;
using GameTest::Log;

using Strings = std::vector<std::string>;

int CountOf(const std::string& event)
{
    return static_cast<int>(std::count(Log().begin(), Log().end(), event));
}

class LevelSwitchDisplayTest : public GameDisplayTest
{
protected:
    // A started game at `level`, its log cleared.
    void StartAt(std::uint32_t level)
    {
        MakeGame(level);
        Tick();
        Log().clear();
    }
};

TEST_F(LevelSwitchDisplayTest, RequestsAnswerTheCountAndIgnoreIndicesPastIt)
{
    StartAt(1);
    Velkor::Level* before = game->GetCurrentLevel();
    EXPECT_EQ(game->ChangeLevel(3), 3u);
    EXPECT_EQ(game->ChangeLevel(0xFFFFFFFF), 3u);
    game->GoToLevel("three"); // known to the factory, but past the count
    game->GoToLevel("nowhere");
    EXPECT_FALSE(game->IsLevelSwitchPending());
    EXPECT_EQ(game->GetCurrentLevel(), before) << "a request never touches the current level";
    Tick();
    EXPECT_EQ(game->GetCurrentLevel(), before);
    EXPECT_EQ(CountOf("Init"), 0);
}

TEST_F(LevelSwitchDisplayTest, NavigationRequestsTheirLevelOrNothing)
{
    const struct
    {
        const char* name;
        std::uint32_t starting;
        std::uint32_t current;
        void (Velkor::Game::*request)();
        int expected; // -1: nothing requested
    } cases[] = {
        {"next", 0, 1, &Velkor::Game::GoToNextLevel, 2},
        {"next at the last", 0, 2, &Velkor::Game::GoToNextLevel, -1},
        {"previous", 0, 2, &Velkor::Game::GoToPreviousLevel, 1},
        {"previous at 0", 2, 0, &Velkor::Game::GoToPreviousLevel, -1},
        {"last", 0, 0, &Velkor::Game::GoToLastLevel, 2},
        {"first", 0, 2, &Velkor::Game::GoToFirstLevel, 0},
        {"starting", 1, 2, &Velkor::Game::GoToStartingLevel, 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        StartAt(c.starting);
        if (c.current != c.starting)
        {
            game->ChangeLevel(c.current);
            Tick();
        }
        ASSERT_EQ(CurrentIndex(), static_cast<int>(c.current));
        (game.Get()->*c.request)();
        EXPECT_EQ(game->IsLevelSwitchPending(), c.expected >= 0);
        Tick();
        EXPECT_EQ(CurrentIndex(), c.expected >= 0 ? c.expected : static_cast<int>(c.current));
        game.Reset();
    }
}

TEST_F(LevelSwitchDisplayTest, TheLastRequestOfAFrameIsCarriedOutOnce)
{
    StartAt(0);
    game->ChangeLevel(1);
    game->GoToLevel("two");
    Tick();
    EXPECT_EQ(CurrentIndex(), 2);
    EXPECT_EQ(CountOf("Create 1"), 0);
    EXPECT_EQ(CountOf("Create 2"), 1);
    EXPECT_FALSE(game->IsLevelSwitchPending());
    Tick();
    EXPECT_EQ(CountOf("Create 2"), 1);
}

TEST_F(LevelSwitchDisplayTest, RequestsFromTheEndingAndStartingLevels)
{
    // The old level's OnEnd retargets the switch under way.
    StartAt(0);
    factory->onEnd = [this](GameTest::TestLevel&) { game->ChangeLevel(2); };
    game->ChangeLevel(1);
    Tick();
    EXPECT_EQ(CurrentIndex(), 2);
    EXPECT_EQ(CountOf("Create 1"), 0);
    factory->onEnd = nullptr;
    game.Reset();

    // A request made by the new level's OnStart is dropped.
    StartAt(0);
    factory->onStart = [this](GameTest::TestLevel& level)
    {
        if (level.GetIndex() == 1)
        {
            game->ChangeLevel(2);
        }
    };
    game->ChangeLevel(1);
    Tick(3);
    EXPECT_EQ(CurrentIndex(), 1);
    EXPECT_EQ(CountOf("Create 2"), 0);
}

TEST_F(LevelSwitchDisplayTest, RestartMakesANewLevelWithObjectIdsFromZero)
{
    StartAt(1);
    Velkor::Level* first = game->GetCurrentLevel();
    first->SetName("first");
    for (int i = 0; i < 5; ++i)
    {
        Velkor::TakeObjectId();
    }
    std::uint32_t counterAtStart = 99;
    factory->onStart = [&counterAtStart](GameTest::TestLevel&)
    { counterAtStart = Velkor::GetObjectCounter(); };
    EXPECT_EQ(game->RestartLevel(), 3u);
    Tick();
    EXPECT_EQ(Log(), (Strings{"L1.OnEnd", "Init", "Create 1", "L1.OnStart", "Game.Update", "L1.Update",
                              "Game.OnPostCollision"}));
    ASSERT_NE(game->GetCurrentLevel(), nullptr);
    EXPECT_TRUE(game->GetCurrentLevel()->GetName().empty()) << "a new level object";
    EXPECT_EQ(counterAtStart, 0u);
}

// A short 16-bit mono WAV file.
std::string WriteWav()
{
    const std::string path = testing::TempDir() + "framework_switch.wav";
    const std::uint32_t frames = 22050;
    const std::uint32_t dataSize = frames * 2;
    std::ofstream out(path, std::ios::binary);
    auto put32 = [&out](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&out](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    put32(36 + dataSize);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(1);
    put32(22050);
    put32(44100);
    put16(2);
    put16(16);
    out.write("data", 4);
    put32(dataSize);
    for (std::uint32_t i = 0; i < frames; ++i)
    {
        put16(static_cast<std::uint16_t>((i % 50) * 600));
    }
    return path;
}

TEST_F(LevelSwitchDisplayTest, TheSwitchClearsEnginesInputAndAssetsBeforeTheNewLevelIsMade)
{
    StartAt(0);
    SoundEngine& sound = *game->GetSoundEngine();
    SoundEngine::Source* source =
        sound.CreateSource(sound.LoadSound(WriteWav(), SoundEngine::StreamThreshold), 1, 1);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(sound.Play(source));
    ASSERT_TRUE(sound.IsMarkedPlaying(source));

    game->GetCollisionEngine()->AddLayer();
    game->GetPhysicsEngine()->AddRigidBody(new Physics2D::RigidBody(
        Physics2D::MassProperties(1.0f, 1.0f, {}), Physics2D::RigidBody::Euler, nullptr, nullptr, nullptr));
    auto* actor = new Collision2D::CollisionActor();
    auto* animation = new Collision2D::CollisionAnimation();
    animation->AddCollisionFrame(new Collision2D::CollisionFrame());
    animation->AddCollisionFrame(new Collision2D::CollisionFrame());
    actor->AddCollisionAnimation(animation);
    game->AddCollisionAssets(actor);

    // The keyboard counts a key that goes down after its first update.
    Tick();
    input.SetKeyDown(Input::VirtualKey::A, true);
    Tick();
    ASSERT_TRUE(game->GetKeyboard()->IsPressed(Input::Key::A));

    struct Seen
    {
        std::size_t sources = 99;
        std::uint32_t layers = 99;
        std::size_t bodies = 99;
        bool keyA = true;
    } seen;
    factory->onStart = [this, &seen](GameTest::TestLevel&)
    {
        seen.sources = game->GetSoundEngine()->GetSourceCount();
        seen.layers = game->GetCollisionEngine()->GetLayerCount();
        seen.bodies = 0;
        for (const auto& body : game->GetPhysicsEngine()->GetRigidBodies())
        {
            seen.bodies += body ? 1 : 0;
        }
        seen.keyA = game->GetKeyboard()->IsPressed(Input::Key::A);
    };
    factory->assetsSeenAtCreation.clear();
    game->ChangeLevel(1);
    Tick();
    EXPECT_EQ(factory->assetsSeenAtCreation, (std::vector<std::size_t>{0}));
    EXPECT_TRUE(game->GetCollisionAssets().empty());
    EXPECT_EQ(seen.sources, 0u) << "the playing sound is stopped and released";
    EXPECT_EQ(seen.layers, 0u);
    EXPECT_EQ(seen.bodies, 0u);
    EXPECT_FALSE(seen.keyA) << "keys are cleared";
    std::remove((testing::TempDir() + "framework_switch.wav").c_str());
}

// Each level draws textures of its own, and levels 0 and 1 share one. The
// files are written 2 x 2 and rewritten 4 x 4 once the first level has
// loaded them: a texture still 2 pixels wide was never read again.
TEST_F(LevelSwitchDisplayTest, TexturesOfTheLevelLeftLastAreKeptForOneSwitch)
{
    SpriteTest::SheetFolder folder;
    std::map<std::string, std::string> paths;
    for (const char* name : {"a", "b", "c", "shared"})
    {
        paths[name] = folder.Sheet(std::string(name) + ".png", 2, 2);
    }
    const std::vector<std::vector<std::string>> drawnBy = {{"a", "shared"}, {"b", "shared"}, {"c"}};
    std::vector<Core::RefPtr<Renderer::TextureOGL>> drawn;
    factory->onStart = [&](GameTest::TestLevel& level)
    {
        for (const std::string& name : drawnBy[level.GetIndex()])
        {
            drawn.push_back(Renderer::LoadTexture(paths[name], true));
        }
    };
    factory->onEnd = [&drawn](GameTest::TestLevel&) { drawn.clear(); };
    // The width of the live texture of `name`; 0 when none is live.
    const auto width = [&paths](const std::string& name)
    {
        const Renderer::TextureOGL* texture = Renderer::TextureCache::GetInstance().Find(paths[name]);
        return texture != nullptr ? texture->GetWidth() : 0u;
    };

    StartAt(0);
    for (const char* name : {"a", "b", "c", "shared"})
    {
        folder.Sheet(std::string(name) + ".png", 4, 4);
    }
    const struct
    {
        std::uint32_t level;
        std::map<std::string, std::uint32_t> widths;
    } steps[] = {
        // The shared texture is not released on the way; b is new.
        {1, {{"a", 2}, {"b", 4}, {"shared", 2}}},
        // Back to the level left last: nothing is read again.
        {0, {{"a", 2}, {"b", 4}, {"shared", 2}}},
        // c is new; a and shared are kept, and b, left two switches ago,
        // is let go.
        {2, {{"a", 2}, {"b", 0}, {"c", 4}, {"shared", 2}}},
        // Level 1 takes shared (kept), not a: a is released, b made anew.
        {1, {{"a", 0}, {"b", 4}, {"c", 4}, {"shared", 2}}},
        // Restarting a level keeps every texture it draws.
        {1, {{"a", 0}, {"b", 4}, {"c", 0}, {"shared", 2}}},
    };
    for (const auto& step : steps)
    {
        game->ChangeLevel(step.level);
        Tick();
        ASSERT_EQ(CurrentIndex(), static_cast<int>(step.level));
        for (const auto& [name, expected] : step.widths)
        {
            EXPECT_EQ(width(name), expected) << "level " << step.level << ", " << name;
        }
    }
    game->Shutdown();
    drawn.clear();
    for (const char* name : {"a", "b", "c", "shared"})
    {
        EXPECT_EQ(width(name), 0u) << name << " outlives the game";
    }
}

TEST_F(LevelSwitchDisplayTest, APretendClientTellsTheHostItsIdAfterASwitch)
{
    using Session = Velkor::ZibNetTestAccess::Session;
    const struct
    {
        const char* name;
        Session session;
        bool sends;
    } cases[] = {{"single player", Session::None, false},
                 {"host", Session::Host, false},
                 {"client", Session::Client, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        StartAt(0);
        Velkor::ZibNet& network = *game->GetNetworkEngine();
        Velkor::ZibNetTestAccess::Pretend(network, c.session, 0x01020304);
        // A networked object of the old level, and an object list taken.
        Core::RefPtr<Velkor::GameObject> shared(new Velkor::GameObject());
        shared->SetNetworkID(new Velkor::NetObjectID(1, 1));
        network.AddNetworkObject(shared.Get());
        if (Velkor::ZibPlayer* local = network.GetLocalPlayer())
        {
            local->SetReceivedObjects(true);
        }
        static Strings calls;
        calls.clear();
        Velkor::ZibNet::SetCallObserver([](const char* operation, void*) { calls.emplace_back(operation); },
                                        nullptr);
        game->ChangeLevel(2);
        Tick();
        Velkor::ZibNet::SetCallObserver(nullptr, nullptr);
        const auto sent = Velkor::ZibNetTestAccess::SharedTransport().Of(16);
        if (!c.sends)
        {
            EXPECT_TRUE(sent.empty());
        }
        else
        {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(sent[0].bytes, (std::vector<std::uint8_t>{4, 3, 2, 1}));
            EXPECT_EQ(sent[0].channel, 3u) << "reliable, on the connection to the host";
            EXPECT_TRUE(sent[0].to == Velkor::ZibNetTestAccess::HostAddress());
        }
        // In a network game the level's network templates are dropped, the
        // networked objects went with the old level, and a client takes no
        // creation or sync until the new level's list has come.
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "ClearBaseNetObjects"),
                  c.session == Session::None ? 0 : 1);
        if (c.session != Session::None)
        {
            EXPECT_TRUE(network.GetNetworkObjects().empty());
            EXPECT_EQ(network.GetLocalPlayer()->HasReceivedObjects(), c.session == Session::Host);
        }
        game.Reset();
    }
}

} // namespace
