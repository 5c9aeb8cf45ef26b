#include "MathTestSupport.h"

#include "math/Math_BoundingBox.h"
#include "math/Math_Frustum.h"

namespace
{

using Math::BoundingBox;
using Math::ClassifyResult;
using Math::Frustum;
using Math::Matrix4;
using Math::Plane;
using Math::Vector3;
using MathTest::Near;

// The box spanning low..high: a seed whose corners carry both extremes,
// enclosed without margin.
BoundingBox Box(const Vector3& low, const Vector3& high)
{
    BoundingBox seed;
    seed.corners[0] = low;
    for (int i = 1; i < 8; ++i)
    {
        seed.corners[i] = high;
    }
    BoundingBox box;
    BoundingBox::FromList(box, {&seed, 1}, 0.0f);
    return box;
}

BoundingBox CubeAround(const Vector3& centre, float half)
{
    return Box({centre.x - half, centre.y - half, centre.z - half},
               {centre.x + half, centre.y + half, centre.z + half});
}

TEST(Plane, SetCoefficientsPicksAPointOnTheFirstUsableAxis)
{
    Plane plane;
    plane.SetCoefficients(0, 0, 2, -4);
    EXPECT_TRUE(Near(plane.point, {0, 0, 2}, 0.0f));
    EXPECT_TRUE(Near(plane.normal, {0, 0, 2}, 0.0f));
    EXPECT_EQ(plane.d, -4.0f);

    plane.SetCoefficients(1, 0, 0.0004f, -3); // c within the tolerance, b zero: the x axis
    EXPECT_TRUE(Near(plane.point, {3, 0, 0}, 0.0f));
    plane.SetCoefficients(0, -2, 0, 6);
    EXPECT_TRUE(Near(plane.point, {0, 3, 0}, 0.0f));
    plane.SetCoefficients(0, 0, 0, 1); // no usable axis: the point stays
    EXPECT_TRUE(Near(plane.point, {0, 3, 0}, 0.0f));

    plane.SetPointNormal({1, 2, 3}, {0, 1, 0});
    EXPECT_EQ(plane.b, 1.0f);
    EXPECT_EQ(plane.d, -2.0f);
}

TEST(Plane, ClassifyPointCountsTheNeighbourhoodOfTheStoredPointAsOn)
{
    Plane plane;
    plane.SetPointNormal({0, 0, 0}, {0, 0, 1});
    struct Case
    {
        Vector3 point;
        ClassifyResult expected;
    };
    const Case cases[] = {
        {{0, 0, -0.04f}, ClassifyResult::Intersecting}, {{0, 0, -0.06f}, ClassifyResult::Behind},
        {{0, 0, 0.06f}, ClassifyResult::InFront},       {{0.03f, 0.03f, 0.02f}, ClassifyResult::Intersecting},
        {{5, 5, 0}, ClassifyResult::Intersecting}, // on the plane, far from the point
        {{5, 5, 0.001f}, ClassifyResult::InFront},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.point.ClassifyToPlane(plane), c.expected) << c.point.x << ", " << c.point.z;
    }
}

TEST(BoundingBox, MergeEnclosesBothWithTheMargin)
{
    const BoundingBox a = Box({0, 0, 0}, {1, 1, 1});
    const BoundingBox b = Box({2, 2, 2}, {3, 3, 3});
    BoundingBox merged;
    BoundingBox::Merge(merged, a, b, 0.5f);
    EXPECT_TRUE(Near(merged.corners[0], {3.5f, 3.5f, 3.5f}, 0.0f));
    EXPECT_TRUE(Near(merged.corners[6], {-0.5f, -0.5f, -0.5f}, 0.0f));
    EXPECT_TRUE(Near(merged.corners[2], {-0.5f, 3.5f, -0.5f}, 0.0f));
    EXPECT_TRUE(Near(merged.corners[7], {3.5f, -0.5f, -0.5f}, 0.0f));
    EXPECT_TRUE(Near(merged.center, {1.5f, 1.5f, 1.5f}, 0.0f)); // without the margin

    // Outward faces: top +y, bottom -y, front +z, back -z, right +x, left -x.
    const Vector3 outward[6] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}};
    for (int i = 0; i < 6; ++i)
    {
        Vector3 normal = merged.planes[i].normal;
        normal.Normalize();
        EXPECT_TRUE(Near(normal, outward[i])) << "plane " << i;
        EXPECT_EQ(Vector3(4, 4, 4).ClassifyToPlane(merged.planes[i]) == ClassifyResult::InFront,
                  outward[i].x + outward[i].y + outward[i].z > 0)
            << "plane " << i;
    }

    // A negative margin counts as 0, and the output may be an input.
    BoundingBox::Merge(merged, merged, b, -1.0f);
    EXPECT_TRUE(Near(merged.corners[0], {3.5f, 3.5f, 3.5f}, 0.0f));
    BoundingBox::Merge(merged, a, b, -1.0f);
    EXPECT_TRUE(Near(merged.corners[0], {3, 3, 3}, 0.0f));
    EXPECT_TRUE(Near(merged.corners[6], {0, 0, 0}, 0.0f));

    // An empty list leaves the output alone.
    BoundingBox::FromList(merged, {}, 0.0f);
    EXPECT_TRUE(Near(merged.corners[0], {3, 3, 3}, 0.0f));
}

