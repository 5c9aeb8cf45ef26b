#pragma once

#include "net/Network_Address.h"
#include "net/Network_EventQueue.h"
#include "net/Network_Socket.h"

#include "core/Core_Object.h"
#include "pal/PAL_ThreadManager.h"

#include <poll.h>
#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace Network
{

class Zib_Session;

// What the broadcast thread sends: channel 0's record (held in use while
// the thread runs), the message under its own mutex, and the interval.
class Zib_Broadcast_Data : public Core::Object
{
public:
    Zib_Broadcast_Data() = default;
    ~Zib_Broadcast_Data() override;

    static void ThreadMain(PAL::Thread* thread);

    Zib_Session* session = nullptr;
    SocketRecord* record = nullptr;
    pthread_mutex_t* mutex = nullptr;
    std::uint8_t* message = nullptr;
    std::uint32_t capacity = 0;
    std::uint32_t intervalMs = 250;
};

// A set of numbered channels, each one socket, plus the connections accepted
// on its listening channel. A network thread does the asynchronous socket
// work and reports through the event queue, which the owner pumps on its own
// thread. Every operation answers false or none on failure and never throws
// (except bad allocation of an event record).
class Zib_Session : public Core::Object
{
public:
    Zib_Session();
    ~Zib_Session() override;
    Zib_Session(const Zib_Session&) = delete;
    Zib_Session& operator=(const Zib_Session&) = delete;

    // Local address, event queue, locks, network thread; then event 0 goes
    // straight to the handler. False (and nothing kept) on any failure.
    bool Initialise(const std::string& name, const std::string& password, std::uint8_t passwordFlag,
                    EventHandler handler, std::uint32_t priority, bool threaded, std::uint32_t maxThreads,
                    std::uint32_t waitMs, std::uint32_t selectTimeoutMs);

    SocketRecord* CreateChannel(std::uint32_t channel, std::int32_t type, const NetAddress& address,
                                std::uint32_t flags, std::uint32_t optionMask);
    bool OpenHost(const NetAddress& address, std::uint32_t backlog);
    bool StopHosting(bool wait);
    bool ListenForBroadcasts(std::int32_t port);
    bool StopListening(bool wait);
    bool StartBroadcast(std::int32_t port, std::uint32_t addressClass, std::uint32_t intervalMs,
                        std::uint32_t messageId, const void* data, std::uint32_t size,
                        std::uint32_t priority);
    bool UpdateBroadcast(const void* data, std::uint32_t size);
    bool Connect(std::uint32_t channel, const NetAddress& address);
    bool Send(std::uint32_t channel, std::uint32_t messageId, const void* data, std::uint32_t size,
              const NetAddress& address, std::uint32_t* outSent = nullptr);
    // Blocking read of whole messages on a blocking channel, for the join
    // handshake: waits at most the receive deadline for bytes, and answers
    // false when the peer closes or an error occurs. The caller owns the
    // events' buffers.
    bool Receive(std::uint32_t channel, std::vector<SocketEvent>& outEvents);
    bool CloseChannel(std::uint32_t channel, bool wait);
    bool CloseConnection(std::uint32_t channel, const NetAddress& address, bool wait);
    bool GetChannelAddress(std::uint32_t channel, NetAddress& outAddress);
    bool GetPeerAddress(std::uint32_t channel, NetAddress& outAddress);
    bool SetChannelFlags(std::uint32_t channel, std::uint32_t flags);
    void Shutdown();

    // Dispatches queued events on the caller's thread (mode 0).
    void Pump(std::uint32_t maxMs, std::uint32_t idleMs, std::uint32_t* outDispatched = nullptr,
              std::uint32_t* outRemaining = nullptr)
    {
        queue_.Pump(maxMs, idleMs, outDispatched, outRemaining);
    }

    const std::string& GetSessionName() const { return name_; }
    const std::string& GetLocalDottedAddress() const { return localText_; }
    const NetAddress& GetLocalAddress() const { return local_; }
    const std::string& GetHostName() const { return hostName_; }
    std::uint8_t GetPasswordFlag() const { return passwordFlag_; }
    const std::string& GetPassword() const { return password_; }
    std::uint32_t GetSessionNumber() const { return sessionNumber_; }
    bool IsOpen() const { return open_ != 0; }
    bool IsListening() const { return listening_ != 0; }
    void SetReceiveDeadline(std::uint32_t milliseconds) { receiveDeadlineMs_ = milliseconds; }
    // Bounds the connect of a blocking channel.
    void SetConnectDeadline(std::uint32_t milliseconds) { connectDeadlineMs_ = milliseconds; }
    EventQueue& GetEventQueue() { return queue_; }

private:
    friend class Zib_Broadcast_Data;
    friend class SessionTestAccess;

    // One socket watched in a pass of the network thread.
    struct Watch
    {
        SocketRecord* record;
        bool read;
        bool write;
    };

    static void ThreadMain(PAL::Thread* thread);
    // Steps 2-6 of a pass, under the write lock.
    void ServeCloseRequests();
    void ServeConnectRequests();
    void ServeSendRequests();
    void WatchSockets();
    void AddWatch(SocketRecord* record, bool read, bool write);
    // After poll, without the session lock.
    void HandleReadable(SocketRecord* record);
    void HandleWritable(SocketRecord* record);
    void Accept(SocketRecord* listener);
    void ReadDatagram(SocketRecord* record);
    void ReadStream(SocketRecord* record);
    void FinishConnect(SocketRecord* record);
    void ServeFirstSend(SocketRecord* record);

    // Under the session lock: live (not closing) records.
    SocketRecord* FindChannel(std::uint32_t channel) const;
    SocketRecord* FindAccepted(std::uint32_t channel, const NetAddress& peer) const;
    // A record's use count, raised before the session lock is let go.
    void Acquire(SocketRecord* record);
    void ReleaseUse(SocketRecord* record);
    std::int32_t GetUseCount(SocketRecord* record);
    // Marks the record closing and queues its close request (takes the write
    // lock). `done` is set once the network thread destroyed the record.
    bool RequestClose(SocketRecord* record, std::atomic<std::uint8_t>* done);
    bool RequestCloseLocked(SocketRecord* record, std::atomic<std::uint8_t>* done);
    bool WaitClosed(std::atomic<std::uint8_t>& done);
    // Closes a channel, or with `connection` the accepted connection from
    // that address.
    bool CloseRecord(std::uint32_t channel, const NetAddress* connection, bool wait);
    // Frees the record's mutexes and the record; the socket closes with it.
    void DestroyRecord(SocketRecord* record);
    bool MakeMutexes(SocketRecord* record);
    // Builds id + payload into the record's send buffer (send mutex held).
    bool BuildInSendBuffer(SocketRecord* record, std::uint32_t messageId, const void* data,
                           std::uint32_t size);
    bool SendStream(SocketRecord* record, std::uint32_t messageId, const void* data, std::uint32_t size,
                    std::uint32_t* outSent);
    void Queue(SocketEvent& event);
    SocketEvent MakeEvent(std::uint32_t kind, SocketRecord* record) const;
    [[nodiscard]] bool ReadLocalAddress();
    void ReleaseLocks();

    // Declared first: destroyed last, after everything that uses its locks.
    PAL::ThreadManager threads_;
    EventQueue queue_;
    EventHandler handler_;
    std::string hostName_;
    std::string localText_;
    NetAddress local_;
    std::uint32_t sessionNumber_ = 0;
    std::string name_;
    std::string password_;
    std::uint8_t passwordFlag_ = 0;
    std::uint8_t open_ = 0;
    std::uint8_t listening_ = 0;
    std::uint32_t backlog_ = 0;
    std::uint32_t priority_ = 0;

    std::vector<SocketRecord*> channels_;
    std::vector<SocketRecord*> accepted_;
    std::vector<SocketEvent> closeRequests_;
    std::vector<SocketEvent> connectRequests_;
    std::vector<SocketEvent> sendRequests_;

    PAL::Thread* networkThread_ = nullptr;
    PAL::Thread* broadcastThread_ = nullptr;
    Zib_Broadcast_Data* broadcast_ = nullptr;
    pthread_rwlock_t* lock_ = nullptr;
    pthread_mutex_t* endMutex_ = nullptr;
    pthread_cond_t* endCondition_ = nullptr;
    bool networkEnded_ = true;
    bool broadcastEnded_ = true;
    std::uint32_t selectTimeoutMs_ = 1;
    std::uint32_t receiveDeadlineMs_ = 5000;
    std::uint32_t connectDeadlineMs_ = 5000;

    // The network thread's pass state.
    std::vector<pollfd> pollSet_;
    std::vector<Watch> watches_;
};

// Starts the socket layer and owns the sessions.
class Zib_Network_Manager : public Core::Object
{
public:
    Zib_Network_Manager() = default;
    ~Zib_Network_Manager() override;

    // False when already started.
    bool Start();
    Zib_Session* CreateSession(const std::string& name, const std::string& password,
                               std::uint8_t passwordFlag, EventHandler handler, std::uint32_t priority,
                               bool threaded, std::uint32_t maxThreads, std::uint32_t waitMs,
                               std::uint32_t selectTimeoutMs);
    bool DestroySession(Zib_Session* session);
    void DestroyAll();

    bool IsStarted() const { return started_ != 0; }
    const std::vector<Zib_Session*>& GetSessions() const { return sessions_; }

private:
    std::uint8_t started_ = 0;
    std::vector<Zib_Session*> sessions_;
};

} // namespace Network
