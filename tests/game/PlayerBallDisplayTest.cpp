#include "../framework/SpriteTestSupport.h"
#include "GameTestSupport.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_SpriteMouseClassT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using namespace BrillowTest;
using BallState = PlayerBall::BallState;
using SpriteTest::FrameShapes;
using Vec = Math::Vector2D;

constexpr std::uint32_t Animations = 7;
const Vec Far(400.0f, 300.0f);

// A play level with the player ball under the mouse at the field's centre,
// and objects that touch it when moved onto it.
class PlayerBallTest : public MyGameDisplayTest
{
protected:
    void SetUp() override
    {
        MyGameDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        MakeGame();
        // The first frame only makes the level; the level machine's first
        // update asks for the main menu again, built on the third.
        Tick(3);
        level = dynamic_cast<FlagLevel*>(game->GetCurrentLevel());
        ASSERT_NE(level, nullptr);
        layer = level->GetLayer(1);
        layer->SetCollisionProperties(Vec(-512.0f, -384.0f), 1024, 768, 100);
        game->introRunning = 0;
        MouseAt(512, 384);
        FrameShapes ballShape;
        ballShape.circles = {{Vec(), 20.0f}};
        ballActor = AddActor(std::vector<FrameShapes>(Animations, ballShape));
        FrameShapes small;
        small.circles = {{Vec(), 10.0f}};
        small.rectangle = {10.0f, -10.0f, 10.0f, -10.0f};
        touchActor = AddActor({small});
    }

    Collision2D::CollisionActor* AddActor(const std::vector<FrameShapes>& frames)
    {
        game->AddCollisionAssets(SpriteTest::MakeActor(frames));
        return game->GetCollisionAssets().back().get();
    }

    // A shape-testing collision object over `actor` at collision z `z`.
    void Collide(Velkor::Sprite& sprite, Collision2D::CollisionActor* actor, std::uint8_t z)
    {
        auto* dynamic = new Collision2D::DynamicObject();
        dynamic->AddCollisionData(actor, 0, 0);
        dynamic->SetCollisionType(1);
        dynamic->SetZCollision(z);
        for (std::uint8_t level = 0; level < 4; ++level)
        {
            dynamic->SetCanCollid(level, true);
        }
        dynamic->SetUpdateOnIdle(true);
        ASSERT_TRUE(sprite.AddCollision(dynamic, layer->GetCollisionLayerIndex()));
    }

    // The full ball: seven animations, one per look (one frame each here).
    template <class Ball> Ball& AddBall()
    {
        const char* sheets[Animations] = {"BLUEANIMATION0",  "GREENANIMATION0", "YELLOWANIMATE",
                                          "ORANGEANIMATION", "REDANIMATE",      "SheildBubble",
                                          "WHITEANIMATE"};
        Velkor::Sprite::AnimationList animations;
        for (const char* sheet : sheets)
        {
            animations.push_back(SpriteTest::MakeAnimation(
                game->GetDirectory() + "\\Resources\\Animations\\" + sheet + ".png", 1, 1, 1));
        }
        auto* ball = new Ball(animations);
        ball->SetName("playerball");
        Collide(*ball, ballActor, 0);
        layer->AddGameObject(ball);
        Tick();
        return *ball;
    }

    // An object named `name` away from the ball, at collision z 1.
    Velkor::Sprite& AddToucher(const std::string& name)
    {
        auto* sprite =
            new Velkor::Sprite({SpriteTest::MakeAnimation(folder.Sheet(name + ".png", 8, 8), 1, 1, 1)});
        sprite->SetName(name);
        sprite->SetPosition(Far);
        Collide(*sprite, touchActor, 1);
        layer->AddGameObject(sprite);
        return *sprite;
    }

    // The mouse at window pixel (x, y), y counted up from the bottom.
    void MouseAt(std::int32_t x, std::int32_t y) { input.SetCursor(x, 767 - y); }

    std::uint8_t& Flag(PlayFlag flag) { return level->flags[static_cast<std::size_t>(flag)]; }

    // Raises the stage one by one up to `stage` (the colours only move
    // forward), a frame each.
    void RaiseStageTo(std::int32_t stage)
    {
        for (std::int32_t s = game->stage + 1; s <= stage; ++s)
        {
            game->stage = s;
            Tick();
        }
    }

    static bool CanCollide(PlayerBall& ball, std::uint8_t z)
    {
        return ball.GetDynamicCollisionObject()->GetCanCollid(z);
    }

