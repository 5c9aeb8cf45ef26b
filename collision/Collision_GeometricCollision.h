#pragma once

#include "collision/Collision_MainCollisionObject.h"
#include "core/Core_Base.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <memory>

namespace Core
{
class File;
}

namespace Collision2D
{

// The four mirror images a frame keeps of every rectangle and shape, always
// stored and archived in this order.
enum class FlipVariant : std::uint8_t
{
    NoFlip = 0,
    HVFlip = 1, // mirrored both ways
    HFlip = 2,  // mirrored horizontally (x negated)
    VFlip = 3,  // mirrored vertically (y negated)
};
inline constexpr int FlipVariantCount = 4;

constexpr int ToIndex(FlipVariant variant)
{
    return static_cast<int>(variant);
}

// The variant a sprite with these flip flags shows.
constexpr FlipVariant SelectFlipVariant(bool horizontal, bool vertical)
{
    if (horizontal && vertical)
    {
        return FlipVariant::HVFlip;
    }
    if (horizontal)
    {
        return FlipVariant::HFlip;
    }
    if (vertical)
    {
        return FlipVariant::VFlip;
    }
    return FlipVariant::NoFlip;
}

// The image of a point: HVFlip (-x, -y), HFlip (-x, y), VFlip (x, -y).
constexpr Math::Vector2D FlipPoint(const Math::Vector2D& p, FlipVariant variant)
{
    switch (variant)
    {
    case FlipVariant::HVFlip:
        return {-p.x, -p.y};
    case FlipVariant::HFlip:
        return {-p.x, p.y};
    case FlipVariant::VFlip:
        return {p.x, -p.y};
    default:
        return p;
    }
}

// ---------------------------------------------------------------------------
// Frame shapes: one geometry per flip variant, so a mirrored sprite selects
// its geometry without computing it. They live as long as their frame.

// A circle of a collision frame. A default one holds four default circles
// and user id 0.
class DynamicCollisionCircle final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "DynamicCollisionCircle";

    DynamicCollisionCircle() = default;
    // With `flip` the variants are the mirror images of the centre (radius
    // unchanged); without it all four are the given circle.
    DynamicCollisionCircle(const Math::Vector2D& center, float radius, std::uint32_t userId, bool flip);

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    const Math::Circle2D& GetCircle(FlipVariant variant) const { return circles_[ToIndex(variant)]; }
    void SetCircle(FlipVariant variant, const Math::Circle2D& circle) { circles_[ToIndex(variant)] = circle; }

    void SetUserId(std::uint32_t userId) { userId_ = userId; }
    std::uint32_t GetUserId() const { return userId_; }

    // The four circles in variant order (centre x, centre y, radius), then
    // the user id. Read takes everything or changes nothing.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    Math::Circle2D circles_[FlipVariantCount];
    std::uint32_t userId_ = 0;
};

// A line segment of a collision frame. A mirrored variant also exchanges its
// end points, so it runs from the image of B to the image of A and keeps
// the front side (left of A to B) facing the same way on the sprite.
class DynamicCollisionLineSegment final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "DynamicCollisionLineSegment";

    DynamicCollisionLineSegment() = default;
    DynamicCollisionLineSegment(const Math::Vector2D& a, const Math::Vector2D& b, std::uint32_t userId,
                                bool flip);

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    const Math::LineSegment2D& GetLineSegment(FlipVariant variant) const
    {
        return segments_[ToIndex(variant)];
    }
    void SetLineSegment(FlipVariant variant, const Math::LineSegment2D& segment)
    {
        segments_[ToIndex(variant)] = segment;
    }

    void SetUserId(std::uint32_t userId) { userId_ = userId; }
    std::uint32_t GetUserId() const { return userId_; }

    // The four segments in variant order (A then B), then the user id.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    Math::LineSegment2D segments_[FlipVariantCount];
    std::uint32_t userId_ = 0;
};

// A hotspot of a collision frame: a point per variant, no user id.
class DynamicCollisionHotSpot final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "DynamicCollisionHotSpot";

    DynamicCollisionHotSpot() = default;
    DynamicCollisionHotSpot(const Math::Vector2D& point, bool flip);

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    const Math::Vector2D& GetHotSpot(FlipVariant variant) const { return points_[ToIndex(variant)]; }
    void SetHotSpot(FlipVariant variant, const Math::Vector2D& point) { points_[ToIndex(variant)] = point; }

    // The four points in variant order (x, y).
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    Math::Vector2D points_[FlipVariantCount];
};

