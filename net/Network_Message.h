#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Network
{

// Every message on the wire, stream or datagram: this header, then the
// payload. Both words are little-endian.
struct MessageHeader
{
    std::uint32_t id;     // chosen by the sender, never interpreted here
    std::uint32_t length; // whole message in bytes, header included
};

inline constexpr std::uint32_t HeaderSize = 8;
// The largest message a peer may announce on a stream; a longer one closes
// the connection instead of making us allocate what the peer asks for.
inline constexpr std::uint32_t MaxMessageLength = 1u << 20;
// A datagram cannot be longer than this.
inline constexpr std::uint32_t MaxDatagramLength = 65535;

// Message buffers are allocated whole (header and payload in one block).
// Whoever holds one frees it with FreeMessage. Null when memory runs out.
std::uint8_t* AllocateMessage(std::size_t length);
void FreeMessage(std::uint8_t* message);

void WriteHeader(std::uint8_t* destination, std::uint32_t id, std::uint32_t length);
MessageHeader ReadHeader(const std::uint8_t* source);

// A whole message: its buffer (owned by the holder) and total length.
struct OwnedMessage
{
    std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
};

// Frees every message of the list and empties it.
void FreeMessages(std::vector<OwnedMessage>& messages);

// One received datagram as one message: a copy of the bytes when they are at
// least a header long and the header's length equals their count; none
// (data null) otherwise, or when the copy cannot be allocated.
OwnedMessage CopyDatagram(const std::uint8_t* bytes, std::size_t count);

// Where a stream reader takes its bytes from: the socket, or a script in
// tests. Both follow the socket calls' conventions.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Bytes waiting to be read (FIONREAD), or -1 on failure.
    virtual long Available() = 0;
    // Reads up to `capacity` bytes without blocking: the count read, 0 when
    // the peer has closed, -1 with errno set on failure (EAGAIN: nothing yet).
    virtual long Receive(std::uint8_t* destination, std::size_t capacity) = 0;
};

// Cuts the byte stream of one connection into whole messages and keeps the
// unfinished tail for the next read. Unconsumed bytes always start at the
// front of the buffer, so the message being assembled begins at offset 0.
// A header announcing fewer than 8 or more than MaxMessageLength bytes ends
// the connection: the stream can never be back in frame after it. At most
// one message's worth of bytes is taken per read, so the buffer stays below
// twice the largest message.
class StreamReader
{
public:
    enum class Result
    {
        Open,   // messages (if any) emitted; waiting for more
        Closed, // the peer closed or reset, or sent a malformed header
    };

    StreamReader() = default;
    ~StreamReader();
    StreamReader(const StreamReader&) = delete;
    StreamReader& operator=(const StreamReader&) = delete;

    // Takes what the source has and appends every completed message to
    // `messages`, in arrival order. The caller owns the emitted buffers.
    Result Read(ByteSource& source, std::vector<OwnedMessage>& messages);

    // Bytes received and not yet emitted.
    std::size_t GetPending() const { return used_; }
    std::size_t GetCapacity() const { return capacity_; }
    // Drops the buffer and any unfinished message.
    void Reset();

private:
    // False when the buffer could not grow; it is then left as it was.
    bool Reserve(std::size_t room);
    // Emits the completed messages at the front; Closed on a bad header.
    Result Split(std::vector<OwnedMessage>& messages);

    std::uint8_t* buffer_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
};

} // namespace Network
