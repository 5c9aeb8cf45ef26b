#pragma once

#include "framework/Velkor_FrameTimer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What one play-frame load measured: per-phase p50 and p99 and the engine
// side's, in milliseconds, over `frames` frames of play drawn by the OpenGL
// renderer, with the whole frame's wall-clock time (the update, the drawing
// and the swap) beside them.
struct PlayFrameReport
{
    std::string load;
    // The seeds played and how the load's state was checked, as printed.
    std::string seeds;
    std::string state;
    std::size_t frames = 0;
    std::array<double, Velkor::FramePhaseCount> p50{};
    std::array<double, Velkor::FramePhaseCount> p99{};
    double engineP50 = 0.0;
    double engineP99 = 0.0;
    double wallMean = 0.0;
    double wallP99 = 0.0;
};

// The loads measured so far, in the order they ran.
const std::vector<PlayFrameReport>& GetPlayFrameReports();
