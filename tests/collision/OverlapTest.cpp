#include "SweptTestSupport.h"

#include <vector>

namespace
{

using namespace Collision2D;
using namespace SweptTest;

using OverlapTest = CollisionTest::CollisionFixture;

// The four overlap members in the pair test's order; true when any touched.
bool OverlapAll(DynamicObject& first, DynamicObject& second)
{
    bool any = first.OverlapSegmentsSegments(second, 0);
    any = first.OverlapSegmentsCircles(second, 0) || any;
    any = first.OverlapCirclesSegments(second, 0) || any;
    any = first.OverlapCirclesCircles(second, 0) || any;
    return any;
}

const ShapeContact& Record(const DGEO_C& dgeo, bool circle, int index)
{
    return circle ? static_cast<const ShapeContact&>(dgeo.circles[index])
                  : static_cast<const ShapeContact&>(dgeo.lineSegments[index]);
}

TEST_F(OverlapTest, IntersectingShapePairsGiveOneRecordEachMirroredAtOnce)
{
    struct Case
    {
        const char* name;
        std::vector<SegmentShape> firstSegments;
        std::vector<CircleShape> firstCircles;
        std::vector<SegmentShape> secondSegments;
        std::vector<CircleShape> secondCircles;
        std::vector<Vector2D> points; // of the first record
        Vector2D normal;              // of the first record's first point
    };
    const Case cases[] = {
        {"tangent circles", {}, {{{0, 0}, 5, 1}}, {}, {{{10, 0}, 5, 2}}, {}, {}},
        {"circle inside a circle", {}, {{{0, 0}, 2, 1}}, {}, {{{1, 0}, 5, 2}}, {}, {}},
        {"crossing circles", {}, {{{0, 0}, 5, 1}}, {}, {{{8, 0}, 5, 2}}, {{4, 3}, {4, -3}}, {-1, 0}},
        // Segments count from their back too.
        {"crossing segments", {{{0, -5}, {0, 5}, 1}}, {}, {{{5, 0}, {-5, 0}, 2}}, {}, {{0, 0}}, {0, -1}},
        {"collinear segments",
         {{{0, 0}, {10, 0}, 1}},
         {},
         {{{5, 0}, {20, 0}, 2}},
         {},
         {{10, 0}, {5, 0}},
         {0, 1}},
        {"segment across a circle",
         {{{-10, 0}, {10, 0}, 1}},
         {},
         {},
         {{{0, 0}, 5, 2}},
         {{-5, 0}, {5, 0}},
         {-1, 0}},
        {"segment touching a circle", {{{-10, 5}, {10, 5}, 1}}, {}, {}, {{{0, 0}, 5, 2}}, {{0, 5}}, {0, 1}},
        {"circle across a segment",
         {},
         {{{0, 3}, 5, 1}},
         {{{-10, 0}, {10, 0}, 2}},
         {},
         {{-4, 0}, {4, 0}},
         {0, 1}},
        {"apart",
         {{{0, 0}, {10, 0}, 1}},
         {{{0, 30}, 2, 3}},
         {{{0, 50}, {10, 50}, 2}},
         {{{30, 0}, 2, 4}},
         {},
         {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Body first(c.firstSegments, c.firstCircles, 1);
        Body second(c.secondSegments, c.secondCircles, 2);
        first.object.SetUpdateOnIdle(true);
        first.Rest({0, 0});
        second.Rest({0, 0});
        ASSERT_EQ(OverlapAll(first.object, second.object), !c.points.empty());
        const DGEO_C& mine = first.Current();
        const DGEO_C& theirs = second.Current();
        if (c.points.empty())
        {
            EXPECT_EQ(mine.currentCirclesNumber + mine.currentLineSegmentsNumber, 0);
            EXPECT_EQ(theirs.currentCirclesNumber + theirs.currentLineSegmentsNumber, 0);
            continue;
        }
        const bool otherIsCircle = !c.secondCircles.empty();
        const bool mineIsCircle = !c.firstCircles.empty();
        ASSERT_EQ(mine.currentCirclesNumber + mine.currentLineSegmentsNumber, 1);
        ASSERT_EQ((otherIsCircle ? mine.currentCirclesNumber : mine.currentLineSegmentsNumber), 1);
        ASSERT_EQ((mineIsCircle ? theirs.currentCirclesNumber : theirs.currentLineSegmentsNumber), 1);
        const ShapeContact& record = Record(mine, otherIsCircle, 0);
        const ShapeContact& mirror = Record(theirs, mineIsCircle, 0);
        ASSERT_EQ(record.numberOfIntersectedPoints, static_cast<int>(c.points.size()));
        ASSERT_EQ(mirror.numberOfIntersectedPoints, record.numberOfIntersectedPoints);
        for (std::size_t i = 0; i < c.points.size(); ++i)
        {
            ExpectNear(record.contactPoint[i], c.points[i], 1e-4f);
            ExpectNear(mirror.contactPoint[i], c.points[i], 1e-4f);
            ExpectNear(mirror.normal[i], -record.normal[i], 0.0f);
        }
        ExpectNear(record.normal[0], c.normal, 1e-5f);
        EXPECT_EQ(record.penetrationDistance, 0.0f);
        EXPECT_EQ(record.userId, 2u);
        EXPECT_EQ((mineIsCircle ? record.myCircleUserId : record.myLineSegmentUserId)[0], 1u);
        EXPECT_EQ(mirror.userId, 1u);
        EXPECT_EQ((otherIsCircle ? mirror.myCircleUserId : mirror.myLineSegmentUserId)[0], 2u);
    }
}

// Two segments each crossing two circles: four records on each side, in the
// order of the shape lists.
TEST_F(OverlapTest, TwoByTwoShapePairsGiveFourRecordsOnEachSide)
{
    Body bars({{{-20, -2}, {20, -2}, 1}, {{-20, 2}, {20, 2}, 2}}, {}, 1);
    Body balls({}, {{{-10, 0}, 5, 3}, {{10, 0}, 5, 4}}, 2);
    bars.object.SetUpdateOnIdle(true);
    bars.Rest({0, 0});
    balls.Rest({0, 0});
    ASSERT_TRUE(OverlapAll(bars.object, balls.object));
    const DGEO_C& mine = bars.Current();
    const DGEO_C& theirs = balls.Current();
    ASSERT_EQ(mine.currentCirclesNumber, 4);
    ASSERT_EQ(mine.currentLineSegmentsNumber, 0);
    ASSERT_EQ(theirs.currentLineSegmentsNumber, 4);
    ASSERT_EQ(theirs.currentCirclesNumber, 0);
    const std::uint32_t bar[] = {1, 1, 2, 2};
    const std::uint32_t ball[] = {3, 4, 3, 4};
    for (int i = 0; i < 4; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(mine.circles[i].numberOfIntersectedPoints, 2);
        EXPECT_EQ(mine.circles[i].myLineSegmentUserId[0], bar[i]);
        EXPECT_EQ(mine.circles[i].userId, ball[i]);
        EXPECT_EQ(theirs.lineSegments[i].userId, bar[i]);
        EXPECT_EQ(theirs.lineSegments[i].myCircleUserId[0], ball[i]);
    }
}

} // namespace
