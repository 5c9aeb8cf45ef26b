#pragma once

#include "net/Network_Address.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{

class ZibPlayer;

// The session's channels.
enum NetChannel : std::uint32_t
{
    BroadcastChannel = 0,      // host: the periodic session datagram
    DiscoveryChannel = 1,      // client: hears session datagrams until joined
    HostStreamChannel = 2,     // host: listening; one accepted connection per client
    ClientStreamChannel = 3,   // client: the connection to the host
    HostDatagramChannel = 4,   // host: unreliable messages
    ClientDatagramChannel = 5, // client: unreliable messages
};

// The application messages. All numbers little-endian u32 unless noted.
enum NetMessageId : std::uint32_t
{
    SessionBroadcastMessage = 0, // the session datagram (BuildSessionBroadcast)
    JoinRequestMessage = 1,      // password and NUL, the joining player's record
    JoinReplyMessage = 2,        // i32: -1 full, -2 password, -3 id taken, -4 refused, else the new id
    PlayerAddedMessage = 3,      // a player record
    PlayerRemovedMessage = 4,    // a player record
    CreateGroupMessage = 5,      // owner id, group id, name and NUL, member ids
    DestroyGroupMessage = 6,     // owner id, group id
    CreateObjectMessage = 7,
    RemoveObjectMessage = 8, // owner id, object id
    SyncObjectMessage = 9,
    TextMessage = 10,      // sender id, target id, text and NUL
    DataMessage = 11,      // sender id, target id, value, size, bytes
    LevelNameMessage = 12, // the level's name, no terminator
    ObjectListMessage = 13,
    KeyboardMessage = 14,          // sender id, 12-byte key entries
    MouseMessage = 15,             // sender id, the 28-byte mouse state
    ObjectListRequestMessage = 16, // sender id
    PingMessage = 17,              // host id, sequence number
    PingReplyMessage = 18,         // the client's id, the sequence number it answers
};

// Join reply codes.
enum JoinReply : std::int32_t
{
    JoinSessionFull = -1,
    JoinWrongPassword = -2,
    JoinDuplicateId = -3,
    JoinRefused = -4,
};

// Reads a received payload without ever passing its end: every read checks
// what is left first and, on failure, marks the reader failed and leaves the
// output as it was.
class PayloadReader
{
public:
    PayloadReader(const std::uint8_t* data, std::uint32_t size)
        : data_(data), size_(data != nullptr ? size : 0)
    {
    }

    bool U8(std::uint8_t& value);
    bool U32(std::uint32_t& value);
    bool I32(std::int32_t& value);
    // `count` bytes in place; false when fewer are left.
    bool Bytes(std::uint32_t count, const std::uint8_t*& bytes);
    // Characters up to a NUL inside the payload; the NUL is consumed.
    bool CString(std::string& text);
    // A socket address: 16 bytes, taken as IPv4 whatever the family field says.
    bool Address(Network::NetAddress& address);

    std::uint32_t GetLeft() const { return size_ - position_; }
    const std::uint8_t* GetCursor() const { return data_ + position_; }
    bool Failed() const { return failed_; }

private:
    bool Take(std::uint32_t count, const std::uint8_t*& bytes);

    const std::uint8_t* data_;
    std::uint32_t size_;
    std::uint32_t position_ = 0;
    bool failed_ = false;
};

// Builds a payload in a byte vector.
class PayloadWriter
{
public:
    explicit PayloadWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void U8(std::uint8_t value) { out_.push_back(value); }
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void Bytes(const void* data, std::size_t size);
    // The characters and a NUL.
    void CString(const std::string& text);
    void Address(const Network::NetAddress& address);

private:
    std::vector<std::uint8_t>& out_;
};

// A player record: u32 id, u8 host flag, 16-byte address, name and NUL
// (name length + 22 bytes).
void WritePlayerRecord(PayloadWriter& writer, const ZibPlayer& player);

struct PlayerRecord
{
    std::uint32_t id = 0;
    bool host = false;
    Network::NetAddress address;
    std::string name;
};
// False (record unchanged) when the record runs past the payload or its
// name has no NUL inside it.
bool ReadPlayerRecord(PayloadReader& reader, PlayerRecord& record);

// The session datagram: host address (16), maximum players, current
// players, password flag (u8), L = name length + 1, the name and NUL, the
// network id and NUL. Name length + network id length + 31 bytes.
struct SessionBroadcast
{
    Network::NetAddress address;
    std::uint32_t maxPlayers = 0;
    std::uint32_t currentPlayers = 0;
    bool passwordProtected = false;
    std::string name;
    std::string networkId;
};
void WriteSessionBroadcast(std::vector<std::uint8_t>& out, const SessionBroadcast& broadcast);
// False when the payload is 28 bytes or less, when L or the network id runs
// past it, or when the name does not end with its NUL at L.
bool ReadSessionBroadcast(const std::uint8_t* data, std::uint32_t size, SessionBroadcast& broadcast);

} // namespace Velkor
