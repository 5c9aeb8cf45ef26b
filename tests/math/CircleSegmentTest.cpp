#include "MathTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"

#include <cmath>

namespace
{

using Math::Circle2D;
using Math::ClassifyResult;
using Math::LineSegment2D;
using Math::Vector2D;
using MathTest::Near;
using MathTest::Untouched;

TEST(Circle2D, DefaultIsTheUnitCircleAtTheOrigin)
{
    const Circle2D circle;
    EXPECT_EQ(circle.center, Vector2D(0.0f, 0.0f));
    EXPECT_EQ(circle.radius, 1.0f);
}

TEST(Circle2D, AgainstCircle)
{
    struct Case
    {
        Circle2D self;
        Circle2D other;
        ClassifyResult classified;
        ClassifyResult intersected;
        int points;
        Vector2D first;
        Vector2D second;
    };
    const float h = std::sqrt(0.75f);
    const Case cases[] = {
        {{{0, 0}, 2}, {{3, 0}, 1}, ClassifyResult::TouchOutside, ClassifyResult::TouchOutside, 1, {2, 0}, {}},
        {{{0, 0}, 2}, {{1, 0}, 1}, ClassifyResult::TouchInside, ClassifyResult::TouchInside, 1, {2, 0}, {}},
        {{{0, 0}, 5}, {{1, 0}, 1}, ClassifyResult::Contains, ClassifyResult::Contains, 0, {}, {}},
        {{{1, 0}, 1}, {{0, 0}, 5}, ClassifyResult::Inside, ClassifyResult::Inside, 0, {}, {}},
        // Identical circles: the strict containment tests fail first.
        {{{2, 3}, 1.5f}, {{2, 3}, 1.5f}, ClassifyResult::Coincident, ClassifyResult::Coincident, 0, {}, {}},
        {{{0, 0}, 1},
         {{1, 0}, 1},
         ClassifyResult::Intersecting,
         ClassifyResult::TwoPoints,
         2,
         {0.5f, h},
         {0.5f, -h}},
        {{{0, 0}, 1},
         {{0, 1}, 1},
         ClassifyResult::Intersecting,
         ClassifyResult::TwoPoints,
         2,
         {-h, 0.5f},
         {h, 0.5f}},
        {{{0, 0}, 1}, {{5, 0}, 1}, ClassifyResult::Outside, ClassifyResult::Outside, 0, {}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "other centre (" << c.other.center.x << ", " << c.other.center.y
                                        << ") radius " << c.other.radius);
        EXPECT_EQ(c.self.ClassifyCircle(c.other), c.classified);
        Vector2D first = Untouched;
        Vector2D second = Untouched;
        EXPECT_EQ(c.self.IntersectCircle(c.other, first, second), c.intersected);
        EXPECT_TRUE(Near(first, c.points >= 1 ? c.first : Untouched));
        EXPECT_TRUE(Near(second, c.points == 2 ? c.second : Untouched));
    }
}

TEST(Circle2D, BarelyCrossingCirclesNeverGiveNaNPoints)
{
    // Radii and distance chosen so that a^2 may round above r1^2.
    const Circle2D a({0.0f, 0.0f}, 1.0f);
    for (float gap = 1e-7f; gap < 1e-4f; gap *= 3.0f)
    {
        const Circle2D b({2.0f - gap, 0.0f}, 1.0f);
        Vector2D first;
        Vector2D second;
        if (a.IntersectCircle(b, first, second) == ClassifyResult::TwoPoints)
        {
            EXPECT_FALSE(std::isnan(first.x) || std::isnan(first.y) || std::isnan(second.y)) << gap;
            EXPECT_TRUE(Near(first, {1.0f, 0.0f}, 0.01f));
        }
    }
}

TEST(LineSegment2D, AgainstCircle)
{
    struct Case
    {
        LineSegment2D segment;
        ClassifyResult expected;
        Vector2D first;
        Vector2D second;
    };
    const Circle2D unit;
    const Case cases[] = {
        {{{-2, 0}, {2, 0}}, ClassifyResult::TwoPoints, {-1, 0}, {1, 0}},
        {{{2, 0}, {-2, 0}}, ClassifyResult::TwoPoints, {1, 0}, {-1, 0}}, // in the segment's order
        {{{0, 0}, {2, 0}}, ClassifyResult::OnePoint, {1, 0}, Untouched}, // starts inside
        {{{2, 0}, {0, 0}}, ClassifyResult::OnePoint, {1, 0}, Untouched}, // ends inside
        {{{-2, 1}, {2, 1}}, ClassifyResult::Tangent, {0, 1}, Untouched},
        {{{1, 1}, {2, 1}}, ClassifyResult::NoIntersection, Untouched, Untouched}, // would touch before A
        {{{-0.5f, 0}, {0.5f, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched}, // wholly inside
        {{{2, 0}, {3, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched},
        {{{-2, 2}, {2, 2}}, ClassifyResult::NoIntersection, Untouched, Untouched},
        {{{0.5f, 0}, {0.5f, 0}}, ClassifyResult::NoIntersection, Untouched, Untouched}, // zero length
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "segment (" << c.segment.pointA.x << ", " << c.segment.pointA.y
                                        << ")-(" << c.segment.pointB.x << ", " << c.segment.pointB.y << ")");
        Vector2D first = Untouched;
        Vector2D second = Untouched;
        EXPECT_EQ(c.segment.IntersectCircle(unit, first, second), c.expected);
        EXPECT_TRUE(Near(first, c.first));
        EXPECT_TRUE(Near(second, c.second));

        // The circle's form is the same test.
        Vector2D mirroredFirst = Untouched;
        Vector2D mirroredSecond = Untouched;
        EXPECT_EQ(unit.IntersectLineSegment(c.segment, mirroredFirst, mirroredSecond), c.expected);
        EXPECT_EQ(mirroredFirst, first);
        EXPECT_EQ(mirroredSecond, second);
    }
}

TEST(LineSegment2D, TangentHasAToleranceBandTheIntersectionTestHasNot)
{
    const Circle2D unit;
    Vector2D point = Untouched;
    EXPECT_TRUE(LineSegment2D({-2, 1}, {2, 1}).Tangent(unit, point));
    EXPECT_TRUE(Near(point, {0, 1}));

    // The discriminant is a little below 0: no intersection, yet a tangent.
    const LineSegment2D grazing({-2, 1.000003f}, {2, 1.000003f});
    Vector2D first = Untouched;
    Vector2D second = Untouched;
    EXPECT_EQ(grazing.IntersectCircle(unit, first, second), ClassifyResult::NoIntersection);
    EXPECT_TRUE(grazing.Tangent(unit, point));
    EXPECT_TRUE(Near(point, {0, 1.000003f}));

    point = Untouched;
    EXPECT_FALSE(LineSegment2D({-2, 1}, {-1, 1}).Tangent(unit, point)); // the touching point lies past B
    EXPECT_FALSE(LineSegment2D({-2, 1.1f}, {2, 1.1f}).Tangent(unit, point));
    EXPECT_FALSE(LineSegment2D({0, 1}, {0, 1}).Tangent(unit, point));
    EXPECT_EQ(point, Untouched);
}

struct SegmentCase
{
    LineSegment2D self;
    LineSegment2D other;
    ClassifyResult intersected;
    ClassifyResult classified; // ClassifySegments: collinear needs an exact zero
    Vector2D crossing;         // written only with Intersecting
    LineSegment2D overlap;     // written only with Coincident
};

TEST(LineSegment2D, AgainstSegment)
{
    const LineSegment2D none(Untouched, Untouched);
    const SegmentCase cases[] = {
        {{{0, 0}, {2, 0}},
         {{1, -1}, {1, 1}},
         ClassifyResult::Intersecting,
         ClassifyResult::Intersecting,
         {1, 0},
         none},
        {{{0, 0}, {1, 0}},
         {{1, 0}, {1, 1}},
         ClassifyResult::Intersecting,
         ClassifyResult::Intersecting,
         {1, 0},
         none},
        {{{0, 0}, {1, 0}},
         {{2, -1}, {2, 1}},
         ClassifyResult::NoIntersection,
         ClassifyResult::NoIntersection,
         Untouched,
         none},
        {{{0, 0}, {4, 0}},
         {{1, 0}, {2, 0}},
         ClassifyResult::Coincident,
         ClassifyResult::Coincident,
         Untouched,
         {{1, 0}, {2, 0}}},
        {{{0, 0}, {1, 0}},
         {{2, 0}, {3, 0}},
         ClassifyResult::CollinearApart,
         ClassifyResult::CollinearApart,
         Untouched,
         none},
        {{{0, 0}, {0, 4}},
         {{0, 1}, {0, 2}},
         ClassifyResult::Coincident,
         ClassifyResult::Coincident,
         Untouched,
         {{0, 1}, {0, 2}}},
        {{{0, 0}, {1, 0}},
         {{1, 0}, {2, 0}},
         ClassifyResult::Coincident,
         ClassifyResult::Coincident,
         Untouched,
         {{1, 0}, {1, 0}}},
        // Partial overlaps of long segments, every orientation: the overlap
        // runs from the shorter segment's inner end to the base's end.
        {{{0, 0}, {4, 0}},
         {{3, 0}, {6, 0}},
         ClassifyResult::Coincident,
         ClassifyResult::Coincident,
         Untouched,
         {{3, 0}, {4, 0}}},
        {{{0, 0}, {4, 0}},
         {{6, 0}, {3, 0}},
         ClassifyResult::Coincident,
         ClassifyResult::Coincident,
         Untouched,
         {{3, 0}, {4, 0}}},
        {{{3, 0}, {6, 0}},
         {{0, 0}, {4, 0}},
         ClassifyResult::Coincident,
         ClassifyResult::Coincident,
         Untouched,
         {{3, 0}, {4, 0}}},
        {{{3, 0}, {6, 0}},
         {{4, 0}, {0, 0}},
         ClassifyResult::Coincident,
         ClassifyResult::Coincident,
         Untouched,
         {{3, 0}, {4, 0}}},
        {{{0, 0}, {10, 0}},
         {{-5, 0}, {2, 0}},
         ClassifyResult::Coincident,
         ClassifyResult::Coincident,
         Untouched,
         {{2, 0}, {0, 0}}},
        // The collinear band of the intersection test is |offset cross| <= 1.
        {{{0, 0}, {4, 0}},
         {{0, 0.2f}, {4, 0.2f}},
         ClassifyResult::Coincident,
         ClassifyResult::Parallel,
         Untouched,
         {{0, 0}, {4, 0}}},
        {{{0, 0}, {4, 0}},
         {{0, 0.5f}, {4, 0.5f}},
         ClassifyResult::Parallel,
         ClassifyResult::Parallel,
         Untouched,
         none},
        // Zero length meets nothing.
        {{{1, 0}, {1, 0}},
         {{0, 0}, {2, 0}},
         ClassifyResult::NoIntersection,
         ClassifyResult::NoIntersection,
         Untouched,
         none},
        {{{0, 0}, {2, 0}},
         {{1, 0}, {1, 0}},
         ClassifyResult::NoIntersection,
         ClassifyResult::NoIntersection,
         Untouched,
         none},
    };
    for (const SegmentCase& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "(" << c.self.pointA.x << ", " << c.self.pointA.y << ")-(" << c.self.pointB.x << ", "
                     << c.self.pointB.y << ") against (" << c.other.pointA.x << ", " << c.other.pointA.y
                     << ")-(" << c.other.pointB.x << ", " << c.other.pointB.y << ")");
        Vector2D crossing = Untouched;
        LineSegment2D overlap = none;
        EXPECT_EQ(c.self.IntersectLineSegment(c.other, crossing, overlap), c.intersected);
        EXPECT_TRUE(Near(crossing, c.crossing));
        EXPECT_TRUE(Near(overlap.pointA, c.overlap.pointA));
        EXPECT_TRUE(Near(overlap.pointB, c.overlap.pointB));
        EXPECT_EQ(Math::ClassifySegments(c.self, c.other), c.classified);
    }
}

TEST(LineSegment2D, AgainstRay)
{
    struct Case
    {
        LineSegment2D segment;
        Math::Ray2D ray;
        ClassifyResult expected;
        Vector2D crossing;
        LineSegment2D overlap;
    };
    const LineSegment2D none(Untouched, Untouched);
    const Math::Ray2D alongX({0, 0}, {1, 0});
    const Case cases[] = {
        {{{1, -1}, {1, 1}}, alongX, ClassifyResult::Intersecting, {1, 0}, none},
        {{{-1, -1}, {-1, 1}}, alongX, ClassifyResult::NoIntersection, Untouched, none}, // behind the origin
        {{{1, 1}, {1, 2}}, alongX, ClassifyResult::NoIntersection, Untouched, none},
        {{{0, 1}, {2, 1}}, alongX, ClassifyResult::Parallel, Untouched, none},
        {{{1, 0}, {3, 0}}, alongX, ClassifyResult::Coincident, Untouched, {{1, 0}, {3, 0}}},
        {{{2, 0}, {-2, 0}}, alongX, ClassifyResult::Coincident, Untouched, {{2, 0}, {0, 0}}},
        {{{-2, 0}, {2, 0}}, alongX, ClassifyResult::Coincident, Untouched, {{2, 0}, {0, 0}}},
        {{{0, 0}, {-2, 0}}, alongX, ClassifyResult::Intersecting, {0, 0}, none},
        {{{-2, 0}, {0, 0}}, alongX, ClassifyResult::Intersecting, {0, 0}, none},
        {{{-3, 0}, {-1, 0}}, alongX, ClassifyResult::CollinearApart, Untouched, none},
        {{{0, 1}, {0, 5}},
         {{0, 0}, {0, 2}},
         ClassifyResult::Coincident,
         Untouched,
         {{0, 1}, {0, 5}}}, // along y
        {{{1, 1}, {1, 1}}, alongX, ClassifyResult::NoIntersection, Untouched, none},
        {{{1, -1}, {1, 1}}, {{0, 0}, {0, 0}}, ClassifyResult::NoIntersection, Untouched, none},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "segment (" << c.segment.pointA.x << ", " << c.segment.pointA.y
                                        << ")-(" << c.segment.pointB.x << ", " << c.segment.pointB.y << ")");
        Vector2D crossing = Untouched;
        LineSegment2D overlap = none;
        EXPECT_EQ(c.segment.IntersectRay(c.ray, crossing, overlap), c.expected);
        EXPECT_TRUE(Near(crossing, c.crossing));
        EXPECT_TRUE(Near(overlap.pointA, c.overlap.pointA));
        EXPECT_TRUE(Near(overlap.pointB, c.overlap.pointB));
    }
}

TEST(LineSegment2D, AgainstLine)
{
    struct Case
    {
        LineSegment2D segment;
        ClassifyResult expected;
        Vector2D crossing;
    };
    const Math::Line2D line({5, 0}, {2, 0});
    const Case cases[] = {
        {{{0, -1}, {0, 1}}, ClassifyResult::Intersecting, {0, 0}},
        {{{0, 1}, {0, 2}}, ClassifyResult::NoIntersection, Untouched},
        {{{0, 0}, {1, 0}}, ClassifyResult::Coincident, Untouched},
        {{{0, 1}, {1, 1}}, ClassifyResult::Parallel, Untouched},
        {{{0, 0}, {0, 0}}, ClassifyResult::NoIntersection, Untouched},
    };
    for (const Case& c : cases)
    {
        Vector2D crossing = Untouched;
        EXPECT_EQ(c.segment.IntersectLine(line, crossing), c.expected) << c.segment.pointA.y;
        EXPECT_TRUE(Near(crossing, c.crossing));
    }
    Vector2D crossing = Untouched;
    EXPECT_EQ(LineSegment2D({0, -1}, {0, 1}).IntersectLine(Math::Line2D({5, 0}, {0, 0}), crossing),
              ClassifyResult::NoIntersection);
}

TEST(LineSegment2D, DirectionRelations)
{
    const LineSegment2D base({0, 0}, {4, 0});
    // Cross product 4 * dy: inside the tolerance at dy = 0.0001, outside at 0.0002.
    EXPECT_TRUE(base.Parallel(LineSegment2D({0, 1}, {2, 1.0001f})));
    EXPECT_FALSE(base.Parallel(LineSegment2D({0, 1}, {2, 1.0002f})));
    EXPECT_TRUE(base.Perpendicular(LineSegment2D({1, 0}, {1.0001f, 3})));
    EXPECT_FALSE(base.Perpendicular(LineSegment2D({1, 0}, {1.0002f, 3})));
    // Alligned: parallel, and the other's first point exactly on this line.
    EXPECT_TRUE(base.Alligned(LineSegment2D({7, 0}, {9, 0})));
    EXPECT_FALSE(base.Alligned(LineSegment2D({7, 0.0001f}, {9, 0.0001f})));
    EXPECT_FALSE(base.Alligned(LineSegment2D({7, 0}, {9, 1})));
}

TEST(LineSegment2D, AngleBetweenIsInRadians)
{
    const LineSegment2D base({0, 0}, {1, 0});
    EXPECT_FLOAT_EQ(base.AngleBetween(LineSegment2D({0, 0}, {0, 2})), 1.5707964f);
    EXPECT_FLOAT_EQ(base.AngleBetween(LineSegment2D({5, 5}, {3, 5})), 3.1415927f);
    // Equal directions whose normalised cosine rounds past 1 give 0, not NaN.
    const LineSegment2D slanted({0, 0}, {0.3f, 0.7f});
    EXPECT_EQ(slanted.AngleBetween(LineSegment2D({1, 1}, {1.3f, 1.7f})), 0.0f);
    for (float x = 0.1f; x < 5.0f; x += 0.37f)
    {
        const LineSegment2D s({0, 0}, {x, 1.0f / x + 0.3f});
        EXPECT_FALSE(std::isnan(s.AngleBetween(s))) << x;
    }
    // A zero-length segment has no direction: 0.
    EXPECT_EQ(base.AngleBetween(LineSegment2D({1, 1}, {1, 1})), 0.0f);
}

TEST(Shapes2D, ArchiveForms)
{
    Core::MemoryFile file;
    file << Circle2D({1.5f, -2.0f}, 3.25f) << LineSegment2D({1, 2}, {3, 4});
    ASSERT_EQ(file.GetSize(), 12u + 16u);

    Circle2D circle;
    LineSegment2D segment;
    file >> circle >> segment;
    ASSERT_FALSE(file.Failed());
    EXPECT_EQ(circle.center, Vector2D(1.5f, -2.0f));
    EXPECT_EQ(circle.radius, 3.25f);
    EXPECT_EQ(segment.pointA, Vector2D(1, 2));
    EXPECT_EQ(segment.pointB, Vector2D(3, 4));

    // Three of four floats: the segment keeps what it held.
    const float three[3] = {9, 9, 9};
    Core::MemoryFile shortFile(three, sizeof three);
    shortFile >> segment;
    EXPECT_TRUE(shortFile.Failed());
    EXPECT_EQ(segment.pointA, Vector2D(1, 2));
    EXPECT_EQ(segment.pointB, Vector2D(3, 4));
}

} // namespace
