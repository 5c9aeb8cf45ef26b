// Recording the input of every frame, the replay-data file, playing a
// recording back from its start and coming back to the game that ran before.
#include "ParticleTestSupport.h"
#include "SpriteTestSupport.h"
#include "WorldTestSupport.h"
#include "tests/script/ScriptTestState.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "core/Core_ResourceReport.h"
#include "framework/Velkor_Random.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_ZibNetTestAccess.h"
#include "input/Input_KeyCodes.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "physics/Physics_RigidBody.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

namespace
{

std::vector<std::uint8_t> Bytes(const Core::MemoryFile& file)
{
    return std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize());
}

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(stream)),
                                     std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Every object's id and pose, bit for bit, ordered by id, then the sparks'
// particles.
using Pose = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;

class ReplayDisplayTest : public WorldTest::WorldDisplayTest
{
protected:
    void SetUp() override
    {
        WorldTest::WorldDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        // The saves directory is shared by every test program run from this
        // directory at the same time: this run's files carry its own prefix.
        prefix = "replaytest" + std::to_string(getpid()) + "_";
        directory = game->GetSavesDirectory();
        // The pre-replay save has one name for every game run from here:
        // the tests that make it take turns.
        lock = open((game->GetDirectory() + "/replay-tests.lock").c_str(), O_CREAT | O_RDWR, 0644);
        ASSERT_GE(lock, 0);
        ASSERT_EQ(flock(lock, LOCK_EX), 0);
        input.SetClientArea({0, 0, 1024, 768});
    }

    void TearDown() override
    {
        if (!directory.empty())
        {
            std::error_code ignored;
            for (const auto& entry : std::filesystem::directory_iterator(directory, ignored))
            {
                if (entry.path().filename().string().rfind(prefix, 0) == 0)
                {
                    std::filesystem::remove(entry.path(), ignored);
                }
            }
            std::filesystem::remove(directory + "/gameSaved_OnReplayStart", ignored);
        }
        if (lock >= 0)
        {
            close(lock);
        }
        WorldTest::WorldDisplayTest::TearDown();
    }

    std::string Path(const std::string& name) const { return directory + "/" + prefix + name; }
    std::string PreReplayPath() const { return directory + "/gameSaved_OnReplayStart"; }

    // Records `frames` frames of level 0 under `name` and writes them: the
    // file holds frames - 1 records.
    void Record(const std::string& name, int frames)
    {
        game->ReplayRecordingStart(prefix + name);
        Tick(frames);
        game->ReplayRecordingStop();
        Tick();
        ASSERT_TRUE(std::filesystem::exists(Path(name + "_replayData")));
    }

    // What the game's Update sees in the next frame, as a save.
    std::vector<std::uint8_t> SaveSeenByNextUpdate()
    {
        std::vector<std::uint8_t> seen;
        game->onUpdate = [&](float) { seen = SaveNow(); };
        Tick();
        game->onUpdate = nullptr;
        return seen;
    }

    std::vector<std::uint8_t> SaveNow()
    {
        Core::MemoryFile file;
        game->SaveGame(file);
        return Bytes(file);
    }

    // A sprite of one circle (actor 0) with a body, moving at `velocity`.
    void AddBall(Velkor::Layer& layer, const std::string& name, Math::Vector2D position,
                 Math::Vector2D velocity)
    {
        Velkor::Sprite::AnimationList animations{SpriteTest::MakeAnimation(
            game->GetDirectory() + "\\Resources\\Animations\\PLAYERBALL.png", 1, 1, 1)};
        Core::RefPtr<Velkor::Sprite> ball(new Velkor::Sprite(animations));
        ball->SetName(name);
        ball->SetPosition(position);
        auto* dynamic = new Collision2D::DynamicObject();
        dynamic->AddCollisionData(game->GetCollisionAssets()[0].get(), 0, 0);
        dynamic->SetCollisionType(1);
        dynamic->SetCanCollid(0, true);
        ASSERT_TRUE(ball->AddCollision(dynamic, layer.GetCollisionLayerIndex()));
        ball->SetCollisionActorIndex(0);
        AddBody(*ball);
        ball->SetVelocity(velocity);
        layer.AddGameObject(ball.Get());
    }

