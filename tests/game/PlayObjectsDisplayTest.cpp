// The enemy balls, lasers and power-ups on a played level, with a seeded
// generator, and their tutorial twins on a level without `paused`.
#include "PlayTestSupport.h"

#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_BlackHoleClassT.h"
#include "game/Brillow_BonusLazerClass.h"
#include "game/Brillow_BonusLazerClassT.h"
#include "game/Brillow_BonusTextThing.h"
#include "game/Brillow_Lazer1Class.h"
#include "game/Brillow_Lazer1ClassT.h"
#include "game/Brillow_LazerClass.h"
#include "game/Brillow_LazerClassT.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_SpikeBallT.h"
#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_SpriteMouseClassT.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_ballT.h"
#include "game/Brillow_bubblesheildpowerup.h"
#include "game/Brillow_bubblesheildpowerupT.h"
#include "game/Brillow_whiteball.h"
#include "game/Brillow_whiteballT.h"
#include "core/Core_MemoryFile.h"

#include "core/Core_Random.h"

#include <cmath>
#include <functional>
#include <type_traits>

namespace
{

using PlayTest::BuildObject;
using PlayTest::Spawn;

float Speed(const Velkor::GameObject& object)
{
    Math::Vector2D velocity;
    EXPECT_TRUE(object.GetVelocity(velocity));
    return velocity.Length();
}

Math::Vector2D Velocity(const Velkor::GameObject& object)
{
    Math::Vector2D velocity;
    EXPECT_TRUE(object.GetVelocity(velocity));
    return velocity;
}

class PlayObjectsDisplayTest : public BrillowTest::MyGameDisplayTest
{
protected:
    // The played level (or the tutorial-like one), its sounds, and the
    // generator seeded.
    void Start(bool tutorial = false)
    {
        game = new MyGame(new PlayTest::PlayFactory(), MyGame::GetDisplayRequest(), tutorial ? 2 : 0);
        // The level stays: no level machine asks for the menus.
        game->levelSM = nullptr;
        Tick();
        level = dynamic_cast<BrillowTest::FlagLevel*>(game->GetCurrentLevel());
        ASSERT_NE(level, nullptr);
        layer = level->GetLayer(1);
        PlayTest::BuildSounds(*layer);
        Core::SeedRandom(40);
        Data().stage = 1;
        Data().levelScore = 0;
    }

    MyGame& Data() { return *game; }
    std::uint8_t& Flag(PlayFlag flag) { return level->flags[static_cast<std::size_t>(flag)]; }

    // The player ball under the pointer at (x, y) of the field.
    template <class Player> Player* AddPlayer(float x, float y)
    {
        auto* player = BuildObject<Player>(*layer, "playerball", "playerball", {x, y});
        MovePlayer(*player, x, y);
        return player;
    }
    void MovePlayer(Velkor::GameObject& player, float x, float y)
    {
        input.SetCursor(static_cast<std::int32_t>(x) + 512, 383 - static_cast<std::int32_t>(y));
        player.SetPosition(x, y);
    }

    // An active clone of a prototype (spawn phase over), placed at (x, y).
    template <class T> T* AddActive(const char* prototype, const char* name, float x, float y)
    {
        T* proto = BuildObject<T>(*layer, prototype, prototype, {-600.0f, 0.0f});
        T* clone = Spawn(*layer, *proto, name, {x, y});
        return clone;
    }

