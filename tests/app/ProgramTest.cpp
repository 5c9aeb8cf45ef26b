#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
    {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReadWhole(const fs::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::stringstream text;
    text << stream.rdbuf();
    return text.str();
}

// A scratch folder beside the test program, removed with the fixture.
class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder_ = fs::path(ENGINE_DEMO_DIR).parent_path() /
                  ("program_test_" + std::to_string(getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    // Runs `program` with `arguments` in the scratch folder; `environment`
    // is put before it on the shell's command line ("env -u DISPLAY ...").
    Outcome Run(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& environment = "") const
    {
        std::string command = "cd " + Quote(folder_.string()) + " && env " + environment + " ENGINE_HEADLESS=1 " +
                              Quote(program);
        for (const std::string& argument : arguments)
        {
            command += " " + Quote(argument);
        }
        const fs::path out = folder_ / "stdout.txt";
        const fs::path err = folder_ / "stderr.txt";
        command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
        Outcome outcome;
        const int status = std::system(command.c_str());
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.out = ReadWhole(out);
        outcome.err = ReadWhole(err);
        return outcome;
    }

    Outcome RunDemo(const std::vector<std::string>& arguments, const std::string& environment = "") const
    {
        return Run(ENGINE_DEMO_PATH, arguments, environment);
    }

    fs::path folder_;
};

// No display at all: neither variable, and nothing that would let SDL pick
// a driver of its own.
const char* const NoScreen = "-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR";

const char* const Usage =
    "usage: engine_demo [--frames N] [--screenshot FILE.png] [--scene text|drawables] [--help]\n";

TEST_F(ProgramTest, HelpPrintsTheUsageAndEndsWithZero)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, std::vector<std::string>{"--frames", "x", "--help"}})
    {
        const Outcome outcome = RunDemo(arguments, NoScreen);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out.rfind(Usage, 0), 0u) << outcome.out;
        EXPECT_NE(outcome.out.find("  --screenshot FILE.png   write the last frame to FILE.png"),
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
        {{"--scene", "3d"}, "--scene takes \"text\" or \"drawables\", not \"3d\""},
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

        const Outcome outcome = Run((folder_ / "engine_demo").string(), {"--scene", "drawables", "--frames", "3"});
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
    EXPECT_NE(outcome.err.find("; the values before its end are kept and the rest are zero\n"), std::string::npos);
}

} // namespace
