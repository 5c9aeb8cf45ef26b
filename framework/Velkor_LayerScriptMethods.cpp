// The "Layer" script method table. Conventions: Velkor_ScriptSupport.h.
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionLayer.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_NetPlayer.h"
#include "framework/Velkor_ScriptSupport.h"

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;

int SetScale(Layer& layer, lua_State* state)
{
    if (Needs(state, 2))
    {
        layer.SetScale(ToFloat(state, 1), ToFloat(state, 2));
    }
    return 0;
}

int GetScale(Layer& layer, lua_State* state)
{
    return PushVector(state, {layer.GetScaleX(), layer.GetScaleY()});
}

int GetLayerCollision(Layer& layer, lua_State* state)
{
    Collision2D::CollisionEngine* collision = GameCollision();
    return PushObjectOrNothing(
        state, collision != nullptr ? collision->GetLayer(layer.GetCollisionLayerIndex()) : nullptr);
}

ZibPlayer* OptionalPlayer(lua_State* state, int index)
{
    return Needs(state, index) ? Script::ToObject<ZibPlayer>(state, index, ZibPlayer::ScriptTypeName)
                               : nullptr;
}

int AddGameObject(Layer& layer, lua_State* state)
{
    if (GameObject* object = Needs(state, 1) ? ToObjectOf<GameObject>(state, 1) : nullptr)
    {
        layer.AddGameObject(object, Needs(state, 2) && ToFlag(state, 2), OptionalPlayer(state, 3));
    }
    return 0;
}

int AddNetworkGameObject(Layer& layer, lua_State* state)
{
    std::string className;
    if (!Needs(state, 1) || lua_type(state, 1) != LUA_TSTRING || !ToText(state, 1, className))
    {
        return 0;
    }
    return PushObjectOrNothing(state, layer.AddNetworkGameObject(className, OptionalPlayer(state, 2)));
}

int RemoveGameObject(Layer& layer, lua_State* state)
{
    if (GameObject* object = Needs(state, 1) ? ToObjectOf<GameObject>(state, 1) : nullptr)
    {
        layer.RemoveGameObject(object);
    }
    return 0;
}

// (point, radius, z [, user id]) a static circle; (point, point, z [, user
// id]) a static line segment.
int AddCollisionData(Layer& layer, lua_State* state)
{
    if (!Needs(state, 3) || !IsTable(state, 1))
    {
        return 0;
    }
    const Math::Vector2D first = ToPoint(state, 1);
    const std::uint8_t z = ToLowByte(state, 3);
    const std::uint32_t userId = Needs(state, 4) ? ToUInt32(state, 4) : 0;
    if (IsNumber(state, 2))
    {
        layer.AddStaticCircle(first, ToFloat(state, 2), z, userId);
    }
    else if (IsTable(state, 2))
    {
        layer.AddStaticLineSegment(first, ToPoint(state, 2), z, userId);
    }
    return 0;
}

int ReadInformation_StaticCollision(Layer& layer, lua_State* state)
{
    std::string path;
    if (Needs(state, 1) && ToText(state, 1, path))
    {
        layer.ReadInformation_StaticCollision(path);
    }
    return 0;
}

int SetCollisionProperties(Layer& layer, lua_State* state)
{
    if (Needs(state, 3) && IsTable(state, 1))
    {
        layer.SetCollisionProperties(ToPoint(state, 1), ToInt32(state, 2), ToInt32(state, 3), 100);
    }
    return 0;
}

int GetCollisionId(Layer& layer, lua_State* state)
{
    return PushUnsigned(state, layer.GetCollisionLayerIndex());
}

int GetGameObjects(Layer& layer, lua_State* state)
{
    Layer::ObjectList objects;
    layer.GetGameObjects(objects);
    return PushObjectTable(state, objects);
}

int GetGameObjectsCount(Layer& layer, lua_State* state)
{
    return PushUnsigned(state, static_cast<std::uint32_t>(layer.GetGameObjectsCount()));
}

constexpr auto kLayerMethods = Script::MakeMethods<27>(
    Method<&TextSetter<Layer, &Layer::SetName>>("SetName"),
    Method<&TextGetter<Layer, &Layer::GetName>>("GetName"),
    Method<&NumberSetter<Layer, &Layer::SetZOrder>>("SetZOrder"),
    Method<&NumberGetter<Layer, &Layer::GetZOrder>>("GetZOrder"), Method<&SetScale>("SetScale"),
    Method<&GetScale>("GetScale"), Method<&NumberSetter<Layer, &Layer::SetRotation>>("SetRotation"),
    Method<&NumberGetter<Layer, &Layer::GetRotation>>("GetRotation"),
    Method<&UnsignedGetter<Layer, &Layer::GetIndex>>("GetIndex"),
    Method<&GetLayerCollision>("GetLayerCollision"), Method<&AddGameObject>("AddGameObject"),
    Method<&AddNetworkGameObject>("AddNetworkGameObject"), Method<&RemoveGameObject>("RemoveGameObject"),
    Method<&AddCollisionData>("AddCollisionData"),
    Method<&ReadInformation_StaticCollision>("ReadInformation_StaticCollision"),
    Method<&SetCollisionProperties>("SetCollisionProperties"), Method<&GetCollisionId>("GetCollisionId"),
    Method<&GetGameObjects>("GetGameObjects"), Method<&GetGameObjectsCount>("GetGameObjectsCount"),
    Method<&FlagSetter<Layer, &Layer::SetVisibleCollisionData>>("SetVisibleCollisionData"),
    Method<&FlagGetter<Layer, &Layer::GetVisibleCollisionData>>("GetVisibleCollisionData"),
    Method<&ColorSetter<Layer, &Layer::SetCollisionDataColor>>("SetCollisionDataColor"),
    Method<&ColorGetter<Layer, &Layer::GetCollisionDataColor>>("GetCollisionDataColor"),
    Method<&FlagSetter<Layer, &Layer::SetVisibleCollisionData>>("SetVisibleLayerPartition"),
    Method<&FlagGetter<Layer, &Layer::GetVisibleCollisionData>>("GetVisibleLayerPartition"),
    Method<&ColorSetter<Layer, &Layer::SetLayerPartitionColor>>("SetLayerPartitionColor"),
    Method<&ColorGetter<Layer, &Layer::GetLayerPartitionColor>>("GetLayerPartitionColor"));
const Script::MethodTableRegistrar g_layerTable(Layer::ScriptTypeName, kLayerMethods);

} // namespace
