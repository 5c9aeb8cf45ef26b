#include "math/Math_Matrix4.h"

#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "math/Math_Matrix4Adjugate.h"

#include <cmath>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace Math
{

namespace Detail
{

// Row r of a column-major matrix a is (a[r], a[4 + r], a[8 + r], a[12 + r]);
// a_rc below is row r, column c.
//
// The 2 x 2 minors of the top two rows (s) and of the bottom two rows (c):
//   s0 = a00 a11 - a10 a01   s1 = a00 a12 - a10 a02   s2 = a00 a13 - a10 a03
//   s3 = a01 a12 - a11 a02   s4 = a01 a13 - a11 a03   s5 = a02 a13 - a12 a03
// and c0..c5 the same over rows 2 and 3. Every cofactor of the top two rows
// is a 3-term sum over c, every cofactor of the bottom two rows one over s.
// Column j of the adjugate holds the cofactors of row j; in lane form, for
// the row x used,
//   lane 0:  x1 c5 - x2 c4 + x3 c3
//   lane 1: -x0 c5 + x2 c2 - x3 c1
//   lane 2:  x0 c4 - x1 c2 + x3 c0
//   lane 3: -x0 c3 + x1 c1 - x2 c0
// i.e. X1 * P + X2 * Q + X3 * R with X1 = (x1, x0, x0, x0),
// X2 = (x2, x2, x1, x1), X3 = (x3, x3, x3, x2), P = (c5, -c5, c4, -c3),
// Q = (-c4, c2, -c2, c1), R = (c3, -c1, c0, -c0). Column 0 uses row 1,
// column 1 the negation for row 0; columns 2 and 3 do the same with s for
// rows 3 and 2. The determinant is the expansion along row 0:
// a00 C00 + a01 C01 + a02 C02 + a03 C03, the cofactors being column 0.

namespace
{

void CofactorColumn(const float* row, const float* p, const float* q, const float* r, bool negate, float* out)
{
    const float x1[4] = {row[1], row[0], row[0], row[0]};
    const float x2[4] = {row[2], row[2], row[1], row[1]};
    const float x3[4] = {row[3], row[3], row[3], row[2]};
    for (int lane = 0; lane < 4; ++lane)
    {
        const float sum = x1[lane] * p[lane] + x2[lane] * q[lane] + x3[lane] * r[lane];
        out[lane] = negate ? -sum : sum;
    }
}

// (m0, m1, m2, m3): the lane pattern of the minors of two rows u and v,
// u_a v_b - v_a u_b, for the column pairs (0,1) (0,2) (0,3) (1,2), and
// (1,3) (2,3) (1,2) (0,3) for the second set.
void Minors(const float* u, const float* v, float* low, float* high)
{
    const int lowPairs[4][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}};
    const int highPairs[4][2] = {{1, 3}, {2, 3}, {1, 2}, {0, 3}};
    for (int lane = 0; lane < 4; ++lane)
    {
        const int a = lowPairs[lane][0], b = lowPairs[lane][1];
        low[lane] = u[a] * v[b] - v[a] * u[b];
        const int c = highPairs[lane][0], d = highPairs[lane][1];
        high[lane] = u[c] * v[d] - v[c] * u[d];
    }
}

} // namespace

Adjugate ComputeAdjugatePortable(const float* a)
{
    float rows[4][4];
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            rows[r][c] = a[4 * c + r];
        }
    }
    // low = (m0, m1, m2, m3), high = (m4, m5, m3, m2)
    float sLow[4], sHigh[4], cLow[4], cHigh[4];
    Minors(rows[0], rows[1], sLow, sHigh);
    Minors(rows[2], rows[3], cLow, cHigh);
    const float p[4] = {cHigh[1], -cHigh[1], cHigh[0], -cLow[3]};
    const float q[4] = {-cHigh[0], cLow[2], -cLow[2], cLow[1]};
    const float r[4] = {cLow[3], -cLow[1], cLow[0], -cLow[0]};
    const float ps[4] = {sHigh[1], -sHigh[1], sHigh[0], -sLow[3]};
    const float qs[4] = {-sHigh[0], sLow[2], -sLow[2], sLow[1]};
    const float rs[4] = {sLow[3], -sLow[1], sLow[0], -sLow[0]};

    Adjugate out;
    CofactorColumn(rows[1], p, q, r, false, &out.m[0]);
    CofactorColumn(rows[0], p, q, r, true, &out.m[4]);
    CofactorColumn(rows[3], ps, qs, rs, false, &out.m[8]);
    CofactorColumn(rows[2], ps, qs, rs, true, &out.m[12]);
    out.determinant =
        rows[0][0] * out.m[0] + rows[0][1] * out.m[1] + rows[0][2] * out.m[2] + rows[0][3] * out.m[3];
    return out;
}

