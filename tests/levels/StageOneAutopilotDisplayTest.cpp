// Stage 1 played from the main menu's START by the autopilot: with a pinned
// seed the stage completes within a minute of play, the player ball turns
// white and the white laser appears at its start. The first run photographs
// the field with its balls and texts, and the stage complete (only those two
// frames are drawn); the second draws nothing and must log the same frames.
#include "PlayThroughSupport.h"

#include "game/Brillow_BonusLazerClass.h"

namespace
{

using namespace BrillowTest;

class StageOneAutopilotDisplayTest : public PlayThroughDisplayTest
{
protected:
    // From the menu until the white laser is there (at most `limit` frames
    // after the click on START); the frame it appeared, 0 for never.
    std::uint32_t PlayStageOne(std::uint32_t limit)
    {
        StartFromMenu();
        BrillowAutopilot pilot;
        std::uint32_t playFrames = 0;
        const std::uint32_t click = 24;
        while (FrameNumber() < click + limit)
        {
            playFrames += LevelIndex() == PlayLevel ? 1 : 0;
            Step(&pilot,
                 [&]() -> std::string
                 {
                     if (playFrames == 30)
                     {
                         return "stage_one_field.png";
                     }
                     const GameLevel* level = Play();
                     return level != nullptr && level->whiteLazerSpawned != 0 ? "stage_one_complete.png" : "";
                 });
            if (Play() != nullptr && Play()->whiteLazerSpawned != 0)
            {
                return FrameNumber();
            }
        }
        return 0;
    }
};

TEST_F(StageOneAutopilotDisplayTest, TheStageCompletesWithinAMinuteOfStartAndTwoRunsAgree)
{
    const std::uint32_t done = PlayStageOne(3600);
    ASSERT_NE(done, 0u) << log.back();
    // The frame before, the stage's points reached 10; in this one they
    // start over and the stage-complete flag is up.
    const std::string& before = log[done - 2];
    EXPECT_EQ(Field(before, "level"), "1:level1");
    EXPECT_GE(std::stoi(Field(before, "levelScore")), 10);
    EXPECT_EQ(Field(before, "flags").find("stageComplete:1"), std::string::npos);
    EXPECT_NE(Field(log[done - 1], "flags").find("stageComplete:1"), std::string::npos);
    EXPECT_GE(game->totalScore, 100);
    // The white laser appears at (484, -37), and its own update already
    // moves it along x in the frame it was made.
    const BonusLazerClass* laser = FindObject<BonusLazerClass>("blz");
    ASSERT_NE(laser, nullptr);
    EXPECT_GE(laser->GetPositionX(), 484.0f);
    EXPECT_LE(laser->GetPositionX(), 494.0f);
    EXPECT_FLOAT_EQ(laser->GetPositionY(), -37.0f);
    Step();
    EXPECT_NE(log.back().find(",WHITE "), std::string::npos) << log.back();
    if (photographing)
    {
        EXPECT_EQ(shots, (std::vector<std::string>{"stage_one_field.png", "stage_one_complete.png"}));
        EXPECT_EQ(FramesDrawn(), 2u);
    }

    const std::vector<std::string> first = log;
    TearDown();
    SetUp();
    WithoutPictures();
    ASSERT_EQ(PlayStageOne(3600), done);
    Step();
    EXPECT_TRUE(first == log);
}

} // namespace