    // Level 1: one play layer, a ring of balls heading for each other and
    // the player's ball in the middle. The game steers the player with the
    // arrow keys and the left button (towards the pointer), and spawns a
    // ball at a random place every 20 frames.
    void StartBouncingLevel()
    {
        factory->onStart = [this](GameTest::TestLevel& level)
        {
            if (level.GetIndex() != 1)
            {
                return;
            }
            SpriteTest::FrameShapes shapes;
            shapes.rectangle = Collision2D::ZibRect{16.0f, -16.0f, 16.0f, -16.0f};
            shapes.circles.push_back({Math::Vector2D(0.0f, 0.0f), 16.0f});
            game->AddCollisionAssets(SpriteTest::MakeActor({shapes}));
            Core::RefPtr<Velkor::Layer> layer(new Velkor::Layer(0.0f));
            layer->SetName("play");
            layer->SetCollisionProperties(Math::Vector2D(-1024.0f, -1024.0f), 2048, 2048, 100);
            level.AddLayer(layer.Get());
            for (int i = 0; i < 8; ++i)
            {
                const float angle = static_cast<float>(i) * 0.785398f;
                const Math::Vector2D at(std::cos(angle) * 160.0f, std::sin(angle) * 160.0f);
                AddBall(*layer, "ball", at, Math::Vector2D(-at.x * 0.5f, -at.y * 0.5f));
            }
            AddBall(*layer, "player", Math::Vector2D(0.0f, 0.0f), Math::Vector2D(0.0f, 0.0f));
            // Sparks draw from the generator between the spawns.
            ParticleTest::FreshRecord record;
            record.count = 30;
            Core::RefPtr<Velkor::DiskEmitter> emitter(
                new Velkor::DiskEmitter(Math::Vector2D(0.0f, 0.0f), 30.0f));
            record.emitter = emitter.Get();
            Core::RefPtr<Velkor::ParticleSystem> sparks = ParticleTest::LoadFresh(record);
            sparks->SetName("sparks");
            sparks->SetEmissionRate(100.0f, 200.0f);
            sparks->SetParticleLifeTime(0.2f, 0.6f);
            sparks->SetParticleSpeed(20.0f, 80.0f);
            layer->AddGameObject(sparks.Get());
        };
        game->onUpdate = [this](float)
        {
            Velkor::Level* level = game->GetCurrentLevel();
            if (level == nullptr || level->GetLayerByName("play") == nullptr)
            {
                return;
            }
            Velkor::Layer& play = *level->GetLayerByName("play");
            Velkor::Layer::ObjectList found;
            play.GetGameObjectsByName("player", found);
            if (!found.empty())
            {
                Velkor::GameObject& player = *found.front();
                Math::Vector2D velocity;
                player.GetVelocity(velocity);
                const Input::Keyboard& keys = *game->GetKeyboard();
                velocity.x += keys.IsPressed(Input::Key::Right)  ? 8.0f
                              : keys.IsPressed(Input::Key::Left) ? -8.0f
                                                                 : 0.0f;
                velocity.y += keys.IsPressed(Input::Key::Up)     ? 8.0f
                              : keys.IsPressed(Input::Key::Down) ? -8.0f
                                                                 : 0.0f;
                const Input::Mouse& mouse = *game->GetMouse();
                if (mouse.IsPressed(0))
                {
                    const Math::Vector2D target(static_cast<float>(mouse.GetPositionX() - 512),
                                                static_cast<float>(mouse.GetPositionY() - 384));
                    velocity = velocity + (target - player.GetPosition()) * 0.05f;
                }
                player.SetVelocity(velocity);
            }
            if (++updates % 20 == 0)
            {
                const Math::Vector2D at(static_cast<float>(Velkor::RandomInt(-300, 300)),
                                        static_cast<float>(Velkor::RandomInt(-300, 300)));
                AddBall(play, "spawn", at, Velkor::RandomVector2D({-40.0f, -40.0f}, {40.0f, 40.0f}));
            }
        };
        game->onContact =
            [this](Velkor::GameObject* a, Velkor::GameObject* b, float& restitution, float& friction)
        {
            ++contacts;
            return game->Velkor::Game::OnContact(a, b, restitution, friction);
        };
        game->ChangeLevel(1);
        Tick(2);
    }

