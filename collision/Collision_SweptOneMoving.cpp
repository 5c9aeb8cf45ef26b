// Swept tests of one sub-step when only this object moved: its shapes sweep
// from their t0 to their t1 place against the candidate's shapes, which stay
// at their old-pose (= current) place. The pair test calls the four members
// in a fixed order with one shared fraction per sub-step. Each records in
// this object's current DGEO_C and mirrors its last record into the
// candidate's.

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_SweptFeatures.h"
#include "collision/Collision_SweptRecords.h"
#include "collision/Collision_SweptShapes.h"

namespace Collision2D
{

using Swept::FeatureContact;
using Swept::ShapeKind;

bool DynamicObject::SweptSegmentsSegmentsOneMoving(DynamicObject& candidate, std::uint8_t /*layerIndex*/,
                                                   float dt, float k, float& fraction)
{
    const Swept::StepMotion motion = Swept::MotionOf(*this);
    const Swept::SubStep step(motion, dt, k);
    Swept::MovingShapes mine(*this, step);
    mine.PlaceSegments();
    const Swept::StillShapes theirs(candidate);
    Swept::Threshold threshold(thickness_);
    Swept::DynamicRecorder recorder(results_.CurrentDynamicContact(), fraction);
    bool approaching = false;
    FeatureContact contacts[4];
    for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
    {
        const Math::LineSegment2D atStart = mine.SegmentAtStart(i);
        const std::uint32_t myId = mine.SegmentUserId(i);
        for (std::uint32_t j = 0; j < theirs.SegmentCount(); ++j)
        {
            const int found = Swept::SegmentAgainstSegment(
                step, atStart, mine.SegmentAtEnd(i), theirs.Segment(j), threshold, contacts, approaching);
            for (int c = 0; c < found; ++c)
            {
                recorder.Offer(contacts[c], ShapeKind::Segment, theirs.SegmentUserId(j), ShapeKind::Segment,
                               myId);
            }
        }
    }
    recorder.Mirror(candidate.results_.CurrentDynamicContact());
    return recorder.Found();
}

bool DynamicObject::SweptSegmentsCirclesOneMoving(DynamicObject& candidate, std::uint8_t /*layerIndex*/,
                                                  float dt, float k, float& fraction)
{
    const Swept::StepMotion motion = Swept::MotionOf(*this);
    const Swept::SubStep step(motion, dt, k);
    Swept::MovingShapes mine(*this, step);
    mine.PlaceSegments();
    const Swept::StillShapes theirs(candidate);
    Swept::Threshold threshold(thickness_);
    Swept::DynamicRecorder recorder(results_.CurrentDynamicContact(), fraction);
    bool approaching = false;
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
    {
        const std::uint32_t myId = mine.SegmentUserId(i);
        for (std::uint32_t j = 0; j < theirs.CircleCount(); ++j)
        {
            if (Swept::SegmentAgainstCircle(step, mine.SegmentAtEnd(i), theirs.Circle(j), threshold, contact,
                                            approaching))
            {
                recorder.Offer(contact, ShapeKind::Circle, theirs.CircleUserId(j), ShapeKind::Segment, myId);
            }
        }
    }
    recorder.Mirror(candidate.results_.CurrentDynamicContact());
    return recorder.Found();
}

bool DynamicObject::SweptCirclesSegmentsOneMoving(DynamicObject& candidate, std::uint8_t /*layerIndex*/,
                                                  float dt, float k, float& fraction)
{
    const Swept::StepMotion motion = Swept::MotionOf(*this);
    const Swept::SubStep step(motion, dt, k);
    Swept::MovingShapes mine(*this, step);
    mine.PlaceCircles();
    const Swept::StillShapes theirs(candidate);
    Swept::Threshold threshold(thickness_);
    Swept::DynamicRecorder recorder(results_.CurrentDynamicContact(), fraction);
    bool approaching = false;
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
    {
        const Math::Circle2D atStart = mine.CircleAtStart(i);
        const std::uint32_t myId = mine.CircleUserId(i);
        for (std::uint32_t j = 0; j < theirs.SegmentCount(); ++j)
        {
            if (Swept::CircleAgainstSegment(step, atStart, mine.CircleAtEnd(i), theirs.Segment(j), threshold,
                                            contact, approaching))
            {
                recorder.Offer(contact, ShapeKind::Segment, theirs.SegmentUserId(j), ShapeKind::Circle, myId);
            }
        }
    }
    recorder.Mirror(candidate.results_.CurrentDynamicContact());
    return recorder.Found();
}

bool DynamicObject::SweptCirclesCirclesOneMoving(DynamicObject& candidate, std::uint8_t /*layerIndex*/,
                                                 float dt, float k, float& fraction)
{
    const Swept::StepMotion motion = Swept::MotionOf(*this);
    const Swept::SubStep step(motion, dt, k);
    Swept::MovingShapes mine(*this, step);
    mine.PlaceCircles();
    const Swept::StillShapes theirs(candidate);
    Swept::Threshold threshold(thickness_);
    Swept::DynamicRecorder recorder(results_.CurrentDynamicContact(), fraction);
    bool approaching = false;
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
    {
        const Math::Circle2D atStart = mine.CircleAtStart(i);
        const std::uint32_t myId = mine.CircleUserId(i);
        for (std::uint32_t j = 0; j < theirs.CircleCount(); ++j)
        {
            if (Swept::CircleAgainstCircle(step, atStart, mine.CircleAtEnd(i), theirs.Circle(j), threshold,
                                           contact, approaching))
            {
                recorder.Offer(contact, ShapeKind::Circle, theirs.CircleUserId(j), ShapeKind::Circle, myId);
            }
        }
    }
    recorder.Mirror(candidate.results_.CurrentDynamicContact());
    return recorder.Found();
}

} // namespace Collision2D
