#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

namespace Renderer
{

// Power-of-two helpers for texture sizes, on unsigned 32-bit values.

// Exactly one bit set.
constexpr bool IsPowerOfTwo(std::uint32_t value)
{
    return std::has_single_bit(value);
}

// The power of two above the highest set bit: 1 for 0, twice the value for a
// power of two, and 0x80000000 when bit 31 is the highest (there is no
// larger 32-bit power).
constexpr std::uint32_t NextPowerOfTwo(std::uint32_t value)
{
    if (value == 0)
    {
        return 1;
    }
    const std::uint32_t highest = std::bit_floor(value);
    return highest == 0x80000000u ? highest : highest << 1;
}

// The power of two below: the highest set bit when other bits are set too,
// half the value for a power of two, and 1 for 1 (and for 0).
constexpr std::uint32_t PreviousPowerOfTwo(std::uint32_t value)
{
    if (value <= 1)
    {
        return 1;
    }
    const std::uint32_t highest = std::bit_floor(value);
    return highest != value ? highest : highest >> 1;
}

// The value itself when it is a power of two; otherwise the next one unless
// the previous one is strictly closer (a tie goes up: 48 -> 64, 40 -> 32).
constexpr std::uint32_t NearestPowerOfTwo(std::uint32_t value)
{
    if (IsPowerOfTwo(value))
    {
        return value;
    }
    const std::uint64_t next = NextPowerOfTwo(value);
    const std::uint64_t previous = PreviousPowerOfTwo(value);
    const std::uint64_t above = next > value ? next - value : value - next;
    const std::uint64_t below = value > previous ? value - previous : previous - value;
    return static_cast<std::uint32_t>(below < above ? previous : next);
}

// The size a single image is uploaded at: unchanged when both sides fit the
// maximum and the library takes any size (or both are powers of two);
// otherwise each side's nearest power of two, limited to the maximum.
constexpr void UploadSize(std::uint32_t& width, std::uint32_t& height, bool nonPowerOfTwo,
                          std::uint32_t maximum)
{
    const bool fits = width <= maximum && height <= maximum;
    if (fits && (nonPowerOfTwo || (IsPowerOfTwo(width) && IsPowerOfTwo(height))))
    {
        return;
    }
    width = std::min(NearestPowerOfTwo(width), maximum);
    height = std::min(NearestPowerOfTwo(height), maximum);
}

// The base level of a decoded image's level chain: each side's nearest power
// of two when the library needs powers of two, then limited to the maximum.
constexpr void BaseLevelSize(std::uint32_t& width, std::uint32_t& height, bool nonPowerOfTwo,
                             std::uint32_t maximum)
{
    if (!nonPowerOfTwo)
    {
        width = NearestPowerOfTwo(width);
        height = NearestPowerOfTwo(height);
    }
    width = std::min(width, maximum);
    height = std::min(height, maximum);
}

} // namespace Renderer
