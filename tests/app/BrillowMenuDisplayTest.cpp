// The game's menus as a player meets them: brillow run as a process on the
// virtual display with a fixed step, a seed and the input files beside this
// test, judged from its frame log and its screenshots (kept for review in
// the build tree).
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include "ProgramTestSupport.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using namespace ProgramTestSupport;

// One log line: its fields by name ("LevelSM", "buttons", "score").
using Fields = std::map<std::string, std::string>;

Fields ParseLine(const std::string& line)
{
    Fields fields;
    std::size_t at = line.find(' ');
    while (at != std::string::npos && at < line.size())
    {
        const std::size_t start = at + 1;
        const std::size_t equals = line.find('=', start);
        if (equals == std::string::npos)
        {
            break;
        }
        std::size_t end = equals + 1;
        if (end < line.size() && line[end] == '"')
        {
            end = line.find('"', end + 1);
            end = end == std::string::npos ? line.size() : end + 1;
        }
        else
        {
            end = line.find(' ', end);
            end = end == std::string::npos ? line.size() : end;
        }
        fields[line.substr(start, equals - start)] = line.substr(equals + 1, end - equals - 1);
        at = end;
    }
    return fields;
}

// "startButton:1:1" of "buttons": the frame and hover byte of one button.
std::string Button(const Fields& fields, const std::string& name)
{
    const std::string& list = fields.at("buttons");
    const std::size_t at = list.find(name + ":");
    return at == std::string::npos ? "-" : list.substr(at + name.size() + 1, 3);
}

// The play count of one sound in "sounds".
int Plays(const Fields& fields, const std::string& name)
{
    const std::string& list = fields.at("sounds");
    const std::size_t at = list.find(name + ":");
    return at == std::string::npos ? -1 : std::atoi(list.c_str() + at + name.size() + 1);
}

struct Image
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    explicit Image(const fs::path& path)
    {
        int channels = 0;
        unsigned char* data = stbi_load(path.string().c_str(), &width, &height, &channels, 3);
        if (data != nullptr)
        {
            pixels.assign(data, data + static_cast<std::size_t>(width) * height * 3);
            stbi_image_free(data);
        }
    }
    bool SameAt(const Image& other, int x, int y) const
    {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
        return pixels[at] == other.pixels[at] && pixels[at + 1] == other.pixels[at + 1] &&
               pixels[at + 2] == other.pixels[at + 2];
    }
    // Mean brightness, 0 to 255.
    double Brightness() const
    {
        double sum = 0.0;
        for (const unsigned char value : pixels)
        {
            sum += value;
        }
        return pixels.empty() ? 0.0 : sum / static_cast<double>(pixels.size());
    }
};

// Rows count from the top of the picture.
struct Box
{
    int left;
    int top;
    int right;
    int bottom;
    bool Holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

class BrillowMenuDisplayTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        ProgramTest::SetUp();
        fs::create_directories(Screenshots());
    }

    static fs::path Screenshots() { return fs::path(BRILLOW_SCREENSHOTS); }

    // Runs `frames` frames of the input file `input`, with screenshots at
    // the (frame, name) pairs; answers the exit status and fills `log`
    // with one entry per frame.
    int RunScript(const std::string& input, std::uint32_t frames,
                  const std::vector<std::pair<std::uint32_t, std::string>>& shots, std::vector<Fields>& log)
    {
        std::vector<std::string> arguments = {"--fixed-step",
                                              "--seed",
                                              "7",
                                              "--frames",
                                              std::to_string(frames),
                                              "--input",
                                              std::string(BRILLOW_INPUTS) + "/" + input,
                                              "--log",
                                              "log.txt"};
        for (const auto& [frame, name] : shots)
        {
            arguments.push_back("--screenshot-at");
            arguments.push_back(std::to_string(frame) + ":" + (Screenshots() / name).string());
        }
        const Outcome outcome = Run(BRILLOW_PATH, arguments, "ALSOFT_DRIVERS=null");
        EXPECT_EQ(outcome.err, "");
        std::istringstream lines(ReadWhole(folder_ / "log.txt"));
        std::string line;
        log.clear();
        while (std::getline(lines, line))
        {
            log.push_back(ParseLine(line));
        }
        return outcome.status;
    }

    // The first frame (from 1) from `from` on whose log has `field` = `value`; 0 for none.
    static std::uint32_t First(const std::vector<Fields>& log, const std::string& field,
                               const std::string& value, std::uint32_t from = 1)
    {
        for (std::uint32_t frame = from; frame <= log.size(); ++frame)
        {
            if (log[frame - 1].at(field) == value)
            {
                return frame;
            }
        }
        return 0;
    }
};

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
