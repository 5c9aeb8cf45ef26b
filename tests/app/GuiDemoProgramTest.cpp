// The gui_demo program run as a user would, with real GL on the virtual
// display, a fixed step and the scripted input files beside this test;
// each run is judged from its per-frame log (events | state) and from its
// screenshots, which are kept for review in the build tree.

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using Rgb = std::array<int, 3>;

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
    {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

class Picture
{
public:
    explicit Picture(const fs::path& path)
    {
        int channels = 0;
        unsigned char* data = stbi_load(path.string().c_str(), &width_, &height_, &channels, 3);
        if (data != nullptr)
        {
            pixels_.assign(data, data + static_cast<std::size_t>(width_) * height_ * 3);
            stbi_image_free(data);
        }
    }
    bool Loaded() const { return !pixels_.empty(); }
    // (x, y) in window pixels, y up; the file's rows come top first.
    Rgb At(int x, int y) const
    {
        const std::size_t at = (static_cast<std::size_t>(height_ - 1 - y) * width_ + x) * 3;
        return {pixels_[at], pixels_[at + 1], pixels_[at + 2]};
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> pixels_;
};

// One line of the log: the frame's events and the state after it.
struct FrameLog
{
    std::vector<std::string> events;
    std::map<std::string, std::string> state;
    bool Has(const std::string& event) const
    {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
};

class GuiDemoProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        shots_ = fs::path(GUI_DEMO_SCREENSHOTS) / name_;
        fs::remove_all(shots_);
        fs::create_directories(shots_);
    }

    // Runs the demo for `frames` frames on the input file `input`, with
    // screenshots of the frames `shotFrames`; answers the log by frame.
    std::map<int, FrameLog> Run(const std::string& input, int frames, const std::vector<int>& shotFrames)
    {
        const fs::path log = shots_ / "log.txt";
        std::string command = "ENGINE_HEADLESS=1 ALSOFT_DRIVERS=null " + Quote(GUI_DEMO_PATH) +
                              " --fixed-step --frames " + std::to_string(frames) + " --input " +
                              Quote((fs::path(GUI_DEMO_INPUTS) / input).string()) + " --log " + Quote(log.string());
        for (const int frame : shotFrames)
        {
            command += " --screenshot-at " + Quote(std::to_string(frame) + ":" + Shot(frame).string());
        }
        command += " >" + Quote((shots_ / "stdout.txt").string()) + " 2>" + Quote((shots_ / "stderr.txt").string());
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

        std::map<int, FrameLog> frameLogs;
        std::ifstream stream(log);
        std::string line;
        while (std::getline(stream, line))
        {
            std::istringstream words(line);
            int frame = 0;
            words >> frame;
            FrameLog& entry = frameLogs[frame];
            std::string word;
            bool state = false;
            while (words >> word)
            {
                if (word == "|")
                {
                    state = true;
                }
                else if (state)
                {
                    const std::size_t equals = word.find('=');
                    entry.state[word.substr(0, equals)] = word.substr(equals + 1);
                }
                else if (word != "-")
                {
                    entry.events.push_back(word);
                }
            }
        }
        EXPECT_EQ(static_cast<int>(frameLogs.size()), frames);
        return frameLogs;
    }

    fs::path Shot(int frame) const { return shots_ / (name_ + "_" + std::to_string(frame) + ".png"); }

    std::string name_;
    fs::path shots_;
};

// The demo's layout: the main form at (40, 100), 600 x 560; its client
// origin (48, 108).
constexpr int StartX = 157, StartY = 566;

TEST_F(GuiDemoProgram, TheMainFormIsDraggedByItsCaptionOnly)
{
    const auto log = Run("drag.txt", 22, {2, 6, 12, 18});
    struct Expect
    {
        int frame;
        const char* main;
    };
    const Expect expected[] = {
        {2, "40,100"},   // resting
        {5, "90,55"},    // dragged along
        {7, "140,15"},   //
        {10, "140,15"},  // released
        {12, "140,15"},  // the mouse moves on alone
        {17, "140,15"},  // a press in the client area moved to (600, 440)
        {20, "140,15"},
    };
    for (const Expect& e : expected)
    {
        EXPECT_EQ(log.at(e.frame).state.at("main"), e.main) << e.frame;
    }
    // Pictures: the frame moved with the form.
    const Picture before(Shot(2));
    const Picture after(Shot(12));
    ASSERT_TRUE(before.Loaded() && after.Loaded());
    EXPECT_NE(before.At(45, 400), after.At(45, 400));
    EXPECT_EQ(before.At(45, 400), after.At(145, 315));
}

TEST_F(GuiDemoProgram, AButtonShowsHoverPressedAndHoverAndTheDisabledOneLogsNothing)
{
    const auto log = Run("button.txt", 18, {4, 6, 9});
    // The hover found at the end of frame 3 is heard in frame 4.
    EXPECT_TRUE(log.at(4).Has("Start.MouseEnter"));
    EXPECT_TRUE(log.at(5).Has("Start.MouseDown(0)"));
    EXPECT_TRUE(log.at(8).Has("Start.Click"));
    EXPECT_TRUE(log.at(8).Has("Start.ClickDone"));
    EXPECT_TRUE(log.at(8).Has("Start.MouseUp(0)"));
    for (const auto& [frame, entry] : log)
    {
        for (const std::string& event : entry.events)
        {
            EXPECT_NE(event.rfind("Disabled.", 0), 0u) << frame << " " << event;
        }
    }
    // Probes in the button's face, clear of its caption: the three looks
    // differ from one another.
    const Picture hover(Shot(4));
    const Picture pressed(Shot(6));
    const Picture released(Shot(9));
    ASSERT_TRUE(hover.Loaded() && pressed.Loaded() && released.Loaded());
    for (const auto& [x, y] : {std::pair{80, 576}, std::pair{230, 556}})
    {
        EXPECT_NE(hover.At(x, y), pressed.At(x, y)) << x << "," << y;
        EXPECT_NE(pressed.At(x, y), released.At(x, y)) << x << "," << y;
        EXPECT_EQ(hover.At(x, y), released.At(x, y)) << x << "," << y;
    }
}

TEST_F(GuiDemoProgram, TabWalksTheEnabledControlsInTabOrder)
{
    const auto log = Run("tab.txt", 26, {1, 4});
    // The first update focused the first tab stop of each form: the
    // child form's came last.
    EXPECT_EQ(log.at(1).state.at("focus"), "Small");
    const char* const order[] = {"Wide", "OpenModal", "Red", "Green", "Blue", "Options", "Start", "Wide"};
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ(log.at(3 + 3 * i).state.at("focus"), order[i]) << i;
    }
}

