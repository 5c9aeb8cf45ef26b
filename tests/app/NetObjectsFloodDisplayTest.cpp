// A net_demo client joined to a fake host (this test, on loopback) that
// hands it one ball and then floods it with malformed object messages
// (creations, removals, syncs and lists) on its connection and as
// datagrams. The client must neither crash nor stop following the host:
// a well-formed sync afterwards still moves its ball. The count is smaller
// in the sanitizer tree.
#include "NetDemoSupport.h"

#include "framework/Velkor_NetPlayer.h"
#include "framework/Velkor_NetWire.h"
#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_Sprite.h"
#include "net/Network_Message.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <thread>

namespace
{

using Bytes = std::vector<std::uint8_t>;
using NetDemoTest::Clock;
using NetDemoTest::MillisecondsSince;
using NetDemoTest::Process;

constexpr double StartLimitMs = 20000.0;
constexpr double EventLimitMs = 60000.0;

// The host side of one session, written by hand: a listening connection
// and a datagram socket on the same port, one client.
class FakeHost
{
public:
    FakeHost()
    {
        for (int attempt = 0; attempt < 20 && datagram_ < 0; ++attempt)
        {
            Open();
        }
    }

    ~FakeHost()
    {
        for (int handle : {listen_, connection_, datagram_})
        {
            if (handle >= 0)
            {
                close(handle);
            }
        }
    }

    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    bool IsOpen() const { return datagram_ >= 0; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    const sockaddr_in& HostAddress() const { return address_; }

    bool Accept(double limitMs)
    {
        pollfd watched{listen_, POLLIN, 0};
        if (poll(&watched, 1, static_cast<int>(limitMs)) != 1)
        {
            return false;
        }
        socklen_t length = sizeof client_;
        connection_ = accept(listen_, reinterpret_cast<sockaddr*>(&client_), &length);
        return connection_ >= 0;
    }

    // One framed message from the client; false when none came in time.
    bool Read(std::uint32_t& id, Bytes& payload, double limitMs)
    {
        std::uint8_t header[Network::HeaderSize];
        if (!ReadExactly(header, sizeof header, limitMs))
        {
            return false;
        }
        std::uint32_t length = 0;
        std::memcpy(&id, header, 4);
        std::memcpy(&length, header + 4, 4);
        if (length < Network::HeaderSize || length > (1u << 20))
        {
            return false;
        }
        payload.resize(length - Network::HeaderSize);
        return payload.empty() || ReadExactly(payload.data(), static_cast<std::uint32_t>(payload.size()), limitMs);
    }

    // Honestly framed: a lying header would end the session, and the
    // flood is about what the payloads say.
    bool SendStream(std::uint32_t id, const Bytes& payload)
    {
        const Bytes message = Frame(id, payload);
        std::size_t sent = 0;
        const Clock::time_point start = Clock::now();
        while (sent < message.size() && MillisecondsSince(start) < 10000.0)
        {
            pollfd watched{connection_, POLLOUT, 0};
            if (poll(&watched, 1, 100) != 1)
            {
                continue;
            }
            const ssize_t n = send(connection_, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
            if (n < 0)
            {
                return false;
            }
            sent += static_cast<std::size_t>(n);
        }
        return sent == message.size();
    }

    void SendDatagram(std::uint32_t id, const Bytes& payload)
    {
        const Bytes message = Frame(id, payload);
        sendto(datagram_, message.data(), message.size(), 0, reinterpret_cast<const sockaddr*>(&client_),
               sizeof client_);
    }

private:
    void Open()
    {
        listen_ = socket(AF_INET, SOCK_STREAM, 0);
        address_.sin_family = AF_INET;
        address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address_.sin_port = 0;
        socklen_t length = sizeof address_;
        if (bind(listen_, reinterpret_cast<sockaddr*>(&address_), sizeof address_) != 0 || listen(listen_, 4) != 0 ||
            getsockname(listen_, reinterpret_cast<sockaddr*>(&address_), &length) != 0)
        {
            close(listen_);
            listen_ = -1;
            return;
        }
        port_ = ntohs(address_.sin_port);
        // The client hears datagrams only from the host's own address.
        datagram_ = socket(AF_INET, SOCK_DGRAM, 0);
        if (bind(datagram_, reinterpret_cast<sockaddr*>(&address_), sizeof address_) != 0)
        {
            close(datagram_);
            close(listen_);
            datagram_ = listen_ = -1;
        }
    }

    static Bytes Frame(std::uint32_t id, const Bytes& payload)
    {
        const auto length = static_cast<std::uint32_t>(Network::HeaderSize + payload.size());
        Bytes message(Network::HeaderSize);
        std::memcpy(message.data(), &id, 4);
        std::memcpy(message.data() + 4, &length, 4);
        message.insert(message.end(), payload.begin(), payload.end());
        return message;
    }

    bool ReadExactly(std::uint8_t* bytes, std::uint32_t count, double limitMs)
    {
        const Clock::time_point start = Clock::now();
        std::uint32_t got = 0;
        while (got < count)
        {
            const double left = limitMs - MillisecondsSince(start);
            pollfd watched{connection_, POLLIN, 0};
            if (left <= 0.0 || poll(&watched, 1, static_cast<int>(left) + 1) != 1)
            {
                return false;
            }
            const ssize_t n = recv(connection_, bytes + got, count - got, 0);
            if (n <= 0)
            {
                return false;
            }
            got += static_cast<std::uint32_t>(n);
        }
        return true;
    }

    int listen_ = -1;
    int connection_ = -1;
    int datagram_ = -1;
    std::uint16_t port_ = 0;
    sockaddr_in address_{};
    sockaddr_in client_{};
};

Bytes Of(const Velkor::NetworkFile& file)
{
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

// A creation entry of a ball (the demo's template "Ball" is a sprite whose
// creation record is the sprite's) with identity (1, id).
Bytes Entry(std::uint32_t id, float x, float y)
{
    Core::RefPtr<Velkor::Sprite> ball(new Velkor::Sprite());
    ball->SetName("ball");
    ball->SetPosition(x, y);
    ball->SetNetworkID(new Velkor::NetObjectID(1, id, true));
    Velkor::NetworkFile file;
    file << std::uint32_t{0};
    Velkor::WriteNetworkString(file, "Ball");
    ball->NetworkSave(file);
    return Of(file);
}

Bytes List(const std::vector<Bytes>& entries)
{
    Bytes list(4, 0);
    list[0] = static_cast<std::uint8_t>(entries.size());
    for (const Bytes& entry : entries)
    {
        list.insert(list.end(), entry.begin(), entry.end());
    }
    return list;
}

// A ball's sync: the sprite's record, then the host frame it carries.
Bytes Sync(std::uint32_t id, float x, float y, std::uint32_t frame)
{
    Core::RefPtr<Velkor::Sprite> ball(new Velkor::Sprite());
    ball->SetName("ball");
    ball->SetPosition(x, y);
    Velkor::NetworkFile file;
    file << std::uint32_t{1} << std::uint32_t{1} << id;
    ball->NetworkSyncSend(file);
    file << frame;
    return Of(file);
}

class Damage
{
public:
    explicit Damage(std::uint32_t seed) : state_(seed) {}

    std::uint32_t Next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }

    // Cut short, bytes flipped, a length or count that lies, or noise.
    Bytes Apply(Bytes payload)
    {
        switch (Next() % 4)
        {
        case 0:
            payload.resize(Next() % payload.size());
            break;
        case 1:
            for (std::uint32_t n = 1 + Next() % 4; n > 0; --n)
            {
                payload[Next() % payload.size()] ^= static_cast<std::uint8_t>(1 + Next() % 255);
            }
            break;
        case 2:
        {
            // A u32 field (a count, a name length, an id) at a 4-byte step
            // becomes large.
            const std::size_t at = (Next() % (payload.size() / 4)) * 4;
            const std::uint32_t lie = Next() % 2 == 0 ? 0xFFFFFFF0u : 1000u + Next() % 100000u;
            std::memcpy(payload.data() + at, &lie, 4);
            break;
        }
        default:
            payload.resize(Next() % 96);
            for (std::uint8_t& byte : payload)
            {
                byte = static_cast<std::uint8_t>(Next());
            }
            break;
        }
        return payload;
    }

private:
    std::uint32_t state_;
};

class NetObjectsFloodDisplayTest : public NetDemoTest::DemoFixture
{
protected:
    NetObjectsFloodDisplayTest() : DemoFixture("300") {}
};

TEST_F(NetObjectsFloodDisplayTest, AClientKeepsFollowingItsHostThroughAFloodOfMalformedObjectMessages)
{
    FakeHost host;
    ASSERT_TRUE(host.IsOpen());
    const std::unique_ptr<Process> run = Run({"--join", host.Address(), "--name", "c", "--print-objects", "1:1000000"});
    Process& client = *run;

    // The join: the reply with the client's id and the host's player record.
    ASSERT_TRUE(host.Accept(StartLimitMs)) << client.Transcript();
    std::uint32_t id = 0;
    Bytes payload;
    ASSERT_TRUE(host.Read(id, payload, StartLimitMs));
    ASSERT_EQ(id, Velkor::JoinRequestMessage);
    Bytes bytes;
    Velkor::PayloadWriter writer(bytes);
    writer.I32(5);
    ASSERT_TRUE(host.SendStream(Velkor::JoinReplyMessage, bytes));
    bytes.clear();
    writer.U32(1);
    writer.U8(1);
    writer.Bytes(&host.HostAddress(), sizeof(sockaddr_in));
    writer.CString("F");
    ASSERT_TRUE(host.SendStream(Velkor::PlayerAddedMessage, bytes));
    ASSERT_NE(client.WaitForPrefix("joined ", EventLimitMs), nullptr) << client.Transcript();

    // The level's name until the client, there, asks for the object list.
    const Bytes arena{'A', 'r', 'e', 'n', 'a'};
    const Clock::time_point asking = Clock::now();
    bool asked = false;
    while (!asked && MillisecondsSince(asking) < EventLimitMs)
    {
        host.SendDatagram(Velkor::LevelNameMessage, arena);
        client.Drain(0.0);
        asked = host.Read(id, payload, 100.0) && id == Velkor::ObjectListRequestMessage;
    }
    ASSERT_TRUE(asked) << client.Transcript();
    ASSERT_TRUE(host.SendStream(Velkor::ObjectListMessage, List({Entry(1, 10.0f, 10.0f)})));
    ASSERT_NE(client.WaitForLine("object-list 1", EventLimitMs), nullptr) << client.Transcript();

    // The flood.
    const Bytes creation = Entry(1000, 5.0f, 5.0f);
    const Bytes list = List({Entry(1001, 1.0f, 2.0f), Entry(1002, 3.0f, 4.0f)});
    const Bytes sync = Sync(1, 20.0f, 20.0f, 500);
    Damage damage(4747);
    for (int i = 0; i < NET_FLOOD; ++i)
    {
        Bytes removal(8);
        // Never the ball that the last check moves.
        const std::uint32_t ids[2] = {1 + damage.Next() % 3, 2 + damage.Next() % 2000};
        std::memcpy(removal.data(), ids, 8);
        const std::uint32_t kinds[4] = {Velkor::CreateObjectMessage, Velkor::RemoveObjectMessage,
                                        Velkor::SyncObjectMessage, Velkor::ObjectListMessage};
        const std::uint32_t kind = kinds[damage.Next() % 4];
        const Bytes& valid = kind == Velkor::CreateObjectMessage ? creation
                             : kind == Velkor::RemoveObjectMessage ? removal
                             : kind == Velkor::SyncObjectMessage   ? sync
                                                                   : list;
        const Bytes damaged = damage.Apply(valid);
        if (damage.Next() % 2 == 0)
        {
            host.SendDatagram(kind, damaged);
        }
        else
        {
            ASSERT_TRUE(host.SendStream(kind, damaged)) << "message " << i;
        }
        if (i % 500 == 0)
        {
            // Spread over a few seconds; the demo's lines are read so that
            // it never blocks on a full pipe.
            client.Drain(1.0);
        }
    }
    client.Drain(2000.0);
    ASSERT_FALSE(client.HasPrefix("session-ended")) << client.Transcript();

    // A damaged list may have replaced the ball: it is announced again
    // (kept when it is still there), then a well-formed sync moves it.
    const Clock::time_point syncing = Clock::now();
    const NetDemoTest::Line* moved = nullptr;
    while (moved == nullptr && MillisecondsSince(syncing) < EventLimitMs)
    {
        ASSERT_TRUE(host.SendStream(Velkor::CreateObjectMessage, Entry(1, 10.0f, 10.0f)));
        for (int repeat = 0; repeat < 20 && moved == nullptr; ++repeat)
        {
            host.SendDatagram(Velkor::SyncObjectMessage, Sync(1, 42.0f, 24.0f, 777));
            moved = client.WaitForLine("object 1:1 frame 777 42.000 24.000", 50.0);
        }
    }
    EXPECT_NE(moved, nullptr) << client.Transcript();
    client.Signal(SIGTERM);
    EXPECT_EQ(client.Wait(EventLimitMs), 0) << "no crash, no sanitizer finding";
}

} // namespace
