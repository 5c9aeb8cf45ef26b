#pragma once

// Running a program of the build as a user does: in a scratch folder, with
// its exit status, standard output and standard error read back.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ProgramTestSupport
{

namespace fs = std::filesystem;

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
    {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline std::string ReadWhole(const fs::path& path)
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
        std::string command = "cd " + Quote(folder_.string()) + " && env " + environment +
                              " ENGINE_HEADLESS=1 " + Quote(program);
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
inline const char* const NoScreen = "-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR";

} // namespace ProgramTestSupport
