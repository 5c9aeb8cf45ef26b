// The session layer over loopback: the join (connect to reply handled) and
// the ping round trip through both pumps, each with the other side in a
// second process (one layer runs per process), and the inactive layer's
// per-frame update.

#include "framework/Velkor_Network.h"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace
{

using Clock = std::chrono::steady_clock;

bool Quiet(const Core::RefPtr<Velkor::NetMessage>&)
{
    return true;
}

// A second process running one side of a session until it is killed.
class Peer
{
public:
    // `host`: hosts and writes its "HOST:PORT" to the pipe; otherwise joins
    // the session whose address it is given by SendAddress. Made before
    // this process starts its own layer, which the child would inherit.
    explicit Peer(bool host)
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
            Run(host, host ? std::string() : ReadAddress(), fromChild[1]);
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
    static void Run(bool host, const std::string& address, int out)
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
        for (;;)
        {
            net->Update(0.001f);
        }
    }

    pid_t pid_ = -1;
    int read_ = -1;
    int write_ = -1;
};

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
    Network::SetLocalAddressOverride("127.0.0.1");
    Core::RefPtr<Velkor::ZibNet> net(new Velkor::ZibNet());
    if (!net->Start(true, &Quiet, "bench", "", 5, 0, 60, 0, 0) || !net->HostSession("H", 8, 1, 1.0f))
    {
        state.SkipWithError("no session");
        return;
    }
    client.SendAddress(Velkor::AddressWithPort(net->GetHostAddress()));
    Velkor::ZibPlayer* remote = nullptr;
    const Clock::time_point waitFrom = Clock::now();
    while (remote == nullptr && Clock::now() - waitFrom < std::chrono::seconds(10))
    {
        net->Update(0.001f);
        for (const auto& player : net->GetAllPlayersGroup()->GetPlayers())
        {
            remote = player->IsLocal() ? remote : player.Get();
        }
    }
    if (remote == nullptr)
    {
        state.SkipWithError("no client");
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

BENCHMARK(BM_SessionJoin)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_SessionPing)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_InactiveUpdate);

} // namespace
