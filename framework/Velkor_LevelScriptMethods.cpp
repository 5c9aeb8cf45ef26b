// The "Level" and "Viewport" script method tables. Conventions:
// Velkor_ScriptSupport.h.
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_ScriptSupport.h"
#include "framework/Velkor_Viewport.h"

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;

// --- Level --------------------------------------------------------------------------

int LevelObjectFunction(Level& level, lua_State* state)
{
    return level.GetScriptAttachment().ObjectFunction(state);
}

int LevelAddLayer(Level& level, lua_State* state)
{
    if (Layer* layer = Needs(state, 1) ? Script::ToObject<Layer>(state, 1, Layer::ScriptTypeName) : nullptr)
    {
        level.AddLayer(layer);
    }
    return 0;
}

// By index (a number) or by name (a string); nothing past the count or for
// a name nobody has.
template <class T, T* (Level::*ByIndex)(std::uint32_t) const, T* (Level::*ByName)(const std::string&) const>
int LevelGetByIndexOrName(Level& level, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    if (IsNumber(state, 1))
    {
        const lua_Number index = lua_tonumber(state, 1);
        return index >= 0.0 ? PushObjectOrNothing(state, (level.*ByIndex)(ToUInt32(state, 1))) : 0;
    }
    std::string name;
    return ToText(state, 1, name) ? PushObjectOrNothing(state, (level.*ByName)(name)) : 0;
}

template <void (Level::*Change)(Viewport*)> int LevelChangeViewport(Level& level, lua_State* state)
{
    if (Viewport* viewport =
            Needs(state, 1) ? Script::ToObject<Viewport>(state, 1, Viewport::ScriptTypeName) : nullptr)
    {
        (level.*Change)(viewport);
    }
    return 0;
}

int LevelCreateJukeBox(Level& level, lua_State* state)
{
    if (JukeBox* jukeBox =
            Needs(state, 1) ? Script::ToObject<JukeBox>(state, 1, JukeBox::ScriptTypeName) : nullptr)
    {
        level.SetJukeBox(jukeBox);
    }
    return 0;
}

int LevelGetJukeBox(Level& level, lua_State* state)
{
    return PushObjectOrNil(state, level.GetJukeBox());
}

int LevelGetGameObjects(Level& level, lua_State* state)
{
    std::vector<Core::RefPtr<GameObject>> objects;
    std::string name;
    if (Needs(state, 1) && ToText(state, 1, name))
    {
        level.GetGameObjectsByName(name, objects);
    }
    else
    {
        level.GetGameObjects(objects);
    }
    return PushObjectTable(state, objects);
}

int LevelGetGameObjectsByName(Level& level, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1) || !ToText(state, 1, name))
    {
        return 0;
    }
    std::vector<Core::RefPtr<GameObject>> objects;
    level.GetGameObjectsByName(name, objects);
    return PushObjectTable(state, objects);
}

int LevelRunScript(Level& level, lua_State*)
{
    level.RunScript();
    return 0;
}

constexpr auto kLevelMethods = Script::MakeMethods<21>(
    Method<&LevelObjectFunction>("ObjectFunction"),
    Method<&AddManagedObject<Level, Core::Object>>("AddManagedObject"),
    Method<&TextSetter<Level, &Level::SetName>>("SetName"),
    Method<&TextGetter<Level, &Level::GetName>>("GetName"), Method<&LevelAddLayer>("AddLayer"),
    Method<&UnsignedGetter<Level, &Level::GetLayersCount>>("GetLayersCount"),
    Method<&LevelGetByIndexOrName<Layer, &Level::GetLayer, &Level::GetLayerByName>>("GetLayer"),
    Method<&LevelChangeViewport<&Level::AddViewport>>("AddViewport"),
    Method<&LevelChangeViewport<&Level::RemoveViewport>>("RemoveViewport"),
    Method<&UnsignedGetter<Level, &Level::GetViewportsCount>>("GetViewportsCount"),
    Method<&LevelGetByIndexOrName<Viewport, &Level::GetViewport, &Level::GetViewportByName>>("GetViewport"),
    Method<&LevelCreateJukeBox>("CreateJukeBox"), Method<&LevelGetJukeBox>("GetJukeBox"),
    Method<&FlagSetter<Level, &Level::SetClearBackBuffer>>("SetClearBackBuffer"),
    Method<&FlagGetter<Level, &Level::GetClearBackBuffer>>("GetClearBackBuffer"),
    Method<&ColorSetter<Level, &Level::SetClearColor>>("SetClearColor"),
    Method<&ColorGetter<Level, &Level::GetClearColor>>("GetClearColor"),
    Method<&LevelGetGameObjects>("GetGameObjects"),
    Method<&LevelGetGameObjectsByName>("GetGameObjectsByName"),
    Method<&TextSetter<Level, &Level::SetScriptFile>>("SetScript"), Method<&LevelRunScript>("RunScript"));
const Script::MethodTableRegistrar g_levelTable(Level::ScriptTypeName, kLevelMethods);

