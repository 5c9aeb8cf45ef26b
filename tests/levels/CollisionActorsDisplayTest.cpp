#include "LevelsTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_GeometricCollision.h"
#include "core/Core_Object.h"

#include <gtest/gtest.h>

namespace
{

using namespace BrillowTest;
using Collision2D::FlipVariant;

class CollisionActorsDisplayTest : public LevelsDisplayTest
{
protected:
    const Collision2D::CollisionFrame& Frame(std::uint32_t actor, std::uint32_t frame) const
    {
        const auto& assets = game->GetCollisionAssets();
        return *assets.at(actor)->GetFrame(0, frame);
    }

    std::uint32_t FrameCount(std::uint32_t actor) const
    {
        return game->GetCollisionAssets().at(actor)->GetAnimation(0)->GetFrameCount();
    }

    using LevelsDisplayTest::Frame;
};

TEST_F(CollisionActorsDisplayTest, FortyTwoActorsAfterEveryLevelAndNoneLeftBehind)
{
    Start();
    Frame();
    ASSERT_EQ(game->GetCollisionAssets().size(), 42u);
    for (std::uint32_t i = 0; i < 42; ++i)
    {
        EXPECT_EQ(game->GetCollisionAssets()[i].get(), factory->GetActor(i));
        EXPECT_EQ(game->GetCollisionAssets()[i]->GetAnimationCount(), 1u);
    }
    std::int32_t objectsAfterFirstRound = 0;
    for (std::uint32_t i = 0; i < 100; ++i)
    {
        game->ChangeLevel(i % 9);
        Frame();
        ASSERT_EQ(game->GetCollisionAssets().size(), 42u) << i;
        if (i == 8)
        {
            objectsAfterFirstRound = Core::GetLiveObjectCount();
        }
        if (i % 9 == 8)
        {
            EXPECT_EQ(Core::GetLiveObjectCount(), objectsAfterFirstRound) << i;
        }
    }
    // An index past the levels still makes the actors, and no level.
    game->ClearCollisionAssets();
    EXPECT_EQ(factory->CreateLevel(9), nullptr);
    EXPECT_EQ(game->GetCollisionAssets().size(), 42u);
}

TEST_F(CollisionActorsDisplayTest, FramesHoldTheirShapes)
{
    Start();
    Frame();
    ASSERT_EQ(FrameCount(26), 25u);
    for (std::uint32_t frame = 0; frame < 25; ++frame)
    {
        EXPECT_EQ(Frame(26, frame).GetCircleCount(), 1u) << frame;
    }
    EXPECT_EQ(Frame(26, 20).GetCircle(0).GetCircle(FlipVariant::NoFlip).radius, 29.0f);
    EXPECT_EQ(Frame(26, 10).GetBoundingRectangle(FlipVariant::NoFlip), Collision2D::ZibRect(42, -42, 378, -378));
    for (std::uint32_t actor : {19u, 21u})
    {
        for (std::uint32_t frame = 0; frame < 6; ++frame)
        {
            EXPECT_EQ(Frame(actor, frame).GetCircleCount(), 0u) << actor << " " << frame;
        }
        EXPECT_EQ(Frame(actor, 6).GetCircleCount(), 1u) << actor;
    }
    EXPECT_EQ(Frame(19, 7).GetCircle(0).GetCircle(FlipVariant::NoFlip).center, Math::Vector2D(0, 2));

    // Every shape carries its mirror images.
    const Collision2D::CollisionFrame& button = Frame(4, 0);
    EXPECT_EQ(button.GetBoundingRectangle(FlipVariant::NoFlip), Collision2D::ZibRect(49, -161, 162, -49));
    EXPECT_EQ(button.GetBoundingRectangle(FlipVariant::HFlip), Collision2D::ZibRect(49, -162, 161, -49));
    EXPECT_EQ(Frame(4, 1).GetBoundingRectangle(FlipVariant::NoFlip), Collision2D::ZibRect(49, -161, 161, -49));
    const auto& circle = Frame(26, 0).GetCircle(0);
    EXPECT_EQ(circle.GetCircle(FlipVariant::NoFlip).center, Math::Vector2D(-4, 2));
    EXPECT_EQ(circle.GetCircle(FlipVariant::HFlip).center, Math::Vector2D(4, 2));
    EXPECT_EQ(circle.GetCircle(FlipVariant::VFlip).center, Math::Vector2D(-4, -2));
    EXPECT_EQ(circle.GetUserId(), 0u);
    const auto& segment = Frame(34, 0).GetLineSegment(0);
    EXPECT_EQ(segment.GetLineSegment(FlipVariant::NoFlip).pointA, Math::Vector2D(4, 333));
    // A mirrored segment runs the other way, keeping its side.
    EXPECT_EQ(segment.GetLineSegment(FlipVariant::HFlip).pointA, Math::Vector2D(-6, -325));
    EXPECT_EQ(segment.GetLineSegment(FlipVariant::HFlip).pointB, Math::Vector2D(-4, 333));
    EXPECT_EQ(Frame(34, 0).GetLineSegmentCount(), 2u);
}

TEST_F(CollisionActorsDisplayTest, TheBeamTablesHoldTheirSegments)
{
    Start();
    Frame();
    struct Check
    {
        std::uint32_t actor;
        std::uint32_t frame;
        std::uint32_t count;
        std::uint32_t index;
        Math::Vector2D a;
        Math::Vector2D b;
    };
    const Check checks[] = {
        {24, 0, 0, 0, {}, {}},
        {24, 3, 4, 2, {348, 7}, {488, 6}},
        {24, 4, 4, 2, {488, -1}, {140, 0}},
        {24, 10, 2, 1, {486, -1}, {-481, -1}},
        {25, 0, 0, 0, {}, {}},
        {25, 4, 4, 0, {0, 341}, {0, 90}},
        {25, 10, 2, 1, {0, -330}, {0, 333}},
        {27, 1, 2, 0, {1, 335}, {4, -328}},
        {27, 4, 2, 1, {-2, -328}, {-2, 338}},
    };
    EXPECT_EQ(FrameCount(24), 11u);
    EXPECT_EQ(FrameCount(25), 11u);
    EXPECT_EQ(FrameCount(27), 5u);
    for (const Check& check : checks)
    {
        SCOPED_TRACE(std::to_string(check.actor) + " frame " + std::to_string(check.frame));
        const Collision2D::CollisionFrame& frame = Frame(check.actor, check.frame);
        ASSERT_EQ(frame.GetLineSegmentCount(), check.count);
        if (check.count > 0)
        {
            const Math::LineSegment2D& segment = frame.GetLineSegment(check.index).GetLineSegment(FlipVariant::NoFlip);
            EXPECT_EQ(segment.pointA, check.a);
            EXPECT_EQ(segment.pointB, check.b);
        }
    }
}

} // namespace
