#include "core/Core_MemoryFile.h"
#include "framework/Velkor_StateMachine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

// An owner whose actions record "<action> <name>" and whose conditions read
// its flags.
struct Robot
{
    std::string name = "r";
    std::vector<std::string> log;
    bool go = false;
    bool fast = false;
    std::vector<bool> pattern; // go, frame by frame
    std::size_t frame = 0;

    void EnterA(float) { log.push_back("enter A " + name); }
    void UpdateA(float) { log.push_back("update A " + name); }
    void ExitA(float) { log.push_back("exit A " + name); }
    void EnterB(float) { log.push_back("enter B " + name); }
    void UpdateB(float) { log.push_back("update B " + name); }
    void ExitNested(float) { log.push_back("exit nested " + name); }
    bool Go(float) { return go; }
    bool Fast(float) { return fast; }
    bool Always(float) { return true; }
    bool Patterned(float) { return frame < pattern.size() && pattern[frame++]; }
};

using RobotState = Velkor::State<Robot>;
using RobotMachine = Velkor::StateMachine<Robot>;
using RobotTransition = Velkor::StateTransition<Robot>;

Core::RefPtr<RobotState> StateA(float minimumTime = 0.0f)
{
    Core::RefPtr<RobotState> state(new RobotState(minimumTime));
    state->SetEnterAction(&Robot::EnterA);
    state->SetUpdateAction(&Robot::UpdateA);
    state->SetExitAction(&Robot::ExitA);
    state->name = "A";
    return state;
}

Core::RefPtr<RobotState> StateB()
{
    Core::RefPtr<RobotState> state(new RobotState());
    state->SetEnterAction(&Robot::EnterB);
    state->SetUpdateAction(&Robot::UpdateB);
    state->name = "B";
    return state;
}

RobotTransition To(std::uint32_t target, RobotTransition::Condition condition, float hold = 0.0f)
{
    RobotTransition transition;
    transition.targetIndex = target;
    transition.condition = condition;
    transition.holdTime = hold;
    return transition;
}

// A(min time) -> B when Go holds for `hold`.
Core::RefPtr<RobotMachine> TwoStates(Robot& robot, float minimumTime = 0.0f, float hold = 0.0f)
{
    Core::RefPtr<RobotState> a = StateA(minimumTime);
    a->transitions.push_back(To(1, &Robot::Go, hold));
    return Core::RefPtr<RobotMachine>(new RobotMachine({a, StateB()}, 0, 0.0f, &robot));
}

// The update (counted from 1 after the entering one) on which the machine
// leaves A, 0 when it stays within `limit` updates.
int UpdatesUntilB(RobotMachine& machine, float dt, int limit = 20)
{
    machine.Update(dt);
    for (int update = 1; update <= limit; ++update)
    {
        machine.Update(dt);
        if (machine.GetCurrentStateIndex() == 1)
        {
            return update;
        }
    }
    return 0;
}

TEST(StateMachine, TheFirstUpdateEntersAndUpdatesTheInitialStateOnly)
{
    Robot robot;
    robot.go = true;
    Core::RefPtr<RobotMachine> machine = TwoStates(robot, 5.0f);
    machine->Update(0.25f);
    EXPECT_EQ(robot.log, (std::vector<std::string>{"enter A r", "update A r"}));
    EXPECT_EQ(machine->GetCurrentStateIndex(), 0u);
    EXPECT_FALSE(machine->IsFirstUpdate());
}

TEST(StateMachine, MinimumAndHoldTimesDecideTheUpdateOfTheTransition)
{
    const struct
    {
        const char* name;
        float minimumTime;
        float hold;
        float dt;
        int expected;
    } cases[] = {
        {"no minimum, no hold", 0.0f, 0.0f, 0.25f, 1},
        {"minimum 1.0 at dt 0.25", 1.0f, 0.0f, 0.25f, 4},
        {"hold 0.5 at dt 0.25", 0.0f, 0.5f, 0.25f, 2},
        {"hold and minimum", 0.5f, 0.5f, 0.25f, 3},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Robot robot;
        robot.go = true;
        Core::RefPtr<RobotMachine> machine = TwoStates(robot, c.minimumTime, c.hold);
        EXPECT_EQ(UpdatesUntilB(*machine, c.dt), c.expected);
    }
}

