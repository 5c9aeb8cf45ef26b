#pragma once

#include "core/Core_File.h"

#include <cstddef>

namespace Math::Detail
{

// Values travel as separate little-endian 4-byte floats.
template <std::size_t N> void WriteFloats(Core::File& file, const float (&values)[N])
{
    for (const float value : values)
    {
        file << value;
    }
}

// Reads N floats into `values`: all of them, or none when the archive runs
// short or has failed, so a caller commits only a complete record.
template <std::size_t N> bool ReadFloats(Core::File& file, float (&values)[N])
{
    float read[N];
    for (float& value : read)
    {
        if (!file.ReadExact(&value, sizeof value))
        {
            return false;
        }
    }
    for (std::size_t i = 0; i < N; ++i)
    {
        values[i] = read[i];
    }
    return true;
}

} // namespace Math::Detail
