// Swept tests of one sub-step when both objects moved. There is no relative
// motion: each side sweeps its own shapes against the other side's shapes
// held still, with its own fraction, thickness, records and hit flag. This
// side moves from t0 to t1 against the other at t0; only when it finds
// nothing does the other side move from t0 to t1 against this side at t1.
//
// When exactly one side hit, its last record is mirrored into the other
// side. The side without a hit then takes the hitting side's contact time,
// unless none of its own pairs was approaching in this call: then it is
// flagged too, with the end of the sub-step as its contact time (its fraction
// is lowered to 1.0, never raised).
//
// The pair's sub-step count N, which the segment members receive by
// reference, is read only: carrying a feature to the end of the step needs
// only t, and no member changes the pair test's loop bound.

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_SweptFeatures.h"
#include "collision/Collision_SweptRecords.h"
#include "collision/Collision_SweptShapes.h"

namespace Collision2D
{

namespace
{

using Swept::DynamicRecorder;
using Swept::FeatureContact;
using Swept::MovingShapes;
using Swept::ShapeKind;

// One side of a call: the object that moves, its fraction, flag and
// threshold, and the records it writes.
struct Side
{
    Side(DynamicObject& object, float& fraction, bool& hit)
        : recorder(object.GetCollisionResults().CurrentDynamicContact(), fraction),
          threshold(object.GetCollisionThickness()), fraction(fraction), hit(hit)
    {
    }

    DynamicRecorder recorder;
    Swept::Threshold threshold;
    float& fraction;
    bool& hit;
    bool approaching = false;
};

// The end of a call: flags and the mirror.
void Settle(Side& mine, DynamicObject& me, Side& theirs, DynamicObject& them)
{
    if (mine.recorder.Found())
    {
        mine.hit = true;
    }
    if (theirs.recorder.Found())
    {
        theirs.hit = true;
    }
    if (mine.recorder.Found() == theirs.recorder.Found())
    {
        return;
    }
    Side& hitter = mine.recorder.Found() ? mine : theirs;
    Side& other = mine.recorder.Found() ? theirs : mine;
    DynamicObject& otherObject = mine.recorder.Found() ? them : me;
    hitter.recorder.Mirror(otherObject.GetCollisionResults().CurrentDynamicContact());
    if (!other.approaching)
    {
        other.hit = true;
        if (other.fraction > Swept::EndOfSubStep)
        {
            other.fraction = Swept::EndOfSubStep;
        }
    }
}

// What every call sets up: both sides' sub-steps and swept shapes, and
// their sides; Finish settles the flags and the mirror.
struct BothMovingCall
{
    BothMovingCall(DynamicObject& self, DynamicObject& other, float dt, float k, float& fraction,
                   float& otherFraction, bool& hit, bool& otherHit)
        : myMotion(Swept::MotionOf(self)), theirMotion(Swept::MotionOf(other)), myStep(myMotion, dt, k),
          theirStep(theirMotion, dt, k), mine(self, myStep), theirs(other, theirStep),
          me(self, fraction, hit), them(other, otherFraction, otherHit), self(self), other(other)
    {
    }

    void Finish() { Settle(me, self, them, other); }

