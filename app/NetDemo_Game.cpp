#include "NetDemo_Game.h"

#include "NetDemo_Scene.h"

#include "core/Core_Clock.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_LevelFactory.h"
#include "pal/PAL_ThreadManager.h"

#include <csignal>
#include <cstdio>
#include <dirent.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

void NetDemoPrint(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

namespace
{

void Print(const std::string& line)
{
    NetDemoPrint(line);
}

std::atomic<int> g_stopRequested{0};
std::atomic<int> g_reportRequested{0};
int g_exitStatus = 0;

constexpr std::int32_t WindowWidth = 320;
constexpr std::int32_t WindowHeight = 240;
constexpr std::uint32_t KeyHoldFrames = 20;

void OnStopSignal(int)
{
    g_stopRequested.store(1);
}

void OnReportSignal(int)
{
    g_reportRequested.store(1);
}


std::string NameOf(const Velkor::ZibPlayer* player)
{
    return player != nullptr ? std::to_string(player->GetID()) + " " + player->GetName() : "? ?";
}

int CountOpenDescriptors()
{
    int count = 0;
    if (DIR* directory = opendir("/proc/self/fd"))
    {
        while (const dirent* entry = readdir(directory))
        {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        closedir(directory);
        --count; // the directory's own descriptor
    }
    return count;
}

// "FRAME:REST" into its parts; false when FRAME is not a count above 0.
bool SplitFrame(const std::string& value, std::uint32_t& frame, std::string& rest)
{
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || !Engine::ReadCount(value.substr(0, colon), frame) || frame == 0)
    {
        return false;
    }
    rest = value.substr(colon + 1);
    return true;
}

std::string CountProblem(const std::string& option, const std::string& value)
{
    return option + " takes a count in digits, not \"" + value + "\"";
}

} // namespace

int GetNetDemoExitStatus()
{
    return g_exitStatus;
}

Engine::CommandLine MakeNetDemoCommandLine(NetDemoOptions& o)
{
    Engine::CommandLine c("net_demo");
    const auto count = [](const char* option, std::uint32_t& target, std::uint32_t least, std::uint32_t most)
    {
        return [option, &target, least, most](const std::string& value) -> std::string
        {
            std::uint32_t read = 0;
            if (!Engine::ReadCount(value, read) || read < least || read > most)
            {
                return std::string(option) + " takes a count from " + std::to_string(least) + " to " +
                       std::to_string(most) + ", not \"" + value + "\"";
            }
            target = read;
            return {};
        };
    };
    const auto text = [](std::string& target)
    {
        return [&target](const std::string& value) -> std::string
        {
            target = value;
            return {};
        };
    };
    c.AddOption("--host", "NAME", "host a session of that name", text(o.host));
    c.AddOption("--max", "N", "players the hosted session holds (4)", count("--max", o.maxPlayers, 1, 64));
    c.AddOption("--password", "P", "the session's password (host) or the one to give (client)",
                text(o.password));
    c.AddOption("--join", "first|HOST:PORT", "join the first session found, or the one at HOST:PORT",
                [&o](const std::string& value) -> std::string
                {
                    if (value != "first" && value.find(':') == std::string::npos)
                    {
                        return "--join takes \"first\" or HOST:PORT, not \"" + value + "\"";
                    }
                    o.join = value;
                    return {};
                });
    c.AddOption("--name", "N", "this player's name (player)", text(o.name));
    static std::uint32_t discovery = 3000;
    static std::uint32_t port = 0;
    c.AddOption("--discovery", "PORT", "the port sessions are announced on (3000)",
                [&o, fn = count("--discovery", discovery, 1, 65535)](const std::string& v)
                {
                    std::string problem = fn(v);
                    o.discoveryPort = static_cast<std::uint16_t>(discovery);
                    return problem;
                });
    c.AddOption("--port", "PORT", "the host's port (any free one)",
                [&o, fn = count("--port", port, 0, 65535)](const std::string& v)
                {
                    std::string problem = fn(v);
                    o.hostPort = static_cast<std::uint16_t>(port);
                    return problem;
                });
    c.AddOption("--join-timeout", "MS", "how long a join may wait for the host (5000)",
                count("--join-timeout", o.joinTimeoutMs, 1, 600000));
    c.AddOption("--timeout", "S", "end the run after S seconds with status 3 (30)",
                [&o](const std::string& value) -> std::string
                {
                    std::uint32_t seconds = 0;
                    if (!Engine::ReadCount(value, seconds) || seconds == 0)
                    {
                        return CountProblem("--timeout", value);
                    }
                    o.timeoutSeconds = seconds;
                    return {};
                });
    c.AddOption("--frames", "N", "end the run after N frames", count("--frames", o.frames, 1, 0xFFFFFFFFu));
    c.AddOption("--fps", "N", "frames per second (60; 0 runs unlimited)",
                [&o](const std::string& value) -> std::string
                {
                    std::uint32_t rate = 0;
                    if (!Engine::ReadCount(value, rate) || rate > 1000)
                    {
                        return CountProblem("--fps", value);
                    }
                    o.framesPerSecond = rate;
                    return {};
                });
    c.AddOption("--refuse", "yes", "the host refuses every player",
                [&o](const std::string& value) -> std::string
                {
                    o.refuse = value == "yes";
                    return o.refuse ? std::string() : "--refuse takes \"yes\"";
                });
    const auto framed = [](const char* option, std::map<std::uint32_t, std::string>& target)
    {
        return [option, &target](const std::string& value) -> std::string
        {
            std::uint32_t frame = 0;
            std::string rest;
            if (!SplitFrame(value, frame, rest))
            {
                return std::string(option) + " takes FRAME:TEXT with a frame above 0, not \"" + value + "\"";
            }
            target[frame] = rest;
            return {};
        };
    };
    c.AddOption("--say", "FRAME:TEXT", "send TEXT to every player at that frame of the session",
                framed("--say", o.say));
    c.AddOption("--forge", "FRAME:TEXT", "send TEXT naming another player as its sender",
                framed("--forge", o.forge));
    c.AddOption(
        "--press", "FRAME:KEY", "hold virtual key KEY for 20 frames from that frame",
        [&o](const std::string& value) -> std::string
        {
            std::uint32_t frame = 0;
            std::uint32_t key = 0;
            std::string rest;
            if (!SplitFrame(value, frame, rest) || !Engine::ReadCount(rest, key) || key < 6 || key > 255)
            {
                return "--press takes FRAME:KEY with a virtual key from 6 to 255, not \"" + value + "\"";
            }
            o.press[frame] = key;
            return {};
        });
    c.AddOption("--move", "FRAME:X,Y", "move the pointer to window pixel X,Y (y up) at that frame",
                [&o](const std::string& value) -> std::string
                {
                    std::uint32_t frame = 0;
                    std::uint32_t x = 0;
                    std::uint32_t y = 0;
                    std::string rest;
                    const std::size_t comma = value.find(',');
                    if (!SplitFrame(value, frame, rest) || comma == std::string::npos ||
                        !Engine::ReadCount(rest.substr(0, rest.find(',')), x) ||
                        !Engine::ReadCount(rest.substr(rest.find(',') + 1), y) ||
                        x >= static_cast<std::uint32_t>(WindowWidth) ||
                        y >= static_cast<std::uint32_t>(WindowHeight))
                    {
                        return "--move takes FRAME:X,Y inside the 320 x 240 window, not \"" + value + "\"";
                    }
                    o.move[frame] = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
                    return {};
                });
    c.AddOption("--leave", "FRAME", "leave the session at that frame",
                count("--leave", o.leaveAt, 1, 0xFFFFFFFFu));
    c.AddOption("--chat", "N", "send a numbered text every N frames of the session",
                count("--chat", o.chatEvery, 1, 0xFFFFFFFFu));
    c.AddOption("--after", "N", "count the session's frames once it holds N players (1)",
                count("--after", o.after, 1, 64));
    c.AddOption("--cycles", "N", "join HOST:PORT and leave again N times, then end",
                count("--cycles", o.cycles, 1, 0xFFFFFFFFu));
    const auto framedCount = [](const char* option, std::map<std::uint32_t, std::uint32_t>& target)
    {
        return [option, &target](const std::string& value) -> std::string
        {
            std::uint32_t frame = 0;
            std::uint32_t n = 0;
            std::string rest;
            if (!SplitFrame(value, frame, rest) || !Engine::ReadCount(rest, n) || n == 0 || n > 10000)
            {
                return std::string(option) + " takes FRAME:N with N from 1 to 10000, not \"" + value + "\"";
            }
            target[frame] = n;
            return {};
        };
    };
    c.AddOption("--balls", "FRAME:N", "the host adds N bouncing balls at that frame", framedCount("--balls", o.balls), true);
    c.AddOption("--remove", "FRAME:N", "the host removes its first N balls at that frame",
                framedCount("--remove", o.remove), true);
    c.AddOption("--switch", "FRAME:LEVEL", "the host goes to level Lobby, Arena or Court at that frame",
                framed("--switch", o.switchTo), true);
    c.AddOption("--steal", "FRAME", "a client asks the host to remove one of the host's balls",
                [&o](const std::string& value) -> std::string
                {
                    std::uint32_t frame = 0;
                    if (!Engine::ReadCount(value, frame) || frame == 0)
                    {
                        return CountProblem("--steal", value);
                    }
                    o.steal[frame] = true;
                    return {};
                },
                true);
    c.AddOption("--print-objects", "FROM:TO", "print every ball's id and position in those frames",
                [&o](const std::string& value) -> std::string
                {
                    std::string rest;
                    if (!SplitFrame(value, o.printFrom, rest) || !Engine::ReadCount(rest, o.printTo) ||
                        o.printTo < o.printFrom)
                    {
                        return "--print-objects takes FROM:TO with 0 < FROM <= TO, not \"" + value + "\"";
                    }
                    return {};
                });
    c.AddOption("--rejoin", "N", "join again N frames after leaving", count("--rejoin", o.rejoinAfter, 1, 100000));
    c.AddOption("--seed", "N", "where the balls start and how they move (1)", count("--seed", o.seed, 0, 0xFFFFFFFFu));
    return c;
}

// ---------------------------------------------------------------------------

void NetDemoInput::SetSize(std::int32_t width, std::int32_t height)
{
    width_ = width;
    height_ = height;
}

void NetDemoInput::MoveTo(std::int32_t x, std::int32_t y)
{
    x_ = x;
    y_ = height_ - 1 - y;
}

void NetDemoInput::GetCursorPosition(std::int32_t& x, std::int32_t& y)
{
    x = x_;
    y = y_;
}

bool NetDemoInput::GetClientArea(PAL::Window*, Input::ClientArea& area)
{
    area = {0, 0, width_, height_};
    return true;
}

void NetDemoInput::GetKeyboardState(std::uint8_t (&state)[256])
{
    for (std::size_t key = 0; key < 256; ++key)
    {
        state[key] = keys_[key];
    }
}

// ---------------------------------------------------------------------------

NetDemo::NetDemo(const NetDemoOptions& options)
    : Velkor::Game(new NetDemoScene::Factory(), {WindowWidth, WindowHeight, 60, 0, false, false}, 0), options_(options)
{
    std::signal(SIGTERM, &OnStopSignal);
    std::signal(SIGINT, &OnStopSignal);
    std::signal(SIGUSR1, &OnReportSignal);
    SetTitle("net_demo");
    if (options_.framesPerSecond > 0.0)
    {
        SetDesiredFrameRate(options_.framesPerSecond);
        LockFrameRate(true);
    }
    // The run's keys and pointer come from its options, never from a person.
    useInput_ = !options_.host.empty() || !options_.join.empty();
    input_.SetSize(WindowWidth, WindowHeight);
    if (useInput_)
    {
        Input::InputSource::SetCurrent(&input_);
    }
    startedAt_ = Core::GetMilliseconds();
}

NetDemo::~NetDemo()
{
    g_exitStatus = exitStatus_;
    if (useInput_)
    {
        Input::InputSource::SetCurrent(nullptr);
    }
}

void NetDemo::Idle()
{
    PAL::Thread::Sleep(1);
}

bool NetDemo::StartNetwork()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    if (net == nullptr)
    {
        return false;
    }
    net->SetNetworkID("net_demo");
    net->SetJoinDeadline(options_.joinTimeoutMs);
    const bool host = !options_.host.empty();
    if (!net->Start(host, &Velkor::Game::NetworkEventCallback, host ? options_.host : "",
                    host ? options_.password : "", 5, 3, 60, options_.discoveryPort, options_.hostPort))
    {
        Print("start-failed");
        return false;
    }
    if (host && !net->HostSession(options_.name, options_.maxPlayers, 1, 0.25f))
    {
        Print("host-failed");
        return false;
    }
    return true;
}

