#include "collision/Collision_SweptRecords.h"

#include "core/Core_Assert.h"

#include <algorithm>
#include <iterator>

namespace Collision2D::Swept
{

namespace
{

constexpr int MaximumPoints = ShapeContact::MaximumPoints;

std::uint32_t* OwnUserIds(ShapeContact& record, ShapeKind kind)
{
    return kind == ShapeKind::Circle ? record.myCircleUserId : record.myLineSegmentUserId;
}

void ClearPoints(ShapeContact& record)
{
    for (int i = 0; i < MaximumPoints; ++i)
    {
        record.contactPoint[i].SetZero();
        record.normal[i].SetZero();
    }
    record.ClearUserIds();
}

// Points [first, first + count) of the record from the contact's points.
void PlacePoints(ShapeContact& record, int first, const FeatureContact& contact, ShapeKind myKind,
                 std::uint32_t myShapeUserId)
{
    ENGINE_ASSERT(contact.count >= 0 && contact.count <= static_cast<int>(std::size(contact.point)));
    ENGINE_ASSERT(first >= 0 && first + contact.count <= MaximumPoints);
    std::uint32_t* mine = OwnUserIds(record, myKind);
    std::uint32_t* theirs =
        OwnUserIds(record, myKind == ShapeKind::Circle ? ShapeKind::Segment : ShapeKind::Circle);
    for (int i = 0; i < contact.count; ++i)
    {
        const int at = first + i;
        record.contactPoint[at] = contact.point[i];
        record.normal[at] = contact.normal[i];
        mine[at] = myShapeUserId;
        theirs[at] = NoUserId;
    }
}

} // namespace

void ClearShapeContact(ShapeContact& record)
{
    ClearPoints(record);
    record.numberOfIntersectedPoints = 0;
    record.penetrationDistance = 0.0f;
}

void WriteShapeContact(ShapeContact& record, const FeatureContact& contact, std::uint32_t otherShapeUserId,
                       ShapeKind myKind, std::uint32_t myShapeUserId)
{
    ClearPoints(record);
    record.numberOfIntersectedPoints = contact.count;
    PlacePoints(record, 0, contact, myKind, myShapeUserId);
    record.userId = otherShapeUserId;
    record.penetrationDistance = contact.penetration;
}

void DynamicRecorder::Offer(const FeatureContact& contact, ShapeKind otherKind,
                            std::uint32_t otherShapeUserId, ShapeKind myKind, std::uint32_t myShapeUserId)
{
    found_ = true;
    if (contact.fraction > fraction_)
    {
        return;
    }
    if (contact.fraction < fraction_)
    {
        fraction_ = contact.fraction;
        own_.currentLineSegmentsNumber = 0;
        own_.currentCirclesNumber = 0;
    }
    if (otherKind == ShapeKind::Circle)
    {
        lastIndex_ = own_.currentCirclesNumber;
        WriteShapeContact(own_.CurrentCircle(), contact, otherShapeUserId, myKind, myShapeUserId);
        own_.NextCircle();
    }
    else
    {
        lastIndex_ = own_.currentLineSegmentsNumber;
        WriteShapeContact(own_.CurrentLineSegment(), contact, otherShapeUserId, myKind, myShapeUserId);
        own_.NextLineSegment();
    }
    wrote_ = true;
    lastOtherKind_ = otherKind;
    lastMyKind_ = myKind;
    lastMyShapeUserId_ = myShapeUserId;
}

void DynamicRecorder::Mirror(DGEO_C& other) const
{
    if (!wrote_)
    {
        return;
    }
    const std::size_t index = static_cast<std::size_t>(lastIndex_);
    const ShapeContact& source = lastOtherKind_ == ShapeKind::Circle
                                     ? static_cast<const ShapeContact&>(own_.circles[index])
                                     : static_cast<const ShapeContact&>(own_.lineSegments[index]);
    ShapeContact& target = lastMyKind_ == ShapeKind::Circle
                               ? static_cast<ShapeContact&>(other.CurrentCircle())
                               : static_cast<ShapeContact&>(other.CurrentLineSegment());
    ClearPoints(target);
    const int count = source.numberOfIntersectedPoints;
    ENGINE_ASSERT(count >= 0 && count <= MaximumPoints);
    std::uint32_t* theirs = OwnUserIds(target, lastOtherKind_);
    for (int i = 0; i < count; ++i)
    {
        target.contactPoint[i] = source.contactPoint[i];
        target.normal[i] = -source.normal[i];
        theirs[i] = source.userId;
    }
    target.numberOfIntersectedPoints = count;
    target.userId = lastMyShapeUserId_;
    target.penetrationDistance = source.penetrationDistance;
    if (lastMyKind_ == ShapeKind::Circle)
    {
        other.NextCircle();
    }
    else
    {
        other.NextLineSegment();
    }
}

void StaticRecorder::Offer(const FeatureContact& contact, ShapeKind myKind, std::uint32_t myShapeUserId)
{
    found_ = true;
    if (contact.fraction > fraction_)
    {
        return;
    }
    int first = 0;
    if (contact.fraction < fraction_)
    {
        fraction_ = contact.fraction;
        ClearPoints(record_);
        record_.numberOfIntersectedPoints = contact.count;
    }
    else
    {
        record_.numberOfIntersectedPoints =
            std::min(record_.numberOfIntersectedPoints + contact.count, MaximumPoints);
        first = record_.numberOfIntersectedPoints - contact.count;
    }
    PlacePoints(record_, first, contact, myKind, myShapeUserId);
    record_.penetrationDistance = contact.penetration;
}

void AddOverlapPoints(ShapeContact& record, int added, const Math::Vector2D* points,
                      const Math::Vector2D& normal, ShapeKind myKind, std::uint32_t myShapeUserId)
{
    FeatureContact contact;
    ENGINE_ASSERT(added >= 0 && added <= static_cast<int>(std::size(contact.point)));
    contact.count = added;
    for (int i = 0; i < added; ++i)
    {
        contact.point[i] = points[i];
        contact.normal[i] = normal;
    }
    record.numberOfIntersectedPoints = std::min(record.numberOfIntersectedPoints + added, MaximumPoints);
    PlacePoints(record, record.numberOfIntersectedPoints - added, contact, myKind, myShapeUserId);
}

} // namespace Collision2D::Swept
