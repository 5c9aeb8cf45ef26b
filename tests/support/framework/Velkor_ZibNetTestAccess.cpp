#include "framework/Velkor_ZibNetTestAccess.h"

#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "net/Network_Message.h"

namespace Velkor
{

bool RecordingTransport::Send(std::uint32_t channel, std::uint32_t messageId, const void* data,
                              std::uint32_t size, const Network::NetAddress& to)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    sent.push_back({channel, messageId, std::vector<std::uint8_t>(bytes, bytes + size), to});
    return !refuse;
}

std::vector<RecordingTransport::Sent> RecordingTransport::Of(std::uint32_t messageId) const
{
    std::vector<Sent> found;
    for (const Sent& s : sent)
    {
        if (s.messageId == messageId)
        {
            found.push_back(s);
        }
    }
    return found;
}

Network::NetAddress ZibNetTestAccess::HostAddress()
{
    return Network::NetAddress("127.0.0.1", 4000);
}

Network::NetAddress ZibNetTestAccess::AddressOf(std::uint32_t playerId)
{
    return Network::NetAddress("127.0.0.1", static_cast<std::int32_t>(5000 + playerId));
}

RecordingTransport& ZibNetTestAccess::SharedTransport()
{
    static RecordingTransport transport;
    return transport;
}

void ZibNetTestAccess::Pretend(ZibNet& net, Session session, std::uint32_t localId,
                               ZibNetTransport* transport, ZibNet::EventCallback callback,
                               const std::string& password, std::uint32_t maxPlayers)
{
    if (ZibNet* active = ZibNet::GetActive())
    {
        active->Shutdown();
        active->SetTransport(nullptr);
    }
    if (session == Session::None)
    {
        net.SetTransport(nullptr);
        return;
    }
    SharedTransport() = RecordingTransport();
    net.Activate();
    net.ResetState();
    net.SetTransport(transport != nullptr ? transport : &SharedTransport());
    net.callback_ = callback;
    net.host_ = session == Session::Host ? 1 : 0;
    net.hosting_ = net.host_;
    net.connected_ = net.host_ == 0 ? 1 : 0;
    net.password_ = password;
    net.maxPlayers_ = maxPlayers;
    net.sessionName_ = "pretend";
    net.hostAddress_ = HostAddress();
    net.syncRate_ = 60;
    net.syncPeriod_ = 1.0f / 60.0f;
    Core::RefPtr<ZibPlayer> local(new ZibPlayer(localId, "Local", true, net.host_ != 0, nullptr, nullptr));
    local->SetAddress(net.host_ != 0 ? HostAddress() : AddressOf(localId));
    net.localPlayer_ = local;
    net.allPlayers_->AddPlayer(local.Get());
}

void ZibNetTestAccess::PretendListening(ZibNet& net, ZibNet::EventCallback callback, bool joining)
{
    Pretend(net, Session::Client, 0, nullptr, callback);
    net.connected_ = 0;
    if (!joining)
    {
        net.allPlayers_->Clear();
        net.localPlayer_.Reset();
    }
}

ZibPlayer* ZibNetTestAccess::AddRemote(ZibNet& net, std::uint32_t id, const std::string& name, bool host)
{
    Core::RefPtr<ZibPlayer> player(new ZibPlayer(id, name, false, host, nullptr, nullptr));
    player->SetAddress(host ? HostAddress() : AddressOf(id));
    if (net.host_ != 0)
    {
        player->SetNetworkDevices(Input::KeyboardImp::CreateExternal(), Input::MouseImp::CreateExternal());
    }
    net.allPlayers_->AddPlayer(player.Get());
    return player.Get();
}

void ZibNetTestAccess::Deliver(ZibNet& net, std::uint32_t channel, std::uint32_t messageId,
                               const std::vector<std::uint8_t>& payload, const Network::NetAddress& from)
{
    const auto total = static_cast<std::uint32_t>(payload.size() + Network::HeaderSize);
    std::uint8_t* message = Network::AllocateMessage(total);
    Network::WriteHeader(message, messageId, total);
    std::copy(payload.begin(), payload.end(), message + Network::HeaderSize);
    Network::SocketEvent event;
    event.kind = Network::MessageReceived;
    event.channel = channel;
    event.peer = from;
    event.AttachMessage(message, total);
    net.HandleEvent(event);
    event.FreeMessage();
}

void ZibNetTestAccess::DeliverKind(ZibNet& net, std::uint32_t kind, std::uint32_t channel,
                                   const Network::NetAddress& peer)
{
    Network::SocketEvent event;
    event.kind = kind;
    event.channel = channel;
    event.peer = peer;
    net.HandleEvent(event);
}

} // namespace Velkor
