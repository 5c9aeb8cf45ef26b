#include "net/Network_Message.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace Network
{

namespace
{

void WriteU32(std::uint8_t* destination, std::uint32_t value)
{
    destination[0] = static_cast<std::uint8_t>(value);
    destination[1] = static_cast<std::uint8_t>(value >> 8);
    destination[2] = static_cast<std::uint8_t>(value >> 16);
    destination[3] = static_cast<std::uint8_t>(value >> 24);
}

std::uint32_t ReadU32(const std::uint8_t* source)
{
    return static_cast<std::uint32_t>(source[0]) | static_cast<std::uint32_t>(source[1]) << 8 |
           static_cast<std::uint32_t>(source[2]) << 16 | static_cast<std::uint32_t>(source[3]) << 24;
}

// One read takes at most this much, so that a peer streaming fast cannot
// make the buffer grow past one message plus one read.
constexpr std::size_t MaxReadSize = MaxMessageLength;

} // namespace

std::uint8_t* AllocateMessage(std::size_t length)
{
    return new (std::nothrow) std::uint8_t[length > 0 ? length : 1];
}

void FreeMessage(std::uint8_t* message)
{
    delete[] message;
}

void WriteHeader(std::uint8_t* destination, std::uint32_t id, std::uint32_t length)
{
    WriteU32(destination, id);
    WriteU32(destination + 4, length);
}

MessageHeader ReadHeader(const std::uint8_t* source)
{
    return MessageHeader{ReadU32(source), ReadU32(source + 4)};
}

void FreeMessages(std::vector<OwnedMessage>& messages)
{
    for (OwnedMessage& message : messages)
    {
        FreeMessage(message.data);
    }
    messages.clear();
}

OwnedMessage CopyDatagram(const std::uint8_t* bytes, std::size_t count)
{
    if (count < HeaderSize || count > MaxDatagramLength || ReadHeader(bytes).length != count)
    {
        return {};
    }
    std::uint8_t* copy = AllocateMessage(count);
    if (copy == nullptr)
    {
        return {};
    }
    std::memcpy(copy, bytes, count);
    return OwnedMessage{copy, static_cast<std::uint32_t>(count)};
}

StreamReader::~StreamReader()
{
    Reset();
}

void StreamReader::Reset()
{
    delete[] buffer_;
    buffer_ = nullptr;
    capacity_ = 0;
    used_ = 0;
}

bool StreamReader::Reserve(std::size_t room)
{
    if (capacity_ - used_ >= room)
    {
        return true;
    }
    const std::size_t capacity = used_ + room;
    auto* grown = new (std::nothrow) std::uint8_t[capacity];
    if (grown == nullptr)
    {
        return false;
    }
    if (used_ > 0)
    {
        std::memcpy(grown, buffer_, used_);
    }
    delete[] buffer_;
    buffer_ = grown;
    capacity_ = capacity;
    return true;
}

StreamReader::Result StreamReader::Read(ByteSource& source, std::vector<OwnedMessage>& messages)
{
    const long available = source.Available();
    // Nothing announced on a readable socket still means something: the
    // peer's close or a pending error. A one-byte read tells which.
    std::size_t room = available > 0 ? static_cast<std::size_t>(available) : 1;
    if (room > MaxReadSize)
    {
        room = MaxReadSize;
    }
    if (!Reserve(room))
    {
        // The bytes stay in the socket; the next read tries again.
        return Result::Open;
    }
    const long received = source.Receive(buffer_ + used_, room);
    if (received == 0)
    {
        return Result::Closed;
    }
    if (received < 0)
    {
        const bool waiting = errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        return waiting ? Result::Open : Result::Closed;
    }
    used_ += static_cast<std::size_t>(received) <= room ? static_cast<std::size_t>(received) : room;
    return Split(messages);
}

StreamReader::Result StreamReader::Split(std::vector<OwnedMessage>& messages)
{
    std::size_t start = 0;
    Result result = Result::Open;
    while (used_ - start >= HeaderSize)
    {
        const std::uint32_t length = ReadHeader(buffer_ + start).length;
        if (length < HeaderSize || length > MaxMessageLength)
        {
            result = Result::Closed;
            break;
        }
        if (used_ - start < length)
        {
            break;
        }
        std::uint8_t* copy = AllocateMessage(length);
        if (copy == nullptr)
        {
            // Kept in the buffer: a later read emits it once memory is back.
            break;
        }
        std::memcpy(copy, buffer_ + start, length);
        messages.push_back(OwnedMessage{copy, length});
        start += length;
    }
    if (start > 0)
    {
        std::memmove(buffer_, buffer_ + start, used_ - start);
        used_ -= start;
    }
    return result;
}

} // namespace Network
