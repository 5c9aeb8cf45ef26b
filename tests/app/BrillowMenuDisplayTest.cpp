// The game's menus as a player meets them: brillow run as a process on the
// virtual display with a fixed step, a seed and the input files beside this
// test, judged from its frame log and its screenshots (kept for review in
// the build tree).
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include "BrillowRunSupport.h"

namespace
{

using namespace BrillowRun;
using BrillowMenuDisplayTest = BrillowRunTest;

TEST_F(BrillowMenuDisplayTest, TheIntroFadesItsTwoPicturesInAndOutThenShowsTheMenu)
{
    if (!BRILLOW_FULL_INTRO)
    {
        GTEST_SKIP() << "the whole intro runs in the optimised tree";
    }
    std::vector<Fields> log;
    ASSERT_EQ(RunScript("intro.txt", 530,
                        {{70, "intro_title.png"}, {400, "intro_howto.png"}, {530, "menu.png"}}, log),
              0);
    ASSERT_EQ(log.size(), 530u);
    // The menu's second build is frame 3; its first update is the first
    // step of the fade.
    EXPECT_EQ(log[2].at("built"), "2");
    EXPECT_EQ(log[2].at("intro"), "0,0.03125,1");
    EXPECT_EQ(First(log, "intro", "0,2,1"), 3u + 126u);
    EXPECT_EQ(First(log, "intro", "1,0.015625,1"), 3u + 254u);
    EXPECT_EQ(First(log, "introRunning", "0"), 3u + 509u);
    // The ball waits under the intro, then follows the mouse.
    EXPECT_EQ(log[3u + 507u].at("ball"), "0,-5,BLUE");
    EXPECT_EQ(log.back().at("ball"), "388,316,BLUE");
    EXPECT_EQ(log.back().at("buttons"),
              "startButton:0:0,tutorialButton:0:0,OptionsButton:0:0,ExitButton:0:0,CreditButton:0:0");

    const Image title(Screenshots() / "intro_title.png");
    const Image howTo(Screenshots() / "intro_howto.png");
    const Image menu(Screenshots() / "menu.png");
    ASSERT_EQ(title.width, 1024);
    ASSERT_EQ(menu.width, 1024);
    // Three different pictures, none of them the clear colour.
    std::size_t titleMenu = 0;
    std::size_t howToMenu = 0;
    for (int y = 0; y < 768; ++y)
    {
        for (int x = 0; x < 1024; ++x)
        {
            titleMenu += title.SameAt(menu, x, y) ? 0 : 1;
            howToMenu += howTo.SameAt(menu, x, y) ? 0 : 1;
        }
    }
    EXPECT_GT(titleMenu, 100000u);
    EXPECT_GT(howToMenu, 100000u);
    EXPECT_GT(menu.Brightness(), 20.0);
}

TEST_F(BrillowMenuDisplayTest, EnterDuringTheFirstPictureEndsTheIntroAtOnce)
{
    std::vector<Fields> log;
    ASSERT_EQ(RunScript("skip.txt", 30, {}, log), 0);
    EXPECT_EQ(First(log, "introRunning", "0"), 10u);
    EXPECT_EQ(log[9].at("intro").substr(0, 2), "0,");
    EXPECT_EQ(log[10].at("intro").back(), '0');
    for (const Fields& fields : log)
    {
        EXPECT_NE(fields.at("intro").substr(0, 2), "1,");
    }
    EXPECT_EQ(log.back().at("ball"), "0,46,BLUE");
}

TEST_F(BrillowMenuDisplayTest, StartHighlightsItsButtonAndLeadsThroughLoadingToPlay)
{
    std::vector<Fields> log;
    ASSERT_EQ(RunScript("start.txt", 140,
                        {{15, "menu_idle.png"}, {25, "menu_start.png"}, {70, "loading.png"}}, log),
              0);
    ASSERT_EQ(log.size(), 140u);
    // Onto START (frame 20): the sound once and frame 1.
    EXPECT_EQ(Button(log[18], "startButton"), "0:0");
    EXPECT_EQ(Button(log[23], "startButton"), "1:1");
    EXPECT_EQ(Plays(log[23], "buttonsound1"), 1);
    EXPECT_EQ(Plays(log[28], "buttonsound1"), 1);
    // Off (30) and back (36) with the left button held from 34: the sound
    // again, no click.
    EXPECT_EQ(Button(log[33], "startButton"), "0:0");
    EXPECT_EQ(Plays(log[41], "buttonsound1"), 2);
    EXPECT_EQ(Button(log[41], "startButton"), "1:1");
    EXPECT_EQ(log[42].at("startRequested"), "0");
    EXPECT_EQ(log[42].at("LevelSM"), "S0");
    // The click (44): "S0" -> "Loading", the loading screen for at least
    // 60 frames, then the play level.
    EXPECT_EQ(log[43].at("startRequested"), "1");
    const std::uint32_t loading = First(log, "level", "6:Loading");
    ASSERT_NE(loading, 0u);
    EXPECT_EQ(log[loading - 1].at("LevelSM"), "Loading");
    const std::uint32_t play = First(log, "level", "1:level1");
    ASSERT_NE(play, 0u);
    EXPECT_GE(play - loading, 60u);
    EXPECT_EQ(log[play - 1].at("LevelSM"), "level1");

    // Highlighting changes the picture inside START's rectangle only (and
    // where the ball stood before it moved there).
    const Image idle(Screenshots() / "menu_idle.png");
    const Image lit(Screenshots() / "menu_start.png");
    ASSERT_EQ(idle.width, 1024);
    ASSERT_EQ(lit.width, 1024);
    const Box start{270 - 161, 432 - 49, 270 + 161, 432 + 49};
    const Box ballBefore{512 - 32, 338 - 30, 512 + 32, 338 + 30};
    std::size_t inside = 0;
    std::size_t outside = 0;
    for (int y = 0; y < 768; ++y)
    {
        for (int x = 0; x < 1024; ++x)
        {
            if (idle.SameAt(lit, x, y))
            {
                continue;
            }
            (start.Holds(x, y) ? inside : outside) += ballBefore.Holds(x, y) ? 0 : 1;
        }
    }
    EXPECT_GT(inside, 5000u);
    EXPECT_EQ(outside, 0u);
}

TEST_F(BrillowMenuDisplayTest, OptionsMuteAndFullScreenThenCreditsAndBack)
{
    std::vector<Fields> log;
    ASSERT_EQ(RunScript("options.txt", 140, {{34, "options.png"}, {110, "credits.png"}}, log), 0);
    ASSERT_EQ(log.size(), 140u);
    const std::uint32_t options = First(log, "level", "7:Options");
    ASSERT_NE(options, 0u);
    ASSERT_LT(options, 30u);
    // Pointed at (30): frame 1; the click (36) mutes: gain 0, frame 2.
    EXPECT_EQ(Button(log[34], "MuteButton"), "1:1");
    EXPECT_EQ(log[34].at("gain"), "1");
    EXPECT_EQ(log[36].at("muted"), "1");
    EXPECT_EQ(log[36].at("gain"), "0");
    EXPECT_EQ(Button(log[38], "MuteButton"), "2:1");
    // Left (42): frame 3; back and clicked again (56): gain 1.
    EXPECT_EQ(Button(log[46], "MuteButton"), "3:0");
    EXPECT_EQ(log[54].at("muted"), "1");
    EXPECT_EQ(log[55].at("muted"), "0");
    EXPECT_EQ(log[55].at("gain"), "1");
    EXPECT_EQ(Button(log[58], "MuteButton"), "1:1");
    // The full-screen button: each click switches the window mode.
    EXPECT_EQ(log[64].at("fullscreen"), "0");
    EXPECT_EQ(log[66].at("fullscreen"), "1");
    EXPECT_EQ(log[72].at("fullscreen"), "0");
    // Back to the menu, then the credits and back again.
    const std::uint32_t menu = First(log, "level", "0:level0", options);
    ASSERT_NE(menu, 0u);
    EXPECT_GE(menu, 85u);
    const std::uint32_t credits = First(log, "level", "5:Credits", menu);
    ASSERT_NE(credits, 0u);
    EXPECT_GE(credits, 105u);
    const std::uint32_t again = First(log, "level", "0:level0", credits);
    EXPECT_GE(again, 125u);
    EXPECT_EQ(log.back().at("LevelSM"), "S0");
}

TEST_F(BrillowMenuDisplayTest, ExitEndsTheProgramAfterTheFrameOfTheClick)
{
    std::vector<Fields> log;
    EXPECT_EQ(RunScript("exit.txt", 200, {}, log), 0);
    EXPECT_EQ(log.size(), 20u);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(Button(log.back(), "ExitButton"), "1:1");
}

} // namespace
