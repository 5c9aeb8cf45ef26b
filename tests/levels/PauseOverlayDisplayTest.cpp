// The pause and quit overlay on the real play level, driven by scripted
// mouse and keyboard input: Escape pauses; Resume asks for the player ball;
// a click on the ball with the pause cursor resumes; Exit opens the quit
// dialog, whose No closes it and Yes returns to the main menu; Restart
// starts the level afresh.
#include "PlayLevelTestSupport.h"

#include "framework/Velkor_Text.h"
#include "input/Input_KeyCodes.h"

#include <map>

namespace
{

using namespace BrillowTest;
using Event = Harness::InputEvent;

// Window pixels (y up) of field points: the field's origin is the window's
// centre.
constexpr std::int32_t X(float fieldX)
{
    return static_cast<std::int32_t>(fieldX) + 512;
}
constexpr std::int32_t Y(float fieldY)
{
    return static_cast<std::int32_t>(fieldY) + 384;
}

// Where the player ball waits, and the buttons' centres.
constexpr std::int32_t BallX = X(180), BallY = Y(120);
constexpr std::int32_t ResumeX = X(-90), ResumeY = Y(10);
constexpr std::int32_t ExitX = X(90), ExitY = Y(10);
constexpr std::int32_t RestartX = X(1), RestartY = Y(-105);
constexpr std::int32_t YesX = X(-90), YesY = Y(-105);
constexpr std::int32_t NoX = X(110), NoY = Y(-104);

const char* const OverlayNames[] = {"PauseScreen",   "PauseMouse", "PausedMouse2", "ResumeButton",
                                    "RestartButton", "ExitButton", "QuitScreen",   "QuitYesButton",
                                    "QuitNoButton",  "ResumeText"};

class PauseOverlayDisplayTest : public PlayLevelDisplayTest
{
protected:
    // The script: the mouse on the ball from frame 100, Escape at 150, then
    // each (frame, x, y) a move there and a click five frames later.
    static std::vector<Event> Script(const std::vector<std::array<std::int32_t, 3>>& clicks)
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
        const std::uint8_t escape = Input::ToVirtualKey(Input::Key::Escape);
        add(100, Event::Kind::Move, BallX, BallY, 0);
        add(150, Event::Kind::KeyDown, 0, 0, escape);
        add(151, Event::Kind::KeyUp, 0, 0, escape);
        for (const auto& [frame, x, y] : clicks)
        {
            const auto at = static_cast<std::uint32_t>(frame);
            add(at, Event::Kind::Move, x, y, 0);
            add(at + 5, Event::Kind::Press, 0, 0, 1);
            add(at + 6, Event::Kind::Release, 0, 0, 1);
        }
        return events;
    }

    GameLevel& Play(const std::vector<std::array<std::int32_t, 3>>& clicks)
    {
        GameLevel& level = EnterPlay(Script(clicks));
        // The menu's intro never ran here: the player ball follows the mouse.
        game->introRunning = 0;
        RunTo(149);
        ASSERT_PLAYING();
        return level;
    }

    void ASSERT_PLAYING() { EXPECT_EQ(Level()->paused, 0); }

    void RunTo(std::uint32_t frame)
    {
        while (FrameNumber() < frame)
        {
            Frame();
        }
    }

    // The overlay objects shown now.
    std::map<std::string, bool> Shown() const
    {
        std::map<std::string, bool> shown;
        for (const char* name : OverlayNames)
        {
            const Velkor::GameObject* object = FindObject<Velkor::GameObject>(name);
            EXPECT_NE(object, nullptr) << name;
            shown[name] = object != nullptr && object->GetVisible();
        }
        return shown;
    }

    static std::map<std::string, bool> Showing(std::initializer_list<const char*> names)
    {
        std::map<std::string, bool> shown;
        for (const char* name : OverlayNames)
        {
            shown[name] = false;
        }
        for (const char* name : names)
        {
            shown[name] = true;
        }
        return shown;
    }

    std::array<std::uint8_t, 3> Flags() const
    {
        return {Level()->paused, Level()->quitDialogOpen, Level()->resumePrompt};
    }
};

const auto PauseShows = {"PauseScreen",  "PauseMouse",    "PausedMouse2",
                         "ResumeButton", "RestartButton", "ExitButton"};

TEST_F(PauseOverlayDisplayTest, ResumeNeedsThePromptAndAClickOnTheBall)
{
    Play({{160, BallX, BallY}, {180, ResumeX, ResumeY}, {200, BallX, BallY}});
    EXPECT_EQ(Shown(), Showing({}));
    RunTo(152);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{1, 0, 0}));
    EXPECT_EQ(Shown(), Showing(PauseShows));
    const Velkor::GameObject* cursor = FindObject<Velkor::GameObject>("PauseMouse");
    EXPECT_FLOAT_EQ(cursor->GetZOrder(), 10.0f);
    EXPECT_FLOAT_EQ(cursor->GetPositionX(), 180.0f);
    EXPECT_FLOAT_EQ(cursor->GetPositionY(), 120.0f);

    RunTo(175);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{1, 0, 0})) << "a click on the ball without the prompt";
    RunTo(190);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{1, 0, 1}));
    EXPECT_EQ(Shown(), Showing({"PauseScreen", "PauseMouse", "PausedMouse2", "ResumeText"}));
    EXPECT_EQ(FindObject<Velkor::Text>("ResumeText")->GetText(), "Return to yourself to continue!");

    RunTo(206);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{0, 0, 0}));
    Frame();
    EXPECT_EQ(Shown(), Showing({}));
    EXPECT_FLOAT_EQ(cursor->GetZOrder(), 0.0f);
}

TEST_F(PauseOverlayDisplayTest, ExitOpensTheQuitDialogWhoseNoClosesItAndYesGoesToTheMenu)
{
    Play({{160, ExitX, ExitY},
          {175, ResumeX, ResumeY},
          {190, NoX, NoY},
          {205, ExitX, ExitY},
          {220, YesX, YesY}});
    game->stage = 3;
    RunTo(170);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{1, 1, 0}));
    EXPECT_EQ(Shown(), Showing({"PauseScreen", "PauseMouse", "PausedMouse2", "QuitScreen", "QuitYesButton",
                                "QuitNoButton"}));
    RunTo(185);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{1, 1, 0})) << "the hidden Resume cannot be clicked";
    RunTo(200);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{1, 0, 0}));
    EXPECT_EQ(Shown(), Showing(PauseShows));
    RunTo(215);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{1, 1, 0}));
    RunTo(240);
    EXPECT_EQ(game->GetCurrentLevelIndex(), 0u);
    EXPECT_EQ(StateName(), "S0");
    EXPECT_EQ(game->stage, 1);
    EXPECT_EQ(game->playerLost, 0);
}

TEST_F(PauseOverlayDisplayTest, RestartStartsTheLevelAfresh)
{
    Play({{160, RestartX, RestartY}});
    const std::uint32_t built = factory->GetLevelsBuilt();
    game->totalScore = 70;
    RunTo(175);
    ASSERT_NE(Level(), nullptr);
    EXPECT_EQ(factory->GetLevelsBuilt(), built + 1) << "a new level object";
    EXPECT_EQ(game->totalScore, 0);
    EXPECT_EQ(game->GetCurrentLevelIndex(), 1u);
    EXPECT_EQ(Flags(), (std::array<std::uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(Shown(), Showing({}));
}

} // namespace
