#include "SweptTestSupport.h"

#include "collision/Collision_Id.h"

#include <vector>

namespace
{

using namespace Collision2D;
using namespace SweptTest;

using SweptStaticTest = CollisionTest::CollisionFixture;

// A circle of radius 1 moving 5 units has 5 sub-steps; it meets a static
// circle with its centre at x = 2.5, halfway through sub-step 3.
TEST_F(SweptStaticTest, TheFirstSubStepWithAContactEndsTheSweep)
{
    Body mover({}, {{{0, 0}, 1, 1}});
    mover.Pose({0, 0}, {5, 0});
    ASSERT_EQ(mover.object.GetSubSteps(), 5);
    auto wall = StaticCircle({4.5f, 0}, 1, 3, 40);
    wall->SetOwner(0x1234);
    wall->SetZCollision(9);
    mover.object.SweptAgainstStaticCircle(*wall, 7);

    ASSERT_EQ(mover.Results().GetStaticCircleContactCount(), 1);
    const CIR_C& record = mover.Results().GetStaticCircleContact(0);
    ExpectNear(record.contactPosition, {2.5f, 0}, 1e-5f);
    EXPECT_EQ(record.contactOrientation, 0.0f);
    EXPECT_EQ(record.id, PackCollisionId(StaticCircleBase + 3, 7, 9));
    EXPECT_EQ(record.otherOwner, 0x1234u);
    EXPECT_EQ(record.userId, 40u);
    ASSERT_EQ(record.numberOfIntersectedPoints, 1);
    ExpectNear(record.contactPoint[0], {3.5f, 0}, 1e-5f);
    ExpectNear(record.normal[0], {-1, 0}, 1e-5f);
    EXPECT_EQ(record.myCircleUserId[0], 1u);
    // Its leading point ends the step at x = 6, 2.5 past the contact point.
    EXPECT_NEAR(record.penetrationDistance, 2.5f, 1e-5f);
    // Sub-steps 4 and 5 never ran: the scratch state is sub-step 3's.
    ExpectNear(mover.object.SubStepEndOrigin(), {3, 0}, 1e-5f);
    ExpectNear(mover.object.SubStepCircles()[0].center, {3, 0}, 1e-5f);

    // Shapes that never meet: every sub-step runs and nothing is written.
    auto far = StaticCircle({4.5f, 10}, 1, 4, 41);
    Body other({}, {{{0, 0}, 1, 1}});
    other.Pose({0, 0}, {5, 0});
    other.object.SweptAgainstStaticCircle(*far, 7);
    EXPECT_EQ(other.Results().GetStaticCircleContactCount(), 0);
    ExpectNear(other.object.SubStepEndOrigin(), {5, 0}, 1e-5f);
}

// Shapes of one object landing on a static floor at the same moment share
// one record of at most four points; a fifth point takes the fourth place.
TEST_F(SweptStaticTest, SimultaneousPointsShareOneRecordOfAtMostFour)
{
    struct Case
    {
        const char* name;
        std::vector<SegmentShape> segments;
        std::vector<CircleShape> circles;
        std::vector<float> x;               // of the points, in order
        std::vector<std::uint32_t> circle;  // myCircleUserId per point
        std::vector<std::uint32_t> segment; // myLineSegmentUserId per point
    };
    const Case cases[] = {
        {"five circles",
         {},
         {{{-20, 5}, 5, 1}, {{-10, 5}, 5, 2}, {{0, 5}, 5, 3}, {{10, 5}, 5, 4}, {{20, 5}, 5, 5}},
         {-20, -10, 0, 20},
         {1, 2, 3, 5},
         {NoUserId, NoUserId, NoUserId, NoUserId}},
        // The bar's two ends reach the floor together: two points at once.
        {"a bar and three circles",
         {{{-30, 0}, {30, 0}, 9}},
         {{{-10, 5}, 5, 1}, {{0, 5}, 5, 2}, {{10, 5}, 5, 3}},
         {-30, 30, -10, 10},
         {NoUserId, NoUserId, 1, 3},
         {9, 9, NoUserId, NoUserId}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        // Four sub-steps of exactly 1 unit: the floats of every shape agree.
        Body mover(c.segments, c.circles);
        mover.Pose({0, 2}, {0, -2});
        auto floor = StaticSegment({-50, 0}, {50, 0}, 1, 77);
        mover.object.SweptAgainstStaticLineSegment(*floor, 0);
        ASSERT_EQ(mover.Results().GetStaticLineSegmentContactCount(), 1);
        const LNS_C& record = mover.Results().GetStaticLineSegmentContact(0);
        ExpectNear(record.contactPosition, {0, 0}, 1e-4f);
        ASSERT_EQ(record.numberOfIntersectedPoints, 4);
        for (int i = 0; i < 4; ++i)
        {
            SCOPED_TRACE(i);
            ExpectNear(record.contactPoint[i], {c.x[i], 0}, 1e-4f);
            ExpectNear(record.normal[i], {0, 1}, 1e-6f);
            EXPECT_EQ(record.myCircleUserId[i], c.circle[i]);
            EXPECT_EQ(record.myLineSegmentUserId[i], c.segment[i]);
        }
    }
}

// Idle objects (UpdateOnIdle) are intersected at their pose, without motion.
TEST_F(SweptStaticTest, IdleObjectsAreIntersectedWithTheStaticShape)
{
    struct Case
    {
        const char* name;
        std::vector<SegmentShape> segments;
        std::vector<CircleShape> circles;
        bool againstCircle; // else against the segment (-10, 0) -> (10, 0)
        std::vector<Vector2D> points;
        Vector2D normal;
    };
    const Case cases[] = {
        // The static circle is centred at (10, 0) with radius 5.
        {"circle touching from outside", {}, {{{0, 0}, 5, 1}}, true, {{5, 0}}, {-1, 0}},
        {"circle inside, touching", {}, {{{12, 0}, 3, 1}}, true, {{15, 0}}, {1, 0}},
        // A segment's points get the opposite of its front normal.
        {"segment across", {{{10, -10}, {10, 10}, 1}}, {}, true, {{10, -5}, {10, 5}}, {1, 0}},
        {"segment tangent", {{{15, -10}, {15, 10}, 1}}, {}, true, {{15, 0}}, {1, 0}},
        {"segment crossing", {{{0, -5}, {0, 5}, 1}}, {}, false, {{0, 0}}, {0, 1}},
        {"segment along", {{{5, 0}, {20, 0}, 1}}, {}, false, {{5, 0}, {10, 0}}, {0, 1}},
        {"circle across", {}, {{{0, 3}, 5, 1}}, false, {{-4, 0}, {4, 0}}, {0, 1}},
        {"apart", {}, {{{0, 30}, 5, 1}}, false, {}, {}},
        {"circles apart", {}, {{{30, 0}, 5, 1}}, true, {}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Body idle(c.segments, c.circles);
        idle.object.SetUpdateOnIdle(true);
        idle.Rest({0, 0});
        const ShapeContact* record = nullptr;
        int count = 0;
        if (c.againstCircle)
        {
            auto shape = StaticCircle({10, 0}, 5, 2, 50);
            idle.object.OverlapStaticCircle(*shape, 1);
            count = idle.Results().GetStaticCircleContactCount();
            record = &idle.Results().GetStaticCircleContact(0);
            if (count == 1)
            {
                EXPECT_EQ(record->id, PackCollisionId(StaticCircleBase + 2, 1, 0));
            }
        }
        else
        {
            auto shape = StaticSegment({-10, 0}, {10, 0}, 2, 50);
            idle.object.OverlapStaticLineSegment(*shape, 1);
            count = idle.Results().GetStaticLineSegmentContactCount();
            record = &idle.Results().GetStaticLineSegmentContact(0);
            if (count == 1)
            {
                EXPECT_EQ(record->id, PackCollisionId(StaticLineSegmentBase + 2, 1, 0));
            }
        }
        ASSERT_EQ(count, c.points.empty() ? 0 : 1);
        if (count == 0)
        {
            continue;
        }
        EXPECT_EQ(record->userId, 50u);
        EXPECT_EQ(record->penetrationDistance, 0.0f);
        ASSERT_EQ(record->numberOfIntersectedPoints, static_cast<int>(c.points.size()));
        for (std::size_t i = 0; i < c.points.size(); ++i)
        {
            ExpectNear(record->contactPoint[i], c.points[i], 1e-4f);
            ExpectNear(record->normal[i], c.normal, 1e-5f);
            EXPECT_EQ((c.circles.empty() ? record->myLineSegmentUserId : record->myCircleUserId)[i], 1u);
        }
    }
}

} // namespace
