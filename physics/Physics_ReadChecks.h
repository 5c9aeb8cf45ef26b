#pragma once

#include "core/Core_File.h"
#include "math/Math_Matrix3.h"
#include "math/Math_Vector2D.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Physics2D
{

// Stored worlds are simulated as they are read: a value that is not finite
// would turn every body it touches into NaN in the first step.
inline bool IsFinite(float value)
{
    return std::isfinite(value);
}

inline bool IsFinite(const Math::Vector2D& value)
{
    return std::isfinite(value.x) && std::isfinite(value.y);
}

inline bool IsFinite(const Math::Matrix3& value)
{
    return std::all_of(std::begin(value.m), std::end(value.m), [](float v) { return std::isfinite(v); });
}

template <class T, std::size_t N> bool IsFinite(const T (&values)[N])
{
    return std::all_of(std::begin(values), std::end(values), [](const T& v) { return IsFinite(v); });
}

// Fails the archive as bad data unless every value is finite; false when the
// archive has failed.
template <class... T> bool CheckFinite(Core::File& file, const T&... values)
{
    if (file.Failed())
    {
        return false;
    }
    if (!(IsFinite(values) && ...))
    {
        file.SetError(Core::FileError::BadData);
        return false;
    }
    return true;
}

// Reads each value in turn, then checks them as CheckFinite does. A failure
// stays in the archive's error state, which the record's reader checks once
// at its end, so the answer may go unused.
template <class... T> bool ReadFinite(Core::File& file, T&... values)
{
    (file >> ... >> values);
    return CheckFinite(file, values...);
}

// Fails the archive as bad data when `sound` is false; answers `sound`.
inline bool CheckRead(Core::File& file, bool sound)
{
    if (!sound)
    {
        file.SetError(Core::FileError::BadData);
    }
    return sound && !file.Failed();
}

} // namespace Physics2D
