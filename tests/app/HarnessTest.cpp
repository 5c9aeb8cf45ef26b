// The run harness's readers: the input script and the run options. No
// window is needed.
#include "Harness_InputScript.h"
#include "Harness_RunHarness.h"

#include "input/Input_KeyCodes.h"
#include "input/Input_ScriptedInputSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using Harness::InputEvent;

TEST(HarnessInputScript, ReadsEveryEventKindInFrameOrder)
{
    const std::string script = "# a comment\n"
                               "3 key-down 22\n"
                               "\n"
                               "1 move 10 20\r\n"
                               "1 press left\n"
                               "2 release middle\n"
                               "3 key-up escape\n"
                               "4 key-down Space\n"
                               "4 key-down q\n"
                               "4 press right\n";
    std::vector<InputEvent> events;
    ASSERT_EQ(Harness::ParseInputScript(script, events), "");
    ASSERT_EQ(events.size(), 8u);
    // Frame order; lines of one frame keep the file's order.
    EXPECT_EQ(events[0].kind, InputEvent::Kind::Move);
    EXPECT_EQ(events[0].x, 10);
    EXPECT_EQ(events[0].y, 20);
    EXPECT_EQ(events[0].line, 4u);
    EXPECT_EQ(events[1].kind, InputEvent::Kind::Press);
    EXPECT_EQ(events[1].virtualKey, Input::VirtualKey::LButton);
    EXPECT_EQ(events[2].virtualKey, Input::VirtualKey::MButton);
    EXPECT_EQ(events[3].kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(events[3].virtualKey, Input::VirtualKey::Escape);
    EXPECT_EQ(events[4].kind, InputEvent::Kind::KeyUp);
    EXPECT_EQ(events[4].virtualKey, Input::VirtualKey::Escape);
    EXPECT_EQ(events[5].virtualKey, Input::VirtualKey::Space);
    EXPECT_EQ(events[6].virtualKey, 'Q');
    EXPECT_EQ(events[7].virtualKey, Input::VirtualKey::RButton);
}

TEST(HarnessInputScript, NamesTheFirstBadLineAndReadsNothing)
{
    struct Case
    {
        std::string script;
        std::string message;
    };
    const Case cases[] = {
        {"1 move 1 2\n2 jump\n", "line 2: unknown event \"jump\" (move, press, release, key-down, key-up)"},
        {"0 press left\n", "line 1: a line starts with the frame number (1 or more), not \"0\""},
        {"x press left\n", "line 1: a line starts with the frame number (1 or more), not \"x\""},
        {"5\n", "line 1: frame 5 has no event"},
        {"\n\n1 move 3\n", "line 3: \"move\" is written \"<frame> move <x> <y>\""},
        {"1 move 3 y\n", "line 1: move takes two whole numbers of pixels, not \"3 y\""},
        {"1 press thumb\n", "line 1: the mouse buttons are left, middle and right, not \"thumb\""},
        {"1 key-down 196\n", "line 1: \"196\" is no engine key code (0 to 195) or key name"},
        {"1 key-up pageup\n", "line 1: \"pageup\" is no engine key code (0 to 195) or key name"},
        {"1 release left now\n",
         "line 1: \"release\" is written \"<frame> press|release left|middle|right\""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.script);
        std::vector<InputEvent> events{InputEvent{}};
        EXPECT_EQ(Harness::ParseInputScript(c.script, events), c.message);
        EXPECT_EQ(events.size(), 1u);
    }
}

// A move is given with y up from the bottom edge; the source keeps screen
// pixels with y down, so the mouse's own conversion gives the script's y.
TEST(HarnessInputScript, AMoveLandsOnTheWindowPixelItNames)
{
    Input::ScriptedInputSource source;
    source.SetClientArea({100, 50, 1024, 768});
    InputEvent move;
    move.kind = InputEvent::Kind::Move;
    move.x = 5;
    move.y = 0;
    Harness::ApplyInputEvent(move, source);
    std::int32_t x = 0;
    std::int32_t y = 0;
    source.GetCursorPosition(x, y);
    EXPECT_EQ(x, 105);
    EXPECT_EQ(y, 50 + 767);
    InputEvent press;
    press.kind = InputEvent::Kind::Press;
    press.virtualKey = Input::VirtualKey::LButton;
    Harness::ApplyInputEvent(press, source);
    EXPECT_TRUE(source.IsKeyDown(Input::VirtualKey::LButton));
    press.kind = InputEvent::Kind::Release;
    Harness::ApplyInputEvent(press, source);
    EXPECT_FALSE(source.IsKeyDown(Input::VirtualKey::LButton));
}

TEST(HarnessOptions, ReadsFlagsRepeatsAndFrameFilePairs)
{
    Harness::RunOptions options;
    Engine::CommandLine commandLine("program");
    Harness::AddRunOptions(commandLine, options);
    EXPECT_EQ(commandLine.Read({"--fixed-step", "--seed", "7", "--screenshot-at", "3:a.png",
                                "--screenshot-at", "1:b.png", "--frames", "5"}),
              "");
    EXPECT_TRUE(options.fixedStep);
    ASSERT_TRUE(options.seed.has_value());
    EXPECT_EQ(*options.seed, 7u);
    ASSERT_EQ(options.screenshotsAt.size(), 2u);
    EXPECT_EQ(options.screenshotsAt[0], std::make_pair(3u, std::string("a.png")));
    EXPECT_EQ(options.screenshotsAt[1], std::make_pair(1u, std::string("b.png")));
    EXPECT_NE(commandLine.GetUsage().find("[--fixed-step]"), std::string::npos);
    EXPECT_NE(commandLine.GetUsage().find("[--screenshot-at F:FILE.png]..."), std::string::npos);

    const std::pair<std::vector<std::string>, std::string> wrong[] = {
        {{"--frames", "1", "--frames", "2"}, "--frames is given twice"},
        {{"--seed", "-1"}, "--seed takes a number in digits, not \"-1\""},
        {{"--screenshot-at", "a.png"},
         "--screenshot-at takes F:FILE.png with a frame number of 1 or more, not \"a.png\""},
        {{"--screenshot-at", "0:a.png"},
         "--screenshot-at takes F:FILE.png with a frame number of 1 or more, not \"0:a.png\""},
        {{"--screenshot-at", "2:a.jpg"}, "--screenshot-at: \"a.jpg\" does not end in \".png\""},
        {{"--log", "/nonexistent/dir/l.txt"}, "--log: the folder \"/nonexistent/dir\" does not exist"},
        {{"--input", "/nonexistent/input.txt"}, "--input: cannot read \"/nonexistent/input.txt\""},
    };
    for (const auto& [arguments, message] : wrong)
    {
        Harness::RunOptions fresh;
        Engine::CommandLine line("program");
        Harness::AddRunOptions(line, fresh);
        EXPECT_EQ(line.Read(arguments), message);
    }
}

} // namespace
