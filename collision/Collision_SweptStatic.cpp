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
template <typename Shape>
void CloseStaticRecord(ShapeContact& record, std::uint32_t base, const Shape& shape, std::uint8_t layerIndex,
                       const Vector2D& position, float orientation)
{
    record.id = PackCollisionId(static_cast<std::uint16_t>(base + shape.GetSlot()), layerIndex,
                                shape.GetZ_Collision());
    record.otherOwner = shape.GetOwner();
    record.userId = shape.GetUserId();
    record.contactPosition = position;
    record.contactOrientation = orientation;
}

// How many points a segment-circle intersection delivered.
int SegmentCirclePoints(ClassifyResult result)
{
    return result == ClassifyResult::TwoPoints                                       ? 2
           : result == ClassifyResult::Tangent || result == ClassifyResult::OnePoint ? 1
                                                                                     : 0;
}

// Sweeps the object through its sub-steps against one static shape and
// stops at the first sub-step with a contact, closing the record at the
// object's pose at the contact time. `offer(mine, threshold, recorder,
// approaching)` tests the sub-step's placed shapes against the static shape.
// Returns whether it closed the record.
template <typename Shape, typename Offer>
bool SweepAgainstStatic(DynamicObject& object, ShapeContact& record, const Shape& shape, std::uint32_t base,
                        std::uint8_t layerIndex, Offer offer)
{
    const Swept::StepMotion motion = Swept::MotionOf(object);
    const std::int32_t subSteps = object.GetSubSteps() > 0 ? object.GetSubSteps() : 1;
    const float dt = 1.0f / static_cast<float>(subSteps);
    Swept::Threshold threshold(object.GetCollisionThickness());
    Swept::StaticRecorder recorder(record);
    bool approaching = false;
    for (std::int32_t k = 1; k <= subSteps; ++k)
    {
        const Swept::SubStep step(motion, dt, static_cast<float>(k));
        Swept::MovingShapes mine(object, step);
        mine.PlaceSegments();
        mine.PlaceCircles();
        offer(mine, threshold, recorder, approaching);
        if (recorder.Found())
        {
            const float t = step.Start() + dt * recorder.Fraction();
            CloseStaticRecord(record, base, shape, layerIndex, object.PositionAtFraction(t),
                              object.OrientationAtFraction(t));
            return true;
        }
    }
    return false;
}

} // namespace

void DynamicObject::SweptAgainstStaticCircle(const StaticCollisionCircle& shape, std::uint8_t layerIndex)
{
    const Math::Circle2D* circle = shape.GetCircle();
    if (circle == nullptr)
    {
        return;
    }
    FeatureContact contact;
    const auto offer = [&](const Swept::MovingShapes& mine, Swept::Threshold& threshold,
                           Swept::StaticRecorder& recorder, bool& approaching)
    {
        for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
        {
            if (Swept::SegmentAgainstCircle(mine.Step(), mine.SegmentAtEnd(i), *circle, threshold, contact,
                                            approaching))
            {
                recorder.Offer(contact, ShapeKind::Segment, mine.SegmentUserId(i));
            }
        }
        for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
        {
            if (Swept::CircleAgainstCircle(mine.Step(), mine.CircleAtStart(i), mine.CircleAtEnd(i), *circle,
                                           threshold, contact, approaching))
            {
                recorder.Offer(contact, ShapeKind::Circle, mine.CircleUserId(i));
            }
        }
    };
    if (SweepAgainstStatic(*this, results_.CurrentStaticCircleContact(), shape, StaticCircleBase, layerIndex,
                           offer))
    {
        results_.NextStaticCircleContact();
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
    FeatureContact contacts[4];
    const auto offer = [&](const Swept::MovingShapes& mine, Swept::Threshold& threshold,
                           Swept::StaticRecorder& recorder, bool& approaching)
    {
        for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
        {
            const int found =
                Swept::SegmentAgainstSegment(mine.Step(), mine.SegmentAtStart(i), mine.SegmentAtEnd(i),
                                             *segment, threshold, contacts, approaching);
            for (int c = 0; c < found; ++c)
            {
                recorder.Offer(contacts[c], ShapeKind::Segment, mine.SegmentUserId(i));
            }
        }
        for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
        {
            if (Swept::CircleAgainstSegment(mine.Step(), mine.CircleAtStart(i), mine.CircleAtEnd(i), *segment,
                                            threshold, contacts[0], approaching))
            {
                recorder.Offer(contacts[0], ShapeKind::Circle, mine.CircleUserId(i));
            }
        }
    };
    if (SweepAgainstStatic(*this, results_.CurrentStaticLineSegmentContact(), shape, StaticLineSegmentBase,
                           layerIndex, offer))
    {
        results_.NextStaticLineSegmentContact();
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
        const int added = SegmentCirclePoints(result);
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
        CloseStaticRecord(record, StaticCircleBase, shape, layerIndex, oldPosition_, oldOrientation_);
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
        const int added = SegmentCirclePoints(result);
        if (added > 0)
        {
            Swept::AddOverlapPoints(record, added, points, normal, ShapeKind::Circle,
                                    GetFrameCircle(i).GetUserId());
        }
    }
    if (record.numberOfIntersectedPoints > 0)
    {
        record.penetrationDistance = 0.0f;
        CloseStaticRecord(record, StaticLineSegmentBase, shape, layerIndex, oldPosition_, oldOrientation_);
        results_.NextStaticLineSegmentContact();
    }
}

} // namespace Collision2D
