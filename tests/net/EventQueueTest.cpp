#include "net/Network_EventQueue.h"
#include "net/Network_Message.h"

#include "NetTestSupport.h"

#include "core/Core_Clock.h"
#include "core/Core_Startup.h"
#include "pal/PAL_ThreadManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace
{

using Network::EventQueue;
using Network::SocketEvent;

SocketEvent DataEvent(std::uint32_t id)
{
    const NetTest::Bytes bytes = NetTest::MakeMessage(id, {1, 2});
    std::uint8_t* buffer = Network::AllocateMessage(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer);
    SocketEvent event;
    event.kind = Network::MessageReceived;
    event.AttachMessage(buffer, static_cast<std::uint32_t>(bytes.size()));
    return event;
}

class EventQueueTest : public ::testing::Test
{
protected:
    Core::Startup guard_;
    PAL::ThreadManager threads_;
};

TEST_F(EventQueueTest, PumpedQueueDispatchesInOrderAndFreesUnlessTheHandlerKeeps)
{
    std::vector<std::uint32_t> ids;
    std::uint8_t* kept = nullptr;
    EventQueue queue;
    ASSERT_TRUE(queue.Start(
        threads_,
        [&](SocketEvent& event)
        {
            ids.push_back(event.messageId);
            if (event.messageId == 2)
            {
                kept = event.message;
                return false;
            }
            return true;
        },
        false, 0, 0, 0));
    EXPECT_EQ(queue.GetMode(), EventQueue::Pumped);
    for (std::uint32_t id = 1; id <= 3; ++id)
    {
        ASSERT_TRUE(queue.Push(DataEvent(id)));
    }
    SocketEvent other;
    other.kind = Network::ChannelCreated;
    ASSERT_TRUE(queue.Push(other));
    std::uint32_t dispatched = 0;
    std::uint32_t remaining = 9;
    queue.Pump(1000, 0, &dispatched, &remaining);
    EXPECT_EQ(dispatched, 4u);
    EXPECT_EQ(remaining, 0u);
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{1, 2, 3, Network::NoMessageId}));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(Network::ReadHeader(kept).id, 2u);
    Network::FreeMessage(kept);

    queue.Stop();
    SocketEvent late = DataEvent(4);
    EXPECT_FALSE(queue.Push(late));
    late.FreeMessage();
}

TEST_F(EventQueueTest, PumpStopsAtItsTimeLimitWithEventsLeft)
{
    EventQueue queue;
    ASSERT_TRUE(queue.Start(
        threads_,
        [](SocketEvent&)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return true;
        },
        false, 0, 0, 0));
    for (std::uint32_t id = 0; id < 10; ++id)
    {
        ASSERT_TRUE(queue.Push(DataEvent(id)));
    }
    std::uint32_t dispatched = 0;
    std::uint32_t remaining = 0;
    queue.Pump(30, 0, &dispatched, &remaining);
    EXPECT_GE(dispatched, 1u);
    EXPECT_LT(dispatched, 10u);
    EXPECT_EQ(dispatched + remaining, 10u);
    queue.DispatchRemaining();
    EXPECT_EQ(queue.GetQueued(), 0u);
}

TEST_F(EventQueueTest, ThreadedModesDispatchEveryEvent)
{
    struct Case
    {
        std::uint32_t maxThreads;
        EventQueue::Mode mode;
    };
    for (const Case& c : {Case{0, EventQueue::Dispatcher}, Case{3, EventQueue::ThreadPerEvent}})
    {
        std::mutex mutex;
        std::vector<std::uint32_t> ids;
        EventQueue queue;
        ASSERT_TRUE(queue.Start(
            threads_,
            [&](SocketEvent& event)
            {
                std::lock_guard<std::mutex> lock(mutex);
                ids.push_back(event.messageId);
                return true;
            },
            true, c.maxThreads, 0, 1));
        EXPECT_EQ(queue.GetMode(), c.mode);
        for (std::uint32_t id = 0; id < 50; ++id)
        {
            ASSERT_TRUE(queue.Push(DataEvent(id)));
        }
        const double start = Core::GetMilliseconds();
        for (;;)
        {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (ids.size() == 50 || Core::GetMilliseconds() - start > 10000)
                {
                    break;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        queue.Stop();
        std::lock_guard<std::mutex> lock(mutex);
        ASSERT_EQ(ids.size(), 50u);
        if (c.mode == EventQueue::Dispatcher)
        {
            for (std::uint32_t id = 0; id < 50; ++id)
            {
                EXPECT_EQ(ids[id], id);
            }
        }
    }
}

} // namespace
