#include "CollisionTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_DynamicObject.h"

#include <limits>
#include <memory>

namespace
{

using namespace Collision2D;
using CollisionTest::BytesOf;
using CollisionTest::CollisionFixture;
using Math::Vector2D;

constexpr float Near = 1e-4f;

void ExpectNear(const Vector2D& actual, const Vector2D& expected)
{
    EXPECT_NEAR(actual.x, expected.x, Near);
    EXPECT_NEAR(actual.y, expected.y, Near);
}

// One animation whose frames hold 2, 5 and 3 segments (segment i of frame f
// runs from (f, i) to (f, i + 1)); frame 1 also has a circle and a hotspot.
std::unique_ptr<CollisionActor> MakeActor()
{
    auto actor = std::make_unique<CollisionActor>();
    auto* animation = new ("test", __LINE__) CollisionAnimation;
    const int segmentCounts[] = {2, 5, 3};
    for (int f = 0; f < 3; ++f)
    {
        auto* frame = new ("test", __LINE__) CollisionFrame;
        frame->SetBoundingRectangle({10.0f + f, -2, 6, -4}, true);
        for (int i = 0; i < segmentCounts[f]; ++i)
        {
            frame->AddLineSegment({static_cast<float>(f), static_cast<float>(i)},
                                  {static_cast<float>(f), static_cast<float>(i + 1)}, 100 + i, true);
        }
        if (f == 1)
        {
            frame->AddCircle({3, 0}, 2, 7, true);
            frame->AddHotSpot({0, 5}, true);
        }
        animation->AddCollisionFrame(frame);
    }
    actor->AddCollisionAnimation(animation);
    return actor;
}

// A single frame with a segment from (10, 0) to (20, 0) and a hotspot at (20, 0).
std::unique_ptr<CollisionActor> MakeSegmentActor()
{
    auto actor = std::make_unique<CollisionActor>();
    auto* animation = new ("test", __LINE__) CollisionAnimation;
    auto* frame = new ("test", __LINE__) CollisionFrame;
    frame->SetBoundingRectangle({1, -1, 1, -1}, false);
    frame->AddLineSegment({10, 0}, {20, 0}, 1, false);
    frame->AddHotSpot({20, 0}, false);
    animation->AddCollisionFrame(frame);
    actor->AddCollisionAnimation(animation);
    return actor;
}

using DynamicObjectTest = CollisionFixture;

TEST_F(DynamicObjectTest, ZValuesAndTheCanCollidTable)
{
    DynamicObject object;
    const std::pair<int, int> stored[] = {{255, 254}, {254, 254}, {0, 0}, {17, 17}};
    for (const auto& [given, expected] : stored)
    {
        object.SetZCollision(static_cast<std::uint8_t>(given));
        EXPECT_EQ(object.GetZ_Collision(), expected) << given;
    }
    const std::pair<double, int> script[] = {{300, 44},  {255, 254},  {-1, 254},
                                             {44.9, 44}, {-257, 254}, {512, 0}};
    for (const auto& [given, expected] : script)
    {
        EXPECT_EQ(DynamicObject::ZCollisionFromScript(given), expected) << given;
    }
    EXPECT_EQ(LowByteOfScriptNumber(-257), 255);
    EXPECT_EQ(LowByteOfScriptNumber(std::numeric_limits<double>::quiet_NaN()), 0);

    for (int z = 0; z < 256; ++z)
    {
        object.SetCanCollid(static_cast<std::uint8_t>(z), true);
    }
    EXPECT_TRUE(object.GetCanCollid(0));
    EXPECT_TRUE(object.GetCanCollid(254));
    // Static shapes and tile maps may carry z 255: they never collide.
    EXPECT_FALSE(object.GetCanCollid(255));
    object.SetCanCollid(3, false);
    EXPECT_FALSE(object.GetCanCollid(3));
}

TEST_F(DynamicObjectTest, TheOffsetMovesTheTurningPointOfTheShapes)
{
    const auto actor = MakeSegmentActor();
    DynamicObject object;
    object.AddCollisionData(actor.get(), 0, 0);
    object.SetOffset({10, 0});
    object.SetPosition({100, 50});
    EXPECT_EQ(object.GetPosition(), Vector2D(90, 50));
    object.SetOldPosition({100, 50});
    object.SetOrientation(90);
    object.SetOldOrientation(90);
    ASSERT_TRUE(object.PreUpdate());
    ExpectNear(object.GetCurrentLineSegments()[0].pointA, {100, 50});
    ExpectNear(object.GetCurrentLineSegments()[0].pointB, {100, 60});
    ExpectNear(object.GetOldLineSegments()[0].pointB, {100, 60});
    ExpectNear(object.GetCurrentHotSpot(0), {100, 60});
    EXPECT_FALSE(object.HasMoved());

    // Changing the offset keeps the owner's position (position + offset).
    object.SetOffset({5, 5});
    EXPECT_EQ(object.GetPosition(), Vector2D(95, 45));
    EXPECT_EQ(object.GetOldPosition(), Vector2D(90, 50));
}

TEST_F(DynamicObjectTest, SubStepsFollowTheMotion)
{
    const auto actor = MakeActor();
    struct Case
    {
        Vector2D displacement;
        float turn;
        std::int32_t maximum;
        std::int32_t subSteps;
        bool moved;
    };
    const Case cases[] = {
        {{3, 4}, 2, 20, 5, true},     {{0.3f, 0}, 0, 20, 1, true}, {{100, 0}, 0, 20, 20, true},
        {{0, 0}, -7.6f, 20, 8, true}, {{3, 4}, 0, 2, 2, true},     {{0, 0}, 0, 20, 1, false},
    };
    for (const Case& c : cases)
    {
        SetMaximumInterpolationValue(c.maximum);
        DynamicObject object;
        object.AddCollisionData(actor.get(), 0, 0);
        object.SetOldPosition({10, 20});
        object.SetOldOrientation(30);
        object.SetPosition(Vector2D(10, 20) + c.displacement);
        object.SetOrientation(30 + c.turn);
        ASSERT_TRUE(object.PreUpdate());
        EXPECT_EQ(object.GetSubSteps(), c.subSteps) << c.displacement.x << " " << c.turn;
        EXPECT_EQ(object.HasMoved(), c.moved);
        ExpectNear(object.GetDisplacement(), c.displacement);
        ExpectNear(object.GetStepDisplacement(), c.displacement * (1.0f / c.subSteps));
        EXPECT_NEAR(object.GetStepAngularChange(), c.turn / c.subSteps, Near);
    }
}

TEST_F(DynamicObjectTest, AFrameChangeAloneIsNoMotion)
{
    const auto actor = MakeActor();
    DynamicObject object;
    object.AddCollisionData(actor.get(), 0, 0);
    object.SetPosition({5, 5});
    object.SetOldPosition({5, 5});
    ASSERT_TRUE(object.PreUpdate());
    object.SetCurrentCollisionFrame(0, 2, true, false);
    ASSERT_TRUE(object.PreUpdate());
    EXPECT_FALSE(object.HasMoved());
    EXPECT_EQ(object.GetSubSteps(), 1);
    EXPECT_EQ(object.GetFrameLineSegmentCount(), 3u);
    // The horizontal flip selects the HFlip variant.
    EXPECT_EQ(object.GetFrameRectangle(), ZibRect(12, -6, 2, -4));
    EXPECT_EQ(object.GetLocalLineSegment(0).pointA, Vector2D(-2, 1));
    EXPECT_EQ(object.GetCurrentLineSegments()[0].pointA, Vector2D(3, 6));
    EXPECT_EQ(object.GetCurrentBoundingRectangle(), ZibRect(17, -1, 7, 1));
}

TEST_F(DynamicObjectTest, BuffersAreSizedForTheLargestFrame)
{
    const auto actor = MakeActor();
    DynamicObject object;
    object.AddCollisionData(actor.get(), 0, 0);
    ASSERT_EQ(object.GetOldLineSegments().size(), 5u);
    ASSERT_EQ(object.GetCurrentLineSegments().size(), 5u);
    ASSERT_EQ(object.SubStepLineSegments().size(), 5u);
    // Copied from the frame with five segments.
    EXPECT_EQ(object.GetCurrentLineSegments()[4].pointA, Vector2D(1, 4));
    EXPECT_EQ(object.GetCurrentCircles().size(), 1u);
    EXPECT_EQ(object.GetOldHotSpots().size(), 1u);
    EXPECT_EQ(object.GetCurrentBoundingRectangle(), ZibRect(10, -2, 6, -4));

    // Frame 0 has no hotspot: index 0 is past its hotspots.
    ASSERT_TRUE(object.PreUpdate());
    EXPECT_EQ(object.GetCurrentHotSpot(0), Vector2D(0, 0));
    object.SetCurrentCollisionFrame(0, 1, false, false);
    object.SetPosition({1, 1});
    ASSERT_TRUE(object.PreUpdate());
    ExpectNear(object.GetCurrentHotSpot(0), {1, 6});
    EXPECT_EQ(object.GetCurrentHotSpot(1), Vector2D(0, 0));
    EXPECT_EQ(object.GetFrameLineSegment(3).GetUserId(), 103u);
    EXPECT_EQ(object.GetFrameCircle(0).GetUserId(), 7u);

    // Replacing the actor releases the buffers first.
    const auto small = MakeSegmentActor();
    object.SetCollisionActor(small.get(), 0, 0);
    EXPECT_EQ(object.GetOldLineSegments().size(), 1u);
    EXPECT_EQ(object.GetOldCircles().size(), 0u);
}

TEST_F(DynamicObjectTest, AnObjectWithoutAFrameIsLeftOut)
{
    DynamicObject object;
    object.GetCollisionResults().NextRectangleContact();
    EXPECT_FALSE(object.PreUpdate());
    // Without an actor the block keeps its contents.
    EXPECT_EQ(object.GetCollisionResults().GetRectangleContactCount(), 1);

    const auto actor = MakeActor();
    object.AddCollisionData(actor.get(), 0, 0);
    object.SetCurrentCollisionFrame(0, 3, false, false);
    EXPECT_FALSE(object.PreUpdate());
    EXPECT_FALSE(object.HasFrame());
    EXPECT_EQ(object.GetFrameLineSegmentCount(), 0u);
    EXPECT_EQ(object.GetCollisionResults().GetRectangleContactCount(), 0);
    object.SetCurrentCollisionFrame(1, 0, false, false);
    EXPECT_FALSE(object.PreUpdate());
}

TEST_F(DynamicObjectTest, SpriteFramesAddressAnActorHoldingThemEndToEnd)
{
    const auto actor = MakeActor();
    DynamicObject object;
    object.SetSpriteFrameCounts({1, 2});
    object.AddCollisionData(actor.get(), 1, 0);
    EXPECT_EQ(object.GetCurrentFrame(), actor->GetFrame(0, 1));
    object.SetCurrentCollisionFrame(1, 1, false, false);
    ASSERT_TRUE(object.PreUpdate());
    EXPECT_EQ(object.GetCurrentFrame(), actor->GetFrame(0, 2));
    object.SetCurrentCollisionFrame(1, 2, false, false);
    EXPECT_FALSE(object.PreUpdate());
}

TEST_F(DynamicObjectTest, MotionAtAFraction)
{
    const auto actor = MakeActor();
    DynamicObject object;
    object.AddCollisionData(actor.get(), 0, 0);
    object.SetOldPosition({1, 2});
    object.SetOldOrientation(90);
    object.SetPosition({11, 2});
    object.SetOrientation(180);
    ASSERT_TRUE(object.PreUpdate());

    ExpectNear(object.TransformAtFraction({1, 0}, 0), {1, 3});
    ExpectNear(object.TransformAtFraction({1, 0}, 1), {10, 2});
    ExpectNear(object.TransformAtFraction({0, 0}, 0.25f), object.PositionAtFraction(0.25f));
    ExpectNear(object.PositionAtFraction(0.25f), {3.5f, 2});
    EXPECT_NEAR(object.OrientationAtFraction(0.5f), 135, Near);
    ExpectNear(object.TransformByMotionAtFraction({1, 0}, 1), {10, 1});
    ExpectNear(object.TransformByMotionAtFraction({1, 0}, 0.5f), {5 + 0.70710678f, 0.70710678f});
    ExpectNear(object.InverseTransformByMotionAtFraction({1, 0}, 1), {-10, -1});
    ExpectNear(object.InverseTransformByMotionAtFraction({0, 0}, 0.5f), {-5, 0});

    // The rectangles at both poses and their union.
    ExpectNear({object.GetOldPoseRectangle().left, object.GetOldPoseRectangle().top}, {-9, 8});
    ExpectNear({object.GetCurrentBoundingRectangle().left, object.GetCurrentBoundingRectangle().top}, {5, 6});
    const ZibRect& swept = object.GetSweptRectangle();
    EXPECT_NEAR(swept.left, -9, Near);
    EXPECT_NEAR(swept.right, 13, Near);

    object.EndStep();
    EXPECT_EQ(object.GetOldPosition(), Vector2D(11, 2));
    EXPECT_EQ(object.GetOldOrientation(), 180.0f);

    object.SetPosition({20, 2});
    object.SetOrientation(0);
    object.ResetOldPose();
    EXPECT_EQ(object.GetOldPosition(), Vector2D(20, 2));
    EXPECT_EQ(object.GetDisplacement(), Vector2D(0, 0));
    EXPECT_EQ(object.GetAngularChange(), 0.0f);
    EXPECT_EQ(object.GetCurrentBoundingRectangle(), ZibRect(12, 18, 26, -2));
}

TEST_F(DynamicObjectTest, CandidatesAreListedOnceAndGrowByFive)
{
    DynamicObject object;
    EXPECT_EQ(object.GetCandidateCapacity(), 5);
    for (std::uint32_t slot : {3u, 1u, 3u, 2u, 4u, 1u})
    {
        object.AddCandidate(slot);
    }
    EXPECT_EQ(object.GetCandidateCount(), 4);
    EXPECT_EQ(object.GetCandidateCapacity(), 5);
    object.AddCandidate(9);
    EXPECT_EQ(object.GetCandidateCount(), 5);
    EXPECT_EQ(object.GetCandidateCapacity(), 10);
    EXPECT_EQ(object.GetCandidate(4), 9u);
}

TEST_F(DynamicObjectTest, ACopyStartsFromFrameZeroWithAFreshResultBlock)
{
    const auto actor = MakeActor();
    DynamicObject object;
    object.AddCollisionData(actor.get(), 0, 0);
    object.SetSlot(4);
    object.SetOwner(0x5000);
    object.SetZCollision(9);
    object.SetCanCollid(9, true);
    object.SetCollisionType(1);
    object.SetCollisionThickness(0.5f);
    object.SetUpdateOnIdle(true);
    object.SetBoundingRectangleCheckingTileMap(false);
    object.SetPosition({7, 8});
    object.SetCurrentCollisionFrame(0, 2, true, true);
    object.AddCandidate(6);
    object.GetCollisionResults().NextDynamicContact();

    DynamicObject copy(object);
    EXPECT_EQ(copy.GetSlot(), 0);
    EXPECT_EQ(copy.GetOwner(), 0x5000u);
    EXPECT_EQ(copy.GetKind(), CollisionKind::DynamicObject);
    EXPECT_EQ(copy.GetZ_Collision(), 9);
    EXPECT_TRUE(copy.GetCanCollid(9));
    EXPECT_EQ(copy.GetCollisionType(), 1);
    EXPECT_EQ(copy.GetCollisionThickness(), 0.5f);
    EXPECT_TRUE(copy.GetUpdateOnIdle());
    EXPECT_FALSE(copy.GetBoundingRectangleCheckingTileMap());
    EXPECT_EQ(copy.GetPosition(), Vector2D(7, 8));
    EXPECT_EQ(copy.GetCandidateCount(), 1);
    EXPECT_EQ(copy.GetCollisionResults().GetDynamicContactCount(), 0);
    EXPECT_EQ(copy.GetCurrentFrame(), actor->GetFrame(0, 0));
    EXPECT_EQ(copy.GetFrameIndex(), 2u);
    EXPECT_TRUE(copy.GetHorizontalFlip());
    EXPECT_EQ(copy.GetCurrentLineSegments().size(), 5u);
    ASSERT_TRUE(copy.PreUpdate());
    EXPECT_EQ(copy.GetCurrentFrame(), actor->GetFrame(0, 2));
}

// An object after a step, with settings and results worth storing.
std::unique_ptr<DynamicObject> SteppedObject(const CollisionActor& actor)
{
    auto object = std::make_unique<DynamicObject>();
    object->AddCollisionData(const_cast<CollisionActor*>(&actor), 0, 0);
    object->SetSlot(12);
    object->SetZCollision(3);
    object->SetCanCollid(0, true);
    object->SetCanCollid(254, true);
    object->SetCollisionType(1);
    object->SetCollisionThickness(0.75f);
    object->SetSparePose({1, 2}, 3);
    object->SetOldPosition({0, 0});
    object->SetPosition({4, 3});
    object->SetOrientation(15);
    object->SetCurrentCollisionFrame(0, 1, false, true);
    object->PreUpdate();
    object->SetCellRange({1, 2, 0, 3});
    object->AddCandidate(5);
    object->AddCandidate(8);
    object->GetCollisionResults().CurrentRectangleContact().id = 9547;
    object->GetCollisionResults().NextRectangleContact();
    return object;
}

TEST_F(DynamicObjectTest, ArchiveRoundTripsWithoutTheActor)
{
    const auto actor = MakeActor();
    const auto object = SteppedObject(*actor);
    SetMaximumInterpolationValue(6);
    const std::vector<std::uint8_t> bytes = BytesOf(*object);

    SetMaximumInterpolationValue(20);
    DynamicObject read;
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    ASSERT_TRUE(read.Read(in));
    EXPECT_EQ(in.GetBytesLeft(), 0u);
    EXPECT_EQ(BytesOf(read), bytes);
    EXPECT_EQ(GetMaximumInterpolationValue(), 6);
    EXPECT_EQ(read.GetCollisionActor(), nullptr);
    EXPECT_FALSE(read.HasFrame());
    EXPECT_TRUE(read.GetCurrentLineSegments().empty());
    EXPECT_EQ(read.GetOwner(), 0u);
    EXPECT_EQ(read.GetSubSteps(), 15);
    EXPECT_TRUE(read.GetVerticalFlip());
    EXPECT_TRUE(read.GetCanCollid(254));
    EXPECT_EQ(read.GetCandidate(1), 8u);
    EXPECT_EQ(read.GetCollisionResults().GetRectangleContact(0).id, 9547u);
    // Until the owner attaches the actor again the object takes no part.
    EXPECT_FALSE(read.PreUpdate());
    read.AddCollisionData(actor.get(), 0, 1);
    EXPECT_TRUE(read.PreUpdate());
    EXPECT_EQ(read.GetCurrentLineSegments().size(), 5u);
}

TEST_F(DynamicObjectTest, CorruptArchivesAreRejected)
{
    const auto actor = MakeActor();
    const auto object = SteppedObject(*actor);
    auto target = SteppedObject(*actor);
    CollisionTest::ExpectEveryTruncationRejected(*object, *target);

    // Offsets in the archive form: kind 0, maximum interpolation 12, slot 16,
    // z 20 (1 byte), sub-steps 121, candidate capacity 396 and count 400.
    struct Case
    {
        const char* what;
        std::size_t offset;
        std::int32_t value;
    };
    const Case cases[] = {
        {"another kind", 0, 2},
        {"no sub-steps allowed", 12, 0},
        {"slot beyond the dynamic range", 16, 60000},
        {"zero sub-steps", 121, 0},
        {"candidate count at the capacity", 400, 5},
        {"no candidate storage", 396, 0},
    };
    for (const Case& c : cases)
    {
        std::vector<std::uint8_t> bytes = BytesOf(*object);
        CollisionTest::Patch(bytes, c.offset, c.value);
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_FALSE(target->Read(in)) << c.what;
        EXPECT_EQ(in.GetError(), Core::FileError::BadData) << c.what;
    }
    std::vector<std::uint8_t> bytes = BytesOf(*object);
    bytes[20] = 255;
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    EXPECT_FALSE(target->Read(in));
    EXPECT_EQ(GetMaximumInterpolationValue(), 20);
    EXPECT_EQ(BytesOf(*target), BytesOf(*SteppedObject(*actor)));
}

} // namespace
