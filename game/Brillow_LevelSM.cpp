// The level machine: nine states, one per screen the game shows, whose
// enter actions ask the framework for the level of that screen, and the
// transitions between them, driven by the game data's request bytes.
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_VisibilityClasses.h"
#include "input/Input_KeyCodes.h"

#include <vector>

namespace
{

// Level indexes of the level factory.
enum LevelIndex : std::uint32_t
{
    MainMenuLevel = 0,
    PlayLevel = 1,
    LoseLevel = 2,
    WinLevel = 3,
    TutorialLevel = 4,
    CreditsLevel = 5,
    LoadingLevel = 6,
    OptionsLevel = 7,
    LoseScreenLevel = 8,
};

// State indexes of the machine.
enum StateIndex : std::uint32_t
{
    Loading = 0,
    S0 = 1,
    Options = 2,
    Credits = 3,
    LoseA = 4,
    Win = 5,
    Level1 = 6,
    LoseScreeen = 7,
    S4 = 8,
};

struct TransitionRow
{
    StateIndex target;
    MyGame::LevelMachine::Transition::Condition condition;
};

struct StateRow
{
    const char* name;
    float minimumTime;
    MyGame::LevelMachine::Action enter;
    MyGame::LevelMachine::Action exit;
    std::vector<TransitionRow> transitions;
};

Visibility9Class* FindNextLevelHint()
{
    return FindObject<Visibility9Class>("Nextlevel");
}

} // namespace

Core::RefPtr<MyGame::LevelMachine> MyGame::BuildLevelSM()
{
    return MakeLevelSM(this);
}

Core::RefPtr<MyGame::LevelMachine> MyGame::MakeLevelSM(MyGame* owner)
{
    // In evaluation order within each state; every hold time is 0, so a
    // transition fires on the first frame its condition holds. In the main
    // menu the tutorial wins over credits, credits over start, start over
    // options; in the play level winning is tested before losing.
    const StateRow rows[] = {
        {"Loading", 1.0f, &MyGame::EnterLoading, nullptr, {{Level1, &MyGame::IsAlways}}},
        {"S0",
         0.0f,
         &MyGame::EnterMainMenu,
         &MyGame::ExitMainMenu,
         {{S4, &MyGame::IsTutorialRequested},
          {Credits, &MyGame::IsCreditsRequested},
          {Loading, &MyGame::IsStartRequested},
          {Options, &MyGame::IsOptionsRequested}}},
        {"Options", 0.0f, &MyGame::EnterOptions, nullptr, {{S0, &MyGame::IsBackToMenuRequested}}},
        {"Credits",
         0.0f,
         &MyGame::EnterCredits,
         &MyGame::ExitCredits,
         {{S0, &MyGame::IsBackToMenuRequested}}},
        {"LoseA", 1.0f, &MyGame::EnterLoseA, nullptr, {{LoseScreeen, &MyGame::IsAlways}}},
        {"Win", 0.0f, &MyGame::EnterWin, nullptr, {{S0, &MyGame::IsBackToMenuRequested}}},
        {"level1",
         0.0f,
         &MyGame::EnterPlay,
         &MyGame::ExitPlay,
         {{Win, &MyGame::IsGameWon}, {LoseA, &MyGame::IsGameLost}, {S0, &MyGame::IsBackToMenuRequested}}},
        {"LoseScreeen", 0.0f, &MyGame::EnterLoseScreen, nullptr, {{S0, &MyGame::IsBackToMenuRequested}}},
        {"S4",
         0.0f,
         &MyGame::EnterTutorial,
         &MyGame::ExitTutorial,
         {{S0, &MyGame::IsTutorialFinished}, {S0, &MyGame::IsEscapeTriggered}}},
    };
    LevelMachine::StateList states;
    states.reserve(std::size(rows));
    for (const StateRow& row : rows)
    {
        Core::RefPtr<Velkor::State<MyGame>> state(new ("Brillow_LevelSM", __LINE__)
                                                      Velkor::State<MyGame>(row.minimumTime));
        state->name = row.name;
        state->SetEnterAction(row.enter);
        if (row.exit != nullptr)
        {
            state->SetExitAction(row.exit);
        }
        for (const TransitionRow& transition : row.transitions)
        {
            LevelMachine::Transition record;
            record.targetIndex = transition.target;
            record.condition = transition.condition;
            record.holdTime = 0.0f;
            state->transitions.push_back(record);
        }
        states.emplace_back(state.Get());
    }
    Core::RefPtr<LevelMachine> machine(new ("Brillow_LevelSM", __LINE__)
                                           LevelMachine(states, S0, 0.0f, owner));
    machine->name = "LevelSM";
    return machine;
}

bool MyGame::IsAlways(float)
{
    return true;
}

bool MyGame::IsTutorialRequested(float)
{
    return tutorialRequested == 1;
}

bool MyGame::IsCreditsRequested(float)
{
    return creditsRequested != 0;
}

bool MyGame::IsStartRequested(float)
{
    return startRequested == 1;
}

bool MyGame::IsOptionsRequested(float)
{
    return optionsRequested != 0;
}

bool MyGame::IsBackToMenuRequested(float)
{
    return backToMenuRequested != 0;
}

bool MyGame::IsGameWon(float)
{
    return stage > 5;
}

// A loss reported before the play level's opening phase has ended waits
// for it.
bool MyGame::IsGameLost(float)
{
    return playerLost != 0 && playStarted == 1;
}

bool MyGame::IsTutorialFinished(float)
{
    const Visibility9Class* hint = FindNextLevelHint();
    return hint != nullptr && hint->doneForMenu == 1;
}

bool MyGame::IsEscapeTriggered(float)
{
    return GetKeyboard() && GetKeyboard()->IsTriggered(Input::Key::Escape);
}

void MyGame::EnterLoading(float)
{
    ChangeLevel(LoadingLevel);
}

// Every return to the main menu starts the next run at stage 1.
void MyGame::EnterMainMenu(float)
{
    ChangeLevel(MainMenuLevel);
    levelScore = 0;
    startRequested = 0;
    creditsRequested = 0;
    optionsRequested = 0;
    stage = 1;
}

void MyGame::ExitMainMenu(float)
{
    tutorialRequested = 0;
    backToMenuRequested = 0;
}

void MyGame::EnterOptions(float)
{
    ChangeLevel(OptionsLevel);
}

void MyGame::EnterCredits(float)
{
    ChangeLevel(CreditsLevel);
    backToMenuRequested = 0;
}

void MyGame::ExitCredits(float)
{
    creditsRequested = 0;
}

void MyGame::EnterLoseA(float)
{
    ChangeLevel(LoseLevel);
}

void MyGame::EnterWin(float)
{
    ChangeLevel(WinLevel);
}

void MyGame::EnterPlay(float)
{
    ChangeLevel(PlayLevel);
}

void MyGame::ExitPlay(float)
{
    playerLost = 0;
}

void MyGame::EnterLoseScreen(float)
{
    ChangeLevel(LoseScreenLevel);
}

void MyGame::EnterTutorial(float)
{
    ChangeLevel(TutorialLevel);
}

void MyGame::ExitTutorial(float)
{
    if (Visibility9Class* hint = FindNextLevelHint())
    {
        hint->doneForMenu = 0;
    }
}
