// The play level on the real game: the opening phase, the stage rules of
// the spawning table, the waves' fresh draws, the lasers, the scattering of
// the player's balls, the pause on Escape and the score texts. Most cases
// call the level's Update directly, between frames, on a seeded generator.
#include "PlayLevelTestSupport.h"

#include "framework/Velkor_Random.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_Lazer1Class.h"
#include "game/Brillow_LazerClass.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_bubblesheildpowerup.h"
#include "game/Brillow_whiteball.h"
#include "input/Input_KeyCodes.h"

#include <set>

namespace
{

using namespace BrillowTest;

class GameLevelDisplayTest : public PlayLevelDisplayTest
{
protected:
    std::size_t Pickups() const { return Count<bubblesheildpowerup>("bup") + Count<BlackHoleClass>("bhpu"); }
};

TEST_F(GameLevelDisplayTest, TheOpeningPhaseEndsAfter300UpdatesOrOnceTheFirstBallsAreEaten)
{
    GameLevel& level = EnterPlay();
    Core::SeedRandom(5);
    level.spawnCounter = 0;
    ASSERT_EQ(Count<ball>("bgc"), 5u);
    for (int i = 0; i < 299; ++i)
    {
        level.Update(Step);
    }
    EXPECT_EQ(level.introActive, 1);
    EXPECT_EQ(game->playStarted, 0);
    EXPECT_EQ(Count<ball>("bgc"), 5u);
    level.Update(Step);
    EXPECT_EQ(level.introActive, 0);
    EXPECT_EQ(level.spawnCounter, 0);
    EXPECT_EQ(game->playStarted, 1);
    EXPECT_GE(Count<ball>("bgc"), 8u);
    EXPECT_LE(Count<ball>("bgc"), 10u);
    EXPECT_EQ(Count<whiteball>("wb"), 1u);

    game->RestartLevel();
    Frame();
    GameLevel& again = *Level();
    game->playStarted = 0;
    again.spawnCounter = 10;
    DestroyAll<ball>("bgc");
    again.Update(Step);
    EXPECT_EQ(again.introActive, 0);
    EXPECT_EQ(again.spawnCounter, 0);
    EXPECT_EQ(game->playStarted, 1);
    EXPECT_GE(Count<ball>("bgc"), 3u);
    EXPECT_LE(Count<ball>("bgc"), 5u);
    EXPECT_EQ(Count<whiteball>("wb"), 1u);
}

// c = the counter after the update; at c = 0 every counter rule holds.
TEST_F(GameLevelDisplayTest, EachStageSpawnsByItsCounterRulesAndCaps)
{
    const struct
    {
        std::int32_t stage;
        std::size_t coloured;
        std::size_t white;
        std::int32_t counterBefore;
        bool ballWave;
        bool whiteWave;
        bool spikes;
        std::size_t pickups;
    } rows[] = {
        {1, 14, 0, 109, true, false, false, 0},   {1, 15, 0, 109, false, false, false, 0},
        {1, 0, 0, 110, false, false, false, 0},   {1, 49, 11, 601, false, false, false, 0},
        {1, 48, 11, 601, false, true, false, 1},  {1, 48, 10, 601, false, true, false, 0},
        {2, 49, 11, 601, false, false, false, 0}, {2, 10, 0, 269, false, false, true, 0},
        {3, 49, 11, 601, false, false, false, 1}, {3, 10, 0, 199, false, true, false, 0},
        {4, 29, 11, 601, false, false, false, 1}, {4, 28, 11, 601, false, true, true, 1},
        {6, 29, 11, 599, false, false, false, 1}, {7, 0, 0, 601, false, false, false, 0},
    };
    EnterPlay();
    Core::SeedRandom(11);
    for (const auto& row : rows)
    {
        SCOPED_TRACE(::testing::Message() << "stage " << row.stage << ", " << row.coloured << " bgc, "
                                          << row.white << " wb, c = " << row.counterBefore + 1);
        GameLevel& level = FreshPlay(row.stage);
        AddClones<ball>("ball", "bgc", row.coloured);
        AddClones<whiteball>("whiteball", "wb", row.white);
        level.spawnCounter = row.counterBefore;
        level.Update(Step);
        EXPECT_EQ(level.spawnCounter, row.counterBefore < 601 ? row.counterBefore + 1 : 0);
        EXPECT_EQ(Count<ball>("bgc") > row.coloured, row.ballWave);
        EXPECT_EQ(Count<whiteball>("wb") > row.white, row.whiteWave);
        EXPECT_EQ(Count<SpikeBall>("ss") > 0, row.spikes);
        EXPECT_EQ(Pickups(), row.pickups);
    }
}

// After each clone a fresh RandomInt(3, 5) says whether the wave goes on;
// before it, the copy (whatever its construction draws) and its x (two
// draws) and y (one).
TEST_F(GameLevelDisplayTest, AWaveHasThreeToFiveBallsAsTheFreshDrawsDecide)
{
    GameLevel& level = EnterPlay();
    const auto drawsBetween = [](std::uint32_t from, std::uint32_t to)
    {
        int draws = 0;
        for (Core::SetRandomState(from); Core::GetRandomState() != to && draws < 100; ++draws)
        {
            Core::Random();
        }
        return draws;
    };
    const std::uint32_t beforeCopy = Core::GetRandomState();
    Core::RefPtr<Core::Object> copy(FindObject<ball>("ball")->Clone());
    const int copyDraws = drawsBetween(beforeCopy, Core::GetRandomState());
    std::set<std::size_t> sizes;
    for (std::uint32_t seed = 1; seed <= 40; ++seed)
    {
        Core::SeedRandom(seed);
        std::size_t expected = 0;
        for (std::int32_t limit = 1; static_cast<std::int32_t>(expected) < limit; ++expected)
        {
            for (int draw = 0; draw < copyDraws + 3; ++draw)
            {
                Core::Random();
            }
            limit = Velkor::RandomInt(3, 5);
        }
        Core::SeedRandom(seed);
        const std::size_t before = Count<ball>("bgc");
        level.SpawnBallWave();
        EXPECT_EQ(Count<ball>("bgc") - before, expected) << "seed " << seed;
        sizes.insert(expected);
    }
    EXPECT_EQ(sizes, (std::set<std::size_t>{3, 4, 5}));
}

TEST_F(GameLevelDisplayTest, LasersComeInStageFourOnceTheStageScoreHasReachedTen)
{
    EnterPlay();
    GameLevel& level = FreshPlay(4);
    AddClones<ball>("ball", "bgc", 20);
    game->levelScore = 9;
    level.spawnCounter = 599;
    level.Update(Step);
    EXPECT_EQ(level.lasersEnabled, 0);
    EXPECT_EQ(Count<LazerClass>("lz"), 0u);

    game->levelScore = 10;
    level.spawnCounter = 299;
    level.Update(Step);
    EXPECT_EQ(level.lasersEnabled, 1);
    EXPECT_EQ(Count<LazerClass>("lz"), 0u) << "enabled after this frame's rules";

    level.spawnCounter = 599;
    level.Update(Step);
    EXPECT_EQ(Count<LazerClass>("lz"), 1u);
    EXPECT_EQ(level.lazerSpawned, 1);
    level.spawnCounter = 601;
    level.Update(Step);
    EXPECT_EQ(Count<LazerClass>("lz"), 1u) << "no second while the first is out";
    EXPECT_EQ(Count<Lazer1Class>("lz1"), 1u);
    EXPECT_EQ(level.lazer1Spawned, 1);

    level.lazerSpawned = 0;
    level.spawnCounter = 299;
    level.Update(Step);
    EXPECT_EQ(Count<LazerClass>("lz"), 2u);
}

TEST_F(GameLevelDisplayTest, ScatteringDropsUpToFivePointsAsBallsOrLoses)
{
    const struct
    {
        std::int32_t levelScore;
        std::size_t dropped;
        std::int32_t left;
        std::uint8_t lost;
    } rows[] = {{7, 5, 2, 0}, {3, 3, 0, 0}, {1, 1, 0, 0}, {0, 0, 0, 1}, {-2, 0, 0, 1}};
    EnterPlay();
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.levelScore);
        GameLevel& level = FreshPlay(1);
        game->playerLost = 0;
        game->levelScore = row.levelScore;
        const Velkor::GameObject* player = FindObject<Velkor::Sprite>("playerball");
        ASSERT_NE(player, nullptr);
        level.ScatterBalls(30.0f, -20.0f);
        EXPECT_EQ(game->levelScore, row.left);
        EXPECT_EQ(game->playerLost, row.lost);
        const std::vector<ball*> balls = All<ball>("bgc");
        ASSERT_EQ(balls.size(), row.dropped);
        for (const ball* dropped : balls)
        {
            EXPECT_FLOAT_EQ(dropped->GetPositionX(), player->GetPositionX() + 30.0f);
            EXPECT_FLOAT_EQ(dropped->GetPositionY(), player->GetPositionY() - 20.0f);
        }
    }
}

