#pragma once

#include "framework/Velkor_Network.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{

// Keeps every message the layer sends and every channel it closes.
class RecordingTransport : public ZibNetTransport
{
public:
    struct Sent
    {
        std::uint32_t channel;
        std::uint32_t messageId;
        std::vector<std::uint8_t> bytes;
        Network::NetAddress to;
    };

    bool Send(std::uint32_t channel, std::uint32_t messageId, const void* data, std::uint32_t size,
              const Network::NetAddress& to) override;
    void CloseChannel(std::uint32_t channel) override { closed.push_back(channel); }

    // The sends of one message id, in order.
    std::vector<Sent> Of(std::uint32_t messageId) const;

    std::vector<Sent> sent;
    std::vector<std::uint32_t> closed;
    bool refuse = false;
};

// Puts a ZibNet into a session without sockets.
class ZibNetTestAccess
{
public:
    enum class Session
    {
        None,
        Host,
        Client,
    };

    // Where the pretend host and this client are.
    static Network::NetAddress HostAddress();
    static Network::NetAddress AddressOf(std::uint32_t playerId);

    // Host: hosting, its local player `localId`. Client: connected to
    // HostAddress(), its local player `localId`. The layer becomes the
    // active one (any other is shut down first) and sends to `transport`
    // (a shared recorder when null). None shuts the pretend session down.
    static void Pretend(ZibNet& net, Session session, std::uint32_t localId = 1,
                        ZibNetTransport* transport = nullptr, ZibNet::EventCallback callback = nullptr,
                        const std::string& password = "", std::uint32_t maxPlayers = 8);
    // The recorder used when Pretend is given none (emptied by Pretend).
    static RecordingTransport& SharedTransport();

    // A remote player already in the session (no event is reported); on a
    // host it gets its network keyboard and mouse.
    static ZibPlayer* AddRemote(ZibNet& net, std::uint32_t id, const std::string& name, bool host = false);
    // A client's listening state: not connected, hearing broadcasts; with
    // `joining` its local player (id 0) waits for the join reply.
    static void PretendListening(ZibNet& net, ZibNet::EventCallback callback = nullptr, bool joining = false);
    // Takes the next player id from the process-wide counter.
    static std::uint32_t TakePlayerID() { return ZibNet::NextPlayerID(); }
    static void SetSyncRate(ZibNet& net, std::uint32_t rate)
    {
        net.syncRate_ = rate == 0 ? 1 : rate;
        net.syncPeriod_ = 1.0f / static_cast<float>(net.syncRate_);
        net.syncAccumulator_ = 0.0f;
    }
    // A made-up data event: the payload sits in a buffer of exactly its
    // size, so a read past it is a sanitizer finding.
    static void Deliver(ZibNet& net, std::uint32_t channel, std::uint32_t messageId,
                        const std::vector<std::uint8_t>& payload, const Network::NetAddress& from);
    static void DeliverKind(ZibNet& net, std::uint32_t kind, std::uint32_t channel,
                            const Network::NetAddress& peer);
    static void SetMaxPlayers(ZibNet& net, std::uint32_t maxPlayers) { net.maxPlayers_ = maxPlayers; }
    static void AddFoundSession(ZibNet& net, const ZibBroadcast& session)
    {
        net.sessions_.push_back(session);
    }
    static std::size_t PendingPings(const ZibNet& net) { return net.pings_.size(); }
};

} // namespace Velkor
