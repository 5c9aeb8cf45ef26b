// The session layer over loopback: the join (connect to reply handled) and
// the ping round trip through both pumps, each with the other side in a
// second process (one layer runs per process), the inactive layer's
// per-frame update, and the networked objects: the host's per-frame sync of
// N objects beside N plain sends of the same bytes, and a client's pump of
// a frame's syncs beside its 5 ms pump limit.

#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_Sprite.h"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace
{

using Clock = std::chrono::steady_clock;

bool Quiet(const Core::RefPtr<Velkor::NetMessage>&)
{
    return true;
}

constexpr float FrameSeconds = 1.0f / 60.0f;

// A level of one layer holding `count` networked sprites, made by the host
// `net` (which announces each).
Core::RefPtr<Velkor::Level> SharedSprites(Velkor::ZibNet& net, std::uint32_t count)
{
    Core::RefPtr<Velkor::Level> level(new Velkor::Level());
    level->AddLayer(new Velkor::Layer(0.0f));
    for (std::uint32_t i = 0; i < count; ++i)
    {
        Core::RefPtr<Velkor::GameObject> sprite(new Velkor::Sprite());
        sprite->SetName("ball");
        sprite->SetNetworkBaseName("Ball");
        sprite->SetPosition(static_cast<float>(i % 100), static_cast<float>(i / 100));
        net.AddNetworkGameObject(sprite, 0, nullptr);
        level->GetLayer(0)->QueueAddGameObject(sprite.Get());
    }
    return level;
}

// A second process running one side of a session until it is killed.
class Peer
{
public:
    // `host`: hosts and writes its "HOST:PORT" to the pipe; otherwise joins
    // the session whose address it is given by SendAddress. Made before
    // this process starts its own layer, which the child would inherit. A
    // host with `objects` shares that many sprites and runs 60 frames a
    // second; otherwise the peer updates as fast as it can.
    explicit Peer(bool host, std::uint32_t objects = 0)
    {
        int fromChild[2];
        int toChild[2];
        if (pipe(fromChild) != 0 || pipe(toChild) != 0)
        {
            return;
        }
        pid_ = fork();
        if (pid_ == 0)
        {
            close(fromChild[0]);
            close(toChild[1]);
            read_ = toChild[0];
            Run(host, host ? std::string() : ReadAddress(), fromChild[1], objects);
            _exit(0);
        }
        close(fromChild[1]);
        close(toChild[0]);
        read_ = fromChild[0];
        write_ = toChild[1];
    }

    void SendAddress(const std::string& address)
    {
        const std::string line = address + "\n";
        if (write(write_, line.data(), line.size()) < 0)
        {
            std::perror("bench peer");
        }
    }

    ~Peer()
    {
        if (pid_ > 0)
        {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        for (const int end : {read_, write_})
        {
            if (end >= 0)
            {
                close(end);
            }
        }
    }

    // The host's address, once it hosts (empty when it failed).
    std::string ReadAddress()
    {
        char text[64] = {};
        std::size_t got = 0;
        while (got < sizeof text - 1)
        {
            const ssize_t count = read(read_, text + got, 1);
            if (count <= 0 || text[got] == '\n')
            {
                break;
            }
            ++got;
        }
        text[got] = 0;
        return text;
    }

private:
    static void Run(bool host, const std::string& address, int out, std::uint32_t objects)
    {
        Network::SetLocalAddressOverride("127.0.0.1");
        Core::RefPtr<Velkor::ZibNet> net(new Velkor::ZibNet());
        if (!net->Start(host, &Quiet, "bench", "", 5, 3, 60, 0, 0))
        {
            return;
        }
        if (host)
        {
            if (!net->HostSession("H", 64, 1, 1.0f))
            {
                return;
            }
            const std::string line = Velkor::AddressWithPort(net->GetHostAddress()) + "\n";
            if (write(out, line.data(), line.size()) < 0)
            {
                return;
            }
        }
        else if (!net->JoinSession("C", address, ""))
        {
            return;
        }
        if (objects == 0)
        {
            for (;;)
            {
                net->Update(0.001f);
            }
        }
        const Core::RefPtr<Velkor::Level> level = SharedSprites(*net, objects);
        const auto frame = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(FrameSeconds));
        for (Clock::time_point next = Clock::now();; next += frame)
        {
            net->Update(FrameSeconds);
            std::this_thread::sleep_until(next);
        }
    }

    pid_t pid_ = -1;
    int read_ = -1;
    int write_ = -1;
};

// Tells the client peer where the host `net` is and updates the host until
// the client has joined (at most 10 s); the client's player, or null.
Velkor::ZibPlayer* JoinedBy(Velkor::ZibNet& net, Peer& client)
{
    client.SendAddress(Velkor::AddressWithPort(net.GetHostAddress()));
    const Clock::time_point waitFrom = Clock::now();
    while (Clock::now() - waitFrom < std::chrono::seconds(10))
    {
        net.Update(0.001f);
        for (const auto& player : net.GetAllPlayersGroup()->GetPlayers())
        {
            if (!player->IsLocal())
            {
                return player.Get();
            }
        }
    }
    return nullptr;
}

// A session hosted here and joined by the client peer: the layer and the
// client's player, or null.
Core::RefPtr<Velkor::ZibNet> HostJoinedBy(Peer& client, Velkor::ZibPlayer*& remote)
{
    Network::SetLocalAddressOverride("127.0.0.1");
    Core::RefPtr<Velkor::ZibNet> net(new Velkor::ZibNet());
    if (!net->Start(true, &Quiet, "bench", "", 5, 0, 60, 0, 0) || !net->HostSession("H", 8, 1, 1.0f))
    {
        return nullptr;
    }
    remote = JoinedBy(*net, client);
    return remote != nullptr ? net : nullptr;
}

// The client joins and leaves; only the join is timed.
void BM_SessionJoin(benchmark::State& state)
{
    Peer host(true);
    const std::string address = host.ReadAddress();
    Network::SetLocalAddressOverride("127.0.0.1");
    Core::RefPtr<Velkor::ZibNet> net(new Velkor::ZibNet());
    if (address.empty() || !net->Start(false, &Quiet, "", "", 5, 0, 60, 0, 0))
    {
        state.SkipWithError("no session");
        return;
    }
    for (auto _ : state)
    {
        const Clock::time_point start = Clock::now();
        const bool joined = net->JoinSession("C", address, "");
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!joined)
        {
            state.SkipWithError("join failed");
            break;
        }
        net->RemovePlayer(net->GetLocalPlayer());
        net->Update(0.001f);
    }
    net->Shutdown();
}

