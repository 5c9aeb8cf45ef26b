#pragma once

#include "math/Math_Matrix4.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"

namespace Renderer
{

// Clip-space placement done on the CPU with the fixed-function pipeline's
// own arithmetic, so that a vertex placed here and drawn through identity
// matrices lands where the pipeline would have put it.
//
// The pipeline forms projection x model-view as a plain 4x4 product, each
// entry summed left to right over k (a(i,0) b(0,j) + ... + a(i,3) b(3,j)),
// and places a point p as row . p, summed over x, y, z, w in that order.
// Where every product of that last sum is exact (coordinates 0, +-0.5, +-1,
// as in the unit quad, with w = 1) fused and unfused evaluation agree, so
// the two placements are bit for bit the same.
inline Math::Matrix4 ClipMatrix(const Math::Matrix4& projection, const Math::Matrix4& modelView)
{
    Math::Matrix4 out;
    const float* a = projection.m;
    const float* b = modelView.m;
    for (int i = 0; i < 4; ++i)
    {
        const float a0 = a[i];
        const float a1 = a[4 + i];
        const float a2 = a[8 + i];
        const float a3 = a[12 + i];
        for (int j = 0; j < 4; ++j)
        {
            out.m[4 * j + i] = a0 * b[4 * j] + a1 * b[4 * j + 1] + a2 * b[4 * j + 2] + a3 * b[4 * j + 3];
        }
    }
    return out;
}

inline Math::Vector4 ToClipSpace(const Math::Matrix4& clip, const Math::Vector3& p)
{
    const float* m = clip.m;
    return Math::Vector4(
        m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
        m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14], m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15]);
}

} // namespace Renderer