void NetDemo::TryJoin()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    if (joinTried_ || net == nullptr || net->IsNetworkGame())
    {
        return;
    }
    std::string address = options_.join;
    if (address == "first")
    {
        if (net->GetBroadcastList().empty())
        {
            return;
        }
        address = net->GetBroadcastList()[0].GetAddress();
    }
    joinTried_ = options_.cycles == 0;
    const double before = Core::GetMilliseconds();
    if (!net->JoinSession(options_.name, address, options_.password))
    {
        Print("join-failed after " + std::to_string(static_cast<long>(Core::GetMilliseconds() - before)) +
              " ms");
        // A cycling client tries again next frame; it gives up after 20
        // failures in a row.
        if (options_.cycles > 0 && ++failedJoins_ >= 20)
        {
            exitStatus_ = 4;
            Exit();
        }
        return;
    }
    failedJoins_ = 0;
}

void NetDemo::RunCycles()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    if (!inSession_ || net->GetLocalPlayer() == nullptr)
    {
        return;
    }
    // Joined: leave at once, and join again next frame.
    net->RemovePlayer(net->GetLocalPlayer());
    if (++cyclesDone_ == options_.cycles)
    {
        Print("cycles-done " + std::to_string(cyclesDone_));
        Exit();
    }
}

void NetDemo::RunActions()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    const std::uint32_t f = sessionFrame_;
    if (const auto say = options_.say.find(f); say != options_.say.end())
    {
        Print(std::string(net->SendTextMessage(true, say->second, true) ? "said " : "say-failed ") +
              say->second);
    }
    if (const auto forge = options_.forge.find(f);
        forge != options_.forge.end() && net->GetLocalPlayer() != nullptr)
    {
        // A text that names the first other client as its sender.
        for (const auto& player : net->GetAllPlayersGroup()->GetPlayers())
        {
            if (!player->IsLocal() && !player->IsHost())
            {
                std::vector<std::uint8_t> payload;
                Velkor::PayloadWriter writer(payload);
                writer.U32(player->GetID());
                writer.U32(net->GetAllPlayersGroup()->GetID());
                writer.CString(forge->second);
                net->Send(Velkor::TextMessage, payload.data(), static_cast<std::uint32_t>(payload.size()),
                          nullptr, true);
                Print("forged " + forge->second + " as " + player->GetName());
                break;
            }
        }
    }
    if (const auto press = options_.press.find(f); press != options_.press.end())
    {
        input_.SetKey(static_cast<std::uint8_t>(press->second), true);
        keyRelease_[f + KeyHoldFrames] = press->second;
    }
    if (const auto release = keyRelease_.find(f); release != keyRelease_.end())
    {
        input_.SetKey(static_cast<std::uint8_t>(release->second), false);
    }
    if (const auto move = options_.move.find(f); move != options_.move.end())
    {
        input_.MoveTo(move->second.first, move->second.second);
    }
    if (options_.chatEvery > 0 && f % options_.chatEvery == 0)
    {
        const std::string text = "chat " + std::to_string(++chatCount_);
        net->SendTextMessage(true, text, false);
    }
    if (options_.leaveAt != 0 && f == options_.leaveAt && net->GetLocalPlayer() != nullptr)
    {
        Print("leaving");
        // Once: the frames count again from a new join.
        options_.leaveAt = 0;
        rejoinAt_ = options_.rejoinAfter != 0 ? frame_ + options_.rejoinAfter : 0;
        net->RemovePlayer(net->GetLocalPlayer());
    }
    RunSceneActions();
}