    SpriteTest::SheetFolder folder;
    FlagLevel* level = nullptr;
    Velkor::Layer* layer = nullptr;
    Collision2D::CollisionActor* ballActor = nullptr;
    Collision2D::CollisionActor* touchActor = nullptr;
};

TEST_F(PlayerBallTest, TheColourFollowsTheStageAndACompletedStageTurnsTheBallWhite)
{
    SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
    ASSERT_EQ(ball.GetBallState(), BallState::Blue);
    EXPECT_EQ(ball.stateSM->name, "stateSM");
    struct Step
    {
        std::int32_t stage;
        std::uint8_t complete;
        BallState state;
        std::uint32_t animation;
        std::uint8_t powered;
    };
    const Step steps[] = {
        {2, 0, BallState::Green, 1, 0},
        {2, 1, BallState::White, 6, 1},
        {3, 1, BallState::White, 6, 1},
        {3, 0, BallState::Yellow, 2, 0},
        {4, 0, BallState::Orange, 3, 0},
        {4, 1, BallState::White, 6, 1},
        {5, 0, BallState::Red, 4, 0},
        {5, 1, BallState::White, 6, 1},
        // The game is won: white for good.
        {6, 0, BallState::White, 6, 1},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(std::to_string(step.stage) + "/" + std::to_string(step.complete));
        game->stage = step.stage;
        Flag(PlayFlag::StageComplete) = step.complete;
        Tick(3);
        EXPECT_EQ(ball.GetBallState(), step.state);
        EXPECT_EQ(ball.GetCurrentAnimationIndex(), step.animation);
        EXPECT_EQ(ball.powered, step.powered);
        EXPECT_TRUE(ball.GetVisible());
    }
}

TEST_F(PlayerBallTest, AHitBlinksForThreeSecondsAndGivesBackTheCollisionsInTwoSteps)
{
    SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
    Velkor::Sprite& enemy = AddToucher("wb");
    RaiseStageTo(3);
    ASSERT_EQ(ball.GetBallState(), BallState::Yellow);

    enemy.SetPosition(Vec());
    int frames = 0;
    while (ball.GetBallState() != BallState::Damaged && frames++ < 5)
    {
        Tick();
    }
    ASSERT_EQ(ball.GetBallState(), BallState::Damaged);
    enemy.SetPosition(Far);
    // The frame of the hit is the first of 180: visibility toggles on every
    // third, z 0 comes back on the 60th, z 1 stays off throughout.
    int toggles = 0;
    bool visible = ball.GetVisible();
    EXPECT_FALSE(visible);
    for (int k = 1; k < PlayerBall::DamageFrames; ++k)
    {
        Tick();
        ASSERT_EQ(ball.GetBallState(), BallState::Damaged) << k;
        EXPECT_EQ(ball.damaged, 1);
        EXPECT_EQ(ball.GetVisible(), (k / 3) % 2 == 1) << k;
        toggles += ball.GetVisible() != visible ? 1 : 0;
        visible = ball.GetVisible();
        EXPECT_EQ(CanCollide(ball, 0), k >= 59) << k;
        EXPECT_FALSE(CanCollide(ball, 1)) << k;
    }
    EXPECT_EQ(toggles, 59);
    EXPECT_EQ(ball.damageTimer, 0);
    Tick();
    EXPECT_EQ(ball.GetBallState(), BallState::Yellow);
    EXPECT_EQ(ball.damaged, 0);
    EXPECT_TRUE(ball.GetVisible());
    EXPECT_TRUE(CanCollide(ball, 0));
    EXPECT_TRUE(CanCollide(ball, 1));
}

TEST_F(PlayerBallTest, AShieldDuringDamageEndsItAndLastsThreeSeconds)
{
    struct Case
    {
        std::int32_t stage;
        BallState after;
    };
    // Above stage 4 the shield always gives way to red.
    for (const Case& c : {Case{1, BallState::Blue}, Case{5, BallState::Red}, Case{6, BallState::Red}})
    {
        SCOPED_TRACE(c.stage);
        SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
        ball.stateSM->SetPendingStateIndex(5);
        Tick();
        ASSERT_EQ(ball.GetBallState(), BallState::Damaged);
        game->stage = c.stage;
        ball.shieldRequested = 1;
        Tick();
        ASSERT_EQ(ball.GetBallState(), BallState::Shield);
        EXPECT_EQ(ball.GetCurrentAnimationIndex(), 5u);
        EXPECT_EQ(ball.damaged, 0);
        EXPECT_EQ(ball.powered, 1);
        int frames = 1;
        while (ball.GetBallState() == BallState::Shield && frames < 200)
        {
            Tick();
            ++frames;
        }
        // 3.0 s at 1/60 s a frame, give or take the rounding of the sum.
        EXPECT_GE(frames, 180);
        EXPECT_LE(frames, 182);
        EXPECT_EQ(ball.GetBallState(), c.after);
        EXPECT_EQ(ball.powered, 0);
        EXPECT_EQ(ball.shieldRequested, 0);
        ball.Destroy();
        game->stage = 1;
        Tick();
    }
}

