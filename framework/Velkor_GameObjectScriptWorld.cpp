// The "GameObject" script methods that reach the collision world, the
// physics engine, the network layer and the object's own script.
// Conventions: Velkor_ScriptSupport.h.
#include "framework/Velkor_GameObjectScriptMethods.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_File.h"
#include "collision/Collision_TileMap.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_NetPlayer.h"
#include "framework/Velkor_ScriptSupport.h"
#include "framework/Velkor_ScriptValues.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_Forces.h"
#include "physics/Physics_MassProperties.h"

namespace Velkor::GameObjectScript
{

using namespace Velkor::ScriptSupport;

namespace
{

// The collision object a script hands over: a dynamic object or a tile map.
Collision2D::MainCollisionObject* ToCollisionObject(lua_State* state, int index)
{
    if (auto* dynamic = Script::ToObject<Collision2D::DynamicObject>(
            state, index, Collision2D::DynamicObject::ScriptTypeName))
    {
        return dynamic;
    }
    return Script::ToObject<Collision2D::TileMap>(state, index, Collision2D::TileMap::ScriptTypeName);
}

Physics2D::MassProperties* ToMassProperties(lua_State* state, int index)
{
    return Script::ToObject<Physics2D::MassProperties>(state, index,
                                                       Physics2D::MassProperties::ScriptTypeName);
}

Physics2D::Force* ToForce(lua_State* state, int index)
{
    for (const char* typeName : {"Force", "ConstantForce", "GravityForce", "DragForce"})
    {
        if (auto* force = Script::ToObject<Physics2D::Force>(state, index, typeName))
        {
            return force;
        }
    }
    return nullptr;
}

} // namespace

int AddCollision(Object& object, lua_State* state)
{
    Collision2D::MainCollisionObject* collision = Needs(state, 2) ? ToCollisionObject(state, 1) : nullptr;
    if (collision != nullptr && !object.HasCollision())
    {
        object.AddCollision(collision, ToLowByte(state, 2));
    }
    return 0;
}

int RemoveCollision(Object& object, lua_State*)
{
    if (Game::GetInstance() != nullptr)
    {
        object.RemoveCollision();
    }
    return 0;
}

int ObjectInCollision(Object& object, lua_State* state)
{
    return PushBoolean(state, object.ObjectInCollision());
}

int GetCollisionId(Object& object, lua_State* state)
{
    return PushUnsigned(state, object.GetCollisionId());
}

int GetCollisionObject(Object& object, lua_State* state)
{
    Script::PushObject(state, object.GetDynamicCollisionObject(), Collision2D::DynamicObject::ScriptTypeName);
    return 1;
}

int GetTileMapCollisionObject(Object& object, lua_State* state)
{
    return PushObjectOrNil(state, object.GetTileMapCollisionObject());
}

int AddPhysicalProperties(Object& object, lua_State* state)
{
    const Physics2D::MassProperties* mass = Needs(state, 2) ? ToMassProperties(state, 1) : nullptr;
    if (mass == nullptr)
    {
        return 0;
    }
    return PushBoolean(state, object.AddPhysicalProperties(*mass, ToUInt32(state, 2)));
}

int RemovePhysicalProperties(Object& object, lua_State* state)
{
    return PushBoolean(state, object.RemovePhysicalProperties());
}

int SetMassProperties(Object& object, lua_State* state)
{
    if (const Physics2D::MassProperties* mass = Needs(state, 1) ? ToMassProperties(state, 1) : nullptr)
    {
        object.SetMassProperties(*mass);
    }
    return 0;
}

int GetMassProperties(Object& object, lua_State* state)
{
    Physics2D::MassProperties mass;
    object.GetMassProperties(mass);
    Script::PushOwnedCopy(state, mass, Physics2D::MassProperties::ScriptTypeName);
    return 1;
}

int GetCenterOfMass(Object& object, lua_State* state)
{
    Math::Vector2D center;
    return object.GetCenterOfMass(center) ? PushPoint(state, center) : 0;
}

int SetVelocity(Object& object, lua_State* state)
{
    if (!Needs(state, 1) || !IsTable(state, 1))
    {
        return 0;
    }
    return PushBoolean(state, object.SetVelocity(ToPoint(state, 1)));
}

int GetVelocity(Object& object, lua_State* state)
{
    Math::Vector2D velocity;
    return object.GetVelocity(velocity) ? PushVector(state, velocity) : 0;
}

int SetAngularVelocity(Object& object, lua_State* state)
{
    return Needs(state, 1) ? PushBoolean(state, object.SetAngularVelocity(ToFloat(state, 1))) : 0;
}

int GetAngularVelocity(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetAngularVelocity());
}