void NetDemo::Update(float dt)
{
    Velkor::Game::Update(dt);
    ++frame_;
    if (g_stopRequested.load() != 0 || (options_.frames != 0 && frame_ >= options_.frames))
    {
        Exit();
        return;
    }
    if ((Core::GetMilliseconds() - startedAt_) / 1000.0 > options_.timeoutSeconds)
    {
        Print("timed-out");
        exitStatus_ = 3;
        Exit();
        return;
    }
    if (!started_)
    {
        started_ = true;
        if (!StartNetwork())
        {
            exitStatus_ = 2;
            Exit();
            return;
        }
    }
    if (g_reportRequested.exchange(0) != 0)
    {
        PrintReport();
    }
    Velkor::ZibNet* net = GetNetworkEngine();
    PrintSessions();
    if (!options_.join.empty() && !inSession_)
    {
        if (rejoinAt_ != 0 && frame_ >= rejoinAt_)
        {
            rejoinAt_ = 0;
            joinTried_ = false;
        }
        TryJoin();
    }
    WatchScene();
    if (options_.cycles > 0)
    {
        RunCycles();
    }
    else if (inSession_ && (sessionFrame_ > 0 || net->GetAllPlayersGroup()->GetSize() >= options_.after))
    {
        // The balls as the last frame left them: the state its syncs carried.
        PrintObjects();
        ++sessionFrame_;
        NetDemoScene::Ball::SetSendFrame(sessionFrame_);
        RunActions();
    }
    PrintPlayers();
    if (net->IsHost())
    {
        PrintInput();
    }
}

