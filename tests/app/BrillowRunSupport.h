#pragma once

// brillow run as a process on the virtual display with a fixed step, a seed
// and an input file beside the tests, read back from its frame log (one
// line of "name=value" fields per frame) and its screenshots (kept for
// review in the build tree).
#include "ProgramTestSupport.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace BrillowRun
{

using namespace ProgramTestSupport;

// One log line: its fields by name ("LevelSM", "buttons", "score").
using Fields = std::map<std::string, std::string>;

inline Fields ParseLine(const std::string& line)
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
inline std::string Button(const Fields& fields, const std::string& name)
{
    const std::string& list = fields.at("buttons");
    const std::size_t at = list.find(name + ":");
    return at == std::string::npos ? "-" : list.substr(at + name.size() + 1, 3);
}

// The play count of one sound in "sounds".
inline int Plays(const Fields& fields, const std::string& name)
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

class BrillowRunTest : public ProgramTest
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

} // namespace BrillowRun
