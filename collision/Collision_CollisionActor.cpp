#include "collision/Collision_CollisionActor.h"

#include "collision/Collision_Archive.h"
#include "core/Core_File.h"
#include "core/Core_ScriptBridge.h"

#include <iterator>

namespace Collision2D
{

namespace
{

// Bytes each shape takes in the actor stream.
constexpr std::uint32_t LineSegmentBytes = 4 * 16 + 4;
constexpr std::uint32_t CircleBytes = 4 * 12 + 4;
constexpr std::uint32_t HotSpotBytes = 4 * 8;

// Reads a u32 count that `minimumBytes` per element must back.
bool ReadCount(Core::File& file, std::uint32_t& count, std::uint32_t minimumBytes)
{
    return file.ReadExact(&count, sizeof count) &&
           Detail::CheckStoredCount(file, count, UINT32_MAX, minimumBytes);
}

// Reads `count` new shapes into `shapes`.
template <class Shape>
bool ReadShapes(Core::File& file, std::uint32_t count, std::vector<std::unique_ptr<Shape>>& shapes)
{
    shapes.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::unique_ptr<Shape> shape(new ("Collision_Utilities", __LINE__) Shape);
        if (!shape->Read(file))
        {
            return false;
        }
        shapes.push_back(std::move(shape));
    }
    return true;
}

template <class T> void AppendAll(std::vector<std::unique_ptr<T>>& to, std::vector<std::unique_ptr<T>>& from)
{
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    from.clear();
}

} // namespace

// --- CollisionFrame ---------------------------------------------------------------

CollisionFrame::~CollisionFrame() = default;

LuaScript* CollisionFrame::GetScript()
{
    return nullptr;
}

void CollisionFrame::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void CollisionFrame::SetBoundingRectangle(const ZibRect& r, bool flip)
{
    rectangles_[ToIndex(FlipVariant::NoFlip)] = r;
    if (!flip)
    {
        rectangles_[ToIndex(FlipVariant::HVFlip)] = r;
        rectangles_[ToIndex(FlipVariant::HFlip)] = r;
        rectangles_[ToIndex(FlipVariant::VFlip)] = r;
        return;
    }
    // Mirroring swaps the sides that change places: x negated turns right
    // into left, y negated turns bottom into top.
    rectangles_[ToIndex(FlipVariant::HVFlip)] = ZibRect(-r.bottom, -r.right, -r.left, -r.top);
    rectangles_[ToIndex(FlipVariant::HFlip)] = ZibRect(r.top, -r.right, -r.left, r.bottom);
    rectangles_[ToIndex(FlipVariant::VFlip)] = ZibRect(-r.bottom, r.left, r.right, -r.top);
}

void CollisionFrame::AddLineSegment(const Math::Vector2D& a, const Math::Vector2D& b, std::uint32_t userId,
                                    bool flip)
{
    lineSegments_.emplace_back(new ("Collision_Utilities", __LINE__)
                                   DynamicCollisionLineSegment(a, b, userId, flip));
}

void CollisionFrame::AddCircle(const Math::Vector2D& center, float radius, std::uint32_t userId, bool flip)
{
    circles_.emplace_back(new ("Collision_Utilities", __LINE__)
                              DynamicCollisionCircle(center, radius, userId, flip));
}

void CollisionFrame::AddHotSpot(const Math::Vector2D& point, bool flip)
{
    hotSpots_.emplace_back(new ("Collision_Utilities", __LINE__) DynamicCollisionHotSpot(point, flip));
}

void CollisionFrame::Clear()
{
    lineSegments_.clear();
    circles_.clear();
    hotSpots_.clear();
}

void CollisionFrame::Write(Core::File& file) const
{
    for (const ZibRect& rectangle : rectangles_)
    {
        rectangle.Write(file);
    }
    file << GetLineSegmentCount();
    for (const auto& segment : lineSegments_)
    {
        segment->Write(file);
    }
    file << GetCircleCount();
    for (const auto& circle : circles_)
    {
        circle->Write(file);
    }
    file << GetHotSpotCount();
    for (const auto& hotSpot : hotSpots_)
    {
        hotSpot->Write(file);
    }
}

