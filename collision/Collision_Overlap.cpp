// Overlap tests of a pair in which neither object moved, run once when the
// receiver has UpdateOnIdle set: every shape of this object is intersected
// with every shape of the candidate at their (unchanged) poses. Nothing is
// swept and segments count from both sides. Every intersecting pair of
// shapes gets its own record, mirrored into the candidate at once.

#include "collision/Collision_DynamicObject.h"
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

// One record per intersecting pair of shapes, in this object's current
// DGEO_C and, mirrored, in the candidate's.
class OverlapWriter
{
public:
    OverlapWriter(DGEO_C& own, DGEO_C& other) : recorder_(own, fraction_), other_(other) {}

    void Write(FeatureContact& contact, ShapeKind otherKind, std::uint32_t otherShapeUserId, ShapeKind myKind,
               std::uint32_t myShapeUserId)
    {
        contact.fraction = 0.0f;
        contact.penetration = 0.0f;
        recorder_.Offer(contact, otherKind, otherShapeUserId, myKind, myShapeUserId);
        recorder_.Mirror(other_);
    }

    bool Touched() const { return recorder_.Found(); }

private:
    // Every overlap is of the same moment, so records are only appended.
    float fraction_ = 0.0f;
    Swept::DynamicRecorder recorder_;
    DGEO_C& other_;
};

// Points of a segment or circle test against a circle or segment: tangent
// and one point give one, two points give two.
int PointsOf(ClassifyResult result)
{
    switch (result)
    {
    case ClassifyResult::Tangent:
    case ClassifyResult::OnePoint:
        return 1;
    case ClassifyResult::TwoPoints:
        return 2;
    default:
        return 0;
    }
}

} // namespace

bool DynamicObject::OverlapSegmentsSegments(DynamicObject& candidate, std::uint8_t /*layerIndex*/)
{
    const Swept::StillShapes mine(*this);
    const Swept::StillShapes theirs(candidate);
    OverlapWriter writer(results_.CurrentDynamicContact(), candidate.results_.CurrentDynamicContact());
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
    {
        for (std::uint32_t j = 0; j < theirs.SegmentCount(); ++j)
        {
            Math::LineSegment2D overlap;
            const ClassifyResult result =
                mine.Segment(i).IntersectLineSegment(theirs.Segment(j), contact.point[0], overlap);
            if (result == ClassifyResult::Intersecting)
            {
                contact.count = 1;
            }
            else if (result == ClassifyResult::Coincident)
            {
                contact.count = 2;
                contact.point[0] = overlap.pointA;
                contact.point[1] = overlap.pointB;
            }
            else
            {
                continue;
            }
            const Vector2D normal = Swept::FrontNormal(theirs.Segment(j));
            contact.normal[0] = normal;
            contact.normal[1] = normal;
            writer.Write(contact, ShapeKind::Segment, theirs.SegmentUserId(j), ShapeKind::Segment,
                         mine.SegmentUserId(i));
        }
    }
    return writer.Touched();
}

bool DynamicObject::OverlapSegmentsCircles(DynamicObject& candidate, std::uint8_t /*layerIndex*/)
{
    const Swept::StillShapes mine(*this);
    const Swept::StillShapes theirs(candidate);
    OverlapWriter writer(results_.CurrentDynamicContact(), candidate.results_.CurrentDynamicContact());
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.SegmentCount(); ++i)
    {
        for (std::uint32_t j = 0; j < theirs.CircleCount(); ++j)
        {
            const Math::Circle2D& circle = theirs.Circle(j);
            contact.count =
                PointsOf(mine.Segment(i).IntersectCircle(circle, contact.point[0], contact.point[1]));
            if (contact.count == 0)
            {
                continue;
            }
            for (int p = 0; p < contact.count; ++p)
            {
                contact.normal[p] = Swept::Unit(contact.point[p] - circle.center);
            }
            writer.Write(contact, ShapeKind::Circle, theirs.CircleUserId(j), ShapeKind::Segment,
                         mine.SegmentUserId(i));
        }
    }
    return writer.Touched();
}

bool DynamicObject::OverlapCirclesSegments(DynamicObject& candidate, std::uint8_t /*layerIndex*/)
{
    const Swept::StillShapes mine(*this);
    const Swept::StillShapes theirs(candidate);
    OverlapWriter writer(results_.CurrentDynamicContact(), candidate.results_.CurrentDynamicContact());
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
    {
        for (std::uint32_t j = 0; j < theirs.SegmentCount(); ++j)
        {
            const Math::LineSegment2D& segment = theirs.Segment(j);
            contact.count =
                PointsOf(mine.Circle(i).IntersectLineSegment(segment, contact.point[0], contact.point[1]));
            if (contact.count == 0)
            {
                continue;
            }
            const Vector2D normal = Swept::FrontNormal(segment);
            contact.normal[0] = normal;
            contact.normal[1] = normal;
            writer.Write(contact, ShapeKind::Segment, theirs.SegmentUserId(j), ShapeKind::Circle,
                         mine.CircleUserId(i));
        }
    }
    return writer.Touched();
}

bool DynamicObject::OverlapCirclesCircles(DynamicObject& candidate, std::uint8_t /*layerIndex*/)
{
    const Swept::StillShapes mine(*this);
    const Swept::StillShapes theirs(candidate);
    OverlapWriter writer(results_.CurrentDynamicContact(), candidate.results_.CurrentDynamicContact());
    FeatureContact contact;
    for (std::uint32_t i = 0; i < mine.CircleCount(); ++i)
    {
        const Math::Circle2D& own = mine.Circle(i);
        for (std::uint32_t j = 0; j < theirs.CircleCount(); ++j)
        {
            const Math::Circle2D& circle = theirs.Circle(j);
            // Only circles that cross: touching and nested circles do not count.
            if (own.IntersectCircle(circle, contact.point[0], contact.point[1]) != ClassifyResult::TwoPoints)
            {
                continue;
            }
            contact.count = 2;
            const Vector2D normal = Swept::Unit(own.center - circle.center);
            contact.normal[0] = normal;
            contact.normal[1] = normal;
            writer.Write(contact, ShapeKind::Circle, theirs.CircleUserId(j), ShapeKind::Circle,
                         mine.CircleUserId(i));
        }
    }
    return writer.Touched();
}

} // namespace Collision2D