void NetDemo::PrintSessions()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    std::vector<std::string> now;
    for (const Velkor::ZibBroadcast& session : net->GetBroadcastList())
    {
        now.push_back(session.GetHostName());
        if (std::find(sessionsSeen_.begin(), sessionsSeen_.end(), session.GetHostName()) ==
            sessionsSeen_.end())
        {
            Print("session-found " + session.GetHostName() + " " +
                  std::to_string(session.GetSessionPlayersNumber()) + "/" +
                  std::to_string(session.GetSessionMaxPlayers()) +
                  " password=" + (session.IsPasswordProtected() ? "1" : "0") + " " + session.GetAddress() +
                  " at " + std::to_string(static_cast<long>(Core::GetMilliseconds() - startedAt_)) + " ms");
        }
    }
    for (const std::string& seen : sessionsSeen_)
    {
        if (std::find(now.begin(), now.end(), seen) == now.end())
        {
            Print("session-lost " + seen);
        }
    }
    sessionsSeen_ = now;
}

void NetDemo::PrintPlayers()
{
    std::string line = "players";
    Velkor::ZibNet* net = GetNetworkEngine();
    for (const auto& player : net->GetAllPlayersGroup()->GetPlayers())
    {
        line += " " + std::to_string(player->GetID()) + ":" + player->GetName();
    }
    if (line != playersLine_)
    {
        playersLine_ = line;
        Print(line);
    }
}

