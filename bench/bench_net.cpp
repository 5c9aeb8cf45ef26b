// Socket engine throughput and latency over loopback, each beside plain
// sockets moving the same bytes in the same run; the session layer's join
// and ping (bench_net_sessions.cpp) beside the plain UDP ping-pong.

#include "BenchRatio.h"

#include "net/Network_Engine.h"

#include "core/Core_Startup.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

using Network::NetAddress;

// Messages per iteration: about 64 KiB, so that a plain blocking socket can
// take a whole batch before its reader starts.
std::uint32_t BatchFor(std::size_t payload)
{
    return static_cast<std::uint32_t>(std::max<std::size_t>(1, 65536 / (payload + Network::HeaderSize)));
}

NetAddress Loopback(std::int32_t port = 0)
{
    return NetAddress("127.0.0.1", port);
}

NetAddress BoundAddress(int handle)
{
    NetAddress address;
    socklen_t length = sizeof(sockaddr_in);
    getsockname(handle, reinterpret_cast<sockaddr*>(&address.GetSockAddr()), &length);
    return address;
}

// Two sessions on loopback, pumped on the benchmark's thread.
struct Sessions
{
    Sessions()
    {
        Network::SetLocalAddressOverride("127.0.0.1");
        manager.Start();
        auto handler = [this](Network::SocketEvent& event)
        {
            if (event.kind == Network::MessageReceived)
            {
                ++received;
                if (echo && event.session == host)
                {
                    host->Send(event.channel, event.messageId, event.payload, event.payloadSize, event.peer);
                }
            }
            else if (event.kind == Network::ConnectionAccepted)
            {
                accepted = true;
            }
            else if (event.kind == Network::ConnectFinished)
            {
                connected = event.failed == 0;
            }
            return true;
        };
        host = manager.CreateSession("bench", "", 0, handler, 0, false, 0, 0, 1);
        client = manager.CreateSession("bench", "", 0, handler, 0, false, 0, 0, 1);
    }

    void PumpUntil(std::uint64_t count)
    {
        while (received < count)
        {
            host->Pump(5, 0);
            client->Pump(5, 0);
        }
    }

    void ConnectStream()
    {
        host->OpenHost(Loopback(), 4);
        host->GetChannelAddress(2, hostAddress);
        client->CreateChannel(3, Network::StreamSocket, Loopback(), Network::WatchedFlag,
                              Network::NonBlockingOption | Network::NoDelayOption);
        client->GetChannelAddress(3, clientAddress);
        client->Connect(3, hostAddress);
        while (!accepted || !connected)
        {
            host->Pump(5, 0);
            client->Pump(5, 0);
        }
    }

    void OpenDatagrams()
    {
        host->CreateChannel(4, Network::DatagramSocket, Loopback(), Network::WatchedFlag,
                            Network::NonBlockingOption);
        client->CreateChannel(5, Network::DatagramSocket, Loopback(), Network::WatchedFlag,
                              Network::NonBlockingOption);
        host->GetChannelAddress(4, hostAddress);
        client->GetChannelAddress(5, clientAddress);
    }

    Core::Startup guard;
    Network::Zib_Network_Manager manager;
    Network::Zib_Session* host = nullptr;
    Network::Zib_Session* client = nullptr;
    NetAddress hostAddress;
    NetAddress clientAddress;
    std::uint64_t received = 0;
    bool accepted = false;
    bool connected = false;
    bool echo = false;
};

void SetBytes(benchmark::State& state, std::size_t payload, std::uint32_t batch)
{
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * batch);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * batch *
                            static_cast<std::int64_t>(payload + Network::HeaderSize));
}

// Sends batches of messages on `channel` of the client and pumps both
// sessions until the host has them all.
void RunSessionBatches(benchmark::State& state, Sessions& sessions, std::uint32_t channel,
                       std::uint32_t batch)
{
    const auto payload = static_cast<std::size_t>(state.range(0));
    const std::vector<std::uint8_t> data(payload, 0x5A);
    std::uint64_t sent = 0;
    for (auto _ : state)
    {
        for (std::uint32_t i = 0; i < batch; ++i)
        {
            sessions.client->Send(channel, i, data.data(), static_cast<std::uint32_t>(payload),
                                  sessions.hostAddress);
        }
        sent += batch;
        sessions.PumpUntil(sent);
    }
    SetBytes(state, payload, batch);
}

