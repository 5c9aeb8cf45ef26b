// Tests of a dynamic object against one static circle or line segment of
// its layer. A moved object sweeps through its own sub-steps and stops at
// the first sub-step with a contact; an idle one (UpdateOnIdle) is
// intersected once at its current pose. Either way every contact with the
// static shape goes into one record of the object's result block, with up
// to four points; static shapes keep no results.

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_SweptFeatures.h"
#include "collision/Collision_SweptRecords.h"
#include "collision/Collision_SweptShapes.h"
#include "math/Math_ClassifyResult.h"

namespace Collision2D
{

namespace
{

using Math::ClassifyResult;
using Math::Vector2D;
using Swept::FeatureContact;
using Swept::ShapeKind;

// The parts of a static contact record that name the shape and the pose.
void CloseStaticRecord(ShapeContact& record, std::uint32_t base, const MainCollisionObject& shape,
                       std::uint32_t slot, std::uint8_t z, std::uint32_t userId, std::uint8_t layerIndex,
                       const Vector2D& position, float orientation)
{
    record.id = PackCollisionId(static_cast<std::uint16_t>(base + slot), layerIndex, z);
    record.otherOwner = shape.GetOwner();
    record.userId = userId;
    record.contactPosition = position;
    record.contactOrientation = orientation;
}

} // namespace

void DynamicObject::SweptAgainstStaticCircle(const StaticCollisionCircle& shape, std::uint8_t layerIndex)
{
    const Math::Circle2D* circle = shape.GetCircle();
    if (circle == nullptr)
    {
        return;
    }
    const Swept::StepMotion motion = Swept::MotionOf(*this);
    const std::int32_t subSteps = subSteps_ > 0 ? subSteps_ : 1;
    const float dt = 1.0f / static_cast<float>(subSteps);
    Swept::Threshold threshold(thickness_);
    CIR_C& record = results_.CurrentStaticCircleContact();
    Swept::StaticRecorder recorder(record);
    bool approaching = false;
    FeatureContact contact;
    for (std::int32_t k = 1; k <= subSteps; ++k)
    {
        const Swept::SubStep step(motion, dt, static_cast<float>(k));
        Swept::MovingShapes mine(*this, step);
        mine.PlaceSegments();
        mine.PlaceCircles();
        for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
        {
            if (Swept::SegmentAgainstCircle(step, mine.SegmentAtEnd(i), *circle, threshold, contact,
                                            approaching))
            {
                recorder.Offer(contact, ShapeKind::Segment, mine.SegmentUserId(i));
            }
        }
        for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
        {
            if (Swept::CircleAgainstCircle(step, mine.CircleAtStart(i), mine.CircleAtEnd(i), *circle,
                                           threshold, contact, approaching))
            {
                recorder.Offer(contact, ShapeKind::Circle, mine.CircleUserId(i));
            }
        }
        if (recorder.Found())
        {
            const float t = step.Start() + dt * recorder.Fraction();
            CloseStaticRecord(record, StaticCircleBase, shape, shape.GetSlot(), shape.GetZ_Collision(),
                              shape.GetUserId(), layerIndex, PositionAtFraction(t), OrientationAtFraction(t));
            results_.NextStaticCircleContact();
            return;
        }
    }
}

void DynamicObject::SweptAgainstStaticLineSegment(const StaticCollisionLineSegment& shape,
                                                  std::uint8_t layerIndex)
{
    const Math::LineSegment2D* segment = shape.GetLineSegment();
    if (segment == nullptr)
    {
        return;
    }
    const Swept::StepMotion motion = Swept::MotionOf(*this);
    const std::int32_t subSteps = subSteps_ > 0 ? subSteps_ : 1;
    const float dt = 1.0f / static_cast<float>(subSteps);
    Swept::Threshold threshold(thickness_);
    LNS_C& record = results_.CurrentStaticLineSegmentContact();
    Swept::StaticRecorder recorder(record);
    bool approaching = false;
    FeatureContact contacts[4];
    for (std::int32_t k = 1; k <= subSteps; ++k)
    {
        const Swept::SubStep step(motion, dt, static_cast<float>(k));
        Swept::MovingShapes mine(*this, step);
        mine.PlaceSegments();
        mine.PlaceCircles();
        for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
        {
            const int found = Swept::SegmentAgainstSegment(step, mine.SegmentAtStart(i), mine.SegmentAtEnd(i),
                                                           *segment, threshold, contacts, approaching);
            for (int c = 0; c < found; ++c)
            {
                recorder.Offer(contacts[c], ShapeKind::Segment, mine.SegmentUserId(i));
            }
        }
        for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
        {
            if (Swept::CircleAgainstSegment(step, mine.CircleAtStart(i), mine.CircleAtEnd(i), *segment,
                                            threshold, contacts[0], approaching))
            {
                recorder.Offer(contacts[0], ShapeKind::Circle, mine.CircleUserId(i));
            }
        }
        if (recorder.Found())
        {
            const float t = step.Start() + dt * recorder.Fraction();
            CloseStaticRecord(record, StaticLineSegmentBase, shape, shape.GetSlot(), shape.GetZ_Collision(),
                              shape.GetUserId(), layerIndex, PositionAtFraction(t), OrientationAtFraction(t));
            results_.NextStaticLineSegmentContact();
            return;
        }
    }
}

void DynamicObject::OverlapStaticCircle(const StaticCollisionCircle& shape, std::uint8_t layerIndex)
{
    const Math::Circle2D* circle = shape.GetCircle();
    if (circle == nullptr)
    {
        return;
    }
    CIR_C& record = results_.CurrentStaticCircleContact();
    Swept::ClearShapeContact(record);
    Vector2D points[2];
    const std::uint32_t segments = GetFrameLineSegmentCount();
    for (std::uint32_t i = 0; i < segments; ++i)
    {
        const Math::LineSegment2D& segment = currentSegments_[i];
        const ClassifyResult result = segment.IntersectCircle(*circle, points[0], points[1]);
        const int added = result == ClassifyResult::TwoPoints                                       ? 2
                          : result == ClassifyResult::Tangent || result == ClassifyResult::OnePoint ? 1
                                                                                                    : 0;
        if (added > 0)
        {
            // The opposite of the segment's front normal.
            const Vector2D n = Swept::FrontNormal(segment);
            Swept::AddOverlapPoints(record, added, points, -n, ShapeKind::Segment,
                                    GetFrameLineSegment(i).GetUserId());
        }
    }
    const std::uint32_t circles = GetFrameCircleCount();
    for (std::uint32_t i = 0; i < circles; ++i)
    {
        const Math::Circle2D& own = currentCircles_[i];
        const ClassifyResult result = own.IntersectCircle(*circle, points[0], points[1]);
        const int added = result == ClassifyResult::TwoPoints ? 2
                          : result == ClassifyResult::TouchInside || result == ClassifyResult::TouchOutside
                              ? 1
                              : 0;
        if (added > 0)
        {
            Swept::AddOverlapPoints(record, added, points, Swept::Unit(own.center - circle->center),
                                    ShapeKind::Circle, GetFrameCircle(i).GetUserId());
        }
    }
    if (record.numberOfIntersectedPoints > 0)
    {
        record.penetrationDistance = 0.0f;
        CloseStaticRecord(record, StaticCircleBase, shape, shape.GetSlot(), shape.GetZ_Collision(),
                          shape.GetUserId(), layerIndex, oldPosition_, oldOrientation_);
        results_.NextStaticCircleContact();
    }
}

void DynamicObject::OverlapStaticLineSegment(const StaticCollisionLineSegment& shape, std::uint8_t layerIndex)
{
    const Math::LineSegment2D* segment = shape.GetLineSegment();
    if (segment == nullptr)
    {
        return;
    }
    LNS_C& record = results_.CurrentStaticLineSegmentContact();
    Swept::ClearShapeContact(record);
    const Vector2D normal = Swept::FrontNormal(*segment);
    Vector2D points[2];
    const std::uint32_t segments = GetFrameLineSegmentCount();
    for (std::uint32_t i = 0; i < segments; ++i)
    {
        Math::LineSegment2D overlap;
        const ClassifyResult result = currentSegments_[i].IntersectLineSegment(*segment, points[0], overlap);
        int added = 0;
        if (result == ClassifyResult::Intersecting)
        {
            added = 1;
        }
        else if (result == ClassifyResult::Coincident)
        {
            points[0] = overlap.pointA;
            points[1] = overlap.pointB;
            added = 2;
        }
        if (added > 0)
        {
            Swept::AddOverlapPoints(record, added, points, normal, ShapeKind::Segment,
                                    GetFrameLineSegment(i).GetUserId());
        }
    }
    const std::uint32_t circles = GetFrameCircleCount();
    for (std::uint32_t i = 0; i < circles; ++i)
    {
        const ClassifyResult result = currentCircles_[i].IntersectLineSegment(*segment, points[0], points[1]);
        const int added = result == ClassifyResult::TwoPoints                                       ? 2
                          : result == ClassifyResult::Tangent || result == ClassifyResult::OnePoint ? 1
                                                                                                    : 0;
        if (added > 0)
        {
            Swept::AddOverlapPoints(record, added, points, normal, ShapeKind::Circle,
                                    GetFrameCircle(i).GetUserId());
        }
    }
    if (record.numberOfIntersectedPoints > 0)
    {
        record.penetrationDistance = 0.0f;
        CloseStaticRecord(record, StaticLineSegmentBase, shape, shape.GetSlot(), shape.GetZ_Collision(),
                          shape.GetUserId(), layerIndex, oldPosition_, oldOrientation_);
        results_.NextStaticLineSegmentContact();
    }
}

} // namespace Collision2D
