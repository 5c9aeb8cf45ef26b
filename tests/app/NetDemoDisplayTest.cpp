// Two or more net_demo processes on loopback: discovery, joining, texts,
// input, pings, leaving and refusals as the players see them.
#include "NetDemoSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace
{

using NetDemoTest::Clock;
using NetDemoTest::Process;

double Between(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Generous limits: a process under the sanitizers starts slowly.
constexpr double StartLimitMs = 20000.0;
// Generous: the programs run beside the whole suite, several at once, under
// the sanitizers on a machine that may have two cores.
constexpr double EventLimitMs = 30000.0;

class NetDemoDisplayTest : public NetDemoTest::DemoFixture
{
protected:
    NetDemoDisplayTest() : DemoFixture("60") {}

    // The host's "HOST:PORT", once it hosts.
    static std::string HostedAt(Process& host)
    {
        const NetDemoTest::Line* hosted = host.WaitForPrefix("hosted ", StartLimitMs);
        return hosted != nullptr ? hosted->text.substr(7) : std::string();
    }
};

TEST_F(NetDemoDisplayTest, AClientFindsASessionWithinASecondAndDropsItHalfASecondAfterItsHostStops)
{
    auto client = Run({"--name", "seer"});
    ASSERT_NE(client->WaitForPrefix("players", StartLimitMs), nullptr) << client->Transcript();
    auto host = Run({"--host", "arena", "--name", "H", "--max", "3", "--password", "pw"});
    const NetDemoTest::Line* hosted = host->WaitForPrefix("hosted ", StartLimitMs);
    ASSERT_NE(hosted, nullptr) << host->Transcript();
    const NetDemoTest::Line* found = client->WaitForPrefix("session-found arena", EventLimitMs);
    ASSERT_NE(found, nullptr) << client->Transcript();
    EXPECT_LT(Between(hosted->when, found->when), 1000.0);
    EXPECT_EQ(found->text.substr(0, found->text.find(" at ")),
              "session-found arena 1/3 password=1 " + hosted->text.substr(7));

    host->Signal(SIGTERM);
    const Clock::time_point stopped = Clock::now();
    EXPECT_EQ(host->Wait(EventLimitMs), 0);
    const NetDemoTest::Line* lost = client->WaitForLine("session-lost arena", EventLimitMs);
    ASSERT_NE(lost, nullptr) << client->Transcript();
    EXPECT_GT(Between(stopped, lost->when), 200.0) << "kept for half a second after the last broadcast";
    EXPECT_LT(Between(stopped, lost->when), 3000.0) << "and dropped soon after that";
    client->Signal(SIGTERM);
    EXPECT_EQ(client->Wait(EventLimitMs), 0);
}

TEST_F(NetDemoDisplayTest, ThreePlayersJoinTalkTypeAndLeave)
{
    auto host = Run({"--host", "arena", "--name", "H", "--max", "4", "--after", "3"});
    const std::string address = HostedAt(*host);
    ASSERT_FALSE(address.empty()) << host->Transcript();
    // Actions count from the moment all three are in the session.
    auto ann = Run({"--join", "first", "--name", "ann", "--after", "3", "--say", "30:hello all", "--press",
                    "20:65", "--move", "25:100,50", "--leave", "200"});
    ASSERT_NE(ann->WaitForPrefix("joined ", StartLimitMs), nullptr) << ann->Transcript();
    auto bob = Run({"--join", "first", "--name", "bob", "--after", "3", "--forge", "40:I am ann"});
    ASSERT_NE(bob->WaitForPrefix("joined ", StartLimitMs), nullptr) << bob->Transcript();

    // The joins: a new id, type 1, type 4 for every player on every side,
    // the same list in id order everywhere.
    for (Process* p : {host.get(), ann.get(), bob.get()})
    {
        EXPECT_NE(p->WaitForLine("players 1:H 2:ann 3:bob", EventLimitMs), nullptr) << p->Transcript();
    }
    EXPECT_TRUE(ann->Has("join-reply 0"));
    EXPECT_TRUE(ann->Has("joined " + address));
    for (const char* added : {"player-added 1 H", "player-added 2 ann", "player-added 3 bob"})
    {
        EXPECT_TRUE(host->Has(added)) << added;
    }
    // A joining player is added before the host gives it its id.
    for (const char* added : {"player-added 1 H", "player-added 2 ann", "player-added 0 bob"})
    {
        EXPECT_TRUE(bob->Has(added)) << added;
    }
    EXPECT_TRUE(ann->Has("player-added 0 ann"));
    EXPECT_TRUE(ann->Has("player-added 1 H"));
    EXPECT_NE(ann->WaitForLine("player-added 3 bob", EventLimitMs), nullptr);

    // A text to everyone reaches the others and comes back to its sender.
    for (Process* p : {host.get(), bob.get(), ann.get()})
    {
        EXPECT_NE(p->WaitForLine("text ann: hello all", EventLimitMs), nullptr) << p->Transcript();
    }
    // Input typed on ann's machine arrives in ann's devices on the host.
    EXPECT_NE(
        host->WaitFor([](const std::string& l) { return l.rfind("input 2 key ", 0) == 0; }, EventLimitMs),
        nullptr)
        << host->Transcript();
    EXPECT_NE(host->WaitFor([](const std::string& l) { return l.find("mouse 100 50") != std::string::npos; },
                            EventLimitMs),
              nullptr)
        << host->Transcript();

    // After 120 frames and more, every ping lies above 0 and below 50 ms.
    ASSERT_NE(bob->WaitForPrefix("forged", EventLimitMs), nullptr);
    host->Drain(2000.0);
    host->Signal(SIGUSR1);
    const NetDemoTest::Line* report = host->WaitForPrefix("report ", EventLimitMs);
    ASSERT_NE(report, nullptr);
    for (const char* key : {"ping2=", "ping3="})
    {
        const std::size_t at = report->text.find(key);
        ASSERT_NE(at, std::string::npos) << report->text;
        const double ping = std::atof(report->text.c_str() + at + 6);
        EXPECT_GT(ping, 0.0) << report->text;
        EXPECT_LT(ping, 50.0) << report->text;
    }
    // bob's text in ann's name was dropped by the host.
    EXPECT_FALSE(host->Has("text ann: I am ann"));
    EXPECT_FALSE(ann->Has("text ann: I am ann"));
    EXPECT_FALSE(bob->HasPrefix("text ann: I am"));

    // ann leaves: type 5 on the host and on bob.
    EXPECT_NE(host->WaitForLine("player-removed 2 ann", EventLimitMs), nullptr) << host->Transcript();
    EXPECT_NE(bob->WaitForLine("player-removed 2 ann", EventLimitMs), nullptr) << bob->Transcript();
    EXPECT_NE(ann->WaitForLine("session-ended", EventLimitMs), nullptr);

    // The host ends: type 8 on bob, who looks for sessions again and finds
    // the next host.
    host->Signal(SIGTERM);
    EXPECT_EQ(host->Wait(EventLimitMs), 0);
    EXPECT_NE(bob->WaitForLine("session-ended", EventLimitMs), nullptr) << bob->Transcript();
    auto next = Run({"--host", "again", "--name", "H2"});
    EXPECT_NE(bob->WaitForPrefix("session-found again", StartLimitMs), nullptr) << bob->Transcript();
    for (Process* p : {next.get(), ann.get(), bob.get()})
    {
        p->Signal(SIGTERM);
        EXPECT_EQ(p->Wait(EventLimitMs), 0);
    }
}

TEST_F(NetDemoDisplayTest, RefusedJoinsLeaveTheClientUnconnectedAndTheHostUnchanged)
{
    auto host = Run({"--host", "locked", "--name", "H", "--max", "2", "--password", "pw"});
    const std::string address = HostedAt(*host);
    ASSERT_FALSE(address.empty()) << host->Transcript();
    auto refusingHost = Run({"--host", "closed", "--name", "R", "--refuse", "yes"});
    const std::string refusingAddress = HostedAt(*refusingHost);
    ASSERT_FALSE(refusingAddress.empty()) << refusingHost->Transcript();

    const struct
    {
        const char* name;
        std::string address;
        const char* password;
        const char* reply;
    } cases[] = {
        {"wrong password", address, "nope", "join-reply -2"},
        {"right password", address, "pw", "join-reply 0"},
        {"full, also with a wrong password", address, "nope", "join-reply -1"},
        {"refused by the game", refusingAddress, "", "join-reply -4"},
    };
    std::vector<std::unique_ptr<Process>> joined;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto client = Run({"--join", c.address, "--name", "c", "--password", c.password});
        EXPECT_NE(client->WaitForLine(c.reply, StartLimitMs), nullptr) << client->Transcript();
        if (std::string(c.reply) == "join-reply 0")
        {
            EXPECT_NE(client->WaitForPrefix("joined ", EventLimitMs), nullptr);
            joined.push_back(std::move(client));
            continue;
        }
        EXPECT_NE(client->WaitForPrefix("join-failed", EventLimitMs), nullptr) << client->Transcript();
        client->Signal(SIGUSR1);
        const NetDemoTest::Line* report = client->WaitForPrefix("report ", EventLimitMs);
        ASSERT_NE(report, nullptr);
        EXPECT_EQ(report->text.rfind("report players=0 ", 0), 0u) << report->text;
        client->Signal(SIGTERM);
        EXPECT_EQ(client->Wait(EventLimitMs), 0);
        EXPECT_FALSE(client->HasPrefix("joined"));
    }
    for (Process* h : {host.get(), refusingHost.get()})
    {
        h->Signal(SIGUSR1);
        ASSERT_NE(h->WaitForPrefix("report ", EventLimitMs), nullptr);
    }
    EXPECT_NE(host->WaitForLine("players 1:H 2:c", EventLimitMs), nullptr) << host->Transcript();
    EXPECT_TRUE(host->HasPrefix("report players=2 "));
    EXPECT_TRUE(refusingHost->HasPrefix("report players=1 ")) << refusingHost->Transcript();
    EXPECT_FALSE(refusingHost->HasPrefix("player-added 2"));
}

TEST_F(NetDemoDisplayTest, AJoinToAPeerThatNeverAnswersFailsWithinItsDeadline)
{
    // This test accepts connections (through the backlog) and never answers.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string target = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    auto client = Run({"--join", target, "--name", "c", "--join-timeout", "1000"});
    const NetDemoTest::Line* failed = client->WaitForPrefix("join-failed after ", StartLimitMs);
    ASSERT_NE(failed, nullptr) << client->Transcript();
    const double took = std::atof(failed->text.c_str() + 18);
    EXPECT_GE(took, 900.0);
    EXPECT_LT(took, 3000.0);
    client->Signal(SIGTERM);
    EXPECT_EQ(client->Wait(EventLimitMs), 0);
    close(listener);
}

} // namespace
