#pragma once

#include "BenchRatio.h"

namespace bench
{

// Saving and loading a level of 1,000 balls beside copying the same bytes
// into a memory file.
void CompareSaves(RatioReporter& reporter);
// The bytes a replay records per minute of busy play, when its benchmark ran.
void PrintReplayBytes();

} // namespace bench
