// The game program as a user meets it: run as a separate process under the
// run harness's options.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include "ProgramTestSupport.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using namespace ProgramTestSupport;

class BrillowProgramTest : public ProgramTest
{
protected:
    Outcome RunBrillow(const std::vector<std::string>& arguments, const std::string& environment = "") const
    {
        return Run(BRILLOW_PATH, arguments, environment + " ALSOFT_DRIVERS=null");
    }

    void Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }

    std::vector<std::string> Lines(const std::string& name) const
    {
        std::istringstream stream(ReadWhole(folder_ / name));
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(stream, line))
        {
            lines.push_back(line);
        }
        return lines;
    }
};

// Refused before a window opens: without a display, reaching the window
// would end with 1 instead.
TEST_F(BrillowProgramTest, UsageAndInputErrorsEndWithTwoBeforeAWindow)
{
    Write("bad.txt", "1 move 10 10\n# fine so far\n3 presss left\n");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--fast"}, "unknown option \"--fast\""},
        {{"--frames", "ten"}, "--frames takes a count of frames in digits, not \"ten\""},
        {{"--input", "bad.txt"},
         "--input: \"bad.txt\" line 3: unknown event \"presss\" (move, press, release, key-down, key-up)"},
        {{"--screenshot-at", "x:s.png"},
         "--screenshot-at takes F:FILE.png with a frame number of 1 or more, not \"x:s.png\""},
    };
    for (const auto& [arguments, message] : cases)
    {
        SCOPED_TRACE(message);
        const Outcome outcome = RunBrillow(arguments, NoScreen);
        EXPECT_EQ(outcome.status, 2);
        const std::string start = "brillow: " + message + "\nusage: brillow ";
        EXPECT_EQ(outcome.err.substr(0, start.size()), start) << outcome.err;
    }
    // Good options get as far as the window.
    EXPECT_EQ(
        RunBrillow({"--fixed-step", "--screenshot-at", "1:a.png", "--screenshot-at", "2:b.png"}, NoScreen)
            .status,
        1);
}

TEST_F(BrillowProgramTest, HelpListsTheRunOptions)
{
    const Outcome outcome = RunBrillow({"--help"}, NoScreen);
    EXPECT_EQ(outcome.status, 0);
    for (const char* option : {"--frames N", "--fixed-step", "--seed S", "--input FILE",
                               "--screenshot FILE.png", "--screenshot-at F:FILE.png", "--log FILE"})
    {
        EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
    }
}

class BrillowProgramDisplayTest : public BrillowProgramTest
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        BrillowProgramTest::SetUp();
    }
};

// The main menu level is made at start and again by the level machine's
// first entry into "S0" (the second frame); the run opens on the intro's
// title card, which covers the whole window.
TEST_F(BrillowProgramDisplayTest, AFixedStepRunOpensOnTheMainMenusIntro)
{
    const Outcome outcome =
        RunBrillow({"--fixed-step", "--frames", "120", "--screenshot", "s.png", "--log", "l.txt"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const std::vector<std::string> lines = Lines("l.txt");
    ASSERT_EQ(lines.size(), 120u);
    EXPECT_EQ(lines[0].rfind("1 level=0:level0 built=1 LevelSM=- stage=1 ", 0), 0u) << lines[0];
    for (std::size_t i = 1; i < lines.size(); ++i)
    {
        ASSERT_NE(lines[i].find(" LevelSM=S0 "), std::string::npos) << lines[i];
    }
    EXPECT_NE(lines[2].find(" built=2 "), std::string::npos) << lines[2];
    EXPECT_NE(lines.back().find(" built=2 "), std::string::npos) << lines.back();

    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* pixels = stbi_load((folder_ / "s.png").c_str(), &width, &height, &channels, 3);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    // No pixel shows the clear colour.
    std::size_t grey = 0;
    for (int i = 0; i < width * height; ++i)
    {
        const unsigned char* pixel = pixels + 3 * i;
        grey += pixel[0] == 64 && pixel[1] == 64 && pixel[2] == 64;
    }
    stbi_image_free(pixels);
    EXPECT_EQ(grey, 0u);
    EXPECT_NE(lines.back().find(" introRunning=1 "), std::string::npos) << lines.back();
}

TEST_F(BrillowProgramDisplayTest, TwoRunsWithTheSameSeedAndInputWriteTheSameLog)
{
    Write("input.txt", "2 move 512 384\n3 press left\n4 release left\n5 key-down escape\n6 key-up 22\n");
    const std::vector<std::string> common = {"--fixed-step", "--frames", "40",       "--seed",
                                             "11",           "--input",  "input.txt"};
    std::vector<std::string> first = common;
    first.insert(first.end(), {"--log", "a.txt", "--screenshot-at", "30:a.png"});
    std::vector<std::string> second = common;
    second.insert(second.end(), {"--log", "b.txt"});
    ASSERT_EQ(RunBrillow(first).status, 0);
    ASSERT_EQ(RunBrillow(second).status, 0);
    EXPECT_EQ(Lines("a.txt").size(), 40u);
    EXPECT_EQ(ReadWhole(folder_ / "a.txt"), ReadWhole(folder_ / "b.txt"));
    EXPECT_TRUE(fs::exists(folder_ / "a.png"));
}

TEST_F(BrillowProgramDisplayTest, AScreenshotOfAFrameNeverReachedEndsWithOne)
{
    const Outcome outcome = RunBrillow({"--fixed-step", "--frames", "3", "--screenshot-at", "9:late.png"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(
        outcome.err.find("brillow: no screenshot \"late.png\": the run ended after frame 3, before frame 9"),
        std::string::npos)
        << outcome.err;
}

} // namespace
