// The cursors of the game on the machine's own mouse (the SDL input source,
// no scripted input): the heads-up display's cursor is hidden by the menu
// and the play level, and the system cursor is hidden while the pointer is
// inside the window and shown while it is outside.
#include "LevelsTestSupport.h"

#include "gui/GUI_HUD.h"
#include "input/Input_InputSource.h"

namespace
{

using namespace BrillowTest;

class GameCursorDisplayTest : public LevelsDisplayTest
{
protected:
    // The game under the harness with the machine's mouse.
    void StartOnTheSystemMouse()
    {
        factory = new MyLevelFactory();
        Core::RefPtr<MyGame> made(new MyGame(factory, MyGame::GetDisplayRequest(), 0));
        game = made.Get();
        Harness::RunOptions options;
        options.fixedStep = true;
        harness = new Harness::RunHarness(options, made, nullptr);
    }

    // Warps the pointer to window pixels (y up from the bottom) before each
    // of two frames (the mouse reads it, the display answers it): the
    // pointer is the virtual display's, which other test programs may move.
    void PointAt(std::int32_t x, std::int32_t y)
    {
        for (int i = 0; i < 2; ++i)
        {
            game->GetMouse()->SetPosition(x, y);
            Frame();
        }
    }

    // Whether the system cursor shows, as the platform's input source
    // answers.
    static bool SystemCursorShows() { return Input::InputSource::GetCurrent().IsCursorShowing(); }
};

TEST_F(GameCursorDisplayTest, TheLevelsHideTheDisplaysCursorAndTheSystemCursorHidesInsideTheWindow)
{
    StartOnTheSystemMouse();
    Frame(5);
    ASSERT_EQ(game->GetCurrentLevelIndex(), 0u);
    PointAt(512, 384);
    ASSERT_TRUE(game->GetMouse()->IsInWindow());
    EXPECT_FALSE(SystemCursorShows());
    EXPECT_FALSE(game->GetHUD()->IsCursorVisible());

    // Below and right of the window: the system cursor shows; back inside
    // it hides again.
    PointAt(1100, -50);
    ASSERT_FALSE(game->GetMouse()->IsInWindow());
    EXPECT_TRUE(SystemCursorShows());
    PointAt(300, 200);
    ASSERT_TRUE(game->GetMouse()->IsInWindow());
    EXPECT_FALSE(SystemCursorShows());

    // The play level keeps both hidden.
    game->startRequested = 1;
    for (int i = 0; i < 200 && game->GetCurrentLevelIndex() != 1; ++i)
    {
        Frame();
    }
    ASSERT_EQ(game->GetCurrentLevelIndex(), 1u);
    PointAt(600, 500);
    EXPECT_FALSE(SystemCursorShows());
    EXPECT_FALSE(game->GetHUD()->IsCursorVisible());
}

} // namespace
