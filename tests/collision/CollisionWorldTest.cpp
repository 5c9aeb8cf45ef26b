// The collision world end to end: the engine steps its layers with the
// swept tests of the engine itself.

#include "LayerTestSupport.h"

#include "collision/Collision_CollisionEngine.h"

#include <memory>

namespace
{

using namespace Collision2D;
using CollisionTest::CollisionFixture;
using CollisionTest::MakeMover;
using CollisionTest::MakeStaticSegment;
using Math::Vector2D;

constexpr float Near = 1e-3f;

// A ball of radius 5.
std::unique_ptr<CollisionActor> MakeBall()
{
    return CollisionTest::MakeSquareActor(5);
}

// A wall along y from -50 to 50 about the object's origin, facing -x.
std::unique_ptr<CollisionActor> MakeWall()
{
    auto actor = std::make_unique<CollisionActor>();
    auto* animation = new ("test", __LINE__) CollisionAnimation;
    auto* frame = new ("test", __LINE__) CollisionFrame;
    frame->SetBoundingRectangle({50, -1, 1, -50}, false);
    frame->AddLineSegment({0, -50}, {0, 50}, 77, false);
    animation->AddCollisionFrame(frame);
    actor->AddCollisionAnimation(animation);
    return actor;
}

class CollisionWorldTest : public CollisionFixture
{
protected:
    void SetUp() override
    {
        CollisionFixture::SetUp();
        engine.AddLayer();
    }

    CollisionEngine engine;
    std::unique_ptr<CollisionActor> ball = MakeBall();
    std::unique_ptr<CollisionActor> wall = MakeWall();
};

// The ball runs from x = 0 to x = 100 in one step through a wall at x = 50:
// its rim meets the wall when its centre is at x = 45, t = 0.45.
TEST_F(CollisionWorldTest, ABallCrossingAStaticWallIsReportedWhereItFirstTouches)
{
    const CollisionId wallId = engine.AddCollisionObject(MakeStaticSegment({50, 0}, {50, 100}), 0, {});
    const CollisionId ballId = engine.AddCollisionObject(MakeMover(*ball, {0, 50}, {0, 50}), 0, {0, 50});
    engine.Update(0.016f);
    EXPECT_FALSE(engine.ObjectInCollision(ballId));

    engine.SetObjectPosition(ballId, {100, 50});
    engine.Update(0.016f);
    const CollisionResults& results = *engine.GetCollisionResults(ballId);
    ASSERT_EQ(results.GetStaticLineSegmentContactCount(), 1);
    const LNS_C& contact = results.GetStaticLineSegmentContact(0);
    EXPECT_EQ(contact.id, wallId);
    EXPECT_NEAR(contact.contactPosition.x, 45.0f, Near);
    EXPECT_NEAR(contact.contactPosition.y, 50.0f, Near);
    ASSERT_GE(contact.numberOfIntersectedPoints, 1);
    EXPECT_NEAR(contact.contactPoint[0].x, 50.0f, Near);
    EXPECT_NEAR(contact.normal[0].x, -1.0f, Near);
}

TEST_F(CollisionWorldTest, ABallCrossingADynamicWallIsReportedOnBothSides)
{
    DynamicObject* wallObject = MakeMover(*wall, {50, 50}, {50, 50});
    wallObject->SetOwner(0xAB);
    const CollisionId wallId = engine.AddCollisionObject(wallObject, 0, {50, 50});
    DynamicObject* ballObject = MakeMover(*ball, {0, 50}, {0, 50});
    ballObject->SetOwner(0xBA);
    const CollisionId ballId = engine.AddCollisionObject(ballObject, 0, {0, 50});
    engine.Update(0.016f);

    engine.SetObjectPosition(ballId, {100, 50});
    engine.Update(0.016f);
    const CollisionResults& ballResults = *engine.GetCollisionResults(ballId);
    const CollisionResults& wallResults = *engine.GetCollisionResults(wallId);
    ASSERT_EQ(ballResults.GetDynamicContactCount(), 1);
    ASSERT_EQ(wallResults.GetDynamicContactCount(), 1);
    const DGEO_C& ballContact = ballResults.GetDynamicContact(0);
    EXPECT_EQ(ballContact.id, wallId);
    EXPECT_EQ(ballContact.otherOwner, 0xABu);
    EXPECT_NEAR(ballContact.contactPosition.x, 45.0f, Near);
    ASSERT_EQ(ballContact.currentLineSegmentsNumber, 1);
    EXPECT_EQ(ballContact.lineSegments[0].userId, 77u);
    EXPECT_NEAR(ballContact.lineSegments[0].contactPoint[0].x, 50.0f, Near);
    const DGEO_C& wallContact = wallResults.GetDynamicContact(0);
    EXPECT_EQ(wallContact.id, ballId);
    EXPECT_EQ(wallContact.otherOwner, 0xBAu);
    EXPECT_EQ(wallContact.contactPosition, Vector2D(50, 50));
}

TEST_F(CollisionWorldTest, ABallAndAWallMovingTowardsEachOtherMeetInTheRightSubStep)
{
    // The ball from 0 to 100, the wall from 60 to 40: the rim meets the wall
    // at t = 55 / 120, in sub-step 10 of 20 (t from 0.45 to 0.5). Each side
    // moves against the other held still, so the poses come from within that
    // sub-step rather than from the exact moment.
    const CollisionId wallId = engine.AddCollisionObject(MakeMover(*wall, {60, 50}, {40, 50}), 0, {40, 50});
    const CollisionId ballId = engine.AddCollisionObject(MakeMover(*ball, {0, 50}, {100, 50}), 0, {100, 50});
    engine.Update(0.016f);
    const CollisionResults& ballResults = *engine.GetCollisionResults(ballId);
    const CollisionResults& wallResults = *engine.GetCollisionResults(wallId);
    ASSERT_EQ(ballResults.GetDynamicContactCount(), 1);
    ASSERT_EQ(wallResults.GetDynamicContactCount(), 1);
    const float ballX = ballResults.GetDynamicContact(0).contactPosition.x;
    const float wallX = wallResults.GetDynamicContact(0).contactPosition.x;
    EXPECT_GE(ballX, 45.0f);
    EXPECT_LE(ballX, 50.0f);
    EXPECT_GE(wallX, 50.0f);
    EXPECT_LE(wallX, 51.0f);
}

TEST_F(CollisionWorldTest, AWallMetFromBehindLetsTheBallThrough)
{
    engine.AddCollisionObject(MakeStaticSegment({50, 100}, {50, 0}), 0, {});
    const CollisionId ballId = engine.AddCollisionObject(MakeMover(*ball, {0, 50}, {100, 50}), 0, {100, 50});
    engine.Update(0.016f);
    EXPECT_FALSE(engine.ObjectInCollision(ballId));
}

} // namespace
