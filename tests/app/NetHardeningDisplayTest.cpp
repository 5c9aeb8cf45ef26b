// A host under load: a client joining and leaving over and over, and a
// flood of malformed datagrams and stream messages while a well-behaved
// client keeps talking to it. The counts are smaller in the sanitizer tree.
#include "NetDemoSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{

using NetDemoTest::Process;

constexpr double StartLimitMs = 20000.0;
constexpr double EventLimitMs = 15000.0;

// "report players=P fds=F objects=O ..." -> the value of `key`.
long ReportValue(const std::string& report, const std::string& key)
{
    const std::size_t at = report.find(" " + key + "=");
    return at == std::string::npos ? -1 : std::atol(report.c_str() + at + key.size() + 2);
}

class NetHardeningDisplayTest : public NetDemoTest::DemoFixture
{
protected:
    NetHardeningDisplayTest() : DemoFixture("300") {}

    std::string Report(Process& host)
    {
        const std::size_t before = host.GetLines().size();
        host.Signal(SIGUSR1);
        const NetDemoTest::Line* line =
            host.WaitFor([&, seen = std::size_t{0}](const std::string& text) mutable
                         { return ++seen > before && text.rfind("report ", 0) == 0; },
                         EventLimitMs);
        return line != nullptr ? line->text : std::string();
    }
};

TEST_F(NetHardeningDisplayTest, AHostSurvivesAClientJoiningAndLeavingOverAndOver)
{
    // Room for the players whose leaving the host has not seen yet.
    auto host = Run({"--host", "revolving", "--name", "H", "--fps", "0", "--max", "64"});
    const NetDemoTest::Line* hosted = host->WaitForPrefix("hosted ", StartLimitMs);
    ASSERT_NE(hosted, nullptr) << host->Transcript();
    const std::string address = hosted->text.substr(7);

    // A few cycles first, so that what is made once per process exists.
    auto warmUp = Run({"--join", address, "--name", "c", "--cycles", "3", "--fps", "0"});
    EXPECT_EQ(warmUp->Wait(StartLimitMs + EventLimitMs), 0) << warmUp->Transcript();
    host->Drain(500.0);
    const std::string before = Report(*host);
    ASSERT_EQ(ReportValue(before, "players"), 1) << host->Transcript();

    auto cycler =
        Run({"--join", address, "--name", "c", "--cycles", std::to_string(NET_CYCLES), "--fps", "0"});
    // The host prints a few lines a cycle: they are read all along, or it
    // would stop at a full pipe.
    EXPECT_NE(cycler->WaitForLine("cycles-done " + std::to_string(NET_CYCLES), 240000.0, {host.get()}), nullptr)
        << cycler->Transcript();
    EXPECT_EQ(cycler->Wait(EventLimitMs), 0);
    host->Drain(1000.0);
    const std::string after = Report(*host);
    EXPECT_EQ(ReportValue(after, "players"), 1) << after;
    EXPECT_EQ(ReportValue(after, "fds"), ReportValue(before, "fds")) << before << "\n" << after;
    EXPECT_EQ(ReportValue(after, "objects"), ReportValue(before, "objects")) << before << "\n" << after;
    host->Signal(SIGTERM);
    EXPECT_EQ(host->Wait(EventLimitMs), 0);
}

// Sends junk to the host: datagrams to its datagram port and messages on
// stream connections, with random ids 0 to 30, lengths that lie, payloads
// of random bytes and strings cut before their NUL.
class Flood
{
public:
    Flood(const std::string& hostAndPort, std::uint32_t seed) : state_(seed)
    {
        const std::size_t colon = hostAndPort.rfind(':');
        target_.sin_family = AF_INET;
        target_.sin_port = htons(static_cast<std::uint16_t>(std::atoi(hostAndPort.c_str() + colon + 1)));
        inet_pton(AF_INET, hostAndPort.substr(0, colon).c_str(), &target_.sin_addr);
        datagram_ = socket(AF_INET, SOCK_DGRAM, 0);
    }

    ~Flood()
    {
        close(datagram_);
        if (stream_ >= 0)
        {
            close(stream_);
        }
    }

