#include "framework/Velkor_NetWire.h"

#include "framework/Velkor_NetPlayer.h"

#include <cstring>

namespace Velkor
{

bool PayloadReader::Take(std::uint32_t count, const std::uint8_t*& bytes)
{
    if (failed_ || count > size_ - position_)
    {
        failed_ = true;
        return false;
    }
    bytes = data_ + position_;
    position_ += count;
    return true;
}

bool PayloadReader::U8(std::uint8_t& value)
{
    const std::uint8_t* bytes = nullptr;
    if (!Take(1, bytes))
    {
        return false;
    }
    value = bytes[0];
    return true;
}

bool PayloadReader::U32(std::uint32_t& value)
{
    const std::uint8_t* bytes = nullptr;
    if (!Take(4, bytes))
    {
        return false;
    }
    value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
            std::uint32_t{bytes[3]} << 24;
    return true;
}

bool PayloadReader::I32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!U32(raw))
    {
        return false;
    }
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool PayloadReader::Bytes(std::uint32_t count, const std::uint8_t*& bytes)
{
    return Take(count, bytes);
}

bool PayloadReader::CString(std::string& text)
{
    if (failed_)
    {
        return false;
    }
    const std::uint32_t left = size_ - position_;
    const void* end = left > 0 ? std::memchr(data_ + position_, 0, left) : nullptr;
    if (end == nullptr)
    {
        failed_ = true;
        return false;
    }
    const auto length =
        static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(end) - (data_ + position_));
    text.assign(reinterpret_cast<const char*>(data_ + position_), length);
    position_ += length + 1;
    return true;
}

bool PayloadReader::Address(Network::NetAddress& address)
{
    const std::uint8_t* bytes = nullptr;
    if (!Take(sizeof(sockaddr_in), bytes))
    {
        return false;
    }
    Network::NetAddress read;
    sockaddr_in& raw = read.GetSockAddr();
    std::memcpy(&raw, bytes, sizeof raw);
    raw.sin_family = AF_INET;
    std::memset(raw.sin_zero, 0, sizeof raw.sin_zero);
    read.RefreshText();
    address = read;
    return true;
}

void PayloadWriter::U32(std::uint32_t value)
{
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value >> 16),
                                   static_cast<std::uint8_t>(value >> 24)};
    out_.insert(out_.end(), bytes, bytes + 4);
}

void PayloadWriter::Bytes(const void* data, std::size_t size)
{
    if (size > 0)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        out_.insert(out_.end(), bytes, bytes + size);
    }
}

void PayloadWriter::CString(const std::string& text)
{
    // A name with an inner NUL is cut there, as the reader would cut it.
    const std::size_t length = std::strlen(text.c_str());
    Bytes(text.data(), length);
    out_.push_back(0);
}

void PayloadWriter::Address(const Network::NetAddress& address)
{
    sockaddr_in raw = address.GetSockAddr();
    raw.sin_family = AF_INET;
    Bytes(&raw, sizeof raw);
}

void WritePlayerRecord(PayloadWriter& writer, const ZibPlayer& player)
{
    writer.U32(player.GetID());
    writer.U8(player.IsHost() ? 1 : 0);
    writer.Address(player.GetAddress());
    writer.CString(player.GetName());
}

bool ReadPlayerRecord(PayloadReader& reader, PlayerRecord& record)
{
    PlayerRecord read;
    std::uint8_t host = 0;
    if (!reader.U32(read.id) || !reader.U8(host) || !reader.Address(read.address) ||
        !reader.CString(read.name))
    {
        return false;
    }
    read.host = host != 0;
    record = std::move(read);
    return true;
}

void WriteSessionBroadcast(std::vector<std::uint8_t>& out, const SessionBroadcast& broadcast)
{
    out.clear();
    PayloadWriter writer(out);
    writer.Address(broadcast.address);
    writer.U32(broadcast.maxPlayers);
    writer.U32(broadcast.currentPlayers);
    writer.U8(broadcast.passwordProtected ? 1 : 0);
    const auto nameLength = static_cast<std::uint32_t>(std::strlen(broadcast.name.c_str()));
    writer.U32(nameLength + 1);
    writer.CString(broadcast.name);
    writer.CString(broadcast.networkId);
}

bool ReadSessionBroadcast(const std::uint8_t* data, std::uint32_t size, SessionBroadcast& broadcast)
{
    constexpr std::uint32_t FixedPart = 29;
    if (data == nullptr || size < FixedPart)
    {
        return false;
    }
    PayloadReader reader(data, size);
    SessionBroadcast read;
    std::uint8_t password = 0;
    std::uint32_t nameBytes = 0;
    const std::uint8_t* name = nullptr;
    if (!reader.Address(read.address) || !reader.U32(read.maxPlayers) || !reader.U32(read.currentPlayers) ||
        !reader.U8(password) || !reader.U32(nameBytes) || nameBytes == 0 || !reader.Bytes(nameBytes, name) ||
        name[nameBytes - 1] != 0 || !reader.CString(read.networkId))
    {
        return false;
    }
    read.name.assign(reinterpret_cast<const char*>(name), std::strlen(reinterpret_cast<const char*>(name)));
    read.passwordProtected = password != 0;
    broadcast = std::move(read);
    return true;
}

} // namespace Velkor
