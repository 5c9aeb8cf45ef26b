#pragma once

#include "BenchRatio.h"

namespace bench
{

// Registers the contact bridge's ratio line (bench_framework_bridge.cpp).
void CompareContactBridge(RatioReporter& reporter);

} // namespace bench
