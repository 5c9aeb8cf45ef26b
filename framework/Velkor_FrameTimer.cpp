#include "framework/Velkor_FrameTimer.h"

#include <algorithm>
#include <cmath>

namespace Velkor
{

namespace
{

// Nearest rank: the smallest value with at least `percentile` % of the
// values at or below it.
double NearestRank(std::vector<double>& values, double percentile)
{
    if (values.empty())
    {
        return 0.0;
    }
    const double clamped = std::clamp(percentile, 0.0, 100.0);
    // Multiplied first: 7 / 100 * 100 rounds above 7 and would take the next rank.
    auto rank = static_cast<std::size_t>(std::ceil(clamped * static_cast<double>(values.size()) / 100.0));
    rank = std::clamp<std::size_t>(rank, 1, values.size());
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(rank - 1), values.end());
    return values[rank - 1];
}

} // namespace

const char* GetFramePhaseName(FramePhase phase)
{
    switch (phase)
    {
    case FramePhase::HeadsUpDisplay:
        return "hud";
    case FramePhase::GameHook:
        return "game";
    case FramePhase::LevelUpdate:
        return "level";
    case FramePhase::Physics:
        return "physics";
    case FramePhase::Collision:
        return "collision";
    case FramePhase::ContactPass:
        return "contacts";
    case FramePhase::SceneGraph:
        return "scene";
    case FramePhase::Rendering:
        return "render";
    case FramePhase::Swap:
        return "swap";
    }
    return "?";
}

bool IsEngineSidePhase(FramePhase phase)
{
    return phase != FramePhase::Rendering && phase != FramePhase::Swap;
}

void FrameTimer::AddSince(FramePhase phase, Clock::time_point start)
{
    Add(phase, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
}

void FrameTimer::Add(FramePhase phase, double milliseconds)
{
    open_[static_cast<std::size_t>(phase)] += milliseconds;
    openUsed_ = true;
}

void FrameTimer::EndFrame()
{
    if (openUsed_)
    {
        frames_.push_back(open_);
    }
    open_ = {};
    openUsed_ = false;
}

void FrameTimer::Reset()
{
    frames_.clear();
    open_ = {};
    openUsed_ = false;
}

double FrameTimer::GetPercentile(FramePhase phase, double percentile) const
{
    std::vector<double> values;
    values.reserve(frames_.size());
    for (const PhaseTimes& frame : frames_)
    {
        values.push_back(frame[static_cast<std::size_t>(phase)]);
    }
    return NearestRank(values, percentile);
}

double FrameTimer::GetEngineSidePercentile(double percentile) const
{
    std::vector<double> values;
    values.reserve(frames_.size());
    for (const PhaseTimes& frame : frames_)
    {
        double total = 0.0;
        for (std::size_t i = 0; i < FramePhaseCount; ++i)
        {
            if (IsEngineSidePhase(static_cast<FramePhase>(i)))
            {
                total += frame[i];
            }
        }
        values.push_back(total);
    }
    return NearestRank(values, percentile);
}

} // namespace Velkor