// The host's ping: sent by its update, answered by the client's pump,
// measured in the host's pump.
void BM_SessionPing(benchmark::State& state)
{
    Peer client(false);
    Velkor::ZibPlayer* remote = nullptr;
    const Core::RefPtr<Velkor::ZibNet> net = HostJoinedBy(client, remote);
    if (!net)
    {
        state.SkipWithError("no session with a client");
        return;
    }
    for (auto _ : state)
    {
        remote->SetPingTime(-1.0);
        const Clock::time_point sentFrom = Clock::now();
        while (remote->GetPingTime() < 0.0 && Clock::now() - sentFrom < std::chrono::seconds(1))
        {
            net->Update(0.001f);
        }
        state.SetIterationTime(std::max(0.0, remote->GetPingTime()) / 1000.0);
    }
    net->Shutdown();
}

// What a game pays every frame for a layer that never started.
void BM_InactiveUpdate(benchmark::State& state)
{
    Core::RefPtr<Velkor::ZibNet> net(new Velkor::ZibNet());
    for (auto _ : state)
    {
        net->ResetNetworkKeyboards();
        net->Update(1.0f / 60.0f);
    }
}

// The host's frame with N networked objects and one client: the sync
// (each object's data, framed and sent) and the rest of its update.
void BM_HostSync(benchmark::State& state)
{
    const auto count = static_cast<std::uint32_t>(state.range(0));
    Peer client(false);
    Velkor::ZibPlayer* remote = nullptr;
    const Core::RefPtr<Velkor::ZibNet> net = HostJoinedBy(client, remote);
    if (!net)
    {
        state.SkipWithError("no session with a client");
        return;
    }
    const Core::RefPtr<Velkor::Level> level = SharedSprites(*net, count);
    for (auto _ : state)
    {
        net->Update(FrameSeconds);
    }
    net->Shutdown();
}

