#pragma once

#include "BenchRatio.h"

namespace bench
{

// Particle system updates beside a plain structure-of-arrays loop doing the
// same motion and interpolation.
void CompareParticleUpdates(RatioReporter& reporter);

} // namespace bench
