#include "audio/Sound_Threads.h"

#include <chrono>
#include <thread>

namespace SoundThreads
{

namespace
{

template <class T> void EraseElement(std::list<T>& list, const T* element)
{
    for (auto it = list.begin(); it != list.end(); ++it)
    {
        if (&*it == element)
        {
            list.erase(it);
            return;
        }
    }
}

} // namespace

ThreadManager::ThreadManager() = default;

ThreadManager::~ThreadManager()
{
    pthread_mutex_lock(&lock_);
    for (Thread* thread : threads_)
    {
        thread->stop = true;
    }
    pthread_mutex_unlock(&lock_);
    for (int step = 0; step < 500; ++step)
    {
        pthread_mutex_lock(&lock_);
        const bool empty = threads_.empty();
        pthread_mutex_unlock(&lock_);
        if (empty)
        {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // A thread that never looked at its flag runs on without a manager.
    pthread_mutex_lock(&lock_);
    for (Thread* thread : threads_)
    {
        thread->owner = nullptr;
    }
    threads_.clear();
    pthread_mutex_unlock(&lock_);
    for (Condition& condition : conditions_)
    {
        pthread_cond_destroy(&condition);
    }
    for (Mutex& mutex : mutexes_)
    {
        pthread_mutex_destroy(&mutex);
    }
    pthread_mutex_destroy(&lock_);
}

void* ThreadManager::Entry(void* record)
{
    Thread* thread = static_cast<Thread*>(record);
    if (thread->init != nullptr)
    {
        thread->init(thread);
    }
    if (thread->main != nullptr)
    {
        thread->main(thread);
    }
    if (ThreadManager* owner = thread->owner.load())
    {
        pthread_mutex_lock(&owner->lock_);
        owner->threads_.remove(thread);
        pthread_mutex_unlock(&owner->lock_);
    }
    delete thread;
    return nullptr;
}

Thread* ThreadManager::CreateThread(ThreadFunction init, ThreadFunction main, void* argument, std::int32_t,
                                    bool)
{
    Thread* thread = new Thread;
    thread->init = init;
    thread->main = main;
    thread->argument = argument;
    thread->owner = this;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
    {
        delete thread;
        return nullptr;
    }
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_mutex_lock(&lock_);
    threads_.push_back(thread);
    pthread_t handle;
    const bool started = pthread_create(&handle, &attributes, &Entry, thread) == 0;
    if (!started)
    {
        threads_.pop_back();
        delete thread;
        thread = nullptr;
    }
    pthread_mutex_unlock(&lock_);
    pthread_attr_destroy(&attributes);
    return thread;
}

void ThreadManager::StopThread(Thread* thread, bool)
{
    if (thread == nullptr)
    {
        return;
    }
    pthread_mutex_lock(&lock_);
    thread->stop = true;
    pthread_mutex_unlock(&lock_);
}

Mutex* ThreadManager::CreateMutex(std::int32_t type)
{
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0)
    {
        return nullptr;
    }
    Mutex* mutex = &mutexes_.emplace_back();
    const bool made =
        pthread_mutexattr_settype(&attributes, type) == 0 && pthread_mutex_init(mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    if (!made)
    {
        mutexes_.pop_back();
        return nullptr;
    }
    return mutex;
}

void ThreadManager::DestroyMutex(Mutex* mutex)
{
    if (mutex == nullptr)
    {
        return;
    }
    pthread_mutex_destroy(mutex);
    EraseElement(mutexes_, mutex);
}

bool ThreadManager::LockMutex(Mutex* mutex)
{
    return mutex != nullptr && pthread_mutex_lock(mutex) == 0;
}

bool ThreadManager::UnlockMutex(Mutex* mutex)
{
    return mutex != nullptr && pthread_mutex_unlock(mutex) == 0;
}

Condition* ThreadManager::CreateCondition()
{
    Condition* condition = &conditions_.emplace_back();
    if (pthread_cond_init(condition, nullptr) != 0)
    {
        conditions_.pop_back();
        return nullptr;
    }
    return condition;
}

void ThreadManager::DestroyCondition(Condition* condition)
{
    if (condition == nullptr)
    {
        return;
    }
    pthread_cond_broadcast(condition);
    pthread_cond_destroy(condition);
    EraseElement(conditions_, condition);
}

bool ThreadManager::WaitCondition(Condition* condition, Mutex* mutex)
{
    return condition != nullptr && mutex != nullptr && pthread_cond_wait(condition, mutex) == 0;
}

bool ThreadManager::SignalCondition(Condition* condition, bool broadcast)
{
    if (condition == nullptr)
    {
        return false;
    }
    return (broadcast ? pthread_cond_broadcast(condition) : pthread_cond_signal(condition)) == 0;
}

bool ThreadManager::IsRunning(const Thread* thread)
{
    return thread != nullptr && !thread->stop && thread->owner.load() != nullptr;
}

bool ThreadManager::Sleep(std::uint32_t milliseconds, const Thread* thread)
{
    if (thread == nullptr || milliseconds == 0)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return true;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end)
    {
        if (!IsRunning(thread))
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace SoundThreads