void NetDemo::PrintInput()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    for (const auto& player : net->GetAllPlayersGroup()->GetPlayers())
    {
        if (player->IsLocal())
        {
            continue;
        }
        std::string seen;
        std::int32_t key = 0;
        if (Input::Keyboard* keyboard = player->GetNetworkKeyboard();
            keyboard != nullptr && keyboard->GetPressed(key))
        {
            seen += "key " + std::to_string(key);
        }
        if (Input::Mouse* mouse = player->GetNetworkMouse())
        {
            std::int32_t x = 0;
            std::int32_t y = 0;
            mouse->GetPosition(x, y);
            seen += (seen.empty() ? "" : " ") + std::string("mouse ") + std::to_string(x) + " " +
                    std::to_string(y);
        }
        std::string& last = inputSeen_[player->GetID()];
        if (seen != last)
        {
            last = seen;
            Print("input " + std::to_string(player->GetID()) + " " + seen);
        }
    }
}

void NetDemo::PrintReport()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    std::string line = "report players=" + std::to_string(net->GetAllPlayersGroup()->GetSize()) +
                       " fds=" + std::to_string(CountOpenDescriptors()) +
                       " objects=" + std::to_string(Core::GetLiveObjectCount());
    for (const auto& player : net->GetAllPlayersGroup()->GetPlayers())
    {
        if (!player->IsLocal())
        {
            char ping[64];
            std::snprintf(ping, sizeof ping, " ping%u=%.3f", player->GetID(), player->GetPingTime());
            line += ping;
        }
    }
    Print(line);
}

bool NetDemo::OnPlayerJoinRequest(Velkor::ZibPlayer* player)
{
    Print("join-request " + (player != nullptr ? player->GetName() : std::string("?")));
    return !options_.refuse;
}

void NetDemo::OnJoinReply(std::int32_t code)
{
    Print("join-reply " + std::to_string(code));
}

void NetDemo::OnSessionJoined()
{
    Print("joined " + Velkor::AddressWithPort(GetNetworkEngine()->GetHostAddress()));
    inSession_ = true;
}

void NetDemo::OnSessionHosted()
{
    Print("hosted " + Velkor::AddressWithPort(GetNetworkEngine()->GetHostAddress()));
    inSession_ = true;
    // The balls bounce in the arena; clients follow the host there.
    GoToLevel("Arena");
}

void NetDemo::OnSessionEnded()
{
    Print("session-ended");
    inSession_ = false;
    sessionFrame_ = 0;
    if (!GetNetworkEngine()->IsHost())
    {
        // Back to the lobby: a new join follows the host's level again.
        GoToLevel("Lobby");
    }
}

void NetDemo::OnPlayerAdded(Velkor::ZibPlayer* player)
{
    Print("player-added " + NameOf(player));
}

void NetDemo::OnPlayerRemoved(Velkor::ZibPlayer* player)
{
    Print("player-removed " + NameOf(player));
}

void NetDemo::OnTextMessage(Velkor::ZibPlayer* sender, const std::string& text)
{
    Print("text " + (sender != nullptr ? sender->GetName() : std::string("?")) + ": " + text);
}

void NetDemo::OnDataMessage(Velkor::ZibPlayer* sender, std::uint32_t value, std::uint32_t size, const void*)
{
    Print("data " + (sender != nullptr ? sender->GetName() : std::string("?")) + " " + std::to_string(value) +
          " " + std::to_string(size));
}
