#pragma once

#include <cstddef>
#include <cstdint>

namespace RenderQueuePixels
{

// FNV-1a over the bytes of a picture: equal pictures, equal sums.
inline std::uint64_t Checksum(const std::uint8_t* bytes, std::size_t count)
{
    std::uint64_t sum = 14695981039346656037ull;
    for (std::size_t i = 0; i < count; ++i)
    {
        sum = (sum ^ bytes[i]) * 1099511628211ull;
    }
    return sum;
}

} // namespace RenderQueuePixels
