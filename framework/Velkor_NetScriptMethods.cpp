// The script method tables of the session layer: "ZibPlayer", "ZibGroup",
// "ZibBroadcast" and "ZibNet". A missing object is pushed as nil.
// Conventions: Velkor_ScriptSupport.h.
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_NetPlayer.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_ScriptSupport.h"

namespace Velkor
{

void ZibPlayer::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void ZibGroup::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void ZibNet::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

} // namespace Velkor

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;

ZibPlayer* ToPlayer(lua_State* state, int index)
{
    return Script::ToObject<ZibPlayer>(state, index, ZibPlayer::ScriptTypeName);
}

ZibGroup* ToGroup(lua_State* state, int index)
{
    return Script::ToObject<ZibGroup>(state, index, ZibGroup::ScriptTypeName);
}

// --- ZibPlayer ----------------------------------------------------------------------

int PlayerGetPingTime(ZibPlayer& player, lua_State* state)
{
    lua_pushnumber(state, player.GetPingTime());
    return 1;
}

constexpr auto kPlayerMethods =
    Script::MakeMethods<5>(Method<&TextGetter<ZibPlayer, &ZibPlayer::GetName>>("GetName"),
                           Method<&FlagGetter<ZibPlayer, &ZibPlayer::IsLocal>>("IsLocal"),
                           Method<&FlagGetter<ZibPlayer, &ZibPlayer::IsHost>>("IsHost"),
                           Method<&UnsignedGetter<ZibPlayer, &ZibPlayer::GetID>>("GetID"),
                           Method<&PlayerGetPingTime>("GetPingTime"));
const Script::MethodTableRegistrar g_playerTable(ZibPlayer::ScriptTypeName, kPlayerMethods);

// --- ZibGroup -----------------------------------------------------------------------

int GroupGetOwner(ZibGroup& group, lua_State* state)
{
    return PushObjectOrNil(state, group.GetOwner());
}

int GroupAddPlayer(ZibGroup& group, lua_State* state)
{
    ZibPlayer* player = Needs(state, 1) ? ToPlayer(state, 1) : nullptr;
    return player != nullptr ? PushBoolean(state, group.AddPlayer(player)) : 0;
}

int GroupRemovePlayer(ZibGroup& group, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1))
    {
        return 0;
    }
    if (IsNumber(state, 1))
    {
        return PushBoolean(state, group.RemovePlayer(ToUInt32(state, 1)));
    }
    return ToText(state, 1, name) ? PushBoolean(state, group.RemovePlayer(name)) : 0;
}

int GroupQueryPlayer(ZibGroup& group, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1))
    {
        return 0;
    }
    if (IsNumber(state, 1))
    {
        return PushObjectOrNil(state, group.FindPlayer(ToUInt32(state, 1)));
    }
    return ToText(state, 1, name) ? PushObjectOrNil(state, group.FindPlayer(name)) : 0;
}

constexpr auto kGroupMethods = Script::MakeMethods<7>(
    Method<&TextGetter<ZibGroup, &ZibGroup::GetName>>("GetName"),
    Method<&UnsignedGetter<ZibGroup, &ZibGroup::GetID>>("GetID"), Method<&GroupGetOwner>("GetOwner"),
    Method<&UnsignedGetter<ZibGroup, &ZibGroup::GetSize>>("GetSize"), Method<&GroupAddPlayer>("AddPlayer"),
    Method<&GroupRemovePlayer>("RemovePlayer"), Method<&GroupQueryPlayer>("QueryPlayer"));
const Script::MethodTableRegistrar g_groupTable(ZibGroup::ScriptTypeName, kGroupMethods);

// --- ZibBroadcast -------------------------------------------------------------------

constexpr auto kBroadcastMethods = Script::MakeMethods<5>(
    Method<&TextGetter<ZibBroadcast, &ZibBroadcast::GetHostName>>("GetHostName"),
    Method<&TextGetter<ZibBroadcast, &ZibBroadcast::GetNetworkID>>("GetNetworkID"),
    Method<&UnsignedGetter<ZibBroadcast, &ZibBroadcast::GetSessionMaxPlayers>>("GetSessionMaxPlayers"),
    Method<&UnsignedGetter<ZibBroadcast, &ZibBroadcast::GetSessionPlayersNumber>>("GetSessionPlayersNumber"),
    Method<&FlagGetter<ZibBroadcast, &ZibBroadcast::IsPasswordProtected>>("IsPasswordProtected"));
const Script::MethodTableRegistrar g_broadcastTable(ZibBroadcast::ScriptTypeName, kBroadcastMethods);

// --- ZibNet -------------------------------------------------------------------------

template <bool (ZibNet::*Change)(ZibGroup*)> int NetChangeGroup(ZibNet& network, lua_State* state)
{
    ZibGroup* group = Needs(state, 1) ? ToGroup(state, 1) : nullptr;
    return group != nullptr ? PushBoolean(state, (network.*Change)(group)) : 0;
}

