#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include "ProgramTestSupport.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using namespace ProgramTestSupport;

const char* const Usage =
    "usage: engine_demo [--frames N] [--screenshot FILE.png] [--scene text|drawables|framework] [--help]\n";

TEST_F(ProgramTest, HelpPrintsTheUsageAndEndsWithZero)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, std::vector<std::string>{"--frames", "x", "--help"}})
    {
        const Outcome outcome = RunDemo(arguments, NoScreen);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out.rfind(Usage, 0), 0u) << outcome.out;
        EXPECT_NE(outcome.out.find("  --screenshot FILE.png             write the last frame to FILE.png"),
                  std::string::npos);
        EXPECT_NE(outcome.out.find("  --help"), std::string::npos);
        EXPECT_EQ(outcome.err, "");
    }
}

// Every usage error is one line and the usage, with status 2. They run
// without a display: reaching the window would end with its error (1)
// instead, so each is known to be refused before anything opens.
TEST_F(ProgramTest, EachUsageErrorPrintsOneMessageAndTheUsage)
{
    fs::create_directories(folder_ / "shots.png");
    struct Case
    {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"--fast"}, "unknown option \"--fast\""},
        {{"frames"}, "unknown option \"frames\""},
        {{"--frames"}, "--frames needs a value (--frames N)"},
        {{"--frames", " 5"}, "--frames takes a count of frames in digits, not \" 5\""},
        {{"--frames", "+5"}, "--frames takes a count of frames in digits, not \"+5\""},
        {{"--frames", "-1"}, "--frames takes a count of frames in digits, not \"-1\""},
        {{"--frames", "5x"}, "--frames takes a count of frames in digits, not \"5x\""},
        {{"--frames", ""}, "--frames takes a count of frames in digits, not \"\""},
        {{"--frames", "4294967296"}, "--frames takes a count of frames in digits, not \"4294967296\""},
        {{"--frames", "1", "--frames", "2"}, "--frames is given twice"},
        {{"--scene", "3d"}, "--scene takes \"text\", \"drawables\" or \"framework\", not \"3d\""},
        {{"--screenshot", ""}, "--screenshot: an empty name names no file"},
        {{"--screenshot", "x.jpg"}, "--screenshot: \"x.jpg\" does not end in \".png\""},
        {{"--screenshot", "png"}, "--screenshot: \"png\" does not end in \".png\""},
        {{"--screenshot", "/nonexistent/dir/x.png"},
         "--screenshot: the folder \"/nonexistent/dir\" does not exist"},
        {{"--screenshot", "shots.png"}, "--screenshot: \"shots.png\" is a directory"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.message);
        const Outcome outcome = RunDemo(c.arguments, NoScreen);
        EXPECT_EQ(outcome.status, 2);
        const std::string start = "engine_demo: " + c.message + "\n" + Usage;
        EXPECT_EQ(outcome.err.substr(0, start.size()), start);
        EXPECT_EQ(outcome.err.find("engine_demo:", 1), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_FALSE(fs::exists(folder_ / "x.jpg"));
}

TEST_F(ProgramTest, WithoutADisplayTheProgramEndsWithSdlsReason)
{
    const Outcome outcome = RunDemo({"--frames", "1"}, NoScreen);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("no display could be opened: x11 not available (DISPLAY is not set)"),
              std::string::npos)
        << outcome.err;
}

TEST_F(ProgramTest, AWrongDisplayIsNamedWithSdlsReason)
{
    const Outcome outcome = RunDemo({"--frames", "1"}, "-u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:9999");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("x11 not available (DISPLAY is \":9999\")"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find("Unknown error"), std::string::npos) << outcome.err;
}

// The demo copied with its resources into the scratch folder, so that
// files can be taken away from it.
class ProgramResourcesDisplayTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        ProgramTest::SetUp();
        const fs::path copy = folder_ / "engine_demo";
        std::error_code error;
        fs::create_hard_link(ENGINE_DEMO_PATH, copy, error);
        if (error)
        {
            fs::copy_file(ENGINE_DEMO_PATH, copy);
        }
        fs::copy(fs::path(ENGINE_DEMO_DIR) / "Resources", folder_ / "Resources", fs::copy_options::recursive);
    }

    fs::path Resource(const std::string& relative) const { return folder_ / "Resources" / relative; }
};

