// Script methods of the collision engine ("CollisionEngine"), its layers
// ("CollisionLayer") and dynamic objects ("DynamicObject"). The argument
// conventions are those of Collision_ScriptSupport.h. The engine's methods
// reach objects by id: an id that names no dynamic object leaves setters
// without effect and makes getters answer false, 0 or a zero rectangle (the
// engine's own answers), and table getters push nothing.
//
// Shapes reach scripts in two forms. Frame shapes (DynamicCollisionCircle,
// DynamicCollisionLineSegment, DynamicCollisionHotSpot) and static shapes are
// pushed as themselves: they live as long as their actor or layer. World
// shapes and rectangles are computed values and are pushed as copies the
// script owns.
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_ScriptSupport.h"
#include "collision/Collision_Settings.h"
#include "script/Script_MethodTable.h"
#include "script/Script_Values.h"

#include <algorithm>

namespace
{

using namespace Collision2D;
using namespace Collision2D::ScriptSupport;
using Script::Method;

// --- Tables of shapes ---------------------------------------------------------------

// A table 1, 2, ... of the layer's static shapes of one kind in slot order,
// empty slots skipped.
template <class Shape, Shape* (CollisionLayer::*Get)(std::uint32_t) const>
int PushStaticShapes(lua_State* state, const CollisionLayer& layer, CollisionLayer::SlotKind kind)
{
    lua_newtable(state);
    const int table = lua_gettop(state);
    const std::int32_t count = layer.GetCount(kind);
    int key = 1;
    for (std::int32_t slot = 1; slot < count; ++slot)
    {
        if (Shape* shape = (layer.*Get)(static_cast<std::uint32_t>(slot)))
        {
            shape->PushToScript(state);
            lua_rawseti(state, table, key++);
        }
    }
    return 1;
}

int PushStaticLineSegments(lua_State* state, const CollisionLayer& layer)
{
    return PushStaticShapes<StaticCollisionLineSegment, &CollisionLayer::GetStaticLineSegment>(
        state, layer, CollisionLayer::StaticLineSegments);
}

int PushStaticCircles(lua_State* state, const CollisionLayer& layer)
{
    return PushStaticShapes<StaticCollisionCircle, &CollisionLayer::GetStaticCircle>(
        state, layer, CollisionLayer::StaticCircles);
}

// The frame shapes of the object's current frame, as themselves; nothing
// when the object has no frame.
template <class Shape, std::uint32_t (CollisionFrame::*Count)() const,
          Shape& (CollisionFrame::*Get)(std::uint32_t)>
int PushFrameShapes(lua_State* state, const DynamicObject& object)
{
    CollisionFrame* frame = object.GetCurrentFrame();
    if (frame == nullptr)
    {
        return 0;
    }
    const std::uint32_t count = (frame->*Count)();
    lua_createtable(state, static_cast<int>(count), 0);
    const int table = lua_gettop(state);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        (frame->*Get)(i).PushToScript(state);
        lua_rawseti(state, table, static_cast<int>(i) + 1);
    }
    return 1;
}

int PushFrameLineSegments(lua_State* state, const DynamicObject& object)
{
    return PushFrameShapes<DynamicCollisionLineSegment, &CollisionFrame::GetLineSegmentCount,
                           &CollisionFrame::GetLineSegment>(state, object);
}

int PushFrameCircles(lua_State* state, const DynamicObject& object)
{
    return PushFrameShapes<DynamicCollisionCircle, &CollisionFrame::GetCircleCount,
                           &CollisionFrame::GetCircle>(state, object);
}

int PushFrameHotSpots(lua_State* state, const DynamicObject& object)
{
    return PushFrameShapes<DynamicCollisionHotSpot, &CollisionFrame::GetHotSpotCount,
                           &CollisionFrame::GetHotSpot>(state, object);
}

