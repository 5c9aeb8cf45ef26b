// The "Game" script method table. Conventions: Velkor_ScriptSupport.h.
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_ScriptSupport.h"
#include "pal/PAL_Window.h"
#include "physics/Physics_PhysicsEngine.h"
#include "script/Script_LuaScript.h"

namespace Velkor
{

void Game::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

} // namespace Velkor

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;

// The game's own script functions are the shared globals of the state.
int ObjectFunction(Game&, lua_State* state)
{
    lua_State* global = LuaScript::GetGlobalState();
    return global != nullptr ? CallScriptFunction(global, state) : 0;
}

int GetCurrentLevel(Game& game, lua_State* state)
{
    return PushObjectOrNil(state, game.GetCurrentLevel());
}

int GoToLevel(Game& game, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1))
    {
        return 0;
    }
    if (IsNumber(state, 1))
    {
        game.ChangeLevel(ToUInt32(state, 1));
    }
    else if (ToText(state, 1, name))
    {
        game.GoToLevel(name);
    }
    return 0;
}

// A request without arguments (level moves, replay stops).
template <void (Game::*Go)()> int Run(Game& game, lua_State*)
{
    (game.*Go)();
    return 0;
}

int RestartLevel(Game& game, lua_State*)
{
    game.RestartLevel();
    return 0;
}

template <void (Game::*Request)(const std::string&)> int ByName(Game& game, lua_State* state)
{
    return TextSetter<Game, Request>(game, state);
}

int GetCollisionEngine(Game& game, lua_State* state)
{
    return PushObjectOrNil(state, game.GetCollisionEngine());
}

int GetPhysicsEngine(Game& game, lua_State* state)
{
    return PushObjectOrNil(state, game.GetPhysicsEngine());
}

int GetNetworkEngine(Game& game, lua_State* state)
{
    return PushObjectOrNil(state, game.GetNetworkEngine());
}

int PushesNothing(Game&, lua_State*)
{
    return 0;
}

int AddCollisionAssets(Game& game, lua_State* state)
{
    auto* actor = Needs(state, 1) ? Script::ToObject<Collision2D::CollisionActor>(
                                        state, 1, Collision2D::CollisionActor::ScriptTypeName)
                                  : nullptr;
    // The game owns its assets: one already there is not taken twice.
    for (const auto& asset : game.GetCollisionAssets())
    {
        if (asset.get() == actor)
        {
            return 0;
        }
    }
    if (actor != nullptr)
    {
        game.AddCollisionAssets(actor);
    }
    return 0;
}

int GetCollisionAssets(Game& game, lua_State* state)
{
    return PushObjectTable(state, game.GetCollisionAssets());
}

int NetworkStart(Game& game, lua_State* state)
{
    std::string networkId;
    if (!Needs(state, 1) || !ToText(state, 1, networkId))
    {
        return 0;
    }
    return PushBoolean(state, game.NetworkStart(networkId));
}

// (host name, player name, password, player count).
int HostNetworkGame(Game& game, lua_State* state)
{
    std::string hostName;
    std::string playerName;
    std::string password;
    if (!Needs(state, 4) || !ToText(state, 1, hostName) || !ToText(state, 2, playerName) ||
        !ToText(state, 3, password))
    {
        return 0;
    }
    return PushBoolean(state, game.HostNetworkGame(hostName, playerName, password, ToUInt32(state, 4)));
}

// (player name, session, password): the session as "GetOnlineSession"
// gave it.
int JoinNetworkGame(Game& game, lua_State* state)
{
    std::string playerName;
    std::string password;
    const auto* session =
        Needs(state, 3) ? Script::ToObject<ZibBroadcast>(state, 2, ZibBroadcast::ScriptTypeName) : nullptr;
    if (session == nullptr || !ToText(state, 1, playerName) || !ToText(state, 3, password))
    {
        return 0;
    }
    return PushBoolean(state, game.JoinNetworkGame(playerName, *session, password));
}

int NetworkShutdown(Game& game, lua_State* state)
{
    return PushBoolean(state, game.NetworkShutdown());
}

int GetOnlineSessionsCount(Game& game, lua_State* state)
{
    return PushUnsigned(state, static_cast<std::uint32_t>(game.GetOnlineSessions().size()));
}

int GetOnlineSession(Game& game, lua_State* state)
{
    const std::vector<ZibBroadcast>& sessions = game.GetOnlineSessions();
    if (!Needs(state, 1) || !IsNumber(state, 1))
    {
        return 0;
    }
    const lua_Number index = lua_tonumber(state, 1);
    if (!(index >= 0.0 && index < static_cast<lua_Number>(sessions.size())))
    {
        return 0;
    }
    Script::PushOwnedCopy(state, sessions[static_cast<std::size_t>(index)], ZibBroadcast::ScriptTypeName);
    return 1;
}

// The saved games or the replays, as a table of names.
template <void (Game::*List)(std::vector<std::string>&) const> int GetNames(Game& game, lua_State* state)
{
    std::vector<std::string> names;
    (game.*List)(names);
    lua_createtable(state, static_cast<int>(names.size()), 0);
    const int table = lua_gettop(state);
    int key = 1;
    for (const std::string& name : names)
    {
        PushText(state, name);
        lua_rawseti(state, table, key++);
    }
    return 1;
}

int SetDesiredFrameRate(Game& game, lua_State* state)
{
    if (Needs(state, 1))
    {
        game.SetDesiredFrameRate(lua_tonumber(state, 1));
    }
    return 0;
}

int LockFrameRate(Game& game, lua_State* state)
{
    return FlagSetter<Game, &Game::LockFrameRate>(game, state);
}

int GetKeyboard(Game& game, lua_State* state)
{
    return PushObjectOrNil(state, game.GetKeyboard().Get());
}