    std::vector<Pose> Poses()
    {
        std::vector<Pose> poses;
        for (const Core::RefPtr<Velkor::Layer>& layer : Level().GetLayers())
        {
            layer->ForEachHeldObject(
                [&](Velkor::GameObject& object)
                {
                    poses.emplace_back(object.GetID(), std::bit_cast<std::uint32_t>(object.GetPositionX()),
                                       std::bit_cast<std::uint32_t>(object.GetPositionY()),
                                       std::bit_cast<std::uint32_t>(object.GetRotationAngle()));
                });
        }
        std::sort(poses.begin(), poses.end());
        if (auto* sparks = Velkor::FindObject<Velkor::ParticleSystem>("sparks"))
        {
            for (const Velkor::Particle& particle : sparks->GetParticles())
            {
                poses.emplace_back(0xFFFFFFFFu, std::bit_cast<std::uint32_t>(particle.position.x),
                                   std::bit_cast<std::uint32_t>(particle.position.y),
                                   particle.alive ? 1u : 0u);
            }
        }
        return poses;
    }

    // The scripted input of frame `f`: the pointer sweeps, the left button
    // is held in some stretches, the arrows in others.
    void ScriptFrame(int f)
    {
        input.SetCursor(300 + (f * 7) % 400, 200 + (f * 13) % 300);
        input.SetKeyDown(Input::VirtualKey::LButton, (f / 25) % 2 == 1);
        input.SetKeyDown(Input::VirtualKey::Right, f % 60 < 15);
        input.SetKeyDown(Input::VirtualKey::Up, f % 45 > 30);
        input.SetKeyDown(Input::VirtualKey::Left, f > 200 && f < 230);
    }

    std::string prefix;
    std::string directory;
    int lock = -1;
    int updates = 0;
    int contacts = 0;
};

TEST_F(ReplayDisplayTest, AReplayRepeatsEveryRecordedFrameBitForBitAndTheRunningGameComesBack)
{
    StartBouncingLevel();
    game->ReplayRecordingStart(prefix + "run");
    std::vector<std::vector<Pose>> recorded;
    for (int f = 0; f < 300; ++f)
    {
        ScriptFrame(f);
        Tick();
        recorded.push_back(Poses());
    }
    game->ReplayRecordingStop();
    EXPECT_FALSE(game->IsRecording());
    ASSERT_EQ(game->GetReplayRecords().size(), 300u);
    EXPECT_GT(contacts, 0) << "the balls never met";
    EXPECT_GT(recorded.back().size(), recorded.front().size()) << "nothing spawned";

    // The game goes on elsewhere with other input; that is what must come
    // back after the replay.
    for (int f = 0; f < 40; ++f)
    {
        ScriptFrame(1000 - f);
        Tick();
    }
    ASSERT_TRUE(std::filesystem::exists(Path("run_replayData")));
    const std::vector<std::uint8_t> beforeReplay = SaveNow();

    game->ReplayStart(prefix + "run");
    // Live input that would steer otherwise: the replay feeds the recorded.
    input.SetCursor(900, 700);
    input.SetKeyDown(Input::VirtualKey::LButton, true);
    input.SetKeyDown(Input::VirtualKey::Down, true);
    // The file holds every record but the last: frames 0 to 298.
    for (int f = 0; f < 299; ++f)
    {
        Tick();
        ASSERT_TRUE(f == 298 || game->IsReplaying()) << f;
        ASSERT_EQ(Poses(), recorded[static_cast<std::size_t>(f)]) << "frame " << f;
    }
    EXPECT_FALSE(game->IsReplaying());

    // The next frame loads the game saved when the replay started; it is
    // what the game's Update of that frame sees.
    EXPECT_EQ(SaveSeenByNextUpdate(), beforeReplay);
    EXPECT_EQ(ReadFile(PreReplayPath()), beforeReplay);
}

