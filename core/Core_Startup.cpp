#include "core/Core_Startup.h"

#include "core/Core_Clock.h"
#include "core/Core_MemoryManager.h"

#include <atomic>
#include <ctime>

namespace Core
{

namespace
{

StartupHooks g_hooks;
std::atomic<std::int32_t> g_guardCount{0};
std::vector<char>* g_whitespace = nullptr;
// The function that releases the allocator mutex is the one that belongs to
// whoever made it, even if the hooks change in between.
void (*g_destroyAllocatorMutex)(pthread_mutex_t*) = nullptr;

pthread_mutex_t* CreatePlainMutex()
{
    auto* mutex = new ("Core_Startup", __LINE__) pthread_mutex_t;
    if (pthread_mutex_init(mutex, nullptr) != 0)
    {
        delete mutex;
        return nullptr;
    }
    return mutex;
}

void DestroyPlainMutex(pthread_mutex_t* mutex)
{
    pthread_mutex_destroy(mutex);
    delete mutex;
}

} // namespace

void SetStartupHooks(const StartupHooks& hooks)
{
    g_hooks = hooks;
}

Startup::Startup()
{
    if (g_guardCount.fetch_add(1) != 0)
    {
        return;
    }

    // A mutex kept by an earlier stop guard (threads were still running
    // then) is still in place and is reused.
    if (GetAllocatorMutex() == nullptr)
    {
        const bool platform = g_hooks.createMutex != nullptr && g_hooks.destroyMutex != nullptr;
        pthread_mutex_t* mutex = platform ? g_hooks.createMutex() : CreatePlainMutex();
        if (mutex != nullptr)
        {
            g_destroyAllocatorMutex = platform ? g_hooks.destroyMutex : &DestroyPlainMutex;
            SetAllocatorMutex(mutex);
        }
    }

    g_whitespace = new ("Core_Startup", __LINE__) std::vector<char>{'\t', ' '};

    timespec probe{};
    if (clock_gettime(CLOCK_MONOTONIC, &probe) == 0)
    {
        clockChoice_ = 1;
        SetClockFunction(&QueryPerformanceMilliseconds);
    }
    else
    {
        // The fallback clock needs no timer-period request here.
        clockChoice_ = 0;
        SetClockFunction(&MultimediaMilliseconds);
    }
}

Startup::~Startup()
{
    if (g_guardCount.fetch_sub(1) != 1)
    {
        return;
    }

    delete g_whitespace;
    g_whitespace = nullptr;

    // Threads allocate under the allocator mutex, so it can only go once they
    // have all ended. A thread that ignored its stop request keeps it alive:
    // the memory manager then stays locked rather than racing that thread.
    const bool threadsEnded = g_hooks.stopThreads == nullptr || g_hooks.stopThreads();
    if (!threadsEnded)
    {
        return;
    }

    pthread_mutex_t* mutex = GetAllocatorMutex();
    if (mutex == nullptr)
    {
        return;
    }
    pthread_mutex_lock(mutex);
    SetAllocatorMutex(nullptr);
    pthread_mutex_unlock(mutex);
    // From here the memory manager runs without locking.
    if (g_destroyAllocatorMutex != nullptr)
    {
        g_destroyAllocatorMutex(mutex);
        g_destroyAllocatorMutex = nullptr;
    }
}

std::int32_t GetStartupCount()
{
    return g_guardCount.load();
}

const std::vector<char>* GetWhitespaceSet()
{
    return g_whitespace;
}

} // namespace Core
