#pragma once

#include "core/Core_File.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{

// States and state machines over an owner class T: actions and conditions
// are member functions of T, called on the owner handed to Update. A machine
// is itself a state, so machines nest.
//
// A state leaves through its transitions, evaluated in order once its
// minimum time has passed: a transition fires when its condition has been
// true for at least its hold time without interruption (each true frame
// adds that frame's dt first, so a hold time of 0 fires on the first true
// frame). A machine enters its initial state on its first update; on the
// frame of a transition the new state is entered and updated with the same
// dt. Leaving a nested machine resets it.
//
// Archives hold values only (transition timers, names, minimum times, a
// machine's indices and time in state), no counts and no type tags: a load
// restores a machine that the owner's code has built the same way. A record
// that is short or names a state the machine does not have fails the
// archive and changes nothing.

template <class T> struct StateTransition
{
    using Condition = bool (T::*)(float dt);

    // Index of the state to switch to in the enclosing machine.
    std::uint32_t targetIndex = 0;
    Condition condition = nullptr;
    // Seconds the condition must stay true.
    float holdTime = 0.0f;
    // Seconds it has been true without interruption.
    float elapsedTime = 0.0f;
};

namespace StateMachineDetail
{

// What a load read for one state or machine, before anything is changed.
struct ReadValues
{
    struct Transition
    {
        std::uint32_t targetIndex = 0;
        float holdTime = 0.0f;
        float elapsedTime = 0.0f;
    };
    std::vector<Transition> transitions;
    std::string name;
    float minimumTime = 0.0f;
    float timeInState = 0.0f;
    std::uint32_t currentIndex = 0;
    std::uint32_t pendingIndex = 0;
    std::uint32_t initialIndex = 0;
    bool firstUpdate = false;
};

} // namespace StateMachineDetail

template <class T> class StateBase : public Core::Object
{
public:
    using Action = void (T::*)(float dt);
    using Transition = StateTransition<T>;

    explicit StateBase(float minimumSeconds) : minimumTime(minimumSeconds) {}

    virtual void SetEnterAction(Action action) { enterAction = action; }
    virtual void SetExitAction(Action action) { exitAction = action; }
    // A new object of the same kind with the same values.
    virtual StateBase* Copy() const = 0;
    // Zeroes every transition's elapsed time.
    virtual void Reset(T*, float)
    {
        for (Transition& transition : transitions)
        {
            transition.elapsedTime = 0.0f;
        }
    }
    virtual void Update(T* owner, float dt) = 0;
    virtual void Enter(T* owner, float dt) { Run(enterAction, owner, dt); }
    virtual void Exit(T* owner, float dt) { Run(exitAction, owner, dt); }
    // The target of the first transition that fires, after the state's
    // Reset; -1 when none fires.
    virtual std::int32_t EvaluateTransitions(T* owner, float dt)
    {
        for (Transition& transition : transitions)
        {
            if (owner == nullptr || transition.condition == nullptr || !(owner->*transition.condition)(dt))
            {
                transition.elapsedTime = 0.0f;
                continue;
            }
            transition.elapsedTime += dt;
            if (transition.elapsedTime >= transition.holdTime)
            {
                transition.elapsedTime = 0.0f;
                const std::uint32_t target = transition.targetIndex;
                Reset(owner, dt);
                return static_cast<std::int32_t>(target);
            }
        }
        return -1;
    }

    void Write(Core::File& file) const override
    {
        for (const Transition& transition : transitions)
        {
            file << transition.targetIndex << transition.holdTime << transition.elapsedTime;
        }
        file << name << minimumTime;
    }

    void Read(Core::File& file) override
    {
        std::vector<StateMachineDetail::ReadValues> values;
        if (file.Failed() || !ReadValues(file, values))
        {
            return;
        }
        std::size_t next = 0;
        CommitValues(values, next);
    }

    // Evaluated in order; the owner's code appends them.
    std::vector<Transition> transitions;
    std::string name;
    Action enterAction = nullptr;
    Action exitAction = nullptr;
    // Seconds in the state before its transitions are evaluated.
    float minimumTime;

protected:
    static void Run(Action action, T* owner, float dt)
    {
        if (action != nullptr && owner != nullptr)
        {
            (owner->*action)(dt);
        }
    }

    // Reads this object's record (and its states') into `values` without
    // changing anything; false, with the archive failed, for a short or
    // damaged record.
    [[nodiscard]] virtual bool ReadValues(Core::File& file,
                                          std::vector<StateMachineDetail::ReadValues>& values) const
    {
        StateMachineDetail::ReadValues read;
        read.transitions.resize(transitions.size());
        for (auto& transition : read.transitions)
        {
            file >> transition.targetIndex >> transition.holdTime >> transition.elapsedTime;
        }
        file >> read.name >> read.minimumTime;
        if (file.Failed())
        {
            return false;
        }
        values.push_back(std::move(read));
        return true;
    }

    // Takes the values ReadValues read, in the same order.
    virtual void CommitValues(const std::vector<StateMachineDetail::ReadValues>& values, std::size_t& next)
    {
        const StateMachineDetail::ReadValues& read = values[next++];
        for (std::size_t i = 0; i < transitions.size(); ++i)
        {
            transitions[i].targetIndex = read.transitions[i].targetIndex;
            transitions[i].holdTime = read.transitions[i].holdTime;
            transitions[i].elapsedTime = read.transitions[i].elapsedTime;
        }
        name = read.name;
        minimumTime = read.minimumTime;
    }

    template <class> friend class StateMachine;
};