TEST(Frustum, CornersOfAPerspectiveVolume)
{
    Frustum frustum;
    frustum.SetProjection(Matrix4::Perspective(90, 1, 1, 100));
    frustum.Update(Matrix4());
    EXPECT_TRUE(Near(frustum.corners[0], {1, 1, -1}, 1e-5f));
    EXPECT_TRUE(Near(frustum.corners[3], {100, 100, -100}, 1e-3f));
    EXPECT_TRUE(Near(frustum.corners[6], {-100, -100, -100}, 1e-3f));
    EXPECT_TRUE(Near(frustum.corners[5], {-1, -1, -1}, 1e-5f));
}

TEST(Frustum, ClassifyBoxes)
{
    struct Case
    {
        const char* what;
        Vector3 low;
        Vector3 high;
        ClassifyResult expected;
    };
    const Case cases[] = {
        {"small box at z -10", {-0.5f, -0.5f, -10.5f}, {0.5f, 0.5f, -9.5f}, ClassifyResult::Inside},
        {"behind the far plane", {-1, -1, -300}, {1, 1, -200}, ClassifyResult::Outside},
        {"behind the camera", {-1, -1, 5}, {1, 1, 10}, ClassifyResult::Outside},
        {"crossing the near plane", {-0.2f, -0.2f, -2}, {0.2f, 0.2f, 0.5f}, ClassifyResult::Intersecting},
        {"crossing the far plane", {-1, -1, -150}, {1, 1, -50}, ClassifyResult::Intersecting},
        {"left of the volume", {-30, -1, -11}, {-20, 1, -9}, ClassifyResult::Outside},
        {"across the left side", {-15, -1, -11}, {-5, 1, -9}, ClassifyResult::Intersecting},
        {"above the volume", {-1, 20, -11}, {1, 30, -9}, ClassifyResult::Outside},
        {"around the whole volume", {-500, -500, -500}, {500, 500, 500}, ClassifyResult::Intersecting},
    };
    Frustum frustum;
    frustum.SetProjection(Matrix4::Perspective(90, 1, 1, 100));
    frustum.Update(Matrix4());
    for (const Case& c : cases)
    {
        EXPECT_EQ(frustum.Classify(Box(c.low, c.high)), c.expected) << c.what;
    }
}

TEST(Frustum, UpdateMovesTheVolumeWithTheCamera)
{
    // Camera at z = 50 turned 90 degrees about z, looking down -z.
    const Matrix4 camera = Matrix4::Translation(0, 0, 50) * Matrix4::RotationZ(90.0f);
    Frustum frustum;
    frustum.SetProjection(Matrix4::Perspective(60, 2, 1, 100));
    frustum.Update(camera);
    Frustum eyeSpace;
    eyeSpace.SetProjection(Matrix4::Perspective(60, 2, 1, 100));
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_TRUE(Near(frustum.corners[i], camera * eyeSpace.corners[i], 0.0f)) << "corner " << i;
    }
    EXPECT_NEAR(frustum.corners[0].z, 49.0f, 1e-4f);

    EXPECT_EQ(frustum.Classify(CubeAround({0, 0, 40}, 0.5f)), ClassifyResult::Inside);
    EXPECT_EQ(frustum.Classify(CubeAround({0, 0, 0}, 0.5f)), ClassifyResult::Inside);
    EXPECT_EQ(frustum.Classify(CubeAround({0, 0, 60}, 0.5f)), ClassifyResult::Outside);
    EXPECT_EQ(frustum.Classify(CubeAround({0, 0, -60}, 0.5f)), ClassifyResult::Outside);
    // The aspect of 2 widens x in camera space, which the turn maps to world y.
    EXPECT_EQ(frustum.Classify(CubeAround({0, 15, 30}, 0.5f)), ClassifyResult::Inside);
    EXPECT_EQ(frustum.Classify(CubeAround({15, 0, 30}, 0.5f)), ClassifyResult::Outside);

    // Rebuilt from the projection before every update, a second camera
    // position does not stack on the first.
    frustum.SetProjection(Matrix4::Perspective(60, 2, 1, 100));
    frustum.Update(Matrix4::Translation(0, 0, -100));
    EXPECT_EQ(frustum.Classify(CubeAround({0, 0, -130}, 0.5f)), ClassifyResult::Inside);
    EXPECT_EQ(frustum.Classify(CubeAround({0, 0, 40}, 0.5f)), ClassifyResult::Outside);
}

} // namespace
