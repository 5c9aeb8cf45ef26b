#pragma once

// Threads, locks and the cancellable sleep that the streaming thread needs,
// with the calls of the platform thread manager: detached threads that poll a
// stop flag, mutexes and condition variables handed out as handles.

#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <list>

namespace SoundThreads
{

class ThreadManager;
struct Thread;
using ThreadFunction = void (*)(Thread*);
using Mutex = pthread_mutex_t;
using Condition = pthread_cond_t;

struct Thread
{
    ThreadFunction init = nullptr;
    ThreadFunction main = nullptr;
    void* argument = nullptr;
    std::atomic<ThreadManager*> owner{nullptr};
    std::atomic<bool> stop{false};
};

class ThreadManager
{
public:
    ThreadManager();
    // Raises every stop flag and waits a bounded time for the threads to end.
    ~ThreadManager();

    ThreadManager(const ThreadManager&) = delete;
    ThreadManager& operator=(const ThreadManager&) = delete;

    // Starts a detached thread running `init` (if any) then `main`; the
    // record is freed when `main` returns. Null on failure.
    Thread* CreateThread(ThreadFunction init, ThreadFunction main, void* argument, std::int32_t priority,
                         bool inheritScheduling);
    void StopThread(Thread* thread, bool lowerPriority);

    Mutex* CreateMutex(std::int32_t type);
    void DestroyMutex(Mutex* mutex);
    bool LockMutex(Mutex* mutex);
    bool UnlockMutex(Mutex* mutex);
    Condition* CreateCondition();
    void DestroyCondition(Condition* condition);
    bool WaitCondition(Condition* condition, Mutex* mutex);
    bool SignalCondition(Condition* condition, bool broadcast);

    static std::int32_t NormalPriority() { return 0; }
    // True while no stop was requested and the thread still has its manager.
    static bool IsRunning(const Thread* thread);
    // Sleeps in 1 ms steps; false at once when a stop is requested.
    static bool Sleep(std::uint32_t milliseconds, const Thread* thread);
    static void* GetArgument(const Thread* thread) { return thread->argument; }

private:
    static void* Entry(void* record);

    pthread_mutex_t lock_ = PTHREAD_MUTEX_INITIALIZER;
    std::list<Thread*> threads_;
    std::list<Mutex> mutexes_;
    std::list<Condition> conditions_;
};

} // namespace SoundThreads
