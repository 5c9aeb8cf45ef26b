#include "net/Network_Message.h"

#include "NetTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

namespace
{

using NetTest::Bytes;
using NetTest::MakeMessage;
using NetTest::ScriptedSource;
using Network::OwnedMessage;
using Network::StreamReader;

// Feeds the reader every chunk of the script, one read per chunk, and
// collects what comes out.
struct Feed
{
    std::vector<Bytes> messages;
    std::vector<std::size_t> emittedAtRead;
    StreamReader::Result last = StreamReader::Result::Open;
};

Feed FeedChunks(const std::vector<Bytes>& chunks)
{
    ScriptedSource source(chunks);
    StreamReader reader;
    Feed feed;
    for (std::size_t read = 0; read < chunks.size() && feed.last == StreamReader::Result::Open; ++read)
    {
        std::vector<OwnedMessage> out;
        feed.last = reader.Read(source, out);
        for (OwnedMessage& message : out)
        {
            feed.messages.emplace_back(message.data, message.data + message.length);
            feed.emittedAtRead.push_back(read);
        }
        Network::FreeMessages(out);
    }
    return feed;
}

TEST(Framing, HeaderIsLittleEndianIdThenTotalLength)
{
    const Bytes message = MakeMessage(0x04030201u, {0xAA, 0xBB});
    const Bytes expected = {0x01, 0x02, 0x03, 0x04, 10, 0, 0, 0, 0xAA, 0xBB};
    EXPECT_EQ(message, expected);
    const Network::MessageHeader header = Network::ReadHeader(message.data());
    EXPECT_EQ(header.id, 0x04030201u);
    EXPECT_EQ(header.length, 10u);
}

TEST(Framing, HeaderSplitAcrossReadsCompletesOnTheNext)
{
    const Bytes message = MakeMessage(7, {1, 2, 3});
    const Feed feed =
        FeedChunks({Bytes(message.begin(), message.begin() + 5), Bytes(message.begin() + 5, message.end())});
    ASSERT_EQ(feed.messages.size(), 1u);
    EXPECT_EQ(feed.messages[0], message);
    EXPECT_EQ(feed.emittedAtRead[0], 1u);
}

TEST(Framing, EmptyPayloadAndSeveralMessagesInOneReadComeOutInOrder)
{
    // Ids the receiver does not know pass unchanged, the all-ones one too.
    const std::vector<Bytes> messages = {MakeMessage(0xFFFFFFFFu, {}), MakeMessage(3, {9}),
                                         MakeMessage(0x12345678u, Bytes(300, 0x5A)), MakeMessage(0, {})};
    Bytes all;
    for (const Bytes& message : messages)
    {
        all.insert(all.end(), message.begin(), message.end());
    }
    const Feed feed = FeedChunks({all});
    EXPECT_EQ(feed.messages, messages);
    EXPECT_EQ(feed.last, StreamReader::Result::Open);
}

TEST(Framing, EveryByteInItsOwnReadGivesTheSameMessages)
{
    const std::vector<Bytes> messages = {MakeMessage(1, {1, 2}), MakeMessage(2, {}),
                                         MakeMessage(3, Bytes(20, 3))};
    std::vector<Bytes> chunks;
    for (const Bytes& message : messages)
    {
        for (std::uint8_t byte : message)
        {
            chunks.push_back({byte});
        }
    }
    EXPECT_EQ(FeedChunks(chunks).messages, messages);
}

TEST(Framing, ImpossibleLengthsCloseTheConnection)
{
    struct Case
    {
        std::uint32_t length;
        const char* why;
    };
    const Case cases[] = {
        {0, "shorter than its header"},
        {7, "shorter than its header"},
        {Network::MaxMessageLength + 1, "above the cap"},
        {0xFFFFFFFFu, "above the cap"},
    };
    for (const Case& c : cases)
    {
        Bytes bad(8, 0);
        Network::WriteHeader(bad.data(), 5, c.length);
        // A good message ahead of the bad one still comes out.
        Bytes stream = MakeMessage(4, {1});
        stream.insert(stream.end(), bad.begin(), bad.end());
        const Feed feed = FeedChunks({stream, MakeMessage(6, {})});
        EXPECT_EQ(feed.last, StreamReader::Result::Closed) << c.length << " " << c.why;
        ASSERT_EQ(feed.messages.size(), 1u) << c.length;
        EXPECT_EQ(feed.messages[0], MakeMessage(4, {1}));
    }
}

TEST(Framing, ClosedAndResetPeersEndTheReadWhileNothingWaitingKeepsItOpen)
{
    struct Case
    {
        long result;
        int error;
        StreamReader::Result expected;
    };
    const Case cases[] = {
        {0, 0, StreamReader::Result::Closed},
        {-1, ECONNRESET, StreamReader::Result::Closed},
        {-1, ECONNABORTED, StreamReader::Result::Closed},
        {-1, EPIPE, StreamReader::Result::Closed},
        {-1, EAGAIN, StreamReader::Result::Open},
    };
    for (const Case& c : cases)
    {
        ScriptedSource source({});
        source.Fail(c.result, c.error);
        StreamReader reader;
        std::vector<OwnedMessage> out;
        EXPECT_EQ(reader.Read(source, out), c.expected) << c.error;
        EXPECT_TRUE(out.empty());
    }
}

TEST(Framing, LargestMessageAssemblesAndTheBufferStaysBounded)
{
    const Bytes big = MakeMessage(11, Bytes(Network::MaxMessageLength - 8, 0x33));
    Bytes stream = big;
    const Bytes small = MakeMessage(12, {1, 2, 3});
    stream.insert(stream.end(), small.begin(), small.end());
    std::vector<Bytes> chunks;
    for (std::size_t at = 0; at < stream.size(); at += 100000)
    {
        chunks.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                            stream.begin() +
                                static_cast<std::ptrdiff_t>(std::min(stream.size(), at + 100000)));
    }
    ScriptedSource source(chunks);
    StreamReader reader;
    std::vector<Bytes> messages;
    for (std::size_t i = 0; i < chunks.size(); ++i)
    {
        std::vector<OwnedMessage> out;
        ASSERT_EQ(reader.Read(source, out), StreamReader::Result::Open);
        for (OwnedMessage& message : out)
        {
            messages.emplace_back(message.data, message.data + message.length);
        }
        Network::FreeMessages(out);
        EXPECT_LE(reader.GetCapacity(), 2u * Network::MaxMessageLength);
    }
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], big);
    EXPECT_EQ(messages[1], small);
    EXPECT_EQ(reader.GetPending(), 0u);
}