bool CollisionFrame::Read(Core::File& file)
{
    ZibRect rectangles[FlipVariantCount];
    for (ZibRect& rectangle : rectangles)
    {
        if (!rectangle.Read(file))
        {
            return false;
        }
    }
    std::vector<std::unique_ptr<DynamicCollisionLineSegment>> segments;
    std::vector<std::unique_ptr<DynamicCollisionCircle>> circles;
    std::vector<std::unique_ptr<DynamicCollisionHotSpot>> hotSpots;
    std::uint32_t count = 0;
    if (!ReadCount(file, count, LineSegmentBytes) || !ReadShapes(file, count, segments) ||
        !ReadCount(file, count, CircleBytes) || !ReadShapes(file, count, circles) ||
        !ReadCount(file, count, HotSpotBytes) || !ReadShapes(file, count, hotSpots))
    {
        return false;
    }
    for (int i = 0; i < FlipVariantCount; ++i)
    {
        rectangles_[i] = rectangles[i];
    }
    AppendAll(lineSegments_, segments);
    AppendAll(circles_, circles);
    AppendAll(hotSpots_, hotSpots);
    return true;
}

// --- CollisionAnimation -----------------------------------------------------------

CollisionAnimation::~CollisionAnimation() = default;

LuaScript* CollisionAnimation::GetScript()
{
    return nullptr;
}

void CollisionAnimation::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void CollisionAnimation::AddCollisionFrame(CollisionFrame* frame)
{
    if (frame != nullptr)
    {
        frames_.emplace_back(frame);
    }
}

void CollisionAnimation::Write(Core::File& file) const
{
    file << GetFrameCount();
    for (const auto& frame : frames_)
    {
        frame->Write(file);
    }
}

bool CollisionAnimation::Read(Core::File& file)
{
    std::uint32_t count = 0;
    std::vector<std::unique_ptr<CollisionFrame>> frames;
    if (!ReadCount(file, count, CollisionFrame::MinimumArchiveBytes) || !ReadShapes(file, count, frames))
    {
        return false;
    }
    AppendAll(frames_, frames);
    return true;
}

// --- CollisionActor --------------------------------------------------------------------

CollisionActor::~CollisionActor() = default;

LuaScript* CollisionActor::GetScript()
{
    return nullptr;
}

void CollisionActor::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void CollisionActor::AddCollisionAnimation(CollisionAnimation* animation)
{
    if (animation != nullptr)
    {
        animations_.emplace_back(animation);
    }
}

CollisionFrame* CollisionActor::GetFrame(std::uint64_t animation, std::uint64_t frame) const
{
    const CollisionAnimation* selected = GetAnimation(animation);
    return selected != nullptr ? selected->GetFrame(frame) : nullptr;
}

CollisionFrame* CollisionActor::FindSpriteFrame(std::uint64_t animation, std::uint64_t frame,
                                                std::span<const std::uint32_t> spriteFrameCounts) const
{
    const bool endToEnd = animations_.size() == 1 && spriteFrameCounts.size() > 1;
    if (!endToEnd)
    {
        return GetFrame(animation, frame);
    }
    if (animation >= spriteFrameCounts.size() || frame >= spriteFrameCounts[animation])
    {
        return nullptr;
    }
    std::uint64_t flat = frame;
    for (std::uint64_t i = 0; i < animation; ++i)
    {
        flat += spriteFrameCounts[i];
    }
    return GetFrame(0, flat);
}

void CollisionActor::Write(Core::File& file) const
{
    file << GetAnimationCount();
    for (const auto& animation : animations_)
    {
        animation->Write(file);
    }
}

bool CollisionActor::Read(Core::File& file)
{
    std::uint32_t count = 0;
    std::vector<std::unique_ptr<CollisionAnimation>> animations;
    if (!ReadCount(file, count, sizeof(std::uint32_t)) || !ReadShapes(file, count, animations))
    {
        return false;
    }
    AppendAll(animations_, animations);
    return true;
}

} // namespace Collision2D
