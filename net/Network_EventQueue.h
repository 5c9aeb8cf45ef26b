#pragma once

#include "net/Network_Address.h"

#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>

namespace PAL
{
class Thread;
class ThreadManager;
} // namespace PAL

namespace Network
{

class Zib_Session;
struct SocketRecord;

// What the network thread, the broadcast thread and the session operations
// tell the owner of a session.
enum EventKind : std::uint32_t
{
    SessionStarted = 0,
    ConnectionAccepted = 1,
    ConnectFinished = 2,
    MessageReceived = 3,
    SendPerformed = 4,
    ChannelCreated = 5,
    ChannelClosed = 6,
    ConnectionClosed = 7,
    SessionEnded = 8,
    ConnectRequest = 9,
    SendRequest = 10,
    CloseRequest = 11,
};

inline constexpr std::uint32_t NoChannel = 0xFFFFFFFFu;
inline constexpr std::uint32_t NoMessageId = 0xFFFFFFFFu;

// One event, copied by value into the queue. A data event owns its message
// buffer until it is dispatched (see EventQueue::Dispatch).
struct SocketEvent
{
    std::uint8_t* message = nullptr; // header and payload, or null
    std::uint32_t length = 0;        // total message length, 0 without one
    std::uint32_t kind = SessionStarted;
    Zib_Session* session = nullptr;
    std::uint32_t channel = NoChannel;
    // The record concerned; valid only while its channel or connection lives.
    SocketRecord* record = nullptr;
    NetAddress peer;
    std::uint32_t messageId = NoMessageId;
    const std::uint8_t* payload = nullptr;
    std::uint32_t payloadSize = 0;
    std::uint8_t failed = 0;
    // Close requests: the byte the network thread sets once the record is gone.
    std::atomic<std::uint8_t>* done = nullptr;

    // Takes the buffer and fills the id and payload fields from its header.
    void AttachMessage(std::uint8_t* buffer, std::uint32_t total);
    // Frees the buffer (if any) and clears the message fields.
    void FreeMessage();
};

// Called for each dispatched event. For a data event, true (or no handler)
// lets the queue free the buffer; false means the handler kept it and frees
// it later with Network::FreeMessage.
using EventHandler = std::function<bool(SocketEvent& event)>;

// The queue between the threads that learn things and the thread that acts
// on them. Mode 0: the owner pumps it. Mode 1: one dispatcher thread
// dispatches in order. Mode 2: the dispatcher starts one thread per event,
// at most a given number at once.
class EventQueue
{
public:
    enum Mode : std::uint32_t
    {
        Pumped = 0,
        Dispatcher = 1,
        ThreadPerEvent = 2,
    };

    EventQueue() = default;
    ~EventQueue();
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // `threads` makes the locks and threads; it must outlive the queue's
    // use. False when a lock or thread cannot be made (nothing is kept).
    bool Start(PAL::ThreadManager& threads, EventHandler handler, bool threaded, std::uint32_t maxThreads,
               std::int32_t priority, std::uint32_t waitMs);
    // False when stopped, not started, or `pushingThread` was told to stop;
    // the caller then still owns the event's buffer.
    bool Push(const SocketEvent& event, PAL::Thread* pushingThread = nullptr);
    // Mode 0, on the caller's thread: dispatches queued events until the
    // queue has stayed empty for idleMs or maxMs have passed in all.
    void Pump(std::uint32_t maxMs, std::uint32_t idleMs, std::uint32_t* outDispatched = nullptr,
              std::uint32_t* outRemaining = nullptr);
    // Refuses further pushes and ends the queue's threads (waiting for them).
    void Stop();
    // Dispatches every event still queued, on the caller's thread.
    void DispatchRemaining();

    // The dispatch rule shared by every mode and the session's direct events.
    static void Dispatch(const EventHandler& handler, SocketEvent& event);

    Mode GetMode() const { return mode_; }
    std::size_t GetQueued();

private:
    // Takes the front event; false when the queue is empty.
    bool TakeFront(SocketEvent& event);
    static void DispatcherMain(PAL::Thread* thread);
    static void EventThreadMain(PAL::Thread* thread);
    void Release();

    PAL::ThreadManager* threads_ = nullptr;
    EventHandler handler_;
    std::deque<SocketEvent> events_;
    pthread_mutex_t* mutex_ = nullptr;
    // Guards the running count and the dispatcher's end; signalled as event
    // threads and the dispatcher end.
    pthread_mutex_t* threadMutex_ = nullptr;
    pthread_cond_t* threadCondition_ = nullptr;
    PAL::Thread* dispatcher_ = nullptr;
    bool dispatcherEnded_ = true;
    std::uint32_t runningThreads_ = 0;
    std::uint32_t maxThreads_ = 0;
    std::int32_t priority_ = 0;
    std::uint32_t waitMs_ = 0;
    Mode mode_ = Pumped;
    bool stopped_ = true;
};

} // namespace Network
