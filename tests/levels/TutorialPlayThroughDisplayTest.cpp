// The tutorial played from the main menu's TUTORIAL button by the autopilot,
// which eats the coloured balls the script brings and keeps away from the
// enemies and the beams, acting only through the scripted pointer. Every
// frame logs the hints' flags, states and visibility beside the program's
// own line; the hints' timing and order, the white laser and the way back
// to the menu are read from that log. A second run leaves with Escape while
// "nextenemy" shows. Each run twice gives the same log. In the optimised
// tree the first full run photographs each hint on screen, drawing with the
// OpenGL renderer only the frames it photographs ("screenshots/tutorial_hints"
// in the build tree).
#include "PlayThroughSupport.h"

#include "game/Brillow_BonusLazerClassT.h"
#include "game/Brillow_SpikeBallT.h"
#include "game/Brillow_TutorialClass.h"
#include "game/Brillow_VisibilityClasses.h"
#include "input/Input_KeyCodes.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace
{

using namespace BrillowTest;

constexpr std::uint32_t TutorialLevel = 4;
constexpr std::uint32_t Seed = 4242;
// The TUTORIAL button's window pixel (y from the bottom).
const char* const TutorialButton = "759 335";
constexpr std::uint32_t FrameLimit = 7000;
// The repeat of the whole run: to the end in the optimised tree; the
// sanitizer tree, where every frame costs several times as much, repeats
// it only until "more" has shown.
#if ENGINE_SANITIZE
constexpr std::uint32_t RepeatFrames = 1600;
#else
constexpr std::uint32_t RepeatFrames = FrameLimit;
#endif
// Frames a hint has shown when it is photographed.
constexpr std::uint32_t ShotAfter = 30;

// The hints in the order they show, with their delay and shown time in
// frames of 1/60 s.
struct HintTiming
{
    const char* name;
    PlayFlag flag;
    std::uint32_t delay;
    std::uint32_t shown;
};

constexpr std::array<HintTiming, 10> Hints{{
    {"intro", PlayFlag::HintIntro, 60, 240},
    {"nextblue", PlayFlag::HintNextBlue, 60, 300},
    {"nextenemy", PlayFlag::HintNextEnemy, 60, 360},
    {"anotherenemy", PlayFlag::HintAnotherEnemy, 60, 360},
    {"more", PlayFlag::HintMore, 0, 240},
    {"destroy", PlayFlag::HintDestroy, 60, 240},
    {"obstacles", PlayFlag::HintObstacles, 60, 240},
    {"powerup1", PlayFlag::HintPowerUp1, 60, 240},
    {"Invincible", PlayFlag::HintInvincible, 60, 240},
    {"Nextlevel", PlayFlag::HintNextLevel, 60, 240},
}};

// One hint at the end of a frame.
struct HintFrame
{
    std::uint32_t flag = 0;
    std::string state = "-";
    bool visible = false;
};

// What a run's checks read of one frame.
struct FrameRecord
{
    std::uint32_t frame = 0;
    std::uint32_t level = 0;
    std::int32_t stage = 0;
    bool whiteLazer = false;
    std::array<HintFrame, Hints.size()> hints;
};

// The hint of that name as its own class: its machine's state.
template <class Hint> std::string StateOf(const char* name)
{
    const Hint* hint = FindObject<Hint>(name);
    const auto* state =
        hint != nullptr && hint->stateMachine ? hint->stateMachine->GetCurrentState() : nullptr;
    return state != nullptr ? state->name : std::string("-");
}

std::string HintStateName(std::size_t index)
{
    using Reader = std::string (*)(const char*);
    static constexpr std::array<Reader, Hints.size()> readers{
        &StateOf<VisibilityClass>,  &StateOf<Visibility1Class>, &StateOf<Visibility2Class>,
        &StateOf<Visibility3Class>, &StateOf<Visibility4Class>, &StateOf<Visibility5Class>,
        &StateOf<Visibility6Class>, &StateOf<Visibility7Class>, &StateOf<Visibility8Class>,
        &StateOf<Visibility9Class>,
    };
    return readers[index](Hints[index].name);
}

class TutorialPlayThroughDisplayTest : public PlayThroughDisplayTest
{
protected:
    struct Outcome
    {
        std::vector<std::string> log;
        std::vector<FrameRecord> frames;
        // The frame the tutorial became current, and the first frame back
        // in the menu after it.
        std::uint32_t entered = 0;
        std::uint32_t back = 0;
        // The first frame run with Escape down, 0 without.
        std::uint32_t escapeBefore = 0;
    };

    std::filesystem::path PictureFolder() const override
    {
        return std::filesystem::path(ENGINE_TEST_BINARY_DIR) / "screenshots" / "tutorial_hints";
    }

    // The record of the frame last described.
    mutable FrameRecord latest;

    TutorialClass* Tutorial() const { return dynamic_cast<TutorialClass*>(game->GetCurrentLevel()); }

    bool Piloting() const override { return Tutorial() != nullptr; }

    // The program's line, then every hint (flag, state, shown), the spike
    // balls and the white laser.
    std::string Describe() const override
    {
        std::string line = PlayThroughDisplayTest::Describe();
        latest = Record();
        if (Tutorial() == nullptr)
        {
            return line;
        }
        const FrameRecord& now = latest;
        line += " hints=";
        for (std::size_t i = 0; i < Hints.size(); ++i)
        {
            const HintFrame& hint = now.hints[i];
            line += std::string(i == 0 ? "" : ",") + Hints[i].name + ":" + std::to_string(hint.flag) + ":" +
                    hint.state + ":" + (hint.visible ? "1" : "0");
        }
        line += " ss=";
        for (const SpikeBallT* spike : AllOf<SpikeBallT>("ss"))
        {
            line += std::to_string(spike->GetPositionX()) + "," + std::to_string(spike->GetPositionY()) + ";";
        }
        const BonusLazerClassT* sweep = FindObject<BonusLazerClassT>("blz");
        line += " blz=" + (sweep != nullptr ? std::to_string(sweep->GetPositionX()) : std::string("-"));
        return line;
    }

    template <class T> static std::vector<T*> AllOf(const char* name)
    {
        std::vector<T*> objects;
        FindAllObjects<T>(name, objects);
        return objects;
    }

    FrameRecord Record() const
    {
        FrameRecord record;
        record.frame = FrameNumber();
        record.level = LevelIndex();
        record.stage = game->stage;
        if (Tutorial() == nullptr)
        {
            return record;
        }
        record.whiteLazer = FindObject<BonusLazerClassT>("blz") != nullptr;
        for (std::size_t i = 0; i < Hints.size(); ++i)
        {
            const Velkor::Text* text = FindObject<Velkor::Text>(Hints[i].name);
            record.hints[i].flag = PlayLevelFlags::Read(Hints[i].flag);
            record.hints[i].state = HintStateName(i);
            record.hints[i].visible = text != nullptr && text->GetVisible();
        }
        return record;
    }

    void PressEscape(bool down)
    {
        Harness::InputEvent key;
        key.kind = down ? Harness::InputEvent::Kind::KeyDown : Harness::InputEvent::Kind::KeyUp;
        key.virtualKey = Input::ToVirtualKey(Input::Key::Escape);
        Harness::ApplyInputEvent(key, harness->GetInputSource());
    }

    // From the menu through the tutorial and back to the menu (20 frames
    // more), or to frame `frames`; with `escape`, Escape goes down once
    // "nextenemy" has shown for a while.
    Outcome RunTutorial(bool escape, std::uint32_t frames = FrameLimit)
    {
        Outcome outcome;
        StartFromMenu(Seed, TutorialButton);
        BrillowAutopilot pilot(BrillowAutopilot::Aim::Tutorial);
        std::array<std::uint32_t, Hints.size()> shownFor{};
        const auto photograph = [&]() -> std::string
        {
            std::string shot;
            for (std::size_t i = 0; i < Hints.size(); ++i)
            {
                const Velkor::Text* text =
                    Tutorial() != nullptr ? FindObject<Velkor::Text>(Hints[i].name) : nullptr;
                shownFor[i] = text != nullptr && text->GetVisible() ? shownFor[i] + 1 : 0;
                if (shownFor[i] == ShotAfter && shot.empty())
                {
                    shot = std::to_string(i + 1) + "_" + Hints[i].name + ".png";
                }
            }
            return shot;
        };
        std::uint32_t extra = 0;
        while (FrameNumber() < frames && extra < 20)
        {
            Step(&pilot, photograph);
            outcome.frames.push_back(latest);
            const FrameRecord& now = outcome.frames.back();
            if (outcome.entered == 0 && now.level == TutorialLevel)
            {
                outcome.entered = now.frame;
            }
            if (outcome.entered != 0 && outcome.back == 0 && now.level == MenuLevel)
            {
                outcome.back = now.frame;
            }
            extra += outcome.back != 0 ? 1 : 0;
            if (escape && outcome.escapeBefore == 0 && shownFor[2] == ShotAfter)
            {
                PressEscape(true);
                outcome.escapeBefore = now.frame + 1;
            }
            else if (outcome.escapeBefore != 0 && now.frame == outcome.escapeBefore)
            {
                PressEscape(false);
            }
        }
        outcome.log = log;
        return outcome;
    }

    // The frames (from the records) in which hint `i` had its flag raised
    // first, showed first and hid again after showing; 0 where never.
    struct HintTimes
    {
        std::uint32_t raised = 0;
        std::uint32_t shown = 0;
        std::uint32_t hidden = 0;
        std::uint32_t showings = 0;
    };

    // The record of frame `frame` of the run.
    static const FrameRecord& At(const Outcome& outcome, std::uint32_t frame)
    {
        return outcome.frames.at(frame - outcome.frames.front().frame);
    }

    static HintTimes TimesOf(const Outcome& outcome, std::size_t i)
    {
        HintTimes times;
        bool wasVisible = false;
        for (const FrameRecord& record : outcome.frames)
        {
            if (record.level != TutorialLevel)
            {
                continue;
            }
            const HintFrame& hint = record.hints[i];
            if (times.raised == 0 && hint.flag == 1)
            {
                times.raised = record.frame;
            }
            if (hint.visible && !wasVisible)
            {
                ++times.showings;
                times.shown = times.shown == 0 ? record.frame : times.shown;
            }
            if (!hint.visible && wasVisible && times.hidden == 0)
            {
                times.hidden = record.frame;
            }
            wasVisible = hint.visible;
        }
        return times;
    }
};

TEST_F(TutorialPlayThroughDisplayTest, TheTutorialShowsEveryHintInTurnAndEndsInTheMenu)
{
    const Outcome first = RunTutorial(false);
    ASSERT_NE(first.entered, 0u) << (first.log.empty() ? "" : first.log.back());
    EXPECT_EQ(At(first, first.entered).stage, 1);
    std::printf("tutorial from frame %u to %u\n", first.entered, first.back);

    // When the white laser came and went, and the stage became 2.
    std::uint32_t sweepFrom = 0;
    std::uint32_t sweepTo = 0;
    std::uint32_t stageTwo = 0;
    for (const FrameRecord& record : first.frames)
    {
        sweepFrom = sweepFrom == 0 && record.whiteLazer ? record.frame : sweepFrom;
        sweepTo = sweepFrom != 0 && sweepTo == 0 && !record.whiteLazer ? record.frame : sweepTo;
        stageTwo = stageTwo == 0 && record.stage == 2 ? record.frame : stageTwo;
    }
    std::printf("white laser %u to %u, stage 2 at %u\n", sweepFrom, sweepTo, stageTwo);

    std::uint32_t previous = 0;
    std::uint32_t invincibleHidden = 0;
    std::uint32_t nextLevelHidden = 0;
    for (std::size_t i = 0; i < Hints.size(); ++i)
    {
        SCOPED_TRACE(Hints[i].name);
        const HintTimes times = TimesOf(first, i);
        std::printf("%-12s raised %5u shown %5u hidden %5u\n", Hints[i].name, times.raised, times.shown,
                    times.hidden);
        ASSERT_NE(times.shown, 0u);
        ASSERT_NE(times.hidden, 0u);
        EXPECT_EQ(times.showings, 1u);
        EXPECT_GT(times.shown, previous);
        previous = times.shown;
        // The flag is logged after the frame that raised it; the hint's
        // machine sees it in that frame's update or the next one.
        // "Nextlevel" waits for stage 2 as well.
        const bool last = i + 1 == Hints.size();
        const std::uint32_t from = last ? std::max(times.raised, stageTwo) : times.raised;
        EXPECT_NEAR(static_cast<double>(times.shown - from), Hints[i].delay, 1.0);
        EXPECT_NEAR(static_cast<double>(times.hidden - times.shown), Hints[i].shown, 1.0);
        invincibleHidden = std::string(Hints[i].name) == "Invincible" ? times.hidden : invincibleHidden;
        nextLevelHidden = std::string(Hints[i].name) == "Nextlevel" ? times.hidden : nextLevelHidden;
    }

    // The white laser follows "Invincible" and crosses for 630 frames, then
    // the stage is 2.
    ASSERT_NE(invincibleHidden, 0u);
    EXPECT_GE(sweepFrom, invincibleHidden);
    EXPECT_LE(sweepFrom, invincibleHidden + 2);
    EXPECT_NEAR(static_cast<double>(sweepTo - sweepFrom), 630.0, 1.0);
    EXPECT_NEAR(static_cast<double>(stageTwo), static_cast<double>(sweepTo), 1.0);
    for (const FrameRecord& record : first.frames)
    {
        if (record.frame >= first.entered && record.frame < stageTwo)
        {
            ASSERT_EQ(record.stage, 1) << "frame " << record.frame;
        }
    }

    // "Nextlevel" over, the main menu is back; every three-state hint
    // finished, "intro" waiting again.
    ASSERT_NE(first.back, 0u) << first.log.back();
    const FrameRecord& last = At(first, first.back - 1);
    ASSERT_EQ(last.level, TutorialLevel);
    EXPECT_EQ(last.hints[0].state, "S0");
    for (std::size_t i = 1; i < Hints.size(); ++i)
    {
        EXPECT_EQ(last.hints[i].state, "S2") << Hints[i].name;
    }
    EXPECT_GE(first.back, nextLevelHidden);
    EXPECT_LE(first.back, nextLevelHidden + 2);
    EXPECT_EQ(Field(first.log[first.back - 1], "LevelSM"), "S0");
    EXPECT_EQ(Field(first.log.back(), "level"), "0:level0");

    if (photographing)
    {
        for (std::size_t i = 0; i < Hints.size(); ++i)
        {
            const std::string shot = std::to_string(i + 1) + "_" + Hints[i].name + ".png";
            EXPECT_NE(std::find(shots.begin(), shots.end(), shot), shots.end()) << shot;
        }
    }

    TearDown();
    SetUp();
    WithoutPictures();
    const Outcome second = RunTutorial(false, RepeatFrames);
    ASSERT_EQ(second.log.size(), std::min<std::size_t>(first.log.size(), RepeatFrames));
    EXPECT_TRUE(std::equal(second.log.begin(), second.log.end(), first.log.begin()));
}

TEST_F(TutorialPlayThroughDisplayTest, EscapeWhileAHintShowsIsBackInTheMenuWithinTwoFrames)
{
    WithoutPictures();
    const Outcome first = RunTutorial(true);
    ASSERT_NE(first.escapeBefore, 0u) << (first.log.empty() ? "" : first.log.back());
    ASSERT_TRUE(At(first, first.escapeBefore - 1).hints[2].visible);
    ASSERT_NE(first.back, 0u) << first.log.back();
    EXPECT_GE(first.back, first.escapeBefore);
    EXPECT_LE(first.back, first.escapeBefore + 1);
    EXPECT_EQ(Field(first.log.back(), "level"), "0:level0");
    EXPECT_EQ(Field(first.log.back(), "LevelSM"), "S0");

    TearDown();
    SetUp();
    WithoutPictures();
    const Outcome second = RunTutorial(true);
    EXPECT_TRUE(first.log == second.log);
}

} // namespace
