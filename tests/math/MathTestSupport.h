#pragma once

#include "math/Math_ClassifyResult.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace Math
{

inline void PrintTo(ClassifyResult result, std::ostream* os)
{
    *os << "ClassifyResult(" << ToInt(result) << ")";
}

inline void PrintTo(const Vector2D& v, std::ostream* os)
{
    *os << "(" << v.x << ", " << v.y << ")";
}

inline void PrintTo(const Vector3& v, std::ostream* os)
{
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

} // namespace Math

namespace MathTest
{

// An output no test writes: proves that a result left an output alone.
inline const Math::Vector2D Untouched(-777.0f, 777.0f);

inline testing::AssertionResult Near(const Math::Vector2D& actual, const Math::Vector2D& expected,
                                     float tolerance = 1e-5f)
{
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance)
    {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not within "
                                       << tolerance << " of (" << expected.x << ", " << expected.y << ")";
}

inline testing::AssertionResult Near(const Math::Vector3& actual, const Math::Vector3& expected,
                                     float tolerance = 1e-5f)
{
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
    {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not within " << tolerance
           << " of (" << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

} // namespace MathTest
