// The session's network thread, which does every asynchronous socket
// operation, and the broadcast thread.

#include "net/Network_Engine.h"

#include "core/Core_Stopwatch.h"

#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

namespace Network
{

// ---------------------------------------------------------------------------
// One pass, under the write lock: requests, then the poll set

void Zib_Session::AddWatch(SocketRecord* record, bool read, bool write)
{
    for (std::size_t i = 0; i < watches_.size(); ++i)
    {
        if (watches_[i].record == record)
        {
            watches_[i].read = watches_[i].read || read;
            watches_[i].write = watches_[i].write || write;
            pollSet_[i].events =
                static_cast<short>((watches_[i].read ? POLLIN : 0) | (watches_[i].write ? POLLOUT : 0));
            return;
        }
    }
    watches_.push_back(Watch{record, read, write});
    pollSet_.push_back(
        pollfd{record->handle, static_cast<short>((read ? POLLIN : 0) | (write ? POLLOUT : 0)), 0});
}

void Zib_Session::ServeCloseRequests()
{
    for (std::size_t i = 0; i < closeRequests_.size();)
    {
        SocketEvent& request = closeRequests_[i];
        SocketRecord* record = request.record;
        std::vector<SocketRecord*>& list = record->accepted != 0 ? accepted_ : channels_;
        const auto found = std::find(list.begin(), list.end(), record);
        if (found != list.end())
        {
            // The socket closes only with the record: a sender still using
            // it must never see its descriptor number handed to a new socket.
            if (GetUseCount(record) >= 1)
            {
                ++i;
                continue;
            }
            list.erase(found);
            SocketEvent closed = MakeEvent(record->accepted != 0 ? ConnectionClosed : ChannelClosed, nullptr);
            closed.channel = record->channel;
            closed.peer = record->peer;
            DestroyRecord(record);
            Queue(closed);
        }
        if (request.done != nullptr)
        {
            request.done->store(1);
        }
        closeRequests_.erase(closeRequests_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void Zib_Session::ServeConnectRequests()
{
    for (std::size_t i = 0; i < connectRequests_.size();)
    {
        SocketEvent& request = connectRequests_[i];
        SocketRecord* record = FindChannel(request.channel);
        bool failed = record == nullptr;
        if (record != nullptr && record->connecting == 0)
        {
            record->connecting = 1;
            int result = 0;
            do
            {
                result =
                    connect(record->handle, reinterpret_cast<const sockaddr*>(&request.peer.GetSockAddr()),
                            sizeof(sockaddr_in));
            } while (result != 0 && errno == EINTR);
            // Success at once is reported like a completion: the socket is
            // writable on this pass.
            failed = result != 0 && errno != EINPROGRESS;
            if (failed)
            {
                record->connecting = 0;
            }
        }
        if (failed)
        {
            SocketEvent finished = MakeEvent(ConnectFinished, record);
            finished.channel = request.channel;
            finished.peer = request.peer;
            finished.failed = 1;
            Queue(finished);
            connectRequests_.erase(connectRequests_.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        AddWatch(record, false, true);
        ++i;
    }
}

void Zib_Session::ServeSendRequests()
{
    for (std::size_t i = 0; i < sendRequests_.size();)
    {
        SocketEvent& request = sendRequests_[i];
        SocketRecord* record = FindChannel(request.channel);
        SocketRecord* target = nullptr;
        bool waits = false;
        if (record != nullptr)
        {
            if (record->type == DatagramSocket)
            {
                target = record;
            }
            else if (record->connected != 0)
            {
                target = record->peer == request.peer ? record : nullptr;
            }
            else if (record->connecting != 0)
            {
                waits = true;
            }
            else if (record->listening != 0)
            {
                target = FindAccepted(request.channel, request.peer);
            }
        }
        if (target != nullptr)
        {
            AddWatch(target, false, true);
        }
        if (target != nullptr || waits)
        {
            ++i;
            continue;
        }
        if (record != nullptr)
        {
            SocketEvent performed = MakeEvent(SendPerformed, record);
            performed.peer = request.peer;
            performed.failed = 1;
            Queue(performed);
        }
        request.FreeMessage();
        sendRequests_.erase(sendRequests_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void Zib_Session::WatchSockets()
{
    for (std::vector<SocketRecord*>* list : {&channels_, &accepted_})
    {
        for (SocketRecord* record : *list)
        {
            // A stream socket without a peer has nothing to read yet; poll
            // would report it hung up.
            const bool readable =
                record->type == DatagramSocket || record->connected != 0 || record->listening != 0;
            const bool read = (record->flags & WatchedFlag) != 0 && record->closing == 0 && readable;
            const bool write = record->hasPending.load(std::memory_order_acquire) && record->closing == 0;
            if (read || write)
            {
                AddWatch(record, read, write);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// After poll, without the session lock; records live to the end of the pass

void Zib_Session::Accept(SocketRecord* listener)
{
    NetAddress client;
    socklen_t length = sizeof(sockaddr_in);
    const int handle =
        accept4(listener->handle, reinterpret_cast<sockaddr*>(&client.GetSockAddr()), &length, SOCK_CLOEXEC);
    if (handle < 0)
    {
        return;
    }
    auto* record = new (std::nothrow) SocketRecord();
    if (record == nullptr || !MakeMutexes(record) ||
        !ApplyOptions(handle, listener->type, listener->optionMask))
    {
        int closing = handle;
        CloseSocket(closing);
        if (record != nullptr)
        {
            DestroyRecord(record);
        }
        SocketEvent accepted = MakeEvent(ConnectionAccepted, nullptr);
        accepted.channel = listener->channel;
        accepted.failed = 1;
        Queue(accepted);
        return;
    }
    record->handle = handle;
    record->type = listener->type;
    record->channel = listener->channel;
    record->optionMask = listener->optionMask;
    record->local = listener->local;
    record->accepted = 1;
    record->connected = 1;
    client.RefreshText();
    record->peer = client;
    threads_.WriteLock(lock_);
    // The flags may change under the lock (SetChannelFlags).
    record->flags = listener->flags;
    accepted_.push_back(record);
    threads_.UnlockRWLock(lock_);
    SocketEvent accepted = MakeEvent(ConnectionAccepted, record);
    accepted.peer = client;
    Queue(accepted);
}

void Zib_Session::ReadDatagram(SocketRecord* record)
{
    int waiting = 0;
    if (ioctl(record->handle, FIONREAD, &waiting) != 0 || waiting <= 0)
    {
        waiting = 1;
    }
    // One byte more than the datagram: a datagram larger than announced
    // shows as a size that differs from its header and is dropped.
    const std::size_t room = std::min<std::size_t>(static_cast<std::size_t>(waiting), MaxDatagramLength) + 1;
    threads_.LockMutex(record->receiveMutex);
    NetAddress sender;
    ssize_t received = -1;
    int error = 0;
    if (GrowBuffer(record->receiveBuffer, record->receiveCapacity, room))
    {
        socklen_t length = sizeof(sockaddr_in);
        received = recvfrom(record->handle, record->receiveBuffer, room, MSG_DONTWAIT,
                            reinterpret_cast<sockaddr*>(&sender.GetSockAddr()), &length);
        error = errno;
    }
    OwnedMessage message;
    if (received > 0)
    {
        message = CopyDatagram(record->receiveBuffer, static_cast<std::size_t>(received));
    }
    threads_.UnlockMutex(record->receiveMutex);
    if (message.data != nullptr)
    {
        sender.RefreshText();
        SocketEvent event = MakeEvent(MessageReceived, record);
        event.peer = sender;
        event.AttachMessage(message.data, message.length);
        Queue(event);
        return;
    }
    // An empty or malformed datagram is dropped like any other bad one; a
    // reset reported on a channel other than the host's closes it.
    if (received < 0 && error == ECONNRESET && record->channel != 4)
    {
        RequestClose(record, nullptr);
    }
}

void Zib_Session::ReadStream(SocketRecord* record)
{
    std::vector<OwnedMessage> messages;
    threads_.LockMutex(record->receiveMutex);
    SocketSource source(record->handle);
    const StreamReader::Result result = record->reader.Read(source, messages);
    threads_.UnlockMutex(record->receiveMutex);
    for (const OwnedMessage& message : messages)
    {
        SocketEvent event = MakeEvent(MessageReceived, record);
        event.peer = record->peer;
        event.AttachMessage(message.data, message.length);
        Queue(event);
    }
    if (result == StreamReader::Result::Closed)
    {
        RequestClose(record, nullptr);
    }
}

void Zib_Session::HandleReadable(SocketRecord* record)
{
    if (record->listening != 0)
    {
        Accept(record);
    }
    else if (record->type == DatagramSocket)
    {
        ReadDatagram(record);
    }
    else
    {
        ReadStream(record);
    }
}

void Zib_Session::FinishConnect(SocketRecord* record)
{
    // A refused connect makes the socket writable with an error waiting.
    int error = 0;
    socklen_t length = sizeof(error);
    if (getsockopt(record->handle, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
    {
        error = errno;
    }
    threads_.WriteLock(lock_);
    SocketEvent finished = MakeEvent(ConnectFinished, record);
    for (auto request = connectRequests_.begin(); request != connectRequests_.end(); ++request)
    {
        if (request->channel == record->channel)
        {
            finished.peer = request->peer;
            connectRequests_.erase(request);
            break;
        }
    }
    record->connecting = 0;
    if (error == 0)
    {
        record->connected = 1;
        record->peer = finished.peer;
    }
    threads_.UnlockRWLock(lock_);
    finished.failed = error != 0 ? 1 : 0;
    Queue(finished);
}

void Zib_Session::ServeFirstSend(SocketRecord* record)
{
    threads_.WriteLock(lock_);
    SocketEvent request;
    bool found = false;
    for (auto entry = sendRequests_.begin(); entry != sendRequests_.end(); ++entry)
    {
        const bool mine =
            entry->channel == record->channel &&
            (record->accepted == 0 ? FindChannel(entry->channel) == record : entry->peer == record->peer);
        if (mine)
        {
            request = *entry;
            sendRequests_.erase(entry);
            found = true;
            break;
        }
    }
    const bool connected = record->connected != 0;
    const bool toPeer = record->peer == request.peer;
    threads_.UnlockRWLock(lock_);
    if (!found)
    {
        return;
    }
    bool sent = false;
    if (record->type == DatagramSocket)
    {
        sent =
            sendto(record->handle, request.message, request.length, MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(&request.peer.GetSockAddr()), sizeof(sockaddr_in)) >= 0;
    }
    else if (connected && toPeer)
    {
        threads_.LockMutex(record->sendMutex);
        sent = SendWhole(*record, request.message, request.length);
        threads_.UnlockMutex(record->sendMutex);
        if (!sent)
        {
            RequestClose(record, nullptr);
        }
    }
    request.FreeMessage();
    SocketEvent performed = MakeEvent(SendPerformed, record);
    performed.peer = request.peer;
    performed.failed = sent ? 0 : 1;
    Queue(performed);
}

void Zib_Session::HandleWritable(SocketRecord* record)
{
    if (record->connecting != 0)
    {
        FinishConnect(record);
        return;
    }
    if (record->hasPending.load(std::memory_order_acquire))
    {
        threads_.LockMutex(record->sendMutex);
        const bool flushed = FlushPending(*record);
        threads_.UnlockMutex(record->sendMutex);
        if (!flushed)
        {
            RequestClose(record, nullptr);
        }
        return;
    }
    ServeFirstSend(record);
}

// ---------------------------------------------------------------------------
// The loop

void Zib_Session::ThreadMain(PAL::Thread* thread)
{
    auto* session = static_cast<Zib_Session*>(thread->GetArgument());
    PAL::ThreadManager& threads = session->threads_;
    Core::Stopwatch idle;
    double overshoot = 0.0;
    for (;;)
    {
        threads.WriteLock(session->lock_);
        if (!PAL::Thread::IsRunning(thread))
        {
            threads.UnlockRWLock(session->lock_);
            break;
        }
        session->pollSet_.clear();
        session->watches_.clear();
        session->ServeCloseRequests();
        session->ServeConnectRequests();
        session->ServeSendRequests();
        session->WatchSockets();
        threads.UnlockRWLock(session->lock_);

        const std::uint32_t timeout = session->selectTimeoutMs_;
        if (session->pollSet_.empty())
        {
            // Nothing to watch: wait the timeout, minus what the previous
            // wait overshot, so the passes keep their rate on average.
            const double start = overshoot;
            idle.Reset();
            idle.Start();
            if (overshoot > static_cast<double>(timeout))
            {
                PAL::Thread::Sleep(0);
            }
            else
            {
                PAL::Thread::Sleep(timeout - static_cast<std::uint32_t>(overshoot), thread);
            }
            overshoot = std::max(0.0, start + idle.GetElapsed() - static_cast<double>(timeout));
            continue;
        }
        const int ready = poll(session->pollSet_.data(), session->pollSet_.size(), static_cast<int>(timeout));
        if (ready <= 0)
        {
            continue;
        }
        for (std::size_t i = 0; i < session->watches_.size(); ++i)
        {
            const short events = session->pollSet_[i].revents;
            const Watch& watch = session->watches_[i];
            if (watch.read && (events & (POLLIN | POLLERR | POLLHUP)) != 0)
            {
                session->HandleReadable(watch.record);
            }
            if (watch.write && (events & (POLLOUT | POLLERR | POLLHUP)) != 0)
            {
                session->HandleWritable(watch.record);
            }
        }
    }

    threads.LockMutex(session->endMutex_);
    session->networkEnded_ = true;
    threads.SignalCondition(session->endCondition_, true);
    threads.UnlockMutex(session->endMutex_);
}

// ---------------------------------------------------------------------------
// The broadcast thread

Zib_Broadcast_Data::~Zib_Broadcast_Data()
{
    FreeMessage(message);
}

void Zib_Broadcast_Data::ThreadMain(PAL::Thread* thread)
{
    auto* data = static_cast<Zib_Broadcast_Data*>(thread->GetArgument());
    Zib_Session* session = data->session;
    PAL::ThreadManager& threads = session->threads_;
    for (;;)
    {
        threads.LockMutex(data->mutex);
        if (!PAL::Thread::IsRunning(thread))
        {
            threads.UnlockMutex(data->mutex);
            break;
        }
        if (data->record->handle >= 0 && data->message != nullptr)
        {
            sendto(data->record->handle, data->message, ReadHeader(data->message).length, MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(&data->record->peer.GetSockAddr()), sizeof(sockaddr_in));
        }
        threads.UnlockMutex(data->mutex);
        PAL::Thread::Sleep(data->intervalMs, thread);
    }
    session->ReleaseUse(data->record);
    threads.DestroyMutex(data->mutex);
    delete data;

    threads.LockMutex(session->endMutex_);
    session->broadcast_ = nullptr;
    session->broadcastEnded_ = true;
    threads.SignalCondition(session->endCondition_, true);
    threads.UnlockMutex(session->endMutex_);
}

} // namespace Network