// ---------------------------------------------------------------------------
// Static shapes: the fixed walls of a layer, each a collision object of its
// own kind with a z, a user id reported in contacts, a serial and the flag
// the layer step uses to test a shape once per object and step. The layer
// owns them once they are added.

// What every static shape keeps beside its geometry. Archived after the
// geometry as the tail: the kind's serial counter, serial, user id, z
// (1 byte), tested (1 byte).
class StaticCollisionShape : public MainCollisionObject
{
public:
    // Any value 0 to 255 is stored unchanged.
    void SetZCollision(std::uint8_t z) { z_ = z; }
    std::uint8_t GetZ_Collision() const { return z_; }

    std::uint32_t GetSerial() const { return serial_; }
    // The slot of the shape in its layer, set by the layer when it stores
    // the shape; contact records name the shape by it. Not archived.
    void SetSlot(std::uint32_t slot) { slot_ = slot; }
    std::uint32_t GetSlot() const { return slot_; }
    void SetUserId(std::uint32_t userId) { userId_ = userId; }
    std::uint32_t GetUserId() const { return userId_; }
    void SetTested(bool tested) { tested_ = tested; }
    bool IsTested() const { return tested_; }

protected:
    struct Tail
    {
        std::uint32_t counter = 0;
        std::uint32_t serial = 0;
        std::uint32_t userId = 0;
        std::uint8_t z = 0;
        bool tested = false;
    };

    StaticCollisionShape(CollisionKind kind, std::uint32_t serial)
        : MainCollisionObject(kind), serial_(serial)
    {
    }
    // Kind and owner, z, user id and tested flag copied, `serial` new; no
    // slot until a layer stores the copy.
    StaticCollisionShape(const StaticCollisionShape& other, std::uint32_t serial)
        : MainCollisionObject(other), serial_(serial), userId_(other.userId_), z_(other.z_),
          tested_(other.tested_)
    {
    }
    StaticCollisionShape& operator=(const StaticCollisionShape&) = delete;

    void WriteTail(Core::File& file, std::uint32_t counter) const;
    // False on a short archive; nothing is changed.
    static bool ReadTail(Core::File& file, Tail& tail);
    // The tail's values, once the whole record was read; the owner word is
    // set to 0.
    void TakeTail(const Tail& tail);

private:
    std::uint32_t serial_ = 0;
    std::uint32_t slot_ = 0;
    std::uint32_t userId_ = 0;
    std::uint8_t z_ = 0;
    bool tested_ = false;
};

class StaticCollisionCircle final : public StaticCollisionShape
{
public:
    static constexpr const char* ScriptTypeName = "StaticCollisionCircle";

    // No geometry, user id 0, z 0; the serial is taken from the counter.
    StaticCollisionCircle();
    // An empty shape for Read: serial 0, nothing taken from the counter.
    explicit StaticCollisionCircle(ForReadingTag);
    // A new serial from the counter and an owned copy of the other's
    // geometry; the rest as StaticCollisionShape copies it.
    StaticCollisionCircle(const StaticCollisionCircle& other);
    StaticCollisionCircle& operator=(const StaticCollisionCircle&) = delete;
    ~StaticCollisionCircle() override;

    void PushToScript(lua_State* state) override;

    // Takes ownership of `circle` (from the memory manager); any previous
    // geometry is destroyed.
    void SetCircle(Math::Circle2D* circle);
    // Null while the shape has no geometry.
    Math::Circle2D* GetCircle() const { return circle_.get(); }

    // Kind, circle, then the tail with the static circle serial counter.
    // Read checks the kind, restores the counter and sets the owner word to
    // 0; on a short or bad archive it changes nothing (neither the shape nor
    // the counter) and answers false.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    std::unique_ptr<Math::Circle2D> circle_;
};

class StaticCollisionLineSegment final : public StaticCollisionShape
{
public:
    static constexpr const char* ScriptTypeName = "StaticCollisionLineSegment";

    StaticCollisionLineSegment();
    explicit StaticCollisionLineSegment(ForReadingTag);
    StaticCollisionLineSegment(const StaticCollisionLineSegment& other);
    StaticCollisionLineSegment& operator=(const StaticCollisionLineSegment&) = delete;
    ~StaticCollisionLineSegment() override;

    void PushToScript(lua_State* state) override;

    void SetLineSegment(Math::LineSegment2D* segment);
    Math::LineSegment2D* GetLineSegment() const { return segment_.get(); }

    // As the static circle, with the segment and the static line segment
    // serial counter.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    std::unique_ptr<Math::LineSegment2D> segment_;
};

} // namespace Collision2D
