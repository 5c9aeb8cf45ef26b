#pragma once

// The real game in the tutorial, reached through the level machine as the
// TUTORIAL button would, driven frame by frame by the harness; the pointer
// moves only through the scripted input.
#include "PlayLevelTestSupport.h"

#include "Harness_InputScript.h"
#include "game/Brillow_TutorialClass.h"
#include "game/Brillow_VisibilityClasses.h"

namespace BrillowTest
{

class TutorialDisplayTest : public PlayLevelDisplayTest
{
protected:
    // From the menu to the first frame of the tutorial, the pointer in the
    // middle of the field.
    TutorialClass& EnterTutorial(const std::vector<Harness::InputEvent>& input = {})
    {
        MyLevelFactory::SetFixedSeed(1234);
        Start(input);
        Frame(3);
        PointerAt(0.0f, 0.0f);
        game->tutorialRequested = 1;
        for (int i = 0; i < 200 && Tutorial() == nullptr; ++i)
        {
            Frame();
        }
        EXPECT_NE(Tutorial(), nullptr);
        return *Tutorial();
    }

    TutorialClass* Tutorial() const { return dynamic_cast<TutorialClass*>(game->GetCurrentLevel()); }

    // The pointer over field point (x, y).
    void PointerAt(float x, float y)
    {
        Harness::InputEvent move;
        move.kind = Harness::InputEvent::Kind::Move;
        move.x = static_cast<std::int32_t>(std::lround(x)) + 512;
        move.y = static_cast<std::int32_t>(std::lround(y)) + 384;
        Harness::ApplyInputEvent(move, harness->GetInputSource());
    }

    // The name of the hint's current state.
    template <class Hint> std::string HintState(const char* name) const
    {
        const Hint* hint = FindObject<Hint>(name);
        const auto* state = hint != nullptr ? hint->stateMachine->GetCurrentState() : nullptr;
        return state != nullptr ? state->name : std::string("?");
    }
};

} // namespace BrillowTest
