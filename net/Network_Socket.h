#pragma once

#include "net/Network_Address.h"
#include "net/Network_Message.h"

#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace Network
{

enum SocketType : std::int32_t
{
    ClosedSocket = -1,
    StreamSocket = 1,
    DatagramSocket = 2,
};

// Channel flag bits.
enum ChannelFlags : std::uint32_t
{
    WatchedFlag = 1, // the network thread reads, accepts and writes queued sends
    QueuedFlag = 2,  // sends are queued for the network thread
};

// Socket option bits, applied in rising order.
enum OptionBits : std::uint32_t
{
    BroadcastOption = 1,
    DebugOption = 2,
    DontRouteOption = 4,
    KeepAliveOption = 8,
    ReuseAddressOption = 16,
    NoDelayOption = 32,
    NonBlockingOption = 64,
    HardCloseOption = 128, // stream sockets only: linger on with 0 s
};

// Bytes a non-blocking stream may hold for the network thread when its peer
// does not read; past this the connection is closed and the send fails.
inline constexpr std::size_t MaxPendingSend = 64u << 20;

// One channel's socket, or one accepted connection. Destroyed only by the
// network thread or the session's shutdown, and only once no operation holds
// it (use count below 1).
struct SocketRecord
{
    int handle = -1;
    std::int32_t type = ClosedSocket;
    // Grown on demand, never shrunk; growing does not keep the contents.
    std::uint8_t* receiveBuffer = nullptr;
    std::size_t receiveCapacity = 0;
    std::uint8_t* sendBuffer = nullptr;
    std::size_t sendCapacity = 0;
    pthread_mutex_t* receiveMutex = nullptr;
    pthread_mutex_t* sendMutex = nullptr;
    pthread_mutex_t* useMutex = nullptr;
    std::uint32_t channel = 0;
    std::uint32_t flags = 0;
    std::uint32_t optionMask = 0;
    NetAddress local;
    NetAddress peer;
    std::int32_t useCount = 0;
    // The bytes below are read and written under the session lock.
    std::uint8_t accepted = 0;
    std::uint8_t connecting = 0;
    std::uint8_t connected = 0;
    std::uint8_t closing = 0;
    std::uint8_t listening = 0;

    // The stream's reassembly state, under the receive mutex. It belongs to
    // this socket and dies with it, so a later socket that gets the same
    // descriptor number starts clean.
    StreamReader reader;
    // Message bytes the socket has not taken yet (non-blocking streams),
    // under the send mutex; sent in order before anything newer.
    std::vector<std::uint8_t> pending;
    std::size_t pendingSent = 0;
    std::atomic<bool> hasPending{false};

    SocketRecord() = default;
    ~SocketRecord();
    SocketRecord(const SocketRecord&) = delete;
    SocketRecord& operator=(const SocketRecord&) = delete;

    bool IsNonBlocking() const { return (optionMask & NonBlockingOption) != 0; }
};

// Opens a socket of the engine's type (close-on-exec); -1 on failure.
int OpenSocket(std::int32_t type);
// Sets every option of the mask in rising bit order; false on the first
// failure.
bool ApplyOptions(int handle, std::int32_t type, std::uint32_t mask);
void CloseSocket(int& handle);
// Grows a buffer to at least `size` bytes, dropping its contents; false (and
// the buffer unchanged) when memory runs out.
bool GrowBuffer(std::uint8_t*& buffer, std::size_t& capacity, std::size_t size);

// The stream reader's view of a socket.
class SocketSource : public ByteSource
{
public:
    explicit SocketSource(int handle) : handle_(handle) {}
    long Available() override;
    long Receive(std::uint8_t* destination, std::size_t capacity) override;

private:
    int handle_;
};

// Sends one whole message on a stream socket; the caller holds the record's
// send mutex. A blocking socket sends until done. A non-blocking one sends
// what the socket takes and keeps the rest for the network thread (as it
// does for the whole message while earlier bytes wait), so a message is
// never cut short. False on a socket error or when too much is waiting.
bool SendWhole(SocketRecord& record, const std::uint8_t* message, std::size_t length);
// Sends waiting bytes (caller holds the send mutex); false on a socket error.
bool FlushPending(SocketRecord& record);

} // namespace Network