void BM_SessionStream(benchmark::State& state)
{
    Sessions sessions;
    sessions.ConnectStream();
    RunSessionBatches(state, sessions, 3, BatchFor(static_cast<std::size_t>(state.range(0))));
}

// A connected pair of plain blocking TCP sockets on loopback.
struct PlainTcp
{
    PlainTcp()
    {
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        const NetAddress any = Loopback();
        bind(listener, reinterpret_cast<const sockaddr*>(&any.GetSockAddr()), sizeof(sockaddr_in));
        listen(listener, 1);
        const NetAddress target = BoundAddress(listener);
        writer = socket(AF_INET, SOCK_STREAM, 0);
        connect(writer, reinterpret_cast<const sockaddr*>(&target.GetSockAddr()), sizeof(sockaddr_in));
        reader = accept(listener, nullptr, nullptr);
        close(listener);
        const int on = 1;
        setsockopt(writer, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    }
    ~PlainTcp()
    {
        close(writer);
        close(reader);
    }
    int writer = -1;
    int reader = -1;
};

void BM_PlainStream(benchmark::State& state)
{
    const auto payload = static_cast<std::size_t>(state.range(0));
    const std::uint32_t batch = BatchFor(payload);
    PlainTcp tcp;
    std::vector<std::uint8_t> message(payload + Network::HeaderSize, 0x5A);
    std::vector<std::uint8_t> incoming(message.size() * batch);
    for (auto _ : state)
    {
        for (std::uint32_t i = 0; i < batch; ++i)
        {
            Network::WriteHeader(message.data(), i, static_cast<std::uint32_t>(message.size()));
            send(tcp.writer, message.data(), message.size(), MSG_NOSIGNAL);
        }
        std::size_t got = 0;
        while (got < incoming.size())
        {
            const ssize_t count = recv(tcp.reader, incoming.data() + got, incoming.size() - got, 0);
            if (count <= 0)
            {
                state.SkipWithError("plain stream closed");
                return;
            }
            got += static_cast<std::size_t>(count);
        }
    }
    SetBytes(state, payload, batch);
}

void BM_SessionDatagram(benchmark::State& state)
{
    Sessions sessions;
    sessions.OpenDatagrams();
    // Small batches: a datagram socket drops what its receive buffer cannot
    // hold, so the sender never runs far ahead.
    RunSessionBatches(state, sessions, 5, 8);
}

struct PlainUdp
{
    PlainUdp()
    {
        const NetAddress any = Loopback();
        a = socket(AF_INET, SOCK_DGRAM, 0);
        b = socket(AF_INET, SOCK_DGRAM, 0);
        bind(a, reinterpret_cast<const sockaddr*>(&any.GetSockAddr()), sizeof(sockaddr_in));
        bind(b, reinterpret_cast<const sockaddr*>(&any.GetSockAddr()), sizeof(sockaddr_in));
        addressA = BoundAddress(a);
        addressB = BoundAddress(b);
    }
    ~PlainUdp()
    {
        close(a);
        close(b);
    }
    int a = -1;
    int b = -1;
    NetAddress addressA;
    NetAddress addressB;
};

void BM_PlainDatagram(benchmark::State& state)
{
    const auto payload = static_cast<std::size_t>(state.range(0));
    const std::uint32_t batch = 8;
    PlainUdp udp;
    std::vector<std::uint8_t> message(payload + Network::HeaderSize, 0x5A);
    std::vector<std::uint8_t> incoming(message.size());
    for (auto _ : state)
    {
        for (std::uint32_t i = 0; i < batch; ++i)
        {
            Network::WriteHeader(message.data(), i, static_cast<std::uint32_t>(message.size()));
            sendto(udp.a, message.data(), message.size(), MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(&udp.addressB.GetSockAddr()), sizeof(sockaddr_in));
        }
        for (std::uint32_t i = 0; i < batch; ++i)
        {
            recvfrom(udp.b, incoming.data(), incoming.size(), 0, nullptr, nullptr);
        }
    }
    SetBytes(state, payload, batch);
}

// One message out and its echo back, both through send, network thread,
// reader, queue and pump.
void BM_SessionPingPong(benchmark::State& state)
{
    Sessions sessions;
    sessions.OpenDatagrams();
    sessions.echo = true;
    const std::uint8_t data[8] = {};
    std::uint64_t expected = 0;
    for (auto _ : state)
    {
        sessions.client->Send(5, 1, data, sizeof(data), sessions.hostAddress);
        expected += 2;
        sessions.PumpUntil(expected);
    }
}

void BM_PlainPingPong(benchmark::State& state)
{
    PlainUdp udp;
    std::uint8_t message[16] = {};
    for (auto _ : state)
    {
        sendto(udp.a, message, sizeof(message), MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&udp.addressB.GetSockAddr()), sizeof(sockaddr_in));
        recvfrom(udp.b, message, sizeof(message), 0, nullptr, nullptr);
        sendto(udp.b, message, sizeof(message), MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&udp.addressA.GetSockAddr()), sizeof(sockaddr_in));
        recvfrom(udp.a, message, sizeof(message), 0, nullptr, nullptr);
    }
}

