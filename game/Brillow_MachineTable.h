#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_StateMachine.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace GameClass
{

// One state of a small machine written as a table: its name, its enter
// action and its transitions in the order they are tested. Minimum times
// and hold times are 0, so a transition fires on the first update its
// condition holds.
template <class T> struct MachineRow
{
    struct Transition
    {
        std::uint32_t target;
        typename Velkor::StateTransition<T>::Condition condition;
    };

    const char* name;
    typename Velkor::StateBase<T>::Action enter;
    std::vector<Transition> transitions;
};

// The machine named `name` over `rows` in index order, starting in state
// `initial`, for `owner`.
template <class T>
Core::RefPtr<Velkor::StateMachine<T>>
BuildMachine(const char* name, std::initializer_list<MachineRow<T>> rows, std::uint32_t initial, T* owner)
{
    typename Velkor::StateMachine<T>::StateList states;
    for (const MachineRow<T>& row : rows)
    {
        Core::RefPtr<Velkor::State<T>> state(new ("Brillow_MachineTable", __LINE__) Velkor::State<T>(0.0f));
        state->name = row.name;
        state->SetEnterAction(row.enter);
        for (const auto& transition : row.transitions)
        {
            typename Velkor::StateMachine<T>::Transition record;
            record.targetIndex = transition.target;
            record.condition = transition.condition;
            state->transitions.push_back(record);
        }
        states.emplace_back(state.Get());
    }
    Core::RefPtr<Velkor::StateMachine<T>> machine(new ("Brillow_MachineTable", __LINE__)
                                                      Velkor::StateMachine<T>(states, initial, 0.0f, owner));
    machine->name = name;
    return machine;
}

} // namespace GameClass
