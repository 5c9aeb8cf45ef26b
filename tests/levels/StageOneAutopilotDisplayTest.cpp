// Stage 1 played by an autopilot: before every frame it finds the nearest
// coloured ball through the game's lookups and moves the pointer (only the
// pointer, through the scripted input) a bounded step towards it. With a
// pinned seed the stage completes: the player ball turns white and the
// white laser appears at its start.
#include "PlayLevelTestSupport.h"

#include "Harness_InputScript.h"
#include "game/Brillow_BonusLazerClass.h"
#include "game/Brillow_SpriteMouseClass.h"

#include <cmath>
#include <sstream>

namespace
{

using namespace BrillowTest;

class StageOneAutopilotDisplayTest : public PlayLevelDisplayTest
{
protected:
    // Pixels the pointer may move in one frame.
    static constexpr float MaximumStep = 14.0f;

    // One frame of steering; the pointer's field position is kept here.
    void Steer()
    {
        const std::vector<ball*> balls = All<ball>("bgc");
        const ball* nearest = nullptr;
        float best = 0.0f;
        for (const ball* candidate : balls)
        {
            const float dx = candidate->GetPositionX() - pointer.x;
            const float dy = candidate->GetPositionY() - pointer.y;
            const float distance = dx * dx + dy * dy;
            if (nearest == nullptr || distance < best)
            {
                nearest = candidate;
                best = distance;
            }
        }
        if (nearest != nullptr)
        {
            const float dx = nearest->GetPositionX() - pointer.x;
            const float dy = nearest->GetPositionY() - pointer.y;
            const float length = std::sqrt(dx * dx + dy * dy);
            const float scale = length > MaximumStep ? MaximumStep / length : 1.0f;
            pointer.x += dx * scale;
            pointer.y += dy * scale;
        }
        Harness::InputEvent move;
        move.kind = Harness::InputEvent::Kind::Move;
        move.x = static_cast<std::int32_t>(std::lround(pointer.x)) + 512;
        move.y = static_cast<std::int32_t>(std::lround(pointer.y)) + 384;
        Harness::ApplyInputEvent(move, harness->GetInputSource());
    }

    // Plays from the start of the play level until the stage completes or
    // `limit` frames have run; one log line per frame.
    std::vector<std::string> PlayStageOne(std::uint32_t limit)
    {
        EnterPlay();
        // The menu's intro never ran here: the player ball follows the mouse.
        game->introRunning = 0;
        pointer = Math::Vector2D(0.0f, 0.0f);
        std::vector<std::string> log;
        for (std::uint32_t i = 0; i < limit && Level() != nullptr && Level()->whiteLazerSpawned == 0; ++i)
        {
            Steer();
            Frame();
            std::ostringstream line;
            line << FrameNumber() << " score " << game->totalScore << " level " << game->levelScore
                 << " complete " << int(Level()->stageComplete);
            for (const ball* coloured : All<ball>("bgc"))
            {
                line << " " << coloured->GetPositionX() << "," << coloured->GetPositionY();
            }
            log.push_back(line.str());
        }
        return log;
    }

    Math::Vector2D pointer;
};

TEST_F(StageOneAutopilotDisplayTest, TheStageCompletesWithinAMinuteAndTwoRunsAgree)
{
    const std::vector<std::string> first = PlayStageOne(3600);
    ASSERT_NE(Level(), nullptr);
    EXPECT_EQ(Level()->stageComplete, 1);
    EXPECT_EQ(Level()->whiteLazerSpawned, 1);
    EXPECT_GE(game->totalScore, 100);
    // The white laser appears where the stage puts it, (484, -37), and its
    // own update already moves it along x in the frame it was made.
    const BonusLazerClass* laser = FindObject<BonusLazerClass>("blz");
    ASSERT_NE(laser, nullptr);
    EXPECT_GE(laser->GetPositionX(), 484.0f);
    EXPECT_LE(laser->GetPositionX(), 494.0f);
    EXPECT_FLOAT_EQ(laser->GetPositionY(), -37.0f);
    const SpriteMouseClass* player = FindObject<SpriteMouseClass>("playerball");
    ASSERT_NE(player, nullptr);
    Frame();
    EXPECT_EQ(player->GetBallState(), PlayerBall::BallState::White);

    TearDown();
    SetUp();
    const std::vector<std::string> second = PlayStageOne(3600);
    EXPECT_EQ(first, second);
}

} // namespace