    BrillowTest::FlagLevel* level = nullptr;
    Velkor::Layer* layer = nullptr;
};

// --- White balls -------------------------------------------------------------------------

struct StageRange
{
    std::int32_t stage;
    bool huntersToo;
    std::int32_t wanderLow, wanderHigh, huntLow, huntHigh;
};

template <class Ball> void CheckStageDraws(const StageRange& row, Ball& prototype)
{
    SCOPED_TRACE(row.stage);
    MyGame::GetInstance()->stage = row.stage;
    int hunters = 0;
    for (int i = 0; i < 200; ++i)
    {
        Core::RefPtr<Ball> ball(static_cast<Ball*>(prototype.Clone()));
        ball->SetName("wb");
        ball->OnStart();
        const WhiteBallState& state = ball->state;
        ASSERT_TRUE(state.behaviour == 1 || state.behaviour == 2);
        const bool hunts = state.behaviour == 2;
        hunters += hunts ? 1 : 0;
        EXPECT_GE(state.speed, static_cast<float>(hunts ? row.huntLow : row.wanderLow));
        EXPECT_LE(state.speed, static_cast<float>(hunts ? row.huntHigh : row.wanderHigh));
        EXPECT_EQ(state.baseSpeed, state.speed);
        EXPECT_EQ(state.fastSpeed, 2.0f * state.speed);
        EXPECT_EQ(state.blackHoleSpeed, 5.0f * state.speed);
        EXPECT_EQ(state.nearDistance, 40.0f);
        EXPECT_EQ(state.spawning, 1);
        EXPECT_EQ(ball->GetCurrentAnimationIndex(), 0u);
    }
    if (row.huntersToo)
    {
        EXPECT_GT(hunters, 60);
        EXPECT_LT(hunters, 140);
    }
    else
    {
        EXPECT_EQ(hunters, 0);
    }
}

TEST_F(PlayObjectsDisplayTest, WhiteBallsDrawBehaviourAndSpeedFromTheirStagesRow)
{
    Start();
    auto* proto = BuildObject<whiteball>(*layer, "whiteball", "whiteball", {-570.0f, -237.0f});
    auto* protoT = BuildObject<whiteballT>(*layer, "whiteball", "whiteball", {-570.0f, -200.0f});
    const StageRange play[] = {
        {1, false, 2, 4, 0, 0}, {2, true, 2, 4, 2, 4}, {3, true, 2, 4, 4, 5},
        {4, true, 2, 4, 4, 6},  {5, true, 2, 5, 5, 6},
    };
    for (const StageRange& row : play)
    {
        CheckStageDraws(row, *proto);
    }
    const StageRange tutorial[] = {
        {1, false, 2, 6, 0, 0},
        {2, true, 3, 6, 3, 6},
        {3, true, 2, 6, 5, 10},
        {4, true, 2, 6, 6, 10},
    };
    for (const StageRange& row : tutorial)
    {
        CheckStageDraws(row, *protoT);
    }
    // The prototype itself draws nothing.
    Tick();
    EXPECT_EQ(proto->state.behaviour, 0);
    EXPECT_EQ(proto->state.spawning, 0);
}

// The spawn phase: 61 updates on animation 0, touching nothing, then
// animation 1; the next update meets the player.
TEST_F(PlayObjectsDisplayTest, AWhiteBallSpawnsFor61UpdatesWithoutContactsThenHurtsThePlayer)
{
    Start();
    auto* player = AddPlayer<SpriteMouseClass>(-200.0f, 0.0f);
    auto* ball = AddActive<whiteball>("whiteball", "wb", 10.0f, 0.0f);
    Tick();
    // The player sits on it while it grows in.
    MovePlayer(*player, 0.0f, 0.0f);
    ASSERT_EQ(ball->state.spawnCounter, 1);
    for (int update = 2; update <= 60; ++update)
    {
        Tick();
        ASSERT_EQ(ball->GetCurrentAnimationIndex(), 0u) << update;
        ASSERT_TRUE(ball->state.spawning);
    }
    Tick();
    EXPECT_EQ(ball->state.spawnCounter, 61);
    EXPECT_FALSE(ball->state.spawning);
    EXPECT_EQ(ball->GetCurrentAnimationIndex(), 1u);
    EXPECT_EQ(level->drops, 0);
    // Its circle is there from now on: the player comes at it again.
    MovePlayer(*player, -100.0f, 0.0f);
    Tick();
    MovePlayer(*player, 0.0f, 0.0f);
    for (int i = 0; i < 3 && level->drops == 0; ++i)
    {
        Tick();
    }
    EXPECT_EQ(level->drops, 1);
    EXPECT_FALSE(ball->IsBeingDestroyed());
}

TEST_F(PlayObjectsDisplayTest, HuntersRunFastWhenLevelOnOneAxisAndFleeOnlyInPlay)
{
    struct Row
    {
        const char* what;
        float playerX, playerY;
        std::uint8_t stageComplete;
        bool tutorial;
        // Expected velocity as a multiple of the base speed along the
        // direction to the player.
        float factor;
    };
    const Row rows[] = {
        {"far on both axes", 300.0f, 200.0f, 0, false, 1.0f},
        {"level on y, far on x", 400.0f, 39.0f, 0, false, 2.0f},
        {"level on x, far on y", -39.0f, -300.0f, 0, false, 2.0f},
        {"stage complete: flees at base speed", 400.0f, 10.0f, 1, false, -1.0f},
        {"twin, far", 300.0f, 200.0f, 0, true, 1.0f},
        {"twin, level on y", 400.0f, 39.0f, 0, true, 2.0f},
        {"twin never flees", 400.0f, 10.0f, 1, true, 2.0f},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        game.Reset();
        Start(row.tutorial);
        Data().stage = 3;
        Velkor::Sprite* player =
            row.tutorial
                ? static_cast<Velkor::Sprite*>(AddPlayer<SpriteMouseClassT>(row.playerX, row.playerY))
                : AddPlayer<SpriteMouseClass>(row.playerX, row.playerY);
        WhiteBallState* state = nullptr;
        Velkor::Sprite* ball = nullptr;
        if (row.tutorial)
        {
            auto* twin = AddActive<whiteballT>("whiteball", "wb", 0.0f, 0.0f);
            state = &twin->state;
            ball = twin;
        }
        else
        {
            auto* white = AddActive<whiteball>("whiteball", "wb", 0.0f, 0.0f);
            state = &white->state;
            ball = white;
        }
        Tick();
        // An active hunter of base speed 4.
        state->behaviour = 2;
        state->spawning = 0;
        state->baseSpeed = 4.0f;
        state->fastSpeed = 8.0f;
        Flag(PlayFlag::StageComplete) = row.stageComplete;
        ball->SetPosition(0.0f, 0.0f);
        MovePlayer(*player, row.playerX, row.playerY);
        Tick();
        Math::Vector2D toPlayer(player->GetPositionX() - ball->GetPositionX(),
                                player->GetPositionY() - ball->GetPositionY());
        toPlayer.Normalize();
        const Math::Vector2D velocity = Velocity(*ball);
        EXPECT_NEAR(velocity.x, toPlayer.x * 4.0f * row.factor, 0.05f);
        EXPECT_NEAR(velocity.y, toPlayer.y * 4.0f * row.factor, 0.05f);
    }
}

TEST_F(PlayObjectsDisplayTest, APausedWhiteBallStopsAndResumesItsVelocity)
{
    Start();
    auto* ball = AddActive<whiteball>("whiteball", "wb", 0.0f, 0.0f);
    for (int i = 0; i < 63; ++i)
    {
        Tick();
    }
    ASSERT_FALSE(ball->state.spawning);
    ASSERT_EQ(ball->state.behaviour, 1);
    const Math::Vector2D before = Velocity(*ball);
    ASSERT_GT(before.Length(), 0.0f);
    Flag(PlayFlag::Paused) = 1;
    Tick();
    const Math::Vector2D where = ball->GetPosition();
    for (int i = 0; i < 10; ++i)
    {
        Tick();
    }
    EXPECT_EQ(Speed(*ball), 0.0f);
    EXPECT_EQ(ball->GetPosition(), where);
    Flag(PlayFlag::Paused) = 0;
    Tick();
    const Math::Vector2D after = Velocity(*ball);
    EXPECT_NEAR(after.x, before.x, 1e-3f);
    EXPECT_NEAR(after.y, before.y, 1e-3f);
}

// --- Spike balls -------------------------------------------------------------------------

TEST_F(PlayObjectsDisplayTest, SpikeBallsHuntTheFirstColouredBallAtTheStagesSpeed)
{
    const std::pair<std::int32_t, float> rows[] = {{1, 10.0f}, {2, 10.0f}, {3, 15.0f}, {5, 15.0f}};
    for (const auto& [stage, speed] : rows)
    {
        SCOPED_TRACE(stage);
        game.Reset();
        Start();
        Data().stage = stage;
        auto* spike = AddActive<SpikeBall>("spikeball", "ss", 0.0f, 0.0f);
        auto* target = AddActive<ball>("ball", "bgc", 300.0f, 200.0f);
        Tick();
        spike->state.spawning = 0;
        Tick();
        EXPECT_NEAR(Speed(*spike), speed, 1e-3f);
        Math::Vector2D direction = Velocity(*spike);
        direction.Normalize();
        Math::Vector2D expected = target->GetPosition() - spike->GetPosition();
        expected.Normalize();
        EXPECT_NEAR(direction.x, expected.x, 0.01f);
        EXPECT_NEAR(direction.y, expected.y, 0.01f);
    }
}

TEST_F(PlayObjectsDisplayTest, ASpikeBallCrushesEveryCrossingColouredBallAndItselfInOneFrame)
{
    struct Row
    {
        const char* what;
        // Where the two coloured balls stand relative to the spike ball.
        float left;
        float right;
        bool spikeHasCircle;
        bool ballsHaveCollision;
        bool crushed;
    };
    const Row rows[] = {
        {"two crossing balls", -15.0f, 15.0f, true, true, true},
        {"spike ball frame without circle", -15.0f, 15.0f, false, true, false},
        {"balls without collision objects", -15.0f, 15.0f, true, false, false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        game.Reset();
        Start();
        auto* spike = AddActive<SpikeBall>("spikeball", "ss", 0.0f, 0.0f);
        auto* ballProto = BuildObject<ball>(*layer, "ball", "ball", {-555.0f, 80.0f}, row.ballsHaveCollision);
        auto* left = Spawn(*layer, *ballProto, "bgc", {row.left, 0.0f});
        auto* right = Spawn(*layer, *ballProto, "bgc", {row.right, 0.0f});
        Tick();
        // Active, on the picture with (or without) its circle.
        spike->state.spawning = 0;
        spike->SetCurrentAnimationIndex(row.spikeHasCircle ? 1 : 0, false);
        Tick();
        Tick();
        EXPECT_EQ(spike->IsBeingDestroyed(), row.crushed);
        EXPECT_EQ(left->IsBeingDestroyed(), row.crushed);
        EXPECT_EQ(right->IsBeingDestroyed(), row.crushed);
    }
}

TEST_F(PlayObjectsDisplayTest, AColouredBallWhollyInsideTheSpikeBallsCircleIsNotCrushed)
{
    Start();
    auto* spike = AddActive<SpikeBall>("spikeball", "ss", 0.0f, 0.0f);
    auto* inside = AddActive<ball>("ball", "bgc", 0.0f, 0.0f);
    Tick();
    // The coloured ball held still on the spike ball's centre, the spike
    // ball grown in but still in its spawn phase while the step measures.
    inside->SetPosition(0.0f, 0.0f);
    inside->SetVelocity(Math::Vector2D(0.0f, 0.0f));
    spike->SetPosition(0.0f, 0.0f);
    spike->SetCurrentAnimationIndex(1, false);
    Tick();
    Math::Circle2D own;
    Math::Circle2D other;
    ASSERT_TRUE(ObjectRules::GetFirstCircle(*spike, own));
    ASSERT_TRUE(ObjectRules::GetFirstCircle(*inside, other));
    ASSERT_EQ(own.ClassifyCircle(other), Math::ClassifyResult::Contains);
    spike->state.spawning = 0;
    Tick();
    EXPECT_FALSE(spike->IsBeingDestroyed());
    EXPECT_FALSE(inside->IsBeingDestroyed());
}

// --- Contact with the player -------------------------------------------------------------

TEST_F(PlayObjectsDisplayTest, APoweredPlayerOrAnOpenHoleEatsTheEnemyElseTheEnemyDropsTheBalls)
{
    struct Row
    {
        const char* what;
        const char* prototype;
        std::uint8_t powered;
        std::uint8_t holeOpen;
        bool eaten;
    };
    const Row rows[] = {
        {"white ball, unpowered", "whiteball", 0, 0, false},
        {"white ball, powered", "whiteball", 1, 0, true},
        {"white ball, hole open", "whiteball", 0, 1, true},
        {"spike ball, unpowered", "spikeball", 0, 0, false},
        {"spike ball, powered", "spikeball", 1, 0, true},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        game.Reset();
        Start();
        Data().totalScore = 50;
        auto* player = AddPlayer<SpriteMouseClass>(120.0f, 12.0f);
        Velkor::Sprite* enemy = nullptr;
        if (std::string(row.prototype) == "whiteball")
        {
            enemy = AddActive<whiteball>("whiteball", "wb", 0.0f, 0.0f);
        }
        else
        {
            enemy = AddActive<SpikeBall>("spikeball", "ss", 0.0f, 0.0f);
        }
        Tick();
        // Grown in.
        if (auto* white = dynamic_cast<whiteball*>(enemy))
        {
            // Standing still where it wanders, so the player can reach it.
            white->state.spawning = 0;
            white->state.baseSpeed = 0.0f;
        }
        else
        {
            static_cast<SpikeBall*>(enemy)->state.spawning = 0;
        }
        enemy->SetCurrentAnimationIndex(1, false);
        player->powered = row.powered;
        Flag(PlayFlag::BlackHoleActive) = row.holeOpen;
        Tick();
        // The player runs into it.
        MovePlayer(*player, 20.0f, 12.0f);
        for (int i = 0; i < 3 && level->drops == 0 && !enemy->IsBeingDestroyed(); ++i)
        {
            Tick();
        }
        EXPECT_EQ(enemy->IsBeingDestroyed(), row.eaten);
        EXPECT_EQ(Data().totalScore, row.eaten ? 150 : 50);
        EXPECT_EQ(level->drops, row.eaten ? 0 : 1);
        if (!row.eaten)
        {
            // The offset from the enemy to the player (they were pushed
            // apart a little since).
            EXPECT_NEAR(level->lastDrop.first, 20.0f, 3.0f);
            EXPECT_NEAR(level->lastDrop.second, 12.0f, 3.0f);
        }
    }
}

// --- Lasers --------------------------------------------------------------------------------

struct ZapRow
{
    const char* what;
    bool tutorial;
    const char* name;
    std::uint8_t powered;
    std::int32_t points;
    std::vector<std::int32_t> afterEachFrame;
    bool lost;
};

TEST_F(PlayObjectsDisplayTest, ABeamTakesTenPointsAFrameOfContact)
{
    const ZapRow rows[] = {
        {"play: clamped at 0, then lost", false, "lz", 0, 25, {15, 5, 0}, true},
        {"tutorial: runs negative", true, "lz", 0, 5, {-5}, false},
        {"powered player", false, "lz", 1, 25, {25, 25}, false},
        {"the prototype never zaps", false, "Lazer", 0, 25, {25, 25}, false},
    };
    for (const ZapRow& row : rows)
    {
        SCOPED_TRACE(row.what);
        game.Reset();
        Start(row.tutorial);
        Data().stage = 0;
        Velkor::Sprite* player = row.tutorial
                                     ? static_cast<Velkor::Sprite*>(AddPlayer<SpriteMouseClassT>(0.0f, 0.0f))
                                     : AddPlayer<SpriteMouseClass>(0.0f, 0.0f);
        Velkor::Sprite* beam = nullptr;
        if (row.tutorial)
        {
            beam = AddActive<LazerClassT>("Lazer", row.name, 0.0f, 0.0f);
        }
        else
        {
            beam = AddActive<LazerClass>("Lazer", row.name, 0.0f, 0.0f);
        }
        Flag(PlayFlag::LazerSpawned) = 1;
        // The beam at full length.
        beam->SetCurrentFrameIndex(10, false);
        Tick();
        if (auto* ball = dynamic_cast<SpriteMouseClass*>(player))
        {
            ball->powered = row.powered;
        }
        Data().levelScore = row.points;
        Data().playerLost = 0;
        for (const std::int32_t points : row.afterEachFrame)
        {
            Tick();
            EXPECT_EQ(Data().levelScore, points);
            EXPECT_EQ(Data().playerLost, 0);
        }
        Tick();
        EXPECT_EQ(Data().playerLost, row.lost ? 1 : 0);
    }
}

// Frames shown over time: growing every 0.2 s to 10 (about 2 s), the stay
// loop below 10, shrinking every end step after 5 s, gone at 0.
TEST_F(PlayObjectsDisplayTest, ABeamGrowsStaysShrinksAndGoes)
{
    struct Row
    {
        const char* prototype;
        const char* name;
        PlayFlag flag;
        float endStep;
    };
    const Row rows[] = {
        {"Lazer", "lz", PlayFlag::LazerSpawned, 0.3f},
        {"Lazer1", "lz1", PlayFlag::Lazer1Spawned, 0.2f},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        game.Reset();
        Start();
        Velkor::Sprite* beam =
            std::string(row.name) == "lz"
                ? static_cast<Velkor::Sprite*>(AddActive<LazerClass>(row.prototype, row.name, 0.0f, 0.0f))
                : AddActive<Lazer1Class>(row.prototype, row.name, 0.0f, 0.0f);
        Flag(row.flag) = 1;
        std::vector<std::uint32_t> frames;
        int firstFull = -1;
        int lastAtOrAbove8 = -1;
        int removedAt = -1;
        for (int update = 1; update <= 60 * 12 && removedAt < 0; ++update)
        {
            Tick();
            const std::uint32_t frame = beam->GetCurrentFrameIndex();
            frames.push_back(frame);
            if (frame == 10 && firstFull < 0)
            {
                firstFull = update;
            }
            if (frame >= 8)
            {
                lastAtOrAbove8 = update;
            }
            if (beam->IsBeingDestroyed())
            {
                removedAt = update;
            }
        }
        // Ten steps of a little over 0.2 s each.
        EXPECT_GE(firstFull, 10 * 12);
        EXPECT_LE(firstFull, 10 * 14);
        // Steps of one frame at a time, never past 10.
        for (std::size_t i = 1; i < frames.size(); ++i)
        {
            const int step = static_cast<int>(frames[i]) - static_cast<int>(frames[i - 1]);
            ASSERT_TRUE(step == 0 || step == 1 || step == -1 || (frames[i - 1] >= 9 && frames[i] == 8))
                << i << ": " << frames[i - 1] << " -> " << frames[i];
            ASSERT_LE(frames[i], 10u);
        }
        // The stay loop holds 8 to 10 for 5 s after the start phase.
        EXPECT_NEAR((lastAtOrAbove8 - firstFull) / 60.0f, 5.0f, 0.5f);
        // Then ten frames down at one per end step.
        ASSERT_GT(removedAt, 0);
        EXPECT_NEAR((removedAt - lastAtOrAbove8) / 60.0f, 8.0f * row.endStep, 0.3f);
        EXPECT_EQ(frames.back(), 0u);
        EXPECT_EQ(Flag(row.flag), 0);
    }
}

TEST_F(PlayObjectsDisplayTest, APausedBeamHoldsItsPhaseAndPausesItsSounds)
{
    Start();
    auto* beam = AddActive<LazerClass>("Lazer", "lz", 0.0f, 0.0f);
    Flag(PlayFlag::LazerSpawned) = 1;
    while (beam->GetCurrentFrameIndex() < 10)
    {
        Tick();
    }
    for (int i = 0; i < 30; ++i)
    {
        Tick();
    }
    auto* stay = FindObject<LazerSound>("lazerstay");
    ASSERT_NE(stay, nullptr);
    ASSERT_TRUE(stay->IsPlaying());
    Flag(PlayFlag::Paused) = 1;
    Tick();
    const LazerState held = beam->state;
    const std::uint32_t frame = beam->GetCurrentFrameIndex();
    EXPECT_FALSE(stay->IsPlaying());
    for (int i = 0; i < 600; ++i)
    {
        Tick();
    }
    EXPECT_EQ(beam->GetCurrentFrameIndex(), frame);
    EXPECT_EQ(beam->state.life, held.life);
    EXPECT_EQ(beam->state.phaseTimer, held.phaseTimer);
    EXPECT_FALSE(beam->IsBeingDestroyed());
    Flag(PlayFlag::Paused) = 0;
    for (int i = 0; i < 30; ++i)
    {
        Tick();
    }
    EXPECT_GT(beam->state.life, held.life);
    EXPECT_TRUE(stay->IsPlaying());
}

TEST_F(PlayObjectsDisplayTest, ACompletedStageRemovesABeamInAnyPhaseAndStopsItsSounds)
{
    for (const int updates : {1, 60, 300, 500})
    {
        SCOPED_TRACE(updates);
        game.Reset();
        Start();
        Data().stage = 0;
        auto* beam = AddActive<Lazer1Class>("Lazer1", "lz1", 0.0f, 0.0f);
        Flag(PlayFlag::Lazer1Spawned) = 1;
        for (int i = 0; i < updates; ++i)
        {
            Tick();
        }
        ASSERT_FALSE(beam->IsBeingDestroyed());
        Flag(PlayFlag::StageComplete) = 1;
        Tick();
        EXPECT_TRUE(beam->IsBeingDestroyed());
        EXPECT_EQ(Flag(PlayFlag::Lazer1Spawned), 0);
        EXPECT_FALSE(FindObject<LazerSound1>("lazerstay1")->IsPlaying());
        EXPECT_FALSE(FindObject<LazerStart1>("lazerstart1")->IsPlaying());
        EXPECT_FALSE(FindObject<LazerEnd1>("lazerend1")->IsPlaying());
    }
}

// --- Power-ups -----------------------------------------------------------------------------

TEST_F(PlayObjectsDisplayTest, AHoleFirstTouchedInItsLastWaitingFrameOpensFor240Frames)
{
    Start();
    auto* player = AddPlayer<SpriteMouseClass>(-300.0f, 200.0f);
    auto* hole = AddActive<BlackHoleClass>("blackHolePU", "bhpu", 0.0f, 0.0f);
    Flag(PlayFlag::BlackHoleAvailable) = 0;
    // The contact of the step after update 299 is read in update 300.
    for (int update = 1; update < 300; ++update)
    {
        if (update == 299)
        {
            MovePlayer(*player, 0.0f, 0.0f);
        }
        Tick();
    }
    ASSERT_EQ(hole->state.lifeCounter, 299);
    ASSERT_EQ(Flag(PlayFlag::BlackHoleActive), 0);
    Tick();
    EXPECT_EQ(Flag(PlayFlag::BlackHoleActive), 1);
    EXPECT_FALSE(hole->IsBeingDestroyed());
    EXPECT_EQ(hole->state.activeCounter, 1);
    // The player stays on it: no restart. It closes after 240 open frames.
    int open = 1;
    while (!hole->IsBeingDestroyed() && open < 400)
    {
        Tick();
        ++open;
        const std::uint32_t frame = hole->GetCurrentFrameIndex();
        ASSERT_TRUE(frame >= 1 && frame <= 4) << frame;
    }
    EXPECT_EQ(open, 241);
    EXPECT_EQ(Flag(PlayFlag::BlackHoleActive), 0);
    EXPECT_EQ(Flag(PlayFlag::BlackHoleAvailable), 1);
}

TEST_F(PlayObjectsDisplayTest, AnUnopenedHoleGoesAtFrame300AndTheWhiteLaserRemovesAnyHole)
{
    for (const bool tutorial : {false, true})
    {
        SCOPED_TRACE(tutorial);
        game.Reset();
        Start(tutorial);
        Velkor::Sprite* hole =
            tutorial
                ? static_cast<Velkor::Sprite*>(AddActive<BlackHoleClassT>("blackHolePU", "bhpu", 0.0f, 0.0f))
                : AddActive<BlackHoleClass>("blackHolePU", "bhpu", 0.0f, 0.0f);
        auto* prototype = FindObject<Velkor::Sprite>("blackHolePU");
        for (int update = 1; update < 300; ++update)
        {
            Tick();
        }
        ASSERT_FALSE(hole->IsBeingDestroyed());
        Tick();
        EXPECT_TRUE(hole->IsBeingDestroyed());
        EXPECT_EQ(Flag(PlayFlag::BlackHoleAvailable), 1);
        // The prototype is inert: it never ages out.
        EXPECT_FALSE(prototype->IsBeingDestroyed());
    }

    game.Reset();
    Start();
    auto* hole = AddActive<BlackHoleClass>("blackHolePU", "bhpu", 100.0f, 0.0f);
    auto* sweep = AddActive<BonusLazerClass>("WhiteLazer", "blz", 80.0f, 0.0f);
    Flag(PlayFlag::StageComplete) = 1;
    AddActive<ball>("ball", "bgc", -300.0f, 200.0f);
    for (int i = 0; i < 120 && !hole->IsBeingDestroyed(); ++i)
    {
        Tick();
    }
    EXPECT_TRUE(hole->IsBeingDestroyed());
    EXPECT_FALSE(sweep->IsBeingDestroyed());
    EXPECT_EQ(Flag(PlayFlag::BlackHoleAvailable), 1);
}

// A loaded save makes its objects by name; the record has no inert flag, so
// the prototype must come back inert (it would otherwise age out at frame
// 300 and take the level's source of holes with it) and a clone must not.
TEST_F(PlayObjectsDisplayTest, AHoleReadFromARecordIsInertOnlyUnderThePrototypeName)
{
    for (const bool tutorial : {false, true})
    {
        SCOPED_TRACE(tutorial);
        game.Reset();
        Start(tutorial);
        if (tutorial)
        {
            AddActive<BlackHoleClassT>("blackHolePU", "bhpu", 0.0f, 0.0f);
        }
        else
        {
            AddActive<BlackHoleClass>("blackHolePU", "bhpu", 0.0f, 0.0f);
        }
        Core::MemoryFile file;
        game->SaveGame(file);
        std::string error;
        ASSERT_TRUE(game->LoadGame(file.GetBuffer(), error)) << error;
        for (const char* name : {"blackHolePU", "bhpu"})
        {
            Core::Object* hole = FindObject<Velkor::Sprite>(name);
            ASSERT_NE(hole, nullptr) << name;
            const BlackHoleState& state = tutorial ? dynamic_cast<BlackHoleClassT&>(*hole).state
                                                   : dynamic_cast<BlackHoleClass&>(*hole).state;
            EXPECT_EQ(state.inert, std::string(name) == "blackHolePU" ? 1 : 0) << name;
        }
    }
}

TEST_F(PlayObjectsDisplayTest, AnOpenHolePullsWhiteBallsAtFiveTimesTheirSpeedAndSwallowsThem)
{
    Start();
    auto* hole = AddActive<BlackHoleClass>("blackHolePU", "bhpu", 200.0f, 0.0f);
    auto* ball = AddActive<whiteball>("whiteball", "wb", 0.0f, 0.0f);
    Tick();
    ball->state.spawning = 0;
    ball->state.baseSpeed = 3.0f;
    ball->state.blackHoleSpeed = 15.0f;
    ball->SetCurrentAnimationIndex(1, false);
    Flag(PlayFlag::BlackHoleActive) = 1;
    Tick();
    const Math::Vector2D velocity = Velocity(*ball);
    EXPECT_NEAR(velocity.x, 15.0f, 1e-3f);
    EXPECT_NEAR(velocity.y, 0.0f, 1e-3f);
    ball->SetPosition(195.0f, 0.0f);
    for (int i = 0; i < 3 && !ball->IsBeingDestroyed(); ++i)
    {
        Tick();
    }
    EXPECT_TRUE(ball->IsBeingDestroyed());
    EXPECT_FALSE(hole->IsBeingDestroyed());
}

TEST_F(PlayObjectsDisplayTest, TheWhiteLaserTurnsWhenTheArenaIsEmptyAndRaisesTheStageAtItsEnd)
{
    Start();
    Data().stage = 2;
    Flag(PlayFlag::StageComplete) = 1;
    Flag(PlayFlag::WhiteLazerSpawned) = 1;
    auto* last = AddActive<ball>("ball", "bgc", -300.0f, 300.0f);
    auto* sweep = AddActive<BonusLazerClass>("WhiteLazer", "blz", 200.0f, -37.0f);
    Tick();
    Tick();
    EXPECT_NEAR(Velocity(*sweep).x, 20.0f, 1e-3f);
    EXPECT_TRUE(FindObject<BonusSound>("bonuslevels")->IsPlaying());
    last->Destroy();
    Tick();
    // The first update without a coloured ball.
    Tick();
    EXPECT_NEAR(Velocity(*sweep).x, -40.0f, 1e-3f);
    EXPECT_EQ(Data().stage, 2);

    // Just right of the end it goes on; exactly at it the sweep is over.
    sweep->SetPosition(-478.9f, -37.0f);
    Tick();
    EXPECT_FALSE(sweep->IsBeingDestroyed());
    EXPECT_EQ(Data().stage, 2);
    sweep->SetPosition(-479.0f, -37.0f);
    Tick();
    EXPECT_TRUE(sweep->IsBeingDestroyed());
    EXPECT_EQ(Data().stage, 3);
    EXPECT_EQ(Flag(PlayFlag::StageComplete), 0);
    EXPECT_EQ(Flag(PlayFlag::WhiteLazerSpawned), 0);
    Tick();
    EXPECT_FALSE(FindObject<BonusSound>("bonuslevels")->IsPlaying());
}

TEST_F(PlayObjectsDisplayTest, TheTutorialsWhiteLaserEndsAfter630FramesWhateverTheArenaHolds)
{
    Start(true);
    Data().stage = 1;
    Flag(PlayFlag::StageComplete) = 1;
    Flag(PlayFlag::WhiteLazerSpawned) = 1;
    AddActive<ballT>("ball", "bgc", -300.0f, 300.0f);
    auto* sweep = AddActive<BonusLazerClassT>("WhiteLazer", "blz", -450.0f, -37.0f);
    for (int update = 1; update < 630; ++update)
    {
        Tick();
        ASSERT_FALSE(sweep->IsBeingDestroyed()) << update;
    }
    EXPECT_GT(Velocity(*sweep).x, 0.0f);
    Tick();
    EXPECT_TRUE(sweep->IsBeingDestroyed());
    EXPECT_EQ(Data().stage, 2);
    EXPECT_EQ(Flag(PlayFlag::StageComplete), 0);
    EXPECT_EQ(Flag(PlayFlag::WhiteLazerSpawned), 0);
}

TEST_F(PlayObjectsDisplayTest, AShieldBubbleLives360UpdatesOrIsTaken)
{
    Start();
    auto* player = AddPlayer<SpriteMouseClass>(-300.0f, 200.0f);
    auto* bubble = AddActive<bubblesheildpowerup>("sheildpowerup", "bup", 100.0f, 0.0f);
    for (int update = 1; update < 360; ++update)
    {
        Tick();
    }
    ASSERT_FALSE(bubble->IsBeingDestroyed());
    Tick();
    EXPECT_TRUE(bubble->IsBeingDestroyed());
    EXPECT_EQ(player->shieldRequested, 0);

    auto* taken = AddActive<bubblesheildpowerup>("sheildpowerup", "bup", -240.0f, 200.0f);
    Tick();
    MovePlayer(*player, -255.0f, 200.0f);
    for (int i = 0; i < 4 && !taken->IsBeingDestroyed(); ++i)
    {
        Tick();
    }
    EXPECT_TRUE(taken->IsBeingDestroyed());
    EXPECT_EQ(player->shieldRequested, 1);
}

TEST_F(PlayObjectsDisplayTest, TheBonusSignShowsExactlyWhileTheStageIsComplete)
{
    Start();
    Flag(PlayFlag::StageComplete) = 1;
    auto* sign = BuildObject<BonusTextThing>(*layer, "Bonus", "Bonus", {0.0f, -15.0f});
    sign->SetVisible(true);
    // Its first frame hides it whatever the switch says; updates follow it.
    Flag(PlayFlag::StageComplete) = 0;
    Tick();
    EXPECT_FALSE(sign->GetVisible());
    Flag(PlayFlag::StageComplete) = 1;
    Tick();
    EXPECT_TRUE(sign->GetVisible());
    Flag(PlayFlag::StageComplete) = 0;
    Tick();
    EXPECT_FALSE(sign->GetVisible());
}

// --- A network client -------------------------------------------------------------------

// A client builds no collision objects and no bodies: every class runs its
// rules on such objects (contacts, circles, velocities all absent) without
// a fault.
TEST_F(PlayObjectsDisplayTest, WithoutCollisionObjectsOrBodiesEveryClassRunsQuietly)
{
    Start();
    Data().stage = 3;
    const auto clone = [this](auto* prototype, const char* name)
    {
        using T = std::remove_pointer_t<decltype(prototype)>;
        return Spawn<T>(*layer, *prototype, name, {0.0f, 0.0f});
    };
    const Math::Vector2D away(-600.0f, 0.0f);
    BuildObject<SpriteMouseClass>(*layer, "playerball", "playerball", {0.0f, 0.0f}, false);
    clone(BuildObject<ball>(*layer, "ball", "ball", away, false), "bgc");
    auto* white = clone(BuildObject<whiteball>(*layer, "whiteball", "whiteball", away, false), "wb");
    auto* spike = clone(BuildObject<SpikeBall>(*layer, "spikeball", "spikeball", away, false), "ss");
    clone(BuildObject<BlackHoleClass>(*layer, "blackHolePU", "blackHolePU", away, false), "bhpu");
    clone(BuildObject<LazerClass>(*layer, "Lazer", "Lazer", away, false), "lz");
    clone(BuildObject<Lazer1Class>(*layer, "Lazer1", "Lazer1", away, false), "lz1");
    clone(BuildObject<bubblesheildpowerup>(*layer, "sheildpowerup", "sheildpowerup", away, false), "bup");
    clone(BuildObject<BonusLazerClass>(*layer, "WhiteLazer", "WhiteLazer", away, false), "blz");
    BuildObject<BonusTextThing>(*layer, "Bonus", "Bonus", away, false);
    Flag(PlayFlag::LazerSpawned) = 1;
    Flag(PlayFlag::Lazer1Spawned) = 1;
    for (int i = 0; i < 120; ++i)
    {
        Tick();
    }
    white->state.behaviour = 2;
    Flag(PlayFlag::BlackHoleActive) = 1;
    Tick(30);
    Flag(PlayFlag::BlackHoleActive) = 0;
    Flag(PlayFlag::StageComplete) = 1;
    Tick(30);
    EXPECT_FALSE(white->IsBeingDestroyed());
    EXPECT_FALSE(spike->IsBeingDestroyed());
}

} // namespace
