#include "collision/Collision_DynamicObject.h"

#include "collision/Collision_Id.h"

#include <algorithm>

namespace Collision2D
{

namespace
{

// A fraction a test reported, limited to the sub-step it belongs to.
float WithinSubStep(float fraction)
{
    return std::clamp(fraction, 0.0f, 1.0f);
}

// The time of a contact at `fraction` of sub-step k of the step, dt = 1/N:
// t = (k - 1) dt + fraction dt.
float ContactTime(std::int32_t k, float dt, float fraction)
{
    return static_cast<float>(k - 1) * dt + WithinSubStep(fraction) * dt;
}

void SetDynamicContactPose(DynamicObject& object, float t)
{
    DGEO_C& record = object.GetCollisionResults().CurrentDynamicContact();
    record.contactPosition = object.PositionAtFraction(t);
    record.contactOrientation = object.OrientationAtFraction(t);
}

void SetDynamicContactOldPose(DynamicObject& object)
{
    DGEO_C& record = object.GetCollisionResults().CurrentDynamicContact();
    record.contactPosition = object.GetOldPosition();
    record.contactOrientation = object.GetOldOrientation();
}

CollisionId DynamicIdOf(const DynamicObject& object, std::uint8_t layerIndex)
{
    return PackCollisionId(
        static_cast<std::uint16_t>(DynamicObjectBase + static_cast<std::uint32_t>(object.GetSlot())),
        layerIndex, object.GetZ_Collision());
}

// Each current record names the other object, then both blocks keep it.
void ReportDynamicContact(DynamicObject& first, DynamicObject& second, std::uint8_t layerIndex)
{
    DGEO_C& firstRecord = first.GetCollisionResults().CurrentDynamicContact();
    firstRecord.id = DynamicIdOf(second, layerIndex);
    firstRecord.otherOwner = second.GetOwner();
    DGEO_C& secondRecord = second.GetCollisionResults().CurrentDynamicContact();
    secondRecord.id = DynamicIdOf(first, layerIndex);
    secondRecord.otherOwner = first.GetOwner();
    first.GetCollisionResults().NextDynamicContact();
    second.GetCollisionResults().NextDynamicContact();
}

bool Run(CollisionTestTable::OneMovingTest test, DynamicObject& receiver, DynamicObject& candidate,
         std::uint8_t layerIndex, float dt, float k, float& fraction)
{
    return test != nullptr && test(receiver, candidate, layerIndex, dt, k, fraction);
}

bool Run(CollisionTestTable::OverlapTest test, DynamicObject& receiver, DynamicObject& candidate,
         std::uint8_t layerIndex)
{
    return test != nullptr && test(receiver, candidate, layerIndex);
}

// The rectangle of the previous sub-step carried to the end of this one (the
// object's interpolated position): turned by the sub-step's angular change
// about the object's position at the previous time and moved with that
// position. The motion per sub-step is the whole motion times dt, so an
// object with fewer sub-steps of its own than the pair still ends where it
// is. For an object that
// does not turn this is the shift by the sub-step's displacement.
ZibRect CarryRectangle(const DynamicObject& object, const ZibRect& previous, float previousTime, float dt)
{
    const Math::Vector2D from = object.PositionAtFraction(previousTime);
    const Math::Vector2D to = object.GetInterpolatedPosition();
    const ZibRect local(previous.top - from.y, previous.left - from.x, previous.right - from.x,
                        previous.bottom - from.y);
    ZibRect carried;
    BoundingRectangleAtPose(local, carried, to.x, to.y, object.GetAngularChange() * dt);
    return carried;
}

void FillRectangleContact(DynamicObject& object, const DynamicObject& other, std::uint8_t layerIndex,
                          const ZibRect& intersection, float t)
{
    BRECT_C& record = object.GetCollisionResults().CurrentRectangleContact();
    record.otherOwner = other.GetOwner();
    record.id = DynamicIdOf(other, layerIndex);
    record.rectangleIntersection = intersection;
    record.contactPosition = object.GetInterpolatedPosition();
    record.contactOrientation = object.OrientationAtFraction(t);
}

} // namespace

void DynamicObject::TestPair(DynamicObject& candidate, std::uint8_t layerIndex,
                             const CollisionTestTable& tests)
{
    DynamicObject& receiver = *this;
    if (receiver.HasMoved() && !candidate.HasMoved())
    {
        // The candidate stands at its old pose; all four tests run in every
        // sub-step so that contacts of one moment from every shape pairing
        // are kept.
        const std::int32_t n = receiver.GetSubSteps();
        const float dt = 1.0f / static_cast<float>(n);
        for (std::int32_t k = 1; k <= n; ++k)
        {
            const float kf = static_cast<float>(k);
            float fraction = 2.0f;
            bool hit =
                Run(tests.segmentsSegmentsOneMoving, receiver, candidate, layerIndex, dt, kf, fraction);
            hit |= Run(tests.segmentsCirclesOneMoving, receiver, candidate, layerIndex, dt, kf, fraction);
            hit |= Run(tests.circlesSegmentsOneMoving, receiver, candidate, layerIndex, dt, kf, fraction);
            hit |= Run(tests.circlesCirclesOneMoving, receiver, candidate, layerIndex, dt, kf, fraction);
            if (hit)
            {
                SetDynamicContactPose(receiver, ContactTime(k, dt, fraction));
                SetDynamicContactOldPose(candidate);
                ReportDynamicContact(receiver, candidate, layerIndex);
                return;
            }
        }
        return;
    }

    if (receiver.HasMoved())
    {
        // Both move, each with its own fraction and hit flag, both on the
        // finer of the two sub-step grids.
        const std::int32_t n = std::max(receiver.GetSubSteps(), candidate.GetSubSteps());
        const float dt = 1.0f / static_cast<float>(n);
        for (std::int32_t k = 1; k <= n; ++k)
        {
            const float kf = static_cast<float>(k);
            float receiverFraction = 2.0f;
            float candidateFraction = 2.0f;
            bool receiverHit = false;
            bool candidateHit = false;
            bool first = false;
            bool second = false;
            std::int32_t subSteps = n;
            if (tests.segmentsSegments != nullptr)
            {
                tests.segmentsSegments(receiver, candidate, layerIndex, dt, kf, receiverFraction,
                                       candidateFraction, subSteps, first, second);
                receiverHit |= first;
                candidateHit |= second;
            }
            if (tests.segmentsCircles != nullptr)
            {
                first = second = false;
                subSteps = n;
                tests.segmentsCircles(receiver, candidate, layerIndex, dt, kf, receiverFraction,
                                      candidateFraction, subSteps, first, second);
                receiverHit |= first;
                candidateHit |= second;
                first = second = false;
                subSteps = n;
                tests.segmentsCircles(candidate, receiver, layerIndex, dt, kf, candidateFraction,
                                      receiverFraction, subSteps, second, first);
                receiverHit |= first;
                candidateHit |= second;
            }
            if (tests.circlesCircles != nullptr)
            {
                first = second = false;
                tests.circlesCircles(receiver, candidate, layerIndex, dt, kf, receiverFraction,
                                     candidateFraction, first, second);
                receiverHit |= first;
                candidateHit |= second;
            }
            if (receiverHit)
            {
                const float t = ContactTime(k, dt, receiverFraction);
                SetDynamicContactPose(receiver, t);
                if (!candidateHit)
                {
                    SetDynamicContactPose(candidate, t);
                }
            }
            if (candidateHit)
            {
                const float t = ContactTime(k, dt, candidateFraction);
                SetDynamicContactPose(candidate, t);
                if (!receiverHit)
                {
                    SetDynamicContactPose(receiver, t);
                }
            }
            if (receiverHit || candidateHit)
            {
                ReportDynamicContact(receiver, candidate, layerIndex);
                return;
            }
        }
        return;
    }

    // Neither moves: one test where they stand, only on request.
    if (!receiver.GetUpdateOnIdle())
    {
        return;
    }
    bool touch = Run(tests.overlapSegmentsSegments, receiver, candidate, layerIndex);
    touch |= Run(tests.overlapSegmentsCircles, receiver, candidate, layerIndex);
    touch |= Run(tests.overlapCirclesSegments, receiver, candidate, layerIndex);
    touch |= Run(tests.overlapCirclesCircles, receiver, candidate, layerIndex);
    if (touch)
    {
        SetDynamicContactOldPose(receiver);
        SetDynamicContactOldPose(candidate);
        ReportDynamicContact(receiver, candidate, layerIndex);
    }
}

void DynamicObject::TestRectanglePair(DynamicObject& candidate, std::uint8_t layerIndex)
{
    DynamicObject& a = *this;
    DynamicObject& b = candidate;
    a.subStepRectangle_ = a.oldPoseRectangle_;
    b.subStepRectangle_ = b.oldPoseRectangle_;
    const std::int32_t n = std::max(a.subSteps_, b.subSteps_);
    const float dt = 1.0f / static_cast<float>(n);
    for (std::int32_t k = 1; k <= n; ++k)
    {
        // Each rectangle at the end of sub-step k.
        const float previousTime = static_cast<float>(k - 1) * dt;
        const float t = static_cast<float>(k) * dt;
        a.interpolatedPosition_ = a.PositionAtFraction(t);
        b.interpolatedPosition_ = b.PositionAtFraction(t);
        const ZibRect rectangleA = CarryRectangle(a, a.subStepRectangle_, previousTime, dt);
        const ZibRect rectangleB = CarryRectangle(b, b.subStepRectangle_, previousTime, dt);
        ZibRect intersection;
        if (RectangleIntersection(rectangleA, rectangleB, intersection))
        {
            FillRectangleContact(a, b, layerIndex, intersection, t);
            FillRectangleContact(b, a, layerIndex, intersection, t);
            a.results_.NextRectangleContact();
            b.results_.NextRectangleContact();
            return;
        }
        a.subStepRectangle_ = rectangleA;
        b.subStepRectangle_ = rectangleB;
    }
}

} // namespace Collision2D
