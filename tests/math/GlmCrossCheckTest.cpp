// Our matrices and quaternions against GLM on random inputs.

#include "math/Math_Matrix4.h"
#include "math/Math_Quaternion.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <gtest/gtest.h>

#include <random>

namespace
{

constexpr float Tolerance = 1e-5f;
constexpr int Rounds = 500;

class GlmCrossCheck : public testing::Test
{
protected:
    float Uniform(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random_); }

    Math::Matrix4 RandomMatrix()
    {
        Math::Matrix4 m;
        for (float& value : m.m)
        {
            value = Uniform(-1.0f, 1.0f);
        }
        return m;
    }

    // Diagonally dominant, so the inverse is well conditioned and a float
    // comparison at Tolerance is fair.
    Math::Matrix4 RandomInvertible()
    {
        Math::Matrix4 m = RandomMatrix();
        for (int i = 0; i < 4; ++i)
        {
            m.m[5 * i] += (Uniform(0.0f, 1.0f) < 0.5f ? -4.0f : 4.0f);
        }
        return m;
    }

    static glm::mat4 ToGlm(const Math::Matrix4& m) { return glm::make_mat4(m.m); }

    static void ExpectNear(const Math::Matrix4& ours, const glm::mat4& reference, const char* what)
    {
        const float* r = glm::value_ptr(reference);
        for (int i = 0; i < 16; ++i)
        {
            ASSERT_NEAR(ours.m[i], r[i], Tolerance) << what << ", element " << i;
        }
    }

    std::mt19937 random_{20240517u};
};

TEST_F(GlmCrossCheck, ProductsAndInverses)
{
    for (int round = 0; round < Rounds; ++round)
    {
        const Math::Matrix4 a = RandomMatrix();
        const Math::Matrix4 b = RandomMatrix();
        ExpectNear(a * b, ToGlm(a) * ToGlm(b), "product");

        const Math::Matrix4 m = RandomInvertible();
        const glm::mat4 reference = glm::inverse(ToGlm(m));
        ExpectNear(Math::Inverse(m), reference, "Inverse");
        Math::Matrix4 inverted = m;
        inverted.Invert();
        ExpectNear(inverted, reference, "Invert");
        EXPECT_NEAR(m.Determinant(), glm::determinant(ToGlm(m)), 1e-3f);
    }
}

TEST_F(GlmCrossCheck, Projections)
{
    for (int round = 0; round < Rounds; ++round)
    {
        const float fov = Uniform(20.0f, 120.0f);
        const float aspect = Uniform(0.5f, 2.5f);
        const float nearDistance = Uniform(0.1f, 10.0f);
        const float farDistance = nearDistance + Uniform(10.0f, 1000.0f);
        ExpectNear(Math::Matrix4::Perspective(fov, aspect, nearDistance, farDistance),
                   glm::perspective(glm::radians(fov), aspect, nearDistance, farDistance), "perspective");

        const float left = Uniform(-1000.0f, 1000.0f);
        const float right = left + Uniform(1.0f, 2000.0f);
        const float bottom = Uniform(-1000.0f, 1000.0f);
        const float top = bottom + Uniform(1.0f, 2000.0f);
        ExpectNear(Math::Matrix4::Orthographic2D(left, right, bottom, top),
                   glm::ortho(left, right, bottom, top), "orthographic");
    }
}

TEST_F(GlmCrossCheck, QuaternionRotations)
{
    for (int round = 0; round < Rounds; ++round)
    {
        const glm::vec3 axis(Uniform(-1.0f, 1.0f), Uniform(-1.0f, 1.0f), Uniform(-1.0f, 1.0f) + 1.5f);
        const float degrees = Uniform(-360.0f, 360.0f);
        Math::Vector3 ourAxis(axis.x, axis.y, axis.z);
        Math::Quaternion q;
        Math::Quaternion::FromAxisAngle(q, ourAxis, degrees);
        const glm::quat reference = glm::angleAxis(glm::radians(degrees), glm::normalize(axis));
        ASSERT_NEAR(q.w, reference.w, Tolerance);
        ASSERT_NEAR(q.x, reference.x, Tolerance);
        ASSERT_NEAR(q.y, reference.y, Tolerance);
        ASSERT_NEAR(q.z, reference.z, Tolerance);

        // ToMatrix lays the rotation down transposed.
        Math::Matrix4 m;
        Math::Quaternion::ToMatrix(q, m);
        ExpectNear(m, glm::transpose(glm::mat4_cast(reference)), "ToMatrix");

        const glm::vec3 otherAxis(Uniform(-1.0f, 1.0f) + 1.5f, Uniform(-1.0f, 1.0f), Uniform(-1.0f, 1.0f));
        const float otherDegrees = Uniform(-180.0f, 180.0f);
        Math::Vector3 ourOtherAxis(otherAxis.x, otherAxis.y, otherAxis.z);
        Math::Quaternion o;
        Math::Quaternion::FromAxisAngle(o, ourOtherAxis, otherDegrees);
        const glm::quat otherReference =
            glm::angleAxis(glm::radians(otherDegrees), glm::normalize(otherAxis));
        q *= o;
        const glm::quat product = reference * otherReference;
        ASSERT_NEAR(q.w, product.w, Tolerance);
        ASSERT_NEAR(q.x, product.x, Tolerance);
        ASSERT_NEAR(q.y, product.y, Tolerance);
        ASSERT_NEAR(q.z, product.z, Tolerance);
    }
}

} // namespace
