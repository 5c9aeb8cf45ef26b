// The level recipe on the real factory: the skeleton of every level, its
// music, its collision files, the build state and the network client's
// levels.
#include "LevelsTestSupport.h"

#include "audio/Sound_Engine.h"
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionLayer.h"
#include "core/Core_Random.h"
#include "core/Core_ResourceReport.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_Viewport.h"
#include "framework/Velkor_ZibNetTestAccess.h"

#include <gtest/gtest.h>

namespace
{

using namespace BrillowTest;

struct Bounds
{
    float x;
    float y;
    std::int32_t width;
    std::int32_t height;
};

constexpr Bounds Field{-512, -384, 1024, 768};
constexpr Bounds Small{-400, -300, 800, 600};

class LevelRecipeDisplayTest : public LevelsDisplayTest
{
protected:
    std::vector<Core::RefPtr<Velkor::Level>> built;

    // Builds level `index` now, as a switch does: the old level and actors
    // go first.
    Velkor::Level* Build(std::uint32_t index)
    {
        game->ChangeLevel(index);
        Frame();
        EXPECT_EQ(game->GetCurrentLevelIndex(), index);
        return game->GetCurrentLevel();
    }
};

TEST_F(LevelRecipeDisplayTest, EveryLevelHasTheSkeletonOfItsRow)
{
    const struct
    {
        const char* name;
        Bounds bounds[3];
        bool music;
    } rows[] = {
        {"level0", {Small, Field, Small}, true},
        {"level1", {{-451, -300, 851, 707}, {-944, -572, 1920, 1097}, Small}, true},
        {"Lose", {Small, Field, Small}, false},
        {"WIN", {Small, Field, Small}, false},
        {"TutorialLevel", {Field, {-670, -476, 1327, 860}, Field}, true},
        {"Credits", {Field, Field, Field}, false},
        {"Loading", {Field, Field, Field}, false},
        {"Options", {Field, Field, Field}, false},
        {"copy0Lose", {Field, Field, Field}, false},
    };
    Start();
    Frame();
    for (std::uint32_t index = 0; index < 9; ++index)
    {
        SCOPED_TRACE(rows[index].name);
        Velkor::Level* level = Build(index);
        ASSERT_NE(level, nullptr);
        EXPECT_EQ(level->GetName(), rows[index].name);
        EXPECT_FALSE(level->GetClearBackBuffer());
        ASSERT_EQ(level->GetLayersCount(), 3u);
        const std::string names[] = {std::string(rows[index].name) + "_HUD", "layer1", "layer2"};
        const float depths[] = {0.0f, 0.0f, 927.058f};
        for (std::uint32_t i = 0; i < 3; ++i)
        {
            const Velkor::Layer* layer = level->GetLayer(i);
            EXPECT_EQ(layer->GetName(), names[i]);
            EXPECT_EQ(layer->GetZOrder(), depths[i]);
            EXPECT_EQ(layer->GetCollisionOrigin(),
                      Math::Vector2D(rows[index].bounds[i].x, rows[index].bounds[i].y));
            EXPECT_EQ(layer->GetCollisionWidth(), rows[index].bounds[i].width);
            EXPECT_EQ(layer->GetCollisionHeight(), rows[index].bounds[i].height);
            EXPECT_EQ(layer->GetPartitionCellSize(), 100);
            EXPECT_EQ(factory->GetLayer(i), layer);
        }
        // The camera is the first object of "layer2".
        Velkor::Layer::ObjectList objects;
        level->GetLayer(2)->GetGameObjects(objects);
        ASSERT_FALSE(objects.empty());
        auto* camera = dynamic_cast<Velkor::Camera*>(objects.front().Get());
        ASSERT_NE(camera, nullptr);
        EXPECT_EQ(camera->GetName(), "camera0");
        EXPECT_EQ(camera->GetFOV(), 45.0f);
        EXPECT_EQ(factory->GetCamera(index), camera);
        ASSERT_EQ(level->GetViewportsCount(), 1u);
        const Velkor::Viewport* viewport = level->GetViewport(0);
        EXPECT_EQ(viewport->GetWidth(), 1024);
        EXPECT_EQ(viewport->GetHeight(), 768);
        EXPECT_EQ(viewport->GetPosition(), Math::Vector2D(0, 0));
        const Math::Vector4& clear = viewport->GetClearColor();
        EXPECT_EQ(clear.x, 0.2509804f);
        EXPECT_EQ(clear.y, 0.2509804f);
        EXPECT_EQ(clear.z, 0.2509804f);
        EXPECT_EQ(clear.w, 1.0f);
        EXPECT_EQ(viewport->GetCamera(), camera);
        EXPECT_EQ(level->GetJukeBox() != nullptr, rows[index].music);
        // All three collision files of the level, once each.
        const std::string prefix = "\\Resources\\Layers Collisions\\level" + std::to_string(index) + "_layer";
        EXPECT_EQ(factory->GetCollisionFilesRead(),
                  (std::vector<std::string>{prefix + "0.txt", prefix + "1.txt", prefix + "2.txt"}));
    }
}

TEST_F(LevelRecipeDisplayTest, TheMusicPlaysTrackZeroAtTheLevelsVolume)
{
    Start();
    Frame();
    const std::pair<std::uint32_t, float> rows[] = {{0, 1.0f}, {1, 0.4f}, {4, 0.4f}};
    for (const auto& [index, volume] : rows)
    {
        SCOPED_TRACE(index);
        Velkor::Level* level = Build(index);
        Velkor::JukeBox* music = level->GetJukeBox();
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(music, index == 0 ? factory->GetMenuJukeBox() : factory->GetGameJukeBox());
        EXPECT_EQ(music->GetCurrentTrack(), 0);
        EXPECT_TRUE(music->IsMusicPlaying());
        EXPECT_FALSE(music->GetShuffle());
        EXPECT_TRUE(music->GetRepeat());
        EXPECT_EQ(music->GetFadeTime(), 0.0f);
        EXPECT_EQ(music->GetTargetVolume(), volume);
        ASSERT_EQ(music->GetMusicNames().size(), 1u);
    }
}

TEST_F(LevelRecipeDisplayTest, TheWallsOfThePlayedLevelsComeFromTheirCollisionFiles)
{
    Start();
    Frame();
    for (std::uint32_t index : {1u, 4u})
    {
        Velkor::Level* level = Build(index);
        const Collision2D::CollisionLayer* shapes =
            game->GetCollisionEngine()->GetLayer(level->GetLayer(1)->GetCollisionLayerIndex());
        ASSERT_NE(shapes, nullptr);
        // Slot 0 is never used.
        EXPECT_EQ(shapes->GetCount(Collision2D::CollisionLayer::StaticLineSegments), 9) << index;
    }
}

// Built straight through the factory (a running frame draws from the
// generator too). Building draws from the generator as well, so a reseed
// shows as the same draw after the build whatever the generator held before.
TEST_F(LevelRecipeDisplayTest, RebuildingALevelMakesNewObjectsAndReseeds)
{
    Start();
    Frame();
    const auto drawAfterBuild = [this](std::uint32_t index, std::uint32_t seedBefore)
    {
        factory->Init();
        game->ClearCollisionAssets();
        Core::SeedRandom(seedBefore);
        Core::RefPtr<Velkor::Level> level(factory->CreateLevel(index));
        const std::int32_t draw = Core::Random();
        built.push_back(level);
        return draw;
    };
    MyLevelFactory::SetFixedSeed(1234u);
    const std::int32_t first = drawAfterBuild(1, 5);
    Velkor::JukeBox* firstMusic = factory->GetGameJukeBox();
    EXPECT_EQ(drawAfterBuild(1, 6), first);
    EXPECT_NE(built[1].Get(), built[0].Get());
    EXPECT_NE(factory->GetGameJukeBox(), firstMusic);
    EXPECT_EQ(factory->GetBuiltLevel(1), built[1].Get());
    for (std::uint32_t index : {0u, 4u})
    {
        EXPECT_EQ(drawAfterBuild(index, 5), drawAfterBuild(index, 6)) << index;
    }
    // No music, no reseed.
    EXPECT_NE(drawAfterBuild(2, 5), drawAfterBuild(2, 6));

    // While a replay records or plays, the generator is left alone.
    MyLevelFactory::SetReplayProbe([] { return true; });
    for (std::uint32_t index : {0u, 1u, 4u})
    {
        EXPECT_NE(drawAfterBuild(index, 5), drawAfterBuild(index, 6)) << index;
    }
    for (const Core::RefPtr<Velkor::Level>& level : built)
    {
        level->Clear();
    }
}

TEST_F(LevelRecipeDisplayTest, InitClearsTheBuildStateButTheActors)
{
    Start();
    Frame();
    Build(1);
    ASSERT_NE(factory->GetBuiltLevel(1), nullptr);
    ASSERT_NE(factory->GetGameJukeBox(), nullptr);
    Collision2D::CollisionActor* actor = factory->GetActor(26);
    ASSERT_NE(actor, nullptr);
    factory->Init();
    for (std::uint32_t i = 0; i < 9; ++i)
    {
        EXPECT_EQ(factory->GetBuiltLevel(i), nullptr);
        EXPECT_EQ(factory->GetCamera(i), nullptr);
        EXPECT_TRUE(factory->GetBuiltObjects(i).empty());
    }
    for (std::uint32_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(factory->GetLayer(i), nullptr);
    }
    EXPECT_EQ(factory->GetViewport(), nullptr);
    EXPECT_EQ(factory->GetMenuJukeBox(), nullptr);
    EXPECT_EQ(factory->GetGameJukeBox(), nullptr);
    EXPECT_EQ(factory->GetActor(26), actor);
}

// A network client builds every object but no collision object or body;
// its levels run without touching a missing one.
TEST_F(LevelRecipeDisplayTest, ANetworkClientBuildsNoCollisionObjectsOrBodies)
{
    Start();
    Frame();
    Velkor::ZibNetTestAccess::Pretend(*game->GetNetworkEngine(), Velkor::ZibNetTestAccess::Session::Client);
    for (std::uint32_t index = 0; index < 9; ++index)
    {
        Velkor::Level* level = Build(index);
        Velkor::Layer::ObjectList objects;
        for (std::uint32_t i = 0; i < level->GetLayersCount(); ++i)
        {
            level->GetLayer(i)->GetGameObjects(objects);
            for (const Core::RefPtr<Velkor::GameObject>& object : objects)
            {
                EXPECT_EQ(object->GetDynamicCollisionObject(), nullptr) << object->GetName();
                EXPECT_EQ(object->GetPhysicsId(), 0u) << object->GetName();
            }
        }
        Frame(index == 1 || index == 4 ? 300 : 10);
    }
    Velkor::ZibNetTestAccess::Pretend(*game->GetNetworkEngine(), Velkor::ZibNetTestAccess::Session::None);
}

// Every resource a builder names exists and loads: a missing or unreadable
// one is reported on standard error, and none may be.
TEST_F(LevelRecipeDisplayTest, EveryLevelBuildsFromResourcesThatLoad)
{
    Core::ForgetReportedResources();
    testing::internal::CaptureStderr();
    Start();
    Frame();
    for (std::uint32_t index = 0; index < 9; ++index)
    {
        Build(index);
        Frame(2);
    }
    const std::string reports = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reports, "");
}

} // namespace
