#include "core/Core_Random.h"

namespace Core
{

namespace
{

std::uint32_t g_state = 1;

} // namespace

void SeedRandom(std::uint32_t seed)
{
    g_state = seed;
}

std::int32_t Random()
{
    // Unsigned arithmetic wraps modulo 2^32 as the generator requires.
    g_state = g_state * 214013u + 2531011u;
    return static_cast<std::int32_t>((g_state >> 16) & 0x7FFFu);
}

std::uint32_t GetRandomState()
{
    return g_state;
}

void SetRandomState(std::uint32_t state)
{
    g_state = state;
}

} // namespace Core
