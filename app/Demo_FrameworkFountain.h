#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_ParticleSystem.h"

#include <cstdint>

// The framework demo's particle fountain: a pool of glowing sparks thrown
// out of a small disk and pulled down again, in local coordinates, drawn
// additively with the demo particle texture. Made the way a program gets a
// particle system: created by class name and loaded from a record written
// here in memory, with a pool of `sparks`. Null when the record does not
// load.
Core::RefPtr<Velkor::ParticleSystem> MakeDemoFountain(std::uint32_t sparks = 260);
