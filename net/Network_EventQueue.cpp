#include "net/Network_EventQueue.h"

#include "net/Network_Message.h"

#include "core/Core_Stopwatch.h"
#include "pal/PAL_ThreadManager.h"

#include <new>
#include <utility>

namespace Network
{

namespace
{

// The argument of one event thread in mode 2.
struct EventJob
{
    EventQueue* queue;
    SocketEvent event;
};

} // namespace

void SocketEvent::AttachMessage(std::uint8_t* buffer, std::uint32_t total)
{
    message = buffer;
    length = total;
    const MessageHeader header = ReadHeader(buffer);
    messageId = header.id;
    payload = buffer + HeaderSize;
    payloadSize = total - HeaderSize;
}

void SocketEvent::FreeMessage()
{
    Network::FreeMessage(message);
    message = nullptr;
    length = 0;
    messageId = NoMessageId;
    payload = nullptr;
    payloadSize = 0;
}

EventQueue::~EventQueue()
{
    Stop();
    for (SocketEvent& event : events_)
    {
        event.FreeMessage();
    }
    Release();
}

void EventQueue::Release()
{
    if (threads_ == nullptr)
    {
        return;
    }
    threads_->DestroyCondition(threadCondition_);
    threads_->DestroyMutex(threadMutex_);
    threads_->DestroyMutex(mutex_);
    threadCondition_ = nullptr;
    threadMutex_ = nullptr;
    mutex_ = nullptr;
}

bool EventQueue::Start(PAL::ThreadManager& threads, EventHandler handler, bool threaded,
                       std::uint32_t maxThreads, std::int32_t priority, std::uint32_t waitMs)
{
    if (mutex_ != nullptr)
    {
        return false;
    }
    threads_ = &threads;
    mutex_ = threads.CreateMutex(PAL::ThreadManager::NormalMutex);
    threadMutex_ = threads.CreateMutex(PAL::ThreadManager::NormalMutex);
    threadCondition_ = threads.CreateCondition();
    if (mutex_ == nullptr || threadMutex_ == nullptr || threadCondition_ == nullptr)
    {
        Release();
        return false;
    }
    handler_ = std::move(handler);
    maxThreads_ = maxThreads;
    priority_ = priority;
    waitMs_ = waitMs;
    mode_ = !threaded ? Pumped : (maxThreads > 0 ? ThreadPerEvent : Dispatcher);
    stopped_ = false;
    if (mode_ != Pumped)
    {
        dispatcherEnded_ = false;
        dispatcher_ = threads.CreateThread(nullptr, &DispatcherMain, this, 0, true);
        if (dispatcher_ == nullptr)
        {
            stopped_ = true;
            dispatcherEnded_ = true;
            Release();
            return false;
        }
    }
    return true;
}

bool EventQueue::Push(const SocketEvent& event, PAL::Thread* pushingThread)
{
    if (mutex_ == nullptr || (pushingThread != nullptr && pushingThread->IsStopRequested()))
    {
        return false;
    }
    threads_->LockMutex(mutex_);
    const bool accepted = !stopped_;
    if (accepted)
    {
        events_.push_back(event);
    }
    threads_->UnlockMutex(mutex_);
    return accepted;
}

bool EventQueue::TakeFront(SocketEvent& event)
{
    if (mutex_ == nullptr || !threads_->LockMutex(mutex_))
    {
        return false;
    }
    const bool taken = !events_.empty();
    if (taken)
    {
        event = std::move(events_.front());
        events_.pop_front();
    }
    threads_->UnlockMutex(mutex_);
    return taken;
}

std::size_t EventQueue::GetQueued()
{
    if (mutex_ == nullptr || !threads_->LockMutex(mutex_))
    {
        return 0;
    }
    const std::size_t count = events_.size();
    threads_->UnlockMutex(mutex_);
    return count;
}

void EventQueue::Dispatch(const EventHandler& handler, SocketEvent& event)
{
    if (event.kind == MessageReceived)
    {
        const bool release = !handler || handler(event);
        if (release)
        {
            event.FreeMessage();
        }
        return;
    }
    if (handler)
    {
        handler(event);
    }
}

void EventQueue::Pump(std::uint32_t maxMs, std::uint32_t idleMs, std::uint32_t* outDispatched,
                      std::uint32_t* outRemaining)
{
    std::uint32_t dispatched = 0;
    if (mode_ == Pumped)
    {
        Core::Stopwatch total;
        total.Start();
        Core::Stopwatch idle;
        idle.Start();
        while (total.GetElapsed() < static_cast<double>(maxMs))
        {
            SocketEvent event;
            if (TakeFront(event))
            {
                Dispatch(handler_, event);
                ++dispatched;
                idle.Reset();
                idle.Start();
                continue;
            }
            if (idle.GetElapsed() >= static_cast<double>(idleMs))
            {
                break;
            }
            PAL::Thread::Sleep(waitMs_);
        }
    }
    if (outDispatched != nullptr)
    {
        *outDispatched = dispatched;
    }
    if (outRemaining != nullptr)
    {
        *outRemaining = static_cast<std::uint32_t>(GetQueued());
    }
}

void EventQueue::DispatchRemaining()
{
    SocketEvent event;
    while (TakeFront(event))
    {
        Dispatch(handler_, event);
        event = SocketEvent();
    }
}

void EventQueue::Stop()
{
    if (mutex_ == nullptr)
    {
        return;
    }
    threads_->LockMutex(mutex_);
    stopped_ = true;
    threads_->UnlockMutex(mutex_);
    if (dispatcher_ == nullptr)
    {
        return;
    }
    threads_->StopThread(dispatcher_, false);
    threads_->LockMutex(threadMutex_);
    while (!dispatcherEnded_ || runningThreads_ > 0)
    {
        threads_->WaitCondition(threadCondition_, threadMutex_);
    }
    threads_->UnlockMutex(threadMutex_);
    dispatcher_ = nullptr;
}

void EventQueue::DispatcherMain(PAL::Thread* thread)
{
    auto* queue = static_cast<EventQueue*>(thread->GetArgument());
    PAL::ThreadManager& threads = *queue->threads_;
    while (PAL::Thread::IsRunning(thread))
    {
        SocketEvent event;
        if (queue->mode_ == ThreadPerEvent)
        {
            threads.LockMutex(queue->threadMutex_);
            const bool room = queue->runningThreads_ < queue->maxThreads_;
            threads.UnlockMutex(queue->threadMutex_);
            if (room && queue->TakeFront(event))
            {
                auto* job = new (std::nothrow) EventJob{queue, event};
                threads.LockMutex(queue->threadMutex_);
                ++queue->runningThreads_;
                threads.UnlockMutex(queue->threadMutex_);
                if (job == nullptr ||
                    threads.CreateThread(nullptr, &EventThreadMain, job, queue->priority_, true) == nullptr)
                {
                    // No thread for it: dispatch here rather than lose it.
                    Dispatch(queue->handler_, event);
                    delete job;
                    threads.LockMutex(queue->threadMutex_);
                    --queue->runningThreads_;
                    threads.UnlockMutex(queue->threadMutex_);
                }
                continue;
            }
        }
        else if (queue->TakeFront(event))
        {
            Dispatch(queue->handler_, event);
            continue;
        }
        PAL::Thread::Sleep(queue->waitMs_, thread);
    }
    threads.LockMutex(queue->threadMutex_);
    queue->dispatcherEnded_ = true;
    threads.SignalCondition(queue->threadCondition_, true);
    threads.UnlockMutex(queue->threadMutex_);
}

void EventQueue::EventThreadMain(PAL::Thread* thread)
{
    auto* job = static_cast<EventJob*>(thread->GetArgument());
    EventQueue* queue = job->queue;
    Dispatch(queue->handler_, job->event);
    delete job;
    PAL::ThreadManager& threads = *queue->threads_;
    threads.LockMutex(queue->threadMutex_);
    --queue->runningThreads_;
    threads.SignalCondition(queue->threadCondition_, true);
    threads.UnlockMutex(queue->threadMutex_);
}

} // namespace Network
