#pragma once

#include "engine/Engine_CommandLine.h"
#include "framework/Velkor_Game.h"
#include "input/Input_InputSource.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What the network demo's command line asks for. Frames of the actions are
// counted from the moment this machine hosts or joins a session.
struct NetDemoOptions
{
    std::string host; // session name: this process hosts
    std::uint32_t maxPlayers = 4;
    std::string password;
    std::string join; // "first" (the first session found) or HOST:PORT
    std::string name = "player";
    std::uint16_t discoveryPort = 3000;
    std::uint16_t hostPort = 0;
    std::uint32_t joinTimeoutMs = 5000;
    double timeoutSeconds = 30.0;  // the whole run
    std::uint32_t frames = 0;      // 0: until stopped or timed out
    double framesPerSecond = 60.0; // 0: as fast as it goes
    bool refuse = false;           // the host's game refuses every join
    // Actions: frame -> text, key, position, ...
    std::map<std::uint32_t, std::string> say;
    std::map<std::uint32_t, std::string> forge;   // text naming another player as sender
    std::map<std::uint32_t, std::uint32_t> press; // virtual key held for 20 frames
    std::map<std::uint32_t, std::pair<std::int32_t, std::int32_t>> move;
    std::uint32_t leaveAt = 0;   // 0: never
    std::uint32_t chatEvery = 0; // 0: never
    std::uint32_t cycles = 0;    // join and leave this many times, then stop
    std::uint32_t after = 1;     // the session's frames count once it holds this many players
    // The ball scene (frames of the session, as the actions above).
    std::map<std::uint32_t, std::uint32_t> balls;  // the host adds this many balls
    std::map<std::uint32_t, std::uint32_t> remove; // the host removes this many balls
    std::map<std::uint32_t, std::string> switchTo; // the host goes to that level
    std::map<std::uint32_t, bool> steal;           // a client asks to remove a host's ball
    std::uint32_t printFrom = 0;                   // print every ball from this frame ...
    std::uint32_t printTo = 0;                     // ... to this one
    std::uint32_t rejoinAfter = 0;                 // frames after leaving to join again; 0: never
    std::uint32_t seed = 1;                        // where the balls start and how they move
};

Engine::CommandLine MakeNetDemoCommandLine(NetDemoOptions& options);

// Stands in for the machine's keyboard and mouse so that a run can press
// keys and move the pointer at given frames: the client area is the whole
// window at the screen's origin.
class NetDemoInput : public Input::InputSource
{
public:
    void SetSize(std::int32_t width, std::int32_t height);
    void SetKey(std::uint8_t virtualKey, bool down) { keys_[virtualKey] = down ? 0x80 : 0; }
    // Window pixels, y upward from the bottom edge.
    void MoveTo(std::int32_t x, std::int32_t y);

    void GetCursorPosition(std::int32_t& x, std::int32_t& y) override;
    void WarpCursor(PAL::Window*, std::int32_t, std::int32_t) override {}
    bool GetClientArea(PAL::Window* window, Input::ClientArea& area) override;
    bool IsKeyDown(std::uint8_t virtualKey) override { return keys_[virtualKey] != 0; }
    void GetKeyboardState(std::uint8_t (&state)[256]) override;
    bool IsKeyToggled(std::uint8_t) override { return false; }
    std::int32_t ShowCursor(bool show) override { return show ? 0 : -1; }
    bool IsCursorShowing() override { return true; }

private:
    std::array<std::uint8_t, 256> keys_{};
    std::int32_t width_ = 1;
    std::int32_t height_ = 1;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

// A small game with one level that hosts or joins a session and prints
// every network event on standard output, one line each:
//   hosted ADDRESS | joined ADDRESS | join-request NAME | join-reply CODE |
//   player-added ID NAME | player-removed ID NAME | text NAME: TEXT |
//   data NAME VALUE SIZE | session-ended | session-found NAME N/MAX
//   password=0|1 ADDRESS | session-lost NAME | players ID:NAME,... |
//   input ID key VK | input ID mouse X Y | join-failed | report ... |
//   level NAME | objects N | object-list N | balls-added N | removed O:I |
//   asked-removal O:I | object O:I frame F X Y (F: the host frame of the
//   ball's state; on a client the host frame of the last sync applied;
//   printed when the ball moved or got a new state)
// SIGTERM ends the run cleanly; SIGUSR1 prints a report (players, pings,
// open descriptors, live objects).
class NetDemo : public Velkor::Game
{
public:
    explicit NetDemo(const NetDemoOptions& options);
    ~NetDemo() override;

    void Update(float dt) override;
    void Idle() override;

    bool OnPlayerJoinRequest(Velkor::ZibPlayer* player) override;
    void OnJoinReply(std::int32_t code) override;
    void OnSessionJoined() override;
    void OnSessionHosted() override;
    void OnSessionEnded() override;
    void OnPlayerAdded(Velkor::ZibPlayer* player) override;
    void OnPlayerRemoved(Velkor::ZibPlayer* player) override;
    void OnTextMessage(Velkor::ZibPlayer* sender, const std::string& text) override;
    void OnDataMessage(Velkor::ZibPlayer* sender, std::uint32_t value, std::uint32_t size,
                       const void* data) override;

    int GetExitStatus() const { return exitStatus_; }

private:
    bool StartNetwork();
    void TryJoin();
    void RunActions();
    void RunCycles();
    void PrintSessions();
    void PrintPlayers();
    void PrintInput();
    void PrintReport();
    // The ball scene (NetDemo_SceneRun.cpp).
    void RunSceneActions();
    void AddBalls(std::uint32_t count);
    void PrintObjects();
    void WatchScene();

    NetDemoOptions options_;
    NetDemoInput input_;
    bool useInput_ = false;
    bool started_ = false;
    bool joinTried_ = false;
    bool inSession_ = false;
    std::uint32_t sessionFrame_ = 0;
    std::uint32_t frame_ = 0;
    std::uint32_t chatCount_ = 0;
    std::uint32_t cyclesDone_ = 0;
    std::uint32_t failedJoins_ = 0;
    std::map<std::uint32_t, std::uint32_t> keyRelease_;
    double startedAt_ = 0.0;
    std::vector<std::string> sessionsSeen_;
    std::string playersLine_;
    std::map<std::uint32_t, std::string> inputSeen_;
    int exitStatus_ = 0;
    std::uint32_t rejoinAt_ = 0;
    std::size_t objectsSeen_ = 0;
    bool listSeen_ = false;
    std::string levelSeen_;
    std::map<std::string, std::string> printed_; // each ball's last printed line
};

// One line on standard output, flushed.
void NetDemoPrint(const std::string& line);

// The exit status of the last NetDemo run: 0, or 3 when it timed out.
int GetNetDemoExitStatus();
