#pragma once

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_SweptFrame.h"

#include <cstdint>

// A dynamic object's shapes as the swept tests walk them: the current
// frame's local shapes, their user ids, the old-pose world shapes and the
// sub-step buffers, element by element in frame order.
namespace Collision2D::Swept
{

inline StepMotion MotionOf(const DynamicObject& object)
{
    return {object.GetOldPosition(), object.GetDisplacement(), object.GetOldOrientation(),
            object.GetAngularChange(), object.GetOffset()};
}

// The shapes of an object that stands still in a test: its old-pose world
// shapes, which equal its current ones.
class StillShapes
{
public:
    explicit StillShapes(const DynamicObject& object) : object_(object) {}

    std::uint32_t SegmentCount() const { return object_.GetFrameLineSegmentCount(); }
    std::uint32_t CircleCount() const { return object_.GetFrameCircleCount(); }
    const Math::LineSegment2D& Segment(std::uint32_t i) const { return object_.GetOldLineSegments()[i]; }
    const Math::Circle2D& Circle(std::uint32_t i) const { return object_.GetOldCircles()[i]; }
    std::uint32_t SegmentUserId(std::uint32_t i) const { return object_.GetFrameLineSegment(i).GetUserId(); }
    std::uint32_t CircleUserId(std::uint32_t i) const { return object_.GetFrameCircle(i).GetUserId(); }

private:
    const DynamicObject& object_;
};

// The shapes of an object moving through sub-step k: placed at t1 into its
// sub-step buffers (Place*), and at t0 on demand, taken from the old-pose
// buffers in the first sub-step. Construction stores the sub-step end
// origin.
class MovingShapes
{
public:
    MovingShapes(DynamicObject& object, const SubStep& step)
        : object_(object), step_(step), first_(step.Start() == 0.0f)
    {
        object.SubStepEndOrigin() = step.EndOrigin();
    }

    const SubStep& Step() const { return step_; }
    const DynamicObject& Object() const { return object_; }

    void PlaceSegments()
    {
        const std::uint32_t count = SegmentCount();
        std::vector<Math::LineSegment2D>& buffer = object_.SubStepLineSegments();
        for (std::uint32_t i = 0; i < count; ++i)
        {
            const Math::LineSegment2D& local = object_.GetLocalLineSegment(i);
            buffer[i] = Math::LineSegment2D(step_.PlaceAtEnd(local.pointA), step_.PlaceAtEnd(local.pointB));
        }
    }
    void PlaceCircles()
    {
        const std::uint32_t count = CircleCount();
        std::vector<Math::Circle2D>& buffer = object_.SubStepCircles();
        for (std::uint32_t i = 0; i < count; ++i)
        {
            const Math::Circle2D& local = object_.GetLocalCircle(i);
            buffer[i] = Math::Circle2D(step_.PlaceAtEnd(local.center), local.radius);
        }
    }

    std::uint32_t SegmentCount() const { return object_.GetFrameLineSegmentCount(); }
    std::uint32_t CircleCount() const { return object_.GetFrameCircleCount(); }
    std::uint32_t SegmentUserId(std::uint32_t i) const { return object_.GetFrameLineSegment(i).GetUserId(); }
    std::uint32_t CircleUserId(std::uint32_t i) const { return object_.GetFrameCircle(i).GetUserId(); }

    Math::LineSegment2D SegmentAtStart(std::uint32_t i) const
    {
        if (first_)
        {
            return object_.GetOldLineSegments()[i];
        }
        const Math::LineSegment2D& local = object_.GetLocalLineSegment(i);
        return {step_.PlaceAtStart(local.pointA), step_.PlaceAtStart(local.pointB)};
    }
    Math::Circle2D CircleAtStart(std::uint32_t i) const
    {
        if (first_)
        {
            return object_.GetOldCircles()[i];
        }
        const Math::Circle2D& local = object_.GetLocalCircle(i);
        return {step_.PlaceAtStart(local.center), local.radius};
    }
    // Valid after PlaceSegments / PlaceCircles.
    const Math::LineSegment2D& SegmentAtEnd(std::uint32_t i) const
    {
        return object_.SubStepLineSegments()[i];
    }
    const Math::Circle2D& CircleAtEnd(std::uint32_t i) const { return object_.SubStepCircles()[i]; }

private:
    DynamicObject& object_;
    const SubStep& step_;
    bool first_;
};

} // namespace Collision2D::Swept
