#include "SweptTestSupport.h"

#include <algorithm>
#include <vector>

namespace
{

using namespace Collision2D;
using namespace SweptTest;

// The both-moving members of one sub-step, with the caller's flags.
struct BothOutcome
{
    bool hit = false;
    bool otherHit = false;
    float fraction = 2.0f;
    float otherFraction = 2.0f;
};

BothOutcome DriveBothMovingSubStep(DynamicObject& first, DynamicObject& second, float dt, float k,
                                   std::int32_t& n, std::uint8_t layer = 0)
{
    BothOutcome o;
    bool hit = false;
    bool otherHit = false;
    first.SweptSegmentsSegments(second, layer, dt, k, o.fraction, o.otherFraction, n, hit, otherHit);
    o.hit |= hit;
    o.otherHit |= otherHit;
    hit = otherHit = false;
    first.SweptSegmentsCircles(second, layer, dt, k, o.fraction, o.otherFraction, n, hit, otherHit);
    o.hit |= hit;
    o.otherHit |= otherHit;
    hit = otherHit = false;
    second.SweptSegmentsCircles(first, layer, dt, k, o.otherFraction, o.fraction, n, otherHit, hit);
    o.hit |= hit;
    o.otherHit |= otherHit;
    hit = otherHit = false;
    first.SweptCirclesCircles(second, layer, dt, k, o.fraction, o.otherFraction, hit, otherHit);
    o.hit |= hit;
    o.otherHit |= otherHit;
    return o;
}

using SweptBothMovingTest = CollisionTest::CollisionFixture;

// Two circles of radius 5 half a unit apart close in on each other. The
// first object's motion alone, against the second held at its start, meets
// it halfway through the first sub-step; the second only gets the mirror,
// and as its own motion was never tested it takes the end of the sub-step.
TEST_F(SweptBothMovingTest, HeadOnCirclesTheFirstSideFindsTheSecondGetsTheMirror)
{
    Body first({}, {{{0, 0}, 5, 1}}, 1);
    Body second({}, {{{0, 0}, 5, 2}}, 2);
    first.Pose({0, 0}, {4, 0});
    second.Pose({10.5f, 0}, {6.5f, 0});
    ASSERT_EQ(first.object.GetSubSteps(), 4);
    std::int32_t n = 4;
    const BothOutcome o = DriveBothMovingSubStep(first.object, second.object, 0.25f, 1.0f, n);
    EXPECT_TRUE(o.hit);
    EXPECT_TRUE(o.otherHit);
    EXPECT_FLOAT_EQ(o.fraction, 0.5f);
    EXPECT_EQ(o.otherFraction, 1.0f);

    const DGEO_C& mine = first.Current();
    const DGEO_C& theirs = second.Current();
    ASSERT_EQ(mine.currentCirclesNumber, 1);
    ASSERT_EQ(theirs.currentCirclesNumber, 1);
    EXPECT_EQ(mine.currentLineSegmentsNumber + theirs.currentLineSegmentsNumber, 0);
    ExpectNear(mine.circles[0].contactPoint[0], {5.5f, 0}, 1e-5f);
    ExpectNear(mine.circles[0].normal[0], {-1, 0}, 1e-6f);
    EXPECT_EQ(mine.circles[0].userId, 2u);
    EXPECT_EQ(mine.circles[0].myCircleUserId[0], 1u);
    ExpectNear(theirs.circles[0].contactPoint[0], {5.5f, 0}, 1e-5f);
    ExpectNear(theirs.circles[0].normal[0], {1, 0}, 1e-6f);
    EXPECT_EQ(theirs.circles[0].userId, 1u);
    EXPECT_EQ(theirs.circles[0].myCircleUserId[0], 2u);
    EXPECT_EQ(theirs.circles[0].penetrationDistance, mine.circles[0].penetrationDistance);
}

// Here the first object drifts away while the second runs into it: the
// second side finds the contact; the first, whose motion approached nothing,
// takes the end of the sub-step. A first object that does approach (but too
// slowly to touch on its own) keeps its flag clear and takes the second's
// time.
TEST_F(SweptBothMovingTest, TheSideWithoutAHitIsFlaggedOnlyWhenItApproachedNothing)
{
    const std::pair<float, bool> cases[] = {{-0.25f, true}, {0.1f, false}};
    for (const auto& [drift, flagged] : cases)
    {
        SCOPED_TRACE(drift);
        Body first({}, {{{0, 0}, 5, 1}}, 1);
        Body second({}, {{{0, 0}, 5, 2}}, 2);
        first.Pose({0, 0}, {drift, 0});
        second.Pose({10.5f, 0}, {8.5f, 0});
        std::int32_t n = 2;
        // Sub-step 1 of 2: the second moves from 10.5 to 9.5 against the
        // first at t1 (x = drift / 2).
        const BothOutcome o = DriveBothMovingSubStep(first.object, second.object, 0.5f, 1.0f, n);
        EXPECT_TRUE(o.otherHit);
        EXPECT_NEAR(o.otherFraction, 0.5f - drift / 2.0f, 1e-5f);
        EXPECT_EQ(o.hit, flagged);
        EXPECT_EQ(o.fraction, flagged ? 1.0f : 2.0f);
        ASSERT_EQ(first.Current().currentCirclesNumber, 1);
        EXPECT_EQ(first.Current().circles[0].userId, 2u);
        ExpectNear(first.Current().circles[0].normal[0], {-1, 0}, 1e-6f);
    }
}

// Segments against circles, called both ways, and segments against
// segments: each side writes its own records under its own fraction; the
// loop bound the caller passes is never changed.
TEST_F(SweptBothMovingTest, SegmentMembersRecordOnTheSideThatHits)
{
    // A bar (front normal up) rises 2 units while a ball falls 2; the bar's
    // motion against the ball at its start meets it after 1.5 of 2.
    {
        Body bar({{{-10, 0}, {10, 0}, 1}}, {}, 1);
        Body ball({}, {{{0, 0}, 5, 2}}, 2);
        bar.Pose({0, 0}, {0, 2});
        ball.Pose({0, 6.5f}, {0, 4.5f});
        std::int32_t n = 2;
        const BothOutcome o = DriveBothMovingSubStep(bar.object, ball.object, 1.0f, 1.0f, n);
        EXPECT_EQ(n, 2);
        EXPECT_TRUE(o.hit);
        EXPECT_FLOAT_EQ(o.fraction, 0.75f);
        EXPECT_TRUE(o.otherHit);
        EXPECT_EQ(o.otherFraction, 1.0f);
        ASSERT_EQ(bar.Current().currentCirclesNumber, 1);
        EXPECT_EQ(bar.Current().circles[0].myLineSegmentUserId[0], 1u);
        ExpectNear(bar.Current().circles[0].contactPoint[0], {0, 1.5f}, 1e-5f);
        ASSERT_EQ(ball.Current().currentLineSegmentsNumber, 1);
        EXPECT_EQ(ball.Current().lineSegments[0].myCircleUserId[0], 2u);
        ExpectNear(ball.Current().lineSegments[0].normal[0], {0, 1}, 1e-6f);
    }
    // The bar slides along its own line while the ball falls onto it: the
    // ball's side of the call finds the face. The bar's motion keeps its
    // distance to the ball, which counts as approaching: it takes the
    // ball's contact time.
    {
        Body bar({{{-10, 0}, {10, 0}, 1}}, {}, 1);
        Body ball({}, {{{0, 0}, 5, 2}}, 2);
        bar.Pose({0, 0}, {2, 0});
        ball.Pose({0, 6}, {0, 4});
        std::int32_t n = 2;
        const BothOutcome o = DriveBothMovingSubStep(bar.object, ball.object, 1.0f, 1.0f, n);
        EXPECT_TRUE(o.otherHit);
        EXPECT_FLOAT_EQ(o.otherFraction, 0.5f);
        // The bar's sideways motion runs along its face: it approached.
        EXPECT_FALSE(o.hit);
        ASSERT_EQ(ball.Current().currentLineSegmentsNumber, 1);
        ExpectNear(ball.Current().lineSegments[0].contactPoint[0], {0, 0}, 1e-5f);
        ASSERT_EQ(bar.Current().currentCirclesNumber, 1);
        ExpectNear(bar.Current().circles[0].normal[0], {0, -1}, 1e-6f);
    }
    // A bar falls 2 onto a floor rising 2 from 3 below it. The bar alone
    // stops short of the floor at its start; the floor, rising against the
    // bar at its end, meets both of the bar's ends halfway: two points at
    // once, in the floor's record and, mirrored, in the bar's.
    {
        Body bar({{{-10, 0}, {10, 0}, 1}}, {}, 1);
        Body floor({{{-50, 0}, {50, 0}, 2}}, {}, 2);
        bar.Pose({0, 1}, {0, -1});
        floor.Pose({0, -2}, {0, 0});
        std::int32_t n = 2;
        const BothOutcome o = DriveBothMovingSubStep(bar.object, floor.object, 1.0f, 1.0f, n);
        EXPECT_EQ(n, 2);
        EXPECT_TRUE(o.otherHit);
        EXPECT_FLOAT_EQ(o.otherFraction, 0.5f);
        EXPECT_FALSE(o.hit);
        ASSERT_EQ(floor.Current().currentLineSegmentsNumber, 1);
        const LNS_C& record = floor.Current().lineSegments[0];
        ASSERT_EQ(record.numberOfIntersectedPoints, 2);
        ExpectNear(record.contactPoint[0], {-10, -1}, 1e-5f);
        ExpectNear(record.contactPoint[1], {10, -1}, 1e-5f);
        ExpectNear(record.normal[1], {0, -1}, 1e-6f);
        EXPECT_EQ(record.myLineSegmentUserId[1], 2u);
        ASSERT_EQ(bar.Current().currentLineSegmentsNumber, 1);
        EXPECT_EQ(bar.Current().lineSegments[0].numberOfIntersectedPoints, 2);
        ExpectNear(bar.Current().lineSegments[0].normal[0], {0, 1}, 1e-6f);
    }
}

// Two objects of segments and circles moving side by side never come
// closer: no sub-step sets a flag.
TEST_F(SweptBothMovingTest, ParallelMoversNeverFlag)
{
    Body first({{{-10, 0}, {10, 0}, 1}}, {{{0, 5}, 5, 2}}, 1);
    Body second({{{-10, 0}, {10, 0}, 3}}, {{{0, 5}, 5, 4}}, 2);
    first.Pose({0, 0}, {7, 0});
    second.Pose({0, 20}, {3, 20});
    std::int32_t n = std::max(first.object.GetSubSteps(), second.object.GetSubSteps());
    ASSERT_EQ(n, 7);
    for (std::int32_t k = 1; k <= n; ++k)
    {
        const BothOutcome o =
            DriveBothMovingSubStep(first.object, second.object, 1.0f / 7.0f, static_cast<float>(k), n);
        EXPECT_FALSE(o.hit) << k;
        EXPECT_FALSE(o.otherHit) << k;
    }
    EXPECT_EQ(n, 7);
    EXPECT_EQ(first.Current().currentCirclesNumber + first.Current().currentLineSegmentsNumber, 0);
    EXPECT_EQ(second.Current().currentCirclesNumber + second.Current().currentLineSegmentsNumber, 0);
}

} // namespace
