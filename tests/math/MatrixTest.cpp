#include "MathTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "math/Math_Matrix3.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Matrix4Adjugate.h"
#include "math/Math_Quaternion.h"

#include <cmath>
#include <cstring>
#include <random>

namespace
{

using Math::Matrix3;
using Math::Matrix4;
using Math::Quaternion;
using Math::Vector2D;
using Math::Vector3;
using MathTest::Near;

Matrix3 Diagonal3(float a, float b, float c)
{
    Matrix3 m;
    m.m[0] = a;
    m.m[4] = b;
    m.m[8] = c;
    return m;
}

void ExpectMatrixNear(const float* actual, const float* expected, int count, float tolerance)
{
    for (int i = 0; i < count; ++i)
    {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
    }
}

TEST(Matrix3, TransformsRotateTranslateAndCompose)
{
    EXPECT_TRUE(Near(Matrix3::Rotation(90.0f) * Vector2D(1, 0), {0, 1}));
    EXPECT_TRUE(Near(Matrix3::Translation(2, 3) * Vector2D(1, 1), {3, 4}));
    EXPECT_TRUE(Near(Matrix3::Translation(Vector2D(2, 3)) * Vector2D(1, 1), {3, 4}));

    // The product applies its right operand first: rotate, then move.
    const Matrix3 rotateThenMove = Matrix3::Translation(10, 0) * Matrix3::Rotation(90.0f);
    EXPECT_TRUE(Near(rotateThenMove * Vector2D(1, 0), {10, 1}));
    const Matrix3 moveThenRotate = Matrix3::Rotation(90.0f) * Matrix3::Translation(10, 0);
    EXPECT_TRUE(Near(moveThenRotate * Vector2D(1, 0), {0, 11}));

    // The bottom-row form reads the translation from m6, m7: for an affine
    // matrix that is the rotation alone.
    EXPECT_TRUE(Near(rotateThenMove.TransformPointBottomRow({1, 0}), {0, 1}));
    Matrix3 bottom;
    bottom.m[6] = 5;
    bottom.m[7] = -5;
    EXPECT_TRUE(Near(bottom.TransformPointBottomRow({1, 2}), {6, -3}));

    const Matrix3 doubled = 2.0f * Matrix3::Translation(1, 2);
    EXPECT_EQ(doubled.m[0], 2.0f);
    EXPECT_EQ(doubled.m[5], 4.0f);
    EXPECT_EQ((Matrix3::Translation(1, 2) * 3.0f).m[2], 3.0f);
}

TEST(Matrix3, InverseWritesNothingBelowTheTolerance)
{
    const Matrix3 sentinel = Matrix3::Translation(7, 7);

    Matrix3 out = sentinel;
    Matrix3::Inverse(Diagonal3(0.0004f, 1, 1), out);
    ExpectMatrixNear(out.m, sentinel.m, 9, 0.0f);

    Matrix3::Inverse(Diagonal3(-0.0004f, 1, 1), out);
    ExpectMatrixNear(out.m, sentinel.m, 9, 0.0f);

    Matrix3::Inverse(Diagonal3(0.0005f, 1, 1), out); // exactly the tolerance inverts
    EXPECT_FLOAT_EQ(out.m[0], 2000.0f);

    const Matrix3 transform = Matrix3::Translation(3, -2) * Matrix3::Rotation(30.0f);
    Matrix3 inverse;
    Matrix3::Inverse(transform, inverse);
    const Matrix3 identity;
    ExpectMatrixNear((inverse * transform).m, identity.m, 9, 1e-6f);

    // In place.
    Matrix3 inPlace = transform;
    Matrix3::Inverse(inPlace, inPlace);
    ExpectMatrixNear(inPlace.m, inverse.m, 9, 0.0f);
}

TEST(Matrix3, ArchiveIsThirtySixBytes)
{
    Matrix3 m = Matrix3::Rotation(33.0f) * Matrix3::Translation(4, 5);
    Core::MemoryFile file;
    file << m;
    ASSERT_EQ(file.GetSize(), 36u);
    Matrix3 read = Diagonal3(9, 9, 9);
    file >> read;
    ExpectMatrixNear(read.m, m.m, 9, 0.0f);

    Core::MemoryFile shortFile(file.GetData(), 32);
    Matrix3 kept;
    shortFile >> kept;
    EXPECT_TRUE(shortFile.Failed());
    ExpectMatrixNear(kept.m, Matrix3().m, 9, 0.0f);
}

TEST(Matrix4, Projections)
{
    const Matrix4 p = Matrix4::Perspective(90.0f, 1.0f, 1.0f, 100.0f);
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -101.0f / 99.0f, -1, 0, 0, -200.0f / 99.0f, 0};
    ExpectMatrixNear(p.m, expected, 16, 1e-6f);
    EXPECT_EQ(p.m[0], 1.0f);
    EXPECT_EQ(p.m[5], 1.0f);

