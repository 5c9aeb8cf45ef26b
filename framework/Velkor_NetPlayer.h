#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "net/Network_Address.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{

// One player of a session: who it is, where it is, and the keyboard and
// mouse its input arrives through on the host.
class ZibPlayer : public Core::Object
{
public:
    static constexpr const char* ScriptTypeName = "ZibPlayer";

    ZibPlayer(std::uint32_t id, const std::string& name, bool local, bool host,
              const Core::RefPtr<Input::Keyboard>& keyboard, const Core::RefPtr<Input::Mouse>& mouse);
    ~ZibPlayer() override;
    void PushToScript(lua_State* state) override;

    std::uint32_t GetID() const { return id_; }
    void SetID(std::uint32_t id) { id_ = id; }
    const std::string& GetName() const { return name_; }
    bool IsLocal() const { return local_ != 0; }
    bool IsHost() const { return host_ != 0; }
    const Network::NetAddress& GetAddress() const { return address_; }
    void SetAddress(const Network::NetAddress& address) { address_ = address; }
    double GetPingTime() const { return pingTime_; }
    void SetPingTime(double milliseconds) { pingTime_ = milliseconds; }
    bool HasReceivedObjects() const { return receivedObjects_ != 0; }
    void SetReceivedObjects(bool received) { receivedObjects_ = received ? 1 : 0; }

    // The machine's own keyboard (mouse) for the local host player, the
    // player's network keyboard (mouse) for everyone else; null when it has
    // none.
    Input::Keyboard* GetNetworkKeyboard() const;
    Input::Mouse* GetNetworkMouse() const;
    void SetNetworkDevices(const Core::RefPtr<Input::Keyboard>& keyboard,
                           const Core::RefPtr<Input::Mouse>& mouse);

private:
    Core::RefPtr<Input::Keyboard> keyboard_;
    Core::RefPtr<Input::Mouse> mouse_;
    std::string name_;
    std::uint32_t id_;
    std::uint8_t local_;
    std::uint8_t host_;
    Network::NetAddress address_;
    std::uint8_t receivedObjects_ = 0;
    double pingTime_ = 0.0;
};

// A named set of players, kept in ascending id order, never holding one id
// twice. A group with no owner is everyone's.
class ZibGroup : public Core::Object
{
public:
    static constexpr const char* ScriptTypeName = "ZibGroup";

    ZibGroup(const std::string& name, std::uint32_t id, ZibPlayer* owner);
    ~ZibGroup() override;
    void PushToScript(lua_State* state) override;

    const std::string& GetName() const { return name_; }
    std::uint32_t GetID() const { return id_; }
    ZibPlayer* GetOwner() const { return owner_.Get(); }
    // On the host, a group a client made keeps the id the client gave it:
    // that client names the group by it. 0 for the host's own groups.
    std::uint32_t GetClientID() const { return clientId_; }
    void SetClientID(std::uint32_t id) { clientId_ = id; }

    // False (nothing changed) for null or an id already in the group.
    bool AddPlayer(ZibPlayer* player);
    bool RemovePlayer(std::uint32_t id);
    bool RemovePlayer(const std::string& name);
    ZibPlayer* FindPlayer(std::uint32_t id) const;
    ZibPlayer* FindPlayer(const std::string& name) const;
    // Restores id order after a member's id changed.
    void Sort();
    void Clear() { players_.clear(); }
    std::uint32_t GetSize() const { return static_cast<std::uint32_t>(players_.size()); }
    const std::vector<Core::RefPtr<ZibPlayer>>& GetPlayers() const { return players_; }

private:
    std::string name_;
    std::uint32_t id_;
    std::uint32_t clientId_ = 0;
    Core::RefPtr<ZibPlayer> owner_;
    std::vector<Core::RefPtr<ZibPlayer>> players_;
};

// A session seen on the network: the hosting session's name, its game's
// network id, where to join it, player counts, age and password flag.
class ZibBroadcast
{
public:
    // Scripts hold copies of sessions, owned by the script.
    static constexpr const char* ScriptTypeName = "ZibBroadcast";

    ZibBroadcast() = default;
    // `address` is "HOST:PORT" (or a bare host, port 0).
    ZibBroadcast(const std::string& hostName, const std::string& networkId, const std::string& address);
    ZibBroadcast(const std::string& hostName, const std::string& networkId,
                 const Network::NetAddress& address, std::uint32_t maxPlayers, std::uint32_t currentPlayers,
                 bool passwordProtected);

    const std::string& GetHostName() const { return hostName_; }
    const std::string& GetNetworkID() const { return networkId_; }
    // "HOST:PORT", the form JoinSession takes.
    const std::string& GetAddress() const { return addressText_; }
    const Network::NetAddress& GetHostAddress() const { return address_; }
    std::uint32_t GetSessionMaxPlayers() const { return maxPlayers_; }
    std::uint32_t GetSessionPlayersNumber() const { return currentPlayers_; }
    float GetAge() const { return age_; }
    void SetAge(float age) { age_ = age; }
    bool IsPasswordProtected() const { return passwordProtected_ != 0; }

private:
    std::string hostName_;
    std::string networkId_;
    Network::NetAddress address_;
    std::string addressText_;
    std::uint32_t maxPlayers_ = 0;
    std::uint32_t currentPlayers_ = 0;
    float age_ = 0.0f;
    std::uint8_t passwordProtected_ = 0;
};

// "HOST:PORT" of an address.
std::string AddressWithPort(const Network::NetAddress& address);
// Reads "HOST:PORT" (port 1 to 65535); false leaves `address` as it was.
bool ParseAddressWithPort(const std::string& text, Network::NetAddress& address);

// A networked object's identity: the owning player's id, the object's own
// id (unique within the host's session) and whether the host made it. On
// the wire: owner id, then object id.
class NetObjectID : public Core::Object
{
public:
    NetObjectID(std::uint32_t ownerId, std::uint32_t objectId, bool madeByHost = false)
        : ownerId_(ownerId), objectId_(objectId), madeByHost_(madeByHost ? 1 : 0)
    {
    }

    std::uint32_t GetOwnerID() const { return ownerId_; }
    std::uint32_t GetObjectID() const { return objectId_; }
    bool IsMadeByHost() const { return madeByHost_ != 0; }

private:
    std::uint32_t ownerId_;
    std::uint32_t objectId_;
    std::uint8_t madeByHost_;
};

// Attached to a game object that takes part in a network game.
class ZibComponentManager : public Core::Object
{
public:
    ZibComponentManager() = default;
};

} // namespace Velkor
