// The level machine on the real game and factory: frame sequences driven by
// the request bytes (and the Escape key through the scripted keyboard), with
// the level the framework switches to and the frame on which it does.
#include "LevelsTestSupport.h"

#include "input/Input_KeyCodes.h"

#include <gtest/gtest.h>

namespace
{

using namespace BrillowTest;

struct Switch
{
    std::uint32_t frame;
    std::uint32_t level;
    bool operator==(const Switch&) const = default;
};

std::ostream& operator<<(std::ostream& stream, const Switch& s)
{
    return stream << "level " << s.level << " at frame " << s.frame;
}

class LevelMachineDisplayTest : public LevelsDisplayTest
{
protected:
    // Runs frames until `until` holds or `limit` frames have run, recording
    // every level switch (the frame of the first frame the new level is
    // current); `before` runs before each frame with its number.
    void RunUntil(const std::function<bool()>& until, std::uint32_t limit,
                  const std::function<void(std::uint32_t)>& before = nullptr)
    {
        for (std::uint32_t i = 0; i < limit && !until(); ++i)
        {
            if (before)
            {
                before(FrameNumber() + 1);
            }
            // A rebuilt level may sit at its predecessor's address: the
            // factory's build count tells a switch.
            const std::uint32_t builtBefore = factory->GetLevelsBuilt();
            Frame();
            if (factory->GetLevelsBuilt() != builtBefore)
            {
                switches.push_back({FrameNumber(), game->GetCurrentLevelIndex()});
            }
        }
    }

    void RunFrames(std::uint32_t count, const std::function<void(std::uint32_t)>& before = nullptr)
    {
        RunUntil([] { return false; }, count, before);
    }

    // From the start to the play level: START pressed in frame 3.
    void ReachPlay()
    {
        RunFrames(3);
        game->startRequested = 1;
        RunUntil([this] { return game->GetCurrentLevelIndex() == 1; }, 200);
        ASSERT_EQ(StateName(), "level1");
        switches.clear();
    }

