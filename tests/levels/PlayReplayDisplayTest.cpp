// A replay of the game recorded through the framework's replay operations:
// from the main menu, START, the loading screen and stage 1 with the pause
// overlay and a restart, then the quit dialog's Yes back to the menu. Played back, every frame gives
// the log line the program writes for it (level, level machine, game data,
// play switches, buttons, sounds, overlay and every ball's place) as it did
// while recording.
#include "LevelsTestSupport.h"

#include "Brillow_Program.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace
{

using namespace BrillowTest;
using Event = Harness::InputEvent;

class PlayReplayDisplayTest : public LevelsDisplayTest
{
protected:
    void SetUp() override
    {
        LevelsDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        MyLevelFactory::SetFixedSeed(7);
        Start(Script());
        // Every game run from this directory saves the running game under
        // one name when a replay starts: the tests that replay take turns.
        lock = open((game->GetDirectory() + "/replay-tests.lock").c_str(), O_CREAT | O_RDWR, 0644);
        ASSERT_GE(lock, 0);
        ASSERT_EQ(flock(lock, LOCK_EX), 0);
        name = "playreplay" + std::to_string(getpid());
        directory = game->GetSavesDirectory();
    }

    void TearDown() override
    {
        if (!directory.empty())
        {
            std::error_code ignored;
            std::filesystem::remove(directory + "/" + name + "_gameSaved", ignored);
            std::filesystem::remove(directory + "/" + name + "_replayData", ignored);
            std::filesystem::remove(directory + "/gameSaved_OnReplayStart", ignored);
        }
        if (lock >= 0)
        {
            close(lock);
        }
        LevelsDisplayTest::TearDown();
    }

    // The overlay's input file: the intro skipped, START, stage 1 with a
    // ball eaten, the pause overlay (prompt, resume, quit dialog, No,
    // Restart) and Exit and Yes back to the menu by frame 322.
    static std::vector<Event> Script()
    {
        std::vector<Event> events;
        const std::string problem =
            Harness::ReadInputScript(std::string(BRILLOW_INPUTS) + "/overlay.txt", events);
        EXPECT_EQ(problem, "");
        return events;
    }

    // Runs one frame and answers its log line.
    std::string FrameLine()
    {
        Frame();
        return DescribeBrillowFrame();
    }

    // The line with its "built" count (the factory's levels built in this
    // process, which a replay's load adds to) counted from `base`.
    static std::string CountedFrom(const std::string& line, int base)
    {
        const std::size_t at = line.find(" built=");
        if (at == std::string::npos)
        {
            return line;
        }
        const std::size_t start = at + 7;
        const std::size_t end = line.find(' ', start);
        const int built = std::stoi(line.substr(start, end - start));
        return line.substr(0, start) + "+" + std::to_string(built - base) + line.substr(end);
    }

    static int Built(const std::string& line)
    {
        const std::size_t at = line.find(" built=");
        return at == std::string::npos ? 0 : std::stoi(line.substr(at + 7));
    }

    int lock = -1;
    std::string name;
    std::string directory;
};

TEST_F(PlayReplayDisplayTest, PlaybackGivesEveryRecordedFramesLogLineAndBallPlaces)
{
    // On the menu with the intro skipped, the recording starts.
    Frame(10);
    ASSERT_EQ(StateName(), "S0");
    game->ReplayRecordingStart(name);
    std::vector<std::string> recorded;
    while (FrameNumber() < 335)
    {
        recorded.push_back(FrameLine());
    }
    game->ReplayRecordingStop();
    // The record passed through the loading screen and stage 1 (where a
    // ball was eaten and the field held coloured balls) back to the menu.
    const auto seen = [&recorded](const std::string& text)
    {
        return std::any_of(recorded.begin(), recorded.end(),
                           [&text](const std::string& line) { return line.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(seen("level=6:Loading"));
    EXPECT_TRUE(seen("level=1:level1"));
    EXPECT_TRUE(seen("totalScore=10"));
    EXPECT_TRUE(seen("balls=bgc:"));
    EXPECT_TRUE(seen("QuitYesButton"));
    EXPECT_TRUE(seen("ResumeText"));
    EXPECT_NE(recorded.back().find("level=0:level0"), std::string::npos);
    EXPECT_NE(recorded.back().find("LevelSM=S0"), std::string::npos);

    // The game goes on at the menu; the replay-data file is written.
    Frame(5);
    ASSERT_TRUE(std::filesystem::exists(directory + "/" + name + "_replayData"));

    game->ReplayStart(name);
    std::vector<std::string> played;
    do
    {
        played.push_back(FrameLine());
    } while (game->IsReplaying() && played.size() < recorded.size() + 5);
    // Every record the file holds (the recording's frames but the one in
    // which it stopped writing) plays back.
    ASSERT_GE(played.size(), recorded.size() - 1);
    ASSERT_LE(played.size(), recorded.size());
    // The levels are built in the same frames as while recording.
    const int playedBase = Built(played.front());
    const int recordedBase = Built(recorded.front());
    for (std::size_t i = 0; i < played.size(); ++i)
    {
        ASSERT_EQ(CountedFrom(played[i], playedBase), CountedFrom(recorded[i], recordedBase))
            << "frame " << i << " of the replay";
    }
}

} // namespace