TEST_F(ProgramResourcesDisplayTest, EachMissingResourceIsReportedOnceAndTheRunGoesOn)
{
    const std::string font = "Fonts/DefaultFont/DefaultFont";
    const std::string noTexture = "the pattern texture is used instead";
    const std::string noMetrics = "a font with no metrics is used instead";
    struct Missing
    {
        std::string file;
        std::string fallback;
    };
    struct Case
    {
        std::string removed;
        std::vector<Missing> reports;
    };
    const std::vector<Case> cases = {
        {font + ".fbf", {{font + ".fbf", noMetrics}}},
        {font + ".png", {{font + ".png", noTexture}}},
        {"Animations/DemoSheet.png", {{"Animations/DemoSheet.png", noTexture}}},
        {"ParticleSystems/DemoParticle.png", {{"ParticleSystems/DemoParticle.png", noTexture}}},
        {"",
         {{font + ".png", noTexture},
          {font + ".fbf", noMetrics},
          {"Animations/DemoSheet.png", noTexture},
          {"ParticleSystems/DemoParticle.png", noTexture}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("removed: Resources/" + c.removed);
        fs::remove_all(folder_ / "Resources");
        fs::copy(fs::path(ENGINE_DEMO_DIR) / "Resources", folder_ / "Resources", fs::copy_options::recursive);
        fs::remove_all(Resource(c.removed));

        const Outcome outcome =
            Run((folder_ / "engine_demo").string(), {"--scene", "drawables", "--frames", "3"});
        EXPECT_EQ(outcome.status, 0);
        std::size_t reported = 0;
        for (std::size_t at = outcome.err.find("cannot read"); at != std::string::npos;
             at = outcome.err.find("cannot read", at + 1))
        {
            ++reported;
        }
        EXPECT_EQ(reported, c.reports.size()) << outcome.err;
        for (const Missing& missing : c.reports)
        {
            const std::string line = "engine_demo: cannot read \"" + Resource(missing.file).string() +
                                     "\" (No such file or directory); " + missing.fallback + "\n";
            EXPECT_NE(outcome.err.find(line), std::string::npos) << line << outcome.err;
        }
    }
}

TEST_F(ProgramResourcesDisplayTest, AShortGlyphTableIsNamedByItsNativePath)
{
    const fs::path table = Resource("Fonts/DefaultFont/DefaultFont.fbf");
    fs::resize_file(table, fs::file_size(table) - 10);
    const Outcome outcome = Run((folder_ / "engine_demo").string(), {"--frames", "2"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.err.find("engine_demo: cannot read \"" + table.string() + "\" (it ends after "),
              std::string::npos)
        << outcome.err;
    EXPECT_NE(outcome.err.find("; the values before its end are kept and the rest are zero\n"),
              std::string::npos);
}

} // namespace

namespace
{

// A screenshot's pixels, rows from the top.
struct Shot
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* At(int x, int y) const
    {
        return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 3;
    }
    // Pixels of the rectangle [x0, x1) x [y0, y1) that `match` accepts.
    template <class Match> int Count(int x0, int y0, int x1, int y1, Match match) const
    {
        int count = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
        {
            for (int x = std::max(x0, 0); x < std::min(x1, width); ++x)
            {
                const std::uint8_t* p = At(x, y);
                count += match(p[0], p[1], p[2]) ? 1 : 0;
            }
        }
        return count;
    }
};

Shot LoadShot(const fs::path& path)
{
    Shot shot;
    int channels = 0;
    stbi_uc* pixels = stbi_load(path.string().c_str(), &shot.width, &shot.height, &channels, 3);
    if (pixels != nullptr)
    {
        shot.rgb.assign(pixels, pixels + static_cast<std::size_t>(shot.width) * shot.height * 3);
        stbi_image_free(pixels);
    }
    return shot;
}

class ProgramDisplayTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        ProgramTest::SetUp();
    }
};

