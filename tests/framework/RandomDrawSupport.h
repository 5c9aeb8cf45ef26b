#pragma once

#include "core/Core_Random.h"

#include <cstdint>

namespace RandomDrawSupport
{

// The inverse of an odd number modulo 2^32 by Newton's iteration: each step
// doubles the number of correct low bits.
constexpr std::uint32_t InverseModulo2To32(std::uint32_t a)
{
    std::uint32_t inverse = a;
    for (int step = 0; step < 5; ++step)
    {
        inverse *= 2u - a * inverse;
    }
    return inverse;
}

// Seeds Core::Random so that its next draw is `value` (0 ... 32767): the
// state after the step is value << 16, undone through the multiplier.
inline void SeedSoNextDrawIs(std::int32_t value)
{
    constexpr std::uint32_t multiplier = 214013u;
    constexpr std::uint32_t increment = 2531011u;
    const std::uint32_t next = static_cast<std::uint32_t>(value) << 16;
    Core::SeedRandom((next - increment) * InverseModulo2To32(multiplier));
}

} // namespace RandomDrawSupport