TEST_F(ReplayDisplayTest, ARecordingOfFFramesStoppedInFrameFWritesFMinusOneRecords)
{
    for (const int frames : {1, 2, 7})
    {
        const std::string name = "f" + std::to_string(frames);
        int frame = 0;
        // Started between frames: the next frame saves the start and is the
        // first one recorded.
        game->ReplayRecordingStart(prefix + name);
        game->onUpdate = [&](float)
        {
            if (++frame == frames)
            {
                game->ReplayRecordingStop();
            }
        };
        Tick(frames);
        EXPECT_FALSE(game->IsRecording());
        EXPECT_EQ(game->GetReplayRecords().size(), static_cast<std::size_t>(frames));
        EXPECT_FALSE(std::filesystem::exists(Path(name + "_replayData")));
        Tick();
        const std::vector<std::uint8_t> bytes = ReadFile(Path(name + "_replayData"));
        ASSERT_GE(bytes.size(), 4u) << frames;
        std::uint32_t count = 0;
        std::memcpy(&count, bytes.data(), 4);
        EXPECT_EQ(count, static_cast<std::uint32_t>(frames - 1));
        EXPECT_TRUE(std::filesystem::exists(Path(name + "_gameSaved")));
        game->onUpdate = nullptr;
    }
}

TEST_F(ReplayDisplayTest, TheStopKeyEndsAReplayAtOnceAndTheNextFrameBringsTheGameBack)
{
    Record("keyed", 10);
    game->ChangeLevel(2);
    Tick(2);
    const std::vector<std::uint8_t> before = SaveNow();

    game->ReplayStart(prefix + "keyed");
    Tick(3);
    ASSERT_TRUE(game->IsReplaying());
    EXPECT_EQ(game->GetCurrentLevelIndex(), 0u);
    EXPECT_EQ(game->GetReplayPosition(), 3u);
    input.SetKeyDown(Input::VirtualKey::Escape, true);
    Tick();
    input.SetKeyDown(Input::VirtualKey::Escape, false);
    EXPECT_FALSE(game->IsReplaying());
    // No record was fed in the frame of the key.
    EXPECT_EQ(game->GetReplayPosition(), 3u);
    EXPECT_FALSE(game->GetKeyboard()->IsPressed(Input::Key::Escape));
    EXPECT_EQ(game->GetCurrentLevelIndex(), 0u);
    EXPECT_EQ(SaveSeenByNextUpdate(), before);
    EXPECT_EQ(game->GetCurrentLevelIndex(), 2u);
}

TEST_F(ReplayDisplayTest, AReplayEndsAfterItsLastRecordAndTheNextFrameBringsTheGameBack)
{
    Record("short", 4);
    game->ChangeLevel(1);
    Tick();
    const std::vector<std::uint8_t> before = SaveNow();
    game->ReplayStart(prefix + "short");
    Tick(2);
    EXPECT_TRUE(game->IsReplaying());
    // The third and last record is fed and ends the replay.
    Tick();
    EXPECT_FALSE(game->IsReplaying());
    EXPECT_EQ(game->GetCurrentLevelIndex(), 0u);
    EXPECT_EQ(SaveSeenByNextUpdate(), before);
    EXPECT_EQ(game->GetCurrentLevelIndex(), 1u);
}

TEST_F(ReplayDisplayTest, StartingAReplayAbandonsARecording)
{
    Record("kept", 3);
    game->ReplayRecordingStart(prefix + "abandoned");
    Tick(4);
    ASSERT_EQ(game->GetReplayRecords().size(), 4u);
    game->ReplayStart(prefix + "kept");
    EXPECT_TRUE(game->GetReplayRecords().empty());
    Tick();
    EXPECT_TRUE(game->IsReplaying());
    // The recording's start was saved while it recorded: loading it does
    // not start recording again.
    EXPECT_FALSE(game->IsRecording());
    EXPECT_EQ(game->GetReplayRecords().size(), 2u);
    Tick(2);
    EXPECT_FALSE(game->IsReplaying());
    EXPECT_FALSE(game->IsRecording());
    // Nor does the game that ran before the replay come back recording.
    game->ReplayRecordingStop();
    Tick();
    EXPECT_FALSE(std::filesystem::exists(Path("abandoned_replayData")));
}

