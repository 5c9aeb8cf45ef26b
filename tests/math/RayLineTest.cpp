#include "MathTestSupport.h"

#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"

namespace
{

using Math::Circle2D;
using Math::ClassifyResult;
using Math::Line2D;
using Math::LineSegment2D;
using Math::Ray2D;
using Math::Vector2D;
using MathTest::Near;
using MathTest::Untouched;

TEST(Ray2D, AgainstCircle)
{
    struct Case
    {
        Ray2D ray;
        ClassifyResult expected;
        Vector2D first;
        Vector2D second;
    };
    const Circle2D unit;
    const Case cases[] = {
        {{{-3, 0}, {1, 0}}, ClassifyResult::TwoPoints, {-1, 0}, {1, 0}},
        {{{0, 0}, {1, 0}}, ClassifyResult::OnePoint, {1, 0}, Untouched},
        {{{1, 0}, {-0.5f, 0}}, ClassifyResult::TwoPoints, {1, 0}, {-1, 0}},       // starts on the rim
        {{{3, 0}, {1, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched}, // both hits behind
        {{{-3, 0}, {-1, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched},
        // A grazing ray counts as one point (OnePoint, not Tangent).
        {{{-3, 1}, {1, 0}}, ClassifyResult::OnePoint, {0, 1}, Untouched},
        {{{3, 1}, {1, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched},
        {{{-3, 2}, {1, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched},
        {{{0, 0}, {0, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "ray from (" << c.ray.origin.x << ", " << c.ray.origin.y << ") along ("
                     << c.ray.direction.x << ", " << c.ray.direction.y << ")");
        Vector2D first = Untouched;
        Vector2D second = Untouched;
        EXPECT_EQ(c.ray.IntersectCircle(unit, first, second), c.expected);
        EXPECT_TRUE(Near(first, c.first));
        EXPECT_TRUE(Near(second, c.second));
    }
}

TEST(Line2D, AgainstCircle)
{
    struct Case
    {
        Line2D line;
        ClassifyResult expected;
        Vector2D first;
        Vector2D second;
    };
    const Circle2D unit;
    const Case cases[] = {
        {{{0, 1}, {1, 0}}, ClassifyResult::Tangent, {0, 1}, Untouched},
        {{{0, 0}, {1, 0}}, ClassifyResult::TwoPoints, {-1, 0}, {1, 0}},
        {{{5, 0}, {1, 0}}, ClassifyResult::TwoPoints, {-1, 0}, {1, 0}}, // no range limit
        {{{0, 2}, {1, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched},
        {{{0, 0}, {0, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched},
    };
    for (const Case& c : cases)
    {
        Vector2D first = Untouched;
        Vector2D second = Untouched;
        EXPECT_EQ(c.line.IntersectCircle(unit, first, second), c.expected)
            << c.line.point.x << ", " << c.line.point.y;
        EXPECT_TRUE(Near(first, c.first));
        EXPECT_TRUE(Near(second, c.second));
    }
}

TEST(RayAndLine, TangentHasAToleranceBand)
{
    const Circle2D unit;
    const Vector2D grazing(-3, 1.000003f); // discriminant a little below 0
    Vector2D point = Untouched;
    EXPECT_TRUE(Ray2D(grazing, {1, 0}).Tangent(unit, point));
    EXPECT_TRUE(Near(point, {0, 1.000003f}));
    point = Untouched;
    EXPECT_TRUE(Line2D(grazing, {1, 0}).Tangent(unit, point));
    EXPECT_TRUE(Near(point, {0, 1.000003f}));

    point = Untouched;
    EXPECT_FALSE(Ray2D({3, 1}, {1, 0}).Tangent(unit, point)); // the touching point is behind the origin
    EXPECT_TRUE(Line2D({3, 1}, {1, 0}).Tangent(unit, point));
    EXPECT_TRUE(Near(point, {0, 1}));

    point = Untouched;
    EXPECT_FALSE(Ray2D({-3, 1.1f}, {1, 0}).Tangent(unit, point));
    EXPECT_FALSE(Line2D({-3, 1.1f}, {1, 0}).Tangent(unit, point));
    EXPECT_FALSE(Ray2D({0, 1}, {0, 0}).Tangent(unit, point));
    EXPECT_FALSE(Line2D({0, 1}, {0, 0}).Tangent(unit, point));
    EXPECT_EQ(point, Untouched);
}

TEST(Ray2D, AgainstRay)
{
    struct Case
    {
        Ray2D self;
        Ray2D other;
        ClassifyResult expected;
        Vector2D point;
        LineSegment2D segment;
        Ray2D ray;
    };
    const LineSegment2D noSegment(Untouched, Untouched);
    const Ray2D noRay(Untouched, Untouched);
    const Case cases[] = {
        {{{0, 0}, {1, 1}}, {{2, 0}, {-1, 1}}, ClassifyResult::Intersecting, {1, 1}, noSegment, noRay},
        {{{0, 0}, {1, 0}}, {{-1, -1}, {0, 1}}, ClassifyResult::NoIntersection, Untouched, noSegment, noRay},
        {{{0, 0}, {1, 0}}, {{1, 1}, {0, 1}}, ClassifyResult::NoIntersection, Untouched, noSegment, noRay},
        {{{0, 0}, {1, 0}}, {{0, 1}, {2, 0}}, ClassifyResult::Parallel, Untouched, noSegment, noRay},
        // Same direction: the ray that starts further ahead, whatever the
        // lengths of the directions.
        {{{0, 0}, {1, 0}},
         {{2, 0}, {1, 0}},
         ClassifyResult::RaysSameDirection,
         Untouched,
         noSegment,
         {{2, 0}, {1, 0}}},
        {{{0, 0}, {1, 0}},
         {{2, 0}, {2, 0}},
         ClassifyResult::RaysSameDirection,
         Untouched,
         noSegment,
         {{2, 0}, {2, 0}}},
        {{{2, 0}, {3, 0}},
         {{0, 0}, {1, 0}},
         ClassifyResult::RaysSameDirection,
         Untouched,
         noSegment,
         {{2, 0}, {3, 0}}},
        {{{0, 0}, {0, 0.5f}},
         {{0, -4}, {0, 1}},
         ClassifyResult::RaysSameDirection,
         Untouched,
         noSegment,
         {{0, 0}, {0, 0.5f}}},
        // Facing each other: the segment between the origins.
        {{{0, 0}, {1, 0}}, {{2, 0}, {-1, 0}}, ClassifyResult::RaysFacing, Untouched, {{0, 0}, {2, 0}}, noRay},
        {{{2, 0}, {-3, 0}}, {{0, 0}, {1, 0}}, ClassifyResult::RaysFacing, Untouched, {{2, 0}, {0, 0}}, noRay},
        {{{0, 0}, {-1, 0}}, {{2, 0}, {1, 0}}, ClassifyResult::CollinearApart, Untouched, noSegment, noRay},
        {{{0, 0}, {1, 0}}, {{0, 0}, {-1, 0}}, ClassifyResult::Intersecting, {0, 0}, noSegment, noRay},
        {{{0, 0}, {0, 0}}, {{2, 0}, {-1, 0}}, ClassifyResult::NoIntersection, Untouched, noSegment, noRay},
        {{{0, 0}, {1, 0}}, {{2, 0}, {0, 0}}, ClassifyResult::NoIntersection, Untouched, noSegment, noRay},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "(" << c.self.origin.x << ", " << c.self.origin.y << ") along ("
                                        << c.self.direction.x << ", " << c.self.direction.y << ") against ("
                                        << c.other.origin.x << ", " << c.other.origin.y << ") along ("
                                        << c.other.direction.x << ", " << c.other.direction.y << ")");
        Vector2D point = Untouched;
        LineSegment2D segment = noSegment;
        Ray2D ray = noRay;
        EXPECT_EQ(c.self.IntersectRay(c.other, point, segment, ray), c.expected);
        EXPECT_TRUE(Near(point, c.point));
        EXPECT_TRUE(Near(segment.pointA, c.segment.pointA));
        EXPECT_TRUE(Near(segment.pointB, c.segment.pointB));
        EXPECT_TRUE(Near(ray.origin, c.ray.origin));
        EXPECT_TRUE(Near(ray.direction, c.ray.direction));
    }
}

TEST(Line2D, AgainstLineAndRay)
{
    const Line2D alongX({0, 0}, {1, 0});
    struct LineCase
    {
        Line2D other;
        ClassifyResult expected;
        Vector2D crossing;
    };
    const LineCase lines[] = {
        {{{5, 0}, {1, 0}}, ClassifyResult::Coincident, Untouched},
        {{{5, 0}, {-3, 0}}, ClassifyResult::Coincident, Untouched},
        {{{0, 1}, {1, 0}}, ClassifyResult::Parallel, Untouched},
        {{{3, 5}, {0, 1}}, ClassifyResult::Intersecting, {3, 0}},
        {{{-3, 5}, {1, 1}}, ClassifyResult::Intersecting, {-8, 0}},
        {{{3, 5}, {0, 0}}, ClassifyResult::NoIntersection, Untouched},
    };
    for (const LineCase& c : lines)
    {
        Vector2D crossing = Untouched;
        EXPECT_EQ(alongX.IntersectLine(c.other, crossing), c.expected) << c.other.point.x;
        EXPECT_TRUE(Near(crossing, c.crossing));
    }

    struct RayCase
    {
        Ray2D ray;
        ClassifyResult expected;
        Vector2D crossing;
    };
    const RayCase rays[] = {
        {{{2, 3}, {0, -1}}, ClassifyResult::Intersecting, {2, 0}},
        {{{2, 3}, {0, 1}}, ClassifyResult::NoIntersection, Untouched},
        {{{5, 0}, {2, 0}}, ClassifyResult::Coincident, Untouched},
        {{{5, 1}, {1, 0}}, ClassifyResult::Parallel, Untouched},
        {{{2, 3}, {0, 0}}, ClassifyResult::NoIntersection, Untouched},
    };
    for (const RayCase& c : rays)
    {
        Vector2D crossing = Untouched;
        EXPECT_EQ(alongX.IntersectRay(c.ray, crossing), c.expected)
            << c.ray.origin.x << ", " << c.ray.direction.y;
        EXPECT_TRUE(Near(crossing, c.crossing));
    }
}

TEST(RayAndLine, DirectionRelationsInDegrees)
{
    const Ray2D ray({0, 0}, {1, 0});
    const Line2D line({4, 4}, {1, 0});
    EXPECT_NEAR(ray.AngleBetween(Ray2D({1, 1}, {0, 2})), 90.0f, 1e-4f);
    EXPECT_NEAR(line.AngleBetween(Line2D({1, 1}, {0, 2})), 90.0f, 1e-4f);
    EXPECT_NEAR(line.AngleBetween(Ray2D({1, 1}, {-1, 1})), 135.0f, 1e-4f);
    EXPECT_NEAR(ray.AngleBetween(Line2D({1, 1}, {-1, -1})), 135.0f, 1e-4f);
    EXPECT_EQ(ray.AngleBetween(Ray2D({1, 1}, {0.3f, 0})), 0.0f);
    EXPECT_EQ(ray.AngleBetween(Ray2D({1, 1}, {0, 0})), 0.0f);

    EXPECT_TRUE(ray.Perpendicular(Line2D({0, 0}, {0.0004f, 1})));
    EXPECT_FALSE(line.Perpendicular(Ray2D({0, 0}, {0.0006f, 1})));
    EXPECT_TRUE(line.Parallel(Ray2D({0, 9}, {2, 0.0002f})));
    EXPECT_FALSE(ray.Parallel(Line2D({0, 9}, {2, 0.0006f})));
    EXPECT_TRUE(ray.Parallel(Ray2D({0, 9}, {-2, 0})));
    EXPECT_TRUE(line.Perpendicular(Line2D({0, 9}, {0, -2})));
}

} // namespace
