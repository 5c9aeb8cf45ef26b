#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Velkor
{

// The parts of a frame the frame timer measures, in the order the frame runs
// them. The heads-up display is its update; the game hook is the game's
// Update and OnPostCollision; the level update is the level's FrameUpdate
// with its two extra passes; the contact pass is the physics engine's
// post-collision update; the scene graph is the objects' transformations and
// the scene graph's update; rendering is the screen clear, the level's
// viewports and the display's drawing; the swap is the buffer swap.
enum class FramePhase : std::uint8_t
{
    HeadsUpDisplay,
    GameHook,
    LevelUpdate,
    Physics,
    Collision,
    ContactPass,
    SceneGraph,
    Rendering,
    Swap,
};

inline constexpr std::size_t FramePhaseCount = static_cast<std::size_t>(FramePhase::Swap) + 1;

// A short name for reports ("hud", "game", "level", "physics", "collision",
// "contacts", "scene", "render", "swap").
const char* GetFramePhaseName(FramePhase phase);

// Whether the phase runs on the engine side of a frame: everything but
// rendering and the swap.
bool IsEngineSidePhase(FramePhase phase);

// Per-phase times of every frame since it was made or reset. Phases add up
// within a frame; EndFrame closes the frame and keeps its times. Times are
// read from the steady clock, never from the engine's clock function (a
// fixed-step clock moves on every read, and timing must not move it).
class FrameTimer
{
public:
    using Clock = std::chrono::steady_clock;
    using PhaseTimes = std::array<double, FramePhaseCount>;

    // Adds the time from `start` to now to `phase` of the open frame.
    void AddSince(FramePhase phase, Clock::time_point start);
    // Adds `milliseconds` to `phase` of the open frame.
    void Add(FramePhase phase, double milliseconds);
    // Keeps the open frame's times when any phase ran in it, and opens the
    // next one.
    void EndFrame();
    // Whether any phase ran in the open frame.
    bool HasOpenFrame() const { return openUsed_; }
    // Forgets every frame, the open one included.
    void Reset();

    std::size_t GetFrameCount() const { return frames_.size(); }
    // Milliseconds of each phase of every kept frame, oldest first.
    const std::vector<PhaseTimes>& GetFrames() const { return frames_; }

    // The `percentile` (0-100, nearest rank) of `phase`'s per-frame times,
    // in milliseconds; 0 without frames.
    double GetPercentile(FramePhase phase, double percentile) const;
    // The same over each frame's engine-side total.
    double GetEngineSidePercentile(double percentile) const;

private:
    PhaseTimes open_{};
    bool openUsed_ = false;
    std::vector<PhaseTimes> frames_;
};

// Times the scope it lives in as `phase` of `timer`'s open frame. With a
// null timer it reads no clock and does nothing.
class FramePhaseScope
{
public:
    FramePhaseScope(FrameTimer* timer, FramePhase phase) : timer_(timer), phase_(phase)
    {
        if (timer_ != nullptr)
        {
            start_ = FrameTimer::Clock::now();
        }
    }
    ~FramePhaseScope()
    {
        if (timer_ != nullptr)
        {
            timer_->AddSince(phase_, start_);
        }
    }
    FramePhaseScope(const FramePhaseScope&) = delete;
    FramePhaseScope& operator=(const FramePhaseScope&) = delete;

private:
    FrameTimer* timer_;
    FramePhase phase_;
    FrameTimer::Clock::time_point start_{};
};

} // namespace Velkor
