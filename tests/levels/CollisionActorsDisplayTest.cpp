#include "LevelsTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_GeometricCollision.h"
#include "core/Core_Object.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace
{

using namespace BrillowTest;
using Collision2D::FlipVariant;

class CollisionActorsDisplayTest : public LevelsDisplayTest
{
protected:
    const Collision2D::CollisionFrame& Frame(std::uint32_t actor, std::uint32_t frame) const
    {
        const auto& assets = game->GetCollisionAssets();
        return *assets.at(actor)->GetFrame(0, frame);
    }

    std::uint32_t FrameCount(std::uint32_t actor) const
    {
        return game->GetCollisionAssets().at(actor)->GetAnimation(0)->GetFrameCount();
    }

    using LevelsDisplayTest::Frame;
};

TEST_F(CollisionActorsDisplayTest, FortyTwoActorsAfterEveryLevelAndNoneLeftBehind)
{
    Start();
    Frame();
    ASSERT_EQ(game->GetCollisionAssets().size(), 42u);
    for (std::uint32_t i = 0; i < 42; ++i)
    {
        EXPECT_EQ(game->GetCollisionAssets()[i].get(), factory->GetActor(i));
        EXPECT_EQ(game->GetCollisionAssets()[i]->GetAnimationCount(), 1u);
    }
    std::int32_t objectsAfterFirstRound = 0;
    for (std::uint32_t i = 0; i < 100; ++i)
    {
        game->ChangeLevel(i % 9);
        Frame();
        ASSERT_EQ(game->GetCollisionAssets().size(), 42u) << i;
        if (i == 8)
        {
            objectsAfterFirstRound = Core::GetLiveObjectCount();
        }
        if (i % 9 == 8)
        {
            EXPECT_EQ(Core::GetLiveObjectCount(), objectsAfterFirstRound) << i;
        }
    }
    // An index past the levels still makes the actors, and no level.
    game->ClearCollisionAssets();
    EXPECT_EQ(factory->CreateLevel(9), nullptr);
    EXPECT_EQ(game->GetCollisionAssets().size(), 42u);
}

TEST_F(CollisionActorsDisplayTest, FramesHoldTheirShapes)
{
    Start();
    Frame();
    ASSERT_EQ(FrameCount(26), 25u);
    for (std::uint32_t frame = 0; frame < 25; ++frame)
    {
        EXPECT_EQ(Frame(26, frame).GetCircleCount(), 1u) << frame;
    }
    EXPECT_EQ(Frame(26, 20).GetCircle(0).GetCircle(FlipVariant::NoFlip).radius, 29.0f);
    EXPECT_EQ(Frame(26, 10).GetBoundingRectangle(FlipVariant::NoFlip),
              Collision2D::ZibRect(42, -42, 378, -378));
    for (std::uint32_t actor : {19u, 21u})
    {
        for (std::uint32_t frame = 0; frame < 6; ++frame)
        {
            EXPECT_EQ(Frame(actor, frame).GetCircleCount(), 0u) << actor << " " << frame;
        }
        EXPECT_EQ(Frame(actor, 6).GetCircleCount(), 1u) << actor;
    }
    EXPECT_EQ(Frame(19, 7).GetCircle(0).GetCircle(FlipVariant::NoFlip).center, Math::Vector2D(0, 2));

    // Every shape carries its mirror images.
    const Collision2D::CollisionFrame& button = Frame(4, 0);
    EXPECT_EQ(button.GetBoundingRectangle(FlipVariant::NoFlip), Collision2D::ZibRect(49, -161, 162, -49));
    EXPECT_EQ(button.GetBoundingRectangle(FlipVariant::HFlip), Collision2D::ZibRect(49, -162, 161, -49));
    EXPECT_EQ(Frame(4, 1).GetBoundingRectangle(FlipVariant::NoFlip),
              Collision2D::ZibRect(49, -161, 161, -49));
    const auto& circle = Frame(26, 0).GetCircle(0);
    EXPECT_EQ(circle.GetCircle(FlipVariant::NoFlip).center, Math::Vector2D(-4, 2));
    EXPECT_EQ(circle.GetCircle(FlipVariant::HFlip).center, Math::Vector2D(4, 2));
    EXPECT_EQ(circle.GetCircle(FlipVariant::VFlip).center, Math::Vector2D(-4, -2));
    EXPECT_EQ(circle.GetUserId(), 0u);
    const auto& segment = Frame(34, 0).GetLineSegment(0);
    EXPECT_EQ(segment.GetLineSegment(FlipVariant::NoFlip).pointA, Math::Vector2D(4, 333));
    // A mirrored segment runs the other way, keeping its side.
    EXPECT_EQ(segment.GetLineSegment(FlipVariant::HFlip).pointA, Math::Vector2D(-6, -325));
    EXPECT_EQ(segment.GetLineSegment(FlipVariant::HFlip).pointB, Math::Vector2D(-4, 333));
    EXPECT_EQ(Frame(34, 0).GetLineSegmentCount(), 2u);
}

TEST_F(CollisionActorsDisplayTest, TheBeamTablesHoldTheirSegments)
{
    Start();
    Frame();
    struct Check
    {
        std::uint32_t actor;
        std::uint32_t frame;
        std::uint32_t count;
        std::uint32_t index;
        Math::Vector2D a;
        Math::Vector2D b;
    };
    const Check checks[] = {
        {24, 0, 0, 0, {}, {}},
        {24, 3, 4, 2, {348, 7}, {488, 6}},
        {24, 4, 4, 2, {488, -1}, {140, 0}},
        {24, 10, 2, 1, {486, -1}, {-481, -1}},
        {25, 0, 0, 0, {}, {}},
        {25, 4, 4, 0, {0, 341}, {0, 90}},
        {25, 10, 2, 1, {0, -330}, {0, 333}},
        {27, 1, 2, 0, {1, 335}, {4, -328}},
        {27, 4, 2, 1, {-2, -328}, {-2, 338}},
    };
    EXPECT_EQ(FrameCount(24), 11u);
    EXPECT_EQ(FrameCount(25), 11u);
    EXPECT_EQ(FrameCount(27), 5u);
    for (const Check& check : checks)
    {
        SCOPED_TRACE(std::to_string(check.actor) + " frame " + std::to_string(check.frame));
        const Collision2D::CollisionFrame& frame = Frame(check.actor, check.frame);
        ASSERT_EQ(frame.GetLineSegmentCount(), check.count);
        if (check.count > 0)
        {
            const Math::LineSegment2D& segment =
                frame.GetLineSegment(check.index).GetLineSegment(FlipVariant::NoFlip);
            EXPECT_EQ(segment.pointA, check.a);
            EXPECT_EQ(segment.pointB, check.b);
        }
    }
}

// The sprites that use each actor, by name, with their sheets and frame
// counts (the number of frame delays of each animation): the actor follows
// the sprite's frames end to end, so the counts add up to the actor's.
struct UserSheet
{
    const char* sheet;
    std::uint32_t frames;
};

struct ActorUser
{
    std::uint32_t actor;
    const char* user;
    std::vector<UserSheet> sheets;
};

const std::vector<UserSheet> PlayerColours = {
    {"BLUEANIMATION0.png", 4},  {"GREENANIMATION0.png", 4}, {"YELLOWANIMATE.png", 4},
    {"ORANGEANIMATION.png", 4}, {"REDANIMATE.png", 4},      {"SheildBubble.png", 1},
    {"WHITEANIMATE.png", 4},
};

const std::vector<ActorUser> ActorUsers = {
    {0, "sprite1", {{"BG.png", 1}}},
    {1, "sprite0", {{"Animation1.png", 2}}},
    {2, "background", {{"MENU.png", 1}}},
    {3, "startButton", {{"START.png", 2}}},
    {4, "tutorialButton", {{"TUTORIAL.png", 2}}},
    {5, "OptionsButton", {{"OPTIONSBUTTON.png", 2}}},
    {6, "ExitButton", {{"EXITBUTTON.png", 2}}},
    {7, "CreditButton", {{"CREDITBUTTON.png", 2}}},
    {8, "playerball", {{"Core Animate0.png", 6}}},
    {9, "PauseMouse", {{"PLAYERBALL.png", 1}}},
    {10, "ExitButton", {{"Exit.png", 2}}},
    {11, "RestartButton", {{"Restart.png", 2}}},
    {12, "QuitScreen", {{"QuitMenu.png", 1}}},
    {13, "QuitYesButton", {{"YesButton.png", 2}}},
    {14, "QuitNoButton", {{"NoButton.png", 2}}},
    {15, "ResumeButton", {{"ResumeB.png", 2}}},
    {16, "lose_background", {{"BACKGROUND0.png", 1}}},
    {17, "Bonus", {{"BONUS.png", 1}}},
    {18,
     "ball",
     {{"blueball.png", 1},
      {"greenball.png", 1},
      {"YELLOWBALL.png", 1},
      {"ORANGEBALL.png", 1},
      {"REDBALL.png", 1},
      {"white.png", 1}}},
    {19, "whiteball", {{"WHITESCALE.png", 6}, {"ENEMYWHITE.png", 1}, {"white.png", 1}}},
    {20, "sheildpowerup", {{"sheildpowerup.png", 1}}},
    {21, "spikeball", {{"REDBALLSCALE.png", 6}, {"SpikeBall.png", 1}}},
    {22, "sprite0", {{"SheildBubble.png", 1}}},
    {23, "blackHolePU", {{"blackHolePU.png", 6}}},
    {24, "Lazer1", {{"LAZER0.png", 11}}},
    {25, "Lazer", {{"LAZER11.png", 11}}},
    {26, "playerball", PlayerColours},
    {27, "WhiteLazer", {{"WHITELAZERANI.png", 5}}},
    {29, "BorderColour", {{"REDBORDER.png", 1}, {"BLUEBORDER.png", 1}}},
    {30, "PauseScreen", {{"PausedScreen.png", 1}}},
    {31, "sprite0", {{"Death.png", 8}}},
    {32, "win", {{"WIN.png", 1}}},
    {33, "MainMenu", {{"BACKTOMAINMENU.png", 2}}},
    {34, "WhiteLazer", {{"ORIGINALWHITE.png", 1}}},
    {35, "CreditPage", {{"CREDITPAGE.png", 1}}},
    {36, "sprite0", {{"LOADINGPAGE.png", 1}}},
    {37, "sprite0", {{"OPTIONSBACKGROUND.png", 1}}},
    {38, "FullScreenButton", {{"FullScreenButton.png", 2}}},
    {39, "MainMenu", {{"BACKTOMAINMENU1.png", 2}}},
    {40, "MuteButton", {{"MuteButton.png", 4}}},
    {41, "lose_background", {{"Animation0.png", 1}}},
};

TEST_F(CollisionActorsDisplayTest, EachActorHasTheFramesOfItsSprites)
{
    Start();
    Frame();
    for (const ActorUser& user : ActorUsers)
    {
        SCOPED_TRACE(std::to_string(user.actor) + " " + user.user);
        std::uint32_t frames = 0;
        for (const UserSheet& sheet : user.sheets)
        {
            frames += sheet.frames;
            EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ENGINE_TEST_BINARY_DIR) / "Resources" /
                                                "Animations" / sheet.sheet))
                << sheet.sheet;
        }
        EXPECT_EQ(FrameCount(user.actor), frames);
    }
}

} // namespace
