#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "framework/Velkor_NetMessage.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{

class GameObject;

// A session seen on the network: the hosting session's name, its game's
// network id, the host's address, player counts, age and password flag.
class ZibBroadcast
{
public:
    ZibBroadcast() = default;
    ZibBroadcast(const std::string& hostName, const std::string& networkId, const std::string& address)
        : hostName_(hostName), networkId_(networkId), address_(address)
    {
    }

    const std::string& GetHostName() const { return hostName_; }
    const std::string& GetNetworkID() const { return networkId_; }
    const std::string& GetAddress() const { return address_; }
    std::uint32_t GetSessionMaxPlayers() const { return maxPlayers_; }
    std::uint32_t GetSessionPlayersNumber() const { return currentPlayers_; }
    float GetAge() const { return age_; }
    bool IsPasswordProtected() const { return passwordProtected_; }

private:
    std::string hostName_;
    std::string networkId_;
    std::string address_;
    std::uint32_t maxPlayers_ = 0;
    std::uint32_t currentPlayers_ = 0;
    float age_ = 0.0f;
    bool passwordProtected_ = false;
};

// One player of a session: its id, and the keyboard and mouse its input
// arrives through.
class ZibPlayer : public Core::Object
{
public:
    ZibPlayer(std::uint32_t id, const std::string& name, bool local, bool host,
              const Core::RefPtr<Input::Keyboard>& keyboard, const Core::RefPtr<Input::Mouse>& mouse);
    ~ZibPlayer() override;

    std::uint32_t GetID() const { return id_; }
    const std::string& GetName() const { return name_; }
    bool IsLocal() const { return local_; }
    bool IsHost() const { return host_; }
    const Core::RefPtr<Input::Keyboard>& GetNetworkKeyboard() const { return keyboard_; }
    const Core::RefPtr<Input::Mouse>& GetNetworkMouse() const { return mouse_; }

private:
    Core::RefPtr<Input::Keyboard> keyboard_;
    Core::RefPtr<Input::Mouse> mouse_;
    std::string name_;
    std::uint32_t id_;
    bool local_;
    bool host_;
};

// A networked object's id: the owning player's id and the object's own.
class NetObjectID : public Core::Object
{
public:
    NetObjectID(std::uint32_t ownerId, std::uint32_t objectId) : ownerId_(ownerId), objectId_(objectId) {}

    std::uint32_t GetOwnerID() const { return ownerId_; }
    std::uint32_t GetObjectID() const { return objectId_; }

private:
    std::uint32_t ownerId_;
    std::uint32_t objectId_;
};

// Attached to a game object that takes part in a network game.
class ZibComponentManager : public Core::Object
{
public:
    ZibComponentManager() = default;
};

// The networked-session layer as the framework uses it, in the state of a
// machine that plays no network game: starting, hosting, joining and
// sending answer false, there is no local player, no session is seen, and
// the per-frame operations do nothing.
//
// Tests put it into a pretend session (SetPretendSession): a host or a
// client with a local player, in which IsNetworkGame and IsHost answer as in
// a real session, Shutdown ends the session, and the calls the framework
// makes into a session are recorded.
class ZibNet : public Core::Object
{
public:
    using EventCallback = bool (*)(const Core::RefPtr<NetMessage>& message);

    ZibNet();
    ~ZibNet() override;

    bool Start(bool isHost, EventCallback callback, const std::string& sessionName,
               const std::string& password, std::uint32_t pumpTimeLimitMs, std::uint32_t pumpIdleLimitMs,
               std::uint32_t syncRate, std::uint16_t discoveryPort, std::uint16_t hostPort);
    bool HostSession(const std::string& playerName, std::uint32_t maxPlayers, std::uint32_t addressClass,
                     float intervalSeconds);
    bool JoinSession(const std::string& playerName, const std::string& hostAddress,
                     const std::string& password);
    // False when no network game runs; otherwise ends it.
    bool Shutdown();
    void ListenForSessions();

    bool IsNetworkGame() const { return pretend_ != PretendSession::None; }
    bool IsHost() const { return pretend_ == PretendSession::Host; }
    ZibPlayer* GetLocalPlayer() const { return localPlayer_.Get(); }
    ZibPlayer* FindPlayerByID(std::uint32_t id) const;

    // A client sends to the host, the host to the group's players.
    bool Send(std::uint32_t messageId, const void* data, std::uint32_t size, void* group, bool reliable);

    bool AddNetworkGameObject(const Core::RefPtr<GameObject>& object, std::uint32_t layerIndex,
                              ZibPlayer* owner);
    bool RemoveNetworkGameObject(const Core::RefPtr<GameObject>& object);
    void RemoveAllNetworkGameObjects();
    void ClearBaseNetObjects();
    // The registered network template of that class name, or null.
    Core::Object* FindBaseNetObject(const std::string& className) const;

    void ResetNetworkKeyboards();
    virtual void Update(float dt);

    // Sessions seen on the network.
    const std::vector<ZibBroadcast>& GetBroadcastList() const { return sessions_; }
    // This game's network id.
    void SetNetworkID(const std::string& id) { networkId_ = id; }
    const std::string& GetNetworkID() const { return networkId_; }

    // --- Pretend sessions (tests) -------------------------------------------
    enum class PretendSession
    {
        None,
        Host,
        Client,
    };
    // Host or Client makes a local player with `localPlayerId`; None ends
    // the pretence (and forgets the player).
    void SetPretendSession(PretendSession session, std::uint32_t localPlayerId = 1);
    // Puts a session into the list of sessions seen.
    void AddPretendSession(const ZibBroadcast& session) { sessions_.push_back(session); }

    struct SentMessage
    {
        std::uint32_t messageId = 0;
        std::vector<std::uint8_t> bytes;
        void* group = nullptr;
        bool reliable = false;
    };
    const std::vector<SentMessage>& GetSentMessages() const { return sent_; }

    // Observes every call the framework makes, by name ("Send",
    // "RemoveAllNetworkGameObjects", "ListenForSessions",
    // "ClearBaseNetObjects", "ResetNetworkKeyboards", "Update", "Shutdown").
    using CallObserver = void (*)(const char* operation, void* userData);
    static void SetCallObserver(CallObserver observer, void* userData);
    // The names observed on this layer while a pretend session ran.
    const std::vector<std::string>& GetCalls() const { return calls_; }

private:
    void Record(const char* operation);

    std::vector<ZibBroadcast> sessions_;
    std::vector<SentMessage> sent_;
    std::vector<std::string> calls_;
    std::string networkId_;
    Core::RefPtr<ZibPlayer> localPlayer_;
    PretendSession pretend_ = PretendSession::None;
};

} // namespace Velkor
