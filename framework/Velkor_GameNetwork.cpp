#include "framework/Velkor_Game.h"

#include <cstring>

namespace Velkor
{

namespace
{

// What the game asks of the session layer: pump limits in milliseconds,
// synchronisations per second, the discovery port and the host port.
constexpr std::uint32_t PumpTimeLimitMs = 5;
constexpr std::uint32_t PumpIdleLimitMs = 3;
constexpr std::uint32_t SyncRate = 60;
constexpr std::uint16_t DiscoveryPort = 3000;
constexpr std::uint16_t HostPort = 0;

// HostSession's broadcast: address class 1, every quarter second.
constexpr std::uint32_t BroadcastAddressClass = 1;
constexpr float BroadcastIntervalSeconds = 0.25f;

template <class Message> const Message* As(const NetMessage& message)
{
    return dynamic_cast<const Message*>(&message);
}

ZibPlayer* PlayerOf(const NetMessage& message)
{
    const auto* playerMessage = As<NetPlayerMessage>(message);
    return playerMessage != nullptr ? playerMessage->GetPlayer() : nullptr;
}

} // namespace

bool Game::NetworkEventCallback(const Core::RefPtr<NetMessage>& message)
{
    Game* game = GetInstance();
    if (game == nullptr || !message)
    {
        return false;
    }
    switch (message->GetKind())
    {
    case NetMessage::SessionHosted:
        game->OnSessionHosted();
        break;
    case NetMessage::SessionJoined:
        game->OnSessionJoined();
        break;
    case NetMessage::JoinRequest:
        return game->OnPlayerJoinRequest(PlayerOf(*message));
    case NetMessage::JoinReply:
        if (const auto* data = As<NetDataMessage>(*message); data != nullptr && data->GetValue(0) != 0)
        {
            std::int32_t code = 0;
            std::memcpy(&code, reinterpret_cast<const void*>(data->GetValue(0)), sizeof code);
            // A positive code is the id the host gave this player: admitted.
            game->OnJoinReply(code > 0 ? 0 : code);
        }
        break;
    case NetMessage::PlayerAdded:
        game->OnPlayerAdded(PlayerOf(*message));
        break;
    case NetMessage::PlayerRemoved:
        game->OnPlayerRemoved(PlayerOf(*message));
        break;
    case NetMessage::Text:
        if (const auto* text = As<NetTextMessage>(*message))
        {
            game->OnTextMessage(text->GetSender(), text->GetText());
        }
        break;
    case NetMessage::Data:
        if (const auto* data = As<NetDataMessage>(*message))
        {
            game->OnDataMessage(reinterpret_cast<ZibPlayer*>(data->GetValue(3)),
                                static_cast<std::uint32_t>(data->GetValue(0)),
                                static_cast<std::uint32_t>(data->GetValue(1)),
                                reinterpret_cast<const void*>(data->GetValue(2)));
        }
        break;
    case NetMessage::SessionEnded:
    {
        ZibNet* network = game->GetNetworkEngine();
        const bool client = network != nullptr && !network->IsHost();
        if (client)
        {
            network->RemoveAllNetworkGameObjects();
        }
        game->OnSessionEnded();
        // A client goes back to looking for sessions.
        if (client)
        {
            network->ListenForSessions();
        }
        break;
    }
    default:
        break;
    }
    return true;
}

bool Game::NetworkStart(const std::string& networkId)
{
    if (!networkEngine_)
    {
        return false;
    }
    networkEngine_->Shutdown();
    if (!networkEngine_->Start(false, &Game::NetworkEventCallback, "", "", PumpTimeLimitMs, PumpIdleLimitMs,
                               SyncRate, DiscoveryPort, HostPort))
    {
        return false;
    }
    networkEngine_->SetNetworkID(networkId);
    return true;
}

bool Game::HostNetworkGame(const std::string& hostName, const std::string& playerName,
                           const std::string& password, std::uint32_t playerCount)
{
    // Shutdown answers whether a layer was running: NetworkStart comes first.
    if (!networkEngine_ || !networkEngine_->Shutdown())
    {
        return false;
    }
    if (!networkEngine_->Start(true, &Game::NetworkEventCallback, hostName, password, PumpTimeLimitMs,
                               PumpIdleLimitMs, SyncRate, DiscoveryPort, HostPort))
    {
        return false;
    }
    return networkEngine_->HostSession(playerName, playerCount, BroadcastAddressClass,
                                       BroadcastIntervalSeconds);
}

bool Game::JoinNetworkGame(const std::string& playerName, const ZibBroadcast& session,
                           const std::string& password)
{
    return networkEngine_ && networkEngine_->JoinSession(playerName, session.GetAddress(), password);
}

bool Game::NetworkShutdown()
{
    return networkEngine_ && networkEngine_->Shutdown();
}

bool Game::IsNetworkGame() const
{
    return networkEngine_ && networkEngine_->IsNetworkGame();
}

bool Game::IsServer() const
{
    return networkEngine_ && networkEngine_->IsHost();
}

void Game::RefreshOnlineSessions()
{
    onlineSessions_.clear();
    if (!networkEngine_)
    {
        return;
    }
    for (const ZibBroadcast& session : networkEngine_->GetBroadcastList())
    {
        if (session.GetNetworkID() == networkEngine_->GetNetworkID())
        {
            onlineSessions_.push_back(session);
        }
    }
}

bool Game::OnPlayerJoinRequest(ZibPlayer*)
{
    return true;
}

void Game::OnJoinReply(std::int32_t) {}

void Game::OnSessionJoined() {}

void Game::OnSessionHosted() {}

void Game::OnSessionEnded() {}

void Game::OnPlayerAdded(ZibPlayer*) {}

void Game::OnPlayerRemoved(ZibPlayer*) {}

void Game::OnTextMessage(ZibPlayer*, const std::string&) {}

void Game::OnDataMessage(ZibPlayer*, std::uint32_t, std::uint32_t, const void*) {}

} // namespace Velkor