// The bytes of one object's sync message: header and payload.
std::uint32_t SyncMessageSize()
{
    Core::RefPtr<Velkor::Sprite> sprite(new Velkor::Sprite());
    sprite->SetName("ball");
    Velkor::NetworkFile file;
    file << std::uint32_t{1} << std::uint32_t{1} << std::uint32_t{1};
    sprite->NetworkSyncSend(file);
    return file.GetSize() + 8;
}

// The reference: one plain sendto of a sync message's bytes per object.
void BM_PlainSyncSends(benchmark::State& state)
{
    const auto count = static_cast<std::uint32_t>(state.range(0));
    const int sink = socket(AF_INET, SOCK_DGRAM, 0);
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof to;
    if (bind(sink, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 ||
        getsockname(sink, reinterpret_cast<sockaddr*>(&to), &length) != 0)
    {
        state.SkipWithError("no socket");
    }
    std::vector<std::uint8_t> bytes(SyncMessageSize(), 7);
    std::vector<std::uint8_t> drained(65536);
    for (auto _ : state)
    {
        for (std::uint32_t i = 0; i < count; ++i)
        {
            sendto(sender, bytes.data(), bytes.size(), MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&to),
                   sizeof to);
        }
        state.PauseTiming();
        while (recv(sink, drained.data(), drained.size(), MSG_DONTWAIT) > 0)
        {
        }
        state.ResumeTiming();
    }
    close(sink);
    close(sender);
}

// A client's pump of one frame's syncs from a host (a second process) that
// shares N objects at 60 frames a second; the time is what its pump took,
// and "runs_out_at" the object count at which the 5 ms limit would be
// reached at that cost per object.
void BM_ClientPump(benchmark::State& state)
{
    const auto count = static_cast<std::uint32_t>(state.range(0));
    Peer host(true, count);
    const std::string address = host.ReadAddress();
    Network::SetLocalAddressOverride("127.0.0.1");
    Core::RefPtr<Velkor::ZibNet> net(new Velkor::ZibNet());
    Core::RefPtr<Velkor::Level> level(new Velkor::Level());
    level->AddLayer(new Velkor::Layer(0.0f));
    net->SetLevelQuery([&level] { return level.Get(); });
    if (address.empty() || !net->Start(false, &Quiet, "", "", 5, 0, 60, 0, 0) ||
        !net->JoinSession("C", address, ""))
    {
        state.SkipWithError("no session");
        return;
    }
    Core::RefPtr<Velkor::Sprite> ball(new Velkor::Sprite());
    net->AddBaseNetObject("Ball", ball.Get());
    const std::uint32_t id = net->GetLocalPlayer()->GetID();
    net->Send(Velkor::ObjectListRequestMessage, &id, sizeof id, nullptr, true);
    const Clock::time_point waitFrom = Clock::now();
    while (net->GetNetworkObjects().size() < count && Clock::now() - waitFrom < std::chrono::seconds(20))
    {
        net->Update(0.001f);
    }
    if (net->GetNetworkObjects().size() < count)
    {
        state.SkipWithError("no object list");
        return;
    }
    double total = 0.0;
    for (auto _ : state)
    {
        std::this_thread::sleep_for(std::chrono::duration<double>(FrameSeconds));
        const Clock::time_point start = Clock::now();
        net->Update(FrameSeconds);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        total += seconds;
        state.SetIterationTime(seconds);
    }
    const double perObject = total / static_cast<double>(state.iterations()) / count;
    state.counters["runs_out_at"] = perObject > 0.0 ? 0.005 / perObject : 0.0;
    net->Shutdown();
}

BENCHMARK(BM_HostSync)->Arg(100)->Arg(1000)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_PlainSyncSends)->Arg(100)->Arg(1000)->UseRealTime()->MinTime(1.0);
// Two seconds of frames each.
BENCHMARK(BM_ClientPump)->Arg(100)->Arg(1000)->UseManualTime()->Iterations(120);
BENCHMARK(BM_SessionJoin)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_SessionPing)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_InactiveUpdate);

} // namespace