    std::vector<Switch> switches;
};

// Level 0 is made at the first frame; the machine's first update (frame 2)
// enters "S0", which asks for the main menu again, made at frame 3.
TEST_F(LevelMachineDisplayTest, TheMainMenuIsMadeAtStartAndAgainByTheFirstEntryIntoS0)
{
    Start();
    RunFrames(4);
    EXPECT_EQ(switches, (std::vector<Switch>{{1, 0}, {3, 0}}));
    EXPECT_EQ(factory->GetLevelsBuilt(), 2u);
    EXPECT_EQ(StateName(), "S0");
}

TEST_F(LevelMachineDisplayTest, StartShowsTheLoadingLevelForASecondThenThePlayLevel)
{
    Start();
    RunFrames(5);
    switches.clear();
    game->startRequested = 1;
    RunUntil([this] { return game->GetCurrentLevelIndex() == 1; }, 200);
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_EQ(switches[0], (Switch{7, 6}));
    // Sixty updates of 1/60 s in "Loading" before its transition can fire.
    EXPECT_GE(switches[1].frame - switches[0].frame, 60u);
    EXPECT_LE(switches[1].frame - switches[0].frame, 62u);
    EXPECT_EQ(switches[1].level, 1u);
    EXPECT_EQ(StateName(), "level1");
    // Cleared only when "S0" is entered again.
    EXPECT_EQ(game->startRequested, 1);
}

TEST_F(LevelMachineDisplayTest, TutorialWinsOverCreditsAndCreditsStaysRequested)
{
    Start();
    RunFrames(3);
    switches.clear();
    game->tutorialRequested = 1;
    game->creditsRequested = 1;
    RunFrames(3);
    EXPECT_EQ(switches, (std::vector<Switch>{{5, 4}}));
    EXPECT_EQ(StateName(), "S4");
    EXPECT_EQ(game->creditsRequested, 1);
    EXPECT_EQ(game->tutorialRequested, 0);
}

TEST_F(LevelMachineDisplayTest, EscapeInTheTutorialGoesBackToTheMainMenu)
{
    using Event = Harness::InputEvent;
    Event down;
    down.frame = 8;
    down.kind = Event::Kind::KeyDown;
    down.virtualKey = Input::ToVirtualKey(Input::Key::Escape);
    Event up = down;
    up.frame = 9;
    up.kind = Event::Kind::KeyUp;
    Start({down, up});
    RunFrames(3);
    game->tutorialRequested = 1;
    RunFrames(3);
    switches.clear();
    ASSERT_EQ(StateName(), "S4");
    RunFrames(4);
    EXPECT_EQ(switches, (std::vector<Switch>{{9, 0}}));
    EXPECT_EQ(StateName(), "S0");
}

TEST_F(LevelMachineDisplayTest, WinningIsTestedBeforeLosing)
{
    Start();
    ReachPlay();
    game->stage = 6;
    game->playerLost = 1;
    game->playStarted = 1;
    const std::uint32_t frame = FrameNumber();
    RunFrames(3);
    EXPECT_EQ(switches, (std::vector<Switch>{{frame + 2, 3}}));
    EXPECT_EQ(StateName(), "Win");
    // Leaving the play level clears the loss.
    EXPECT_EQ(game->playerLost, 0);
}

TEST_F(LevelMachineDisplayTest, ALossWaitsForThePlayToHaveStartedThenShowsBothLoseScreens)
{
    Start();
    ReachPlay();
    game->playerLost = 1;
    RunFrames(30);
    EXPECT_TRUE(switches.empty());
    EXPECT_EQ(StateName(), "level1");
    game->playStarted = 1;
    const std::uint32_t frame = FrameNumber();
    RunUntil([this] { return game->GetCurrentLevelIndex() == 8; }, 200);
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_EQ(switches[0], (Switch{frame + 2, 2}));
    EXPECT_GE(switches[1].frame - switches[0].frame, 60u);
    EXPECT_EQ(switches[1].level, 8u);
    EXPECT_EQ(StateName(), "LoseScreeen");
}

TEST_F(LevelMachineDisplayTest, BackToTheMenuFromPlayClearsTheLossAndResetsTheStage)
{
    Start();
    ReachPlay();
    game->stage = 3;
    game->levelScore = 8;
    game->playerLost = 1;
    game->backToMenuRequested = 1;
    const std::uint32_t frame = FrameNumber();
    RunFrames(3);
    EXPECT_EQ(switches, (std::vector<Switch>{{frame + 2, 0}}));
    EXPECT_EQ(StateName(), "S0");
    EXPECT_EQ(game->playerLost, 0);
    EXPECT_EQ(game->stage, 1);
    EXPECT_EQ(game->levelScore, 0);
    EXPECT_EQ(game->startRequested, 0);
    // The main menu's exit clears it once the menu is left; it is still set
    // in the menu, and nothing else reads it there.
    EXPECT_EQ(game->backToMenuRequested, 1);
}

TEST_F(LevelMachineDisplayTest, OptionsAndCreditsReturnOnBackToMenu)
{
    Start();
    RunFrames(3);
    switches.clear();
    game->optionsRequested = 1;
    RunFrames(3);
    EXPECT_EQ(StateName(), "Options");
    game->backToMenuRequested = 1;
    RunFrames(3);
    EXPECT_EQ(StateName(), "S0");
    game->creditsRequested = 1;
    RunFrames(3);
    EXPECT_EQ(StateName(), "Credits");
    EXPECT_EQ(game->backToMenuRequested, 0);
    game->backToMenuRequested = 1;
    RunFrames(3);
    EXPECT_EQ(StateName(), "S0");
    EXPECT_EQ(game->creditsRequested, 0);
    EXPECT_EQ(switches, (std::vector<Switch>{{5, 7}, {8, 0}, {11, 5}, {14, 0}}));
}

} // namespace