TEST(StateMachine, OnTheFrameOfATransitionTheNewStateIsEnteredAndUpdatedAndTheOldNot)
{
    Robot robot;
    Core::RefPtr<RobotMachine> machine = TwoStates(robot);
    machine->Update(0.25f);
    robot.log.clear();
    robot.go = true;
    machine->Update(0.25f);
    EXPECT_EQ(robot.log, (std::vector<std::string>{"exit A r", "enter B r", "update B r"}));
    EXPECT_EQ(machine->GetTimeInState(), 0.0f);
}

TEST(StateMachine, ALaterTransitionWithoutHoldFiresBeforeAnEarlierWithHold)
{
    Robot robot;
    robot.go = true;
    Core::RefPtr<RobotState> a = StateA();
    a->transitions.push_back(To(1, &Robot::Go, 0.5f));
    a->transitions.push_back(To(2, &Robot::Fast, 0.0f));
    Core::RefPtr<RobotMachine> machine(new RobotMachine({a, StateB(), StateB()}, 0, 0.0f, &robot));
    machine->Update(0.125f);
    machine->Update(0.125f);
    EXPECT_EQ(a->transitions[0].elapsedTime, 0.125f) << "the held transition counts";
    robot.fast = true;
    machine->Update(0.125f);
    EXPECT_EQ(machine->GetCurrentStateIndex(), 2u);
    EXPECT_EQ(a->transitions[0].elapsedTime, 0.0f) << "zeroed when the other fires";
}

TEST(StateMachine, AFalseFrameRestartsTheHold)
{
    Robot robot;
    // Hold 0.75 at dt 0.25: three true updates in a row.
    robot.pattern = {true, true, false, true, true, true};
    Core::RefPtr<RobotState> a = StateA();
    a->transitions.push_back(To(1, &Robot::Patterned, 0.75f));
    Core::RefPtr<RobotMachine> machine(new RobotMachine({a, StateB()}, 0, 0.0f, &robot));
    EXPECT_EQ(UpdatesUntilB(*machine, 0.25f), 6);
}

TEST(StateMachine, LeavingANestedMachineResetsItWithoutItsExitAction)
{
    Robot robot;
    Core::RefPtr<RobotState> x = StateA();
    x->transitions.push_back(To(1, &Robot::Go, 0.0f));
    Core::RefPtr<RobotState> y = StateB();
    y->transitions.push_back(To(0, &Robot::Always, 100.0f));
    Core::RefPtr<RobotMachine> nested(new RobotMachine({x, y}, 0, 0.0f, &robot));
    nested->SetExitAction(&Robot::ExitNested);
    // The outer machine leaves the nested one when Fast holds; a slow
    // transition keeps counting meanwhile.
    nested->transitions.push_back(To(1, &Robot::Always, 100.0f));
    nested->transitions.push_back(To(1, &Robot::Fast, 0.0f));
    Core::RefPtr<RobotMachine> outer(new RobotMachine({nested, StateB()}, 0, 0.0f, &robot));

    outer->Update(0.25f); // enters the nested machine, which enters X
    robot.go = true;
    outer->Update(0.25f); // the nested machine moves to Y
    robot.go = false;
    outer->Update(0.25f); // Y's transition counts
    ASSERT_EQ(nested->GetCurrentStateIndex(), 1u);
    ASSERT_EQ(y->transitions[0].elapsedTime, 0.25f);
    robot.fast = true;
    robot.log.clear();
    outer->Update(0.25f);

    EXPECT_EQ(outer->GetCurrentStateIndex(), 1u);
    EXPECT_EQ(robot.log, (std::vector<std::string>{"enter B r", "update B r"})) << "no exit action";
    EXPECT_EQ(nested->GetCurrentStateIndex(), 0u);
    EXPECT_TRUE(nested->IsFirstUpdate());
    EXPECT_EQ(y->transitions[0].elapsedTime, 0.0f) << "its states are reset";
    EXPECT_EQ(nested->transitions[0].elapsedTime, 0.75f) << "its own other transitions keep counting";
    EXPECT_EQ(nested->transitions[1].elapsedTime, 0.0f);

    // Entered again, it starts over at its initial state.
    robot.log.clear();
    outer->SetPendingStateIndex(0);
    outer->Update(0.25f);
    EXPECT_EQ(robot.log, (std::vector<std::string>{"enter A r", "update A r"}));
}

