#include "GameTestSupport.h"

#include "framework/Velkor_StateMachine.h"

#include <utility>

namespace
{

using GameTest::GameDisplayTest;

// A game that drives its levels with a state machine over itself, as the
// game's level flow does: a menu, a loading state that lasts at least half a
// second, and a play state left when the "back" request holds for a quarter
// second. Requests are bytes the test sets frame by frame; the states' enter
// actions ask for the level.
class FlowGame : public GameTest::TestGame
{
public:
    enum Request : std::uint8_t
    {
        None = 0,
        Start = 1,
        Back = 2,
    };

    FlowGame(const Core::RefPtr<GameTest::TestFactory>& factory) : TestGame(factory, 0)
    {
        using FlowState = Velkor::State<FlowGame>;
        Core::RefPtr<FlowState> menu(new FlowState(0.0f));
        menu->SetEnterAction(&FlowGame::EnterMenu);
        menu->transitions.push_back(Transition(1, &FlowGame::StartRequested, 0.0f));
        Core::RefPtr<FlowState> loading(new FlowState(0.5f));
        loading->SetEnterAction(&FlowGame::EnterLoading);
        loading->transitions.push_back(Transition(2, &FlowGame::Loaded, 0.0f));
        Core::RefPtr<FlowState> play(new FlowState(0.0f));
        play->SetEnterAction(&FlowGame::EnterPlay);
        play->transitions.push_back(Transition(0, &FlowGame::BackRequested, 0.25f));
        flow_ = new Velkor::StateMachine<FlowGame>({menu, loading, play}, 0, 0.0f, this);
    }

    void Update(float dt) override
    {
        ++frame;
        request = frame < script.size() ? script[frame] : std::uint8_t{None};
        flow_->Update(dt);
    }

    std::vector<std::uint8_t> script; // the request of each frame (from 1)
    std::size_t frame = 0;
    std::uint8_t request = None;

private:
    static Velkor::StateTransition<FlowGame> Transition(std::uint32_t target,
                                                        bool (FlowGame::*condition)(float), float hold)
    {
        Velkor::StateTransition<FlowGame> transition;
        transition.targetIndex = target;
        transition.condition = condition;
        transition.holdTime = hold;
        return transition;
    }

    void EnterMenu(float) { ChangeLevel(0); }
    void EnterLoading(float) { ChangeLevel(1); }
    void EnterPlay(float) { ChangeLevel(2); }
    bool StartRequested(float) { return request == Start; }
    bool Loaded(float) { return true; }
    bool BackRequested(float) { return request == Back; }

    Core::RefPtr<Velkor::StateMachine<FlowGame>> flow_;
};

class LevelFlowDisplayTest : public GameDisplayTest
{
};

TEST_F(LevelFlowDisplayTest, TheLevelsFollowTheFlowFrameByFrame)
{
    // 64 frames per second: every step is exactly 1/64 s in floats too.
    GameTest::SteppingClock::SetStep(1000.0 / 64.0);
    Core::RefPtr<FlowGame> flow(new FlowGame(factory));
    game = flow;
    flow->script.assign(241, FlowGame::None);
    flow->script[10] = FlowGame::Start;
    for (std::size_t f = 100; f < 108; ++f) // too short to go back
    {
        flow->script[f] = FlowGame::Back;
    }
    for (std::size_t f = 120; f <= 200; ++f)
    {
        flow->script[f] = FlowGame::Back;
    }
    flow->script[220] = FlowGame::Start;

    std::vector<std::pair<std::size_t, int>> switches;
    factory->onStart = [&](GameTest::TestLevel& level)
    {
        // A switch runs at the start of a frame update, before the game's
        // Update counts the frame.
        switches.emplace_back(flow->frame + 1, static_cast<int>(level.GetIndex()));
    };
    Tick(241); // the first tick starts level 0, then 240 frames

    ASSERT_EQ(flow->frame, 240u);
    // Frame 1 enters the menu (asking for level 0 again); Start in frame 10
    // enters loading; loading lasts 32 frames; Back held from frame 120
    // fires in frame 135 (16 frames); Start in frame 220 loads again.
    const std::vector<std::pair<std::size_t, int>> expected = {{1, 0},  {2, 0},   {11, 1},
                                                               {43, 2}, {136, 0}, {221, 1}};
    EXPECT_EQ(switches, expected);
}

} // namespace
