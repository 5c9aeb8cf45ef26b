#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "framework/Velkor_NetMessage.h"
#include "framework/Velkor_NetPlayer.h"
#include "framework/Velkor_NetWire.h"
#include "net/Network_Engine.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Velkor
{

class GameObject;
class Level;
class NetworkFile;

// Where the layer's messages go: the session's channels, or (in tests) a
// recorder that never touches a socket.
class ZibNetTransport
{
public:
    virtual ~ZibNetTransport() = default;
    virtual bool Send(std::uint32_t channel, std::uint32_t messageId, const void* data, std::uint32_t size,
                      const Network::NetAddress& to) = 0;
    virtual void CloseChannel(std::uint32_t channel) = 0;
};

// The networked-session layer: a session between one host and several
// clients on top of the socket engine. It keeps the players and their
// groups, finds sessions through their broadcasts, pumps the socket events
// once per frame on the calling thread (so it takes no locks of its own) and
// tells the game what happened through one event callback.
//
// At most one layer is active in a process at a time (Start answers false
// while another is). Everything that needs an active layer, a local player,
// hosting or a connection answers false without effect when it is missing.
//
// Messages are read through bounded readers: a payload field that runs past
// the payload, a string without its NUL, a member list of partial ids or a
// size larger than what follows makes the message malformed, and it is
// dropped without an answer. The host believes no sender id a message
// names: the sender is the player at the connection's (or datagram's)
// source address, and a message naming someone else is dropped.
class ZibNet : public Core::Object
{
public:
    using EventCallback = bool (*)(const Core::RefPtr<NetMessage>& message);

    static constexpr const char* ScriptTypeName = "ZibNet";

    ZibNet();
    ~ZibNet() override;
    void PushToScript(lua_State* state) override;
    ZibNet(const ZibNet&) = delete;
    ZibNet& operator=(const ZibNet&) = delete;

    // The layer active in this process, or null.
    static ZibNet* GetActive();

    bool Start(bool isHost, EventCallback callback, const std::string& sessionName,
               const std::string& password, std::uint32_t pumpTimeLimitMs, std::uint32_t pumpIdleLimitMs,
               std::uint32_t syncRate, std::uint16_t discoveryPort, std::uint16_t hostPort);
    bool HostSession(const std::string& playerName, std::uint32_t maxPlayers, std::uint32_t addressClass,
                     float intervalSeconds);
    // `hostAddress` is "HOST:PORT". Connecting and waiting for the host's
    // answer are each bounded by the join deadline; on any failure the
    // client is left unconnected with its connection closed.
    bool JoinSession(const std::string& playerName, const std::string& hostAddress,
                     const std::string& password);
    bool JoinSession(const std::string& playerName, const Network::NetAddress& hostAddress,
                     const std::string& password);
    // False when not active; otherwise ends the session and forgets it.
    bool Shutdown();
    void ListenForSessions();

    // --- Sending ----------------------------------------------------------
    // A client sends to the host; the host to every non-local player of the
    // group (all players when null). True only when every send succeeded.
    bool Send(std::uint32_t messageId, const void* data, std::uint32_t size, ZibGroup* group, bool reliable);
    bool SendToPlayer(std::uint32_t messageId, const void* data, std::uint32_t size, ZibPlayer* player,
                      bool reliable);
    bool SendTextMessage(bool reliable, const std::string& text, bool echo);
    bool SendTextMessageToGroup(bool reliable, const std::string& text, ZibGroup* group, bool echo);
    bool SendTextMessageToPlayer(bool reliable, const std::string& text, ZibPlayer* player, bool echo);

    // --- Players and groups -------------------------------------------------
    bool AddPlayer(ZibPlayer* player);
    void RemovePlayer(ZibPlayer* player);
    bool AddGroup(ZibGroup* group);
    bool RemoveGroup(ZibGroup* group);

    bool IsHost() const { return host_ != 0; }
    bool IsHosting() const { return hosting_ != 0; }
    bool IsConnected() const { return connected_ != 0; }
    bool IsActive() const;
    bool IsNetworkGame() const;
    ZibPlayer* GetLocalPlayer() const { return localPlayer_.Get(); }
    ZibPlayer* FindPlayerByID(std::uint32_t id) const;
    ZibPlayer* FindPlayerByName(const std::string& name) const;
    ZibPlayer* FindPlayerByAddress(const Network::NetAddress& address) const;
    // A group without owner matches any owner; a null owner means the local
    // player.
    ZibGroup* FindGroupByID(std::uint32_t id, ZibPlayer* owner = nullptr) const;
    ZibGroup* FindGroupByName(const std::string& name, ZibPlayer* owner = nullptr) const;
    ZibGroup* GetAllPlayersGroup() const { return allPlayers_.Get(); }
    const std::vector<Core::RefPtr<ZibGroup>>& GetGroups() const { return groups_; }
    const Network::NetAddress& GetHostAddress() const { return hostAddress_; }
    // Sessions seen on the network; each is dropped once it has not been
    // heard for the broadcast time-out.
    const std::vector<ZibBroadcast>& GetBroadcastList() const { return sessions_; }
    float GetBroadcastTimeOut() const { return broadcastTimeOut_; }
    std::uint32_t GetMeasuredSyncRate() const { return measuredSyncRate_; }

    // This game's network id (written into the host's broadcast).
    void SetNetworkID(const std::string& id) { networkId_ = id; }
    const std::string& GetNetworkID() const { return networkId_; }
    // Bounds both the join's connect and its wait for the reply (5 s).
    void SetJoinDeadline(std::uint32_t milliseconds) { joinDeadlineMs_ = milliseconds; }

    // --- Networked objects ---------------------------------------------------
    // The host gives each shared game object an identity, announces it
    // (message 7), removes it everywhere (8) and sends its state at every
    // sync period (9); a client makes its copies by cloning the template
    // registered under the name the host names, and asks for the whole list
    // (16, answered by 13) after each level switch. Until that list has
    // arrived a client ignores creations and syncs.
    //
    // Registers a template under `name` (stored as its network base name);
    // false for null or a name already registered.
    bool AddBaseNetObject(const std::string& name, GameObject* object);
    void ClearBaseNetObjects();
    // The first template of that name, or null.
    GameObject* FindBaseNetObject(const std::string& name) const;
    // Host only (a client answers false): a new identity owned by `owner`
    // (the local player when null), message 7 to every client, and the
    // object joins the networked objects. False without effect when the
    // object is already networked here.
    bool AddNetworkGameObject(const Core::RefPtr<GameObject>& object, std::uint32_t layerIndex,
                              ZibPlayer* owner);
    // Message 8 for a networked object (a client's goes to the host, which
    // decides); the host also drops it from the networked objects.
    bool RemoveNetworkGameObject(const Core::RefPtr<GameObject>& object);
    // Appends to the networked objects without announcing it.
    bool AddNetworkObject(GameObject* object);
    // The first networked object, not destroyed, with both ids; or null.
    GameObject* FindNetObject(std::uint32_t ownerId, std::uint32_t objectId) const;
    // Takes every networked object out of its layer (here only) and
    // forgets them.
    void RemoveAllNetworkGameObjects();
    // Takes the objects `player` owns out of their layers (the host
    // announces each removal) and forgets them.
    void RemoveNetObjectsControlledBy(ZibPlayer* player);
    // Host: message 13 with every networked object (count 0 when none) to
    // that player.
    bool SendNetworkObjectsTo(ZibPlayer* player);
    const std::vector<Core::RefPtr<GameObject>>& GetNetworkObjects() const { return netObjects_; }
    const std::vector<Core::RefPtr<GameObject>>& GetBaseNetObjects() const { return baseNetObjects_; }

    // --- Per frame ----------------------------------------------------------
    // Resets the keyboards of the players (the host leaves local ones alone).
    void ResetNetworkKeyboards();
    virtual void Update(float dt);

    // One socket event, as the session's receive handler gets it. True: the
    // queue frees the message.
    bool HandleEvent(Network::SocketEvent& event);

    // Null: the session's sockets.
    void SetTransport(ZibNetTransport* transport) { transport_ = transport; }
    // How the layer reads the running level's name and asks for another
    // level; the game's by default.
    using LevelNameQuery = std::function<std::string()>;
    using LevelRequest = std::function<void(const std::string& name)>;
    void SetLevelHooks(LevelNameQuery query, LevelRequest request);
    // The level whose layers networked copies join; the game's current
    // level by default.
    using LevelQuery = std::function<Level*()>;
    void SetLevelQuery(LevelQuery query);

    // Observes the calls the framework makes, by name ("Send",
    // "RemoveAllNetworkGameObjects", "ListenForSessions",
    // "ClearBaseNetObjects", "ResetNetworkKeyboards", "Update", "Shutdown").
    using CallObserver = void (*)(const char* operation, void* userData);
    static void SetCallObserver(CallObserver observer, void* userData);

private:
    friend class ZibNetTestAccess;

    struct PingRecord
    {
        std::uint32_t playerId;
        std::uint32_t sequence;
        double sentAt;
    };

    // Makes this the active layer; false when another one is.
    bool Activate();
    // Process-wide id counters; the first id is 1.
    static std::uint32_t NextPlayerID();
    static std::uint32_t NextGroupID();

    void Record(const char* operation) const;
    // Send without telling the call observer (the layer's own sends).
    bool SendToGroup(std::uint32_t messageId, const void* data, std::uint32_t size, ZibGroup* group,
                     bool reliable);
    bool Report(const Core::RefPtr<NetMessage>& message) const;
    void ReportSession(std::uint32_t kind) const;
    bool SendOn(std::uint32_t channel, std::uint32_t messageId, const void* data, std::uint32_t size,
                const Network::NetAddress& to);
    void Close(std::uint32_t channel);
    // Ends the session on this machine: flags, channels, other players,
    // then type 8.
    void EndSession();
    void ResetState();
    void RefreshBroadcast();
    void SendInput();
    void SendPings();
    void SyncHost();

    // Receive handlers (Velkor_NetHandlers.cpp).
    void HandleHostMessage(Network::SocketEvent& event);
    void HandleClientMessage(Network::SocketEvent& event);
    void HostJoin(const Network::SocketEvent& event);
    void HostCreateGroup(ZibPlayer& sender, PayloadReader& reader);
    void HostDestroyGroup(ZibPlayer& sender, PayloadReader& reader);
    void HostRelay(ZibPlayer& sender, const Network::SocketEvent& event, bool data);
    void HostInput(ZibPlayer& sender, PayloadReader& reader, bool mouse);
    void HostPingReply(ZibPlayer& sender, PayloadReader& reader);
    void ClientBroadcast(const Network::SocketEvent& event);
    void ClientJoinReply(PayloadReader& reader);
    void ClientPlayer(PayloadReader& reader, bool added);
    void ClientText(PayloadReader& reader, bool data);
    void ClientLevelName(const Network::SocketEvent& event);
    void ClientPing(PayloadReader& reader);
    // The host's sender of an event, from its source address; null when
    // none or local.
    ZibPlayer* SenderOf(const Network::SocketEvent& event) const;
    // The group a remote owner names by its own id, else FindGroupByID.
    ZibGroup* FindGroupForSender(std::uint32_t id, ZibPlayer* sender) const;

    // Networked objects (Velkor_NetObjects.cpp).
    static std::uint32_t NextObjectID();
    // Sends the level name, then one message 9 per networked object.
    void SyncObjects();
    void HostRemoveObject(ZibPlayer& sender, PayloadReader& reader);
    // One entry of messages 7 and 13 read from `file`: false when the rest
    // of the payload cannot be read (a malformed entry, or a name with no
    // template, whose record length is unknown).
    bool ReadObjectEntry(NetworkFile& file);
    void ClientObjectList(const Network::SocketEvent& event);
    void ClientCreateObject(const Network::SocketEvent& event);
    void ClientRemoveObject(PayloadReader& reader);
    void ClientSyncObject(const Network::SocketEvent& event);
    // Takes the object out of its layer on this machine only.
    static void TakeOutOfLayer(GameObject& object);
    void ForgetNetObject(const GameObject* object);
    bool ReceivesObjects() const;

    Network::Zib_Network_Manager manager_;
    Network::Zib_Session* session_ = nullptr;
    EventCallback callback_ = nullptr;
    ZibNetTransport* transport_ = nullptr;
    LevelNameQuery levelName_;
    LevelRequest levelRequest_;
    std::uint32_t pumpTimeLimitMs_ = 0;
    std::uint32_t pumpIdleLimitMs_ = 0;
    std::uint8_t host_ = 0;
    std::uint8_t hosting_ = 0;
    std::uint8_t connected_ = 0;
    std::uint8_t closing_ = 0;
    std::uint16_t discoveryPort_ = 0;
    std::uint16_t hostPort_ = 0;
    std::uint32_t addressClass_ = 1;
    float broadcastInterval_ = 0.25f;
    std::uint32_t maxPlayers_ = 0;
    std::uint32_t syncRate_ = 1;
    std::uint32_t measuredSyncRate_ = 1;
    std::uint32_t syncFrames_ = 0;
    float syncPeriod_ = 1.0f;
    float syncAccumulator_ = 0.0f;
    float secondClock_ = 0.0f;
    std::vector<std::uint8_t> buffer_;
    std::vector<ZibBroadcast> sessions_;
    float broadcastTimeOut_ = 0.5f;
    Core::RefPtr<ZibGroup> allPlayers_;
    std::vector<Core::RefPtr<ZibGroup>> groups_;
    Core::RefPtr<ZibPlayer> localPlayer_;
    Network::NetAddress hostAddress_;
    std::string sessionName_;
    std::string password_;
    std::string networkId_;
    std::vector<PingRecord> pings_;
    std::uint32_t pingSequence_ = 0;
    std::uint32_t joinDeadlineMs_ = 5000;
    LevelQuery currentLevel_;
    std::vector<Core::RefPtr<GameObject>> netObjects_;
    std::vector<Core::RefPtr<GameObject>> baseNetObjects_;
};

} // namespace Velkor