TEST_F(ReplayDisplayTest, ASaveAndALoadInOneFramePerformOnlyTheLoad)
{
    game->Save(prefix + "first");
    Tick();
    const std::vector<std::uint8_t> first = ReadFile(Path("first"));
    ASSERT_FALSE(first.empty());
    game->ChangeLevel(2);
    Tick(2);
    game->Save(prefix + "second");
    game->Load(prefix + "first");
    EXPECT_EQ(SaveSeenByNextUpdate(), first);
    EXPECT_EQ(game->GetCurrentLevelIndex(), 0u);
    EXPECT_FALSE(std::filesystem::exists(Path("second")));
}

TEST_F(ReplayDisplayTest, DamagedReplayDataEndsTheReplayAndKeepsTheRunningGame)
{
    Record("good", 6);
    const std::vector<std::uint8_t> good = ReadFile(Path("good_replayData"));
    std::vector<std::uint8_t> lying = good;
    lying[0] = 0xFF;
    std::vector<std::uint8_t> button = good;
    // Record 0: no keys, mouse flag, a button count of 1, button 3.
    const std::uint8_t recordZero[] = {0, 1, 1, 0, 0, 0, 3, 1, 0, 0, 0, 1, 1, 0, 0, 0};
    button.insert(button.begin() + 4, std::begin(recordZero), std::end(recordZero));
    const struct
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool write;
    } cases[] = {
        {"no file", {}, false},
        {"a cut file", std::vector<std::uint8_t>(good.begin(), good.end() - 3), true},
        {"a count beyond the bytes", lying, true},
        {"a mouse button of 3", button, true},
    };
    game->ChangeLevel(2);
    Tick(2);
    for (const auto& c : cases)
    {
        std::filesystem::remove(Path("damaged_replayData"));
        std::filesystem::copy_file(Path("good_gameSaved"), Path("damaged_gameSaved"),
                                   std::filesystem::copy_options::overwrite_existing);
        if (c.write)
        {
            WriteFile(Path("damaged_replayData"), c.bytes);
        }
        const std::vector<std::uint8_t> before = SaveNow();
        Core::ForgetReportedResources();
        testing::internal::CaptureStderr();
        game->ReplayStart(prefix + "damaged");
        const std::vector<std::uint8_t> seen = SaveSeenByNextUpdate();
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(game->IsReplaying()) << c.what;
        EXPECT_TRUE(game->GetReplayRecords().empty()) << c.what;
        EXPECT_EQ(seen, before) << c.what;
        EXPECT_EQ(game->GetCurrentLevelIndex(), 2u) << c.what;
        EXPECT_NE(report.find(prefix + "damaged_replayData"), std::string::npos) << c.what << report;
        EXPECT_NE(game->GetLastSaveError().find("damaged_replayData"), std::string::npos) << c.what;
        EXPECT_FALSE(std::filesystem::exists(PreReplayPath())) << c.what;
    }
    // A start that cannot be loaded ends the replay the same way, after
    // the running game was kept.
    std::filesystem::copy_file(Path("good_replayData"), Path("damaged_replayData"),
                               std::filesystem::copy_options::overwrite_existing);
    std::vector<std::uint8_t> start = ReadFile(Path("good_gameSaved"));
    start.resize(start.size() / 2);
    WriteFile(Path("damaged_gameSaved"), start);
    const std::vector<std::uint8_t> before = SaveNow();
    testing::internal::CaptureStderr();
    game->ReplayStart(prefix + "damaged");
    const std::vector<std::uint8_t> seen = SaveSeenByNextUpdate();
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(game->IsReplaying());
    EXPECT_EQ(seen, before);
    EXPECT_EQ(game->GetCurrentLevelIndex(), 2u);
}