    const Matrix4 o = Matrix4::Orthographic2D(0, 1024, 0, 768);
    EXPECT_TRUE(Near(o * Vector3(0, 0, 0), {-1, -1, 0}));
    EXPECT_TRUE(Near(o * Vector3(1024, 768, 0), {1, 1, 0}));
    EXPECT_TRUE(Near(o * Vector3(512, 384, 0), {0, 0, 0}));
    EXPECT_EQ(o.m[10], -1.0f);
    EXPECT_EQ(o.m[15], 1.0f);
}

TEST(Matrix4, TransformsAndLayout)
{
    const Matrix4 t = Matrix4::Translation(1, 2, 3);
    EXPECT_EQ(t.m[12], 1.0f);
    EXPECT_EQ(t.m[13], 2.0f);
    EXPECT_EQ(t.m[14], 3.0f);
    EXPECT_TRUE(Near(Matrix4::Scale(2, 3, 4) * Vector3(1, 1, 1), {2, 3, 4}));
    EXPECT_TRUE(Near(Matrix4::RotationZ(90.0f) * Vector3(1, 0, 5), {0, 1, 5}));

    // In the order written: scale first, then translation.
    const Matrix4 ts = Matrix4::Translation(10, 0, 0) * Matrix4::Scale(2, 2, 2);
    EXPECT_TRUE(Near(ts * Vector3(1, 1, 1), {12, 2, 2}));

    Matrix4 garbage = Matrix4::Translation(5, 5, 5) * 3.0f;
    Matrix4::SetRotationZ(garbage, 90.0f);
    const Matrix4 rotation = Matrix4::RotationZ(90.0f);
    ExpectMatrixNear(garbage.m, rotation.m, 16, 0.0f);
    EXPECT_NEAR(rotation.m[1], 1.0f, 1e-7f); // m1 = sin
    EXPECT_NEAR(rotation.m[4], -1.0f, 1e-7f);

    const Math::Vector4 h = t * Math::Vector4(1, 1, 1, 0); // a direction ignores the translation
    EXPECT_EQ(h.x, 1.0f);
    EXPECT_EQ(h.w, 0.0f);

    Matrix4 transposed = t;
    transposed.Transpose();
    EXPECT_EQ(transposed.m[3], 1.0f);
    EXPECT_EQ(transposed.m[7], 2.0f);
    EXPECT_EQ(transposed.m[11], 3.0f);
    EXPECT_EQ(transposed.m[12], 0.0f);

    EXPECT_FLOAT_EQ(Matrix4::Scale(2, 3, 4).Determinant(), 24.0f);
    EXPECT_EQ(Matrix4::MakeIdentity().Determinant(), 1.0f);
}

TEST(Matrix4, InverseGuards)
{
    // det = 1e-6: Invert (exact-zero guard) inverts, Inverse (tolerance guard) copies.
    const Matrix4 small = Matrix4::Scale(0.01f, 0.01f, 0.01f);
    Matrix4 inverted = small;
    inverted.Invert();
    EXPECT_NEAR(inverted.m[0], 100.0f, 1e-3f);
    EXPECT_NEAR(inverted.m[10], 100.0f, 1e-3f);
    const Matrix4 copy = Math::Inverse(small);
    ExpectMatrixNear(copy.m, small.m, 16, 0.0f);

    Matrix4 singular = Matrix4::Scale(1, 0, 1);
    singular.m[12] = 4;
    const Matrix4 before = singular;
    singular.Invert();
    ExpectMatrixNear(singular.m, before.m, 16, 0.0f);

    const Matrix4 transform =
        Matrix4::Translation(3, -2, 5) * Matrix4::RotationZ(40.0f) * Matrix4::Scale(2, 0.5f, 3);
    const Matrix4 identity;
    ExpectMatrixNear((Math::Inverse(transform) * transform).m, identity.m, 16, 1e-6f);
    Matrix4 inPlace = transform;
    inPlace.Invert();
    ExpectMatrixNear(inPlace.m, Math::Inverse(transform).m, 16, 0.0f);
}

