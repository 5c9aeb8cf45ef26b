// The session's sending paths and its synchronous receive.

#include "net/Network_Engine.h"

#include "core/Core_Stopwatch.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace Network
{

bool Zib_Session::BuildInSendBuffer(SocketRecord* record, std::uint32_t messageId, const void* data,
                                    std::uint32_t size)
{
    const std::uint32_t total = size + HeaderSize;
    if (!GrowBuffer(record->sendBuffer, record->sendCapacity, total))
    {
        return false;
    }
    WriteHeader(record->sendBuffer, messageId, total);
    if (size > 0)
    {
        std::memcpy(record->sendBuffer + HeaderSize, data, size);
    }
    return true;
}

bool Zib_Session::SendStream(SocketRecord* record, std::uint32_t messageId, const void* data,
                             std::uint32_t size, std::uint32_t* outSent)
{
    threads_.LockMutex(record->sendMutex);
    const bool built = BuildInSendBuffer(record, messageId, data, size);
    const bool sent = built && SendWhole(*record, record->sendBuffer, size + HeaderSize);
    threads_.UnlockMutex(record->sendMutex);
    if (built && !sent)
    {
        // Part of a message may be on the wire: the stream is out of frame
        // for good, so the connection goes.
        RequestClose(record, nullptr);
    }
    ReleaseUse(record);
    if (sent && outSent != nullptr)
    {
        *outSent = size + HeaderSize;
    }
    return sent;
}

bool Zib_Session::Send(std::uint32_t channel, std::uint32_t messageId, const void* data, std::uint32_t size,
                       const NetAddress& address, std::uint32_t* outSent)
{
    if (open_ == 0 || size > MaxMessageLength - HeaderSize || (size > 0 && data == nullptr) ||
        !threads_.ReadLock(lock_))
    {
        return false;
    }
    SocketRecord* record = FindChannel(channel);
    if (record == nullptr)
    {
        threads_.UnlockRWLock(lock_);
        return false;
    }
    if ((record->flags & QueuedFlag) != 0)
    {
        threads_.UnlockRWLock(lock_);
        const std::uint32_t total = size + HeaderSize;
        std::uint8_t* message = AllocateMessage(total);
        if (message == nullptr)
        {
            return false;
        }
        WriteHeader(message, messageId, total);
        if (size > 0)
        {
            std::memcpy(message + HeaderSize, data, size);
        }
        SocketEvent request = MakeEvent(SendRequest, nullptr);
        request.channel = channel;
        request.peer = address;
        request.AttachMessage(message, total);
        threads_.WriteLock(lock_);
        const bool live = FindChannel(channel) != nullptr;
        if (live)
        {
            sendRequests_.push_back(request);
        }
        threads_.UnlockRWLock(lock_);
        if (!live)
        {
            request.FreeMessage();
            return false;
        }
        if (outSent != nullptr)
        {
            *outSent = total;
        }
        return true;
    }
    if (record->type == DatagramSocket)
    {
        if (size > MaxDatagramLength - HeaderSize)
        {
            threads_.UnlockRWLock(lock_);
            return false;
        }
        Acquire(record);
        threads_.UnlockRWLock(lock_);
        threads_.LockMutex(record->sendMutex);
        ssize_t result = -1;
        if (BuildInSendBuffer(record, messageId, data, size))
        {
            result = sendto(record->handle, record->sendBuffer, size + HeaderSize, MSG_NOSIGNAL,
                            reinterpret_cast<const sockaddr*>(&address.GetSockAddr()), sizeof(sockaddr_in));
        }
        threads_.UnlockMutex(record->sendMutex);
        ReleaseUse(record);
        if (result < 0)
        {
            return false;
        }
        if (outSent != nullptr)
        {
            *outSent = static_cast<std::uint32_t>(result);
        }
        return true;
    }
    SocketRecord* target = nullptr;
    if (record->connected != 0)
    {
        target = record->peer == address ? record : nullptr;
    }
    else if (record->listening != 0)
    {
        target = FindAccepted(channel, address);
    }
    if (target == nullptr)
    {
        threads_.UnlockRWLock(lock_);
        return false;
    }
    Acquire(target);
    threads_.UnlockRWLock(lock_);
    return SendStream(target, messageId, data, size, outSent);
}

bool Zib_Session::Receive(std::uint32_t channel, std::vector<SocketEvent>& outEvents)
{
    if (open_ == 0 || !threads_.ReadLock(lock_))
    {
        return false;
    }
    SocketRecord* record = FindChannel(channel);
    const bool usable = record != nullptr && !record->IsNonBlocking() && record->type == StreamSocket;
    NetAddress peer;
    if (usable)
    {
        Acquire(record);
        peer = record->peer;
    }
    threads_.UnlockRWLock(lock_);
    if (!usable)
    {
        return false;
    }

    std::vector<OwnedMessage> messages;
    bool received = false;
    threads_.LockMutex(record->receiveMutex);
    SocketSource source(record->handle);
    Core::Stopwatch waited;
    waited.Start();
    for (;;)
    {
        // Whole messages and nothing half-read: done. Otherwise wait for
        // more bytes until the deadline.
        if (!messages.empty() && record->reader.GetPending() == 0)
        {
            received = true;
            break;
        }
        const double left = static_cast<double>(receiveDeadlineMs_) - waited.GetElapsed();
        if (left <= 0.0)
        {
            // Whole messages so far go out; a cut-off one stays in the
            // reader for the next call.
            received = !messages.empty();
            break;
        }
        pollfd watch{record->handle, POLLIN, 0};
        const int ready = poll(&watch, 1, static_cast<int>(left) + 1);
        if (ready < 0 && errno != EINTR)
        {
            break;
        }
        if (ready > 0 && record->reader.Read(source, messages) == StreamReader::Result::Closed)
        {
            break;
        }
    }
    threads_.UnlockMutex(record->receiveMutex);
    // The event is made while the use is held: once released, a close
    // waiting for it may free the record.
    const SocketEvent made = MakeEvent(MessageReceived, record);
    ReleaseUse(record);
    if (!received)
    {
        FreeMessages(messages);
        return false;
    }
    for (const OwnedMessage& message : messages)
    {
        SocketEvent event = made;
        event.peer = peer;
        event.AttachMessage(message.data, message.length);
        outEvents.push_back(event);
    }
    return true;
}

} // namespace Network
