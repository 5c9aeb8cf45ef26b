#pragma once

#include <cstdint>

namespace Core
{

// The process-wide pseudo-random generator every module draws from, so that
// one seed reproduces a whole run: the classic 15-bit linear congruential
// generator, state = state x 214013 + 2531011 (mod 2^32), each draw the bits
// 16 to 30 of the new state. Main thread only.
constexpr std::int32_t RandomMaximum = 32767;

// Restarts the sequence; the process starts as if seeded with 1.
void SeedRandom(std::uint32_t seed);
// The next value, 0 to RandomMaximum.
std::int32_t Random();
// The generator's state, so that a saved game carries on the same sequence.
std::uint32_t GetRandomState();
void SetRandomState(std::uint32_t state);

} // namespace Core