TEST_F(GuiDemoProgram, ExactlyOneRadioButtonIsCheckedPerGroup)
{
    const auto log = Run("radio.txt", 31, {1, 30});
    const std::set<std::string> colours = {"Red", "Green", "Blue"};
    const std::set<std::string> sizes = {"Small", "Medium", "Large"};
    for (const auto& [frame, entry] : log)
    {
        std::stringstream names(entry.state.at("checked"));
        std::string name;
        int inColours = 0;
        int inSizes = 0;
        while (std::getline(names, name, ','))
        {
            inColours += colours.count(name) != 0 ? 1 : 0;
            inSizes += sizes.count(name) != 0 ? 1 : 0;
        }
        EXPECT_EQ(inColours, 1) << frame;
        EXPECT_EQ(inSizes, 1) << frame;
    }
    const std::pair<int, const char*> expected[] = {
        {1, "Red,Small"}, {6, "Green,Small"}, {12, "Green,Large"}, {18, "Blue,Large"},
        {24, "Blue,Medium"}, {30, "Red,Medium"}};
    for (const auto& [frame, checked] : expected)
    {
        EXPECT_EQ(log.at(frame).state.at("checked"), checked) << frame;
    }
    EXPECT_TRUE(log.at(5).Has("Green.CheckedChanged"));
}

