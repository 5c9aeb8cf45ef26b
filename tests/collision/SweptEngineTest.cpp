// The swept and overlap tests as the collision engine runs them: objects
// added to a layer, posed by id, stepped with Update, results read by id.

#include "SweptTestSupport.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_Id.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace
{

using namespace Collision2D;
using namespace SweptTest;

// One engine with one layer over [-500, 500] x [-500, 500]; the actors
// outlive the engine that points into them.
class World
{
public:
    World()
    {
        engine.AddLayer();
        engine.InitializeLayerGrid(0, {-500, -500}, 1000, 1000, 100);
    }

    CollisionId AddBody(const std::vector<SegmentShape>& segments, const std::vector<CircleShape>& circles,
                        const Vector2D& at, OwnerWord owner)
    {
        auto actor = std::make_unique<CollisionActor>();
        auto* frame = new ("test", __LINE__) CollisionFrame;
        ZibRect bounds{-1e9f, 1e9f, -1e9f, 1e9f};
        const auto grow = [&bounds](const Vector2D& p, float margin)
        {
            bounds.top = std::max(bounds.top, p.y + margin);
            bounds.bottom = std::min(bounds.bottom, p.y - margin);
            bounds.left = std::min(bounds.left, p.x - margin);
            bounds.right = std::max(bounds.right, p.x + margin);
        };
        for (const SegmentShape& s : segments)
        {
            frame->AddLineSegment(s.a, s.b, s.userId, false);
            grow(s.a, 0.0f);
            grow(s.b, 0.0f);
        }
        for (const CircleShape& c : circles)
        {
            frame->AddCircle(c.center, c.radius, c.userId, false);
            grow(c.center, c.radius);
        }
        frame->SetBoundingRectangle(bounds, false);
        auto* animation = new ("test", __LINE__) CollisionAnimation;
        animation->AddCollisionFrame(frame);
        actor->AddCollisionAnimation(animation);
        auto* object = new ("test", __LINE__) DynamicObject;
        object->AddCollisionData(actor.get(), 0, 0);
        object->SetCollisionType(1);
        object->SetCanCollid(0, true);
        object->SetOwner(owner);
        actors_.push_back(std::move(actor));
        const CollisionId id = engine.AddCollisionObject(object, 0, at);
        EXPECT_NE(id, 0u);
        // Placed, not moved: the first step starts here.
        engine.SetObjectOldPosition(id, at);
        return id;
    }

    CollisionId AddStaticSegment(const Vector2D& a, const Vector2D& b, std::uint32_t userId)
    {
        auto* shape = new ("test", __LINE__) StaticCollisionLineSegment;
        shape->SetLineSegment(new ("test", __LINE__) Math::LineSegment2D(a, b));
        shape->SetUserId(userId);
        return engine.AddCollisionObject(shape, 0, {0, 0});
    }

    void Move(CollisionId id, const Vector2D& from, const Vector2D& to)
    {
        engine.SetObjectOldPosition(id, from);
        engine.SetObjectPosition(id, to);
    }

    const CollisionResults& Results(CollisionId id)
    {
        const CollisionResults* results = engine.GetCollisionResults(id);
        EXPECT_NE(results, nullptr);
        return *results;
    }

private:
    std::vector<std::unique_ptr<CollisionActor>> actors_;

public:
    CollisionEngine engine;
};

using SweptEngineTest = CollisionTest::CollisionFixture;

// A ball crosses a wall of two faces 100 units wide in one step: the step
// reports the first face, where the ball's leading point reaches x = 40, at
// t = 0.35. The same faces as static segments each report their own time.
TEST_F(SweptEngineTest, ABallCrossingAWallInOneStepReportsTheEarliestContact)
{
    World world;
    const CollisionId ball = world.AddBody({}, {{{0, 0}, 5, 1}}, {0, 0}, 0xB411);
    const CollisionId wall =
        world.AddBody({{{70, -20}, {70, 20}, 7}, {{40, -20}, {40, 20}, 8}}, {}, {0, 0}, 0x3A11);
    const CollisionId near = world.AddStaticSegment({40, 80}, {40, 120}, 21);
    const CollisionId far = world.AddStaticSegment({70, 80}, {70, 120}, 22);
    const CollisionId high = world.AddBody({}, {{{0, 0}, 5, 2}}, {0, 100}, 0);
    world.Move(ball, {0, 0}, {100, 0});
    world.Move(high, {0, 100}, {100, 100});
    world.engine.Update(1.0f / 60.0f);

    const CollisionResults& mine = world.Results(ball);
    ASSERT_EQ(mine.GetDynamicContactCount(), 1);
    const DGEO_C& record = mine.GetDynamicContact(0);
    EXPECT_EQ(record.id, wall);
    EXPECT_EQ(record.otherOwner, 0x3A11u);
    ExpectNear(record.contactPosition, {35, 0}, 1e-3f);
    ASSERT_EQ(record.currentLineSegmentsNumber, 1);
    EXPECT_EQ(record.currentCirclesNumber, 0);
    EXPECT_EQ(record.lineSegments[0].userId, 8u);
    ExpectNear(record.lineSegments[0].contactPoint[0], {40, 0}, 1e-3f);
    ExpectNear(record.lineSegments[0].normal[0], {-1, 0}, 1e-6f);
    // The leading point ends the step at x = 105, 65 past the face.
    EXPECT_NEAR(record.lineSegments[0].penetrationDistance, 65.0f, 1e-3f);

    const CollisionResults& theirs = world.Results(wall);
    ASSERT_EQ(theirs.GetDynamicContactCount(), 1);
    const DGEO_C& mirror = theirs.GetDynamicContact(0);
    EXPECT_EQ(mirror.id, ball);
    EXPECT_EQ(mirror.otherOwner, 0xB411u);
    ExpectNear(mirror.contactPosition, {0, 0}, 0.0f);
    ASSERT_EQ(mirror.currentCirclesNumber, 1);
    EXPECT_EQ(mirror.circles[0].userId, 1u);
    EXPECT_EQ(mirror.circles[0].myLineSegmentUserId[0], 8u);
    ExpectNear(mirror.circles[0].normal[0], {1, 0}, 1e-6f);

    const CollisionResults& other = world.Results(high);
    ASSERT_EQ(other.GetStaticLineSegmentContactCount(), 2);
    const float times[] = {0.35f, 0.65f};
    const CollisionId shapes[] = {near, far};
    for (int i = 0; i < 2; ++i)
    {
        SCOPED_TRACE(i);
        const LNS_C& contact = other.GetStaticLineSegmentContact(i);
        EXPECT_EQ(contact.id, shapes[i]);
        EXPECT_EQ(contact.userId, static_cast<std::uint32_t>(21 + i));
        ExpectNear(contact.contactPosition, {100 * times[i], 100}, 1e-3f);
    }
}

// Balls pressed onto walls every step, a dynamic wall (a face with a cap
// circle under it, both touched at once) and a static one: every step
// reports exactly its contacts, with this step's depth; nothing of an
// earlier step shows through.
TEST_F(SweptEngineTest, ARestingBallReportsItsContactsEveryStepWithoutPhantoms)
{
    World world;
    const CollisionId ball = world.AddBody({}, {{{0, 0}, 10, 1}}, {0, 10}, 1);
    const CollisionId wall = world.AddBody({{{-50, 0}, {50, 0}, 7}}, {{{0, -5}, 5, 8}}, {0, 0}, 2);
    const CollisionId other = world.AddBody({}, {{{0, 0}, 10, 3}}, {300, 10}, 3);
    const CollisionId floor = world.AddStaticSegment({250, 0}, {350, 0}, 9);
    for (int step = 0; step < 1000; ++step)
    {
        SCOPED_TRACE(step);
        const float push = 0.25f + 0.125f * static_cast<float>(step % 4);
        world.Move(ball, {0, 10}, {0, 10 - push});
        world.Move(other, {300, 10}, {300, 10 - push});
        world.engine.Update(1.0f / 60.0f);

        const CollisionResults& mine = world.Results(ball);
        ASSERT_EQ(mine.GetDynamicContactCount(), 1);
        ASSERT_EQ(mine.GetStaticLineSegmentContactCount(), 0);
        const DGEO_C& record = mine.GetDynamicContact(0);
        ASSERT_EQ(record.id, wall);
        ASSERT_EQ(record.currentLineSegmentsNumber, 1);
        ASSERT_EQ(record.currentCirclesNumber, 1);
        ASSERT_EQ(record.lineSegments[0].userId, 7u);
        ASSERT_NEAR(record.lineSegments[0].penetrationDistance, push, 1e-5f);
        ASSERT_EQ(record.circles[0].userId, 8u);
        ASSERT_NEAR(record.circles[0].penetrationDistance, push, 1e-5f);
        const CollisionResults& theirs = world.Results(wall);
        ASSERT_EQ(theirs.GetDynamicContactCount(), 1);
        ASSERT_EQ(theirs.GetDynamicContact(0).currentCirclesNumber, 2);
        ASSERT_EQ(theirs.GetDynamicContact(0).currentLineSegmentsNumber, 0);

        const CollisionResults& resting = world.Results(other);
        ASSERT_EQ(resting.GetDynamicContactCount(), 0);
        ASSERT_EQ(resting.GetStaticLineSegmentContactCount(), 1);
        const LNS_C& contact = resting.GetStaticLineSegmentContact(0);
        ASSERT_EQ(contact.id, floor);
        ASSERT_EQ(contact.numberOfIntersectedPoints, 1);
        ASSERT_NEAR(contact.penetrationDistance, push, 1e-5f);
        ASSERT_TRUE(world.engine.ObjectInCollision(other));
    }
}

// Two balls closing at 60 units per step pass through each other within
// one step. Both have 20 sub-steps; in sub-step 10 the first ball's motion
// misses the second held at its start, and the second's motion, against the
// first held at its end, touches halfway: t = 9.5 / 20. The first ball
// approached, so it takes the same time; both records mirror each other.
TEST_F(SweptEngineTest, TwoBallsPassingThroughEachOtherAreReportedOnBothSides)
{
    World world;
    const CollisionId first = world.AddBody({}, {{{0, 0}, 5, 1}}, {0, 0}, 0xF1);
    const CollisionId second = world.AddBody({}, {{{0, 0}, 5, 2}}, {39.25f, 0}, 0xF2);
    world.Move(first, {0, 0}, {30, 0});
    world.Move(second, {39.25f, 0}, {9.25f, 0});
    world.engine.Update(1.0f / 60.0f);

    const DynamicObject* a = world.engine.GetDynamicObject(first);
    ASSERT_EQ(a->GetSubSteps(), 20);
    const CollisionResults& mine = world.Results(first);
    const CollisionResults& theirs = world.Results(second);
    ASSERT_EQ(mine.GetDynamicContactCount(), 1);
    ASSERT_EQ(theirs.GetDynamicContactCount(), 1);
    const DGEO_C& ours = mine.GetDynamicContact(0);
    const DGEO_C& its = theirs.GetDynamicContact(0);
    const float t = 9.5f / 20.0f;
    ExpectNear(ours.contactPosition, {30 * t, 0}, 1e-3f);
    ExpectNear(its.contactPosition, {39.25f - 30 * t, 0}, 1e-3f);
    EXPECT_EQ(ours.id, second);
    EXPECT_EQ(its.id, first);
    EXPECT_EQ(ours.otherOwner, 0xF2u);
    EXPECT_EQ(its.otherOwner, 0xF1u);
    ASSERT_EQ(ours.currentCirclesNumber, 1);
    ASSERT_EQ(its.currentCirclesNumber, 1);
    ExpectNear(its.circles[0].contactPoint[0], {20, 0}, 1e-3f);
    ExpectNear(its.circles[0].normal[0], {1, 0}, 1e-6f);
    ExpectNear(ours.circles[0].contactPoint[0], its.circles[0].contactPoint[0], 0.0f);
    ExpectNear(ours.circles[0].normal[0], -its.circles[0].normal[0], 0.0f);
    EXPECT_EQ(ours.circles[0].userId, 2u);
    EXPECT_EQ(its.circles[0].userId, 1u);
}

// Sub-step counts 3 and 7: the pair runs 7 sub-steps. The second ball's
// motion in sub-step 4 reaches the first (held at 12/7) after 2/7 of the
// sub-step: t = (3 + 2/7) / 7 = 23/49 (3 sub-steps would give 3/7).
TEST_F(SweptEngineTest, ObjectsWithDifferentSubStepCountsRunTheLargerCount)
{
    World world;
    const CollisionId first = world.AddBody({}, {{{0, 0}, 5, 1}}, {0, 0}, 0);
    const CollisionId second = world.AddBody({}, {{{0, 0}, 5, 2}}, {15, 0}, 0);
    world.Move(first, {0, 0}, {3, 0});
    world.Move(second, {15, 0}, {8, 0});
    world.engine.Update(1.0f / 60.0f);
    ASSERT_EQ(world.engine.GetDynamicObject(first)->GetSubSteps(), 3);
    ASSERT_EQ(world.engine.GetDynamicObject(second)->GetSubSteps(), 7);
    ASSERT_EQ(world.Results(first).GetDynamicContactCount(), 1);
    ASSERT_EQ(world.Results(second).GetDynamicContactCount(), 1);
    const float t = 23.0f / 49.0f;
    ExpectNear(world.Results(first).GetDynamicContact(0).contactPosition, {3 * t, 0}, 1e-4f);
    ExpectNear(world.Results(second).GetDynamicContact(0).contactPosition, {15 - 7 * t, 0}, 1e-4f);
}

// Two crossing circles that do not move are tested only when the receiver
// (the first in slot order) has UpdateOnIdle set.
TEST_F(SweptEngineTest, IdleObjectsAreTestedOnlyWithUpdateOnIdle)
{
    for (const bool onIdle : {false, true})
    {
        SCOPED_TRACE(onIdle);
        World world;
        const CollisionId first = world.AddBody({}, {{{0, 0}, 5, 1}}, {0, 0}, 0);
        const CollisionId second = world.AddBody({}, {{{0, 0}, 5, 2}}, {8, 0}, 0);
        world.engine.GetDynamicObject(first)->SetUpdateOnIdle(onIdle);
        world.engine.Update(1.0f / 60.0f);
        ASSERT_EQ(world.Results(first).GetDynamicContactCount(), onIdle ? 1 : 0);
        ASSERT_EQ(world.Results(second).GetDynamicContactCount(), onIdle ? 1 : 0);
        if (onIdle)
        {
            const DGEO_C& record = world.Results(first).GetDynamicContact(0);
            EXPECT_EQ(record.id, second);
            ASSERT_EQ(record.currentCirclesNumber, 1);
            EXPECT_EQ(record.circles[0].numberOfIntersectedPoints, 2);
            EXPECT_EQ(world.Results(second).GetDynamicContact(0).circles[0].numberOfIntersectedPoints, 2);
        }
    }
}

} // namespace