#if defined(__SSE__)

namespace
{

// Lane i of the result is lane i of the selector's i-th index of v.
#define MATH_LANES(v, l0, l1, l2, l3) _mm_shuffle_ps(v, v, _MM_SHUFFLE(l3, l2, l1, l0))

inline __m128 CofactorColumnSse(__m128 row, __m128 p, __m128 q, __m128 r)
{
    const __m128 first = _mm_mul_ps(MATH_LANES(row, 1, 0, 0, 0), p);
    const __m128 second = _mm_mul_ps(MATH_LANES(row, 2, 2, 1, 1), q);
    const __m128 third = _mm_mul_ps(MATH_LANES(row, 3, 3, 3, 2), r);
    return _mm_add_ps(_mm_add_ps(first, second), third);
}

} // namespace

Adjugate ComputeAdjugate(const float* a)
{
    __m128 r0 = _mm_loadu_ps(a);
    __m128 r1 = _mm_loadu_ps(a + 4);
    __m128 r2 = _mm_loadu_ps(a + 8);
    __m128 r3 = _mm_loadu_ps(a + 12);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3); // columns to rows

    const __m128 sLow = _mm_sub_ps(_mm_mul_ps(MATH_LANES(r0, 0, 0, 0, 1), MATH_LANES(r1, 1, 2, 3, 2)),
                                   _mm_mul_ps(MATH_LANES(r1, 0, 0, 0, 1), MATH_LANES(r0, 1, 2, 3, 2)));
    const __m128 sHigh = _mm_sub_ps(_mm_mul_ps(MATH_LANES(r0, 1, 2, 1, 0), MATH_LANES(r1, 3, 3, 2, 3)),
                                    _mm_mul_ps(MATH_LANES(r1, 1, 2, 1, 0), MATH_LANES(r0, 3, 3, 2, 3)));
    const __m128 cLow = _mm_sub_ps(_mm_mul_ps(MATH_LANES(r2, 0, 0, 0, 1), MATH_LANES(r3, 1, 2, 3, 2)),
                                   _mm_mul_ps(MATH_LANES(r3, 0, 0, 0, 1), MATH_LANES(r2, 1, 2, 3, 2)));
    const __m128 cHigh = _mm_sub_ps(_mm_mul_ps(MATH_LANES(r2, 1, 2, 1, 0), MATH_LANES(r3, 3, 3, 2, 3)),
                                    _mm_mul_ps(MATH_LANES(r3, 1, 2, 1, 0), MATH_LANES(r2, 3, 3, 2, 3)));

    // Multiplying by -1 is an exact negation, as in the portable form.
    const __m128 plusMinus = _mm_setr_ps(1.0f, -1.0f, 1.0f, -1.0f);
    const __m128 minusPlus = _mm_setr_ps(-1.0f, 1.0f, -1.0f, 1.0f);
    const __m128 p = _mm_mul_ps(MATH_LANES(cHigh, 1, 1, 0, 2), plusMinus); // c5 c5 c4 c3
    const __m128 q =
        _mm_mul_ps(_mm_shuffle_ps(cHigh, cLow, _MM_SHUFFLE(1, 2, 3, 0)), minusPlus); // c4 c2 c2 c1
    const __m128 r = _mm_mul_ps(MATH_LANES(cLow, 3, 1, 0, 0), plusMinus);            // c3 c1 c0 c0
    const __m128 ps = _mm_mul_ps(MATH_LANES(sHigh, 1, 1, 0, 2), plusMinus);
    const __m128 qs = _mm_mul_ps(_mm_shuffle_ps(sHigh, sLow, _MM_SHUFFLE(1, 2, 3, 0)), minusPlus);
    const __m128 rs = _mm_mul_ps(MATH_LANES(sLow, 3, 1, 0, 0), plusMinus);

    const __m128 signBit = _mm_set1_ps(-0.0f);
    const __m128 column0 = CofactorColumnSse(r1, p, q, r);
    Adjugate out;
    _mm_storeu_ps(&out.m[0], column0);
    _mm_storeu_ps(&out.m[4], _mm_xor_ps(CofactorColumnSse(r0, p, q, r), signBit));
    _mm_storeu_ps(&out.m[8], CofactorColumnSse(r3, ps, qs, rs));
    _mm_storeu_ps(&out.m[12], _mm_xor_ps(CofactorColumnSse(r2, ps, qs, rs), signBit));

    float terms[4];
    _mm_storeu_ps(terms, _mm_mul_ps(r0, column0));
    out.determinant = terms[0] + terms[1] + terms[2] + terms[3];
    return out;
}