// The frame's hotspots as points, in the flip variant the object shows.
int PushFrameHotSpotPoints(lua_State* state, const DynamicObject& object)
{
    const CollisionFrame* frame = object.GetCurrentFrame();
    if (frame == nullptr)
    {
        return 0;
    }
    const std::uint32_t count = frame->GetHotSpotCount();
    const FlipVariant variant = object.GetFlipVariant();
    lua_createtable(state, static_cast<int>(count), 0);
    const int table = lua_gettop(state);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        LuaPushPoint2D(state, frame->GetHotSpot(i).GetHotSpot(variant));
        lua_rawseti(state, table, static_cast<int>(i) + 1);
    }
    return 1;
}

// The leading entries of a world buffer that belong to the current frame:
// the buffers are sized for the actor's largest frame.
template <class T> std::size_t CurrentEntries(const std::vector<T>& buffer, std::uint32_t frameCount)
{
    return std::min<std::size_t>(buffer.size(), frameCount);
}

template <class T> int PushCopies(lua_State* state, const std::vector<T>& buffer, std::uint32_t frameCount)
{
    const std::size_t count = CurrentEntries(buffer, frameCount);
    lua_createtable(state, static_cast<int>(count), 0);
    const int table = lua_gettop(state);
    for (std::size_t i = 0; i < count; ++i)
    {
        PushCopy(state, buffer[i]);
        lua_rawseti(state, table, static_cast<int>(i) + 1);
    }
    return 1;
}

int PushCurrentLineSegments(lua_State* state, const DynamicObject& object)
{
    return PushCopies(state, object.GetCurrentLineSegments(), object.GetFrameLineSegmentCount());
}

int PushCurrentCircles(lua_State* state, const DynamicObject& object)
{
    return PushCopies(state, object.GetCurrentCircles(), object.GetFrameCircleCount());
}

int PushCurrentHotSpots(lua_State* state, const DynamicObject& object)
{
    const std::vector<Math::Vector2D>& buffer = object.GetCurrentHotSpots();
    const std::size_t count = CurrentEntries(buffer, object.GetFrameHotSpotCount());
    lua_createtable(state, static_cast<int>(count), 0);
    const int table = lua_gettop(state);
    for (std::size_t i = 0; i < count; ++i)
    {
        LuaPushPoint2D(state, buffer[i]);
        lua_rawseti(state, table, static_cast<int>(i) + 1);
    }
    return 1;
}

// --- CollisionEngine ------------------------------------------------------------------

DynamicObject* DynamicObjectArgument(const CollisionEngine& engine, lua_State* state)
{
    return engine.GetDynamicObject(ToUInt32(state, 1));
}

CollisionLayer* LayerArgument(const CollisionEngine& engine, lua_State* state)
{
    return engine.GetLayer(ToLowByte(state, 1));
}

int EngineSetMaximumInterpolationValue(CollisionEngine&, lua_State* state)
{
    if (Needs(state, 1))
    {
        const std::int32_t value = ToInt32(state, 1);
        // One sub-step is no interpolation at all: scripts may not ask for it.
        if (value >= 2)
        {
            SetMaximumInterpolationValue(value);
        }
    }
    return 0;
}

int EngineGetMaximumInterpolationValue(CollisionEngine&, lua_State* state)
{
    return PushInteger(state, GetMaximumInterpolationValue());
}

int EngineObjectInCollision(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    return PushBoolean(state, engine.ObjectInCollision(ToUInt32(state, 1)));
}

int EngineSetObjectZCollision(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    return PushUnsigned(state, engine.SetObjectZCollision(ToUInt32(state, 1), ToLowByte(state, 2)));
}

int EngineGetObjectZCollision(CollisionEngine&, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    return PushInteger(state, ZOf(ToUInt32(state, 1)));
}

int EngineSetDynamicObjectCanCollid(CollisionEngine& engine, lua_State* state)
{
    if (Needs(state, 3))
    {
        if (DynamicObject* object = DynamicObjectArgument(engine, state))
        {
            object->SetCanCollid(ToLowByte(state, 2), ToFlag(state, 3));
        }
    }
    return 0;
}