// Each case runs about a second of measurement and well under two in all.
BENCHMARK(BM_SessionStream)->Arg(8)->Arg(64)->Arg(4096)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_PlainStream)->Arg(8)->Arg(64)->Arg(4096)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_SessionDatagram)->Arg(8)->Arg(64)->Arg(4096)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_PlainDatagram)->Arg(8)->Arg(64)->Arg(4096)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_SessionPingPong)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_PlainPingPong)->UseRealTime()->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter(true);
    for (const int size : {8, 64, 4096})
    {
        const std::string arg = std::to_string(size);
        reporter.Compare("framed stream vs plain TCP, " + arg + " bytes",
                         "BM_SessionStream/" + arg + "/min_time:1.000/real_time",
                         "BM_PlainStream/" + arg + "/min_time:1.000/real_time");
        reporter.Compare("framed datagrams vs plain UDP, " + arg + " bytes",
                         "BM_SessionDatagram/" + arg + "/min_time:1.000/real_time",
                         "BM_PlainDatagram/" + arg + "/min_time:1.000/real_time");
    }
    reporter.Compare("send to pumped handler ping-pong vs plain UDP ping-pong",
                     "BM_SessionPingPong/min_time:1.000/real_time",
                     "BM_PlainPingPong/min_time:1.000/real_time");
    reporter.Compare("session join (connect to reply handled) vs plain UDP ping-pong",
                     "BM_SessionJoin/min_time:1.000/manual_time",
                     "BM_PlainPingPong/min_time:1.000/real_time");
    reporter.Compare("session ping through both pumps vs plain UDP ping-pong",
                     "BM_SessionPing/min_time:1.000/manual_time",
                     "BM_PlainPingPong/min_time:1.000/real_time");
    for (const int count : {100, 1000})
    {
        const std::string arg = std::to_string(count);
        reporter.Compare("host frame syncing " + arg + " objects vs " + arg + " plain sendto of their bytes",
                         "BM_HostSync/" + arg + "/min_time:1.000/real_time",
                         "BM_PlainSyncSends/" + arg + "/min_time:1.000/real_time");
        reporter.CompareWithTime("client pump of a frame's syncs of " + arg + " objects vs its 5 ms limit",
                                 "BM_ClientPump/" + arg + "/iterations:120/manual_time", 5e6);
    }
    // A game that never starts its layer still updates it every frame.
    reporter.CompareWithTime("inactive session layer's frame update vs 1 us", "BM_InactiveUpdate", 1000.0);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
