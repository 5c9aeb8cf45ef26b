// Script methods and properties of the collision shapes and assets: the
// frame shapes ("DynamicCollisionCircle", "DynamicCollisionLineSegment",
// "DynamicCollisionHotSpot"), the static shapes ("StaticCollisionCircle",
// "StaticCollisionLineSegment"), the assets ("CollisionFrame",
// "CollisionAnimation", "CollisionActor") and the rectangle ("ZibRect").
// Argument conventions are those of Collision_ScriptSupport.h.
//
// Geometry crosses by value: reading a circle or segment gives the script a
// copy it owns, writing one copies the script's circle or segment in. No
// script keeps an address into a shape's geometry, which a later write or
// the shape's removal may free.
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_GeometricCollision.h"
#include "collision/Collision_ScriptSupport.h"
#include "collision/Collision_ZibRect.h"
#include "script/Script_MethodTable.h"
#include "script/Script_PropertyTable.h"
#include "script/Script_Values.h"

namespace
{

using namespace Collision2D;
using namespace Collision2D::ScriptSupport;
using Math::Circle2D;
using Math::LineSegment2D;
using Script::Method;

// The value assigned to a property (stack index 3, as a __newindex handler
// sees it) when it is a user datum of T's script class; otherwise null.
template <class T> const T* AssignedValue(lua_State* state)
{
    return ToUserdata<T>(state, 3);
}

// --- Frame shapes -------------------------------------------------------------------------

template <class Shape> int SetShapeUserId(Shape& shape, lua_State* state)
{
    if (Needs(state, 1))
    {
        shape.SetUserId(ToUInt32(state, 1));
    }
    return 0;
}

template <class Shape> int GetShapeUserId(Shape& shape, lua_State* state)
{
    return PushUnsigned(state, shape.GetUserId());
}

template <FlipVariant Variant> int GetFrameCircle(void* object, lua_State* state)
{
    return PushCopy(state, static_cast<DynamicCollisionCircle*>(object)->GetCircle(Variant));
}

template <FlipVariant Variant> int SetFrameCircle(void* object, lua_State* state)
{
    if (const Circle2D* circle = AssignedValue<Circle2D>(state))
    {
        static_cast<DynamicCollisionCircle*>(object)->SetCircle(Variant, *circle);
    }
    return 0;
}

template <FlipVariant Variant> int GetFrameLineSegment(void* object, lua_State* state)
{
    return PushCopy(state, static_cast<DynamicCollisionLineSegment*>(object)->GetLineSegment(Variant));
}

template <FlipVariant Variant> int SetFrameLineSegment(void* object, lua_State* state)
{
    if (const LineSegment2D* segment = AssignedValue<LineSegment2D>(state))
    {
        static_cast<DynamicCollisionLineSegment*>(object)->SetLineSegment(Variant, *segment);
    }
    return 0;
}

constexpr auto kFrameCircleMethods =
    Script::MakeMethods<2>(Method<&SetShapeUserId<DynamicCollisionCircle>>("SetUserId"),
                           Method<&GetShapeUserId<DynamicCollisionCircle>>("GetUserId"));
constexpr auto kFrameCircleProperties =
    Script::MakeProperties<4>(Script::PropertyRecord{"circleNoFlip", &SetFrameCircle<FlipVariant::NoFlip>,
                                                     &GetFrameCircle<FlipVariant::NoFlip>},
                              Script::PropertyRecord{"circleHVFlip", &SetFrameCircle<FlipVariant::HVFlip>,
                                                     &GetFrameCircle<FlipVariant::HVFlip>},
                              Script::PropertyRecord{"circleHFlip", &SetFrameCircle<FlipVariant::HFlip>,
                                                     &GetFrameCircle<FlipVariant::HFlip>},
                              Script::PropertyRecord{"circleVFlip", &SetFrameCircle<FlipVariant::VFlip>,
                                                     &GetFrameCircle<FlipVariant::VFlip>});
const Script::MethodTableRegistrar g_frameCircleTable(DynamicCollisionCircle::ScriptTypeName,
                                                      kFrameCircleMethods);
const Script::PropertyTableRegistrar g_frameCircleProperties(DynamicCollisionCircle::ScriptTypeName,
                                                             kFrameCircleProperties);

constexpr auto kFrameLineSegmentMethods =
    Script::MakeMethods<2>(Method<&SetShapeUserId<DynamicCollisionLineSegment>>("SetUserId"),
                           Method<&GetShapeUserId<DynamicCollisionLineSegment>>("GetUserId"));
constexpr auto kFrameLineSegmentProperties = Script::MakeProperties<4>(
    Script::PropertyRecord{"lineSegmentNoFlip", &SetFrameLineSegment<FlipVariant::NoFlip>,
                           &GetFrameLineSegment<FlipVariant::NoFlip>},
    Script::PropertyRecord{"lineSegmentHVFlip", &SetFrameLineSegment<FlipVariant::HVFlip>,
                           &GetFrameLineSegment<FlipVariant::HVFlip>},
    Script::PropertyRecord{"lineSegmentHFlip", &SetFrameLineSegment<FlipVariant::HFlip>,
                           &GetFrameLineSegment<FlipVariant::HFlip>},
    Script::PropertyRecord{"lineSegmentVFlip", &SetFrameLineSegment<FlipVariant::VFlip>,
                           &GetFrameLineSegment<FlipVariant::VFlip>});
const Script::MethodTableRegistrar g_frameLineSegmentTable(DynamicCollisionLineSegment::ScriptTypeName,
                                                           kFrameLineSegmentMethods);
const Script::PropertyTableRegistrar g_frameLineSegmentProperties(DynamicCollisionLineSegment::ScriptTypeName,
                                                                  kFrameLineSegmentProperties);

template <FlipVariant Variant> int GetHotSpot(DynamicCollisionHotSpot& hotSpot, lua_State* state)
{
    LuaPushPoint2D(state, hotSpot.GetHotSpot(Variant));
    return 1;
}

template <FlipVariant Variant> int SetHotSpot(DynamicCollisionHotSpot& hotSpot, lua_State* state)
{
    if (Needs(state, 1))
    {
        hotSpot.SetHotSpot(Variant, LuaToPoint2D(state, 1));
    }
    return 0;
}

constexpr auto kHotSpotMethods =
    Script::MakeMethods<8>(Method<&GetHotSpot<FlipVariant::NoFlip>>("GetHotSpotNoFlip"),
                           Method<&GetHotSpot<FlipVariant::HVFlip>>("GetHotSpotHVFlip"),
                           Method<&GetHotSpot<FlipVariant::HFlip>>("GetHotSpotHFlip"),
                           Method<&GetHotSpot<FlipVariant::VFlip>>("GetHotSpotVFlip"),
                           Method<&SetHotSpot<FlipVariant::NoFlip>>("SetHotSpotNoFlip"),
                           Method<&SetHotSpot<FlipVariant::HVFlip>>("SetHotSpotHVFlip"),
                           Method<&SetHotSpot<FlipVariant::HFlip>>("SetHotSpotHFlip"),
                           Method<&SetHotSpot<FlipVariant::VFlip>>("SetHotSpotVFlip"));
const Script::MethodTableRegistrar g_hotSpotTable(DynamicCollisionHotSpot::ScriptTypeName, kHotSpotMethods);

// --- Static shapes --------------------------------------------------------------------------

// The geometry of a static shape: its type, getter and setter (the setter
// takes ownership of a geometry from the memory manager).
template <class Shape> struct StaticGeometry;

template <> struct StaticGeometry<StaticCollisionCircle>
{
    using Type = Circle2D;
    static Type* Get(const StaticCollisionCircle& shape) { return shape.GetCircle(); }
    static void Set(StaticCollisionCircle& shape, Type* geometry) { shape.SetCircle(geometry); }
};

template <> struct StaticGeometry<StaticCollisionLineSegment>
{
    using Type = LineSegment2D;
    static Type* Get(const StaticCollisionLineSegment& shape) { return shape.GetLineSegment(); }
    static void Set(StaticCollisionLineSegment& shape, Type* geometry) { shape.SetLineSegment(geometry); }
};

template <class Shape> void CopyGeometryInto(Shape& shape, const typename StaticGeometry<Shape>::Type& value)
{
    using Geometry = StaticGeometry<Shape>;
    if (typename Geometry::Type* current = Geometry::Get(shape))
    {
        *current = value;
    }
    else
    {
        Geometry::Set(shape, new ("Collision_ShapeScriptMethods", __LINE__) typename Geometry::Type(value));
    }
}

template <class Shape> int StaticSetZCollision(Shape& shape, lua_State* state)
{
    if (Needs(state, 1))
    {
        shape.SetZCollision(ToLowByte(state, 1));
    }
    return 0;
}

// "SetCircle" / "SetLineSegment": the shape's geometry becomes a copy of the
// argument; anything other than a circle (segment) does nothing.
template <class Shape> int StaticSetGeometry(Shape& shape, lua_State* state)
{
    if (Needs(state, 1))
    {
        if (const auto* value = ToUserdata<typename StaticGeometry<Shape>::Type>(state, 1))
        {
            CopyGeometryInto(shape, *value);
        }
    }
    return 0;
}

// "GetCircle" / "GetLineSegment": nothing while the shape has no geometry.
template <class Shape> int StaticGetGeometry(Shape& shape, lua_State* state)
{
    const auto* geometry = StaticGeometry<Shape>::Get(shape);
    return geometry != nullptr ? PushCopy(state, *geometry) : 0;
}

template <class Shape> int StaticGetId(Shape& shape, lua_State* state)
{
    return PushUnsigned(state, shape.GetSerial());
}

template <class Shape> int StaticGetZCollision(Shape& shape, lua_State* state)
{
    return PushInteger(state, shape.GetZ_Collision());
}

// The "circle" / "lineSegment" property: reads nil while there is no
// geometry; writing anything but a circle (segment) changes nothing.
template <class Shape> int GetStaticGeometryProperty(void* object, lua_State* state)
{
    const auto* geometry = StaticGeometry<Shape>::Get(*static_cast<Shape*>(object));
    if (geometry == nullptr)
    {
        lua_pushnil(state);
        return 1;
    }
    return PushCopy(state, *geometry);
}

template <class Shape> int SetStaticGeometryProperty(void* object, lua_State* state)
{
    if (const auto* value = AssignedValue<typename StaticGeometry<Shape>::Type>(state))
    {
        CopyGeometryInto(*static_cast<Shape*>(object), *value);
    }
    return 0;
}

template <class Shape> constexpr auto StaticShapeMethods(const char* setGeometry, const char* getGeometry)
{
    return Script::MakeMethods<7>(
        Method<&StaticSetZCollision<Shape>>("SetZCollision"), Method<&StaticSetGeometry<Shape>>(setGeometry),
        Method<&StaticGetGeometry<Shape>>(getGeometry), Method<&StaticGetId<Shape>>("GetId"),
        Method<&SetShapeUserId<Shape>>("SetUserId"), Method<&GetShapeUserId<Shape>>("GetUserId"),
        Method<&StaticGetZCollision<Shape>>("GetZ_Collision"));
}

constexpr auto kStaticCircleMethods = StaticShapeMethods<StaticCollisionCircle>("SetCircle", "GetCircle");
constexpr auto kStaticCircleProperties = Script::MakeProperties<1>(
    Script::PropertyRecord{"circle", &SetStaticGeometryProperty<StaticCollisionCircle>,
                           &GetStaticGeometryProperty<StaticCollisionCircle>});
const Script::MethodTableRegistrar g_staticCircleTable(StaticCollisionCircle::ScriptTypeName,
                                                       kStaticCircleMethods);
const Script::PropertyTableRegistrar g_staticCircleProperties(StaticCollisionCircle::ScriptTypeName,
                                                              kStaticCircleProperties);

constexpr auto kStaticLineSegmentMethods =
    StaticShapeMethods<StaticCollisionLineSegment>("SetLineSegment", "GetLineSegment");
constexpr auto kStaticLineSegmentProperties = Script::MakeProperties<1>(
    Script::PropertyRecord{"lineSegment", &SetStaticGeometryProperty<StaticCollisionLineSegment>,
                           &GetStaticGeometryProperty<StaticCollisionLineSegment>});
const Script::MethodTableRegistrar g_staticLineSegmentTable(StaticCollisionLineSegment::ScriptTypeName,
                                                            kStaticLineSegmentMethods);
const Script::PropertyTableRegistrar g_staticLineSegmentProperties(StaticCollisionLineSegment::ScriptTypeName,
                                                                   kStaticLineSegmentProperties);

// --- Collision assets -------------------------------------------------------------------------

// (point, flag): a hotspot; (point, point, user id, flag): a line segment;
// (point, radius, user id, flag): a circle, chosen when the second argument
// is not a table. Other argument counts do nothing.
int FrameAddCollisionData(CollisionFrame& frame, lua_State* state)
{
    const int count = lua_gettop(state);
    if (count == 2)
    {
        frame.AddHotSpot(LuaToPoint2D(state, 1), ToFlag(state, 2));
    }
    else if (count == 4)
    {
        const Math::Vector2D first = LuaToPoint2D(state, 1);
        if (lua_istable(state, 2))
        {
            frame.AddLineSegment(first, LuaToPoint2D(state, 2), ToUInt32(state, 3), ToFlag(state, 4));
        }
        else
        {
            frame.AddCircle(first, ToFloat(state, 2), ToUInt32(state, 3), ToFlag(state, 4));
        }
    }
    return 0;
}

// (rectangle) or (rectangle, flag); the flag defaults to true.
int FrameSetBoundingRectangle(CollisionFrame& frame, lua_State* state)
{
    const int count = lua_gettop(state);
    if (count == 1 || count == 2)
    {
        if (const ZibRect* rectangle = ToUserdata<ZibRect>(state, 1))
        {
            frame.SetBoundingRectangle(*rectangle, count == 1 || ToFlag(state, 2));
        }
    }
    return 0;
}

constexpr auto kFrameMethods =
    Script::MakeMethods<2>(Method<&FrameAddCollisionData>("AddCollisionData"),
                           Method<&FrameSetBoundingRectangle>("SetBoundingRectangle"));
const Script::MethodTableRegistrar g_frameTable(CollisionFrame::ScriptTypeName, kFrameMethods);

// The animation takes ownership of the frame; a frame it already holds is
// not taken a second time.
int AnimationAddCollisionFrame(CollisionAnimation& animation, lua_State* state)
{
    if (lua_gettop(state) != 1)
    {
        return 0;
    }
    CollisionFrame* frame = ToUserdata<CollisionFrame>(state, 1);
    for (std::uint32_t i = 0; frame != nullptr && i < animation.GetFrameCount(); ++i)
    {
        if (animation.GetFrame(i) == frame)
        {
            return 0;
        }
    }
    animation.AddCollisionFrame(frame);
    return 0;
}

constexpr auto kAnimationMethods =
    Script::MakeMethods<1>(Method<&AnimationAddCollisionFrame>("AddCollisionFrame"));
const Script::MethodTableRegistrar g_animationTable(CollisionAnimation::ScriptTypeName, kAnimationMethods);

// The actor takes ownership of the animation; one it already holds is not
// taken a second time.
int ActorAddCollisionAnimation(CollisionActor& actor, lua_State* state)
{
    if (lua_gettop(state) != 1)
    {
        return 0;
    }
    CollisionAnimation* animation = ToUserdata<CollisionAnimation>(state, 1);
    for (std::uint32_t i = 0; animation != nullptr && i < actor.GetAnimationCount(); ++i)
    {
        if (actor.GetAnimation(i) == animation)
        {
            return 0;
        }
    }
    actor.AddCollisionAnimation(animation);
    return 0;
}

constexpr auto kActorMethods =
    Script::MakeMethods<1>(Method<&ActorAddCollisionAnimation>("AddCollisionAnimation"));
const Script::MethodTableRegistrar g_actorTable(CollisionActor::ScriptTypeName, kActorMethods);

// --- ZibRect --------------------------------------------------------------------------------

constexpr auto kRectangleProperties = Script::MakeProperties<4>(
    Script::Property<&ZibRect::top>("top"), Script::Property<&ZibRect::left>("left"),
    Script::Property<&ZibRect::right>("right"), Script::Property<&ZibRect::bottom>("bottom"));
const Script::PropertyTableRegistrar g_rectangleProperties(ZibRect::ScriptTypeName, kRectangleProperties);

} // namespace