int EngineGetDynamicObjectCanCollid(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    const DynamicObject* object = DynamicObjectArgument(engine, state);
    return PushBoolean(state, object != nullptr && object->GetCanCollid(ToLowByte(state, 2)));
}

int EngineSetDynamicObjectCollisionType(CollisionEngine& engine, lua_State* state)
{
    if (Needs(state, 2))
    {
        if (DynamicObject* object = DynamicObjectArgument(engine, state))
        {
            object->SetCollisionType(ToFlag(state, 2) ? 1 : 0);
        }
    }
    return 0;
}

int EngineGetDynamicObjectCollisionType(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const DynamicObject* object = DynamicObjectArgument(engine, state);
    return PushBoolean(state, object != nullptr && object->GetCollisionType() != 0);
}

int EngineSetDynamicObjectUpdateOnIdle(CollisionEngine& engine, lua_State* state)
{
    if (Needs(state, 1))
    {
        if (DynamicObject* object = DynamicObjectArgument(engine, state))
        {
            object->SetUpdateOnIdle(Needs(state, 2) && ToFlag(state, 2));
        }
    }
    return 0;
}

int EngineGetDynamicObjectUpdateOnIdle(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const DynamicObject* object = DynamicObjectArgument(engine, state);
    return PushBoolean(state, object != nullptr && object->GetUpdateOnIdle());
}

int EngineSetDynamicObjectCollisionThickness(CollisionEngine& engine, lua_State* state)
{
    if (Needs(state, 2))
    {
        if (DynamicObject* object = DynamicObjectArgument(engine, state))
        {
            object->SetCollisionThickness(ToFloat(state, 2));
        }
    }
    return 0;
}

int EngineGetDynamicObjectCollisionThickness(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const DynamicObject* object = DynamicObjectArgument(engine, state);
    return PushNumber(state, object != nullptr ? object->GetCollisionThickness() : 0.0f);
}

int EngineSetDynamicObjectBoundingRectangleCheckingTileMap(CollisionEngine& engine, lua_State* state)
{
    if (Needs(state, 2))
    {
        if (DynamicObject* object = DynamicObjectArgument(engine, state))
        {
            object->SetBoundingRectangleCheckingTileMap(ToFlag(state, 2));
        }
    }
    return 0;
}

int EngineGetDynamicObjectBoundingRectangleCheckingTileMap(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const DynamicObject* object = DynamicObjectArgument(engine, state);
    return PushBoolean(state, object != nullptr && object->GetBoundingRectangleCheckingTileMap());
}

int EngineGetStaticLineSegments(CollisionEngine& engine, lua_State* state)
{
    const CollisionLayer* layer = Needs(state, 1) ? LayerArgument(engine, state) : nullptr;
    return layer != nullptr ? PushStaticLineSegments(state, *layer) : 0;
}

int EngineGetStaticCircles(CollisionEngine& engine, lua_State* state)
{
    const CollisionLayer* layer = Needs(state, 1) ? LayerArgument(engine, state) : nullptr;
    return layer != nullptr ? PushStaticCircles(state, *layer) : 0;
}

int EngineGetStaticLineSegmentsNumber(CollisionEngine& engine, lua_State* state)
{
    const CollisionLayer* layer = Needs(state, 1) ? LayerArgument(engine, state) : nullptr;
    return layer != nullptr ? PushInteger(state, layer->GetCount(CollisionLayer::StaticLineSegments)) : 0;
}

int EngineGetStaticCirclesNumber(CollisionEngine& engine, lua_State* state)
{
    const CollisionLayer* layer = Needs(state, 1) ? LayerArgument(engine, state) : nullptr;
    return layer != nullptr ? PushInteger(state, layer->GetCount(CollisionLayer::StaticCircles)) : 0;
}