#undef MATH_LANES

#else

Adjugate ComputeAdjugate(const float* a)
{
    return ComputeAdjugatePortable(a);
}

#endif

} // namespace Detail

namespace
{

void ScaleInto(const Detail::Adjugate& adjugate, float* out)
{
    const float inverse = 1.0f / adjugate.determinant;
    for (int i = 0; i < 16; ++i)
    {
        out[i] = adjugate.m[i] * inverse;
    }
}

} // namespace

Matrix4 Matrix4::Translation(float x, float y, float z)
{
    Matrix4 out;
    out.m[12] = x;
    out.m[13] = y;
    out.m[14] = z;
    return out;
}

Matrix4 Matrix4::Scale(float x, float y, float z)
{
    Matrix4 out;
    out.m[0] = x;
    out.m[5] = y;
    out.m[10] = z;
    return out;
}

Matrix4 Matrix4::RotationZ(float degrees)
{
    Matrix4 out;
    return SetRotationZ(out, degrees);
}

Matrix4& Matrix4::SetRotationZ(Matrix4& matrix, float degrees)
{
    const float radians = degrees * DegreesToRadians;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    for (float& value : matrix.m)
    {
        value = 0.0f;
    }
    matrix.m[0] = c;
    matrix.m[1] = s;
    matrix.m[4] = -s;
    matrix.m[5] = c;
    matrix.m[10] = 1.0f;
    matrix.m[15] = 1.0f;
    return matrix;
}

Matrix4 Matrix4::Perspective(float fieldOfView, float aspect, float nearDistance, float farDistance)
{
    const float c = static_cast<float>(1.0 / std::tan(fieldOfView * 0.5 * DegreesToRadiansDouble));
    Matrix4 out;
    for (float& value : out.m)
    {
        value = 0.0f;
    }
    out.m[0] = c / aspect;
    out.m[5] = c;
    out.m[10] = (nearDistance + farDistance) / (nearDistance - farDistance);
    out.m[11] = -1.0f;
    out.m[14] = nearDistance * (farDistance + farDistance) / (nearDistance - farDistance);
    return out;
}

Matrix4 Matrix4::Orthographic2D(float left, float right, float bottom, float top)
{
    Matrix4 out;
    out.m[0] = 2.0f / (right - left);
    out.m[5] = 2.0f / (top - bottom);
    out.m[10] = -1.0f;
    out.m[12] = (left + right) / (left - right);
    out.m[13] = (bottom + top) / (bottom - top);
    return out;
}

void Matrix4::Transpose()
{
    for (int r = 0; r < 4; ++r)
    {
        for (int c = r + 1; c < 4; ++c)
        {
            const float swap = m[4 * c + r];
            m[4 * c + r] = m[4 * r + c];
            m[4 * r + c] = swap;
        }
    }
}

float Matrix4::Determinant() const
{
    return Detail::ComputeAdjugate(m).determinant;
}

void Matrix4::Invert()
{
    const Detail::Adjugate adjugate = Detail::ComputeAdjugate(m);
    if (adjugate.determinant == 0.0f)
    {
        return;
    }
    ScaleInto(adjugate, m);
}

Matrix4 Inverse(const Matrix4& matrix)
{
    const Detail::Adjugate adjugate = Detail::ComputeAdjugate(matrix.m);
    Matrix4 out(matrix);
    if (adjugate.determinant > -Tolerance && adjugate.determinant < Tolerance)
    {
        return out;
    }
    ScaleInto(adjugate, out.m);
    return out;
}

Matrix4 operator*(const Matrix4& matrix, float scale)
{
    Matrix4 out(matrix);
    for (float& value : out.m)
    {
        value *= scale;
    }
    return out;
}

Core::File& operator<<(Core::File& file, const Matrix4& matrix)
{
    file.Write(matrix.m, sizeof matrix.m);
    return file;
}

Core::File& operator>>(Core::File& file, Matrix4& matrix)
{
    // Read delivers all 64 bytes or none.
    file.Read(matrix.m, sizeof matrix.m);
    return file;
}

} // namespace Math
