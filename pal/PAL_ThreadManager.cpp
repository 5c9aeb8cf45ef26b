#include "pal/PAL_ThreadManager.h"

#include "core/Core_MemoryManager.h"
#include "core/Core_Startup.h"
#include "core/Core_Stopwatch.h"

#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace PAL
{

namespace
{

// Guards every record's owner word, the list of live managers, the orphan
// count and hand-overs between managers. A thread reads its owner and takes
// the owner's mutex under it, so no manager can be freed in between. Lock
// order: this lock, then a manager's mutex, then the heir's mutex.
pthread_mutex_t g_ownership = PTHREAD_MUTEX_INITIALIZER;
ThreadManager* g_liveManagers = nullptr;
ThreadManager* g_second = nullptr;
// Records whose thread still runs although no manager holds them.
std::size_t g_orphans = 0;

class ScopedLock
{
public:
    explicit ScopedLock(pthread_mutex_t& mutex) : mutex_(mutex) { pthread_mutex_lock(&mutex_); }
    ~ScopedLock() { pthread_mutex_unlock(&mutex_); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    pthread_mutex_t& mutex_;
};

struct Priorities
{
    std::int32_t lowest;
    std::int32_t low;
    std::int32_t normal;
    std::int32_t high;
    std::int32_t highest;
};

const Priorities& GetPriorities()
{
    static const Priorities priorities = []
    {
        Priorities p{};
        p.lowest = sched_get_priority_min(SCHED_OTHER);
        p.highest = sched_get_priority_max(SCHED_OTHER);
        p.normal = (p.lowest + p.highest) / 2;
        p.low = p.lowest + (p.normal - p.lowest) / 2;
        p.high = p.normal + (p.highest - p.normal) / 2;
        return p;
    }();
    return priorities;
}

void PlainSleep(std::uint32_t milliseconds)
{
    if (milliseconds == 0)
    {
        sched_yield();
        return;
    }
    timespec remaining{static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR)
    {
    }
}

// A lock that was still held when its manager went away: destroying or
// freeing it could pull it from under a thread, so it stays allocated and
// reachable for the rest of the process.
void KeepForever(void* object)
{
    static std::vector<void*>* kept = new std::vector<void*>();
    kept->push_back(object);
}

void ReportHeld(const char* operation)
{
    std::fprintf(stderr, "PAL::ThreadManager::%s: the lock is held by a thread; it is kept\n", operation);
}

template <typename T> bool Unlist(std::vector<T*>& list, T* item)
{
    const auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end())
    {
        return false;
    }
    list.erase(found);
    return true;
}

template <typename T> bool Contains(const std::vector<T*>& list, const T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

// ---------------------------------------------------------------------------
// Thread

bool Thread::IsRunning(Thread* thread)
{
    if (thread == nullptr)
    {
        return false;
    }
    if (!thread->stop_.load(std::memory_order_acquire) &&
        thread->owner_.load(std::memory_order_acquire) != nullptr)
    {
        return true;
    }
    thread->result_.store(-1, std::memory_order_release);
    return false;
}

bool Thread::Sleep(std::uint32_t milliseconds, Thread* thread)
{
    if (thread == nullptr || milliseconds == 0)
    {
        PlainSleep(milliseconds);
        return true;
    }
    Core::Stopwatch stopwatch;
    stopwatch.Start();
    do
    {
        if (!IsRunning(thread))
        {
            return false;
        }
        PlainSleep(1);
    } while (stopwatch.GetElapsed() < static_cast<double>(milliseconds));
    return true;
}

// ---------------------------------------------------------------------------
// ThreadManager: construction, the process-wide managers

ThreadManager::ThreadManager()
{
    pthread_mutex_init(&mutex_, nullptr);
    GetPriorities();
    ScopedLock ownership(g_ownership);
    nextLive_ = g_liveManagers;
    g_liveManagers = this;
}

ThreadManager::~ThreadManager()
{
    StopAllThreads(false);
    WaitAndHandOver();

    // No thread refers to this manager any more: its records were handed on
    // and it left the live list under the ownership lock.
    pthread_mutex_t* allocatorMutex = Core::GetAllocatorMutex();
    for (pthread_mutex_t* mutex : mutexes_)
    {
        if (mutex == allocatorMutex)
        {
            // Only reached at exit while a start guard still lives: the memory
            // manager keeps locking with it to the end.
            continue;
        }
        if (pthread_mutex_trylock(mutex) != 0)
        {
            ReportHeld("~ThreadManager");
            KeepForever(mutex);
            continue;
        }
        pthread_mutex_unlock(mutex);
        if (pthread_mutex_destroy(mutex) != 0)
        {
            ReportHeld("~ThreadManager");
            KeepForever(mutex);
            continue;
        }
        delete mutex;
    }
    for (pthread_rwlock_t* lock : rwlocks_)
    {
        if (pthread_rwlock_trywrlock(lock) != 0)
        {
            ReportHeld("~ThreadManager");
            KeepForever(lock);
            continue;
        }
        pthread_rwlock_unlock(lock);
        pthread_rwlock_destroy(lock);
        delete lock;
    }
    for (pthread_cond_t* condition : conditions_)
    {
        pthread_cond_broadcast(condition);
        pthread_cond_destroy(condition);
        delete condition;
    }
    for (Thread* thread : finished_)
    {
        delete thread;
    }
    pthread_mutex_destroy(&mutex_);
}

ThreadManager& ThreadManager::GetFirst()
{
    static ThreadManager manager;
    return manager;
}

ThreadManager& ThreadManager::GetSecond()
{
    static ThreadManager manager;
    static const bool registered = []
    {
        ScopedLock ownership(g_ownership);
        g_second = &manager;
        return true;
    }();
    (void)registered;
    return manager;
}

std::int32_t ThreadManager::GetPriority(PriorityLevel level)
{
    const Priorities& p = GetPriorities();
    switch (level)
    {
    case PriorityLevel::Lowest:
        return p.lowest;
    case PriorityLevel::Low:
        return p.low;
    case PriorityLevel::Normal:
        return p.normal;
    case PriorityLevel::High:
        return p.high;
    case PriorityLevel::Highest:
        return p.highest;
    }
    return p.normal;
}

// ---------------------------------------------------------------------------
// Threads

void* ThreadManager::ThreadEntry(void* record)
{
    Thread* thread = static_cast<Thread*>(record);
    if (thread->init_ != nullptr)
    {
        thread->init_(thread);
    }
    if (thread->main_ != nullptr)
    {
        thread->main_(thread);
    }

    pthread_mutex_lock(&g_ownership);
    ThreadManager* owner = thread->owner_.load(std::memory_order_acquire);
    if (owner == nullptr)
    {
        // Freed before the count drops: once it reads 0 the stop guard may
        // take the allocator mutex away.
        delete thread;
        --g_orphans;
        pthread_mutex_unlock(&g_ownership);
        return nullptr;
    }
    {
        ScopedLock lock(owner->mutex_);
        Unlist(owner->threads_, thread);
        // Capacity was reserved when the record joined this manager, so this
        // does not allocate.
        owner->finished_.push_back(thread);
    }
    pthread_mutex_unlock(&g_ownership);
    return nullptr;
}

Thread* ThreadManager::CreateThread(ThreadFunction init, ThreadFunction main, void* argument,
                                    std::int32_t priority, bool inheritScheduling)
{
    Thread* thread = new ("PAL_ThreadManager", 187) Thread();
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
    {
        delete thread;
        return nullptr;
    }
    sched_param scheduling{};
    scheduling.sched_priority = priority;
    if (pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED) != 0 ||
        pthread_attr_setschedpolicy(&attributes, SCHED_OTHER) != 0 ||
        pthread_attr_setschedparam(&attributes, &scheduling) != 0 ||
        pthread_attr_setinheritsched(&attributes,
                                     inheritScheduling ? PTHREAD_INHERIT_SCHED : PTHREAD_EXPLICIT_SCHED) != 0)
    {
        pthread_attr_destroy(&attributes);
        delete thread;
        return nullptr;
    }
    thread->init_ = init;
    thread->main_ = main;
    thread->argument_ = argument;
    thread->owner_.store(this, std::memory_order_release);

    int created = 0;
    {
        ScopedLock lock(mutex_);
        threads_.push_back(thread);
        finished_.reserve(finished_.size() + threads_.size());
        created = pthread_create(&thread->handle_, &attributes, &ThreadEntry, thread);
        if (created != 0)
        {
            threads_.pop_back();
        }
    }
    pthread_attr_destroy(&attributes);
    if (created != 0)
    {
        delete thread;
        return nullptr;
    }
    return thread;
}

void ThreadManager::StopThread(Thread* thread, bool lowerPriority)
{
    if (thread == nullptr)
    {
        return;
    }
    ScopedLock lock(mutex_);
    thread->stop_.store(true, std::memory_order_release);
    // The handle names a live thread only while its record is listed here.
    if (lowerPriority && Contains(threads_, thread))
    {
        sched_param scheduling{};
        scheduling.sched_priority = GetPriority(PriorityLevel::Lowest);
        pthread_setschedparam(thread->handle_, SCHED_OTHER, &scheduling);
    }
}

void ThreadManager::StopAllThreads(bool lowerPriority)
{
    ScopedLock lock(mutex_);
    sched_param scheduling{};
    scheduling.sched_priority = GetPriority(PriorityLevel::Lowest);
    for (Thread* thread : threads_)
    {
        thread->stop_.store(true, std::memory_order_release);
        if (lowerPriority)
        {
            pthread_setschedparam(thread->handle_, SCHED_OTHER, &scheduling);
        }
    }
}

void ThreadManager::WaitAndHandOver()
{
    for (std::uint32_t step = 0; step < waitLimit_; ++step)
    {
        if (GetThreadCount() == 0)
        {
            break;
        }
        PlainSleep(1);
    }

    ScopedLock ownership(g_ownership);
    if (g_second == this)
    {
        g_second = nullptr;
    }
    ThreadManager* heir = g_second;
    {
        ScopedLock lock(mutex_);
        if (heir != nullptr)
        {
            ScopedLock heirLock(heir->mutex_);
            for (Thread* thread : threads_)
            {
                thread->owner_.store(heir, std::memory_order_release);
                heir->threads_.push_back(thread);
            }
            heir->finished_.reserve(heir->finished_.size() + heir->threads_.size());
        }
        else
        {
            // Nobody can adopt them: the threads free their own records.
            for (Thread* thread : threads_)
            {
                thread->owner_.store(nullptr, std::memory_order_release);
                ++g_orphans;
            }
        }
        threads_.clear();
    }
    for (ThreadManager** link = &g_liveManagers; *link != nullptr; link = &(*link)->nextLive_)
    {
        if (*link == this)
        {
            *link = nextLive_;
            break;
        }
    }
}

bool ThreadManager::StopEveryThread()
{
    {
        ScopedLock ownership(g_ownership);
        for (ThreadManager* manager = g_liveManagers; manager != nullptr; manager = manager->nextLive_)
        {
            manager->StopAllThreads(false);
        }
    }
    for (std::uint32_t step = 0;; ++step)
    {
        bool running = false;
        {
            ScopedLock ownership(g_ownership);
            running = g_orphans != 0;
            for (ThreadManager* manager = g_liveManagers; manager != nullptr && !running;
                 manager = manager->nextLive_)
            {
                running = manager->GetThreadCount() != 0;
            }
        }
        if (!running)
        {
            return true;
        }
        if (step == 500)
        {
            return false;
        }
        PlainSleep(1);
    }
}

std::size_t ThreadManager::GetThreadCount() const
{
    ScopedLock lock(mutex_);
    return threads_.size();
}

std::size_t ThreadManager::GetMutexCount() const
{
    ScopedLock lock(mutex_);
    return mutexes_.size();
}

std::size_t ThreadManager::GetRWLockCount() const
{
    ScopedLock lock(mutex_);
    return rwlocks_.size();
}

std::size_t ThreadManager::GetConditionCount() const
{
    ScopedLock lock(mutex_);
    return conditions_.size();
}

// ---------------------------------------------------------------------------
// Mutexes

pthread_mutex_t* ThreadManager::CreateMutex(std::int32_t type)
{
    int kind = 0;
    switch (type)
    {
    case NormalMutex:
        kind = PTHREAD_MUTEX_NORMAL;
        break;
    case RecursiveMutex:
        kind = PTHREAD_MUTEX_RECURSIVE;
        break;
    case ErrorCheckMutex:
        kind = PTHREAD_MUTEX_ERRORCHECK;
        break;
    default:
        return nullptr;
    }
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0)
    {
        return nullptr;
    }
    auto* mutex = new ("PAL_ThreadManager", __LINE__) pthread_mutex_t;
    const bool ready =
        pthread_mutexattr_settype(&attributes, kind) == 0 && pthread_mutex_init(mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    if (!ready)
    {
        delete mutex;
        return nullptr;
    }
    ScopedLock lock(mutex_);
    mutexes_.push_back(mutex);
    return mutex;
}

bool ThreadManager::DestroyMutex(pthread_mutex_t* mutex)
{
    if (mutex == nullptr)
    {
        return false;
    }
    {
        ScopedLock lock(mutex_);
        if (!Contains(mutexes_, mutex))
        {
            return false;
        }
        // A successful try-lock proves nobody else holds it; destroy still
        // refuses a recursive mutex that the caller holds more than once.
        if (pthread_mutex_trylock(mutex) != 0)
        {
            ReportHeld("DestroyMutex");
            return false;
        }
        pthread_mutex_unlock(mutex);
        if (pthread_mutex_destroy(mutex) != 0)
        {
            ReportHeld("DestroyMutex");
            return false;
        }
        Unlist(mutexes_, mutex);
    }
    delete mutex;
    return true;
}

bool ThreadManager::LockMutex(pthread_mutex_t* mutex)
{
    return mutex != nullptr && pthread_mutex_lock(mutex) == 0;
}

bool ThreadManager::UnlockMutex(pthread_mutex_t* mutex)
{
    return mutex != nullptr && pthread_mutex_unlock(mutex) == 0;
}

// ---------------------------------------------------------------------------
// Read-write locks

pthread_rwlock_t* ThreadManager::CreateRWLock()
{
    auto* lock = new ("PAL_ThreadManager", __LINE__) pthread_rwlock_t;
    if (pthread_rwlock_init(lock, nullptr) != 0)
    {
        delete lock;
        return nullptr;
    }
    ScopedLock guard(mutex_);
    rwlocks_.push_back(lock);
    return lock;
}

bool ThreadManager::DestroyRWLock(pthread_rwlock_t* lock)
{
    if (lock == nullptr)
    {
        return false;
    }
    {
        ScopedLock guard(mutex_);
        if (!Contains(rwlocks_, lock))
        {
            return false;
        }
        if (pthread_rwlock_trywrlock(lock) != 0)
        {
            ReportHeld("DestroyRWLock");
            return false;
        }
        pthread_rwlock_unlock(lock);
        pthread_rwlock_destroy(lock);
        Unlist(rwlocks_, lock);
    }
    delete lock;
    return true;
}

bool ThreadManager::ReadLock(pthread_rwlock_t* lock)
{
    return lock != nullptr && pthread_rwlock_rdlock(lock) == 0;
}

bool ThreadManager::WriteLock(pthread_rwlock_t* lock)
{
    return lock != nullptr && pthread_rwlock_wrlock(lock) == 0;
}

bool ThreadManager::TryWriteLock(pthread_rwlock_t* lock)
{
    return lock != nullptr && pthread_rwlock_trywrlock(lock) == 0;
}

bool ThreadManager::UnlockRWLock(pthread_rwlock_t* lock)
{
    return lock != nullptr && pthread_rwlock_unlock(lock) == 0;
}

// ---------------------------------------------------------------------------
// Condition variables

pthread_cond_t* ThreadManager::CreateCondition()
{
    auto* condition = new ("PAL_ThreadManager", __LINE__) pthread_cond_t;
    if (pthread_cond_init(condition, nullptr) != 0)
    {
        delete condition;
        return nullptr;
    }
    ScopedLock lock(mutex_);
    conditions_.push_back(condition);
    return condition;
}

bool ThreadManager::DestroyCondition(pthread_cond_t* condition)
{
    if (condition == nullptr)
    {
        return false;
    }
    {
        ScopedLock lock(mutex_);
        if (!Unlist(conditions_, condition))
        {
            return false;
        }
    }
    pthread_cond_broadcast(condition);
    pthread_cond_destroy(condition);
    delete condition;
    return true;
}

bool ThreadManager::WaitCondition(pthread_cond_t* condition, pthread_mutex_t* mutex)
{
    return condition != nullptr && mutex != nullptr && pthread_cond_wait(condition, mutex) == 0;
}

bool ThreadManager::SignalCondition(pthread_cond_t* condition, bool broadcast)
{
    if (condition == nullptr)
    {
        return false;
    }
    return (broadcast ? pthread_cond_broadcast(condition) : pthread_cond_signal(condition)) == 0;
}

// ---------------------------------------------------------------------------
// Start-up wiring: the start guard makes the allocator mutex through the
// first manager and stops every managed thread before dropping it.

namespace
{

pthread_mutex_t* CreateAllocatorMutex()
{
    return ThreadManager::GetFirst().CreateMutex(ThreadManager::NormalMutex);
}

void DestroyAllocatorMutex(pthread_mutex_t* mutex)
{
    ThreadManager::GetFirst().DestroyMutex(mutex);
}

struct Installer
{
    Installer()
    {
        // The second manager is made after the first, so it is destroyed
        // before it at exit.
        ThreadManager::GetFirst();
        ThreadManager::GetSecond();
        Core::StartupHooks hooks;
        hooks.createMutex = &CreateAllocatorMutex;
        hooks.destroyMutex = &DestroyAllocatorMutex;
        hooks.stopThreads = &ThreadManager::StopEveryThread;
        Core::SetStartupHooks(hooks);
    }
};

const Installer g_installer;

} // namespace

} // namespace PAL
