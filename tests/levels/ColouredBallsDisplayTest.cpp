// The coloured balls in the play level: their colour machines, being eaten,
// the pause freeze, the edge of the field, and how they bounce under the
// contact rules (off each other, through white balls, off the arena walls).
#include "PlayLevelTestSupport.h"

#include "game/Brillow_ball.h"
#include "game/Brillow_ballT.h"

#include <cmath>
#include <map>

namespace
{

using namespace BrillowTest;

class ColouredBallsDisplayTest : public PlayLevelDisplayTest
{
protected:
    // A coloured ball at (x, y) that has started and moves at `velocity`.
    ball* Launch(float x, float y, const Math::Vector2D& velocity, const char* name = "bgc")
    {
        ball* made = AddClones<ball>("ball", name, 1, x, y).front();
        Frame();
        made->SetPosition(Math::Vector2D(x, y));
        made->SetVelocity(velocity);
        return made;
    }

    static Math::Vector2D Velocity(const Velkor::GameObject& object)
    {
        Math::Vector2D velocity;
        object.GetVelocity(velocity);
        return velocity;
    }

    static float Speed(const Velkor::GameObject& object)
    {
        const Math::Vector2D v = Velocity(object);
        return std::sqrt(v.x * v.x + v.y * v.y);
    }
};

template <class T> std::string ColourOf(const T& object)
{
    return object.colourSM->GetCurrentState()->name;
}

// Each row: the stage at each machine update and the colour after it. The
// first update enters the initial blue; the colour only moves forward and
// skips colours when the stage jumps; the tutorial's ball has no red.
TEST_F(ColouredBallsDisplayTest, TheColourFollowsTheStageForward)
{
    const struct
    {
        bool tutorial;
        std::vector<std::int32_t> stages;
        std::vector<std::string> colours;
    } rows[] = {
        {false, {3, 3}, {"BLUE", "YELLOW"}},
        {false, {1, 2, 3, 4, 5}, {"BLUE", "GREEN", "YELLOW", "ORANGE", "RED"}},
        {false, {5, 5, 2}, {"BLUE", "RED", "RED"}},
        {false, {1, 2, 4, 3}, {"BLUE", "GREEN", "GREEN", "YELLOW"}},
        {true, {1, 2, 3, 4, 5}, {"BLUE", "GREEN", "YELLOW", "ORANGE", "ORANGE"}},
        {true, {5, 5}, {"BLUE", "BLUE"}},
        {true, {4, 4, 5}, {"BLUE", "ORANGE", "ORANGE"}},
    };
    const std::map<std::string, std::uint32_t> animationOf = {
        {"BLUE", 0}, {"GREEN", 1}, {"YELLOW", 2}, {"ORANGE", 3}, {"RED", 4}};
    EnterPlay();
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.tutorial ? "ballT" : "ball");
        ball* coloured = AddClones<ball>("ball", "bgc", 1, 100.0f, 100.0f).front();
        Core::RefPtr<ballT> twin(new ballT());
        twin->SetName("bgc");
        for (std::size_t i = 0; i < row.stages.size(); ++i)
        {
            game->stage = row.stages[i];
            if (row.tutorial)
            {
                twin->Update(Step);
                EXPECT_EQ(ColourOf(*twin), row.colours[i]) << i;
            }
            else
            {
                coloured->Update(Step);
                EXPECT_EQ(ColourOf(*coloured), row.colours[i]) << i;
                EXPECT_EQ(coloured->GetCurrentAnimationIndex(), animationOf.at(row.colours[i])) << i;
            }
        }
    }
}

// Eaten: 10 points to the total always, one to the stage only while the
// stage is not complete.
TEST_F(ColouredBallsDisplayTest, EatingScoresTheStageOnlyUntilItIsComplete)
{
    EnterPlay();
    for (const std::uint8_t complete : {0, 1})
    {
        SCOPED_TRACE(complete);
        FreshPlay(1);
        Frame();
        Level()->stageComplete = complete;
        const Velkor::GameObject* player = FindObject<Velkor::Sprite>("playerball");
        ASSERT_NE(player, nullptr);
        game->totalScore = 100;
        game->levelScore = 3;
        ball* eaten =
            Launch(player->GetPositionX() + 80.0f, player->GetPositionY(), Math::Vector2D(-8.0f, 0.0f));
        Core::RefPtr<ball> held(eaten);
        for (int i = 0; i < 60 && !eaten->IsBeingDestroyed(); ++i)
        {
            Frame();
        }
        EXPECT_TRUE(eaten->IsBeingDestroyed() || eaten->IsDestroyed());
        EXPECT_EQ(game->totalScore, 110);
        EXPECT_EQ(game->levelScore, complete ? 3 : 4);
    }
}