    const Swept::StepMotion myMotion;
    const Swept::StepMotion theirMotion;
    const Swept::SubStep myStep;
    const Swept::SubStep theirStep;
    MovingShapes mine;
    MovingShapes theirs;
    Side me;
    Side them;
    DynamicObject& self;
    DynamicObject& other;
};

} // namespace

void DynamicObject::SweptSegmentsSegments(DynamicObject& other, std::uint8_t /*layerIndex*/, float dt,
                                          float k, float& fraction, float& otherFraction,
                                          std::int32_t& /*subSteps*/, bool& hit, bool& otherHit)
{
    BothMovingCall call(*this, other, dt, k, fraction, otherFraction, hit, otherHit);
    call.mine.PlaceSegments();
    call.theirs.PlaceSegments();
    FeatureContact contacts[4];
    for (std::uint32_t i = 0; i < call.mine.SegmentCount(); ++i)
    {
        const Math::LineSegment2D atStart = call.mine.SegmentAtStart(i);
        for (std::uint32_t j = 0; j < call.theirs.SegmentCount(); ++j)
        {
            const int found = Swept::SegmentAgainstSegment(call.myStep, atStart, call.mine.SegmentAtEnd(i),
                                                           call.theirs.SegmentAtStart(j), call.me.threshold,
                                                           contacts, call.me.approaching);
            for (int c = 0; c < found; ++c)
            {
                call.me.recorder.Offer(contacts[c], ShapeKind::Segment, call.theirs.SegmentUserId(j),
                                       ShapeKind::Segment, call.mine.SegmentUserId(i));
            }
        }
    }
    if (!call.me.recorder.Found())
    {
        for (std::uint32_t j = 0; j < call.theirs.SegmentCount(); ++j)
        {
            const Math::LineSegment2D atStart = call.theirs.SegmentAtStart(j);
            for (std::uint32_t i = 0; i < call.mine.SegmentCount(); ++i)
            {
                const int found = Swept::SegmentAgainstSegment(
                    call.theirStep, atStart, call.theirs.SegmentAtEnd(j), call.mine.SegmentAtEnd(i),
                    call.them.threshold, contacts, call.them.approaching);
                for (int c = 0; c < found; ++c)
                {
                    call.them.recorder.Offer(contacts[c], ShapeKind::Segment, call.mine.SegmentUserId(i),
                                             ShapeKind::Segment, call.theirs.SegmentUserId(j));
                }
            }
        }
    }
    call.Finish();
}

void DynamicObject::SweptSegmentsCircles(DynamicObject& other, std::uint8_t /*layerIndex*/, float dt, float k,
                                         float& fraction, float& otherFraction, std::int32_t& /*subSteps*/,
                                         bool& hit, bool& otherHit)
{
    BothMovingCall call(*this, other, dt, k, fraction, otherFraction, hit, otherHit);
    call.mine.PlaceSegments();
    call.theirs.PlaceCircles();
    FeatureContact contact;
    for (std::uint32_t i = 0; i < call.mine.SegmentCount(); ++i)
    {
        for (std::uint32_t j = 0; j < call.theirs.CircleCount(); ++j)
        {
            if (Swept::SegmentAgainstCircle(call.myStep, call.mine.SegmentAtEnd(i),
                                            call.theirs.CircleAtStart(j), call.me.threshold, contact,
                                            call.me.approaching))
            {
                call.me.recorder.Offer(contact, ShapeKind::Circle, call.theirs.CircleUserId(j),
                                       ShapeKind::Segment, call.mine.SegmentUserId(i));
            }
        }
    }
    if (!call.me.recorder.Found())
    {
        for (std::uint32_t j = 0; j < call.theirs.CircleCount(); ++j)
        {
            const Math::Circle2D atStart = call.theirs.CircleAtStart(j);
            for (std::uint32_t i = 0; i < call.mine.SegmentCount(); ++i)
            {
                if (Swept::CircleAgainstSegment(call.theirStep, atStart, call.theirs.CircleAtEnd(j),
                                                call.mine.SegmentAtEnd(i), call.them.threshold, contact,
                                                call.them.approaching))
                {
                    call.them.recorder.Offer(contact, ShapeKind::Segment, call.mine.SegmentUserId(i),
                                             ShapeKind::Circle, call.theirs.CircleUserId(j));
                }
            }
        }
    }
    call.Finish();
}

void DynamicObject::SweptCirclesCircles(DynamicObject& other, std::uint8_t /*layerIndex*/, float dt, float k,
                                        float& fraction, float& otherFraction, bool& hit, bool& otherHit)
{
    BothMovingCall call(*this, other, dt, k, fraction, otherFraction, hit, otherHit);
    call.mine.PlaceCircles();
    call.theirs.PlaceCircles();
    FeatureContact contact;
    for (std::uint32_t i = 0; i < call.mine.CircleCount(); ++i)
    {
        const Math::Circle2D atStart = call.mine.CircleAtStart(i);
        for (std::uint32_t j = 0; j < call.theirs.CircleCount(); ++j)
        {
            if (Swept::CircleAgainstCircle(call.myStep, atStart, call.mine.CircleAtEnd(i),
                                           call.theirs.CircleAtStart(j), call.me.threshold, contact,
                                           call.me.approaching))
            {
                call.me.recorder.Offer(contact, ShapeKind::Circle, call.theirs.CircleUserId(j),
                                       ShapeKind::Circle, call.mine.CircleUserId(i));
            }
        }
    }
    if (!call.me.recorder.Found())
    {
        for (std::uint32_t j = 0; j < call.theirs.CircleCount(); ++j)
        {
            const Math::Circle2D atStart = call.theirs.CircleAtStart(j);
            for (std::uint32_t i = 0; i < call.mine.CircleCount(); ++i)
            {
                if (Swept::CircleAgainstCircle(call.theirStep, atStart, call.theirs.CircleAtEnd(j),
                                               call.mine.CircleAtEnd(i), call.them.threshold, contact,
                                               call.them.approaching))
                {
                    call.them.recorder.Offer(contact, ShapeKind::Circle, call.mine.CircleUserId(i),
                                             ShapeKind::Circle, call.theirs.CircleUserId(j));
                }
            }
        }
    }
    call.Finish();
}

} // namespace Collision2D
