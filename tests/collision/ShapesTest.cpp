#include "CollisionTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_GeometricCollision.h"

#include <memory>

namespace
{

using namespace Collision2D;
using CollisionTest::BytesOf;
using CollisionTest::CollisionFixture;
using Math::Circle2D;
using Math::LineSegment2D;
using Math::Vector2D;

constexpr FlipVariant AllVariants[] = {FlipVariant::NoFlip, FlipVariant::HVFlip, FlipVariant::HFlip,
                                       FlipVariant::VFlip};

TEST(FlipVariants, FrameRectangleVariants)
{
    struct Case
    {
        ZibRect noFlip;
        bool flip;
        ZibRect hv;
        ZibRect h;
        ZibRect v;
    };
    const Case cases[] = {
        {{10, -2, 6, -4}, true, {4, -6, 2, -10}, {10, -6, 2, -4}, {4, -2, 6, -10}},
        {{46, -493, 493, -46}, true, {46, -493, 493, -46}, {46, -493, 493, -46}, {46, -493, 493, -46}},
        {{10, -2, 6, -4}, false, {10, -2, 6, -4}, {10, -2, 6, -4}, {10, -2, 6, -4}},
    };
    for (const Case& c : cases)
    {
        CollisionFrame frame;
        frame.SetBoundingRectangle(c.noFlip, c.flip);
        EXPECT_EQ(frame.GetBoundingRectangle(FlipVariant::NoFlip), c.noFlip);
        EXPECT_EQ(frame.GetBoundingRectangle(FlipVariant::HVFlip), c.hv);
        EXPECT_EQ(frame.GetBoundingRectangle(FlipVariant::HFlip), c.h);
        EXPECT_EQ(frame.GetBoundingRectangle(FlipVariant::VFlip), c.v);
    }
}

TEST(FlipVariants, SegmentsMirrorAndExchangeTheirEnds)
{
    const DynamicCollisionLineSegment flipped({1, 2}, {3, 4}, 9, true);
    const auto expectSegment = [](const LineSegment2D& s, Vector2D a, Vector2D b)
    {
        EXPECT_EQ(s.pointA, a);
        EXPECT_EQ(s.pointB, b);
    };
    expectSegment(flipped.GetLineSegment(FlipVariant::NoFlip), {1, 2}, {3, 4});
    expectSegment(flipped.GetLineSegment(FlipVariant::HVFlip), {-3, -4}, {-1, -2});
    expectSegment(flipped.GetLineSegment(FlipVariant::HFlip), {-3, 4}, {-1, 2});
    expectSegment(flipped.GetLineSegment(FlipVariant::VFlip), {3, -4}, {1, -2});
    EXPECT_EQ(flipped.GetUserId(), 9u);

    const DynamicCollisionLineSegment plain({1, 2}, {3, 4}, 0, false);
    for (const FlipVariant variant : AllVariants)
    {
        expectSegment(plain.GetLineSegment(variant), {1, 2}, {3, 4});
    }
}

TEST(FlipVariants, CirclesAndHotSpotsMirrorTheirPoints)
{
    const DynamicCollisionCircle circle({1, 2}, 5.0f, 3, true);
    const DynamicCollisionHotSpot hotSpot({1, 2}, true);
    const Vector2D images[] = {{1, 2}, {-1, -2}, {-1, 2}, {1, -2}};
    for (const FlipVariant variant : AllVariants)
    {
        EXPECT_EQ(circle.GetCircle(variant).center, images[ToIndex(variant)]);
        EXPECT_EQ(circle.GetCircle(variant).radius, 5.0f);
        EXPECT_EQ(hotSpot.GetHotSpot(variant), images[ToIndex(variant)]);
    }
    EXPECT_EQ(circle.GetUserId(), 3u);
    EXPECT_EQ(DynamicCollisionHotSpot({1, 2}, false).GetHotSpot(FlipVariant::HVFlip), Vector2D(1, 2));
    EXPECT_EQ(SelectFlipVariant(false, false), FlipVariant::NoFlip);
    EXPECT_EQ(SelectFlipVariant(true, true), FlipVariant::HVFlip);
    EXPECT_EQ(SelectFlipVariant(true, false), FlipVariant::HFlip);
    EXPECT_EQ(SelectFlipVariant(false, true), FlipVariant::VFlip);
}

using StaticShapes = CollisionFixture;

TEST_F(StaticShapes, ACloneHasANewSerialAndItsOwnGeometry)
{
    auto source = std::make_unique<StaticCollisionCircle>();
    source->SetCircle(new ("test", __LINE__) Circle2D({5, 6}, 7.0f));
    source->SetZCollision(255);
    source->SetUserId(44);
    source->SetOwner(0x1234);
    source->SetTested(true);

    const StaticCollisionCircle clone(*source);
    EXPECT_EQ(clone.GetSerial(), source->GetSerial() + 1);
    EXPECT_EQ(clone.GetKind(), CollisionKind::StaticCircle);
    EXPECT_EQ(clone.GetOwner(), 0x1234u);
    EXPECT_EQ(clone.GetZ_Collision(), 255);
    EXPECT_EQ(clone.GetUserId(), 44u);
    EXPECT_TRUE(clone.IsTested());
    ASSERT_NE(clone.GetCircle(), nullptr);
    EXPECT_NE(clone.GetCircle(), source->GetCircle());

    source.reset();
    EXPECT_EQ(clone.GetCircle()->center, Vector2D(5, 6));
    EXPECT_EQ(clone.GetCircle()->radius, 7.0f);

    StaticCollisionLineSegment segment;
    segment.SetLineSegment(new ("test", __LINE__) LineSegment2D({1, 1}, {2, 2}));
    auto segmentClone = std::make_unique<StaticCollisionLineSegment>(segment);
    segment.SetLineSegment(new ("test", __LINE__) LineSegment2D({3, 3}, {4, 4}));
    EXPECT_EQ(segmentClone->GetLineSegment()->pointB, Vector2D(2, 2));
    EXPECT_EQ(segmentClone->GetSerial(), segment.GetSerial() + 1);
}

TEST_F(StaticShapes, ArchiveRestoresTheShapeAndTheSerialCounter)
{
    StaticCollisionCircle circle;
    circle.SetCircle(new ("test", __LINE__) Circle2D({1.5f, -2}, 3));
    circle.SetZCollision(9);
    circle.SetUserId(77);
    circle.SetOwner(0xBEEF);
    StaticCollisionLineSegment segment;
    segment.SetLineSegment(new ("test", __LINE__) LineSegment2D({0, 0}, {10, 5}));
    segment.SetTested(true);
    const auto circleBytes = BytesOf(circle);
    const auto segmentBytes = BytesOf(segment);
    EXPECT_EQ(circleBytes.size(), 4u + 12 + 4 + 4 + 4 + 1 + 1);

    ResetCollisionCounters();
    StaticCollisionCircle readCircle(ForReading);
    StaticCollisionLineSegment readSegment(ForReading);
    EXPECT_EQ(GetStaticCircleSerial(), 1u);
    Core::MemoryFile circleIn(circleBytes.data(), static_cast<std::uint32_t>(circleBytes.size()));
    Core::MemoryFile segmentIn(segmentBytes.data(), static_cast<std::uint32_t>(segmentBytes.size()));
    ASSERT_TRUE(readCircle.Read(circleIn));
    ASSERT_TRUE(readSegment.Read(segmentIn));
    EXPECT_EQ(BytesOf(readCircle), circleBytes);
    EXPECT_EQ(BytesOf(readSegment), segmentBytes);
    EXPECT_EQ(readCircle.GetOwner(), 0u);
    EXPECT_EQ(readCircle.GetSerial(), 1u);
    EXPECT_EQ(readCircle.GetUserId(), 77u);
    // Shapes created after the load continue the saved numbering.
    EXPECT_EQ(StaticCollisionCircle().GetSerial(), 2u);
    EXPECT_EQ(StaticCollisionLineSegment().GetSerial(), 2u);
}

TEST_F(StaticShapes, BadArchivesChangeNothing)
{
    StaticCollisionCircle circle;
    circle.SetCircle(new ("test", __LINE__) Circle2D({1, 2}, 3));
    StaticCollisionCircle target;
    target.SetCircle(new ("test", __LINE__) Circle2D({9, 9}, 9));
    const std::uint32_t counter = GetStaticCircleSerial();
    CollisionTest::ExpectEveryTruncationRejected(circle, target);
    EXPECT_EQ(GetStaticCircleSerial(), counter);

    // A segment's bytes are not a circle.
    StaticCollisionLineSegment segment;
    std::vector<std::uint8_t> bytes = BytesOf(segment);
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    EXPECT_FALSE(target.Read(in));
    EXPECT_EQ(in.GetError(), Core::FileError::BadData);
    EXPECT_EQ(target.GetCircle()->radius, 9.0f);
}

TEST(FrameShapes, ArchiveRoundTripsEveryVariant)
{
    const DynamicCollisionCircle circle({1, 2}, 3, 4, true);
    const DynamicCollisionLineSegment segment({1, 2}, {3, 4}, 5, true);
    const DynamicCollisionHotSpot hotSpot({-1, 6}, true);
    DynamicCollisionCircle readCircle;
    DynamicCollisionLineSegment readSegment;
    DynamicCollisionHotSpot readHotSpot;
    CollisionTest::ExpectByteExactRoundTrip(circle, readCircle);
    CollisionTest::ExpectByteExactRoundTrip(segment, readSegment);
    CollisionTest::ExpectByteExactRoundTrip(hotSpot, readHotSpot);
    EXPECT_EQ(readSegment.GetLineSegment(FlipVariant::HFlip).pointA, Vector2D(-3, 4));
    EXPECT_EQ(readCircle.GetUserId(), 4u);
    DynamicCollisionLineSegment other({7, 7}, {8, 8}, 1, false);
    CollisionTest::ExpectEveryTruncationRejected(segment, other);
}

} // namespace
