#include "net/Network_Engine.h"

#include "core/Core_Stopwatch.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <utility>

namespace Network
{

namespace
{

std::atomic<std::uint32_t> g_sessionCounter{0};

// A wait between looks at something another thread will change.
void Yield()
{
    PAL::Thread::Sleep(1);
}

// The address "any" of a bind, pinned to the loopback override when one is
// set so that a test host never binds beyond it.
NetAddress AnyAddress(std::int32_t port)
{
    const std::string pinned = GetLocalAddressOverride();
    return NetAddress(pinned.empty() ? nullptr : pinned.c_str(), port);
}

// `address` with its last `bytes` host bytes set to 255; every byte for
// any other count.
std::uint32_t BroadcastAddressOf(std::uint32_t address, std::uint32_t addressClass)
{
    std::uint32_t host = ntohl(address);
    switch (addressClass)
    {
    case 1:
        host |= 0x000000FFu;
        break;
    case 2:
        host |= 0x0000FFFFu;
        break;
    case 3:
        host |= 0x00FFFFFFu;
        break;
    default:
        host = 0xFFFFFFFFu;
        break;
    }
    return htonl(host);
}

// A blocking socket's connect that gives up after `deadlineMs`: the socket
// is made non-blocking for the attempt and restored afterwards, so a host
// that never answers cannot hold the caller. 0 when connected.
int ConnectWithin(int handle, const NetAddress& address, std::uint32_t deadlineMs)
{
    const int flags = fcntl(handle, F_GETFL, 0);
    if (flags < 0 || fcntl(handle, F_SETFL, flags | O_NONBLOCK) != 0)
    {
        return -1;
    }
    int result =
        connect(handle, reinterpret_cast<const sockaddr*>(&address.GetSockAddr()), sizeof(sockaddr_in));
    if (result != 0 && (errno == EINPROGRESS || errno == EINTR))
    {
        Core::Stopwatch waited;
        waited.Start();
        result = -1;
        for (;;)
        {
            const double left = static_cast<double>(deadlineMs) - waited.GetElapsed();
            if (left <= 0.0)
            {
                break;
            }
            pollfd watch{handle, POLLOUT, 0};
            const int ready = poll(&watch, 1, static_cast<int>(left) + 1);
            if (ready < 0 && errno == EINTR)
            {
                continue;
            }
            if (ready > 0)
            {
                int error = 0;
                socklen_t length = sizeof error;
                if (getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
                {
                    result = 0;
                }
            }
            break;
        }
    }
    fcntl(handle, F_SETFL, flags);
    return result;
}

} // namespace

// ---------------------------------------------------------------------------
// Initialisation and shutdown

Zib_Session::Zib_Session() : sessionNumber_(g_sessionCounter.fetch_add(1)) {}

Zib_Session::~Zib_Session()
{
    Shutdown();
    ReleaseLocks();
}

bool Zib_Session::ReadLocalAddress()
{
    const std::string pinned = GetLocalAddressOverride();
    if (!pinned.empty())
    {
        // Nothing is looked up: the host takes the given address as it is.
        hostName_ = pinned;
        local_.Set(pinned.c_str(), 0);
        localText_ = pinned;
        return local_.GetAddress() != INADDR_ANY;
    }
    char name[256] = {};
    if (gethostname(name, sizeof(name) - 1) != 0)
    {
        return false;
    }
    hostName_ = name;
    const std::uint32_t address = ResolveHost(name);
    if (address == INADDR_NONE)
    {
        return false;
    }
    local_.Set(nullptr, 0);
    local_.SetAddress(address);
    local_.RefreshText();
    localText_ = local_.GetText();
    return true;
}

void Zib_Session::ReleaseLocks()
{
    threads_.DestroyCondition(endCondition_);
    threads_.DestroyMutex(endMutex_);
    threads_.DestroyRWLock(lock_);
    endCondition_ = nullptr;
    endMutex_ = nullptr;
    lock_ = nullptr;
}

bool Zib_Session::Initialise(const std::string& name, const std::string& password, std::uint8_t passwordFlag,
                             EventHandler handler, std::uint32_t priority, bool threaded,
                             std::uint32_t maxThreads, std::uint32_t waitMs, std::uint32_t selectTimeoutMs)
{
    if (open_ != 0 || !ReadLocalAddress())
    {
        return false;
    }
    if (!queue_.Start(threads_, handler, threaded, maxThreads, static_cast<std::int32_t>(priority), waitMs))
    {
        return false;
    }
    lock_ = threads_.CreateRWLock();
    endMutex_ = threads_.CreateMutex(PAL::ThreadManager::NormalMutex);
    endCondition_ = threads_.CreateCondition();
    selectTimeoutMs_ = selectTimeoutMs;
    if (lock_ != nullptr && endMutex_ != nullptr && endCondition_ != nullptr)
    {
        networkEnded_ = false;
        // Priority codes are not mapped to scheduler priorities: the thread
        // inherits the creator's scheduling, which needs no privileges.
        networkThread_ = threads_.CreateThread(nullptr, &ThreadMain, this, 0, true);
    }
    if (networkThread_ == nullptr)
    {
        networkEnded_ = true;
        queue_.Stop();
        ReleaseLocks();
        return false;
    }
    handler_ = std::move(handler);
    priority_ = priority;
    name_ = name;
    password_ = password;
    passwordFlag_ = passwordFlag;
    open_ = 1;
    SocketEvent started = MakeEvent(SessionStarted, nullptr);
    EventQueue::Dispatch(handler_, started);
    return true;
}

void Zib_Session::Shutdown()
{
    if (open_ == 0)
    {
        return;
    }
    threads_.LockMutex(endMutex_);
    if (broadcastThread_ != nullptr)
    {
        threads_.StopThread(broadcastThread_, false);
        while (!broadcastEnded_)
        {
            threads_.WaitCondition(endCondition_, endMutex_);
        }
        broadcastThread_ = nullptr;
    }
    threads_.StopThread(networkThread_, false);
    while (!networkEnded_)
    {
        threads_.WaitCondition(endCondition_, endMutex_);
    }
    networkThread_ = nullptr;
    threads_.UnlockMutex(endMutex_);
    PAL::Thread::Sleep(0);

    threads_.WriteLock(lock_);
    for (SocketEvent& request : closeRequests_)
    {
        if (request.done != nullptr)
        {
            request.done->store(1);
        }
    }
    closeRequests_.clear();
    connectRequests_.clear();
    for (SocketEvent& request : sendRequests_)
    {
        request.FreeMessage();
    }
    sendRequests_.clear();
    const std::pair<std::vector<SocketRecord*>*, std::uint32_t> lists[] = {{&channels_, ChannelClosed},
                                                                           {&accepted_, ConnectionClosed}};
    for (const auto& [list, kind] : lists)
    {
        for (SocketRecord* record : *list)
        {
            SocketEvent closed = MakeEvent(kind, nullptr);
            closed.channel = record->channel;
            closed.peer = record->peer;
            DestroyRecord(record);
            Queue(closed);
        }
    }
    channels_.clear();
    accepted_.clear();
    listening_ = 0;
    threads_.UnlockRWLock(lock_);

    queue_.Stop();
    queue_.DispatchRemaining();
    open_ = 0;
    SocketEvent ended = MakeEvent(SessionEnded, nullptr);
    EventQueue::Dispatch(handler_, ended);
}

// ---------------------------------------------------------------------------
// Records and the lists

SocketEvent Zib_Session::MakeEvent(std::uint32_t kind, SocketRecord* record) const
{
    SocketEvent event;
    event.kind = kind;
    event.session = const_cast<Zib_Session*>(this);
    event.record = record;
    if (record != nullptr)
    {
        event.channel = record->channel;
    }
    return event;
}

void Zib_Session::Queue(SocketEvent& event)
{
    if (!queue_.Push(event))
    {
        event.FreeMessage();
    }
}

SocketRecord* Zib_Session::FindChannel(std::uint32_t channel) const
{
    for (SocketRecord* record : channels_)
    {
        if (record->channel == channel && record->closing == 0)
        {
            return record;
        }
    }
    return nullptr;
}

SocketRecord* Zib_Session::FindAccepted(std::uint32_t channel, const NetAddress& peer) const
{
    for (SocketRecord* record : accepted_)
    {
        if (record->channel == channel && record->closing == 0 && record->peer == peer)
        {
            return record;
        }
    }
    return nullptr;
}

void Zib_Session::Acquire(SocketRecord* record)
{
    threads_.LockMutex(record->useMutex);
    ++record->useCount;
    threads_.UnlockMutex(record->useMutex);
}

void Zib_Session::ReleaseUse(SocketRecord* record)
{
    threads_.LockMutex(record->useMutex);
    --record->useCount;
    threads_.UnlockMutex(record->useMutex);
}

std::int32_t Zib_Session::GetUseCount(SocketRecord* record)
{
    threads_.LockMutex(record->useMutex);
    const std::int32_t count = record->useCount;
    threads_.UnlockMutex(record->useMutex);
    return count;
}

bool Zib_Session::MakeMutexes(SocketRecord* record)
{
    record->receiveMutex = threads_.CreateMutex(PAL::ThreadManager::NormalMutex);
    record->sendMutex = threads_.CreateMutex(PAL::ThreadManager::NormalMutex);
    record->useMutex = threads_.CreateMutex(PAL::ThreadManager::NormalMutex);
    return record->receiveMutex != nullptr && record->sendMutex != nullptr && record->useMutex != nullptr;
}

void Zib_Session::DestroyRecord(SocketRecord* record)
{
    threads_.DestroyMutex(record->receiveMutex);
    threads_.DestroyMutex(record->sendMutex);
    threads_.DestroyMutex(record->useMutex);
    delete record;
}

bool Zib_Session::RequestCloseLocked(SocketRecord* record, std::atomic<std::uint8_t>* done)
{
    if (record->closing != 0)
    {
        return false;
    }
    record->closing = 1;
    SocketEvent request = MakeEvent(CloseRequest, record);
    request.peer = record->peer;
    request.done = done;
    closeRequests_.push_back(request);
    return true;
}

bool Zib_Session::RequestClose(SocketRecord* record, std::atomic<std::uint8_t>* done)
{
    if (!threads_.WriteLock(lock_))
    {
        return false;
    }
    const bool requested = RequestCloseLocked(record, done);
    threads_.UnlockRWLock(lock_);
    return requested;
}

bool Zib_Session::WaitClosed(std::atomic<std::uint8_t>& done)
{
    // The network thread serves the request once no operation holds the
    // record; without that thread nothing would ever set the byte.
    while (done.load() == 0)
    {
        if (networkThread_ == nullptr || !PAL::Thread::IsRunning(networkThread_))
        {
            return false;
        }
        Yield();
    }
    return true;
}

// ---------------------------------------------------------------------------
// Channels

SocketRecord* Zib_Session::CreateChannel(std::uint32_t channel, std::int32_t type, const NetAddress& address,
                                         std::uint32_t flags, std::uint32_t optionMask)
{
    if (open_ == 0 || (type != StreamSocket && type != DatagramSocket) || !threads_.WriteLock(lock_))
    {
        return nullptr;
    }
    if (FindChannel(channel) != nullptr)
    {
        threads_.UnlockRWLock(lock_);
        return nullptr;
    }
    auto* record = new (std::nothrow) SocketRecord();
    bool made = record != nullptr;
    if (made)
    {
        record->channel = channel;
        record->type = type;
        record->flags = flags;
        record->optionMask = optionMask;
        record->handle = OpenSocket(type);
        socklen_t length = sizeof(sockaddr_in);
        // Options go on before the bind so that address reuse applies to it.
        made = record->handle >= 0 && ApplyOptions(record->handle, type, optionMask) &&
               bind(record->handle, reinterpret_cast<const sockaddr*>(&address.GetSockAddr()),
                    sizeof(sockaddr_in)) == 0 &&
               getsockname(record->handle, reinterpret_cast<sockaddr*>(&record->local.GetSockAddr()),
                           &length) == 0 &&
               MakeMutexes(record);
    }
    if (!made)
    {
        if (record != nullptr)
        {
            DestroyRecord(record);
        }
        threads_.UnlockRWLock(lock_);
        return nullptr;
    }
    record->local.RefreshText();
    channels_.push_back(record);
    threads_.UnlockRWLock(lock_);

    SocketEvent created = MakeEvent(ChannelCreated, record);
    EventQueue::Dispatch(handler_, created);
    return record;
}

bool Zib_Session::CloseRecord(std::uint32_t channel, const NetAddress* connection, bool wait)
{
    if (open_ == 0 || !threads_.WriteLock(lock_))
    {
        return false;
    }
    std::atomic<std::uint8_t> done{0};
    SocketRecord* record = connection != nullptr ? FindAccepted(channel, *connection) : FindChannel(channel);
    const bool requested = record != nullptr && RequestCloseLocked(record, wait ? &done : nullptr);
    threads_.UnlockRWLock(lock_);
    return requested && (!wait || WaitClosed(done));
}

bool Zib_Session::CloseChannel(std::uint32_t channel, bool wait)
{
    return CloseRecord(channel, nullptr, wait);
}

bool Zib_Session::CloseConnection(std::uint32_t channel, const NetAddress& address, bool wait)
{
    return CloseRecord(channel, &address, wait);
}

bool Zib_Session::OpenHost(const NetAddress& address, std::uint32_t backlog)
{
    if (listening_ != 0)
    {
        return false;
    }
    SocketRecord* record = CreateChannel(2, StreamSocket, address, WatchedFlag, NonBlockingOption);
    if (record == nullptr)
    {
        return false;
    }
    backlog_ = backlog;
    if (listen(record->handle, static_cast<int>(std::min<std::uint32_t>(backlog, INT_MAX))) != 0)
    {
        CloseChannel(2, true);
        return false;
    }
    threads_.WriteLock(lock_);
    record->listening = 1;
    threads_.UnlockRWLock(lock_);
    listening_ = 1;
    return true;
}

bool Zib_Session::StopHosting(bool wait)
{
    const bool closed = CloseChannel(2, wait);
    listening_ = 0;
    return closed;
}

bool Zib_Session::ListenForBroadcasts(std::int32_t port)
{
    NetAddress address = AnyAddress(port);
    if (address.GetAddress() != INADDR_ANY)
    {
        // Pinned to loopback: listen on the pinned network's broadcast
        // address, which hears broadcasts and nothing from other hosts.
        address.SetAddress(BroadcastAddressOf(address.GetAddress(), 1));
    }
    return CreateChannel(1, DatagramSocket, address, WatchedFlag,
                         BroadcastOption | ReuseAddressOption | NonBlockingOption) != nullptr;
}

bool Zib_Session::StopListening(bool wait)
{
    return CloseChannel(1, wait);
}

bool Zib_Session::Connect(std::uint32_t channel, const NetAddress& address)
{
    if (open_ == 0 || !threads_.WriteLock(lock_))
    {
        return false;
    }
    SocketRecord* record = FindChannel(channel);
    if (record == nullptr || record->connected != 0)
    {
        threads_.UnlockRWLock(lock_);
        return false;
    }
    if (record->IsNonBlocking())
    {
        const bool queued =
            std::none_of(connectRequests_.begin(), connectRequests_.end(),
                         [&](const SocketEvent& request) { return request.channel == channel; });
        if (queued)
        {
            SocketEvent request = MakeEvent(ConnectRequest, nullptr);
            request.channel = channel;
            request.peer = address;
            connectRequests_.push_back(request);
        }
        threads_.UnlockRWLock(lock_);
        return queued;
    }
    Acquire(record);
    threads_.UnlockRWLock(lock_);
    const int result = ConnectWithin(record->handle, address, connectDeadlineMs_);
    if (result == 0)
    {
        threads_.WriteLock(lock_);
        record->connected = 1;
        record->peer = address;
        threads_.UnlockRWLock(lock_);
    }
    ReleaseUse(record);
    return result == 0;
}

bool Zib_Session::GetChannelAddress(std::uint32_t channel, NetAddress& outAddress)
{
    if (open_ == 0 || !threads_.ReadLock(lock_))
    {
        return false;
    }
    SocketRecord* record = FindChannel(channel);
    NetAddress address;
    socklen_t length = sizeof(sockaddr_in);
    const bool found =
        record != nullptr &&
        getsockname(record->handle, reinterpret_cast<sockaddr*>(&address.GetSockAddr()), &length) == 0;
    threads_.UnlockRWLock(lock_);
    if (found)
    {
        address.RefreshText();
        outAddress = address;
    }
    return found;
}

bool Zib_Session::GetPeerAddress(std::uint32_t channel, NetAddress& outAddress)
{
    if (open_ == 0 || !threads_.ReadLock(lock_))
    {
        return false;
    }
    SocketRecord* record = FindChannel(channel);
    if (record != nullptr)
    {
        outAddress = record->peer;
    }
    threads_.UnlockRWLock(lock_);
    return record != nullptr;
}

bool Zib_Session::SetChannelFlags(std::uint32_t channel, std::uint32_t flags)
{
    if (open_ == 0 || !threads_.WriteLock(lock_))
    {
        return false;
    }
    SocketRecord* record = FindChannel(channel);
    if (record != nullptr)
    {
        record->flags = flags;
    }
    threads_.UnlockRWLock(lock_);
    return record != nullptr;
}

// ---------------------------------------------------------------------------
// Broadcasts

bool Zib_Session::StartBroadcast(std::int32_t port, std::uint32_t addressClass, std::uint32_t intervalMs,
                                 std::uint32_t messageId, const void* data, std::uint32_t size,
                                 std::uint32_t priority)
{
    (void)priority; // threads inherit the creator's scheduling
    if (open_ == 0 || broadcastThread_ != nullptr || size > MaxDatagramLength - HeaderSize ||
        (size > 0 && data == nullptr))
    {
        return false;
    }
    SocketRecord* record = CreateChannel(0, DatagramSocket, AnyAddress(0), 0,
                                         BroadcastOption | ReuseAddressOption | NonBlockingOption);
    if (record == nullptr)
    {
        return false;
    }
    auto* broadcast = new ("Network_Engine", __LINE__) Zib_Broadcast_Data();
    std::uint8_t* message = AllocateMessage(size + HeaderSize);
    pthread_mutex_t* mutex = threads_.CreateMutex(PAL::ThreadManager::NormalMutex);
    if (broadcast == nullptr || message == nullptr || mutex == nullptr)
    {
        delete broadcast;
        FreeMessage(message);
        threads_.DestroyMutex(mutex);
        CloseChannel(0, false);
        return false;
    }
    WriteHeader(message, messageId, size + HeaderSize);
    if (size > 0)
    {
        std::memcpy(message + HeaderSize, data, size);
    }
    threads_.WriteLock(lock_);
    NetAddress destination = local_;
    destination.GetSockAddr().sin_port = htons(static_cast<std::uint16_t>(port));
    destination.SetAddress(BroadcastAddressOf(local_.GetAddress(), addressClass));
    destination.RefreshText();
    record->peer = destination;
    Acquire(record);
    threads_.UnlockRWLock(lock_);

    broadcast->session = this;
    broadcast->record = record;
    broadcast->mutex = mutex;
    broadcast->message = message;
    broadcast->capacity = size + HeaderSize;
    broadcast->intervalMs = intervalMs;
    broadcastEnded_ = false;
    broadcast_ = broadcast;
    broadcastThread_ = threads_.CreateThread(nullptr, &Zib_Broadcast_Data::ThreadMain, broadcast, 0, true);
    if (broadcastThread_ == nullptr)
    {
        broadcastEnded_ = true;
        broadcast_ = nullptr;
        ReleaseUse(record);
        delete broadcast;
        CloseChannel(0, false);
        return false;
    }
    return true;
}

bool Zib_Session::UpdateBroadcast(const void* data, std::uint32_t size)
{
    if (broadcastThread_ == nullptr || broadcast_ == nullptr || size > MaxDatagramLength - HeaderSize ||
        (size > 0 && data == nullptr))
    {
        return false;
    }
    Zib_Broadcast_Data& broadcast = *broadcast_;
    threads_.LockMutex(broadcast.mutex);
    const std::uint32_t total = size + HeaderSize;
    bool updated = true;
    if (total > broadcast.capacity)
    {
        std::uint8_t* grown = AllocateMessage(total);
        if (grown == nullptr)
        {
            updated = false;
        }
        else
        {
            std::memcpy(grown, broadcast.message, HeaderSize);
            FreeMessage(broadcast.message);
            broadcast.message = grown;
            broadcast.capacity = total;
        }
    }
    if (updated)
    {
        WriteHeader(broadcast.message, ReadHeader(broadcast.message).id, total);
        if (size > 0)
        {
            std::memcpy(broadcast.message + HeaderSize, data, size);
        }
    }
    threads_.UnlockMutex(broadcast.mutex);
    return updated;
}

// ---------------------------------------------------------------------------
// The manager

Zib_Network_Manager::~Zib_Network_Manager()
{
    DestroyAll();
    // The POSIX socket layer needs no start or clean-up.
    started_ = 0;
}

bool Zib_Network_Manager::Start()
{
    if (started_ != 0)
    {
        return false;
    }
    started_ = 1;
    return true;
}

Zib_Session* Zib_Network_Manager::CreateSession(const std::string& name, const std::string& password,
                                                std::uint8_t passwordFlag, EventHandler handler,
                                                std::uint32_t priority, bool threaded,
                                                std::uint32_t maxThreads, std::uint32_t waitMs,
                                                std::uint32_t selectTimeoutMs)
{
    auto* session = new ("Network_Engine", __LINE__) Zib_Session();
    if (!session->Initialise(name, password, passwordFlag, std::move(handler), priority, threaded, maxThreads,
                             waitMs, selectTimeoutMs))
    {
        delete session;
        return nullptr;
    }
    sessions_.push_back(session);
    return session;
}

bool Zib_Network_Manager::DestroySession(Zib_Session* session)
{
    const auto found = std::find(sessions_.begin(), sessions_.end(), session);
    if (session == nullptr || found == sessions_.end())
    {
        return false;
    }
    sessions_.erase(found);
    session->Shutdown();
    delete session;
    return true;
}

void Zib_Network_Manager::DestroyAll()
{
    std::vector<Zib_Session*> sessions;
    sessions.swap(sessions_);
    for (Zib_Session* session : sessions)
    {
        session->Shutdown();
        delete session;
    }
}

} // namespace Network
