#include "GameTestSupport.h"

#include "engine/Engine_SceneGraph.h"
#include "framework/Velkor_FrameTimer.h"

#include <chrono>

namespace
{

using GameTest::GameDisplayTest;
using Velkor::FramePhase;
using Velkor::FrameTimer;

TEST(FrameTimer, PercentilesAreNearestRankOverKeptFrames)
{
    FrameTimer timer;
    EXPECT_EQ(timer.GetPercentile(FramePhase::Physics, 50.0), 0.0);
    // Frames 1..100 ms of physics (given in reverse), 0.5 ms of rendering.
    for (int i = 100; i >= 1; --i)
    {
        timer.Add(FramePhase::Physics, i);
        timer.Add(FramePhase::Rendering, 0.5);
        timer.EndFrame();
    }
    // An empty frame is not kept.
    timer.EndFrame();
    ASSERT_EQ(timer.GetFrameCount(), 100u);

    const struct
    {
        double percentile;
        double physics;
    } cases[] = {{50.0, 50.0},  {99.0, 99.0}, {100.0, 100.0}, {0.0, 1.0},
                 {99.5, 100.0}, {-5.0, 1.0},  {250.0, 100.0}, {7.0, 7.0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.percentile);
        EXPECT_EQ(timer.GetPercentile(FramePhase::Physics, c.percentile), c.physics);
    }
    EXPECT_EQ(timer.GetPercentile(FramePhase::Rendering, 99.0), 0.5);
    // Rendering and the swap stay out of the engine side.
    timer.Add(FramePhase::Swap, 1000.0);
    timer.Add(FramePhase::Collision, 200.0);
    timer.Add(FramePhase::HeadsUpDisplay, 1.0);
    timer.EndFrame();
    EXPECT_EQ(timer.GetEngineSidePercentile(100.0), 201.0);
    EXPECT_EQ(timer.GetEngineSidePercentile(50.0), 51.0);

    // Phases add up within a frame.
    timer.Reset();
    timer.Add(FramePhase::GameHook, 1.0);
    timer.Add(FramePhase::GameHook, 2.0);
    timer.EndFrame();
    ASSERT_EQ(timer.GetFrameCount(), 1u);
    EXPECT_EQ(timer.GetFrames()[0][static_cast<std::size_t>(FramePhase::GameHook)], 3.0);
}

// Keeps the CPU busy for at least `milliseconds` on the steady clock.
void Spin(double milliseconds)
{
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::duration<double, std::milli>(milliseconds);
    while (std::chrono::steady_clock::now() < end)
    {
    }
}

TEST_F(GameDisplayTest, TheFrameTimerIsOffByDefaultAndTimesEachUpdatedFrameWithoutMovingTheClock)
{
    MakeGame();
    EXPECT_EQ(game->GetFrameTimer(), nullptr);
    game->SetFrameTimerEnabled(true);
    FrameTimer* timer = game->GetFrameTimer();
    ASSERT_NE(timer, nullptr);

    std::vector<float> steps;
    game->onUpdate = [&steps](float dt)
    {
        steps.push_back(dt);
        Spin(2.0);
    };
    game->GetSceneGraph()->SetUpdateHook([](Engine::Node&, float) { Spin(4.0); });
    // The first tick makes the level and updates nothing: no frame is kept.
    Tick();
    game->EndFrame();
    EXPECT_EQ(timer->GetFrameCount(), 0u);

    for (int i = 0; i < 4; ++i)
    {
        Tick();
        game->EndFrame();
    }
    ASSERT_EQ(timer->GetFrameCount(), 4u);
    // The stepping clock moves on every read: the timer must not read it.
    EXPECT_EQ(steps, std::vector<float>(4, static_cast<float>(Step / 1000.0)));
    // Each spin lands in its own phase.
    EXPECT_GE(timer->GetPercentile(FramePhase::GameHook, 50.0), 2.0);
    EXPECT_GE(timer->GetPercentile(FramePhase::SceneGraph, 50.0), 4.0);
    EXPECT_GE(timer->GetEngineSidePercentile(50.0), 6.0);

    // Turned off, frames keep nothing and the timer is gone.
    game->SetFrameTimerEnabled(false);
    EXPECT_EQ(game->GetFrameTimer(), nullptr);
    Tick();
    game->EndFrame();
    EXPECT_EQ(steps.size(), 5u);
}

// A hook may turn the timer off or start a fresh one in the middle of a
// frame whose phases still time into the old one.
TEST_F(GameDisplayTest, TheFrameTimerCanBeSwitchedFromInsideAFrame)
{
    MakeGame();
    game->SetFrameTimerEnabled(true);
    Tick();
    game->EndFrame();
    bool enable = false;
    game->onUpdate = [&](float) { game->SetFrameTimerEnabled(enable); };
    for (const bool next : {false, true, true, false})
    {
        enable = next;
        Tick();
        game->EndFrame();
        EXPECT_EQ(game->GetFrameTimer() != nullptr, next);
    }
}

} // namespace