TEST_F(GuiDemoProgram, TheModalFormBlocksFlashesAndCloses)
{
    // The press outside the modal form lands in frame 10; the flash's
    // phases last 7 frames (0.1 s passed), the first one in the inactive
    // colour, and it ends after 0.8 s.
    const std::vector<int> samples = {13, 20, 27, 34, 41, 48, 55};
    std::vector<int> shots = samples;
    shots.insert(shots.end(), {6, 62, 74});
    const auto log = Run("modal.txt", 80, shots);
    EXPECT_TRUE(log.at(5).Has("OpenModal.Click"));
    EXPECT_EQ(log.at(6).state.at("modal"), "Modal");
    EXPECT_EQ(log.at(6).state.at("active"), "Modal");
    // Blocked: Start hears nothing while the modal form is open.
    for (int frame = 6; frame < 73; ++frame)
    {
        for (const std::string& event : log.at(frame).events)
        {
            EXPECT_NE(event.rfind("Start.", 0), 0u) << frame << " " << event;
        }
        EXPECT_EQ(log.at(frame).state.at("active"), "Modal") << frame;
    }
    // The modal frame's bottom border, sampled once a phase: the colours
    // alternate, and the flash ends in the active colour.
    std::vector<Rgb> colours;
    for (const int frame : samples)
    {
        const Picture picture(Shot(frame));
        ASSERT_TRUE(picture.Loaded()) << frame;
        colours.push_back(picture.At(760, 303));
    }
    for (std::size_t i = 1; i < colours.size(); ++i)
    {
        EXPECT_NE(colours[i], colours[i - 1]) << samples[i];
    }
    const Picture settled(Shot(62));
    ASSERT_TRUE(settled.Loaded());
    EXPECT_EQ(settled.At(760, 303), colours[1]);
    // Its close button closes it; then Start hears the mouse again.
    EXPECT_TRUE(log.at(73).Has("Modal/Close.Click"));
    EXPECT_EQ(log.at(74).state.at("modal"), "-");
    EXPECT_TRUE(log.at(78).Has("Start.MouseDown(0)"));
    const Picture closed(Shot(74));
    ASSERT_TRUE(closed.Loaded());
    EXPECT_NE(closed.At(760, 303), colours[1]);
}

// Without an input file: a fixed number of frames, the last one as a
// picture and a numbered log line per frame; a bad option ends the program
// with 2 before a window opens.
TEST_F(GuiDemoProgram, RunsItsFramesAndWritesTheLastPictureAndTheLog)
{
    const fs::path shot = shots_ / "last.png";
    const fs::path log = shots_ / "log.txt";
    const std::string run = "ENGINE_HEADLESS=1 ALSOFT_DRIVERS=null " + Quote(GUI_DEMO_PATH);
    const int status = std::system(
        (run + " --frames 30 --screenshot " + Quote(shot.string()) + " --log " + Quote(log.string()) + " >/dev/null 2>&1")
            .c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const Picture picture(shot);
    ASSERT_TRUE(picture.Loaded());
    // The main form's caption bar against the backdrop.
    EXPECT_NE(picture.At(300, 645), picture.At(1000, 700));
    std::ifstream lines(log);
    std::string line;
    int count = 0;
    while (std::getline(lines, line))
    {
        ++count;
        EXPECT_EQ(line.rfind(std::to_string(count) + " ", 0), 0u) << line;
        EXPECT_NE(line.find("| main=40,100"), std::string::npos) << line;
    }
    EXPECT_EQ(count, 30);
    const int refused = std::system((run + " --frames x >/dev/null 2>&1").c_str());
    ASSERT_TRUE(WIFEXITED(refused));
    EXPECT_EQ(WEXITSTATUS(refused), 2);
}

} // namespace
