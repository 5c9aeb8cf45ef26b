#include "framework/Velkor_Network.h"

#include "core/Core_Clock.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_GameObject.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"

#include <algorithm>

namespace Velkor
{

namespace
{

ZibNet::CallObserver g_observer = nullptr;
void* g_observerData = nullptr;

// Process-wide: the active layer and the id counters (the first id is 1).
ZibNet* g_active = nullptr;
std::uint32_t g_playerIds = 0;
std::uint32_t g_groupIds = 0;

std::string CurrentLevelName()
{
    Game* game = Game::GetInstance();
    Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    return level != nullptr ? level->GetName() : std::string();
}

Level* CurrentLevel()
{
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetCurrentLevel() : nullptr;
}

void GoToLevelNamed(const std::string& name)
{
    if (Game* game = Game::GetInstance())
    {
        game->GoToLevel(name);
    }
}

// The address channels bind to when "any" is asked: the pinned local
// address when one is set, so that a test never listens beyond it.
Network::NetAddress AnyLocalAddress()
{
    const std::string pinned = Network::GetLocalAddressOverride();
    return Network::NetAddress(pinned.empty() ? nullptr : pinned.c_str(), 0);
}

} // namespace

NetPlayerMessage::NetPlayerMessage(std::uint32_t kind, ZibPlayer* player) : NetMessage(kind), player_(player)
{
}

NetPlayerMessage::~NetPlayerMessage() = default;

NetTextMessage::NetTextMessage(const std::string& text, ZibPlayer* sender)
    : NetMessage(Text), text_(text), sender_(sender)
{
}

NetTextMessage::~NetTextMessage() = default;

ZibNet::ZibNet() : levelName_(&CurrentLevelName), levelRequest_(&GoToLevelNamed), currentLevel_(&CurrentLevel)
{
    manager_.Start();
    allPlayers_ = new ("Velkor_Network", __LINE__) ZibGroup("All_Players", NextGroupID(), nullptr);
}

ZibNet::~ZibNet()
{
    Shutdown();
    manager_.DestroyAll();
    if (g_active == this)
    {
        g_active = nullptr;
    }
}

std::uint32_t ZibNet::NextPlayerID()
{
    return ++g_playerIds;
}

std::uint32_t ZibNet::NextGroupID()
{
    return ++g_groupIds;
}

bool ZibNet::Activate()
{
    if (g_active != nullptr)
    {
        return false;
    }
    g_active = this;
    return true;
}

ZibNet* ZibNet::GetActive()
{
    return g_active;
}

void ZibNet::SetCallObserver(CallObserver observer, void* userData)
{
    g_observer = observer;
    g_observerData = userData;
}

void ZibNet::SetLevelHooks(LevelNameQuery query, LevelRequest request)
{
    levelName_ = query ? std::move(query) : LevelNameQuery(&CurrentLevelName);
    levelRequest_ = request ? std::move(request) : LevelRequest(&GoToLevelNamed);
}

void ZibNet::SetLevelQuery(LevelQuery query)
{
    currentLevel_ = query ? std::move(query) : LevelQuery(&CurrentLevel);
}

void ZibNet::Record(const char* operation) const
{
    if (g_observer != nullptr)
    {
        g_observer(operation, g_observerData);
    }
}

bool ZibNet::Report(const Core::RefPtr<NetMessage>& message) const
{
    return callback_ != nullptr ? callback_(message) : true;
}

void ZibNet::ReportSession(std::uint32_t kind) const
{
    Report(new ("Velkor_Network", __LINE__)
               NetSessionMessage(kind, AddressWithPort(hostAddress_), sessionName_));
}

bool ZibNet::IsActive() const
{
    return g_active == this;
}

bool ZibNet::IsNetworkGame() const
{
    return localPlayer_ && (host_ != 0 ? hosting_ != 0 : connected_ != 0);
}

// ---------------------------------------------------------------------------
// Transport

bool ZibNet::SendOn(std::uint32_t channel, std::uint32_t messageId, const void* data, std::uint32_t size,
                    const Network::NetAddress& to)
{
    if (transport_ != nullptr)
    {
        return transport_->Send(channel, messageId, data, size, to);
    }
    return session_ != nullptr && session_->Send(channel, messageId, data, size, to);
}

void ZibNet::Close(std::uint32_t channel)
{
    if (transport_ != nullptr)
    {
        transport_->CloseChannel(channel);
    }
    else if (session_ != nullptr)
    {
        // Never waits: this may run inside the pump, and the network thread
        // serves the request on its next pass.
        session_->CloseChannel(channel, false);
    }
}

// ---------------------------------------------------------------------------
// Starting and ending

bool ZibNet::Start(bool isHost, EventCallback callback, const std::string& sessionName,
                   const std::string& password, std::uint32_t pumpTimeLimitMs, std::uint32_t pumpIdleLimitMs,
                   std::uint32_t syncRate, std::uint16_t discoveryPort, std::uint16_t hostPort)
{
    if (!Activate())
    {
        return false;
    }
    ResetState();
    callback_ = callback;
    host_ = isHost ? 1 : 0;
    sessionName_ = sessionName;
    password_ = isHost ? password : std::string();
    auto handler = [this](Network::SocketEvent& event) { return HandleEvent(event); };
    session_ =
        manager_.CreateSession(sessionName, password_, password_.empty() ? 0 : 1, handler, 0, false, 0, 0, 1);
    if (session_ != nullptr && !isHost && !session_->ListenForBroadcasts(discoveryPort))
    {
        manager_.DestroySession(session_);
        session_ = nullptr;
    }
    if (session_ == nullptr)
    {
        g_active = nullptr;
        return false;
    }
    session_->SetReceiveDeadline(joinDeadlineMs_);
    session_->SetConnectDeadline(joinDeadlineMs_);
    discoveryPort_ = discoveryPort;
    hostPort_ = hostPort;
    pumpTimeLimitMs_ = pumpTimeLimitMs;
    pumpIdleLimitMs_ = pumpIdleLimitMs;
    syncRate_ = syncRate == 0 ? 1 : syncRate;
    syncPeriod_ = 1.0f / static_cast<float>(syncRate_);
    syncAccumulator_ = 0.0f;
    return true;
}

void ZibNet::ResetState()
{
    host_ = 0;
    hosting_ = 0;
    connected_ = 0;
    allPlayers_->Clear();
    groups_.clear();
    localPlayer_.Reset();
    sessions_.clear();
    pings_.clear();
    hostAddress_ = Network::NetAddress();
    syncFrames_ = 0;
    secondClock_ = 0.0f;
    syncAccumulator_ = 0.0f;
}

bool ZibNet::Shutdown()
{
    Record("Shutdown");
    if (g_active != this)
    {
        return false;
    }
    RemoveAllNetworkGameObjects();
    ClearBaseNetObjects();
    // The session's last events (its channels closing) find nothing to do.
    closing_ = 1;
    if (session_ != nullptr)
    {
        manager_.DestroySession(session_);
        session_ = nullptr;
    }
    closing_ = 0;
    ResetState();
    g_active = nullptr;
    return true;
}

void ZibNet::ListenForSessions()
{
    Record("ListenForSessions");
    if (g_active == this && session_ != nullptr && host_ == 0 && connected_ == 0)
    {
        session_->ListenForBroadcasts(discoveryPort_);
    }
}

void ZibNet::RefreshBroadcast()
{
    SessionBroadcast broadcast;
    broadcast.address = hostAddress_;
    broadcast.maxPlayers = maxPlayers_;
    broadcast.currentPlayers = std::max<std::uint32_t>(1, allPlayers_->GetSize());
    broadcast.passwordProtected = !password_.empty();
    broadcast.name = sessionName_;
    broadcast.networkId = networkId_;
    WriteSessionBroadcast(buffer_, broadcast);
}

bool ZibNet::HostSession(const std::string& playerName, std::uint32_t maxPlayers, std::uint32_t addressClass,
                         float intervalSeconds)
{
    if (g_active != this || host_ == 0 || hosting_ != 0 || session_ == nullptr)
    {
        return false;
    }
    Network::NetAddress listenAt = session_->GetLocalAddress();
    listenAt.GetSockAddr().sin_port = htons(hostPort_);
    if (!session_->OpenHost(listenAt, maxPlayers) ||
        !session_->GetChannelAddress(HostStreamChannel, hostAddress_))
    {
        session_->StopHosting(true);
        return false;
    }
    maxPlayers_ = maxPlayers;
    addressClass_ = addressClass;
    broadcastInterval_ = intervalSeconds;
    RefreshBroadcast();
    const auto intervalMs = static_cast<std::uint32_t>(std::max(0.0f, intervalSeconds) * 1000.0f);
    if (session_->CreateChannel(HostDatagramChannel, Network::DatagramSocket, hostAddress_,
                                Network::WatchedFlag, Network::NonBlockingOption) == nullptr ||
        !session_->StartBroadcast(discoveryPort_, addressClass, intervalMs, SessionBroadcastMessage,
                                  buffer_.data(), static_cast<std::uint32_t>(buffer_.size()), 0))
    {
        session_->CloseChannel(HostDatagramChannel, true);
        session_->StopHosting(true);
        return false;
    }
    ReportSession(NetMessage::SessionHosted);
    hosting_ = 1;
    Core::RefPtr<ZibPlayer> player(new ("Velkor_Network", __LINE__)
                                       ZibPlayer(NextPlayerID(), playerName, true, true, nullptr, nullptr));
    player->SetAddress(hostAddress_);
    localPlayer_ = player;
    AddPlayer(player.Get());
    return true;
}

bool ZibNet::JoinSession(const std::string& playerName, const std::string& hostAddress,
                         const std::string& password)
{
    Network::NetAddress address;
    return ParseAddressWithPort(hostAddress, address) && JoinSession(playerName, address, password);
}

bool ZibNet::JoinSession(const std::string& playerName, const Network::NetAddress& hostAddress,
                         const std::string& password)
{
    if (g_active != this || host_ != 0 || connected_ != 0 || session_ == nullptr)
    {
        return false;
    }
    session_->SetReceiveDeadline(joinDeadlineMs_);
    session_->SetConnectDeadline(joinDeadlineMs_);
    Network::NetAddress local;
    if (session_->CreateChannel(ClientStreamChannel, Network::StreamSocket, AnyLocalAddress(), 0, 0) ==
        nullptr)
    {
        return false;
    }
    if (!session_->Connect(ClientStreamChannel, hostAddress) ||
        !session_->GetChannelAddress(ClientStreamChannel, local) ||
        session_->CreateChannel(ClientDatagramChannel, Network::DatagramSocket, local, Network::WatchedFlag,
                                Network::NonBlockingOption) == nullptr)
    {
        session_->CloseChannel(ClientStreamChannel, true);
        return false;
    }
    hostAddress_ = hostAddress;
    Core::RefPtr<ZibPlayer> player(new ("Velkor_Network", __LINE__)
                                       ZibPlayer(0, playerName, true, false, nullptr, nullptr));
    player->SetAddress(local);
    localPlayer_ = player;
    AddPlayer(player.Get());

    buffer_.clear();
    PayloadWriter writer(buffer_);
    writer.CString(password);
    WritePlayerRecord(writer, *player);
    std::vector<Network::SocketEvent> events;
    if (session_->Send(ClientStreamChannel, JoinRequestMessage, buffer_.data(),
                       static_cast<std::uint32_t>(buffer_.size()), hostAddress) &&
        session_->Receive(ClientStreamChannel, events))
    {
        for (Network::SocketEvent& event : events)
        {
            HandleEvent(event);
            event.FreeMessage();
        }
    }
    if (connected_ != 0)
    {
        session_->SetChannelFlags(ClientStreamChannel, Network::WatchedFlag);
        allPlayers_->Sort();
        ReportSession(NetMessage::SessionJoined);
        return true;
    }
    for (Network::SocketEvent& event : events)
    {
        event.FreeMessage();
    }
    allPlayers_->Clear();
    localPlayer_.Reset();
    hostAddress_ = Network::NetAddress();
    session_->CloseChannel(ClientDatagramChannel, true);
    session_->CloseChannel(ClientStreamChannel, true);
    return false;
}

void ZibNet::EndSession()
{
    if (host_ != 0)
    {
        if (hosting_ == 0)
        {
            return;
        }
        hosting_ = 0;
        Close(HostStreamChannel);
        Close(HostDatagramChannel);
    }
    else
    {
        if (connected_ == 0)
        {
            return;
        }
        connected_ = 0;
        Close(ClientStreamChannel);
        Close(ClientDatagramChannel);
    }
    // Nobody is left in a session that ended here.
    allPlayers_->Clear();
    groups_.clear();
    pings_.clear();
    ReportSession(NetMessage::SessionEnded);
}

// ---------------------------------------------------------------------------
// Sending

bool ZibNet::Send(std::uint32_t messageId, const void* data, std::uint32_t size, ZibGroup* group,
                  bool reliable)
{
    Record("Send");
    return SendToGroup(messageId, data, size, group, reliable);
}

bool ZibNet::SendToGroup(std::uint32_t messageId, const void* data, std::uint32_t size, ZibGroup* group,
                         bool reliable)
{
    if (g_active != this || (size > 0 && data == nullptr))
    {
        return false;
    }
    if (host_ == 0)
    {
        return connected_ != 0 && SendOn(reliable ? ClientStreamChannel : ClientDatagramChannel, messageId,
                                         data, size, hostAddress_);
    }
    if (hosting_ == 0)
    {
        return false;
    }
    ZibGroup* target = group != nullptr ? group : allPlayers_.Get();
    bool all = true;
    // A copy: a failed send may not change the list, but a handler could.
    const std::vector<Core::RefPtr<ZibPlayer>> players = target->GetPlayers();
    for (const Core::RefPtr<ZibPlayer>& player : players)
    {
        if (!player->IsLocal() && !SendOn(reliable ? HostStreamChannel : HostDatagramChannel, messageId, data,
                                          size, player->GetAddress()))
        {
            all = false;
        }
    }
    return all;
}

bool ZibNet::SendToPlayer(std::uint32_t messageId, const void* data, std::uint32_t size, ZibPlayer* player,
                          bool reliable)
{
    if (g_active != this || (size > 0 && data == nullptr))
    {
        return false;
    }
    if (host_ == 0)
    {
        return connected_ != 0 && SendOn(reliable ? ClientStreamChannel : ClientDatagramChannel, messageId,
                                         data, size, hostAddress_);
    }
    return hosting_ != 0 && player != nullptr && !player->IsLocal() &&
           SendOn(reliable ? HostStreamChannel : HostDatagramChannel, messageId, data, size,
                  player->GetAddress());
}

bool ZibNet::SendTextMessage(bool reliable, const std::string& text, bool echo)
{
    return SendTextMessageToGroup(reliable, text, nullptr, echo);
}

bool ZibNet::SendTextMessageToGroup(bool reliable, const std::string& text, ZibGroup* group, bool echo)
{
    if (!localPlayer_)
    {
        return false;
    }
    ZibGroup* target = group != nullptr ? group : allPlayers_.Get();
    std::vector<std::uint8_t> payload;
    PayloadWriter writer(payload);
    writer.U32(localPlayer_->GetID());
    writer.U32(host_ == 0 && target->GetClientID() != 0 ? target->GetClientID() : target->GetID());
    writer.CString(text);
    const bool sent = SendToGroup(TextMessage, payload.data(), static_cast<std::uint32_t>(payload.size()),
                                  target, reliable);
    if (sent && echo)
    {
        Report(new ("Velkor_Network", __LINE__) NetTextMessage(text, localPlayer_.Get()));
    }
    return sent;
}

bool ZibNet::SendTextMessageToPlayer(bool reliable, const std::string& text, ZibPlayer* player, bool echo)
{
    if (!localPlayer_ || player == nullptr)
    {
        return false;
    }
    std::vector<std::uint8_t> payload;
    PayloadWriter writer(payload);
    writer.U32(localPlayer_->GetID());
    writer.U32(player->GetID());
    writer.CString(text);
    const bool sent = SendToPlayer(TextMessage, payload.data(), static_cast<std::uint32_t>(payload.size()),
                                   player, reliable);
    if (sent && echo)
    {
        Report(new ("Velkor_Network", __LINE__) NetTextMessage(text, localPlayer_.Get()));
    }
    return sent;
}

// ---------------------------------------------------------------------------
// Players and groups

bool ZibNet::AddPlayer(ZibPlayer* player)
{
    if (player == nullptr || allPlayers_->FindPlayer(player->GetID()) != nullptr)
    {
        return false;
    }
    Core::RefPtr<ZibPlayer> keep(player);
    if (host_ == 0)
    {
        Network::NetAddress peer;
        if (player->IsHost() && session_ != nullptr && session_->GetPeerAddress(ClientStreamChannel, peer))
        {
            player->SetAddress(peer);
        }
    }
    else
    {
        player->SetNetworkDevices(Input::KeyboardImp::CreateExternal(), Input::MouseImp::CreateExternal());
        std::vector<std::uint8_t> record;
        PayloadWriter writer(record);
        WritePlayerRecord(writer, *player);
        SendToGroup(PlayerAddedMessage, record.data(), static_cast<std::uint32_t>(record.size()),
                    allPlayers_.Get(), true);
    }
    allPlayers_->AddPlayer(player);
    Report(new ("Velkor_Network", __LINE__) NetPlayerMessage(NetMessage::PlayerAdded, player));
    return true;
}

void ZibNet::RemovePlayer(ZibPlayer* player)
{
    if (player == nullptr)
    {
        return;
    }
    Core::RefPtr<ZibPlayer> keep(player);
    Report(new ("Velkor_Network", __LINE__) NetPlayerMessage(NetMessage::PlayerRemoved, player));
    allPlayers_->RemovePlayer(player->GetID());
    for (const Core::RefPtr<ZibGroup>& group : groups_)
    {
        group->RemovePlayer(player->GetID());
    }
    if (host_ != 0 && hosting_ != 0)
    {
        std::vector<std::uint8_t> record;
        PayloadWriter writer(record);
        WritePlayerRecord(writer, *player);
        SendToGroup(PlayerRemovedMessage, record.data(), static_cast<std::uint32_t>(record.size()),
                    allPlayers_.Get(), true);
        // Its groups and pings go with it.
        std::erase_if(groups_,
                      [player](const Core::RefPtr<ZibGroup>& group) { return group->GetOwner() == player; });
        std::erase_if(pings_, [player](const PingRecord& ping) { return ping.playerId == player->GetID(); });
    }
    if (player->IsLocal() || player->IsHost())
    {
        if (player == localPlayer_.Get())
        {
            localPlayer_.Reset();
        }
        EndSession();
    }
}

bool ZibNet::AddGroup(ZibGroup* group)
{
    if (g_active != this || group == nullptr)
    {
        return false;
    }
    Core::RefPtr<ZibGroup> keep(group);
    if (host_ != 0)
    {
        groups_.push_back(keep);
        return true;
    }
    if (connected_ == 0 || !localPlayer_)
    {
        return false;
    }
    std::vector<std::uint8_t> payload;
    PayloadWriter writer(payload);
    writer.U32(group->GetOwner() != nullptr ? group->GetOwner()->GetID() : localPlayer_->GetID());
    writer.U32(group->GetID());
    writer.CString(group->GetName());
    for (const Core::RefPtr<ZibPlayer>& player : group->GetPlayers())
    {
        writer.U32(player->GetID());
    }
    if (!SendToGroup(CreateGroupMessage, payload.data(), static_cast<std::uint32_t>(payload.size()), nullptr,
                     true))
    {
        return false;
    }
    groups_.push_back(keep);
    return true;
}

bool ZibNet::RemoveGroup(ZibGroup* group)
{
    const auto found = std::find(groups_.begin(), groups_.end(), group);
    if (g_active != this || group == nullptr || found == groups_.end())
    {
        return false;
    }
    if (host_ == 0)
    {
        if (connected_ == 0 || !localPlayer_)
        {
            return false;
        }
        std::vector<std::uint8_t> payload;
        PayloadWriter writer(payload);
        writer.U32(group->GetOwner() != nullptr ? group->GetOwner()->GetID() : localPlayer_->GetID());
        writer.U32(group->GetID());
        if (!SendToGroup(DestroyGroupMessage, payload.data(), static_cast<std::uint32_t>(payload.size()),
                         nullptr, true))
        {
            return false;
        }
    }
    groups_.erase(found);
    return true;
}

ZibPlayer* ZibNet::FindPlayerByID(std::uint32_t id) const
{
    return allPlayers_->FindPlayer(id);
}

ZibPlayer* ZibNet::FindPlayerByName(const std::string& name) const
{
    return allPlayers_->FindPlayer(name);
}

ZibPlayer* ZibNet::FindPlayerByAddress(const Network::NetAddress& address) const
{
    for (const Core::RefPtr<ZibPlayer>& player : allPlayers_->GetPlayers())
    {
        if (player->GetAddress() == address)
        {
            return player.Get();
        }
    }
    return nullptr;
}

ZibGroup* ZibNet::FindGroupByID(std::uint32_t id, ZibPlayer* owner) const
{
    ZibPlayer* who = owner != nullptr ? owner : localPlayer_.Get();
    if (allPlayers_->GetID() == id)
    {
        return allPlayers_.Get();
    }
    for (const Core::RefPtr<ZibGroup>& group : groups_)
    {
        if (group->GetID() == id && (group->GetOwner() == nullptr || group->GetOwner() == who))
        {
            return group.Get();
        }
    }
    return nullptr;
}

ZibGroup* ZibNet::FindGroupByName(const std::string& name, ZibPlayer* owner) const
{
    ZibPlayer* who = owner != nullptr ? owner : localPlayer_.Get();
    if (allPlayers_->GetName() == name)
    {
        return allPlayers_.Get();
    }
    for (const Core::RefPtr<ZibGroup>& group : groups_)
    {
        if (group->GetName() == name && (group->GetOwner() == nullptr || group->GetOwner() == who))
        {
            return group.Get();
        }
    }
    return nullptr;
}

ZibGroup* ZibNet::FindGroupForSender(std::uint32_t id, ZibPlayer* sender) const
{
    for (const Core::RefPtr<ZibGroup>& group : groups_)
    {
        if (group->GetOwner() == sender && group->GetClientID() == id && id != 0)
        {
            return group.Get();
        }
    }
    return FindGroupByID(id, sender);
}

// ---------------------------------------------------------------------------
// Per frame

void ZibNet::ResetNetworkKeyboards()
{
    Record("ResetNetworkKeyboards");
    for (const Core::RefPtr<ZibPlayer>& player : allPlayers_->GetPlayers())
    {
        if (host_ != 0 && player->IsLocal())
        {
            continue;
        }
        if (Input::Keyboard* keyboard = player->GetNetworkKeyboard())
        {
            keyboard->Reset();
        }
    }
}

void ZibNet::SendInput()
{
    if (!localPlayer_ || connected_ == 0)
    {
        return;
    }
    const std::uint32_t id = localPlayer_->GetID();
    Input::KeyboardImp* keyboard = Input::KeyboardImp::GetInstance();
    if (keyboard != nullptr && keyboard->AnyKey())
    {
        const void* keys = nullptr;
        std::uint32_t size = 0;
        keyboard->ExportSnapshot(keys, size);
        if (size > 0)
        {
            buffer_.clear();
            PayloadWriter writer(buffer_);
            writer.U32(id);
            writer.Bytes(keys, size);
            SendToGroup(KeyboardMessage, buffer_.data(), static_cast<std::uint32_t>(buffer_.size()), nullptr,
                        false);
        }
    }
    if (Input::MouseImp* mouse = Input::MouseImp::GetInstance())
    {
        const void* state = nullptr;
        std::uint32_t size = 0;
        mouse->GetState(state, size);
        if (size > 0)
        {
            buffer_.clear();
            PayloadWriter writer(buffer_);
            writer.U32(id);
            writer.Bytes(state, size);
            SendToGroup(MouseMessage, buffer_.data(), static_cast<std::uint32_t>(buffer_.size()), nullptr,
                        false);
        }
    }
}

void ZibNet::SendPings()
{
    if (hosting_ == 0 || !localPlayer_)
    {
        return;
    }
    const double now = Core::GetMilliseconds();
    // Replies may come a few frames late: the last second's sends are kept,
    // each under its own number.
    std::erase_if(pings_, [now](const PingRecord& ping) { return now - ping.sentAt > 1000.0; });
    const std::vector<Core::RefPtr<ZibPlayer>> players = allPlayers_->GetPlayers();
    for (const Core::RefPtr<ZibPlayer>& player : players)
    {
        if (player->IsLocal())
        {
            continue;
        }
        const std::uint32_t sequence = ++pingSequence_;
        pings_.push_back({player->GetID(), sequence, now});
        buffer_.clear();
        PayloadWriter writer(buffer_);
        writer.U32(localPlayer_->GetID());
        writer.U32(sequence);
        SendOn(HostDatagramChannel, PingMessage, buffer_.data(), static_cast<std::uint32_t>(buffer_.size()),
               player->GetAddress());
    }
}

void ZibNet::SyncHost()
{
    if (hosting_ == 0)
    {
        return;
    }
    const std::string level = levelName_();
    SendToGroup(LevelNameMessage, level.data(), static_cast<std::uint32_t>(level.size()), nullptr, false);
    SyncObjects();
}

void ZibNet::Update(float dt)
{
    Record("Update");
    if (g_active != this)
    {
        return;
    }
    syncAccumulator_ += dt;
    secondClock_ += dt;
    for (ZibBroadcast& session : sessions_)
    {
        session.SetAge(session.GetAge() + dt);
    }
    std::erase_if(sessions_,
                  [this](const ZibBroadcast& session) { return session.GetAge() > broadcastTimeOut_; });

    const bool sync = syncPeriod_ <= syncAccumulator_;
    if (sync)
    {
        ++syncFrames_;
        syncAccumulator_ -= syncPeriod_;
        syncAccumulator_ = std::min(syncAccumulator_, dt);
    }
    if (host_ == 0)
    {
        if (sync)
        {
            SendInput();
        }
        if (session_ != nullptr)
        {
            session_->Pump(pumpTimeLimitMs_, pumpIdleLimitMs_);
        }
    }
    else
    {
        SendPings();
        if (hosting_ != 0 && session_ != nullptr)
        {
            RefreshBroadcast();
            session_->UpdateBroadcast(buffer_.data(), static_cast<std::uint32_t>(buffer_.size()));
        }
        if (session_ != nullptr)
        {
            session_->Pump(pumpTimeLimitMs_, pumpIdleLimitMs_);
        }
        if (sync)
        {
            SyncHost();
        }
    }
    if (secondClock_ > 1.0f)
    {
        measuredSyncRate_ = syncFrames_ == 0 ? 1 : syncFrames_;
        syncFrames_ = 0;
        secondClock_ -= 1.0f;
        secondClock_ = std::min(secondClock_, dt);
    }
}

} // namespace Velkor