TEST(StateMachine, APendingIndexSwitchesAtTheNextUpdate)
{
    Robot robot;
    Core::RefPtr<RobotMachine> machine = TwoStates(robot);
    machine->Update(0.25f);
    machine->SetPendingStateIndex(7); // no such state
    EXPECT_EQ(machine->GetPendingStateIndex(), RobotMachine::NoState);
    machine->SetPendingStateIndex(1);
    robot.log.clear();
    machine->Update(0.25f);
    EXPECT_EQ(robot.log, (std::vector<std::string>{"exit A r", "enter B r", "update B r"}));
    EXPECT_EQ(machine->GetPendingStateIndex(), RobotMachine::NoState);
}

TEST(StateMachine, MissingStatesAreNeverEntered)
{
    Robot robot;
    robot.go = true;
    // No states at all, and an initial index past the states.
    RobotMachine empty({}, 0, 0.0f, &robot);
    RobotMachine pastTheEnd({StateA()}, 3, 0.0f, &robot);
    for (int i = 0; i < 3; ++i)
    {
        empty.Update(0.25f);
        pastTheEnd.Update(0.25f);
    }
    EXPECT_TRUE(robot.log.empty());

    // A transition to a state the machine does not have does not fire.
    Core::RefPtr<RobotState> a = StateA();
    a->transitions.push_back(To(5, &Robot::Go));
    RobotMachine machine({a}, 0, 0.0f, &robot);
    machine.Update(0.25f);
    machine.Update(0.25f);
    EXPECT_EQ(machine.GetCurrentStateIndex(), 0u);
    EXPECT_EQ(robot.log.back(), "update A r");

    // Without an owner the owner-less operations do nothing.
    RobotMachine ownerless({StateA()}, 0, 0.0f, nullptr);
    ownerless.Update(0.25f);
    EXPECT_TRUE(ownerless.IsFirstUpdate());
}

std::vector<std::uint8_t> Saved(const Core::Object& object)
{
    Core::MemoryFile file;
    object.Write(file);
    return file.GetBuffer();
}

TEST(StateMachine, SaveAndLoadRestoreValuesButNotStructure)
{
    Robot robot;
    Core::RefPtr<RobotState> a = StateA(0.0f);
    a->transitions.push_back(To(1, &Robot::Go, 10.0f));
    Core::RefPtr<RobotMachine> machine(new RobotMachine({a, StateB()}, 0, 0.0f, &robot));
    robot.go = true;
    machine->Update(0.25f);
    machine->Update(0.25f);
    machine->Update(0.5f);
    machine->SetPendingStateIndex(1);

    Core::MemoryFile file;
    machine->Write(file);
    // A: one transition (12), name "A" (5), minimum time (4); B: name "B" (5),
    // minimum time (4); the machine: time, three indices, the flag.
    EXPECT_EQ(file.GetBuffer().size(), 12u + 5 + 4 + 5 + 4 + 4 + 12 + 1);

    Robot other;
    Core::RefPtr<RobotMachine> loaded = TwoStates(other);
    loaded->Read(file);
    ASSERT_FALSE(file.Failed());
    EXPECT_EQ(loaded->GetCurrentStateIndex(), 0u);
    EXPECT_EQ(loaded->GetPendingStateIndex(), 1u);
    EXPECT_EQ(loaded->GetTimeInState(), 0.75f);
    EXPECT_FALSE(loaded->IsFirstUpdate());
    auto* loadedA = static_cast<RobotState*>(loaded->GetState(0));
    EXPECT_EQ(loadedA->transitions[0].elapsedTime, 0.75f);
    EXPECT_EQ(loadedA->transitions[0].holdTime, 10.0f);
    EXPECT_EQ(loadedA->transitions[0].condition, &Robot::Go) << "conditions are code, not data";
    EXPECT_EQ(loaded->GetOwner(), &other);
    EXPECT_EQ(Saved(*loaded), Saved(*machine));
}

