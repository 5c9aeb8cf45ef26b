// The tutorial level and its hints on the real game: the script's cap, the
// score texts, dropped balls, the one black hole at a time, and the hints'
// timing, their flags and their saved machines.
#include "TutorialTestSupport.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_BlackHoleClassT.h"
#include "game/Brillow_SpikeBallT.h"
#include "game/Brillow_SpriteMouseClassT.h"
#include "game/Brillow_ballT.h"
#include "game/Brillow_whiteballT.h"
#include "input/Input_KeyCodes.h"

#include <algorithm>
#include <functional>

namespace
{

using namespace BrillowTest;

using TutorialLevelDisplayTest = TutorialDisplayTest;

std::string TextOf(const char* name)
{
    const Velkor::Text* text = FindObject<Velkor::Text>(name);
    return text != nullptr ? text->GetText() : std::string("(none)");
}

// With 40 coloured, white and spike balls out the script takes no step,
// not even the one a finished hint asks for; with 39 it does.
TEST_F(TutorialLevelDisplayTest, TheScriptRestsWhileFortyBallsAreOut)
{
    TutorialClass& tutorial = EnterTutorial();
    const struct
    {
        std::size_t coloured;
        std::size_t white;
        std::size_t spike;
        bool acts;
    } cases[] = {{40, 0, 0, false}, {0, 20, 20, false}, {14, 13, 13, false}, {13, 13, 13, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.coloured << " + " << c.white << " + " << c.spike);
        DestroyAll<ballT>("bgc");
        DestroyAll<whiteballT>("wb");
        DestroyAll<SpikeBallT>("ss");
        FindObject<Visibility1Class>("nextblue")->done = 0;
        Frame();
        AddClones<ballT>("ball", "bgc", c.coloured, 250.0f, -150.0f);
        AddClones<whiteballT>("whiteball", "wb", c.white, -250.0f, 150.0f);
        AddClones<SpikeBallT>("spikeball", "ss", c.spike, -250.0f, -150.0f);
        Frame();
        tutorial.hintNextEnemy = 0;
        FindObject<Visibility1Class>("nextblue")->done = 1;
        Frame();
        EXPECT_EQ(tutorial.hintNextEnemy, c.acts ? 1 : 0);
        EXPECT_EQ(FindObject<Visibility1Class>("nextblue")->done, c.acts ? 0 : 1);
        Frame();
        EXPECT_EQ(Count<whiteballT>("wb") > c.white, c.acts);
    }
}

TEST_F(TutorialLevelDisplayTest, TheTextsShowTheScoresAndTheStage)
{
    EnterTutorial();
    Frame(2);
    const std::pair<const char*, const char*> atStart[] = {{"nextlevelText", "10To Next Level"},
                                                           {"levelscoreText", "0"},
                                                           {"scoreText", "SCORE: 0"},
                                                           {"debugtext", "1"}};
    for (const auto& [name, text] : atStart)
    {
        EXPECT_EQ(TextOf(name), text) << name;
    }
    // A negative stage score (the tutorial's lasers leave one) shows as 0
    // from the next frame on.
    game->levelScore = -25;
    Frame();
    EXPECT_EQ(game->levelScore, 0);
    EXPECT_EQ(TextOf("levelscoreText"), "0");
    game->levelScore = 7;
    Frame(2);
    EXPECT_EQ(TextOf("levelscoreText"), "7");
    EXPECT_EQ(TextOf("nextlevelText"), "3To Next Level");
}

// Up to five points drop as balls at the player's position plus the
// offset; without points the stage score goes to -1 until the next frame.
TEST_F(TutorialLevelDisplayTest, DroppedBallsComeOutOfTheStageScore)
{
    TutorialClass& tutorial = EnterTutorial();
    Frame();
    const SpriteMouseClassT* player = FindObject<SpriteMouseClassT>("playerball");
    ASSERT_NE(player, nullptr);
    const struct
    {
        std::int32_t points;
        std::size_t dropped;
        std::int32_t left;
    } cases[] = {{3, 3, 0}, {8, 5, 3}, {5, 5, 0}, {0, 0, -1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.points);
        DestroyAll<ballT>("bgc");
        Frame();
        const Math::Vector2D at = player->GetPosition() + Math::Vector2D(150.0f, 100.0f);
        game->levelScore = c.points;
        tutorial.DropBalls(150.0f, 100.0f);
        EXPECT_EQ(game->levelScore, c.left);
        Frame();
        const std::vector<ballT*> balls = All<ballT>("bgc");
        EXPECT_EQ(balls.size(), c.dropped);
        for (const ballT* dropped : balls)
        {
            EXPECT_NEAR(dropped->GetPositionX(), at.x, 15.0f);
            EXPECT_NEAR(dropped->GetPositionY(), at.y, 15.0f);
        }
        EXPECT_GE(game->levelScore, 0);
    }
}

TEST_F(TutorialLevelDisplayTest, ASecondBlackHoleWaitsUntilTheFirstHasEnded)
{
    TutorialClass& tutorial = EnterTutorial();
    Frame();
    tutorial.SpawnBlackHole();
    tutorial.SpawnBlackHole();
    Frame();
    EXPECT_EQ(Count<BlackHoleClassT>("bhpu"), 1u);
    EXPECT_EQ(tutorial.blackHoleAllowed, 0);
    tutorial.SpawnBlackHole();
    Frame();
    EXPECT_EQ(Count<BlackHoleClassT>("bhpu"), 1u);
    // Untouched it ends after 300 frames, opened after 240 more.
    for (int i = 0; i < 600 && Count<BlackHoleClassT>("bhpu") != 0; ++i)
    {
        Frame();
    }
    ASSERT_EQ(Count<BlackHoleClassT>("bhpu"), 0u);
    EXPECT_EQ(tutorial.blackHoleAllowed, 1);
    EXPECT_EQ(tutorial.blackHoleActive, 0u);
    tutorial.SpawnBlackHole();
    Frame();
    EXPECT_EQ(Count<BlackHoleClassT>("bhpu"), 1u);
}

bool IsShown(const char* name)
{
    const Velkor::Text* text = FindObject<Velkor::Text>(name);
    return text != nullptr && text->GetVisible();
}

// The frame (counted from now) in which `shown` first gives `visible`.
std::uint32_t FramesUntil(const std::function<void()>& frame, const std::function<bool()>& shown,
                          std::uint32_t limit)
{
    for (std::uint32_t i = 1; i <= limit; ++i)
    {
        frame();
        if (shown())
        {
            return i;
        }
    }
    return 0;
}

TEST_F(TutorialLevelDisplayTest, HintsShowForTheirFlagAfterTheirDelay)
{
    TutorialClass& tutorial = EnterTutorial();
    const auto frame = [this] { Frame(); };
    const auto visible = [](const char* name) { return [name] { return IsShown(name); }; };
    const auto hidden = [](const char* name) { return [name] { return !IsShown(name); }; };

    // "intro" is raised by the level's start and can be raised again.
    EXPECT_FALSE(IsShown("intro"));
    const std::uint32_t introShown = FramesUntil(frame, visible("intro"), 120);
    EXPECT_NEAR(introShown, 60, 2);
    EXPECT_EQ(tutorial.hintIntro, 0);
    EXPECT_NEAR(FramesUntil(frame, hidden("intro"), 300), 240, 1);
    tutorial.hintIntro = 1;
    EXPECT_NEAR(FramesUntil(frame, visible("intro"), 120), 60, 1);

    // "more" has no delay: it shows in the update that first sees its flag.
    tutorial.hintMore = 1;
    Frame();
    EXPECT_TRUE(IsShown("more"));
    EXPECT_EQ(HintState<Visibility4Class>("more"), "S1");

    // A finished hint stays finished: raising its flag again does nothing.
    tutorial.hintObstacles = 1;
    const std::uint32_t obstaclesShown = FramesUntil(frame, visible("obstacles"), 120);
    EXPECT_NEAR(obstaclesShown, 60, 1);
    EXPECT_NEAR(FramesUntil(frame, hidden("obstacles"), 300), 240, 1);
    EXPECT_EQ(HintState<Visibility6Class>("obstacles"), "S2");
    EXPECT_EQ(tutorial.hintObstacles, 0);
    tutorial.hintObstacles = 1;
    Frame(400);
    EXPECT_EQ(HintState<Visibility6Class>("obstacles"), "S2");
    EXPECT_FALSE(IsShown("obstacles"));
    EXPECT_EQ(tutorial.hintObstacles, 1);

    // "Nextlevel" also needs stage 2.
    tutorial.hintNextLevel = 1;
    Frame(120);
    EXPECT_EQ(HintState<Visibility9Class>("Nextlevel"), "S0");
    EXPECT_FALSE(IsShown("Nextlevel"));
    game->stage = 2;
    EXPECT_NEAR(FramesUntil(frame, visible("Nextlevel"), 120), 60, 1);
}

// "Invincible" finishing raises "Nextlevel" and completes the stage; the
// level then sends the white laser, which raises the stage after 630
// frames, and "Nextlevel" shows.
TEST_F(TutorialLevelDisplayTest, InvincibleCompletesTheFirstStage)
{
    TutorialClass& tutorial = EnterTutorial();
    tutorial.hintInvincible = 1;
    for (int i = 0; i < 400 && HintState<Visibility8Class>("Invincible") != "S2"; ++i)
    {
        Frame();
    }
    ASSERT_EQ(HintState<Visibility8Class>("Invincible"), "S2");
    Frame();
    EXPECT_EQ(tutorial.hintNextLevel, 1);
    EXPECT_EQ(tutorial.stageComplete, 1);
    EXPECT_EQ(tutorial.whiteLazerSpawned, 1);
    for (int i = 0; i < 700 && game->stage == 1; ++i)
    {
        Frame();
    }
    EXPECT_EQ(game->stage, 2);
    EXPECT_EQ(tutorial.stageComplete, 0);
    Frame(62);
    EXPECT_TRUE(IsShown("Nextlevel"));
}

// Escape while "nextenemy" shows: the main menu is the current level within
// two frames.
TEST_F(TutorialLevelDisplayTest, EscapeWhileAHintShowsLeadsBackToTheMainMenu)
{
    TutorialClass& tutorial = EnterTutorial();
    tutorial.hintNextEnemy = 1;
    for (int i = 0; i < 90 && !IsShown("nextenemy"); ++i)
    {
        Frame();
    }
    ASSERT_TRUE(IsShown("nextenemy"));
    Harness::InputEvent key;
    key.kind = Harness::InputEvent::Kind::KeyDown;
    key.virtualKey = Input::ToVirtualKey(Input::Key::Escape);
    Harness::ApplyInputEvent(key, harness->GetInputSource());
    std::uint32_t frames = 0;
    while (frames < 10 && game->GetCurrentLevelIndex() != 0)
    {
        Frame();
        ++frames;
    }
    EXPECT_EQ(game->GetCurrentLevelIndex(), 0u);
    EXPECT_LE(frames, 2u);
    EXPECT_EQ(StateName(), "S0");
}

// Each hint class stores its states in its own order: the index a saved
// machine records is that order's, and a fresh object of the class reads
// it back. A copy owns a copy of the machine.
template <class Hint> void CheckSavedStateOrder(const char* className, const std::vector<std::string>& order)
{
    Core::RefPtr<Hint> hint(dynamic_cast<Hint*>(Core::CreateObject(className)));
    ASSERT_TRUE(hint);
    auto& machine = *hint->stateMachine;
    EXPECT_EQ(machine.name, "stateMachine_0");
    std::vector<std::string> names;
    for (const auto& state : machine.GetStates())
    {
        names.push_back(state->name);
        EXPECT_EQ(state->minimumTime, 0.0f);
    }
    ASSERT_EQ(names, order);
    EXPECT_EQ(machine.GetState(machine.GetInitialStateIndex())->name, "S0");
    const auto s1 = static_cast<std::uint32_t>(std::find(names.begin(), names.end(), "S1") - names.begin());
    machine.Update(1.0f / 60.0f);
    machine.SetPendingStateIndex(s1);
    machine.Update(1.0f / 60.0f);

    Core::MemoryFile saved;
    hint->Write(saved);
    Core::RefPtr<Hint> fresh(dynamic_cast<Hint*>(Core::CreateObject(className)));
    Core::MemoryFile reader(saved.GetData(), saved.GetSize());
    fresh->Read(reader);
    ASSERT_FALSE(reader.Failed());
    EXPECT_EQ(fresh->stateMachine->GetCurrentStateIndex(), s1);
    EXPECT_EQ(fresh->stateMachine->GetCurrentState()->name, "S1");

    Core::RefPtr<Hint> copy(static_cast<Hint*>(hint->Clone()));
    EXPECT_NE(copy->stateMachine.Get(), hint->stateMachine.Get());
    EXPECT_EQ(copy->stateMachine->GetOwner(), copy.Get());
    EXPECT_EQ(copy->stateMachine->GetCurrentStateIndex(), s1);
}

TEST_F(TutorialLevelDisplayTest, EachHintSavesTheIndexOfItsOwnStateOrder)
{
    EnterTutorial();
    using Check = void (*)(const char*, const std::vector<std::string>&);
    const struct
    {
        const char* className;
        Check check;
        std::vector<std::string> order;
    } hints[] = {
        {"VisibilityClass", &CheckSavedStateOrder<VisibilityClass>, {"S0", "S1"}},
        {"Visibility1Class", &CheckSavedStateOrder<Visibility1Class>, {"S1", "S2", "S0"}},
        {"Visibility2Class", &CheckSavedStateOrder<Visibility2Class>, {"S0", "S1", "S2"}},
        {"Visibility3Class", &CheckSavedStateOrder<Visibility3Class>, {"S0", "S1", "S2"}},
        {"Visibility4Class", &CheckSavedStateOrder<Visibility4Class>, {"S0", "S1", "S2"}},
        {"Visibility5Class", &CheckSavedStateOrder<Visibility5Class>, {"S1", "S0", "S2"}},
        {"Visibility6Class", &CheckSavedStateOrder<Visibility6Class>, {"S0", "S1", "S2"}},
        {"Visibility7Class", &CheckSavedStateOrder<Visibility7Class>, {"S0", "S1", "S2"}},
        {"Visibility8Class", &CheckSavedStateOrder<Visibility8Class>, {"S1", "S0", "S2"}},
        {"Visibility9Class", &CheckSavedStateOrder<Visibility9Class>, {"S1", "S2", "S0"}},
    };
    for (const auto& hint : hints)
    {
        SCOPED_TRACE(hint.className);
        hint.check(hint.className, hint.order);
    }
}

} // namespace