TEST_F(PlayerBallTest, AShieldTakenWhileWhiteWaitsForTheNextHit)
{
    SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
    Velkor::Sprite& enemy = AddToucher("wb");
    Flag(PlayFlag::StageComplete) = 1;
    Tick();
    ASSERT_EQ(ball.GetBallState(), BallState::White);
    ball.shieldRequested = 1;
    Tick(5);
    EXPECT_EQ(ball.GetBallState(), BallState::White);
    Flag(PlayFlag::StageComplete) = 0;
    RaiseStageTo(3);
    ASSERT_EQ(ball.GetBallState(), BallState::Yellow);
    EXPECT_EQ(ball.shieldRequested, 1);

    enemy.SetPosition(Vec());
    std::vector<BallState> seen;
    for (int i = 0; i < 4; ++i)
    {
        Tick();
        if (seen.empty() || seen.back() != ball.GetBallState())
        {
            seen.push_back(ball.GetBallState());
        }
    }
    EXPECT_EQ(seen, (std::vector<BallState>{BallState::Yellow, BallState::Damaged, BallState::Shield}));
}

TEST_F(PlayerBallTest, AShieldAndAHitInOneFrameResolveByTheColour)
{
    struct Case
    {
        std::int32_t stage;
        BallState colour;
        BallState winner;
    };
    const Case cases[] = {
        {1, BallState::Blue, BallState::Damaged},  {2, BallState::Green, BallState::Shield},
        {3, BallState::Yellow, BallState::Shield}, {4, BallState::Orange, BallState::Damaged},
        {5, BallState::Red, BallState::Shield},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(PlayerBall::GetBallStateName(c.colour));
        game->stage = 1;
        SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
        Velkor::Sprite& enemy = AddToucher("wb");
        Velkor::Sprite& shield = AddToucher("bup");
        RaiseStageTo(c.stage);
        ASSERT_EQ(ball.GetBallState(), c.colour);
        enemy.SetPosition(Vec());
        shield.SetPosition(Vec());
        for (int i = 0; i < 5 && ball.GetBallState() == c.colour; ++i)
        {
            Tick();
        }
        EXPECT_EQ(ball.GetBallState(), c.winner);
        for (Velkor::GameObject* object : std::initializer_list<Velkor::GameObject*>{&ball, &enemy, &shield})
        {
            object->Destroy();
        }
        Tick();
    }
}

TEST_F(PlayerBallTest, PausedTheBallStandsVisibleInFrontAndDuringTheIntroItIsIdle)
{
    SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
    EXPECT_EQ(ball.GetPosition(), Vec());
    EXPECT_EQ(ball.GetZOrder(), 0.0f);

    Flag(PlayFlag::Paused) = 1;
    ball.SetVisible(false);
    MouseAt(600, 400);
    Tick(2);
    EXPECT_EQ(ball.GetPosition(), Vec());
    EXPECT_TRUE(ball.GetVisible());
    EXPECT_EQ(ball.GetZOrder(), PlayerBall::PausedZOrder);

    Flag(PlayFlag::Paused) = 0;
    Tick();
    EXPECT_EQ(ball.GetPosition(), Vec(88.0f, 16.0f));
    EXPECT_EQ(ball.GetZOrder(), 0.0f);

    game->introRunning = 1;
    game->stage = 2;
    MouseAt(100, 100);
    Tick(2);
    EXPECT_EQ(ball.GetPosition(), Vec(88.0f, 16.0f));
    EXPECT_EQ(ball.GetBallState(), BallState::Blue);
}

TEST_F(PlayerBallTest, ABlackHoleTurnsOffZOneUnlessTheBallIsPowered)
{
    SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
    Flag(PlayFlag::BlackHoleActive) = 1;
    Tick();
    EXPECT_FALSE(CanCollide(ball, 1));
    Flag(PlayFlag::StageComplete) = 1;
    Tick();
    ASSERT_EQ(ball.powered, 1);
    EXPECT_TRUE(CanCollide(ball, 1));
    Flag(PlayFlag::StageComplete) = 0;
    Flag(PlayFlag::BlackHoleActive) = 0;
    RaiseStageTo(2);
    EXPECT_TRUE(CanCollide(ball, 1));
}