int SetSpeed(Object& object, lua_State* state)
{
    return Needs(state, 1) ? PushBoolean(state, object.SetSpeed(ToFloat(state, 1))) : 0;
}

int GetSpeed(Object& object, lua_State* state)
{
    Math::Vector2D velocity;
    return PushNumber(state, object.GetVelocity(velocity) ? velocity.Length() : 0.0f);
}

int SetVelocityDirection(Object& object, lua_State* state)
{
    if (!Needs(state, 1) || !IsTable(state, 1))
    {
        return 0;
    }
    return PushBoolean(state, object.SetVelocityDirection(ToPoint(state, 1)));
}

int GetVelocityDirection(Object& object, lua_State* state)
{
    Math::Vector2D velocity;
    if (!object.GetVelocity(velocity))
    {
        return 0;
    }
    velocity.Normalize();
    return PushVector(state, velocity);
}

int AddForce(Object& object, lua_State* state)
{
    Physics2D::Force* force = Needs(state, 1) ? ToForce(state, 1) : nullptr;
    return force != nullptr ? PushBoolean(state, object.AddForce(force) != Physics2D::Forces::InvalidId) : 0;
}

int RemoveForce(Object& object, lua_State* state)
{
    return Needs(state, 1) ? PushBoolean(state, object.RemoveForce(ToUInt32(state, 1))) : 0;
}

int RemoveAllForces(Object& object, lua_State*)
{
    object.RemoveAllForces();
    return 0;
}

int GetPhysicsId(Object& object, lua_State* state)
{
    return PushUnsigned(state, object.GetPhysicsId());
}

int GetNetworkKeyboard(Object& object, lua_State* state)
{
    return PushObjectOrNil(state, object.GetNetworkKeyboard());
}

int GetNetworkMouse(Object& object, lua_State* state)
{
    return PushObjectOrNil(state, object.GetNetworkMouse());
}

int GetNetworkOwner(Object& object, lua_State* state)
{
    const Game* game = Game::GetInstance();
    const Core::RefPtr<NetObjectID>& id = object.GetNetworkID();
    if (!id || game == nullptr || game->GetNetworkEngine() == nullptr)
    {
        return 0;
    }
    return PushObjectOrNothing(state, game->GetNetworkEngine()->FindPlayerByID(id->GetOwnerID()));
}

int ChangeNetworkOwner(Object& object, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    auto* player = Script::ToObject<ZibPlayer>(state, 1, ZibPlayer::ScriptTypeName);
    return PushBoolean(state, object.ChangeNetworkOwner(player));
}

int SetScript(Object& object, lua_State* state)
{
    std::string file;
    if (Needs(state, 1) && ToText(state, 1, file))
    {
        object.GetScriptAttachment().SetFile(file);
    }
    return 0;
}

int RunScript(Object& object, lua_State*)
{
    object.LoadScript(false);
    return 0;
}

int SaveNetworkData(Object& object, lua_State* state)
{
    if (object.GetNetworkDataFile() != nullptr && Needs(state, 1))
    {
        WriteScriptValues(*object.GetNetworkDataFile(), state, 1, lua_gettop(state));
    }
    return 0;
}

int LoadNetworkData(Object& object, lua_State* state)
{
    std::vector<ScriptValue> values;
    Core::File* file = object.GetNetworkDataFile();
    if (file == nullptr)
    {
        return 0;
    }
    if (!ReadScriptValues(*file, values))
    {
        // The record the list lies in cannot be read on past it.
        file->SetError(Core::FileError::BadData);
        return 0;
    }
    return PushScriptValues(state, values);
}

int Clone(Object& object, lua_State* state)
{
    auto* clone = dynamic_cast<GameObject*>(object.Clone());
    if (clone == nullptr)
    {
        return 0;
    }
    clone->FinishScriptClone(object);
    PushHeld(state, clone);
    return 1;
}

} // namespace Velkor::GameObjectScript
