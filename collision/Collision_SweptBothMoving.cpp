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

} // namespace

void DynamicObject::SweptSegmentsSegments(DynamicObject& other, std::uint8_t /*layerIndex*/, float dt,
                                          float k, float& fraction, float& otherFraction,
                                          std::int32_t& /*subSteps*/, bool& hit, bool& otherHit)
{
    const Swept::StepMotion myMotion = Swept::MotionOf(*this);
    const Swept::StepMotion theirMotion = Swept::MotionOf(other);
    const Swept::SubStep myStep(myMotion, dt, k);
    const Swept::SubStep theirStep(theirMotion, dt, k);
    MovingShapes mine(*this, myStep);
    MovingShapes theirs(other, theirStep);
    mine.PlaceSegments();
    theirs.PlaceSegments();

    Side me(*this, fraction, hit);
    Side them(other, otherFraction, otherHit);
    FeatureContact contacts[4];
    for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
    {
        const Math::LineSegment2D atStart = mine.SegmentAtStart(i);
        for (std::uint32_t j = 0; j < theirs.SegmentCount(); ++j)
        {
            const int found =
                Swept::SegmentAgainstSegment(myStep, atStart, mine.SegmentAtEnd(i), theirs.SegmentAtStart(j),
                                             me.threshold, contacts, me.approaching);
            for (int c = 0; c < found; ++c)
            {
                me.recorder.Offer(contacts[c], ShapeKind::Segment, theirs.SegmentUserId(j),
                                  ShapeKind::Segment, mine.SegmentUserId(i));
            }
        }
    }
    if (!me.recorder.Found())
    {
        for (std::uint32_t j = 0; j < theirs.SegmentCount(); ++j)
        {
            const Math::LineSegment2D atStart = theirs.SegmentAtStart(j);
            for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
            {
                const int found = Swept::SegmentAgainstSegment(theirStep, atStart, theirs.SegmentAtEnd(j),
                                                               mine.SegmentAtEnd(i), them.threshold, contacts,
                                                               them.approaching);
                for (int c = 0; c < found; ++c)
                {
                    them.recorder.Offer(contacts[c], ShapeKind::Segment, mine.SegmentUserId(i),
                                        ShapeKind::Segment, theirs.SegmentUserId(j));
                }
            }
        }
    }
    Settle(me, *this, them, other);
}

void DynamicObject::SweptSegmentsCircles(DynamicObject& other, std::uint8_t /*layerIndex*/, float dt, float k,
                                         float& fraction, float& otherFraction, std::int32_t& /*subSteps*/,
                                         bool& hit, bool& otherHit)
{
    const Swept::StepMotion myMotion = Swept::MotionOf(*this);
    const Swept::StepMotion theirMotion = Swept::MotionOf(other);
    const Swept::SubStep myStep(myMotion, dt, k);
    const Swept::SubStep theirStep(theirMotion, dt, k);
    MovingShapes mine(*this, myStep);
    MovingShapes theirs(other, theirStep);
    mine.PlaceSegments();
    theirs.PlaceCircles();

    Side me(*this, fraction, hit);
    Side them(other, otherFraction, otherHit);
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
    {
        for (std::uint32_t j = 0; j < theirs.CircleCount(); ++j)
        {
            if (Swept::SegmentAgainstCircle(myStep, mine.SegmentAtEnd(i), theirs.CircleAtStart(j),
                                            me.threshold, contact, me.approaching))
            {
                me.recorder.Offer(contact, ShapeKind::Circle, theirs.CircleUserId(j), ShapeKind::Segment,
                                  mine.SegmentUserId(i));
            }
        }
    }
    if (!me.recorder.Found())
    {
        for (std::uint32_t j = 0; j < theirs.CircleCount(); ++j)
        {
            const Math::Circle2D atStart = theirs.CircleAtStart(j);
            for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
            {
                if (Swept::CircleAgainstSegment(theirStep, atStart, theirs.CircleAtEnd(j),
                                                mine.SegmentAtEnd(i), them.threshold, contact,
                                                them.approaching))
                {
                    them.recorder.Offer(contact, ShapeKind::Segment, mine.SegmentUserId(i), ShapeKind::Circle,
                                        theirs.CircleUserId(j));
                }
            }
        }
    }
    Settle(me, *this, them, other);
}

void DynamicObject::SweptCirclesCircles(DynamicObject& other, std::uint8_t /*layerIndex*/, float dt, float k,
                                        float& fraction, float& otherFraction, bool& hit, bool& otherHit)
{
    const Swept::StepMotion myMotion = Swept::MotionOf(*this);
    const Swept::StepMotion theirMotion = Swept::MotionOf(other);
    const Swept::SubStep myStep(myMotion, dt, k);
    const Swept::SubStep theirStep(theirMotion, dt, k);
    MovingShapes mine(*this, myStep);
    MovingShapes theirs(other, theirStep);
    mine.PlaceCircles();
    theirs.PlaceCircles();

    Side me(*this, fraction, hit);
    Side them(other, otherFraction, otherHit);
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
    {
        const Math::Circle2D atStart = mine.CircleAtStart(i);
        for (std::uint32_t j = 0; j < theirs.CircleCount(); ++j)
        {
            if (Swept::CircleAgainstCircle(myStep, atStart, mine.CircleAtEnd(i), theirs.CircleAtStart(j),
                                           me.threshold, contact, me.approaching))
            {
                me.recorder.Offer(contact, ShapeKind::Circle, theirs.CircleUserId(j), ShapeKind::Circle,
                                  mine.CircleUserId(i));
            }
        }
    }
    if (!me.recorder.Found())
    {
        for (std::uint32_t j = 0; j < theirs.CircleCount(); ++j)
        {
            const Math::Circle2D atStart = theirs.CircleAtStart(j);
            for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
            {
                if (Swept::CircleAgainstCircle(theirStep, atStart, theirs.CircleAtEnd(j), mine.CircleAtEnd(i),
                                               them.threshold, contact, them.approaching))
                {
                    them.recorder.Offer(contact, ShapeKind::Circle, mine.CircleUserId(i), ShapeKind::Circle,
                                        theirs.CircleUserId(j));
                }
            }
        }
    }
    Settle(me, *this, them, other);
}

} // namespace Collision2D
