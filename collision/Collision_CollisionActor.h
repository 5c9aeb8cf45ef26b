#pragma once

#include "collision/Collision_GeometricCollision.h"
#include "collision/Collision_ZibRect.h"
#include "core/Core_Base.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace Core
{
class File;
}

struct lua_State;
class LuaScript;

// Collision assets: an actor holds one collision animation per sprite
// animation (or one animation with all of a sprite's frames end to end), an
// animation holds its frames, a frame its bounding rectangle and shapes in
// the four flip variants. Built once by level content or a game load and
// left unchanged while dynamic objects point into them.
//
// Ownership: an actor owns its animations and an animation owns its frames
// (handed over by AddCollisionAnimation and AddCollisionFrame); deleting an
// actor deletes everything under it. A frame owns its shapes.
namespace Collision2D
{

class CollisionFrame final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "CollisionFrame";
    // Bytes a frame with no shapes takes in the actor stream.
    static constexpr std::uint32_t MinimumArchiveBytes = 16 * 4 + 3 * 4;

    CollisionFrame() = default;
    CollisionFrame(const CollisionFrame&) = delete;
    CollisionFrame& operator=(const CollisionFrame&) = delete;
    ~CollisionFrame();

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    // Stores `rectangle` as the NoFlip rectangle. With `flip` the others
    // are its mirror images, from (t, l, r, b): HVFlip (-b, -r, -l, -t),
    // HFlip (t, -r, -l, b), VFlip (-b, l, r, -t); without it, copies.
    void SetBoundingRectangle(const ZibRect& rectangle, bool flip);
    const ZibRect& GetBoundingRectangle(FlipVariant variant) const { return rectangles_[ToIndex(variant)]; }

    // Create the shape with its four variants and append it.
    void AddLineSegment(const Math::Vector2D& a, const Math::Vector2D& b, std::uint32_t userId, bool flip);
    void AddCircle(const Math::Vector2D& center, float radius, std::uint32_t userId, bool flip);
    void AddHotSpot(const Math::Vector2D& point, bool flip);

    // Deletes every shape.
    void Clear();

    std::uint32_t GetLineSegmentCount() const { return static_cast<std::uint32_t>(lineSegments_.size()); }
    std::uint32_t GetCircleCount() const { return static_cast<std::uint32_t>(circles_.size()); }
    std::uint32_t GetHotSpotCount() const { return static_cast<std::uint32_t>(hotSpots_.size()); }
    // Shapes by index, below their count.
    const DynamicCollisionLineSegment& GetLineSegment(std::uint32_t index) const
    {
        return *lineSegments_[index];
    }
    const DynamicCollisionCircle& GetCircle(std::uint32_t index) const { return *circles_[index]; }
    const DynamicCollisionHotSpot& GetHotSpot(std::uint32_t index) const { return *hotSpots_[index]; }
    DynamicCollisionLineSegment& GetLineSegment(std::uint32_t index) { return *lineSegments_[index]; }
    DynamicCollisionCircle& GetCircle(std::uint32_t index) { return *circles_[index]; }
    DynamicCollisionHotSpot& GetHotSpot(std::uint32_t index) { return *hotSpots_[index]; }

    // The 16 floats of the four rectangles in variant order (each top, left,
    // right, bottom); the segment count (u32) and each segment; the circle
    // count and each circle; the hotspot count and each hotspot. Read
    // replaces the rectangles and appends the shapes it reads; on a short or
    // bad archive it changes nothing and answers false.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    ZibRect rectangles_[FlipVariantCount];
    std::vector<std::unique_ptr<DynamicCollisionLineSegment>> lineSegments_;
    std::vector<std::unique_ptr<DynamicCollisionCircle>> circles_;
    std::vector<std::unique_ptr<DynamicCollisionHotSpot>> hotSpots_;
};

class CollisionAnimation final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "CollisionAnimation";

    CollisionAnimation() = default;
    CollisionAnimation(const CollisionAnimation&) = delete;
    CollisionAnimation& operator=(const CollisionAnimation&) = delete;
    ~CollisionAnimation();

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    // Appends the frame, which the animation owns from then on.
    void AddCollisionFrame(CollisionFrame* frame);

    std::uint32_t GetFrameCount() const { return static_cast<std::uint32_t>(frames_.size()); }
    // Null when the index is not below the count.
    CollisionFrame* GetFrame(std::uint64_t index) const
    {
        return index < frames_.size() ? frames_[index].get() : nullptr;
    }

    // Frame count (u32), then each frame. Read appends what it reads, or on
    // failure changes nothing.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    std::vector<std::unique_ptr<CollisionFrame>> frames_;
};

class CollisionActor final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "CollisionActor";

    CollisionActor() = default;
    CollisionActor(const CollisionActor&) = delete;
    CollisionActor& operator=(const CollisionActor&) = delete;
    ~CollisionActor();

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    // Appends the animation, which the actor owns from then on.
    void AddCollisionAnimation(CollisionAnimation* animation);

    std::uint32_t GetAnimationCount() const { return static_cast<std::uint32_t>(animations_.size()); }
    CollisionAnimation* GetAnimation(std::uint64_t index) const
    {
        return index < animations_.size() ? animations_[index].get() : nullptr;
    }

    // The frame of that animation; null when either index is out of range.
    CollisionFrame* GetFrame(std::uint64_t animation, std::uint64_t frame) const;

    // The frame a sprite shows at (animation, frame), given the frame count
    // of each of the sprite's animations. An actor with one animation per
    // sprite animation (or no counts given) is addressed directly; an actor
    // with a single animation holding all the sprite's frames end to end is
    // addressed by the flat index (the frame counts of the earlier sprite
    // animations plus the frame). Null when the frame is out of range.
    CollisionFrame* FindSpriteFrame(std::uint64_t animation, std::uint64_t frame,
                                    std::span<const std::uint32_t> spriteFrameCounts) const;

    // The actor stream: animation count (u32), then each animation. Read
    // appends what it reads, or on failure changes nothing.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    std::vector<std::unique_ptr<CollisionAnimation>> animations_;
};

} // namespace Collision2D
