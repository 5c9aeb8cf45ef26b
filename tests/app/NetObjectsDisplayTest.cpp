// Networked balls between two net_demo processes on loopback: a client
// joins an empty host, the host adds balls, moves them, removes some and
// switches levels; the client leaves and comes back, and asks (in vain) to
// remove one of the host's balls.
#include "NetDemoSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

namespace
{

using NetDemoTest::Clock;
using NetDemoTest::Line;
using NetDemoTest::Process;

constexpr double StartLimitMs = 20000.0;
// Generous: the programs run beside the whole suite, under the sanitizers.
constexpr double EventLimitMs = 60000.0;

double Between(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

bool Starts(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// "object O:I frame F X Y"
struct Sample
{
    std::string id;
    std::uint32_t frame = 0;
    double x = 0.0;
    double y = 0.0;
};

bool ReadSample(const std::string& text, Sample& sample)
{
    char id[32];
    unsigned frame = 0;
    if (std::sscanf(text.c_str(), "object %31s frame %u %lf %lf", id, &frame, &sample.x, &sample.y) != 4)
    {
        return false;
    }
    sample.id = id;
    sample.frame = frame;
    return true;
}

// The first line after `from` (an index into the lines) that `match` holds
// for; null when none has come yet.
const Line* After(const Process& process, std::size_t from, const std::function<bool(const std::string&)>& match)
{
    const auto& lines = process.GetLines();
    for (std::size_t i = from; i < lines.size(); ++i)
    {
        if (match(lines[i].text))
        {
            return &lines[i];
        }
    }
    return nullptr;
}

std::size_t IndexOf(const Process& process, const Line* line)
{
    return line != nullptr ? static_cast<std::size_t>(line - process.GetLines().data()) : 0;
}

class NetObjectsDisplayTest : public NetDemoTest::DemoFixture
{
protected:
    NetObjectsDisplayTest() : DemoFixture("180") {}

    // Waits for a line of `process` that `match` holds for, reading `other`
    // all along (so that neither stops at a full pipe).
    static const Line* Await(Process& process, Process& other,
                             const std::function<bool(const std::string&)>& match, double limitMs = EventLimitMs)
    {
        return process.WaitFor(match, limitMs, {&other});
    }

    // As Await, for a line after the first `from` lines.
    static const Line* AwaitAfter(Process& process, Process& other, std::size_t from,
                                  const std::function<bool(const std::string&)>& match)
    {
        std::size_t index = 0;
        return Await(process, other, [&](const std::string& l) { return index++ >= from && match(l); });
    }
};

TEST_F(NetObjectsDisplayTest, BallsReachAClientFollowTheHostAndGoWhereTheHostSends)
{
    // Host frames count from the client's join.
    auto host = Run({"--host", "balls", "--name", "H", "--after", "2", "--balls", "120:20", "--print-objects",
                     "180:480", "--remove", "540:5", "--switch", "1100:Court", "--balls", "1160:3"});
    const Line* hosted = host->WaitForPrefix("hosted ", StartLimitMs);
    ASSERT_NE(hosted, nullptr) << host->Transcript();
    const std::string address = hosted->text.substr(7);
    auto client = Run({"--join", address, "--name", "c", "--print-objects", "160:520", "--steal", "620", "--leave",
                       "700", "--rejoin", "30"});
    Process& h = *host;
    Process& c = *client;

    // The client follows the host to its arena and takes the (empty) list.
    ASSERT_NE(Await(c, h, [](const std::string& l) { return l == "object-list 0"; }), nullptr) << c.Transcript();
    EXPECT_NE(After(c, 0, [](const std::string& l) { return l == "level Arena"; }), nullptr);

    // 20 balls, all on the client within a second.
    const Line* added = Await(h, c, [](const std::string& l) { return Starts(l, "balls-added "); });
    ASSERT_NE(added, nullptr) << h.Transcript();
    ASSERT_EQ(added->text, "balls-added 20");
    const Line* arrived = Await(c, h, [](const std::string& l) { return l == "objects 20"; });
    ASSERT_NE(arrived, nullptr) << c.Transcript();
    EXPECT_LT(Between(added->when, arrived->when), 1000.0);

    // Five seconds of positions: every settled client copy lies within one
    // unit of the host's ball at the frame its state came from.
    ASSERT_NE(Await(h, c, [](const std::string& l) { return Starts(l, "removed "); }), nullptr) << h.Transcript();
    std::map<std::pair<std::string, std::uint32_t>, Sample> hostAt;
    for (const Line& line : h.GetLines())
    {
        Sample s;
        if (ReadSample(line.text, s))
        {
            hostAt[{s.id, s.frame}] = s;
        }
    }
    ASSERT_GE(hostAt.size(), 20u * 290u) << "a line a ball and frame, from frame 180 to 480";
    ASSERT_NE(Await(c, h, [](const std::string& l) { return l == "objects 15"; }), nullptr) << c.Transcript();
    std::map<std::string, std::vector<Sample>> seen; // per ball, in the client's frame order
    for (const Line& line : c.GetLines())
    {
        Sample s;
        if (ReadSample(line.text, s))
        {
            seen[s.id].push_back(s);
        }
    }
    ASSERT_EQ(seen.size(), 20u);
    std::size_t compared = 0;
    double worst = 0.0;
    for (const auto& [id, samples] : seen)
    {
        for (std::size_t i = 3; i < samples.size(); ++i)
        {
            const auto host0 = hostAt.find({id, samples[i].frame});
            const auto host1 = hostAt.find({id, samples[i].frame - 1});
            if (host0 == hostAt.end() || host1 == hostAt.end())
            {
                continue;
            }
            // Settled: one new state a frame for the last three frames, and
            // the host's ball made an ordinary step (no stalled frame).
            bool settled = std::hypot(host0->second.x - host1->second.x, host0->second.y - host1->second.y) < 0.5;
            for (std::size_t k = i - 2; k <= i; ++k)
            {
                settled = settled && samples[k].frame == samples[k - 1].frame + 1;
            }
            if (!settled)
            {
                continue;
            }
            const double off = std::hypot(samples[i].x - host0->second.x, samples[i].y - host0->second.y);
            worst = std::max(worst, off);
            EXPECT_LE(off, 1.0) << id << " at host frame " << samples[i].frame;
            ++compared;
        }
    }
    std::printf("compared %zu client positions, worst %.3f units\n", compared, worst);
    EXPECT_GE(compared, 1000u) << "too few settled frames to judge";

    // Five removed: gone on the client within a few frames.
    const Line* lastRemoved = nullptr;
    for (const Line& line : h.GetLines())
    {
        lastRemoved = Starts(line.text, "removed ") ? &line : lastRemoved;
    }
    const Line* gone = After(c, 0, [](const std::string& l) { return l == "objects 15"; });
    ASSERT_NE(gone, nullptr);
    EXPECT_LT(Between(lastRemoved->when, gone->when), 1000.0);

    // The client's request to remove a host's ball changes nothing.
    const Line* asked = Await(c, h, [](const std::string& l) { return Starts(l, "asked-removal "); });
    ASSERT_NE(asked, nullptr) << c.Transcript();
    EXPECT_TRUE(Starts(asked->text, "asked-removal 1:")) << asked->text;
    const std::size_t askedAt = IndexOf(c, asked);

    // It leaves, comes back and gets the 15 that remain.
    const Line* ended = Await(c, h, [](const std::string& l) { return l == "session-ended"; });
    ASSERT_NE(ended, nullptr) << c.Transcript();
    EXPECT_EQ(After(c, askedAt, [](const std::string& l) { return Starts(l, "objects 14"); }), nullptr)
        << c.Transcript();
    const std::size_t endedAt = IndexOf(c, ended);
    ASSERT_NE(AwaitAfter(c, h, endedAt, [](const std::string& l) { return Starts(l, "joined "); }), nullptr)
        << c.Transcript();
    const Line* relisted = AwaitAfter(c, h, endedAt, [](const std::string& l) { return Starts(l, "object-list "); });
    ASSERT_NE(relisted, nullptr) << c.Transcript();
    EXPECT_EQ(relisted->text, "object-list 15");
    EXPECT_FALSE(h.Has("objects 14")) << "the host kept its ball";

    // The host switches levels: the client follows, asks again and gets the
    // new level's list, then the host's new balls.
    const Line* court = Await(c, h, [](const std::string& l) { return l == "level Court"; });
    ASSERT_NE(court, nullptr) << c.Transcript();
    const std::size_t courtAt = IndexOf(c, court);
    ASSERT_NE(AwaitAfter(c, h, courtAt, [](const std::string& l) { return Starts(l, "object-list "); }), nullptr)
        << c.Transcript();
    EXPECT_NE(AwaitAfter(c, h, courtAt, [](const std::string& l) { return l == "objects 3"; }), nullptr)
        << c.Transcript();
    EXPECT_TRUE(h.Has("objects 0")) << "the host's old balls went with its old level";

    host->Signal(SIGTERM);
    client->Signal(SIGTERM);
    EXPECT_EQ(host->Wait(EventLimitMs), 0) << h.Transcript();
    EXPECT_EQ(client->Wait(EventLimitMs), 0) << c.Transcript();
}

} // namespace
