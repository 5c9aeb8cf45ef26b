#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <array>
#include <cstdint>
#include <string>

namespace Velkor
{

class ZibPlayer;

// What happened in a network game, handed to the game's event callback. The
// kind says which of the derived records it is:
//   0 session hosted, 1 session joined, 8 session ended  (NetSessionMessage)
//   2 join request, 4 player added, 5 player removed      (NetPlayerMessage)
//   6 text                                                (NetTextMessage)
//   3 join reply, 7 data                                  (NetDataMessage)
class NetMessage : public Core::Object
{
public:
    enum Kind : std::uint32_t
    {
        SessionHosted = 0,
        SessionJoined = 1,
        JoinRequest = 2,
        JoinReply = 3,
        PlayerAdded = 4,
        PlayerRemoved = 5,
        Text = 6,
        Data = 7,
        SessionEnded = 8,
    };

    explicit NetMessage(std::uint32_t kind) : kind_(kind) {}

    std::uint32_t GetKind() const { return kind_; }

private:
    std::uint32_t kind_;
};

// A session event: the host's address and the session's name.
class NetSessionMessage : public NetMessage
{
public:
    NetSessionMessage(std::uint32_t kind, const std::string& hostAddress, const std::string& name)
        : NetMessage(kind), hostAddress_(hostAddress), name_(name)
    {
    }

    const std::string& GetHostAddress() const { return hostAddress_; }
    const std::string& GetName() const { return name_; }

private:
    std::string hostAddress_;
    std::string name_;
};

// A player event: the player it is about.
class NetPlayerMessage : public NetMessage
{
public:
    NetPlayerMessage(std::uint32_t kind, ZibPlayer* player);
    ~NetPlayerMessage() override;

    ZibPlayer* GetPlayer() const { return player_.Get(); }

private:
    Core::RefPtr<ZibPlayer> player_;
};

// A text message and the player who sent it.
class NetTextMessage : public NetMessage
{
public:
    NetTextMessage(const std::string& text, ZibPlayer* sender);
    ~NetTextMessage() override;

    const std::string& GetText() const { return text_; }
    ZibPlayer* GetSender() const { return sender_.Get(); }

private:
    std::string text_;
    Core::RefPtr<ZibPlayer> sender_;
};

// Four values whose meaning depends on the kind. A join reply holds the
// address of the 4-byte reply code in the first value; a data message holds
// (value, size, address of the data, address of the sending player). Values
// that hold addresses are pointer-sized, so all four are.
class NetDataMessage : public NetMessage
{
public:
    using Values = std::array<std::uintptr_t, 4>;

    NetDataMessage(std::uint32_t kind, const Values& values) : NetMessage(kind), values_(values) {}

    std::uintptr_t GetValue(std::uint32_t index) const { return index < values_.size() ? values_[index] : 0; }

private:
    Values values_;
};

} // namespace Velkor