// --- Viewport -----------------------------------------------------------------------

std::int32_t PositionX(const Viewport& viewport)
{
    return static_cast<std::int32_t>(viewport.GetPosition().x);
}

std::int32_t PositionY(const Viewport& viewport)
{
    return static_cast<std::int32_t>(viewport.GetPosition().y);
}

int ViewportSet(Viewport& viewport, lua_State* state)
{
    if (Needs(state, 4))
    {
        viewport.SetRectangle(ToInt32(state, 1), ToInt32(state, 2), ToInt32(state, 3), ToInt32(state, 4));
    }
    return 0;
}

int ViewportGet(Viewport& viewport, lua_State* state)
{
    PushInteger(state, PositionX(viewport));
    PushInteger(state, PositionY(viewport));
    PushInteger(state, viewport.GetWidth());
    return 3 + PushInteger(state, viewport.GetHeight());
}

int ViewportSetWidth(Viewport& viewport, lua_State* state)
{
    if (Needs(state, 1))
    {
        viewport.SetRectangle(PositionX(viewport), PositionY(viewport), ToInt32(state, 1),
                              viewport.GetHeight());
    }
    return 0;
}

int ViewportSetHeight(Viewport& viewport, lua_State* state)
{
    if (Needs(state, 1))
    {
        viewport.SetRectangle(PositionX(viewport), PositionY(viewport), viewport.GetWidth(),
                              ToInt32(state, 1));
    }
    return 0;
}

void MoveViewport(Viewport& viewport, std::int32_t x, std::int32_t y)
{
    viewport.SetRectangle(x, y, viewport.GetWidth(), viewport.GetHeight());
}

int ViewportSetPosition(Viewport& viewport, lua_State* state)
{
    if (Needs(state, 1) && IsTable(state, 1))
    {
        const Math::Vector2D position = ToPoint(state, 1);
        MoveViewport(viewport, static_cast<std::int32_t>(position.x), static_cast<std::int32_t>(position.y));
    }
    else if (Needs(state, 2))
    {
        MoveViewport(viewport, ToInt32(state, 1), ToInt32(state, 2));
    }
    return 0;
}

int ViewportSetPositionX(Viewport& viewport, lua_State* state)
{
    if (Needs(state, 1))
    {
        MoveViewport(viewport, ToInt32(state, 1), PositionY(viewport));
    }
    return 0;
}

int ViewportSetPositionY(Viewport& viewport, lua_State* state)
{
    if (Needs(state, 1))
    {
        MoveViewport(viewport, PositionX(viewport), ToInt32(state, 1));
    }
    return 0;
}

int ViewportGetPosition(Viewport& viewport, lua_State* state)
{
    return PushPoint(state, viewport.GetPosition());
}

int ViewportGetPositionX(Viewport& viewport, lua_State* state)
{
    return PushInteger(state, PositionX(viewport));
}

int ViewportGetPositionY(Viewport& viewport, lua_State* state)
{
    return PushInteger(state, PositionY(viewport));
}

int ViewportSetCamera(Viewport& viewport, lua_State* state)
{
    if (Camera* camera = Needs(state, 1) ? ToObjectOf<Camera>(state, 1) : nullptr)
    {
        viewport.SetCamera(camera);
    }
    return 0;
}

int ViewportGetCamera(Viewport& viewport, lua_State* state)
{
    return PushObjectOrNothing(state, viewport.GetCamera());
}

constexpr auto kViewportMethods = Script::MakeMethods<20>(
    Method<&IntegerGetter<Viewport, &Viewport::GetWidth>>("GetWidth"),
    Method<&IntegerGetter<Viewport, &Viewport::GetHeight>>("GetHeight"), Method<&ViewportSet>("Set"),
    Method<&ViewportGet>("Get"), Method<&ViewportSetWidth>("SetWidth"),
    Method<&ViewportSetHeight>("SetHeight"), Method<&ViewportSetPosition>("SetPosition"),
    Method<&ViewportSetPositionX>("SetPositionX"), Method<&ViewportSetPositionY>("SetPositionY"),
    Method<&ViewportGetPosition>("GetPosition"), Method<&ViewportGetPositionX>("GetPositionX"),
    Method<&ViewportGetPositionY>("GetPositionY"),
    Method<&ColorSetter<Viewport, &Viewport::SetClearColor>>("SetClearColor"),
    Method<&ColorGetter<Viewport, &Viewport::GetClearColor>>("GetClearColor"),
    Method<&ViewportSetCamera>("SetCamera"), Method<&ViewportGetCamera>("GetCamera"),
    Method<&TextSetter<Viewport, &Viewport::SetName>>("SetName"),
    Method<&TextGetter<Viewport, &Viewport::GetName>>("GetName"),
    Method<&TextSetter<Viewport, &Viewport::SetBackground>>("SetBackground"),
    Method<&TextGetter<Viewport, &Viewport::GetBackground>>("GetBackground"));
const Script::MethodTableRegistrar g_viewportTable(Viewport::ScriptTypeName, kViewportMethods);

} // namespace
