#include "SessionSupport.h"

#include <dirent.h>

namespace
{

using NetTest::Recorder;
using NetTest::SessionTest;

std::size_t CountEntries(const char* folder)
{
    std::size_t count = 0;
    DIR* directory = opendir(folder);
    if (directory == nullptr)
    {
        return 0;
    }
    while (readdir(directory) != nullptr)
    {
        ++count;
    }
    closedir(directory);
    return count;
}

using NetworkCycles = SessionTest;

TEST_F(NetworkCycles, CreateAndShutdownLeaveNoThreadDescriptorOrObjectBehind)
{
    Recorder& recorder = Rec();
    recorder.recordData = false;
    // One cycle first, so that lazily made process-wide state is in place.
    for (int warm = 0; warm < 2; ++warm)
    {
        Network::Zib_Session* session = Open(recorder);
        ASSERT_NE(session, nullptr);
        manager_.DestroySession(session);
    }
    const std::size_t threads = CountEntries("/proc/self/task");
    const std::size_t descriptors = CountEntries("/proc/self/fd");
    const std::int32_t objects = Core::GetLiveObjectCount();
    for (int cycle = 0; cycle < 1000; ++cycle)
    {
        Network::Zib_Session* session = Open(recorder);
        ASSERT_NE(session, nullptr);
        ASSERT_TRUE(session->OpenHost(Loopback(), 4));
        ASSERT_TRUE(session->ListenForBroadcasts(0));
        ASSERT_NE(session->CreateChannel(4, Network::DatagramSocket, Loopback(), Network::WatchedFlag, 64),
                  nullptr);
        ASSERT_TRUE(session->StartBroadcast(ChannelAddress(session, 1).GetPort(), 1, 250, 1, "hi", 2, 0));
        ASSERT_TRUE(manager_.DestroySession(session));
        recorder.events.clear();
    }
    // A detached thread has left its function before it is gone from the
    // task list; give the last ones a bounded moment.
    const double start = Core::GetMilliseconds();
    while (CountEntries("/proc/self/task") > threads && Core::GetMilliseconds() - start < 5000.0)
    {
        PAL::Thread::Sleep(1);
    }
    EXPECT_EQ(CountEntries("/proc/self/task"), threads);
    EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
    EXPECT_EQ(Core::GetLiveObjectCount(), objects);
}

} // namespace