TEST_F(GameLevelDisplayTest, EscapePausesAndThenNothingSpawnsOrChanges)
{
    using Event = Harness::InputEvent;
    Event down;
    down.frame = 150;
    down.kind = Event::Kind::KeyDown;
    down.virtualKey = Input::ToVirtualKey(Input::Key::Escape);
    Event up = down;
    up.frame = 151;
    up.kind = Event::Kind::KeyUp;
    GameLevel& level = EnterPlay({down, up});
    ASSERT_LT(FrameNumber(), 140u);
    const auto text = [](const char* name) { return FindObject<Velkor::Text>(name)->GetText(); };
    EXPECT_EQ(text("scoreText"), "SCORE: 0");
    EXPECT_EQ(text("levelscoreText"), "0");
    EXPECT_EQ(text("nextlevelText"), "10To Next Level");

    while (FrameNumber() < 150)
    {
        Frame();
    }
    ASSERT_EQ(level.paused, 1);
    const std::int32_t counter = level.spawnCounter;
    const std::string score = text("scoreText");
    game->totalScore = 500;
    DestroyAll<ball>("bgc");
    Frame(400);
    EXPECT_EQ(level.spawnCounter, counter);
    EXPECT_EQ(level.introActive, 1);
    EXPECT_EQ(Count<ball>("bgc"), 0u);
    EXPECT_EQ(Count<whiteball>("wb"), 0u);
    EXPECT_EQ(text("scoreText"), score);
}

} // namespace
