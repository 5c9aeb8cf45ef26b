// A replay of the game recorded through the framework's replay operations:
// from the main menu, START, the loading screen and stage 1, then the pause
// overlay's Exit and Yes back to the menu. Played back, every frame gives
// the log line the program writes for it (level, level machine, game data,
// play switches, buttons, sounds, overlay and every ball's place) as it did
// while recording.
#include "LevelsTestSupport.h"

#include "Brillow_Program.h"
#include "input/Input_KeyCodes.h"

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

    // Skip the intro, START, wait on the right of the field, then pause,
    // Exit and Yes (window pixels, y up from the bottom).
    static std::vector<Event> Script()
    {
        std::vector<Event> events;
        const auto add =
            [&events](std::uint32_t frame, Event::Kind kind, std::int32_t x, std::int32_t y, std::uint8_t key)
        {
            Event event;
            event.frame = frame;
            event.kind = kind;
            event.x = x;
            event.y = y;
            event.virtualKey = key;
            events.push_back(event);
        };
        const std::uint8_t escape = Input::VirtualKey::Escape;
        const std::uint8_t enter = Input::VirtualKey::Return;
        add(2, Event::Kind::Move, 512, 430, 0);
        add(5, Event::Kind::KeyDown, 0, 0, enter);
        add(6, Event::Kind::KeyUp, 0, 0, enter);
        add(20, Event::Kind::Move, 270, 336, 0);
        add(24, Event::Kind::Press, 0, 0, 1);
        add(25, Event::Kind::Release, 0, 0, 1);
        add(30, Event::Kind::Move, 692, 504, 0);
        add(110, Event::Kind::Move, 697, 286, 0);
        add(125, Event::Kind::Move, 692, 504, 0);
        add(140, Event::Kind::KeyDown, 0, 0, escape);
        add(141, Event::Kind::KeyUp, 0, 0, escape);
        add(150, Event::Kind::Move, 602, 394, 0);
        add(155, Event::Kind::Press, 0, 0, 1);
        add(156, Event::Kind::Release, 0, 0, 1);
        add(165, Event::Kind::Move, 422, 279, 0);
        add(170, Event::Kind::Press, 0, 0, 1);
        add(171, Event::Kind::Release, 0, 0, 1);
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
    while (FrameNumber() < 190)
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