TEST_F(ReplayDisplayTest, ANetworkGameRefusesSavesLoadsAndReplayData)
{
    Record("kept", 3);
    game->ChangeLevel(2);
    Tick(2);
    Velkor::ZibNetTestAccess::Pretend(*game->GetNetworkEngine(), Velkor::ZibNetTestAccess::Session::Client);
    ASSERT_TRUE(game->IsNetworkGame());
    const auto files = [this]
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
        {
            names.insert(entry.path().filename().string());
        }
        return names;
    };
    const std::set<std::string> before = files();
    const auto refused = [this](const std::string& name)
    {
        return game->GetLastSaveError().find(prefix + name) != std::string::npos &&
               game->GetLastSaveError().find("network game") != std::string::npos;
    };

    game->Save(prefix + "net");
    EXPECT_TRUE(refused("net")) << game->GetLastSaveError();
    Tick();
    game->Load(prefix + "kept_gameSaved");
    EXPECT_TRUE(refused("kept_gameSaved")) << game->GetLastSaveError();
    Tick();
    EXPECT_EQ(game->GetCurrentLevelIndex(), 2u);

    // A recording runs, but neither its start nor its data is written.
    game->ReplayRecordingStart(prefix + "netrec");
    Tick(3);
    game->ReplayRecordingStop();
    EXPECT_TRUE(refused("netrec_replayData")) << game->GetLastSaveError();
    Tick();
    EXPECT_FALSE(game->IsRecording());

    // A replay reads no file and keeps the running game: with no record to
    // feed it ends in its first frame.
    game->ReplayStart(prefix + "kept");
    EXPECT_TRUE(refused("kept_replayData")) << game->GetLastSaveError();
    Tick();
    EXPECT_FALSE(game->IsReplaying());
    EXPECT_TRUE(game->GetReplayRecords().empty());
    Tick();
    EXPECT_EQ(game->GetCurrentLevelIndex(), 2u);
    EXPECT_EQ(files(), before);

    // Once the network game ends the same requests are carried out.
    Velkor::ZibNetTestAccess::Pretend(*game->GetNetworkEngine(), Velkor::ZibNetTestAccess::Session::None);
    game->Load(prefix + "kept_gameSaved");
    Tick();
    EXPECT_EQ(game->GetCurrentLevelIndex(), 0u);
}

TEST_F(ReplayDisplayTest, TheListingsFollowTheSuffixRules)
{
    for (const char* name : {"one_replayData", "two_REPLAYDATA", "one_gameSaved", "three_GAMESAVED", "plain",
                             "plain.saving", "x_replayData.saving"})
    {
        WriteFile(Path(name), {1});
    }
    std::filesystem::create_directory(Path("folder_replayData"));
    std::filesystem::create_directory(Path("folder"));
    WriteFile(PreReplayPath(), {1});

    auto ours = [this](std::vector<std::string> names)
    {
        std::vector<std::string> kept;
        for (const std::string& name : names)
        {
            if (name.rfind(prefix, 0) == 0)
            {
                kept.push_back(name.substr(prefix.size()));
            }
            else if (name == "gameSaved_OnReplayStart")
            {
                kept.push_back(name);
            }
        }
        std::sort(kept.begin(), kept.end());
        return kept;
    };
    std::vector<std::string> names{"stale"};
    game->GetReplayFiles(names);
    EXPECT_EQ(ours(names), (std::vector<std::string>{"one", "two"}));
    names = {"stale"};
    game->GetSavedGames(names);
    EXPECT_EQ(ours(names), (std::vector<std::string>{"gameSaved_OnReplayStart", "plain"}));
    std::filesystem::remove(Path("folder_replayData"));
    std::filesystem::remove(Path("folder"));
}

TEST_F(ReplayDisplayTest, ScriptsRecordListAndPlayReplays)
{
    ScriptTestState script;
    game->PushToScript(script.Get());
    lua_setglobal(script.Get(), "game");
    const std::string name = prefix + "scripted";
    ASSERT_EQ(script.Run("game:ReplayRecordingStart('" + name + "')"), "");
    Tick(3);
    EXPECT_TRUE(game->IsRecording());
    ASSERT_EQ(script.Run("game:ReplayRecordingStop()"), "");
    Tick();
    EXPECT_FALSE(game->IsRecording());
    ASSERT_EQ(script.Run(R"(
        local found = false
        for _, name in ipairs(game:GetReplayFiles()) do
            found = found or name == ")" + name + R"("
        end
        assert(found, "the recording is listed")
    )"),
              "");
    ASSERT_EQ(script.Run("game:ReplayStart('" + name + "')"), "");
    Tick();
    EXPECT_TRUE(game->IsReplaying());
    ASSERT_EQ(script.Run("game:ReplayStop()"), "");
    Tick(2);
    EXPECT_FALSE(game->IsReplaying());
}

} // namespace