TEST_F(PlayerBallTest, TheTwinIgnoresPauseAndIntroAndSavesItsOwnStateIndex)
{
    SpriteMouseClassT& twin = AddBall<SpriteMouseClassT>();
    SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
    EXPECT_EQ(twin.stateSM->GetCurrentStateIndex(), 6u);
    EXPECT_EQ(ball.stateSM->GetCurrentStateIndex(), 4u);
    const char* twinNames[] = {"YELLOW", "RED",          "GREEN", "ORANGE",
                               "WHITE",  "bubblesheild", "BLUE",  "Damaged"};
    const char* ballNames[] = {"YELLOW", "RED",     "GREEN", "ORANGE",
                               "BLUE",   "Damaged", "WHITE", "bubblesheild"};
    for (std::uint32_t i = 0; i < PlayerBall::BallStateCount; ++i)
    {
        EXPECT_EQ(twin.stateSM->GetState(i)->name, twinNames[i]);
        EXPECT_EQ(ball.stateSM->GetState(i)->name, ballNames[i]);
    }
    EXPECT_EQ(twin.stateSM->GetState(5)->minimumTime, PlayerBall::ShieldSeconds);

    Flag(PlayFlag::Paused) = 1;
    game->introRunning = 1;
    MouseAt(532, 394);
    Flag(PlayFlag::StageComplete) = 1;
    Tick();
    EXPECT_EQ(twin.GetPosition(), Vec(20.0f, 10.0f));
    EXPECT_EQ(twin.GetBallState(), BallState::White);
    EXPECT_EQ(twin.stateSM->GetCurrentStateIndex(), 4u);
    EXPECT_EQ(ball.GetBallState(), BallState::Blue);

    // The saved record is the sprite's, then the machine's, which carries
    // the twin's own index; a fresh twin's machine reads it back.
    Core::MemoryFile saved;
    twin.Write(saved);
    Core::MemoryFile machine;
    twin.stateSM->Write(machine);
    ASSERT_GT(saved.GetSize(), machine.GetSize());
    EXPECT_TRUE(std::equal(machine.GetBuffer().begin(), machine.GetBuffer().end(),
                           saved.GetBuffer().end() - machine.GetSize()));
    Core::MemoryFile reader(machine.GetData(), machine.GetSize());
    Core::RefPtr<SpriteMouseClassT> copy(new SpriteMouseClassT());
    GameClass::LoadMachine(copy->stateSM, reader);
    ASSERT_FALSE(reader.Failed());
    EXPECT_EQ(copy->stateSM->GetCurrentStateIndex(), 4u);
    EXPECT_EQ(copy->GetBallState(), BallState::White);
    EXPECT_EQ(copy->stateSM->GetOwner(), copy.Get());
}

TEST_F(PlayerBallTest, ACloneKeepsTheStateWithAMachineOfItsOwn)
{
    SpriteMouseClass& ball = AddBall<SpriteMouseClass>();
    RaiseStageTo(2);
    ASSERT_EQ(ball.GetBallState(), BallState::Green);
    Core::RefPtr<SpriteMouseClass> copy(static_cast<SpriteMouseClass*>(ball.Clone()));
    EXPECT_EQ(copy->GetBallState(), BallState::Green);
    EXPECT_NE(copy->stateSM.Get(), ball.stateSM.Get());
    EXPECT_EQ(copy->stateSM->GetOwner(), copy.Get());
    copy->shieldRequested = 1;
    copy->OnStart();
    EXPECT_EQ(copy->shieldRequested, 0);
    EXPECT_EQ(copy->GetBallState(), BallState::Green);
}

// A network client builds the ball without a collision object: nothing
// touches it and nothing it does needs one.
TEST_F(PlayerBallTest, WithoutACollisionObjectTheBallStillRuns)
{
    auto* ball = new SpriteMouseClass();
    ball->SetName("playerball");
    layer->AddGameObject(ball);
    Flag(PlayFlag::BlackHoleActive) = 1;
    Tick(3);
    ball->stateSM->SetPendingStateIndex(5);
    Tick(200);
    EXPECT_EQ(ball->GetBallState(), BallState::Blue);
    EXPECT_EQ(ball->GetPosition(), Vec());
}

} // namespace