int EngineSetObjectBoundingRectangle(CollisionEngine& engine, lua_State* state)
{
    if (Needs(state, 2))
    {
        if (const ZibRect* rectangle = ToUserdata<ZibRect>(state, 2))
        {
            engine.SetObjectBoundingRectangle(ToUInt32(state, 1), *rectangle);
        }
    }
    return 0;
}

int EngineGetObjectBoundingRectangle(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    return PushCopy(state, engine.GetObjectBoundingRectangle(ToUInt32(state, 1)));
}

int EngineGetCurrentObjectBoundingRectangle(CollisionEngine& engine, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    return PushCopy(state, engine.GetCurrentObjectBoundingRectangle(ToUInt32(state, 1)));
}

// A method of the engine that pushes a table of one dynamic object's shapes.
template <int (*Push)(lua_State*, const DynamicObject&)>
int EngineDynamicObjectShapes(CollisionEngine& engine, lua_State* state)
{
    const DynamicObject* object = Needs(state, 1) ? DynamicObjectArgument(engine, state) : nullptr;
    return object != nullptr ? Push(state, *object) : 0;
}

constexpr auto kEngineMethods = Script::MakeMethods<28>(
    Method<&EngineSetMaximumInterpolationValue>("SetMaximumInterpolationValue"),
    Method<&EngineGetMaximumInterpolationValue>("GetMaximumInterpolationValue"),
    Method<&EngineObjectInCollision>("ObjectInCollision"),
    Method<&EngineSetObjectZCollision>("SetObjectZCollision"),
    Method<&EngineGetObjectZCollision>("GetObjectZCollision"),
    Method<&EngineSetDynamicObjectCanCollid>("SetDynamicObjectCanCollid"),
    Method<&EngineGetDynamicObjectCanCollid>("GetDynamicObjectCanCollid"),
    Method<&EngineSetDynamicObjectCollisionType>("SetDynamicObjectCollisionType"),
    Method<&EngineGetDynamicObjectCollisionType>("GetDynamicObjectCollisionType"),
    Method<&EngineSetDynamicObjectUpdateOnIdle>("SetDynamicObjectUpdateOnIdle"),
    Method<&EngineGetDynamicObjectUpdateOnIdle>("GetDynamicObjectUpdateOnIdle"),
    Method<&EngineSetDynamicObjectCollisionThickness>("SetDynamicObjectCollisionThickness"),
    Method<&EngineGetDynamicObjectCollisionThickness>("GetDynamicObjectCollisionThickness"),
    Method<&EngineSetDynamicObjectBoundingRectangleCheckingTileMap>(
        "SetDynamicObjectBoundingRectangleCheckingTileMap"),
    Method<&EngineGetDynamicObjectBoundingRectangleCheckingTileMap>(
        "GetDynamicObjectBoundingRectangleCheckingTileMap"),
    Method<&EngineGetStaticLineSegments>("GetStaticLineSegments"),
    Method<&EngineGetStaticCircles>("GetStaticCircles"),
    Method<&EngineGetStaticLineSegmentsNumber>("GetStaticLineSegmentsNumber"),
    Method<&EngineGetStaticCirclesNumber>("GetStaticCirclesNumber"),
    Method<&EngineSetObjectBoundingRectangle>("SetObjectBoundingRectangle"),
    Method<&EngineGetObjectBoundingRectangle>("GetObjectBoundingRectangle"),
    Method<&EngineGetCurrentObjectBoundingRectangle>("GetCurrentObjectBoundingRectangle"),
    Method<&EngineDynamicObjectShapes<&PushFrameLineSegments>>("GetDynamicObjectLineSegments"),
    Method<&EngineDynamicObjectShapes<&PushFrameCircles>>("GetDynamicObjectCircles"),
    Method<&EngineDynamicObjectShapes<&PushFrameHotSpotPoints>>("GetDynamicObjectHotSpots"),
    Method<&EngineDynamicObjectShapes<&PushCurrentLineSegments>>("GetCurrentDynamicObjectLineSegments"),
    Method<&EngineDynamicObjectShapes<&PushCurrentCircles>>("GetCurrentDynamicObjectCircles"),
    Method<&EngineDynamicObjectShapes<&PushCurrentHotSpots>>("GetCurrentDynamicObjectHotSpots"));
