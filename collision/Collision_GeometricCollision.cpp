#include "collision/Collision_GeometricCollision.h"

#include "collision/Collision_Archive.h"
#include "collision/Collision_Settings.h"
#include "core/Core_File.h"
#include "core/Core_ScriptBridge.h"

namespace Collision2D
{

namespace
{

constexpr FlipVariant FlippedVariants[] = {FlipVariant::HVFlip, FlipVariant::HFlip, FlipVariant::VFlip};

// Reads the stored kind of a shape; another kind than `expected` is bad data.
bool ReadKind(Core::File& file, CollisionKind expected)
{
    std::int32_t kind = 0;
    if (!file.ReadExact(&kind, sizeof kind))
    {
        return false;
    }
    return kind == static_cast<std::int32_t>(expected) || Detail::RejectData(file);
}

} // namespace

// --- DynamicCollisionCircle -------------------------------------------------

DynamicCollisionCircle::DynamicCollisionCircle(const Math::Vector2D& center, float radius,
                                               std::uint32_t userId, bool flip)
    : userId_(userId)
{
    circles_[ToIndex(FlipVariant::NoFlip)] = Math::Circle2D(center, radius);
    for (const FlipVariant variant : FlippedVariants)
    {
        circles_[ToIndex(variant)] = Math::Circle2D(flip ? FlipPoint(center, variant) : center, radius);
    }
}

LuaScript* DynamicCollisionCircle::GetScript()
{
    return nullptr;
}

void DynamicCollisionCircle::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void DynamicCollisionCircle::Write(Core::File& file) const
{
    for (const Math::Circle2D& circle : circles_)
    {
        circle.Write(file);
    }
    file << userId_;
}

bool DynamicCollisionCircle::Read(Core::File& file)
{
    Math::Circle2D circles[FlipVariantCount];
    for (Math::Circle2D& circle : circles)
    {
        circle.Read(file);
    }
    std::uint32_t userId = 0;
    file >> userId;
    if (file.Failed())
    {
        return false;
    }
    for (int i = 0; i < FlipVariantCount; ++i)
    {
        circles_[i] = circles[i];
    }
    userId_ = userId;
    return true;
}

// --- DynamicCollisionLineSegment --------------------------------------------

DynamicCollisionLineSegment::DynamicCollisionLineSegment(const Math::Vector2D& a, const Math::Vector2D& b,
                                                         std::uint32_t userId, bool flip)
    : userId_(userId)
{
    segments_[ToIndex(FlipVariant::NoFlip)] = Math::LineSegment2D(a, b);
    for (const FlipVariant variant : FlippedVariants)
    {
        segments_[ToIndex(variant)] = flip ? Math::LineSegment2D(FlipPoint(b, variant), FlipPoint(a, variant))
                                           : Math::LineSegment2D(a, b);
    }
}

LuaScript* DynamicCollisionLineSegment::GetScript()
{
    return nullptr;
}

void DynamicCollisionLineSegment::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void DynamicCollisionLineSegment::Write(Core::File& file) const
{
    for (const Math::LineSegment2D& segment : segments_)
    {
        segment.Write(file);
    }
    file << userId_;
}

bool DynamicCollisionLineSegment::Read(Core::File& file)
{
    Math::LineSegment2D segments[FlipVariantCount];
    for (Math::LineSegment2D& segment : segments)
    {
        segment.Read(file);
    }
    std::uint32_t userId = 0;
    file >> userId;
    if (file.Failed())
    {
        return false;
    }
    for (int i = 0; i < FlipVariantCount; ++i)
    {
        segments_[i] = segments[i];
    }
    userId_ = userId;
    return true;
}

// --- DynamicCollisionHotSpot ------------------------------------------------

DynamicCollisionHotSpot::DynamicCollisionHotSpot(const Math::Vector2D& point, bool flip)
{
    points_[ToIndex(FlipVariant::NoFlip)] = point;
    for (const FlipVariant variant : FlippedVariants)
    {
        points_[ToIndex(variant)] = flip ? FlipPoint(point, variant) : point;
    }
}

LuaScript* DynamicCollisionHotSpot::GetScript()
{
    return nullptr;
}

void DynamicCollisionHotSpot::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void DynamicCollisionHotSpot::Write(Core::File& file) const
{
    for (const Math::Vector2D& point : points_)
    {
        point.Write(file);
    }
}

bool DynamicCollisionHotSpot::Read(Core::File& file)
{
    Math::Vector2D points[FlipVariantCount];
    for (Math::Vector2D& point : points)
    {
        point.Read(file);
    }
    if (file.Failed())
    {
        return false;
    }
    for (int i = 0; i < FlipVariantCount; ++i)
    {
        points_[i] = points[i];
    }
    return true;
}

// --- StaticCollisionShape ---------------------------------------------------

void StaticCollisionShape::WriteTail(Core::File& file, std::uint32_t counter) const
{
    file << counter << serial_ << userId_ << z_ << tested_;
}

bool StaticCollisionShape::ReadTail(Core::File& file, Tail& tail)
{
    file >> tail.counter >> tail.serial >> tail.userId >> tail.z >> tail.tested;
    return !file.Failed();
}

void StaticCollisionShape::TakeTail(const Tail& tail)
{
    owner_ = 0;
    serial_ = tail.serial;
    userId_ = tail.userId;
    z_ = tail.z;
    tested_ = tail.tested;
}

// --- StaticCollisionCircle --------------------------------------------------

StaticCollisionCircle::StaticCollisionCircle()
    : StaticCollisionShape(CollisionKind::StaticCircle, TakeStaticCircleSerial())
{
}

StaticCollisionCircle::StaticCollisionCircle(ForReadingTag)
    : StaticCollisionShape(CollisionKind::StaticCircle, 0)
{
}

StaticCollisionCircle::StaticCollisionCircle(const StaticCollisionCircle& other)
    : StaticCollisionShape(other, TakeStaticCircleSerial())
{
    if (other.circle_ != nullptr)
    {
        circle_.reset(new ("Collision_GeometricCollision", __LINE__) Math::Circle2D(*other.circle_));
    }
}

StaticCollisionCircle::~StaticCollisionCircle() = default;

void StaticCollisionCircle::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void StaticCollisionCircle::SetCircle(Math::Circle2D* circle)
{
    if (circle != circle_.get())
    {
        circle_.reset(circle);
    }
}

void StaticCollisionCircle::Write(Core::File& file) const
{
    file << kind_;
    // A shape without geometry is stored as a zero circle.
    (circle_ != nullptr ? *circle_ : Math::Circle2D({}, 0.0f)).Write(file);
    WriteTail(file, GetStaticCircleSerial());
}

bool StaticCollisionCircle::Read(Core::File& file)
{
    if (!ReadKind(file, CollisionKind::StaticCircle))
    {
        return false;
    }
    Math::Circle2D circle;
    circle.Read(file);
    Tail tail;
    if (!ReadTail(file, tail))
    {
        return false;
    }
    circle_.reset(new ("Collision_GeometricCollision", __LINE__) Math::Circle2D(circle));
    SetStaticCircleSerial(tail.counter);
    TakeTail(tail);
    return true;
}

// --- StaticCollisionLineSegment ---------------------------------------------

StaticCollisionLineSegment::StaticCollisionLineSegment()
    : StaticCollisionShape(CollisionKind::StaticLineSegment, TakeStaticLineSegmentSerial())
{
}

StaticCollisionLineSegment::StaticCollisionLineSegment(ForReadingTag)
    : StaticCollisionShape(CollisionKind::StaticLineSegment, 0)
{
}

StaticCollisionLineSegment::StaticCollisionLineSegment(const StaticCollisionLineSegment& other)
    : StaticCollisionShape(other, TakeStaticLineSegmentSerial())
{
    if (other.segment_ != nullptr)
    {
        segment_.reset(new ("Collision_GeometricCollision", __LINE__) Math::LineSegment2D(*other.segment_));
    }
}

StaticCollisionLineSegment::~StaticCollisionLineSegment() = default;

void StaticCollisionLineSegment::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void StaticCollisionLineSegment::SetLineSegment(Math::LineSegment2D* segment)
{
    if (segment != segment_.get())
    {
        segment_.reset(segment);
    }
}

void StaticCollisionLineSegment::Write(Core::File& file) const
{
    file << kind_;
    (segment_ != nullptr ? *segment_ : Math::LineSegment2D()).Write(file);
    WriteTail(file, GetStaticLineSegmentSerial());
}

bool StaticCollisionLineSegment::Read(Core::File& file)
{
    if (!ReadKind(file, CollisionKind::StaticLineSegment))
    {
        return false;
    }
    Math::LineSegment2D segment;
    segment.Read(file);
    Tail tail;
    if (!ReadTail(file, tail))
    {
        return false;
    }
    segment_.reset(new ("Collision_GeometricCollision", __LINE__) Math::LineSegment2D(segment));
    SetStaticLineSegmentSerial(tail.counter);
    TakeTail(tail);
    return true;
}

} // namespace Collision2D
