#include "net/Network_Socket.h"

#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace Network
{

SocketRecord::~SocketRecord()
{
    CloseSocket(handle);
    delete[] receiveBuffer;
    delete[] sendBuffer;
}

int OpenSocket(std::int32_t type)
{
    const int kind = type == StreamSocket ? SOCK_STREAM : type == DatagramSocket ? SOCK_DGRAM : -1;
    if (kind < 0)
    {
        return -1;
    }
    return socket(AF_INET, kind | SOCK_CLOEXEC, 0);
}

bool ApplyOptions(int handle, std::int32_t type, std::uint32_t mask)
{
    struct Option
    {
        std::uint32_t bit;
        int level;
        int name;
    };
    static const Option options[] = {
        {BroadcastOption, SOL_SOCKET, SO_BROADCAST},    {DebugOption, SOL_SOCKET, SO_DEBUG},
        {DontRouteOption, SOL_SOCKET, SO_DONTROUTE},    {KeepAliveOption, SOL_SOCKET, SO_KEEPALIVE},
        {ReuseAddressOption, SOL_SOCKET, SO_REUSEADDR}, {NoDelayOption, IPPROTO_TCP, TCP_NODELAY},
    };
    const int on = 1;
    for (const Option& option : options)
    {
        if ((mask & option.bit) != 0 && setsockopt(handle, option.level, option.name, &on, sizeof(on)) != 0)
        {
            return false;
        }
    }
    if ((mask & NonBlockingOption) != 0)
    {
        const int current = fcntl(handle, F_GETFL);
        if (current < 0 || fcntl(handle, F_SETFL, current | O_NONBLOCK) != 0)
        {
            return false;
        }
    }
    if ((mask & HardCloseOption) != 0 && type == StreamSocket)
    {
        const linger hard{1, 0};
        if (setsockopt(handle, SOL_SOCKET, SO_LINGER, &hard, sizeof(hard)) != 0)
        {
            return false;
        }
    }
    return true;
}

void CloseSocket(int& handle)
{
    if (handle >= 0)
    {
        close(handle);
        handle = -1;
    }
}

bool GrowBuffer(std::uint8_t*& buffer, std::size_t& capacity, std::size_t size)
{
    if (capacity >= size)
    {
        return true;
    }
    auto* grown = new (std::nothrow) std::uint8_t[size];
    if (grown == nullptr)
    {
        return false;
    }
    delete[] buffer;
    buffer = grown;
    capacity = size;
    return true;
}

long SocketSource::Available()
{
    int count = 0;
    return ioctl(handle_, FIONREAD, &count) == 0 ? count : -1;
}

long SocketSource::Receive(std::uint8_t* destination, std::size_t capacity)
{
    return recv(handle_, destination, capacity, MSG_DONTWAIT);
}

namespace
{

// Sends as much as the socket takes without blocking: the count sent, or -1
// on an error other than a full socket.
long SendSome(int handle, const std::uint8_t* bytes, std::size_t length)
{
    std::size_t sent = 0;
    while (sent < length)
    {
        const ssize_t result = send(handle, bytes + sent, length - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (result < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK)
            {
                break;
            }
            return -1;
        }
        sent += static_cast<std::size_t>(result);
    }
    return static_cast<long>(sent);
}

bool Keep(SocketRecord& record, const std::uint8_t* bytes, std::size_t length)
{
    if (record.pending.size() - record.pendingSent + length > MaxPendingSend)
    {
        return false;
    }
    try
    {
        if (record.pendingSent > 0)
        {
            record.pending.erase(record.pending.begin(),
                                 record.pending.begin() + static_cast<std::ptrdiff_t>(record.pendingSent));
            record.pendingSent = 0;
        }
        record.pending.insert(record.pending.end(), bytes, bytes + length);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    record.hasPending.store(true, std::memory_order_release);
    return true;
}

} // namespace

bool FlushPending(SocketRecord& record)
{
    if (record.pendingSent >= record.pending.size())
    {
        return true;
    }
    const long sent = SendSome(record.handle, record.pending.data() + record.pendingSent,
                               record.pending.size() - record.pendingSent);
    if (sent < 0)
    {
        return false;
    }
    record.pendingSent += static_cast<std::size_t>(sent);
    if (record.pendingSent == record.pending.size())
    {
        record.pending.clear();
        record.pendingSent = 0;
        record.hasPending.store(false, std::memory_order_release);
    }
    return true;
}

bool SendWhole(SocketRecord& record, const std::uint8_t* message, std::size_t length)
{
    if (!record.IsNonBlocking())
    {
        std::size_t sent = 0;
        while (sent < length)
        {
            const ssize_t result = send(record.handle, message + sent, length - sent, MSG_NOSIGNAL);
            if (result < 0 && errno == EINTR)
            {
                continue;
            }
            if (result <= 0)
            {
                return false;
            }
            sent += static_cast<std::size_t>(result);
        }
        return true;
    }
    if (record.hasPending.load(std::memory_order_acquire))
    {
        // Try to make room first, then keep the message behind what waits.
        if (!FlushPending(record))
        {
            return false;
        }
        if (record.hasPending.load(std::memory_order_acquire))
        {
            return Keep(record, message, length);
        }
    }
    const long sent = SendSome(record.handle, message, length);
    if (sent < 0)
    {
        return false;
    }
    const auto done = static_cast<std::size_t>(sent);
    return done == length || Keep(record, message + done, length - done);
}

} // namespace Network
