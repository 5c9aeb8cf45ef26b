// The play level's pause and quit overlay as a player meets it: brillow run
// from the main menu into play with a fixed step, a seed and the input file
// "overlay.txt", judged from its frame log and its screenshots.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include "BrillowRunSupport.h"

namespace
{

using namespace BrillowRun;
using BrillowOverlayDisplayTest = BrillowRunTest;

// One of the play switches in "flags" ("paused:1" gives 1); -1 when absent.
int Flag(const Fields& fields, const std::string& name)
{
    const std::string& list = fields.at("flags");
    const std::size_t at = list.find(name + ":");
    return at == std::string::npos ? -1 : std::atoi(list.c_str() + at + name.size() + 1);
}

// Pixels of `box` that differ between two pictures.
std::size_t Differing(const Image& a, const Image& b, const Box& box)
{
    std::size_t count = 0;
    for (int y = box.top; y <= box.bottom; ++y)
    {
        for (int x = box.left; x <= box.right; ++x)
        {
            count += a.SameAt(b, x, y) ? 0 : 1;
        }
    }
    return count;
}

const std::string PauseShown = "PauseScreen,PauseMouse,PausedMouse2,ResumeButton,RestartButton,ExitButton";
const std::string PromptShown = "PauseScreen,PauseMouse,PausedMouse2,ResumeText";
const std::string QuitShown = "PauseScreen,PauseMouse,PausedMouse2,QuitScreen,QuitYesButton,QuitNoButton";

TEST_F(BrillowOverlayDisplayTest, PauseResumePromptQuitDialogRestartAndBackToTheMenu)
{
    if (!BRILLOW_PLAY_RUNS)
    {
        GTEST_SKIP() << "the runs into play run in the optimised tree";
    }
    std::vector<Fields> log;
    ASSERT_EQ(
        RunScript(
            "overlay.txt", 340,
            {{135, "play.png"}, {148, "pause.png"}, {175, "pause_prompt.png"}, {225, "quit_dialog.png"}},
            log),
        0);
    ASSERT_EQ(log.size(), 340u);
    const auto at = [&log](std::uint32_t frame) -> const Fields& { return log[frame - 1]; };
    const auto flags = [&at](std::uint32_t frame)
    {
        return std::vector<int>{Flag(at(frame), "paused"), Flag(at(frame), "quitDialogOpen"),
                                Flag(at(frame), "resumePrompt")};
    };
    using Flags = std::vector<int>;

    // START leads through the loading screen into play before the script's
    // play part; the player ball waits where the mouse is and eats a ball.
    const std::uint32_t play = First(log, "level", "1:level1");
    ASSERT_NE(play, 0u);
    ASSERT_LT(play, 110u);
    EXPECT_EQ(at(139).at("totalScore"), "10");
    EXPECT_EQ(at(139).at("score"), "\"SCORE: 10\"");
    EXPECT_EQ(at(139).at("overlay"), "-");
    EXPECT_EQ(flags(139), (Flags{0, 0, 0}));

    // Escape (140): the veil, both cursors and the three buttons.
    EXPECT_EQ(flags(141), (Flags{1, 0, 0}));
    EXPECT_EQ(at(141).at("overlay"), PauseShown);
    // A click on the player ball without the prompt (150) does nothing.
    EXPECT_EQ(flags(152), (Flags{1, 0, 0}));
    EXPECT_EQ(at(152).at("overlay"), PauseShown);
    // Resume (165): the prompt, no buttons.
    EXPECT_EQ(flags(167), (Flags{1, 0, 1}));
    EXPECT_EQ(at(167).at("overlay"), PromptShown);
    EXPECT_EQ(at(167).at("prompt"), "\"Return to yourself to continue!\"");
    // The pause cursor onto the ball and a click (185) resumes; the next
    // frame shows no overlay object.
    EXPECT_EQ(flags(185), (Flags{0, 0, 0}));
    EXPECT_EQ(at(186).at("overlay"), "-");
    EXPECT_EQ(at(186).at("prompt"), "-");

    // Paused again (200), Exit (215): the quit panel with Yes and No, the
    // pause buttons hidden.
    EXPECT_EQ(flags(201), (Flags{1, 0, 0}));
    EXPECT_EQ(flags(217), (Flags{1, 1, 0}));
    EXPECT_EQ(at(217).at("overlay"), QuitShown);
    // The hidden Resume cannot be clicked (235).
    EXPECT_EQ(flags(237), (Flags{1, 1, 0}));
    EXPECT_EQ(at(237).at("overlay"), QuitShown);
    // No (250) brings the pause buttons back.
    EXPECT_EQ(flags(252), (Flags{1, 0, 0}));
    EXPECT_EQ(at(252).at("overlay"), PauseShown);

    // Restart (265): a new level object, the score back at 0, playing.
    EXPECT_EQ(std::stoi(at(266).at("built")), std::stoi(at(265).at("built")) + 1);
    EXPECT_EQ(at(266).at("level"), "1:level1");
    EXPECT_EQ(at(266).at("totalScore"), "0");
    EXPECT_EQ(at(267).at("score"), "\"SCORE: 0\"");
    EXPECT_EQ(flags(267), (Flags{0, 0, 0}));
    EXPECT_EQ(at(267).at("overlay"), "-");

    // Paused (290), Exit (305) and Yes (320): the main menu, stage 1, not lost.
    EXPECT_EQ(flags(310), (Flags{1, 1, 0}));
    const std::uint32_t menu = First(log, "level", "0:level0", play);
    ASSERT_GT(menu, 320u);
    EXPECT_LE(menu, 325u);
    EXPECT_EQ(log.back().at("LevelSM"), "S0");
    EXPECT_EQ(log.back().at("stage"), "1");
    EXPECT_EQ(log.back().at("playerLost"), "0");
    EXPECT_EQ(log.back().at("overlay"), "-");

    // The pictures: the buttons appear with the pause and go with the
    // prompt, whose line appears; the quit panel holds Yes.
    const Image playing(Screenshots() / "play.png");
    const Image paused(Screenshots() / "pause.png");
    const Image prompt(Screenshots() / "pause_prompt.png");
    const Image quit(Screenshots() / "quit_dialog.png");
    for (const Image* image : {&playing, &paused, &prompt, &quit})
    {
        ASSERT_EQ(image->width, 1024);
        ASSERT_EQ(image->height, 768);
    }
    // Rows count from the top: Resume's button, the prompt's line, Yes.
    const Box resume{352, 333, 492, 415};
    const Box promptLine{240, 115, 920, 160};
    const Box yes{352, 448, 492, 530};
    EXPECT_GT(Differing(playing, paused, resume), 3000u);
    EXPECT_GT(Differing(paused, prompt, resume), 3000u);
    EXPECT_GT(Differing(paused, prompt, promptLine), 3000u);
    EXPECT_GT(Differing(paused, quit, yes), 3000u);
}

} // namespace
