// The "GameObject" script methods of identity, mounting, pose and look, and
// the table itself. Conventions: Velkor_ScriptSupport.h.
#include "framework/Velkor_GameObjectScriptMethods.h"

#include "framework/Velkor_Layer.h"
#include "framework/Velkor_ScriptSupport.h"
#include "math/Math_Constants.h"

#include <cmath>

namespace Velkor::GameObjectScript
{

using namespace Velkor::ScriptSupport;

int ObjectFunction(Object& object, lua_State* state)
{
    return object.GetScriptAttachment().ObjectFunction(state);
}

int AddManagedObject(Object& object, lua_State* state)
{
    return ScriptSupport::AddManagedObject<GameObject, GameObject>(object, state);
}

int Mount(Object& object, lua_State* state)
{
    if (GameObject* child = Needs(state, 1) ? ToObjectOf<GameObject>(state, 1) : nullptr)
    {
        object.Mount(child);
    }
    return 0;
}

int UnMount(Object& object, lua_State* state)
{
    if (GameObject* child = Needs(state, 1) ? ToObjectOf<GameObject>(state, 1) : nullptr)
    {
        object.UnMount(child);
    }
    return 0;
}

int GetMount(Object& object, lua_State* state)
{
    if (!Needs(state, 1) || !IsNumber(state, 1))
    {
        return 0;
    }
    const lua_Number index = lua_tonumber(state, 1);
    const std::vector<GameObject*>& children = object.GetMountedChildren();
    if (!(index >= 0.0 && index < static_cast<lua_Number>(children.size())))
    {
        return 0;
    }
    Script::PushObject(state, children[static_cast<std::size_t>(index)], GameObject::ScriptTypeName);
    return 1;
}

int GetMountsCount(Object& object, lua_State* state)
{
    return PushUnsigned(state, static_cast<std::uint32_t>(object.GetMountedChildren().size()));
}

int IsMounted(Object& object, lua_State* state)
{
    return PushBoolean(state, object.GetMountSupport() != nullptr);
}

int GetMountSupport(Object& object, lua_State* state)
{
    return PushObjectOrNil(state, object.GetMountSupport());
}

int GetLayer(Object& object, lua_State* state)
{
    Script::PushObject(state, object.GetLayer(), Layer::ScriptTypeName);
    return 1;
}

int SetName(Object& object, lua_State* state)
{
    return TextSetter<GameObject, &GameObject::SetName>(object, state);
}

int GetName(Object& object, lua_State* state)
{
    return PushText(state, object.GetName());
}

int GetID(Object& object, lua_State* state)
{
    return PushUnsigned(state, object.GetID());
}

int SetLifeTime(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetLifeTime>(object, state);
}

int GetLifeTime(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetLifeTime());
}

int GetAge(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetAge());
}

int ResetAge(Object& object, lua_State*)
{
    object.ResetAge();
    return 0;
}

int SetVisible(Object& object, lua_State* state)
{
    return FlagSetter<GameObject, &GameObject::SetVisible>(object, state);
}

int GetVisible(Object& object, lua_State* state)
{
    return PushBoolean(state, object.GetVisible());
}

int Destroy(Object& object, lua_State*)
{
    object.Destroy();
    return 0;
}

int IsDestroyed(Object& object, lua_State* state)
{
    return PushBoolean(state, object.IsDestroyed());
}

// (x, y) or a point table; nothing with neither.
bool PositionArguments(lua_State* state, Math::Vector2D& position)
{
    if (Needs(state, 1) && IsTable(state, 1))
    {
        position = ToPoint(state, 1);
        return true;
    }
    if (Needs(state, 2))
    {
        position = {ToFloat(state, 1), ToFloat(state, 2)};
        return true;
    }
    return false;
}

int SetPosition(Object& object, lua_State* state)
{
    Math::Vector2D position;
    if (PositionArguments(state, position))
    {
        object.SetPosition(position);
    }
    return 0;
}

int SetPositionX(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetPositionX>(object, state);
}

int SetPositionY(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetPositionY>(object, state);
}

int GetPosition(Object& object, lua_State* state)
{
    return PushPoint(state, object.GetPosition());
}

int GetPositionX(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetPositionX());
}

int GetPositionY(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetPositionY());
}