TEST_F(ColouredBallsDisplayTest, AfterAPauseABallMovesOnWithItsLastVelocity)
{
    EnterPlay();
    GameLevel& level = FreshPlay(1);
    ball* moving = Launch(150.0f, 200.0f, Math::Vector2D(4.0f, 2.5f));
    Frame(3);
    const Math::Vector2D before = Velocity(*moving);
    level.paused = 1;
    Frame();
    const Math::Vector2D stoppedAt(moving->GetPositionX(), moving->GetPositionY());
    Frame(20);
    EXPECT_NEAR(Speed(*moving), 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(moving->GetPositionX(), stoppedAt.x);
    EXPECT_FLOAT_EQ(moving->GetPositionY(), stoppedAt.y);
    level.paused = 0;
    Frame();
    EXPECT_NEAR(Velocity(*moving).x, before.x, 1e-3f);
    EXPECT_NEAR(Velocity(*moving).y, before.y, 1e-3f);
    EXPECT_GT(moving->GetPositionX(), stoppedAt.x);
}

TEST_F(ColouredBallsDisplayTest, ABallPastTheEdgeOfTheFieldIsRemoved)
{
    const struct
    {
        float x;
        float y;
        bool removed;
    } rows[] = {{520.0f, 0.0f, false}, {520.5f, 0.0f, true}, {-520.0f, 0.0f, false}, {-520.5f, 0.0f, true},
                {0.0f, 400.0f, false}, {0.0f, 400.5f, true}, {0.0f, -400.0f, false}, {0.0f, -400.5f, true}};
    EnterPlay();
    for (const auto& row : rows)
    {
        ball* placed = AddClones<ball>("ball", "bgc", 1, row.x, row.y).front();
        placed->Update(Step);
        EXPECT_EQ(placed->IsBeingDestroyed(), row.removed) << row.x << ", " << row.y;
    }
}

// Velocities are in the physics engine's units (15 field units each). Two
// coloured balls meeting head-on part elastically; a coloured ball
// passes through a white one; the arena's walls send it back at its speed.
TEST_F(ColouredBallsDisplayTest, BallsBounceElasticallyOffEachOtherAndTheWallsButPassWhiteBalls)
{
    EnterPlay();
    FreshPlay(1);
    ball* left = Launch(-150.0f, 250.0f, Math::Vector2D(10.0f, 0.0f));
    ball* right = Launch(150.0f, 250.0f, Math::Vector2D(-10.0f, 0.0f));
    Frame(90);
    EXPECT_LT(Velocity(*left).x, 0.0f);
    EXPECT_GT(Velocity(*right).x, 0.0f);
    EXPECT_NEAR(Speed(*left), 10.0f, 0.1f);
    EXPECT_NEAR(Speed(*right), 10.0f, 0.1f);
    left->Destroy();
    right->Destroy();

    ball* coloured = Launch(-150.0f, -250.0f, Math::Vector2D(10.0f, 0.0f));
    ball* white = Launch(0.0f, -250.0f, Math::Vector2D(0.0f, 0.0f), "wb");
    Frame(120);
    EXPECT_GT(coloured->GetPositionX(), 50.0f);
    EXPECT_NEAR(Velocity(*coloured).x, 10.0f, 0.1f);
    EXPECT_NEAR(white->GetPositionX(), 0.0f, 0.5f);
    coloured->Destroy();
    white->Destroy();

    ball* walled = Launch(380.0f, 100.0f, Math::Vector2D(10.0f, 0.0f));
    Frame(90);
    EXPECT_LT(Velocity(*walled).x, 0.0f);
    EXPECT_NEAR(Speed(*walled), 10.0f, 0.1f);
    EXPECT_LT(walled->GetPositionX(), 512.0f);
}

} // namespace
