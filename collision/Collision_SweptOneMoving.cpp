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

namespace
{

// What every call sets up: this object's sub-step and swept shapes, the
// candidate's still shapes, and the recorder whose last record is mirrored
// into the candidate when the call ends.
struct OneMovingCall
{
    OneMovingCall(DynamicObject& self, DynamicObject& candidate, float dt, float k, float& fraction)
        : motion(Swept::MotionOf(self)), step(motion, dt, k), mine(self, step), theirs(candidate),
          threshold(self.GetCollisionThickness()),
          recorder(self.GetCollisionResults().CurrentDynamicContact(), fraction), candidate(candidate)
    {
    }

    bool Finish()
    {
        recorder.Mirror(candidate.GetCollisionResults().CurrentDynamicContact());
        return recorder.Found();
    }

    const Swept::StepMotion motion;
    const Swept::SubStep step;
    Swept::MovingShapes mine;
    const Swept::StillShapes theirs;
    Swept::Threshold threshold;
    Swept::DynamicRecorder recorder;
    DynamicObject& candidate;
    bool approaching = false;
};

} // namespace

bool DynamicObject::SweptSegmentsSegmentsOneMoving(DynamicObject& candidate, std::uint8_t /*layerIndex*/,
                                                   float dt, float k, float& fraction)
{
    OneMovingCall call(*this, candidate, dt, k, fraction);
    call.mine.PlaceSegments();
    FeatureContact contacts[4];
    for (std::uint32_t i = 0; i < call.mine.SegmentCount(); ++i)
    {
        const Math::LineSegment2D atStart = call.mine.SegmentAtStart(i);
        const std::uint32_t myId = call.mine.SegmentUserId(i);
        for (std::uint32_t j = 0; j < call.theirs.SegmentCount(); ++j)
        {
            const int found = Swept::SegmentAgainstSegment(call.step, atStart, call.mine.SegmentAtEnd(i),
                                                           call.theirs.Segment(j), call.threshold, contacts,
                                                           call.approaching);
            for (int c = 0; c < found; ++c)
            {
                call.recorder.Offer(contacts[c], ShapeKind::Segment, call.theirs.SegmentUserId(j),
                                    ShapeKind::Segment, myId);
            }
        }
    }
    return call.Finish();
}

bool DynamicObject::SweptSegmentsCirclesOneMoving(DynamicObject& candidate, std::uint8_t /*layerIndex*/,
                                                  float dt, float k, float& fraction)
{
    OneMovingCall call(*this, candidate, dt, k, fraction);
    call.mine.PlaceSegments();
    FeatureContact contact;
    for (std::uint32_t i = 0; i < call.mine.SegmentCount(); ++i)
    {
        const std::uint32_t myId = call.mine.SegmentUserId(i);
        for (std::uint32_t j = 0; j < call.theirs.CircleCount(); ++j)
        {
            if (Swept::SegmentAgainstCircle(call.step, call.mine.SegmentAtEnd(i), call.theirs.Circle(j),
                                            call.threshold, contact, call.approaching))
            {
                call.recorder.Offer(contact, ShapeKind::Circle, call.theirs.CircleUserId(j),
                                    ShapeKind::Segment, myId);
            }
        }
    }
    return call.Finish();
}

bool DynamicObject::SweptCirclesSegmentsOneMoving(DynamicObject& candidate, std::uint8_t /*layerIndex*/,
                                                  float dt, float k, float& fraction)
{
    OneMovingCall call(*this, candidate, dt, k, fraction);
    call.mine.PlaceCircles();
    FeatureContact contact;
    for (std::uint32_t i = 0; i < call.mine.CircleCount(); ++i)
    {
        const Math::Circle2D atStart = call.mine.CircleAtStart(i);
        const std::uint32_t myId = call.mine.CircleUserId(i);
        for (std::uint32_t j = 0; j < call.theirs.SegmentCount(); ++j)
        {
            if (Swept::CircleAgainstSegment(call.step, atStart, call.mine.CircleAtEnd(i),
                                            call.theirs.Segment(j), call.threshold, contact,
                                            call.approaching))
            {
                call.recorder.Offer(contact, ShapeKind::Segment, call.theirs.SegmentUserId(j),
                                    ShapeKind::Circle, myId);
            }
        }
    }
    return call.Finish();
}

bool DynamicObject::SweptCirclesCirclesOneMoving(DynamicObject& candidate, std::uint8_t /*layerIndex*/,
                                                 float dt, float k, float& fraction)
{
    OneMovingCall call(*this, candidate, dt, k, fraction);
    call.mine.PlaceCircles();
    FeatureContact contact;
    for (std::uint32_t i = 0; i < call.mine.CircleCount(); ++i)
    {
        const Math::Circle2D atStart = call.mine.CircleAtStart(i);
        const std::uint32_t myId = call.mine.CircleUserId(i);
        for (std::uint32_t j = 0; j < call.theirs.CircleCount(); ++j)
        {
            if (Swept::CircleAgainstCircle(call.step, atStart, call.mine.CircleAtEnd(i),
                                           call.theirs.Circle(j), call.threshold, contact, call.approaching))
            {
                call.recorder.Offer(contact, ShapeKind::Circle, call.theirs.CircleUserId(j),
                                    ShapeKind::Circle, myId);
            }
        }
    }
    return call.Finish();
}

} // namespace Collision2D
