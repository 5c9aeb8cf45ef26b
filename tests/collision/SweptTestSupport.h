#pragma once

#include "CollisionTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_GeometricCollision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace SweptTest
{

using Collision2D::DynamicObject;
using Math::Vector2D;

struct SegmentShape
{
    Vector2D a;
    Vector2D b;
    std::uint32_t userId;
};

struct CircleShape
{
    Vector2D center;
    float radius;
    std::uint32_t userId;
};

// A dynamic object of collision type 1 with its own one-frame actor.
class Body
{
public:
    Body(const std::vector<SegmentShape>& segments, const std::vector<CircleShape>& circles,
         std::int32_t slot = 1)
        : actor_(std::make_unique<Collision2D::CollisionActor>())
    {
        auto* frame = new ("test", __LINE__) Collision2D::CollisionFrame;
        frame->SetBoundingRectangle({10, -10, 10, -10}, false);
        for (const SegmentShape& s : segments)
        {
            frame->AddLineSegment(s.a, s.b, s.userId, false);
        }
        for (const CircleShape& c : circles)
        {
            frame->AddCircle(c.center, c.radius, c.userId, false);
        }
        auto* animation = new ("test", __LINE__) Collision2D::CollisionAnimation;
        animation->AddCollisionFrame(frame);
        actor_->AddCollisionAnimation(animation);
        object.AddCollisionData(actor_.get(), 0, 0);
        object.SetCollisionType(1);
        object.SetSlot(slot);
    }
    Body(const Body&) = delete;
    Body& operator=(const Body&) = delete;

    // Old and current pose (degrees), then the step preparation.
    void Pose(const Vector2D& from, const Vector2D& to, float fromDegrees = 0.0f, float toDegrees = 0.0f)
    {
        object.SetOldPosition(from);
        object.SetPosition(to);
        object.SetOldOrientation(fromDegrees);
        object.SetOrientation(toDegrees);
        ASSERT_TRUE(object.PreUpdate());
    }
    void Rest(const Vector2D& at, float degrees = 0.0f) { Pose(at, at, degrees, degrees); }

    Collision2D::CollisionResults& Results() { return object.GetCollisionResults(); }
    Collision2D::DGEO_C& Current() { return object.GetCollisionResults().CurrentDynamicContact(); }

    DynamicObject object;

private:
    std::unique_ptr<Collision2D::CollisionActor> actor_;
};

// A static shape stored at `slot` of its layer.
inline std::unique_ptr<Collision2D::StaticCollisionCircle>
StaticCircle(const Vector2D& center, float radius, std::uint32_t slot, std::uint32_t userId)
{
    auto shape = std::make_unique<Collision2D::StaticCollisionCircle>();
    shape->SetCircle(new ("test", __LINE__) Math::Circle2D(center, radius));
    shape->SetSlot(slot);
    shape->SetUserId(userId);
    return shape;
}

inline std::unique_ptr<Collision2D::StaticCollisionLineSegment>
StaticSegment(const Vector2D& a, const Vector2D& b, std::uint32_t slot, std::uint32_t userId)
{
    auto shape = std::make_unique<Collision2D::StaticCollisionLineSegment>();
    shape->SetLineSegment(new ("test", __LINE__) Math::LineSegment2D(a, b));
    shape->SetSlot(slot);
    shape->SetUserId(userId);
    return shape;
}

// What a driven pair test reports.
struct PairOutcome
{
    bool contact = false;
    std::int32_t subStep = 0; // k of the closing sub-step
    float time = -1.0f;       // t of the whole step
};

// The four one-moving members, sub-step by sub-step, as the pair test runs
// them: one fraction per sub-step, every member run, the sub-step closed at
// the first one with a contact (poses and ids in both DGEO_C, both pools
// advanced).
inline PairOutcome DriveOneMoving(DynamicObject& mover, DynamicObject& rest, std::uint8_t layer = 0)
{
    PairOutcome outcome;
    const std::int32_t n = mover.GetSubSteps();
    const float dt = 1.0f / static_cast<float>(n);
    for (std::int32_t k = 1; k <= n; ++k)
    {
        const float kf = static_cast<float>(k);
        float fraction = 2.0f;
        bool any = mover.SweptSegmentsSegmentsOneMoving(rest, layer, dt, kf, fraction);
        any = mover.SweptSegmentsCirclesOneMoving(rest, layer, dt, kf, fraction) || any;
        any = mover.SweptCirclesSegmentsOneMoving(rest, layer, dt, kf, fraction) || any;
        any = mover.SweptCirclesCirclesOneMoving(rest, layer, dt, kf, fraction) || any;
        if (!any)
        {
            continue;
        }
        const float t = (kf - 1.0f) * dt + dt * fraction;
        Collision2D::DGEO_C& mine = mover.GetCollisionResults().CurrentDynamicContact();
        Collision2D::DGEO_C& theirs = rest.GetCollisionResults().CurrentDynamicContact();
        mine.contactPosition = mover.PositionAtFraction(t);
        mine.contactOrientation = mover.OrientationAtFraction(t);
        theirs.contactPosition = rest.GetOldPosition();
        theirs.contactOrientation = rest.GetOldOrientation();
        mine.id = Collision2D::PackCollisionId(
            static_cast<std::uint16_t>(Collision2D::DynamicObjectBase + rest.GetSlot()), layer,
            rest.GetZ_Collision());
        theirs.id = Collision2D::PackCollisionId(
            static_cast<std::uint16_t>(Collision2D::DynamicObjectBase + mover.GetSlot()), layer,
            mover.GetZ_Collision());
        mine.otherOwner = rest.GetOwner();
        theirs.otherOwner = mover.GetOwner();
        mover.GetCollisionResults().NextDynamicObjectContact();
        rest.GetCollisionResults().NextDynamicObjectContact();
        return {true, k, t};
    }
    return outcome;
}

inline void ExpectFinite(const Collision2D::ShapeContact& record)
{
    EXPECT_TRUE(std::isfinite(record.penetrationDistance));
    for (int i = 0; i < record.numberOfIntersectedPoints; ++i)
    {
        EXPECT_TRUE(std::isfinite(record.contactPoint[i].x) && std::isfinite(record.contactPoint[i].y)) << i;
        EXPECT_TRUE(std::isfinite(record.normal[i].x) && std::isfinite(record.normal[i].y)) << i;
    }
}

inline void ExpectNear(const Vector2D& actual, const Vector2D& expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

} // namespace SweptTest
