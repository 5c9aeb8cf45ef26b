// The receive handlers of the session layer: what the host and a client do
// with each socket event. Every payload is read through a PayloadReader; a
// message that does not read whole is dropped without an answer.
#include "framework/Velkor_Network.h"

#include "core/Core_Clock.h"

#include <cstring>

namespace Velkor
{

bool ZibNet::HandleEvent(Network::SocketEvent& event)
{
    if (closing_ != 0 || !IsActive())
    {
        return true;
    }
    if (host_ != 0)
    {
        HandleHostMessage(event);
    }
    else
    {
        HandleClientMessage(event);
    }
    return true;
}

ZibPlayer* ZibNet::SenderOf(const Network::SocketEvent& event) const
{
    // Stream messages come from an accepted connection, datagrams from the
    // player's datagram channel: both carry the player's address.
    if (event.channel != HostStreamChannel && event.channel != HostDatagramChannel)
    {
        return nullptr;
    }
    ZibPlayer* sender = FindPlayerByAddress(event.peer);
    return sender != nullptr && !sender->IsLocal() ? sender : nullptr;
}

// ---------------------------------------------------------------------------
// Host

void ZibNet::HandleHostMessage(Network::SocketEvent& event)
{
    switch (event.kind)
    {
    case Network::ChannelClosed:
        if (event.channel == HostStreamChannel && localPlayer_)
        {
            RemovePlayer(localPlayer_.Get());
        }
        return;
    case Network::ConnectionClosed:
        if (ZibPlayer* player = FindPlayerByAddress(event.peer); player != nullptr && !player->IsLocal())
        {
            RemovePlayer(player);
        }
        return;
    case Network::MessageReceived:
        break;
    default:
        return;
    }
    if (event.message == nullptr || hosting_ == 0)
    {
        return;
    }
    if (event.messageId == JoinRequestMessage)
    {
        HostJoin(event);
        return;
    }
    ZibPlayer* sender = SenderOf(event);
    if (sender == nullptr)
    {
        return;
    }
    PayloadReader reader(event.payload, event.payloadSize);
    // Every message a client sends names its sender (or the owner) first;
    // one naming anybody but the connection's player is dropped.
    std::uint32_t named = 0;
    switch (event.messageId)
    {
    case CreateGroupMessage:
    case DestroyGroupMessage:
    case RemoveObjectMessage: // names the object's owner: a client removes only its own
    case TextMessage:
    case DataMessage:
    case KeyboardMessage:
    case MouseMessage:
    case ObjectListRequestMessage:
    case PingReplyMessage:
        if (!reader.U32(named) || named != sender->GetID())
        {
            return;
        }
        break;
    default:
        return;
    }
    switch (event.messageId)
    {
    case CreateGroupMessage:
        HostCreateGroup(*sender, reader);
        break;
    case DestroyGroupMessage:
        HostDestroyGroup(*sender, reader);
        break;
    case TextMessage:
        HostRelay(*sender, event, false);
        break;
    case DataMessage:
        HostRelay(*sender, event, true);
        break;
    case KeyboardMessage:
        HostInput(*sender, reader, false);
        break;
    case MouseMessage:
        HostInput(*sender, reader, true);
        break;
    case PingReplyMessage:
        HostPingReply(*sender, reader);
        break;
    case RemoveObjectMessage:
        HostRemoveObject(*sender, reader);
        break;
    case ObjectListRequestMessage:
        SendNetworkObjectsTo(sender);
        break;
    default:
        break;
    }
}

void ZibNet::HostJoin(const Network::SocketEvent& event)
{
    if (event.channel != HostStreamChannel)
    {
        return;
    }
    PayloadReader reader(event.payload, event.payloadSize);
    std::string password;
    PlayerRecord record;
    if (!reader.CString(password) || !ReadPlayerRecord(reader, record))
    {
        return;
    }
    std::int32_t reply = 0;
    Core::RefPtr<ZibPlayer> player;
    if (FindPlayerByAddress(event.peer) != nullptr)
    {
        // A player joins once per connection; a second request is told
        // at once rather than left waiting.
        reply = JoinDuplicateId;
    }
    else if (allPlayers_->GetSize() >= maxPlayers_)
    {
        reply = JoinSessionFull;
    }
    else if (!password_.empty() && password != password_)
    {
        reply = JoinWrongPassword;
    }
    else
    {
        player = new ("Velkor_Network", __LINE__)
            ZibPlayer(NextPlayerID(), record.name, false, false, nullptr, nullptr);
        // The player is where its connection comes from, whatever its
        // record says.
        player->SetAddress(event.peer);
        if (FindPlayerByID(player->GetID()) != nullptr)
        {
            reply = JoinDuplicateId;
        }
        else if (!Report(new ("Velkor_Network", __LINE__)
                             NetPlayerMessage(NetMessage::JoinRequest, player.Get())))
        {
            reply = JoinRefused;
        }
        else
        {
            reply = static_cast<std::int32_t>(player->GetID());
        }
    }
    std::vector<std::uint8_t> payload;
    PayloadWriter writer(payload);
    writer.I32(reply);
    const bool answered = SendOn(HostStreamChannel, JoinReplyMessage, payload.data(),
                                 static_cast<std::uint32_t>(payload.size()), event.peer);
    if (reply < 0 || !answered)
    {
        return;
    }
    const std::vector<Core::RefPtr<ZibPlayer>> players = allPlayers_->GetPlayers();
    for (const Core::RefPtr<ZibPlayer>& existing : players)
    {
        payload.clear();
        WritePlayerRecord(writer, *existing);
        SendOn(HostStreamChannel, PlayerAddedMessage, payload.data(),
               static_cast<std::uint32_t>(payload.size()), event.peer);
    }
    AddPlayer(player.Get());
}

void ZibNet::HostCreateGroup(ZibPlayer& sender, PayloadReader& reader)
{
    std::uint32_t clientId = 0;
    std::string name;
    if (!reader.U32(clientId) || !reader.CString(name) || reader.GetLeft() % 4 != 0 ||
        FindGroupForSender(clientId, &sender) != nullptr)
    {
        return;
    }
    Core::RefPtr<ZibGroup> group(new ("Velkor_Network", __LINE__) ZibGroup(name, NextGroupID(), &sender));
    group->SetClientID(clientId);
    std::uint32_t member = 0;
    while (reader.GetLeft() > 0 && reader.U32(member))
    {
        group->AddPlayer(FindPlayerByID(member));
    }
    groups_.push_back(group);
}

void ZibNet::HostDestroyGroup(ZibPlayer& sender, PayloadReader& reader)
{
    std::uint32_t clientId = 0;
    if (!reader.U32(clientId))
    {
        return;
    }
    ZibGroup* group = FindGroupForSender(clientId, &sender);
    if (group != nullptr && group != allPlayers_.Get() && group->GetOwner() == &sender)
    {
        RemoveGroup(group);
    }
}

void ZibNet::HostRelay(ZibPlayer& sender, const Network::SocketEvent& event, bool data)
{
    PayloadReader reader(event.payload, event.payloadSize);
    std::uint32_t senderId = 0;
    std::uint32_t target = 0;
    std::string text;
    std::uint32_t value = 0;
    std::uint32_t size = 0;
    const std::uint8_t* bytes = nullptr;
    if (!reader.U32(senderId) || !reader.U32(target))
    {
        return;
    }
    if (data ? !reader.U32(value) || !reader.U32(size) || !reader.Bytes(size, bytes) : !reader.CString(text))
    {
        return;
    }
    const auto report = [&]()
    {
        if (data)
        {
            Report(new ("Velkor_Network", __LINE__) NetDataMessage(
                NetMessage::Data, {value, size, size > 0 ? reinterpret_cast<std::uintptr_t>(bytes) : 0,
                                   reinterpret_cast<std::uintptr_t>(&sender)}));
        }
        else
        {
            Report(new ("Velkor_Network", __LINE__) NetTextMessage(text, &sender));
        }
    };
    const std::uint32_t id = data ? DataMessage : TextMessage;
    if (ZibGroup* group = FindGroupForSender(target, &sender))
    {
        SendToGroup(id, event.payload, event.payloadSize, group, true);
        if (localPlayer_ && group->FindPlayer(localPlayer_->GetID()) != nullptr)
        {
            report();
        }
        return;
    }
    // The player-directed form names a player, not a group.
    if (ZibPlayer* player = FindPlayerByID(target))
    {
        if (player->IsLocal())
        {
            report();
        }
        else
        {
            SendToPlayer(id, event.payload, event.payloadSize, player, true);
        }
    }
}

void ZibNet::HostInput(ZibPlayer& sender, PayloadReader& reader, bool mouse)
{
    const std::uint32_t left = reader.GetLeft();
    if (mouse)
    {
        if (Input::Mouse* device = sender.GetNetworkMouse())
        {
            device->LoadState(reader.GetCursor(), left);
        }
        return;
    }
    constexpr std::uint32_t EntrySize = 12;
    if (left % EntrySize != 0)
    {
        return;
    }
    if (Input::Keyboard* device = sender.GetNetworkKeyboard())
    {
        device->ImportSnapshot(reader.GetCursor(), left);
    }
}

void ZibNet::HostPingReply(ZibPlayer& sender, PayloadReader& reader)
{
    std::uint32_t sequence = 0;
    if (!reader.U32(sequence))
    {
        return;
    }
    for (auto ping = pings_.begin(); ping != pings_.end(); ++ping)
    {
        if (ping->playerId == sender.GetID() && ping->sequence == sequence)
        {
            sender.SetPingTime(Core::GetMilliseconds() - ping->sentAt);
            pings_.erase(ping);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Client

void ZibNet::HandleClientMessage(Network::SocketEvent& event)
{
    if (event.kind == Network::ChannelClosed)
    {
        if (event.channel == ClientStreamChannel && connected_ != 0 && localPlayer_)
        {
            RemovePlayer(localPlayer_.Get());
        }
        return;
    }
    if (event.kind != Network::MessageReceived || event.message == nullptr)
    {
        return;
    }
    if (event.channel == DiscoveryChannel)
    {
        if (event.messageId == SessionBroadcastMessage)
        {
            ClientBroadcast(event);
        }
        return;
    }
    // Only the host speaks to a client: on its connection, or from its
    // datagram channel (which shares the host's address).
    if ((event.channel != ClientStreamChannel && event.channel != ClientDatagramChannel) ||
        event.peer != hostAddress_)
    {
        return;
    }
    PayloadReader reader(event.payload, event.payloadSize);
    switch (event.messageId)
    {
    case JoinReplyMessage:
        ClientJoinReply(reader);
        break;
    case PlayerAddedMessage:
        ClientPlayer(reader, true);
        break;
    case PlayerRemovedMessage:
        ClientPlayer(reader, false);
        break;
    case TextMessage:
        ClientText(reader, false);
        break;
    case DataMessage:
        ClientText(reader, true);
        break;
    case LevelNameMessage:
        ClientLevelName(event);
        break;
    case PingMessage:
        ClientPing(reader);
        break;
    case ObjectListMessage:
        ClientObjectList(event);
        break;
    case CreateObjectMessage:
        ClientCreateObject(event);
        break;
    case RemoveObjectMessage:
        ClientRemoveObject(reader);
        break;
    case SyncObjectMessage:
        ClientSyncObject(event);
        break;
    default:
        // The rest is not for a client.
        break;
    }
}

void ZibNet::ClientBroadcast(const Network::SocketEvent& event)
{
    SessionBroadcast read;
    if (connected_ != 0 || !ReadSessionBroadcast(event.payload, event.payloadSize, read))
    {
        return;
    }
    ZibBroadcast found(read.name, read.networkId, read.address, read.maxPlayers, read.currentPlayers,
                       read.passwordProtected);
    for (ZibBroadcast& session : sessions_)
    {
        if (session.GetHostAddress() == read.address)
        {
            session = found;
            return;
        }
    }
    sessions_.push_back(found);
}

void ZibNet::ClientJoinReply(PayloadReader& reader)
{
    std::int32_t reply = 0;
    if (connected_ != 0 || !localPlayer_ || !reader.I32(reply))
    {
        return;
    }
    Report(new ("Velkor_Network", __LINE__)
               NetDataMessage(NetMessage::JoinReply, {reinterpret_cast<std::uintptr_t>(&reply), 0, 0, 0}));
    if (reply < 0)
    {
        return;
    }
    connected_ = 1;
    if (session_ != nullptr)
    {
        session_->StopListening(false);
    }
    else
    {
        Close(DiscoveryChannel);
    }
    sessions_.clear();
    localPlayer_->SetID(static_cast<std::uint32_t>(reply));
    allPlayers_->Sort();
}

void ZibNet::ClientPlayer(PayloadReader& reader, bool added)
{
    PlayerRecord record;
    if (!localPlayer_ || !ReadPlayerRecord(reader, record))
    {
        return;
    }
    if (added)
    {
        Core::RefPtr<ZibPlayer> player(new ("Velkor_Network", __LINE__) ZibPlayer(
            record.id, record.name, false, record.host, nullptr, nullptr));
        player->SetAddress(record.address);
        AddPlayer(player.Get());
        return;
    }
    if (ZibPlayer* player = FindPlayerByID(record.id))
    {
        RemovePlayer(player);
    }
}

void ZibNet::ClientText(PayloadReader& reader, bool data)
{
    std::uint32_t senderId = 0;
    std::uint32_t target = 0;
    if (connected_ == 0 || !reader.U32(senderId) || !reader.U32(target))
    {
        return;
    }
    ZibPlayer* sender = FindPlayerByID(senderId);
    if (sender == nullptr || sender->IsLocal())
    {
        return;
    }
    if (!data)
    {
        std::string text;
        if (reader.CString(text))
        {
            Report(new ("Velkor_Network", __LINE__) NetTextMessage(text, sender));
        }
        return;
    }
    std::uint32_t value = 0;
    std::uint32_t size = 0;
    const std::uint8_t* bytes = nullptr;
    if (reader.U32(value) && reader.U32(size) && reader.Bytes(size, bytes))
    {
        Report(new ("Velkor_Network", __LINE__) NetDataMessage(
            NetMessage::Data, {value, size, size > 0 ? reinterpret_cast<std::uintptr_t>(bytes) : 0,
                               reinterpret_cast<std::uintptr_t>(sender)}));
    }
}

void ZibNet::ClientLevelName(const Network::SocketEvent& event)
{
    if (connected_ == 0)
    {
        return;
    }
    const std::string name(reinterpret_cast<const char*>(event.payload), event.payloadSize);
    if (name != levelName_())
    {
        levelRequest_(name);
    }
}

void ZibNet::ClientPing(PayloadReader& reader)
{
    std::uint32_t hostId = 0;
    std::uint32_t sequence = 0;
    if (connected_ == 0 || !localPlayer_ || !reader.U32(hostId) || !reader.U32(sequence))
    {
        return;
    }
    std::uint8_t payload[8];
    std::vector<std::uint8_t> bytes;
    PayloadWriter writer(bytes);
    writer.U32(localPlayer_->GetID());
    writer.U32(sequence);
    std::memcpy(payload, bytes.data(), sizeof payload);
    SendOn(ClientDatagramChannel, PingReplyMessage, payload, sizeof payload, hostAddress_);
}

} // namespace Velkor