// The framework scene after four seconds: world point (x, y) is window pixel
// (512 + x, 384 - y). The arena's walls are the collision file's, 440 and
// 300 from the centre, with bumpers of radius 44 at (-220, 70) and
// (220, -70) and 30 at (0, 170).
TEST_F(ProgramDisplayTest, TheFrameworkSceneShowsBallsInsideWallsReadFromTheCollisionFile)
{
    const Outcome outcome = RunDemo({"--scene", "framework", "--frames", "240", "--screenshot", "out.png"},
                                    "ALSOFT_DRIVERS=null");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err.find("cannot read"), std::string::npos) << outcome.err;
    const Shot shot = LoadShot(folder_ / "out.png");
    ASSERT_EQ(shot.width, 1024);
    ASSERT_EQ(shot.height, 768);

    // The collision data: cyan lines on the walls and circles on the bumpers.
    // Lines are smoothed: a one-pixel line over a dark picture keeps its hue.
    const auto cyan = [](int r, int g, int b) { return g > 130 && b > 170 && g > r + 40; };
    for (const int x : {200, 512, 800})
    {
        EXPECT_GT(shot.Count(x - 2, 684 - 2, x + 3, 684 + 3, cyan), 0) << "floor at " << x;
        EXPECT_GT(shot.Count(x - 2, 84 - 2, x + 3, 84 + 3, cyan), 0) << "ceiling at " << x;
    }
    for (const int y : {250, 384, 520})
    {
        EXPECT_GT(shot.Count(72 - 2, y - 2, 72 + 3, y + 3, cyan), 0) << "left wall at " << y;
        EXPECT_GT(shot.Count(952 - 2, y - 2, 952 + 3, y + 3, cyan), 0) << "right wall at " << y;
    }
    EXPECT_GT(shot.Count(292 + 44 - 2, 314 - 2, 292 + 44 + 3, 314 + 3, cyan), 0) << "bumper outline";
    EXPECT_GT(shot.Count(732 - 2, 454 - 44 - 2, 732 + 3, 454 - 44 + 3, cyan), 0) << "bumper outline";

    // The balls: every colour of the sheet shows, and only inside the walls.
    struct Colour
    {
        const char* name;
        bool (*match)(int r, int g, int b);
    };
    const Colour colours[] = {
        {"red", [](int r, int g, int b) { return r > 200 && g < 90 && b < 110; }},
        {"green", [](int r, int g, int b) { return g > 170 && r < 120 && b < 170; }},
        {"blue", [](int r, int g, int b) { return b > 200 && r < 90 && g > 90 && g < 190; }},
        {"yellow", [](int r, int g, int b) { return r > 200 && g > 180 && b < 110; }},
        {"orange", [](int r, int g, int b) { return r > 200 && g > 100 && g < 170 && b < 90; }},
    };
    for (const Colour& colour : colours)
    {
        EXPECT_GT(shot.Count(76, 88, 948, 680, colour.match), 300) << colour.name;
        // Beyond the walls' glow: the strips left, right and below.
        const int outside = shot.Count(0, 60, 56, 768, colour.match) +
                            shot.Count(968, 60, 1024, 768, colour.match) +
                            shot.Count(56, 700, 968, 768, colour.match);
        EXPECT_EQ(outside, 0) << colour.name << " outside the walls";
    }

    // The particle fountain in the middle: glowing pink and violet sparks,
    // a colour no ball has, thrown out of (0, -20) and falling back.
    const auto spark = [](int r, int g, int b) { return r > 150 && b > 170 && g < r - 20; };
    EXPECT_GT(shot.Count(392, 284, 632, 524, spark), 1000) << "fountain";
    EXPECT_EQ(shot.Count(0, 0, 1024, 60, spark) + shot.Count(0, 700, 1024, 768, spark), 0)
        << "sparks above or below the arena";

    // The title in the default font above the arena, in gold.
    EXPECT_GT(shot.Count(60, 10, 600, 60, [](int r, int g, int b) { return r > 200 && g > 160 && b < 130; }),
              500);
}

} // namespace
