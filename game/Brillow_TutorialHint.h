#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_StateMachine.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_PlayLevelFlags.h"

#include <array>
#include <cstdint>
#include <string>

// What the tutorial's hint texts share. Each hint is a text with a small
// machine named "stateMachine_0": "S0" waits until the hint's flag on the
// current level has been 1 for the hint's delay, "S1" shows the text for
// its time, and "S2" (the three-state hints) hides it for good, clears the
// flag and reports `done`. The two-state hint goes back from "S1" to "S0"
// and can be shown again. Entering "S0" or "S1" toggles the visibility, so
// a text built visible is hidden by the machine's first update.
enum class HintState : std::uint8_t
{
    S0,
    S1,
    S2,
};

struct HintRecipe
{
    PlayFlag flag;
    // Seconds the flag must stay raised before the text shows.
    float delay;
    // Seconds the text shows.
    float shown;
    // The states in the order the machine stores them (the index a saved
    // machine records); a two-state hint uses the first two.
    std::array<HintState, 3> order;
    std::uint32_t stateCount;
    // The flag counts only while the game is at stage 2.
    bool needsStageTwo;
};

bool IsGameAtStage(std::int32_t stage);

// `Derived` names its recipe `Recipe` and may replace EnterS1 (entering the
// shown state) and, for three states, OnFinished (the hint's own extra).
template <class Derived> class TutorialHint : public Velkor::Text
{
public:
    using Machine = Velkor::StateMachine<Derived>;

    // The machine with its own owner.
    void Update(float dt) override
    {
        if (stateMachine)
        {
            stateMachine->Update(dt);
        }
    }

    bool IsFlagRaised(float)
    {
        return PlayLevelFlags::Read(Derived::Recipe.flag) == 1 &&
               (!Derived::Recipe.needsStageTwo || IsGameAtStage(2));
    }
    bool IsAlways(float) { return true; }
    void ToggleVisibility(float) { SetVisible(!GetVisible()); }
    void EnterS1(float dt) { ToggleVisibility(dt); }

    Core::RefPtr<Machine> stateMachine;

protected:
    TutorialHint(const std::string& text, const std::string& fontPath) : Velkor::Text(text, fontPath) {}
    // The copy's machine is the derived class's to make (with itself as
    // owner).
    TutorialHint(const TutorialHint& other) : Velkor::Text(other) {}
    ~TutorialHint() override = default;

    // The machine of `owner`'s recipe, owned by `owner`.
    static Core::RefPtr<Machine> BuildMachine(Derived* owner)
    {
        constexpr const HintRecipe& recipe = Derived::Recipe;
        std::array<std::uint32_t, 3> index{};
        for (std::uint32_t i = 0; i < recipe.stateCount; ++i)
        {
            index[static_cast<std::size_t>(recipe.order[i])] = i;
        }
        const bool twoStates = recipe.stateCount == 2;
        typename Machine::StateList states;
        for (std::uint32_t i = 0; i < recipe.stateCount; ++i)
        {
            Core::RefPtr<Velkor::State<Derived>> state(new ("Brillow_TutorialHint", __LINE__)
                                                           Velkor::State<Derived>(0.0f));
            typename Machine::Transition leave;
            switch (recipe.order[i])
            {
            case HintState::S0:
                state->name = "S0";
                state->SetEnterAction(&Derived::ToggleVisibility);
                leave = {index[1], &Derived::IsFlagRaised, recipe.delay};
                state->transitions.push_back(leave);
                break;
            case HintState::S1:
                state->name = "S1";
                state->SetEnterAction(&Derived::EnterS1);
                leave = {twoStates ? index[0] : index[2], &Derived::IsAlways, recipe.shown};
                state->transitions.push_back(leave);
                break;
            case HintState::S2:
                // Final.
                state->name = "S2";
                if constexpr (Derived::Recipe.stateCount == 3)
                {
                    state->SetEnterAction(&Derived::Finish);
                }
                break;
            }
            states.emplace_back(state.Get());
        }
        Core::RefPtr<Machine> machine(new ("Brillow_TutorialHint", __LINE__)
                                          Machine(states, index[0], 0.0f, owner));
        machine->name = "stateMachine_0";
        return machine;
    }
};

// A hint shown once: when its time is up it hides, clears its flag and
// sets `done`, which the tutorial's script reads and clears.
template <class Derived> class FinishingHint : public TutorialHint<Derived>
{
public:
    void OnStart() override { done = 0; }

    void Finish(float dt)
    {
        this->ToggleVisibility(dt);
        PlayLevelFlags::Write(Derived::Recipe.flag, 0);
        done = 1;
        static_cast<Derived*>(this)->OnFinished();
    }
    void OnFinished() {}

    std::uint8_t done = 0;

protected:
    using TutorialHint<Derived>::TutorialHint;
    ~FinishingHint() override = default;
};

// The skeleton of a hint class: made by name (empty font and text) or with
// a text and font, each with a fresh machine; a copy gets a copy of the
// machine that it owns; saved and loaded as the text, then the machine.
#define BRILLOW_DEFINE_HINT_CLASS(Class, Base)                                                               \
    BRILLOW_DEFINE_GAME_CLASS(Class)                                                                         \
    Class::Class() : Class(std::string(), std::string()) {}                                                  \
    Class::Class(const std::string& text, const std::string& fontPath) : Base(text, fontPath)                \
    {                                                                                                        \
        stateMachine = BuildMachine(this);                                                                   \
    }                                                                                                        \
    Class::Class(const Class& other) : Base(other)                                                           \
    {                                                                                                        \
        stateMachine = GameClass::CloneMachine(other.stateMachine, this);                                    \
    }                                                                                                        \
    Class::~Class() = default;                                                                               \
    void Class::Write(Core::File& file) const                                                                \
    {                                                                                                        \
        Velkor::Text::Write(file);                                                                           \
        GameClass::SaveMachine(stateMachine, file);                                                          \
    }                                                                                                        \
    void Class::Read(Core::File& file)                                                                       \
    {                                                                                                        \
        Velkor::Text::Read(file);                                                                            \
        GameClass::LoadMachine(stateMachine, file);                                                          \
    }

#define BRILLOW_DECLARE_HINT_CLASS(Class)                                                                    \
    BRILLOW_DECLARE_GAME_CLASS(Class, Velkor::Text)                                                          \
                                                                                                             \
public:                                                                                                      \
    Class();                                                                                                 \
    Class(const std::string& text, const std::string& fontPath);                                             \
    Class(const Class& other);                                                                               \
    ~Class() override;