const Script::MethodTableRegistrar g_engineTable(CollisionEngine::ScriptTypeName, kEngineMethods);

// --- CollisionLayer ---------------------------------------------------------------------

int LayerGetLineSegments(CollisionLayer& layer, lua_State* state)
{
    return PushStaticLineSegments(state, layer);
}

int LayerGetCircles(CollisionLayer& layer, lua_State* state)
{
    return PushStaticCircles(state, layer);
}

int LayerGetLineSegmentsNumber(CollisionLayer& layer, lua_State* state)
{
    return PushInteger(state, layer.GetCount(CollisionLayer::StaticLineSegments));
}

int LayerGetCirclesNumber(CollisionLayer& layer, lua_State* state)
{
    return PushInteger(state, layer.GetCount(CollisionLayer::StaticCircles));
}

constexpr auto kLayerMethods = Script::MakeMethods<4>(
    Method<&LayerGetLineSegments>("GetLineSegments"), Method<&LayerGetCircles>("GetCircles"),
    Method<&LayerGetLineSegmentsNumber>("GetLineSegmentsNumber"),
    Method<&LayerGetCirclesNumber>("GetCirclesNumber"));
const Script::MethodTableRegistrar g_layerTable(CollisionLayer::ScriptTypeName, kLayerMethods);

// --- DynamicObject ----------------------------------------------------------------------

int ObjectSetZCollision(DynamicObject& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        object.SetZCollision(DynamicObject::ZCollisionFromScript(lua_tonumber(state, 1)));
    }
    return 0;
}

int ObjectAddCollisionData(DynamicObject& object, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    if (CollisionActor* actor = ToUserdata<CollisionActor>(state, 1))
    {
        const std::uint32_t animation = Needs(state, 2) ? ToUInt32(state, 2) : 0;
        const std::uint32_t frame = Needs(state, 3) ? ToUInt32(state, 3) : 0;
        object.AddCollisionData(actor, animation, frame);
    }
    return 0;
}

// Sets the rectangle of the frame the object shows, which every object
// showing that frame of the actor shares.
int ObjectSetBoundingRectangle(DynamicObject& object, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    CollisionFrame* frame = object.GetCurrentFrame();
    const ZibRect* rectangle = ToUserdata<ZibRect>(state, 1);
    if (frame != nullptr && rectangle != nullptr)
    {
        frame->SetBoundingRectangle(*rectangle, !Needs(state, 2) || ToFlag(state, 2));
    }
    return 0;
}

int ObjectSetCollisionType(DynamicObject& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        object.SetCollisionType(ToFlag(state, 1) ? 1 : 0);
    }
    return 0;
}

int ObjectSetCanCollid(DynamicObject& object, lua_State* state)
{
    if (Needs(state, 2))
    {
        object.SetCanCollid(ToLowByte(state, 1), ToFlag(state, 2));
    }
    return 0;
}

int ObjectSetCollisionActor(DynamicObject& object, lua_State* state)
{
    if (!Needs(state, 3))
    {
        return 0;
    }
    if (CollisionActor* actor = ToUserdata<CollisionActor>(state, 1))
    {
        object.SetCollisionActor(actor, ToUInt32(state, 2), ToUInt32(state, 3));
    }
    return 0;
}

int ObjectSetCurrentCollisionFrame(DynamicObject& object, lua_State* state)
{
    if (Needs(state, 4))
    {
        object.SetCurrentCollisionFrame(ToUInt32(state, 1), ToUInt32(state, 2), ToFlag(state, 3),
                                        ToFlag(state, 4));
    }
    return 0;
}