// The inverse has a vector form where the target offers one; it must give
// exactly the bits of the portable form, so results never depend on the
// machine.
TEST(Matrix4, VectorAndPortableAdjugatesAgreeBitForBit)
{
    std::mt19937 random(7u);
    std::uniform_real_distribution<float> value(-100.0f, 100.0f);
    for (int round = 0; round < 2000; ++round)
    {
        Matrix4 m;
        for (float& element : m.m)
        {
            element = value(random);
        }
        if (round % 4 == 0)
        {
            m.m[round % 16] = 0.0f; // some sparse matrices too
        }
        const Math::Detail::Adjugate fast = Math::Detail::ComputeAdjugate(m.m);
        const Math::Detail::Adjugate portable = Math::Detail::ComputeAdjugatePortable(m.m);
        ASSERT_EQ(std::memcmp(fast.m, portable.m, sizeof fast.m), 0) << "round " << round;
        ASSERT_EQ(std::memcmp(&fast.determinant, &portable.determinant, sizeof(float)), 0)
            << "round " << round;
    }
}

TEST(Matrix4, ArchiveIsOneSixtyFourByteRecord)
{
    const Matrix4 m = Matrix4::Perspective(60, 1.5f, 0.5f, 50) * Matrix4::Translation(1, 2, 3);
    Core::MemoryFile file;
    file << m;
    ASSERT_EQ(file.GetSize(), 64u);
    Matrix4 read = Matrix4::Scale(9, 9, 9);
    file >> read;
    ExpectMatrixNear(read.m, m.m, 16, 0.0f);

    Core::MemoryFile shortFile(file.GetData(), 60);
    Matrix4 kept;
    shortFile >> kept;
    EXPECT_TRUE(shortFile.Failed());
    ExpectMatrixNear(kept.m, Matrix4().m, 16, 0.0f);
}

TEST(Quaternion, FromAxisAngleNormalisesTheCallersAxis)
{
    Vector3 axis(0, 0, 2);
    Quaternion q;
    Quaternion& returned = Quaternion::FromAxisAngle(q, axis, 180.0f);
    EXPECT_EQ(&returned, &q);
    EXPECT_NEAR(q.w, 0.0f, 1e-6f);
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.0f);
    EXPECT_FLOAT_EQ(q.z, 1.0f);
    EXPECT_TRUE(Near(axis, {0, 0, 1}, 0.0f));

    // A zero axis gives the identity rotation, no NaN.
    Vector3 zero;
    Quaternion::FromAxisAngle(q, zero, 90.0f);
    EXPECT_FLOAT_EQ(q.w, 1.0f);
    EXPECT_EQ(q.x, 0.0f);
}

TEST(Quaternion, ProductAndMatrix)
{
    Vector3 axis(1, 2, 3);
    Quaternion q;
    Quaternion::FromAxisAngle(q, axis, 37.0f);

    Quaternion identity{1, 0, 0, 0};
    identity *= q;
    EXPECT_EQ(identity.w, q.w);
    EXPECT_EQ(identity.x, q.x);
    EXPECT_EQ(identity.y, q.y);
    EXPECT_EQ(identity.z, q.z);

    Quaternion i{0, 1, 0, 0};
    i *= Quaternion{0, 0, 1, 0}; // i j = k
    EXPECT_EQ(i.w, 0.0f);
    EXPECT_EQ(i.x, 0.0f);
    EXPECT_EQ(i.y, 0.0f);
    EXPECT_EQ(i.z, 1.0f);

    // A quaternion times itself: i i = -1, and a 90 degree turn about z
    // squared is the 180 degree turn.
    Quaternion square{0, 1, 0, 0};
    square *= square;
    EXPECT_EQ(square.w, -1.0f);
    EXPECT_EQ(square.x, 0.0f);
    EXPECT_EQ(square.y, 0.0f);
    EXPECT_EQ(square.z, 0.0f);
    Vector3 up(0, 0, 1);
    Quaternion turn;
    Quaternion::FromAxisAngle(turn, up, 90.0f);
    turn *= turn;
    EXPECT_NEAR(turn.w, 0.0f, 1e-6f);
    EXPECT_NEAR(turn.z, 1.0f, 1e-6f);

    Quaternion scaled{0, 3, 0, 4};
    scaled.Normalize();
    EXPECT_FLOAT_EQ(scaled.x, 0.6f);
    EXPECT_FLOAT_EQ(scaled.z, 0.8f);
    Quaternion zero{0, 0, 0, 0};
    zero.Normalize();
    EXPECT_EQ(zero.w, 0.0f);

    // 90 degrees about z: the matrix is the transposed rotation, so as a
    // column-major point transform it turns by -90 degrees.
    Vector3 z(0, 0, 1);
    Quaternion::FromAxisAngle(q, z, 90.0f);
    Matrix4 m = Matrix4::Translation(9, 9, 9);
    Quaternion::ToMatrix(q, m);
    EXPECT_TRUE(Near(m * Vector3(1, 0, 0), {0, -1, 0}));
    EXPECT_EQ(m.m[12], 0.0f);
    EXPECT_EQ(m.m[15], 1.0f);
}

} // namespace