// (reliable, text [, echo]) to everyone, or (reliable, text, group, echo).
int NetSendTextMessage(ZibNet& network, lua_State* state)
{
    std::string text;
    if (!Needs(state, 2) || !ToText(state, 2, text))
    {
        return 0;
    }
    const bool reliable = ToFlag(state, 1);
    if (Needs(state, 4))
    {
        ZibGroup* group = ToGroup(state, 3);
        return group != nullptr ? PushBoolean(state, network.SendTextMessageToGroup(reliable, text, group,
                                                                                    ToFlag(state, 4)))
                                : 0;
    }
    return PushBoolean(state, network.SendTextMessage(reliable, text, Needs(state, 3) && ToFlag(state, 3)));
}

// (reliable, text, player [, echo]).
int NetSendTextMessageToPlayer(ZibNet& network, lua_State* state)
{
    std::string text;
    ZibPlayer* player = Needs(state, 3) ? ToPlayer(state, 3) : nullptr;
    if (player == nullptr || !ToText(state, 2, text))
    {
        return 0;
    }
    return PushBoolean(state, network.SendTextMessageToPlayer(ToFlag(state, 1), text, player,
                                                              Needs(state, 4) && ToFlag(state, 4)));
}

// (name, object): the object becomes the template copies of that name are
// made from; pushes whether it was taken.
int NetAddBaseNetObject(ZibNet& network, lua_State* state)
{
    std::string name;
    GameObject* object = Needs(state, 2) ? ToObjectOf<GameObject>(state, 2) : nullptr;
    if (object == nullptr || !ToText(state, 1, name))
    {
        return 0;
    }
    return PushBoolean(state, network.AddBaseNetObject(name, object));
}

// (player): the networked objects that player owns leave their layers.
int NetRemoveNetObjectsControlledBy(ZibNet& network, lua_State* state)
{
    ZibPlayer* player = Needs(state, 1) ? ToPlayer(state, 1) : nullptr;
    if (player != nullptr)
    {
        network.RemoveNetObjectsControlledBy(player);
    }
    return 0;
}

int NetDoesNothing(ZibNet&, lua_State*)
{
    return 0;
}

int NetQueryPlayer(ZibNet& network, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1))
    {
        return 0;
    }
    if (IsNumber(state, 1))
    {
        return PushObjectOrNil(state, network.FindPlayerByID(ToUInt32(state, 1)));
    }
    return ToText(state, 1, name) ? PushObjectOrNil(state, network.FindPlayerByName(name)) : 0;
}

// (id or name [, owner]).
int NetQueryGroup(ZibNet& network, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1))
    {
        return 0;
    }
    ZibPlayer* owner = Needs(state, 2) ? ToPlayer(state, 2) : nullptr;
    if (IsNumber(state, 1))
    {
        return PushObjectOrNil(state, network.FindGroupByID(ToUInt32(state, 1), owner));
    }
    return ToText(state, 1, name) ? PushObjectOrNil(state, network.FindGroupByName(name, owner)) : 0;
}

int NetGetSessionPlayers(ZibNet& network, lua_State* state)
{
    lua_newtable(state);
    const int table = lua_gettop(state);
    if (const ZibGroup* all = network.GetAllPlayersGroup())
    {
        int key = 1;
        for (const Core::RefPtr<ZibPlayer>& player : all->GetPlayers())
        {
            player->PushToScript(state);
            lua_rawseti(state, table, key++);
        }
    }
    return 1;
}

int NetGetSessionPlayersNumber(ZibNet& network, lua_State* state)
{
    const ZibGroup* all = network.GetAllPlayersGroup();
    return PushUnsigned(state, all != nullptr ? all->GetSize() : 0);
}

int NetGetLocalPlayer(ZibNet& network, lua_State* state)
{
    return PushObjectOrNil(state, network.GetLocalPlayer());
}

constexpr auto kNetMethods = Script::MakeMethods<14>(
    Method<&NetAddBaseNetObject>("AddBaseNetObject"),
    Method<&NetRemoveNetObjectsControlledBy>("RemoveNetObjectsControlledBy"),
    Method<&NetChangeGroup<&ZibNet::AddGroup>>("CreateGroup"),
    Method<&NetChangeGroup<&ZibNet::RemoveGroup>>("DestroyGroup"),
    Method<&NetSendTextMessage>("SendTextMessage"),
    Method<&NetSendTextMessageToPlayer>("SendTextMessageToPlayer"),
    Method<&NetDoesNothing>("SendDataMessage"), Method<&NetDoesNothing>("SendDataMessageToPlayer"),
    Method<&NetQueryPlayer>("QueryPlayer"), Method<&NetQueryGroup>("QueryGroup"),
    Method<&NetGetSessionPlayers>("GetSessionPlayers"),
    Method<&NetGetSessionPlayersNumber>("GetSessionPlayersNumber"),
    Method<&NetGetLocalPlayer>("GetLocalPlayer"),
    Method<&NumberGetter<ZibNet, &ZibNet::GetBroadcastTimeOut>>("GetBroadcastTimeOut"));
const Script::MethodTableRegistrar g_netTable(ZibNet::ScriptTypeName, kNetMethods);

} // namespace
