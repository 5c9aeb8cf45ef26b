#pragma once

// A session fixture over loopback: every address is 127.0.0.1, ports come
// from the system, and every wait is bounded.

#include "net/Network_Engine.h"

#include "NetTestSupport.h"

#include "core/Core_Clock.h"
#include "core/Core_Startup.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

namespace NetTest
{

// What a handler saw, with the payload copied out.
struct Seen
{
    std::uint32_t kind;
    std::uint32_t channel;
    std::uint32_t id;
    Bytes payload;
    Network::NetAddress peer;
    std::uint8_t failed;
    Network::SocketRecord* record;
};

class Recorder
{
public:
    Network::EventHandler Handler()
    {
        return [this](Network::SocketEvent& event)
        {
            Seen seen{event.kind, event.channel, event.messageId, {}, event.peer, event.failed, event.record};
            if (event.message != nullptr)
            {
                seen.payload.assign(event.payload, event.payload + event.payloadSize);
            }
            if (onEvent && !onEvent(event))
            {
                return false;
            }
            if (recordData || event.kind != Network::MessageReceived)
            {
                events.push_back(std::move(seen));
            }
            return true;
        };
    }

    std::size_t Count(std::uint32_t kind) const
    {
        std::size_t count = 0;
        for (const Seen& seen : events)
        {
            count += seen.kind == kind ? 1 : 0;
        }
        return count;
    }

    const Seen* First(std::uint32_t kind) const
    {
        for (const Seen& seen : events)
        {
            if (seen.kind == kind)
            {
                return &seen;
            }
        }
        return nullptr;
    }

    std::vector<Seen> events;
    // Called first for every event; false keeps a data event's buffer.
    std::function<bool(Network::SocketEvent&)> onEvent;
    // Off: data events are only passed to onEvent, not kept.
    bool recordData = true;
};

inline std::uint32_t TestResolver(const char* name)
{
    // The only name this resolver knows; nothing asks a name server.
    return std::string(name) == "loopback.test" ? htonl(0x7F000001u) : INADDR_NONE;
}

class SessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Network::SetLocalAddressOverride("127.0.0.1");
        Network::SetResolver(&TestResolver);
        manager_.Start();
    }

    void TearDown() override { manager_.DestroyAll(); }

    Network::Zib_Session* Open(Recorder& recorder, std::uint32_t selectTimeoutMs = 1)
    {
        return manager_.CreateSession("test", "secret", 1, recorder.Handler(), 0, false, 0, 0,
                                      selectTimeoutMs);
    }

    static Network::NetAddress Loopback(std::int32_t port = 0)
    {
        return Network::NetAddress("127.0.0.1", port);
    }

    static Network::NetAddress ChannelAddress(Network::Zib_Session* session, std::uint32_t channel)
    {
        Network::NetAddress address;
        EXPECT_TRUE(session->GetChannelAddress(channel, address));
        return address;
    }

    // Pumps the given sessions until the condition holds; false after the
    // time limit.
    static bool PumpUntil(std::initializer_list<Network::Zib_Session*> sessions,
                          const std::function<bool()>& done, double limitMs = 10000.0)
    {
        const double start = Core::GetMilliseconds();
        while (!done())
        {
            if (Core::GetMilliseconds() - start > limitMs)
            {
                return false;
            }
            for (Network::Zib_Session* session : sessions)
            {
                session->Pump(5, 0);
            }
        }
        return true;
    }

    // A host listening on channel 2 and a client whose channel 3 is connected
    // to it; the host has seen the connection. `clientMask` 0 connects at
    // once, 64 through the network thread.
    struct Pair
    {
        Network::Zib_Session* host = nullptr;
        Network::Zib_Session* client = nullptr;
        Network::NetAddress hostAddress;
        Network::NetAddress clientAddress;
        Network::SocketRecord* accepted = nullptr;
    };

    bool Connect(Pair& pair, Recorder& host, Recorder& client, std::uint32_t clientMask,
                 std::uint32_t clientFlags = Network::WatchedFlag)
    {
        pair.host = Open(host);
        pair.client = Open(client);
        if (pair.host == nullptr || pair.client == nullptr || !pair.host->OpenHost(Loopback(), 16))
        {
            return false;
        }
        pair.hostAddress = ChannelAddress(pair.host, 2);
        if (pair.client->CreateChannel(3, Network::StreamSocket, Loopback(), clientFlags, clientMask) ==
            nullptr)
        {
            return false;
        }
        pair.clientAddress = ChannelAddress(pair.client, 3);
        if (!pair.client->Connect(3, pair.hostAddress))
        {
            return false;
        }
        const bool accepted =
            PumpUntil({pair.host, pair.client},
                      [&]
                      {
                          return host.First(Network::ConnectionAccepted) != nullptr &&
                                 (clientMask == 0 || client.First(Network::ConnectFinished) != nullptr);
                      });
        if (!accepted)
        {
            return false;
        }
        pair.accepted = host.First(Network::ConnectionAccepted)->record;
        return true;
    }

    // Recorders outlive the sessions that report to them.
    Recorder& Rec() { return recorders_.emplace_back(); }

    Core::Startup guard_;
    std::deque<Recorder> recorders_;
    Network::Zib_Network_Manager manager_;
};

} // namespace NetTest