TEST(Framing, DatagramsAreKeptOnlyWhenTheirHeaderLengthIsTheirSize)
{
    const Bytes good = MakeMessage(9, {4, 5, 6});
    OwnedMessage copy = Network::CopyDatagram(good.data(), good.size());
    ASSERT_NE(copy.data, nullptr);
    EXPECT_EQ(Bytes(copy.data, copy.data + copy.length), good);
    Network::FreeMessage(copy.data);

    Bytes lying = good;
    Network::WriteHeader(lying.data(), 9, 4000);
    const Bytes cases[] = {Bytes{}, Bytes(good.begin(), good.begin() + 7), lying,
                           Bytes(good.begin(), good.end() - 1)};
    for (const Bytes& bad : cases)
    {
        EXPECT_EQ(Network::CopyDatagram(bad.data(), bad.size()).data, nullptr) << bad.size();
    }
}

TEST(Framing, DatagramAndStreamMessagesWithTheSameContentAreIdentical)
{
    const Bytes payload = {10, 20, 30, 40};
    const Bytes built = MakeMessage(77, payload);
    OwnedMessage datagram = Network::CopyDatagram(built.data(), built.size());
    const Feed stream = FeedChunks({built});
    ASSERT_NE(datagram.data, nullptr);
    ASSERT_EQ(stream.messages.size(), 1u);
    EXPECT_EQ(Bytes(datagram.data, datagram.data + datagram.length), stream.messages[0]);
    Network::FreeMessage(datagram.data);
}

} // namespace
