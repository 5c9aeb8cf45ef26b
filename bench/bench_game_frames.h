#pragma once

#include "framework/Velkor_FrameTimer.h"

#include <array>
#include <cstddef>
#include <cstdint>

// What the play-frame benchmark measured: per-phase p50 and p99 and the
// engine side's, in milliseconds, over `frames` frames of play.
struct PlayFrameReport
{
    std::size_t frames = 0;
    std::int32_t stage = 0;
    std::int32_t totalScore = 0;
    std::array<double, Velkor::FramePhaseCount> p50{};
    std::array<double, Velkor::FramePhaseCount> p99{};
    double engineP50 = 0.0;
    double engineP99 = 0.0;
};

const PlayFrameReport& GetPlayFrameReport();
