#pragma once

#include "BenchRatio.h"

namespace bench
{

// The play-like levels' frame update beside the 2 ms frame budget.
void CompareSpriteFrames(RatioReporter& reporter);

} // namespace bench