int GetMouse(Game& game, lua_State* state)
{
    return PushObjectOrNil(state, game.GetMouse().Get());
}

int ToggleFullScreen(Game& game, lua_State* state)
{
    return FlagSetter<Game, &Game::SetFullScreen>(game, state);
}

int AutoToggleFullScreen(Game& game, lua_State*)
{
    game.ToggleFullScreen();
    return 0;
}

int Exit(Game&, lua_State*)
{
    PAL::PostQuit();
    return 0;
}

int SetOneWayCollision(Game&, lua_State* state)
{
    if (Needs(state, 1))
    {
        Game::SetOneWayCollision(ToFlag(state, 1));
    }
    return 0;
}

constexpr auto kGameMethods = Script::MakeMethods<60>(
    Method<&ObjectFunction>("ObjectFunction"), Method<&TextSetter<Game, &Game::SetTitle>>("SetTitle"),
    Method<&TextGetter<Game, &Game::GetTitle>>("GetTitle"),
    Method<&TextSetter<Game, &Game::SetIcon>>("SetIcon"),
    Method<&TextGetter<Game, &Game::GetIcon>>("GetIcon"),
    Method<&TextGetter<Game, &Game::GetDirectory>>("GetDirectory"),
    Method<&TextGetter<Game, &Game::GetExecutableName>>("GetExecutableName"),
    Method<&TextGetter<Game, &Game::GetExecutableNameNoExtension>>("GetExecutableNameNoExtension"),
    Method<&GetCurrentLevel>("GetCurrentLevel"),
    Method<&UnsignedGetter<Game, &Game::GetCurrentLevelIndex>>("GetCurrentLevelIndex"),
    Method<&UnsignedGetter<Game, &Game::GetLevelsCount>>("GetLevelsCount"), Method<&GoToLevel>("GoToLevel"),
    Method<&Run<&Game::GoToNextLevel>>("GoToNextLevel"),
    Method<&Run<&Game::GoToPreviousLevel>>("GoToPreviousLevel"),
    Method<&Run<&Game::GoToLastLevel>>("GoToLastLevel"),
    Method<&Run<&Game::GoToFirstLevel>>("GoToFirstLevel"),
    Method<&Run<&Game::GoToStartingLevel>>("GoToStartingLevel"), Method<&RestartLevel>("RestartLevel"),
    Method<&ByName<&Game::Save>>("Save"), Method<&ByName<&Game::Load>>("Load"),
    Method<&GetCollisionEngine>("GetCollisionEngine"), Method<&GetPhysicsEngine>("GetPhysicsEngine"),
    Method<&GetNetworkEngine>("GetNetworkEngine"), Method<&PushesNothing>("GetSoundEngine"),
    Method<&PushesNothing>("GetSceneGraph"),
    Method<&NumberSetter<Game, &Game::SetMasterVolume>>("SetMasterVolume"),
    Method<&NumberGetter<Game, &Game::GetMasterVolume>>("GetMasterVolume"),
    Method<&UnsignedGetter<Game, &Game::GetResolutionWidth>>("GetResolutionWidth"),
    Method<&UnsignedGetter<Game, &Game::GetResolutionHeight>>("GetResolutionHeight"),
    Method<&AddCollisionAssets>("AddCollisionAssets"), Method<&GetCollisionAssets>("GetCollisionAssets"),
    Method<&NetworkStart>("NetworkStart"), Method<&NetworkShutdown>("NetworkShutdown"),
    Method<&HostNetworkGame>("HostNetworkGame"), Method<&JoinNetworkGame>("JoinNetworkGame"),
    Method<&FlagGetter<Game, &Game::IsNetworkGame>>("IsNetworkGame"),
    Method<&FlagGetter<Game, &Game::IsServer>>("IsServer"),
    Method<&GetOnlineSessionsCount>("GetOnlineSessionsCount"), Method<&GetOnlineSession>("GetOnlineSession"),
    Method<&ByName<&Game::ReplayRecordingStart>>("ReplayRecordingStart"),
    Method<&Run<&Game::ReplayRecordingStop>>("ReplayRecordingStop"),
    Method<&ByName<&Game::ReplayStart>>("ReplayStart"), Method<&Run<&Game::ReplayStop>>("ReplayStop"),
    Method<&GetNames<&Game::GetReplayFiles>>("GetReplayFiles"),
    Method<&GetNames<&Game::GetSavedGames>>("GetSavedGames"),
    Method<&SetDesiredFrameRate>("SetDesiredFrameRate"), Method<&LockFrameRate>("LockFrameRate"),
    Method<&FlagGetter<Game, &Game::IsFrameRateLocked>>("IsFrameRateLocked"),
    Method<&NumberGetter<Game, &Game::GetDesiredFrameRate>>("GetDesiredFrameRate"),
    Method<&NumberGetter<Game, &Game::GetCurrentFrameRate>>("GetCurrentFrameRate"),
    Method<&GetKeyboard>("GetKeyboard"), Method<&GetMouse>("GetMouse"),
    Method<&FlagSetter<Game, &Game::SetVSync>>("SetVSync"),
    Method<&FlagGetter<Game, &Game::IsVSync>>("IsVSync"), Method<&ToggleFullScreen>("ToggleFullScreen"),
    Method<&FlagGetter<Game, &Game::IsFullScreen>>("IsFullScreen"),
    Method<&AutoToggleFullScreen>("AutoToggleFullScreen"), Method<&Exit>("Exit"),
    Method<&SetOneWayCollision>("SetOneWayCollision"),
    Method<&AddManagedObject<Game, Core::Object>>("AddManagedObject"));
const Script::MethodTableRegistrar g_gameTable(Game::ScriptTypeName, kGameMethods);

} // namespace