TEST(StateMachine, DamagedRecordsAreRefusedAndChangeNothing)
{
    Robot robot;
    Core::RefPtr<RobotMachine> source = TwoStates(robot);
    source->Update(0.25f);
    source->Update(0.25f);
    const std::vector<std::uint8_t> good = Saved(*source);
    // The machine's record ends with time, current, pending, initial and the flag.
    const std::size_t indices = good.size() - 13;

    auto patched = [&good](std::size_t at, std::uint32_t value)
    {
        std::vector<std::uint8_t> bytes = good;
        std::memcpy(bytes.data() + at, &value, sizeof value);
        return bytes;
    };
    struct Case
    {
        std::string name;
        std::vector<std::uint8_t> bytes;
        Core::FileError error;
    };
    std::vector<Case> cases = {
        {"current past the states", patched(indices, 2), Core::FileError::BadData},
        {"pending past the states", patched(indices + 4, 2), Core::FileError::BadData},
        {"initial past the states", patched(indices + 8, 9), Core::FileError::BadData},
    };
    for (std::size_t length = 0; length < good.size(); ++length)
    {
        cases.push_back({"cut at " + std::to_string(length),
                         std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(length)),
                         Core::FileError::ShortRead});
    }
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Robot other;
        Core::RefPtr<RobotMachine> machine = TwoStates(other);
        machine->Update(0.5f);
        const std::vector<std::uint8_t> before = Saved(*machine);
        Core::MemoryFile file;
        file.Write(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        machine->Read(file);
        EXPECT_EQ(file.GetError(), c.error);
        EXPECT_EQ(Saved(*machine), before);
    }

    // "None" is a valid pending index.
    Core::RefPtr<RobotMachine> machine = TwoStates(robot);
    Core::MemoryFile file;
    const std::vector<std::uint8_t> none = patched(indices + 4, RobotMachine::NoState);
    file.Write(none.data(), static_cast<std::uint32_t>(none.size()));
    machine->Read(file);
    EXPECT_FALSE(file.Failed());
}

TEST(StateMachine, ACopySharesNoStateAndAnswersToItsNewOwner)
{
    Robot first;
    first.name = "first";
    Robot second;
    second.name = "second";
    Core::RefPtr<RobotState> inner = StateA();
    inner->transitions.push_back(To(1, &Robot::Go));
    Core::RefPtr<RobotMachine> nested(new RobotMachine({inner, StateB()}, 0, 0.0f, &first));
    Core::RefPtr<RobotMachine> machine(new RobotMachine({nested, StateB()}, 0, 0.0f, &first));
    machine->name = "outer";
    machine->Update(0.25f);

    Core::RefPtr<RobotMachine> copy(machine->Copy());
    EXPECT_EQ(copy->name, "outer");
    ASSERT_EQ(copy->GetStates().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
    {
        EXPECT_NE(copy->GetStates()[i].Get(), machine->GetStates()[i].Get());
    }
    auto* copiedNested = static_cast<RobotMachine*>(copy->GetState(0));
    EXPECT_NE(copiedNested->GetState(0), nested->GetState(0));
    EXPECT_EQ(copy->GetOwner(), &first) << "until re-pointed";

    copy->SetOwner(&second);
    EXPECT_EQ(copiedNested->GetOwner(), &second);
    second.go = true;
    copy->Update(0.25f);
    EXPECT_EQ(copiedNested->GetCurrentStateIndex(), 1u);
    EXPECT_EQ(second.log.back(), "update B second");
    EXPECT_EQ(nested->GetCurrentStateIndex(), 0u) << "the original is untouched";
    EXPECT_EQ(first.log, (std::vector<std::string>{"enter A first", "update A first"}));
}

} // namespace
