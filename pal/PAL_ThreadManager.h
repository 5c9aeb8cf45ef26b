#pragma once

#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace PAL
{

class ThreadManager;
class Thread;

// Init and main functions of a thread receive its record and reach their
// argument through Thread::GetArgument.
using ThreadFunction = void (*)(Thread* thread);

// The record of one thread made by a ThreadManager. Threads are cooperative:
// they poll IsRunning or wait with the cancellable Sleep and return once a
// stop is requested.
//
// Lifetime: a record stays valid until the manager that owns it is destroyed,
// also after its thread has finished, so a late StopThread on it is harmless.
// When its thread ends, the record moves to the owner's list of finished
// records, which the owner frees at its destruction. A record whose thread
// outlives every manager that could adopt it is freed by that thread itself.
class Thread
{
public:
    // True while no stop was requested and the record has a manager;
    // otherwise sets the result to -1 and returns false. Null gives false.
    static bool IsRunning(Thread* thread);

    // Without a record: a plain sleep of `milliseconds` (0 yields once) and
    // true. With one: sleeps in 1 ms steps until the time has passed (true),
    // and returns false with result -1 as soon as a stop is requested or the
    // record has lost its manager. 0 ms yields once without looking at the
    // record.
    static bool Sleep(std::uint32_t milliseconds, Thread* thread = nullptr);

    void* GetArgument() const { return argument_; }
    std::int32_t GetResult() const { return result_.load(std::memory_order_acquire); }
    bool IsStopRequested() const { return stop_.load(std::memory_order_acquire); }
    // The managing manager; changes when a dying manager hands the record on,
    // null once no manager is left to take it.
    ThreadManager* GetOwner() const { return owner_.load(std::memory_order_acquire); }

    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

private:
    friend class ThreadManager;
    Thread() = default;

    pthread_t handle_{};
    ThreadFunction init_ = nullptr;
    ThreadFunction main_ = nullptr;
    void* argument_ = nullptr;
    std::atomic<ThreadManager*> owner_{nullptr};
    std::atomic<bool> stop_{false};
    std::atomic<std::int32_t> result_{0};
};

// Creates threads and synchronisation objects and keeps every one it made.
// Handles are the addresses of the objects, stable until they are destroyed;
// every operation accepts a null handle and then does nothing (lock
// operations return false).
//
// Destruction raises every stop flag, waits up to 500 steps of 1 ms for the
// threads to end, hands the stragglers to the second process-wide manager,
// then destroys its locks. A lock that is still held is never destroyed.
//
// Two process-wide managers live from static initialisation to exit: the
// first makes the allocator mutex of the memory manager, the second adopts
// records that other managers gave up waiting for.
class ThreadManager
{
public:
    enum class PriorityLevel
    {
        Lowest,
        Low,
        Normal,
        High,
        Highest,
    };

    // pthread mutex types.
    enum MutexType : std::int32_t
    {
        NormalMutex = 0,
        RecursiveMutex = 1,
        ErrorCheckMutex = 2,
    };

    ThreadManager();
    ~ThreadManager();

    ThreadManager(const ThreadManager&) = delete;
    ThreadManager& operator=(const ThreadManager&) = delete;

    static ThreadManager& GetFirst();
    static ThreadManager& GetSecond();

    // Scheduling priorities for SCHED_OTHER, computed once per process:
    // lowest and highest from the scheduler, normal their mean, low and high
    // halfway between (integer divisions). Under SCHED_OTHER all are 0.
    static std::int32_t GetPriority(PriorityLevel level);

    // Starts a detached thread that runs `init` then `main` (either may be
    // null) with its record. With `inheritScheduling` false the thread gets
    // SCHED_OTHER at `priority`. Null on any failure.
    Thread* CreateThread(ThreadFunction init, ThreadFunction main, void* argument, std::int32_t priority,
                         bool inheritScheduling);
    // Raises the record's stop flag; with `lowerPriority`, also drops a
    // thread of this manager that is still running to the lowest priority.
    void StopThread(Thread* thread, bool lowerPriority);
    // Raises every running thread's stop flag.
    void StopAllThreads(bool lowerPriority);

    // Asks every thread of every live manager to stop and waits up to 500 ms
    // for them to end; true when none is left running.
    static bool StopEveryThread();

    pthread_mutex_t* CreateMutex(std::int32_t type);
    // Destroys an unlocked mutex of this manager; one held by another thread
    // is reported on standard error and kept. True when it was destroyed.
    // The caller must not hold the mutex itself.
    bool DestroyMutex(pthread_mutex_t* mutex);
    bool LockMutex(pthread_mutex_t* mutex);
    bool UnlockMutex(pthread_mutex_t* mutex);

    pthread_rwlock_t* CreateRWLock();
    // As DestroyMutex: a lock held for reading or writing is kept.
    bool DestroyRWLock(pthread_rwlock_t* lock);
    [[nodiscard]] bool ReadLock(pthread_rwlock_t* lock);
    bool WriteLock(pthread_rwlock_t* lock);
    bool TryWriteLock(pthread_rwlock_t* lock);
    bool UnlockRWLock(pthread_rwlock_t* lock);

    pthread_cond_t* CreateCondition();
    // Wakes every waiter, then destroys the condition.
    bool DestroyCondition(pthread_cond_t* condition);
    // `mutex` must be held by the caller; it is released while waiting.
    bool WaitCondition(pthread_cond_t* condition, pthread_mutex_t* mutex);
    bool SignalCondition(pthread_cond_t* condition, bool broadcast);

    // Threads of this manager whose functions have not returned yet.
    std::size_t GetThreadCount() const;
    std::size_t GetMutexCount() const;
    std::size_t GetRWLockCount() const;
    std::size_t GetConditionCount() const;

private:
    static void* ThreadEntry(void* record);
    // Waits up to the wait limit for the thread list to empty, then gives
    // what is left to the second manager (or orphans it).
    void WaitAndHandOver();

    // Guards the thread list and the three lock lists.
    mutable pthread_mutex_t mutex_;
    std::vector<Thread*> threads_;
    std::vector<Thread*> finished_;
    std::vector<pthread_mutex_t*> mutexes_;
    std::vector<pthread_rwlock_t*> rwlocks_;
    std::vector<pthread_cond_t*> conditions_;
    std::uint32_t waitLimit_ = 500;
    // Live managers form a process-wide list, walked by StopEveryThread.
    ThreadManager* nextLive_ = nullptr;
};

} // namespace PAL