    void Send()
    {
        std::uint8_t message[96];
        const std::uint32_t payload = Next() % 88;
        const std::uint32_t id = Next() % 31;
        // A third of the headers lie about the length.
        std::uint32_t length = payload + 8;
        if (Next() % 3 == 0)
        {
            length = Next() % 4 == 0 ? Next() : Next() % 200;
        }
        std::memcpy(message, &id, 4);
        std::memcpy(message + 4, &length, 4);
        for (std::uint32_t i = 0; i < payload; ++i)
        {
            // Mostly printable bytes: strings that run to the end unfinished.
            message[8 + i] = Next() % 5 == 0 ? static_cast<std::uint8_t>(Next())
                                             : static_cast<std::uint8_t>('a' + Next() % 26);
        }
        if (Next() % 2 == 0)
        {
            sendto(datagram_, message, payload + 8, MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&target_),
                   sizeof target_);
            return;
        }
        if (stream_ < 0)
        {
            stream_ = socket(AF_INET, SOCK_STREAM, 0);
            if (connect(stream_, reinterpret_cast<const sockaddr*>(&target_), sizeof target_) != 0)
            {
                close(stream_);
                stream_ = -1;
                return;
            }
        }
        if (send(stream_, message, payload + 8, MSG_NOSIGNAL | MSG_DONTWAIT) < 0)
        {
            // The host closed it: a lying header ends a connection.
            close(stream_);
            stream_ = -1;
        }
    }

private:
    std::uint32_t Next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }

    std::uint32_t state_;
    sockaddr_in target_{};
    int datagram_ = -1;
    int stream_ = -1;
};

TEST_F(NetHardeningDisplayTest, AHostKeepsServingItsPlayerThroughAFloodOfMalformedMessages)
{
    auto host = Run({"--host", "stormy", "--name", "H", "--max", "8", "--chat", "10"});
    const NetDemoTest::Line* hosted = host->WaitForPrefix("hosted ", StartLimitMs);
    ASSERT_NE(hosted, nullptr) << host->Transcript();
    const std::string address = hosted->text.substr(7);
    auto client = Run({"--join", address, "--name", "c", "--chat", "10"});
    ASSERT_NE(client->WaitForPrefix("joined ", StartLimitMs), nullptr) << client->Transcript();
    ASSERT_NE(host->WaitForLine("text c: chat 2", EventLimitMs), nullptr) << host->Transcript();

    const std::size_t linesBefore = host->GetLines().size();
    Flood flood(address, 12345);
    for (int i = 0; i < NET_FLOOD; ++i)
    {
        flood.Send();
        if (i % 200 == 0)
        {
            // Spread over a second or two, reading the demos' lines so that
            // they never block on a full pipe.
            host->Drain(1.0);
            client->Drain(0.0);
        }
    }
    std::size_t textsDuringFlood = 0;
    for (std::size_t i = linesBefore; i < host->GetLines().size(); ++i)
    {
        textsDuringFlood += host->GetLines()[i].text.rfind("text c: chat ", 0) == 0 ? 1 : 0;
    }
    EXPECT_GT(textsDuringFlood, 0u) << "the client was heard while the flood went on";
    // The texts after the flood still arrive, both ways.
    host->Drain(200.0);
    client->Drain(0.0);
    std::size_t lastSeen = 0;
    for (const NetDemoTest::Line& line : host->GetLines())
    {
        if (line.text.rfind("text c: chat ", 0) == 0)
        {
            lastSeen = std::max<std::size_t>(lastSeen, std::strtoul(line.text.c_str() + 13, nullptr, 10));
        }
    }
    EXPECT_NE(host->WaitForLine("text c: chat " + std::to_string(lastSeen + 3), EventLimitMs), nullptr)
        << host->Transcript();
    EXPECT_NE(
        client->WaitFor([](const std::string& l) { return l.rfind("text H: chat ", 0) == 0; }, EventLimitMs),
        nullptr);
    EXPECT_FALSE(client->HasPrefix("session-ended"));
    host->Signal(SIGTERM);
    EXPECT_EQ(host->Wait(EventLimitMs), 0) << "no crash, no sanitizer finding";
    client->Signal(SIGTERM);
    EXPECT_EQ(client->Wait(EventLimitMs), 0);
}

} // namespace
