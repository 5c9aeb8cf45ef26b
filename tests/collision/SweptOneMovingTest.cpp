#include "SweptTestSupport.h"

#include "collision/Collision_Id.h"

#include <cmath>
#include <string>
#include <vector>

namespace
{

using namespace Collision2D;
using namespace SweptTest;

constexpr float Degrees = 0.017453292f;

// One moving shape list against one resting shape list, with the closed-form
// time of impact and the first contact it makes.
struct ImpactCase
{
    const char* name;
    std::vector<SegmentShape> moverSegments;
    std::vector<CircleShape> moverCircles;
    Vector2D from;
    Vector2D to;
    float toDegrees; // turned from 0 about the mover's origin
    std::vector<SegmentShape> restSegments;
    std::vector<CircleShape> restCircles;
    float time;
    int points;
    Vector2D point; // the first point, on the resting shape
    Vector2D normal;
    float tolerance;
};

std::vector<ImpactCase> ImpactCases()
{
    const float swing = 60.0f - std::asin(0.2f) / Degrees;
    const Vector2D hub(5.0f * std::cos(60.0f * Degrees), 5.0f * std::sin(60.0f * Degrees));
    const Vector2D swingFoot(std::cos(swing * Degrees), std::sin(swing * Degrees));
    return {
        // Centre travels 20 of 40 before the circles touch at (25, 0).
        {"circle meets circle",
         {},
         {{{0, 0}, 5, 1}},
         {0, 0},
         {40, 0},
         0,
         {},
         {{{30, 0}, 5, 9}},
         0.5f,
         1,
         {25, 0},
         {-1, 0},
         1e-4f},
        // The leading point (0, -5) reaches the face y = -25 after 20 of 40.
        {"circle meets segment face",
         {},
         {{{0, 0}, 5, 1}},
         {0, 0},
         {0, -40},
         0,
         {{{-20, -25}, {20, -25}, 9}},
         {},
         0.5f,
         1,
         {0, -25},
         {0, 1},
         1e-4f},
        // The centre line passes above the segment's end (30, -3): the rim
        // reaches it with the centre at x = 30 - sqrt(25 - 9) = 26.
        {"circle meets segment end",
         {},
         {{{0, 0}, 5, 1}},
         {0, 0},
         {40, 0},
         0,
         {{{30, -20}, {30, -3}, 9}},
         {},
         0.65f,
         1,
         {30, -3},
         {-0.8f, 0.6f},
         1e-4f},
        // The face y = 0 rises 25 of 40 to the circle's bottom (0, 25).
        {"segment face meets circle",
         {{{-10, 0}, {10, 0}, 1}},
         {},
         {0, 0},
         {0, 40},
         0,
         {},
         {{{0, 30}, 5, 9}},
         0.625f,
         1,
         {0, 25},
         {0, -1},
         1e-4f},
        // The end (10, y) meets the circle around (13, 30) at y = 26.
        {"segment end meets circle",
         {{{-10, 0}, {10, 0}, 1}},
         {},
         {0, 0},
         {0, 40},
         0,
         {},
         {{{13, 30}, 5, 9}},
         0.65f,
         1,
         {10, 26},
         {-0.6f, -0.8f},
         1e-4f},
        // Both ends land on the floor together: one record, two points.
        {"segment lands flat on segment",
         {{{-10, 0}, {10, 0}, 1}},
         {},
         {0, 0},
         {0, -40},
         0,
         {{{-50, -20}, {50, -20}, 9}},
         {},
         0.5f,
         2,
         {-10, -20},
         {0, 1},
         1e-4f},
        {"segment end meets segment face",
         {{{0, 0}, {0, -10}, 1}},
         {},
         {0, 0},
         {0, -40},
         0,
         {{{-50, -20}, {50, -20}, 9}},
         {},
         0.25f,
         1,
         {0, -20},
         {0, 1},
         1e-4f},
        // The resting segment's end (0, 30) is met by the rising face.
        {"segment face meets segment end",
         {{{-10, 0}, {10, 0}, 1}},
         {},
         {0, 0},
         {0, 40},
         0,
         {{{0, 30}, {0, 50}, 9}},
         {},
         0.75f,
         1,
         {0, 30},
         {0, -1},
         1e-4f},
        // A turning segment (about its end at the origin) whose face reaches a
        // circle of radius 1 around the point 5 units out at 60 degrees:
        // the line comes within 1 of the centre at 60 - asin(1/5) degrees.
        {"turning segment meets circle",
         {{{0, 0}, {10, 0}, 1}},
         {},
         {0, 0},
         {0, 0},
         90,
         {},
         {{hub, 1, 9}},
         swing / 90.0f,
         1,
         hub + Vector2D(swingFoot.y, -swingFoot.x),
         {swingFoot.y, -swingFoot.x},
         2e-3f},
    };
}

using SweptOneMovingTest = CollisionTest::CollisionFixture;

TEST_F(SweptOneMovingTest, ContactTimesMatchTheClosedForm)
{
    for (const ImpactCase& c : ImpactCases())
    {
        SCOPED_TRACE(c.name);
        Body mover(c.moverSegments, c.moverCircles, 2);
        Body rest(c.restSegments, c.restCircles, 5);
        mover.object.SetZCollision(4);
        rest.object.SetZCollision(6);
        rest.object.SetOwner(0xABCD);
        mover.Pose(c.from, c.to, 0.0f, c.toDegrees);
        rest.Rest({0, 0});

        const PairOutcome outcome = DriveOneMoving(mover.object, rest.object, 3);
        ASSERT_TRUE(outcome.contact);
        EXPECT_NEAR(outcome.time, c.time, c.tolerance);

        // The mover's record names the resting shape; the resting object's
        // record is its mirror.
        ASSERT_EQ(mover.Results().GetDynamicContactCount(), 1);
        ASSERT_EQ(rest.Results().GetDynamicContactCount(), 1);
        const DGEO_C& mine = mover.Results().GetDynamicContact(0);
        const DGEO_C& theirs = rest.Results().GetDynamicContact(0);
        EXPECT_EQ(mine.id, PackCollisionId(DynamicObjectBase + 5, 3, 6));
        EXPECT_EQ(mine.otherOwner, 0xABCDu);
        const bool hitCircle = !c.restCircles.empty();
        const bool byCircle = !c.moverCircles.empty();
        ASSERT_EQ(mine.currentCirclesNumber + mine.currentLineSegmentsNumber, 1);
        ASSERT_EQ(theirs.currentCirclesNumber + theirs.currentLineSegmentsNumber, 1);
        const ShapeContact& record = hitCircle ? static_cast<const ShapeContact&>(mine.circles[0])
                                               : static_cast<const ShapeContact&>(mine.lineSegments[0]);
        const ShapeContact& mirror = byCircle ? static_cast<const ShapeContact&>(theirs.circles[0])
                                              : static_cast<const ShapeContact&>(theirs.lineSegments[0]);
        ASSERT_EQ(record.numberOfIntersectedPoints, c.points);
        ExpectNear(record.contactPoint[0], c.point, 10 * c.tolerance);
        ExpectNear(record.normal[0], c.normal, 10 * c.tolerance);
        EXPECT_EQ(record.userId, 9u);
        EXPECT_EQ((byCircle ? record.myCircleUserId : record.myLineSegmentUserId)[0], 1u);
        EXPECT_EQ((byCircle ? record.myLineSegmentUserId : record.myCircleUserId)[0], NoUserId);
        EXPECT_GE(record.penetrationDistance, 0.0f);
        ExpectFinite(record);

        ASSERT_EQ(mirror.numberOfIntersectedPoints, c.points);
        for (int i = 0; i < c.points; ++i)
        {
            ExpectNear(mirror.contactPoint[i], record.contactPoint[i], 0.0f);
            ExpectNear(mirror.normal[i], -record.normal[i], 0.0f);
        }
        EXPECT_EQ(mirror.userId, 1u);
        EXPECT_EQ((hitCircle ? mirror.myCircleUserId : mirror.myLineSegmentUserId)[0], 9u);
        EXPECT_EQ(mirror.penetrationDistance, record.penetrationDistance);
    }
}

TEST_F(SweptOneMovingTest, TheSameShapesAsStaticShapesGiveTheSameTimes)
{
    for (const ImpactCase& c : ImpactCases())
    {
        SCOPED_TRACE(c.name);
        Body mover(c.moverSegments, c.moverCircles);
        mover.Pose(c.from, c.to, 0.0f, c.toDegrees);
        const float tolerance = 10 * c.tolerance;
        if (!c.restCircles.empty())
        {
            const CircleShape& s = c.restCircles[0];
            auto shape = StaticCircle(s.center, s.radius, 12, 9);
            shape->SetZCollision(255);
            mover.object.SweptAgainstStaticCircle(*shape, 2);
            ASSERT_EQ(mover.Results().GetStaticCircleContactCount(), 1);
            const CIR_C& record = mover.Results().GetStaticCircleContact(0);
            EXPECT_EQ(record.id, PackCollisionId(StaticCircleBase + 12, 2, 255));
            EXPECT_NEAR(record.contactOrientation, c.time * c.toDegrees, 0.2f);
            ExpectNear(record.contactPoint[0], c.point, tolerance);
            EXPECT_EQ(record.userId, 9u);
            ExpectNear(record.contactPosition, c.from + (c.to - c.from) * c.time, tolerance);
        }
        else
        {
            const SegmentShape& s = c.restSegments[0];
            auto shape = StaticSegment(s.a, s.b, 12, 9);
            mover.object.SweptAgainstStaticLineSegment(*shape, 2);
            ASSERT_EQ(mover.Results().GetStaticLineSegmentContactCount(), 1);
            const LNS_C& record = mover.Results().GetStaticLineSegmentContact(0);
            EXPECT_EQ(record.id, PackCollisionId(StaticLineSegmentBase + 12, 2, 0));
            EXPECT_EQ(record.numberOfIntersectedPoints, c.points);
            ExpectNear(record.contactPoint[0], c.point, tolerance);
            EXPECT_EQ(record.userId, 9u);
            ExpectNear(record.contactPosition, c.from + (c.to - c.from) * c.time, tolerance);
        }
    }
}

// Each mover passes through the resting shape from its back side.
TEST_F(SweptOneMovingTest, ShapesComingFromBehindASegmentPassThrough)
{
    struct Case
    {
        const char* name;
        std::vector<SegmentShape> moverSegments;
        std::vector<CircleShape> moverCircles;
        Vector2D to;
        std::vector<SegmentShape> restSegments;
        std::vector<CircleShape> restCircles;
    };
    // The resting segment faces up (front normal (0, 1)); movers rise
    // through it from below. The moving segment faces down and rises into a
    // circle with its back.
    const Case cases[] = {
        {"circle", {}, {{{0, 0}, 5, 1}}, {0, 40}, {{{-20, 20}, {20, 20}, 9}}, {}},
        {"segment", {{{-10, 0}, {10, 0}, 1}}, {}, {0, 40}, {{{-20, 20}, {20, 20}, 9}}, {}},
        {"segment into circle", {{{10, 0}, {-10, 0}, 1}}, {}, {0, 40}, {}, {{{0, 20}, 5, 9}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Body mover(c.moverSegments, c.moverCircles);
        Body rest(c.restSegments, c.restCircles);
        mover.Pose({0, 0}, c.to);
        rest.Rest({0, 0});
        EXPECT_FALSE(DriveOneMoving(mover.object, rest.object).contact);
        EXPECT_EQ(rest.Current().currentCirclesNumber + rest.Current().currentLineSegmentsNumber, 0);
        if (!c.restSegments.empty())
        {
            auto shape = StaticSegment(c.restSegments[0].a, c.restSegments[0].b, 1, 9);
            mover.object.SweptAgainstStaticLineSegment(*shape, 0);
            EXPECT_EQ(mover.Results().GetStaticLineSegmentContactCount(), 0);
        }
    }
}

// A circle of radius 5 whose leading point starts 1 unit behind a resting
// face, sinking 2 more: kept only while the depth is below the thickness.
TEST_F(SweptOneMovingTest, ContactsThatAlreadyPenetrateNeedTheThickness)
{
    const std::pair<float, bool> cases[] = {{2.0f, true}, {1.0f, false}, {0.5f, false}};
    for (const auto& [thickness, reported] : cases)
    {
        SCOPED_TRACE(thickness);
        Body mover({}, {{{0, 0}, 5, 1}});
        Body rest({{{-20, 0}, {20, 0}, 9}}, {});
        mover.object.SetCollisionThickness(thickness);
        mover.Pose({0, 4}, {0, 2});
        rest.Rest({0, 0});
        const PairOutcome outcome = DriveOneMoving(mover.object, rest.object);
        ASSERT_EQ(outcome.contact, reported);
        if (reported)
        {
            EXPECT_EQ(outcome.subStep, 1);
            EXPECT_EQ(outcome.time, 0.0f);
            const LNS_C& record = mover.Results().GetDynamicContact(0).lineSegments[0];
            ExpectNear(record.contactPoint[0], {0, 0});
            // At the end of the step the leading point is 3 below the face.
            EXPECT_NEAR(record.penetrationDistance, 3.0f, 1e-4f);
        }
    }

    // Thickness 0: only segments against segments keep a contact of depth 0,
    // here a bar sliding along the floor it lies on; a ball turning on the
    // spot while it touches the floor has none.
    Body bar({{{-10, 0}, {10, 0}, 1}}, {});
    Body ball({}, {{{0, 0}, 5, 2}});
    Body floor({{{-50, 0}, {50, 0}, 9}}, {});
    bar.Pose({0, 0}, {1, 0});
    ball.Pose({0, 5}, {0, 5}, 0.0f, 10.0f);
    floor.Rest({0, 0});
    const PairOutcome sliding = DriveOneMoving(bar.object, floor.object);
    EXPECT_TRUE(sliding.contact);
    EXPECT_EQ(sliding.time, 0.0f);
    EXPECT_EQ(bar.Results().GetDynamicContact(0).lineSegments[0].numberOfIntersectedPoints, 2);
    EXPECT_FALSE(DriveOneMoving(ball.object, floor.object).contact);
}

// With thickness 0, moving features that start a hair inside the other
// shape (rounding at a sub-step boundary) still make contact at the start of
// the sub-step, and hits a hair beyond the chord at its end; a feature
// clearly inside is refused.
TEST_F(SweptOneMovingTest, MovingFeaturesWithinTheToleranceOfTouchingMakeContact)
{
    constexpr float Hair = 1e-4f;
    struct Case
    {
        const char* name;
        std::vector<SegmentShape> moverSegments;
        std::vector<CircleShape> moverCircles;
        Vector2D from;
        Vector2D to;
        std::vector<SegmentShape> restSegments;
        std::vector<CircleShape> restCircles;
        float time; // negative: no contact
    };
    const std::vector<SegmentShape> floor = {{{-50, 0}, {50, 0}, 9}};
    const Case cases[] = {
        {"circle a hair into a face", {}, {{{0, 0}, 5, 1}}, {0, 5 - Hair}, {0, 4 - Hair}, floor, {}, 0.0f},
        {"circle a hair short of a face",
         {},
         {{{0, 0}, 5, 1}},
         {0, 6 + Hair},
         {0, 5 + Hair},
         floor,
         {},
         1.0f},
        {"segment a hair behind a face",
         {{{-10, 0}, {10, 0}, 1}},
         {},
         {0, -Hair},
         {0, -1 - Hair},
         floor,
         {},
         0.0f},
        {"circle a hair into a circle",
         {},
         {{{0, 0}, 5, 1}},
         {0, 0},
         {1, 0},
         {},
         {{{10 - Hair, 0}, 5, 9}},
         0.0f},
        {"circle clearly into a face", {}, {{{0, 0}, 5, 1}}, {0, 4.99f}, {0, 3.99f}, floor, {}, -1.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Body mover(c.moverSegments, c.moverCircles);
        Body rest(c.restSegments, c.restCircles);
        mover.Pose(c.from, c.to);
        rest.Rest({0, 0});
        ASSERT_EQ(mover.object.GetSubSteps(), 1);
        const PairOutcome outcome = DriveOneMoving(mover.object, rest.object);
        ASSERT_EQ(outcome.contact, c.time >= 0.0f);
        if (outcome.contact)
        {
            EXPECT_EQ(outcome.time, c.time);
        }
    }
}

// Calls 3 and 4 of one sub-step: three circles land on the floor at the same
// moment (three records kept), then a circle-circle contact found later in
// the same sub-step is earlier and discards them.
TEST_F(SweptOneMovingTest, EqualTimesAreKeptAndAnEarlierContactDiscardsThem)
{
    Body mover({}, {{{-10, 10}, 5, 1}, {{10, 10}, 5, 2}, {{30, 10}, 5, 3}});
    Body rest({{{-50, 0}, {50, 0}, 10}}, {{{30, 2}, 2, 20}});
    mover.Pose({0, 0}, {0, -6});
    rest.Rest({0, 0});
    float fraction = 2.0f;
    EXPECT_FALSE(mover.object.SweptSegmentsSegmentsOneMoving(rest.object, 0, 1.0f, 1.0f, fraction));
    EXPECT_FALSE(mover.object.SweptSegmentsCirclesOneMoving(rest.object, 0, 1.0f, 1.0f, fraction));
    ASSERT_TRUE(mover.object.SweptCirclesSegmentsOneMoving(rest.object, 0, 1.0f, 1.0f, fraction));
    EXPECT_FLOAT_EQ(fraction, 5.0f / 6.0f);
    const DGEO_C& record = mover.Current();
    ASSERT_EQ(record.currentLineSegmentsNumber, 3);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(record.lineSegments[i].myCircleUserId[0], static_cast<std::uint32_t>(i + 1));
        ExpectNear(record.lineSegments[i].contactPoint[0], {-10.0f + 20.0f * i, 0});
    }

    ASSERT_TRUE(mover.object.SweptCirclesCirclesOneMoving(rest.object, 0, 1.0f, 1.0f, fraction));
    EXPECT_FLOAT_EQ(fraction, 1.0f / 6.0f);
    EXPECT_EQ(record.currentLineSegmentsNumber, 0);
    ASSERT_EQ(record.currentCirclesNumber, 1);
    EXPECT_EQ(record.circles[0].userId, 20u);
    EXPECT_EQ(record.circles[0].myCircleUserId[0], 3u);
    ExpectNear(record.circles[0].contactPoint[0], {30, 4});

    // A contact later than the fraction is found but not written.
    EXPECT_TRUE(mover.object.SweptCirclesSegmentsOneMoving(rest.object, 0, 1.0f, 1.0f, fraction));
    EXPECT_FLOAT_EQ(fraction, 1.0f / 6.0f);
    EXPECT_EQ(record.currentLineSegmentsNumber, 0);
}

// Features on the turning point of a turning object do not move: they are
// contacts that already touch, governed by the thickness, never a 0/0.
TEST_F(SweptOneMovingTest, FeaturesThatDoNotMoveGiveNoNaN)
{
    // A segment turning about its end, which lies exactly on a circle's rim;
    // a circle centred on the turning point overlapping another circle; the
    // same circle resting on a segment.
    struct Case
    {
        const char* name;
        std::vector<SegmentShape> moverSegments;
        std::vector<CircleShape> moverCircles;
        std::vector<SegmentShape> restSegments;
        std::vector<CircleShape> restCircles;
        float depth;
    };
    const Case cases[] = {
        {"segment end on a circle", {{{0, 0}, {10, 0}, 1}}, {}, {}, {{{-3, 0}, 3, 9}}, 0.0f},
        {"circle on the turning point", {}, {{{0, 0}, 2, 1}}, {}, {{{3, 0}, 1.5f, 9}}, 0.5f},
        {"circle on a segment", {}, {{{0, 0}, 2, 1}}, {{{-5, -1.5f}, {5, -1.5f}, 9}}, {}, 0.5f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        for (const float thickness : {0.0f, 1.0f})
        {
            SCOPED_TRACE(thickness);
            Body mover(c.moverSegments, c.moverCircles);
            Body rest(c.restSegments, c.restCircles);
            mover.object.SetCollisionThickness(thickness);
            mover.Pose({0, 0}, {0, 0}, 0.0f, 30.0f);
            rest.Rest({0, 0});
            const PairOutcome outcome = DriveOneMoving(mover.object, rest.object);
            ASSERT_EQ(outcome.contact, thickness > c.depth);
            if (!outcome.contact)
            {
                continue;
            }
            EXPECT_EQ(outcome.time, 0.0f);
            const DGEO_C& record = mover.Results().GetDynamicContact(0);
            ASSERT_EQ(record.currentCirclesNumber + record.currentLineSegmentsNumber, 1);
            ExpectFinite(record.currentCirclesNumber == 1
                             ? static_cast<const ShapeContact&>(record.circles[0])
                             : static_cast<const ShapeContact&>(record.lineSegments[0]));
            EXPECT_TRUE(std::isfinite(record.contactOrientation));
        }
    }
}

// A ball pressed onto a wall every step touches the wall's segment and the
// cap circle under it at the same moment. Each step reports exactly those
// two contacts; no record of an earlier step shows through.
TEST_F(SweptOneMovingTest, ARestingBallReportsItsContactsEveryStepWithoutPhantoms)
{
    Body ball({}, {{{0, 0}, 10, 1}}, 1);
    Body wall({{{-50, 0}, {50, 0}, 7}}, {{{0, -5}, 5, 8}}, 2);
    for (int step = 0; step < 1000; ++step)
    {
        SCOPED_TRACE(step);
        const float x = static_cast<float>(step % 5) * 0.01f;
        ball.Pose({x, 10}, {x, 9.5f});
        wall.Rest({x, 0});
        const PairOutcome outcome = DriveOneMoving(ball.object, wall.object);
        ASSERT_TRUE(outcome.contact);
        ASSERT_EQ(outcome.time, 0.0f);
        ASSERT_EQ(ball.Results().GetDynamicContactCount(), 1);
        const DGEO_C& mine = ball.Results().GetDynamicContact(0);
        ASSERT_EQ(mine.currentLineSegmentsNumber, 1);
        ASSERT_EQ(mine.currentCirclesNumber, 1);
        ASSERT_EQ(mine.lineSegments[0].userId, 7u);
        ASSERT_EQ(mine.circles[0].userId, 8u);
        ASSERT_EQ(mine.lineSegments[0].contactPoint[0].x, x);
        ASSERT_EQ(mine.circles[0].contactPoint[0].x, x);
        const DGEO_C& theirs = wall.Results().GetDynamicContact(0);
        ASSERT_EQ(theirs.currentLineSegmentsNumber, 0);
        ASSERT_EQ(theirs.currentCirclesNumber, 2);
        ASSERT_EQ(theirs.circles[0].myLineSegmentUserId[0], 7u);
        ASSERT_EQ(theirs.circles[1].myCircleUserId[0], 8u);
        ball.object.EndStep();
    }
}

} // namespace