template <class T> class State : public StateBase<T>
{
public:
    using typename StateBase<T>::Action;

    explicit State(float minimumSeconds = 0.0f) : StateBase<T>(minimumSeconds) {}

    State* Copy() const override { return new ("Velkor_StateMachine", __LINE__) State(*this); }
    void Update(T* owner, float dt) override { StateBase<T>::Run(updateAction, owner, dt); }
    virtual void SetUpdateAction(Action action) { updateAction = action; }

    Action updateAction = nullptr;
};

template <class T> class StateMachine : public StateBase<T>
{
public:
    using StateList = std::vector<Core::RefPtr<StateBase<T>>>;
    static constexpr std::uint32_t NoState = 0xFFFFFFFF;

    StateMachine(const StateList& states, std::uint32_t initialIndex, float minimumSeconds, T* owner)
        : StateBase<T>(minimumSeconds), states_(states), owner_(owner), currentIndex_(initialIndex),
          initialIndex_(initialIndex)
    {
    }

    // The values of `other` with a copy of each of its states, so the two
    // share no state. The copy still names the old owner (see SetOwner).
    StateMachine(const StateMachine& other)
        : StateBase<T>(other), owner_(other.owner_), timeInState_(other.timeInState_),
          currentIndex_(other.currentIndex_), pendingIndex_(other.pendingIndex_),
          initialIndex_(other.initialIndex_), firstUpdate_(other.firstUpdate_)
    {
        states_.reserve(other.states_.size());
        for (const Core::RefPtr<StateBase<T>>& state : other.states_)
        {
            states_.emplace_back(state ? state->Copy() : nullptr);
        }
    }

    StateMachine* Copy() const override { return new ("Velkor_StateMachine", __LINE__) StateMachine(*this); }

    using StateBase<T>::Reset;
    using StateBase<T>::Update;

    // Back to the initial state, entered again at the next update; every
    // state is reset (nested machines included).
    void Reset(T* owner, float dt) override
    {
        timeInState_ = 0.0f;
        currentIndex_ = initialIndex_;
        firstUpdate_ = true;
        pendingIndex_ = NoState;
        for (const Core::RefPtr<StateBase<T>>& state : states_)
        {
            if (state)
            {
                state->Reset(owner, dt);
            }
        }
    }

    // One step; a machine without a current state does nothing.
    void Update(T* owner, float dt) override
    {
        StateBase<T>* current = GetCurrentState();
        if (current == nullptr)
        {
            return;
        }
        if (firstUpdate_)
        {
            timeInState_ = 0.0f;
            firstUpdate_ = false;
            current->Enter(owner, dt);
            current->Update(owner, dt);
            return;
        }
        if (pendingIndex_ != NoState)
        {
            const std::uint32_t pending = pendingIndex_;
            pendingIndex_ = NoState;
            if (StateBase<T>* next = GetState(pending))
            {
                timeInState_ = 0.0f;
                current->Exit(owner, dt);
                currentIndex_ = pending;
                next->Enter(owner, dt);
                next->Update(owner, dt);
                return;
            }
        }
        timeInState_ += dt;
        if (current->minimumTime <= timeInState_)
        {
            const std::int32_t result = current->EvaluateTransitions(owner, dt);
            // A transition to a state the machine does not have does not fire.
            StateBase<T>* next = result != -1 ? GetState(static_cast<std::uint32_t>(result)) : nullptr;
            if (next != nullptr)
            {
                timeInState_ = 0.0f;
                current->Exit(owner, dt);
                currentIndex_ = static_cast<std::uint32_t>(result);
                next->Enter(owner, dt);
                current = next;
            }
        }
        current->Update(owner, dt);
    }

    // A machine left by its enclosing machine resets; its exit action does
    // not run.
    void Exit(T* owner, float dt) override { Reset(owner, dt); }

    // Through the machine's own owner; nothing without one.
    void Update(float dt)
    {
        if (owner_ != nullptr)
        {
            Update(owner_, dt);
        }
    }
    void Reset(float dt)
    {
        if (owner_ != nullptr)
        {
            Reset(owner_, dt);
        }
    }

    void Write(Core::File& file) const override
    {
        for (const Core::RefPtr<StateBase<T>>& state : states_)
        {
            if (state)
            {
                state->Write(file);
            }
        }
        file << timeInState_ << currentIndex_ << pendingIndex_ << initialIndex_ << firstUpdate_;
    }

    // The owner of this machine and of every machine nested in it (a copied
    // owner re-points its machine).
    void SetOwner(T* owner)
    {
        owner_ = owner;
        for (const Core::RefPtr<StateBase<T>>& state : states_)
        {
            if (auto* machine = dynamic_cast<StateMachine*>(state.Get()))
            {
                machine->SetOwner(owner);
            }
        }
    }
    T* GetOwner() const { return owner_; }

    // The next update switches to `index` whatever the transitions say;
    // NoState cancels. An index outside the states is ignored.
    void SetPendingStateIndex(std::uint32_t index)
    {
        if (index == NoState || index < states_.size())
        {
            pendingIndex_ = index;
        }
    }
    std::uint32_t GetPendingStateIndex() const { return pendingIndex_; }
    std::uint32_t GetCurrentStateIndex() const { return currentIndex_; }
    std::uint32_t GetInitialStateIndex() const { return initialIndex_; }
    float GetTimeInState() const { return timeInState_; }
    bool IsFirstUpdate() const { return firstUpdate_; }
    const StateList& GetStates() const { return states_; }
    // Null outside the states.
    StateBase<T>* GetState(std::uint32_t index) const
    {
        return index < states_.size() ? states_[index].Get() : nullptr;
    }
    StateBase<T>* GetCurrentState() const { return GetState(currentIndex_); }

protected:
    bool ReadValues(Core::File& file, std::vector<StateMachineDetail::ReadValues>& values) const override
    {
        const std::size_t own = values.size();
        values.emplace_back();
        for (const Core::RefPtr<StateBase<T>>& state : states_)
        {
            if (state && !state->ReadValues(file, values))
            {
                return false;
            }
        }
        StateMachineDetail::ReadValues& read = values[own];
        file >> read.timeInState >> read.currentIndex >> read.pendingIndex >> read.initialIndex >>
            read.firstUpdate;
        if (file.Failed())
        {
            return false;
        }
        const auto count = static_cast<std::uint32_t>(states_.size());
        // A machine without states has no state to name; it does nothing.
        const bool valid = count == 0 || (read.currentIndex < count && read.initialIndex < count &&
                                          (read.pendingIndex == NoState || read.pendingIndex < count));
        if (!valid)
        {
            file.SetError(Core::FileError::BadData);
            return false;
        }
        return true;
    }

    void CommitValues(const std::vector<StateMachineDetail::ReadValues>& values, std::size_t& next) override
    {
        const StateMachineDetail::ReadValues& read = values[next++];
        for (const Core::RefPtr<StateBase<T>>& state : states_)
        {
            if (state)
            {
                state->CommitValues(values, next);
            }
        }
        timeInState_ = read.timeInState;
        currentIndex_ = read.currentIndex;
        pendingIndex_ = read.pendingIndex;
        initialIndex_ = read.initialIndex;
        firstUpdate_ = read.firstUpdate;
    }

private:
    StateList states_;
    T* owner_;
    float timeInState_ = 0.0f;
    std::uint32_t currentIndex_;
    std::uint32_t pendingIndex_ = NoState;
    std::uint32_t initialIndex_;
    bool firstUpdate_ = true;
};

} // namespace Velkor
