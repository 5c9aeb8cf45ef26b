#include "NetFuzz.h"

#include <gtest/gtest.h>

namespace
{

TEST(NetworkFuzz, SeededInputsEndInMessagesWaitingOrAClosedConnection)
{
    std::mt19937 random(20261210);
    NetTest::FuzzStats stats;
    for (int i = 0; i < 100000; ++i)
    {
        const NetTest::Bytes input = NetTest::MakeFuzzInput(random);
        NetTest::FeedStream(input, random, stats);
        NetTest::FeedDatagram(input, stats);
    }
    // Every kind of outcome happened, and no read held more than one
    // message and one read's worth of bytes.
    EXPECT_GT(stats.messages, 0u);
    EXPECT_GT(stats.closed, 0u);
    EXPECT_GT(stats.waiting, 0u);
    EXPECT_GT(stats.datagramsKept, 0u);
    EXPECT_LE(stats.largestBuffer, 2u * Network::MaxMessageLength);
}

} // namespace