int ObjectGetCurrentHotSpot(DynamicObject& object, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    LuaPushPoint2D(state, object.GetCurrentHotSpot(ToLowByte(state, 1)));
    return 1;
}

int ObjectGetBoundingRectangle(DynamicObject& object, lua_State* state)
{
    return PushCopy(state, object.GetFrameRectangle());
}

int ObjectGetBoundingRectangleCheckingTileMap(DynamicObject& object, lua_State* state)
{
    return PushBoolean(state, object.GetBoundingRectangleCheckingTileMap());
}

int ObjectGetCanCollid(DynamicObject& object, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    return PushBoolean(state, object.GetCanCollid(ToLowByte(state, 1)));
}

int ObjectGetCurrentBoundingRectangle(DynamicObject& object, lua_State* state)
{
    return PushCopy(state, object.GetCurrentBoundingRectangle());
}

// A method of the object that pushes a table of its shapes.
template <int (*Push)(lua_State*, const DynamicObject&)>
int ObjectShapes(DynamicObject& object, lua_State* state)
{
    return Push(state, object);
}

constexpr auto kDynamicObjectMethods = Script::MakeMethods<25>(
    Method<&ObjectSetZCollision>("SetZCollision"),
    Method<&ArgumentSetter<DynamicObject, &DynamicObject::SetPosition, &LuaToPoint2D>>("SetPosition"),
    Method<&ArgumentSetter<DynamicObject, &DynamicObject::SetOldPosition, &LuaToPoint2D>>("SetOldPosition"),
    Method<&ArgumentSetter<DynamicObject, &DynamicObject::SetOrientation, &ToFloat>>("SetOrientation"),
    Method<&ArgumentSetter<DynamicObject, &DynamicObject::SetOldOrientation, &ToFloat>>("SetOldOrientation"),
    Method<&ArgumentSetter<DynamicObject, &DynamicObject::SetUpdateOnIdle, &ToFlag>>("SetUpdateOnIdle"),
    Method<&ObjectAddCollisionData>("AddCollisionData"),
    Method<&ObjectSetBoundingRectangle>("SetBoundingRectangle"),
    Method<&ObjectSetCollisionType>("SetCollisionType"), Method<&ObjectSetCanCollid>("SetCanCollid"),
    Method<&ObjectSetCollisionActor>("SetCollisionActor"),
    Method<&ObjectSetCurrentCollisionFrame>("SetCurrentCollisionFrame"),
    Method<&ArgumentSetter<DynamicObject, &DynamicObject::SetCollisionThickness, &ToFloat>>(
        "SetCollisionThickness"),
    Method<&ArgumentSetter<DynamicObject, &DynamicObject::SetBoundingRectangleCheckingTileMap, &ToFlag>>(
        "SetBoundingRectangleCheckingTileMap"),
    Method<&ObjectGetCurrentHotSpot>("GetCurrentHotSpot"),
    Method<&ObjectGetBoundingRectangle>("GetBoundingRectangle"),
    Method<&ObjectGetBoundingRectangleCheckingTileMap>("GetBoundingRectangleCheckingTileMap"),
    Method<&ObjectGetCanCollid>("GetCanCollid"), Method<&ObjectShapes<&PushFrameCircles>>("GetCircles"),
    Method<&ObjectShapes<&PushFrameLineSegments>>("GetLineSegments"),
    Method<&ObjectShapes<&PushFrameHotSpots>>("GetHotSpots"),
    Method<&ObjectGetCurrentBoundingRectangle>("GetCurrentBoundingRectangle"),
    Method<&ObjectShapes<&PushCurrentCircles>>("GetCurrentCircles"),
    Method<&ObjectShapes<&PushCurrentLineSegments>>("GetCurrentLineSegments"),
    Method<&ObjectShapes<&PushCurrentHotSpots>>("GetCurrentHotSpots"));
const Script::MethodTableRegistrar g_dynamicObjectTable(DynamicObject::ScriptTypeName, kDynamicObjectMethods);

} // namespace