int SetOldPosition(Object& object, lua_State* state)
{
    Math::Vector2D position;
    if (PositionArguments(state, position))
    {
        object.SetOldPosition(position);
    }
    return 0;
}

int SetZOrder(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetZOrder>(object, state);
}

int GetZOrder(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetZOrder());
}

int SetRotationAngle(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetRotationAngle>(object, state);
}

int SetOldRotationAngle(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetOldRotationAngle>(object, state);
}

int GetRotationAngle(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetRotationAngle());
}

int SetDirection(Object& object, lua_State* state)
{
    if (Needs(state, 1) && IsTable(state, 1))
    {
        const Math::Vector2D direction = ToPoint(state, 1);
        object.SetRotationAngle(std::atan2(direction.y, direction.x) * Math::RadiansToDegrees);
    }
    return 0;
}

int SetDirectionX(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetDirectionX>(object, state);
}

int SetDirectionY(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetDirectionY>(object, state);
}

Math::Vector2D Direction(const GameObject& object)
{
    const float radians = object.GetRotationAngle() * Math::DegreesToRadians;
    return {std::cos(radians), std::sin(radians)};
}

int GetDirection(Object& object, lua_State* state)
{
    return PushVector(state, Direction(object));
}

int GetDirectionX(Object& object, lua_State* state)
{
    return PushNumber(state, Direction(object).x);
}

int GetDirectionY(Object& object, lua_State* state)
{
    return PushNumber(state, Direction(object).y);
}

int SetScale(Object& object, lua_State* state)
{
    if (Needs(state, 2))
    {
        object.SetScale(ToFloat(state, 1), ToFloat(state, 2));
    }
    return 0;
}

int SetScaleX(Object& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        object.SetScale(ToFloat(state, 1), object.GetScaleY());
    }
    return 0;
}

int SetScaleY(Object& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        object.SetScale(object.GetScaleX(), ToFloat(state, 1));
    }
    return 0;
}

int GetScale(Object& object, lua_State* state)
{
    return PushVector(state, {object.GetScaleX(), object.GetScaleY()});
}

int GetScaleX(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetScaleX());
}

int GetScaleY(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetScaleY());
}

int SetCenter(Object& object, lua_State* state)
{
    if (Needs(state, 1) && IsTable(state, 1))
    {
        object.SetCenter(ToPoint(state, 1));
    }
    return 0;
}

int SetCenterX(Object& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        object.SetCenter({ToFloat(state, 1), object.GetCenter().y});
    }
    return 0;
}

int SetCenterY(Object& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        object.SetCenter({object.GetCenter().x, ToFloat(state, 1)});
    }
    return 0;
}

int GetCenter(Object& object, lua_State* state)
{
    return PushPoint(state, object.GetCenter());
}

int GetCenterX(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetCenter().x);
}

int GetCenterY(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetCenter().y);
}

int SetModulationColor(Object& object, lua_State* state)
{
    return ColorSetter<GameObject, &GameObject::SetModulationColor>(object, state);
}

// One channel of the modulation colour; the others stay.
template <int Channel> int SetModulationChannel(Object& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        Math::Vector4 color = object.GetModulationColor();
        float* channels[] = {&color.x, &color.y, &color.z};
        *channels[Channel] = ToFloat(state, 1);
        object.SetModulationColor(color.x, color.y, color.z, color.w);
    }
    return 0;
}

int SetModulationR(Object& object, lua_State* state)
{
    return SetModulationChannel<0>(object, state);
}

int SetModulationG(Object& object, lua_State* state)
{
    return SetModulationChannel<1>(object, state);
}

int SetModulationB(Object& object, lua_State* state)
{
    return SetModulationChannel<2>(object, state);
}

int GetModulationColor(Object& object, lua_State* state)
{
    return PushColor(state, object.GetModulationColor());
}

int GetModulationR(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetModulationColor().x);
}

int GetModulationG(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetModulationColor().y);
}

int GetModulationB(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetModulationColor().z);
}

int SetOpacity(Object& object, lua_State* state)
{
    return NumberSetter<GameObject, &GameObject::SetOpacity>(object, state);
}

int GetOpacity(Object& object, lua_State* state)
{
    return PushNumber(state, object.GetOpacity());
}

namespace
{
const Script::MethodTableRegistrar g_table(GameObject::ScriptTypeName, kMethods);
}

} // namespace Velkor::GameObjectScript
