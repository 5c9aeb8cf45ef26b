#include "CollisionTestSupport.h"

#include "collision/Collision_CollisionActor.h"

#include <memory>

namespace
{

using namespace Collision2D;
using CollisionTest::BytesOf;
using Math::Vector2D;

// Two animations: the first with frames of 2 and 0 segments, the second
// with one frame holding a circle and a hotspot.
std::unique_ptr<CollisionActor> MakeActor()
{
    auto actor = std::make_unique<CollisionActor>();
    auto* walk = new ("test", __LINE__) CollisionAnimation;
    auto* first = new ("test", __LINE__) CollisionFrame;
    first->SetBoundingRectangle({10, -2, 6, -4}, true);
    first->AddLineSegment({1, 2}, {3, 4}, 11, true);
    first->AddLineSegment({0, 0}, {0, 5}, 12, false);
    walk->AddCollisionFrame(first);
    auto* second = new ("test", __LINE__) CollisionFrame;
    second->SetBoundingRectangle({1, -1, 1, -1}, false);
    walk->AddCollisionFrame(second);
    actor->AddCollisionAnimation(walk);
    auto* jump = new ("test", __LINE__) CollisionAnimation;
    auto* third = new ("test", __LINE__) CollisionFrame;
    third->SetBoundingRectangle({28, -30, 30, -28}, true);
    third->AddCircle({0, 3}, 13, 21, true);
    third->AddHotSpot({5, -5}, true);
    jump->AddCollisionFrame(third);
    actor->AddCollisionAnimation(jump);
    return actor;
}

TEST(CollisionActor, RoundTripsByteForByte)
{
    const auto actor = MakeActor();
    CollisionActor read;
    CollisionTest::ExpectByteExactRoundTrip(*actor, read);
    ASSERT_EQ(read.GetAnimationCount(), 2u);
    ASSERT_EQ(read.GetAnimation(0)->GetFrameCount(), 2u);
    const CollisionFrame* first = read.GetFrame(0, 0);
    ASSERT_EQ(first->GetLineSegmentCount(), 2u);
    EXPECT_EQ(first->GetLineSegment(0).GetLineSegment(FlipVariant::VFlip).pointA, Vector2D(3, -4));
    EXPECT_EQ(first->GetLineSegment(1).GetUserId(), 12u);
    EXPECT_EQ(first->GetBoundingRectangle(FlipVariant::HVFlip), ZibRect(4, -6, 2, -10));
    const CollisionFrame* third = read.GetFrame(1, 0);
    EXPECT_EQ(third->GetCircle(0).GetCircle(FlipVariant::HFlip).center, Vector2D(0, 3));
    EXPECT_EQ(third->GetCircle(0).GetUserId(), 21u);
    EXPECT_EQ(third->GetHotSpot(0).GetHotSpot(FlipVariant::HVFlip), Vector2D(-5, 5));
}

TEST(CollisionActor, ReadingAppends)
{
    const auto actor = MakeActor();
    const auto bytes = BytesOf(*actor);
    auto target = MakeActor();
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    ASSERT_TRUE(target->Read(in));
    EXPECT_EQ(target->GetAnimationCount(), 4u);
    EXPECT_EQ(target->GetFrame(3, 0)->GetCircleCount(), 1u);
}

TEST(CollisionActor, BadStreamsLeaveNothingHalfBuilt)
{
    const auto actor = MakeActor();
    auto target = MakeActor();
    CollisionTest::ExpectEveryTruncationRejected(*actor, *target);
    EXPECT_EQ(target->GetAnimationCount(), 2u);

    // Counts that the bytes cannot back: animations, frames, shapes.
    for (const std::size_t offset : {std::size_t{0}, std::size_t{4}, std::size_t{8 + 64}})
    {
        auto bytes = BytesOf(*actor);
        CollisionTest::Patch(bytes, offset, std::uint32_t{0x40000000});
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_FALSE(target->Read(in)) << offset;
        EXPECT_TRUE(in.Failed());
    }
    EXPECT_EQ(BytesOf(*target), BytesOf(*MakeActor()));
}

TEST(CollisionActor, FramesBySpriteAnimationAndFrame)
{
    // One animation holding a sprite's three animations of 2, 3 and 1 frames.
    CollisionActor flat;
    auto* all = new ("test", __LINE__) CollisionAnimation;
    CollisionFrame* frames[6];
    for (CollisionFrame*& frame : frames)
    {
        frame = new ("test", __LINE__) CollisionFrame;
        all->AddCollisionFrame(frame);
    }
    flat.AddCollisionAnimation(all);
    const std::uint32_t spriteFrames[] = {2, 3, 1};

    struct Case
    {
        std::uint32_t animation;
        std::uint32_t frame;
        CollisionFrame* expected;
    };
    const Case cases[] = {
        {0, 0, frames[0]}, {0, 1, frames[1]}, {1, 0, frames[2]}, {1, 2, frames[4]},
        {2, 0, frames[5]}, {0, 2, nullptr},   {2, 1, nullptr},   {3, 0, nullptr},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(flat.FindSpriteFrame(c.animation, c.frame, spriteFrames), c.expected)
            << c.animation << ", " << c.frame;
    }
    // Without the sprite's counts the actor is addressed directly.
    EXPECT_EQ(flat.FindSpriteFrame(0, 4, {}), frames[4]);
    EXPECT_EQ(flat.FindSpriteFrame(1, 0, {}), nullptr);

    // An actor with an animation per sprite animation is addressed directly.
    const auto actor = MakeActor();
    const std::uint32_t twoAnimations[] = {2, 1};
    EXPECT_EQ(actor->FindSpriteFrame(1, 0, twoAnimations), actor->GetFrame(1, 0));
    EXPECT_EQ(actor->FindSpriteFrame(0, 2, twoAnimations), nullptr);
    EXPECT_EQ(actor->GetFrame(2, 0), nullptr);
}

} // namespace
