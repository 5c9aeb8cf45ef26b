// The session layer's receive handlers fed made-up socket events: no socket
// is opened except where Start itself is under test.
#include "framework/Velkor_Network.h"
#include "framework/Velkor_ZibNetTestAccess.h"

#include "input/Input_KeyCodes.h"
#include "input/Input_Records.h"
#include "net/Network_Address.h"
#include "pal/PAL_ThreadManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

using Velkor::NetMessage;
using Velkor::PayloadWriter;
using Velkor::ZibNet;
using Access = Velkor::ZibNetTestAccess;
using Bytes = std::vector<std::uint8_t>;

// What the layer reported to the game.
struct Reported
{
    std::uint32_t kind;
    std::string detail; // player name, text, or the join reply code
};

std::vector<Reported>& Events()
{
    static std::vector<Reported> events;
    return events;
}

bool g_admit = true;

bool Callback(const Core::RefPtr<NetMessage>& message)
{
    Reported reported{message->GetKind(), {}};
    if (const auto* player = dynamic_cast<const Velkor::NetPlayerMessage*>(message.Get()))
    {
        reported.detail = player->GetPlayer()->GetName();
    }
    else if (const auto* text = dynamic_cast<const Velkor::NetTextMessage*>(message.Get()))
    {
        reported.detail = text->GetSender()->GetName() + ": " + text->GetText();
    }
    else if (const auto* data = dynamic_cast<const Velkor::NetDataMessage*>(message.Get()))
    {
        if (message->GetKind() == NetMessage::JoinReply)
        {
            std::int32_t code = 0;
            std::memcpy(&code, reinterpret_cast<const void*>(data->GetValue(0)), sizeof code);
            reported.detail = std::to_string(code);
        }
        else
        {
            reported.detail = std::to_string(data->GetValue(0)) + "/" + std::to_string(data->GetValue(1));
        }
    }
    Events().push_back(reported);
    return message->GetKind() != NetMessage::JoinRequest || g_admit;
}

std::vector<std::uint32_t> Kinds()
{
    std::vector<std::uint32_t> kinds;
    for (const Reported& r : Events())
    {
        kinds.push_back(r.kind);
    }
    return kinds;
}

Bytes U32s(std::initializer_list<std::uint32_t> values)
{
    Bytes bytes;
    PayloadWriter writer(bytes);
    for (std::uint32_t v : values)
    {
        writer.U32(v);
    }
    return bytes;
}

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Str(const std::string& text)
{
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

Bytes JoinRequest(const std::string& password, const std::string& name)
{
    Bytes bytes;
    PayloadWriter writer(bytes);
    writer.CString(password);
    Core::RefPtr<Velkor::ZibPlayer> player(new Velkor::ZibPlayer(0, name, true, false, nullptr, nullptr));
    Velkor::WritePlayerRecord(writer, *player);
    return bytes;
}

Bytes Broadcast(const std::string& name, const std::string& id, std::uint32_t current = 1)
{
    Velkor::SessionBroadcast b;
    b.address = Network::NetAddress("127.0.0.1", 4100);
    b.maxPlayers = 4;
    b.currentPlayers = current;
    b.passwordProtected = true;
    b.name = name;
    b.networkId = id;
    Bytes bytes;
    Velkor::WriteSessionBroadcast(bytes, b);
    return bytes;
}

class NetSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Events().clear();
        g_admit = true;
        net = new ZibNet();
    }

    void TearDown() override
    {
        net->Shutdown();
        net->SetTransport(nullptr);
        net.Reset();
    }

    // A host (local player 1) with clients 2 "ann" and 3 "bob".
    void HostWithTwoClients(std::uint32_t maxPlayers = 8, const std::string& password = "")
    {
        Access::Pretend(*net, Access::Session::Host, 1, &sent, &Callback, password, maxPlayers);
        ann = Access::AddRemote(*net, 2, "ann");
        bob = Access::AddRemote(*net, 3, "bob");
    }

    void FromClient(std::uint32_t playerId, std::uint32_t messageId, const Bytes& payload,
                    std::uint32_t channel = Velkor::HostStreamChannel)
    {
        Access::Deliver(*net, channel, messageId, payload, Access::AddressOf(playerId));
    }

    void FromHost(std::uint32_t messageId, const Bytes& payload,
                  std::uint32_t channel = Velkor::ClientStreamChannel)
    {
        Access::Deliver(*net, channel, messageId, payload, Access::HostAddress());
    }

    Core::RefPtr<ZibNet> net;
    Velkor::RecordingTransport sent;
    Velkor::ZibPlayer* ann = nullptr;
    Velkor::ZibPlayer* bob = nullptr;
};

TEST_F(NetSessionTest, SessionBroadcastsAreReadWholeOrNotAtAll)
{
    const Bytes good = Broadcast("arena", "brillow");
    Bytes lyingLength = good;
    lyingLength[25] = 200; // L runs past the payload
    Bytes nameWithoutNul = good;
    nameWithoutNul[29 + 5] = 'x'; // the NUL at L is gone
    Bytes idWithoutNul = good;
    idWithoutNul.back() = 'x';
    const struct
    {
        const char* name;
        Bytes payload;
        bool kept;
    } cases[] = {
        {"whole", good, true},
        {"28 bytes", Bytes(good.begin(), good.begin() + 28), false},
        {"L past the payload", lyingLength, false},
        {"name without its NUL", nameWithoutNul, false},
        {"network id without its NUL", idWithoutNul, false},
        {"cut inside the network id", Bytes(good.begin(), good.end() - 3), false},
        {"L of zero",
         [&]
         {
             Bytes b = good;
             b[25] = b[26] = b[27] = b[28] = 0;
             return b;
         }(),
         false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Access::PretendListening(*net, &Callback);
        // Exactly-sized buffers: a read past the payload is a sanitizer finding.
        Access::Deliver(*net, Velkor::DiscoveryChannel, Velkor::SessionBroadcastMessage, c.payload,
                        Network::NetAddress("127.0.0.1", 4100));
        ASSERT_EQ(net->GetBroadcastList().size(), c.kept ? 1u : 0u);
        if (c.kept)
        {
            const Velkor::ZibBroadcast& found = net->GetBroadcastList()[0];
            EXPECT_EQ(found.GetHostName(), "arena");
            EXPECT_EQ(found.GetNetworkID(), "brillow");
            EXPECT_EQ(found.GetSessionMaxPlayers(), 4u);
            EXPECT_EQ(found.GetSessionPlayersNumber(), 1u);
            EXPECT_TRUE(found.IsPasswordProtected());
            EXPECT_EQ(found.GetAddress(), "127.0.0.1:4100");
        }
    }
}

TEST_F(NetSessionTest, ASessionHeardAgainIsRefreshedAndOneNotHeardForHalfASecondIsDropped)
{
    Access::PretendListening(*net, &Callback);
    const Network::NetAddress from("127.0.0.1", 4100);
    Access::Deliver(*net, Velkor::DiscoveryChannel, 0, Broadcast("arena", "brillow", 1), from);
    net->Update(0.3f);
    Access::Deliver(*net, Velkor::DiscoveryChannel, 0, Broadcast("arena", "brillow", 2), from);
    ASSERT_EQ(net->GetBroadcastList().size(), 1u) << "same host address: refreshed in place";
    EXPECT_EQ(net->GetBroadcastList()[0].GetSessionPlayersNumber(), 2u);
    EXPECT_EQ(net->GetBroadcastList()[0].GetAge(), 0.0f);
    net->Update(0.3f);
    EXPECT_EQ(net->GetBroadcastList().size(), 1u);
    net->Update(0.3f);
    EXPECT_TRUE(net->GetBroadcastList().empty());
}

TEST_F(NetSessionTest, MalformedMessagesToTheHostAreDroppedWithoutAnAnswer)
{
    const Bytes record = JoinRequest("", "eve");
    const struct
    {
        const char* name;
        std::uint32_t messageId;
        Bytes payload;
    } cases[] = {
        {"password without NUL", 1, Bytes{'s', 'e', 'c', 'r', 'e', 't'}},
        {"player record cut short", 1, Bytes(record.begin(), record.begin() + 10)},
        {"player name without NUL", 1, Bytes(record.begin(), record.end() - 1)},
        {"empty join", 1, {}},
        {"member list of 6 bytes", 5, Cat(Cat(U32s({2, 7}), Str("team")), Bytes{3, 0, 0, 0, 2, 0})},
        {"group name without NUL", 5, Cat(U32s({2, 7}), Bytes{'t', 'e', 'a', 'm'})},
        {"text without NUL", 10, Cat(U32s({2, 1}), Bytes{'h', 'i'})},
        {"data size past the payload", 11, Cat(U32s({2, 1, 9, 100}), Bytes{1, 2, 3})},
        {"data cut in its header", 11, U32s({2, 1, 9})},
        {"partial key entry", 14, Cat(U32s({2}), Bytes(13, 0))},
        {"short mouse state", 15, Cat(U32s({2}), Bytes(27, 0))},
        {"ping reply without sequence", 18, U32s({2})},
        {"sender id cut", 10, Bytes{2, 0}},
        {"unknown id", 30, U32s({2, 1})},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        HostWithTwoClients();
        Events().clear();
        sent.sent.clear();
        // Joins come from a connection that is no player yet.
        const std::uint32_t from = c.messageId == 1 ? 9 : 2;
        FromClient(from, c.messageId, c.payload);
        EXPECT_TRUE(sent.sent.empty());
        EXPECT_TRUE(Events().empty());
        EXPECT_EQ(net->GetAllPlayersGroup()->GetSize(), 3u);
        EXPECT_TRUE(net->GetGroups().empty());
        // The next message reads normally.
        FromClient(2, 10, Cat(U32s({2, 1}), Str("after")));
        ASSERT_EQ(Events().size(), 1u);
        EXPECT_EQ(Events()[0].detail, "ann: after");
    }
}

TEST_F(NetSessionTest, JoinChecksRunInOrder)
{
    const struct
    {
        const char* name;
        std::uint32_t maxPlayers;
        std::string sessionPassword;
        std::string given;
        bool admit;
        bool duplicate;
        std::int32_t reply; // 0: the new id
    } cases[] = {
        {"full beats a wrong password", 3, "pw", "wrong", true, false, -1},
        {"full", 3, "", "", true, false, -1},
        {"wrong password", 8, "pw", "wrong", true, false, -2},
        {"duplicate id", 8, "", "", true, true, -3},
        {"refused by the game", 8, "pw", "pw", false, false, -4},
        {"accepted", 8, "pw", "pw", true, false, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        HostWithTwoClients(c.maxPlayers, c.sessionPassword);
        g_admit = c.admit;
        const std::uint32_t next = Access::TakePlayerID() + 1;
        if (c.duplicate)
        {
            Access::AddRemote(*net, next, "squatter");
        }
        const std::uint32_t before = net->GetAllPlayersGroup()->GetSize();
        Events().clear();
        sent.sent.clear();
        FromClient(9, 1, JoinRequest(c.given, "eve"));

        const auto replies = sent.Of(Velkor::JoinReplyMessage);
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(replies[0].channel, Velkor::HostStreamChannel);
        EXPECT_TRUE(replies[0].to == Access::AddressOf(9));
        Velkor::PayloadReader reader(replies[0].bytes.data(),
                                     static_cast<std::uint32_t>(replies[0].bytes.size()));
        std::int32_t reply = 0;
        ASSERT_TRUE(reader.I32(reply));
        if (c.reply < 0)
        {
            EXPECT_EQ(reply, c.reply);
            EXPECT_EQ(net->GetAllPlayersGroup()->GetSize(), before) << "no trace of a refused player";
            EXPECT_EQ(sent.sent.size(), 1u);
            continue;
        }
        EXPECT_EQ(reply, static_cast<std::int32_t>(next));
        Velkor::ZibPlayer* eve = net->FindPlayerByID(next);
        ASSERT_NE(eve, nullptr);
        EXPECT_TRUE(eve->GetAddress() == Access::AddressOf(9)) << "where its connection comes from";
        ASSERT_NE(eve->GetNetworkKeyboard(), nullptr);
        ASSERT_NE(eve->GetNetworkMouse(), nullptr);
        // The list of the three players to eve, then eve to ann and bob.
        std::vector<std::string> to;
        for (const auto& s : sent.Of(Velkor::PlayerAddedMessage))
        {
            to.push_back(s.to.GetText() + ":" + std::to_string(s.to.GetPort()));
        }
        EXPECT_EQ(to, (std::vector<std::string>{"127.0.0.1:5009", "127.0.0.1:5009", "127.0.0.1:5009",
                                                "127.0.0.1:5002", "127.0.0.1:5003"}));
        EXPECT_EQ(Kinds(), (std::vector<std::uint32_t>{NetMessage::JoinRequest, NetMessage::PlayerAdded}));
        // The same connection cannot join twice.
        sent.sent.clear();
        FromClient(9, 1, JoinRequest(c.given, "eve"));
        ASSERT_EQ(sent.sent.size(), 1u);
        EXPECT_EQ(sent.sent[0].bytes, U32s({static_cast<std::uint32_t>(Velkor::JoinDuplicateId)}));
        EXPECT_EQ(net->GetAllPlayersGroup()->GetSize(), before + 1);
    }
}

TEST_F(NetSessionTest, TheHostBelievesTheConnectionNotTheNamedSender)
{
    HostWithTwoClients();
    const struct
    {
        const char* name;
        std::uint32_t from;
        std::uint32_t messageId;
        Bytes payload;
        std::uint32_t channel;
    } cases[] = {
        {"text naming another client", 2, 10, Cat(U32s({3, 1}), Str("I am bob")), Velkor::HostStreamChannel},
        {"text naming the host", 2, 10, Cat(U32s({1, 1}), Str("I am the host")), Velkor::HostStreamChannel},
        {"text from no player", 7, 10, Cat(U32s({2, 1}), Str("stranger")), Velkor::HostStreamChannel},
        {"keys for another client", 2, 14, Cat(U32s({3}), Bytes(12, 0)), Velkor::HostDatagramChannel},
        {"ping reply for another client", 2, 18, U32s({3, 1}), Velkor::HostDatagramChannel},
        {"group owned by another client", 2, 5, Cat(U32s({3, 7}), Str("team")), Velkor::HostStreamChannel},
        {"text on the discovery channel", 2, 10, Cat(U32s({2, 1}), Str("side door")),
         Velkor::DiscoveryChannel},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Events().clear();
        sent.sent.clear();
        FromClient(c.from, c.messageId, c.payload, c.channel);
        EXPECT_TRUE(Events().empty());
        EXPECT_TRUE(sent.sent.empty());
        EXPECT_TRUE(net->GetGroups().empty());
    }
}

TEST_F(NetSessionTest, ARelayedTextReachesEveryRemotePlayerOfTheGroupTheSenderIncluded)
{
    HostWithTwoClients();
    FromClient(2, 10, Cat(U32s({2, net->GetAllPlayersGroup()->GetID()}), Str("hello")));
    const auto relayed = sent.Of(Velkor::TextMessage);
    ASSERT_EQ(relayed.size(), 2u);
    EXPECT_TRUE(relayed[0].to == Access::AddressOf(2));
    EXPECT_TRUE(relayed[1].to == Access::AddressOf(3));
    for (const auto& s : relayed)
    {
        EXPECT_EQ(s.channel, Velkor::HostStreamChannel);
        EXPECT_EQ(s.bytes, Cat(U32s({2, net->GetAllPlayersGroup()->GetID()}), Str("hello")));
    }
    ASSERT_EQ(Events().size(), 1u) << "the host's player is in the group";
    EXPECT_EQ(Events()[0].detail, "ann: hello");

    // A group ann made is named by ann's own id for it.
    sent.sent.clear();
    FromClient(2, 5, Cat(Cat(U32s({2, 77}), Str("pair")), U32s({2, 3})));
    ASSERT_EQ(net->GetGroups().size(), 1u);
    EXPECT_EQ(net->GetGroups()[0]->GetSize(), 2u);
    Events().clear();
    FromClient(2, 11, Cat(U32s({2, 77, 5, 3}), Bytes{1, 2, 3}));
    EXPECT_EQ(sent.Of(Velkor::DataMessage).size(), 2u);
    EXPECT_TRUE(Events().empty()) << "the host's player is not in ann's pair";
    FromClient(3, 6, U32s({3, 77}));
    EXPECT_EQ(net->GetGroups().size(), 1u) << "bob cannot remove ann's group";
    FromClient(2, 6, U32s({2, 77}));
    EXPECT_TRUE(net->GetGroups().empty());
}

TEST_F(NetSessionTest, TheHostFeedsAClientsInputIntoThatPlayersDevices)
{
    HostWithTwoClients();
    Input::KeySnapshotEntry entry;
    entry.record.pressed = 1;
    entry.virtualKey = 'A';
    Bytes keys = U32s({2});
    keys.resize(4 + sizeof entry);
    std::memcpy(keys.data() + 4, &entry, sizeof entry);
    FromClient(2, 14, keys, Velkor::HostDatagramChannel);
    Input::MouseState mouse{};
    mouse.x = 120;
    mouse.y = 45;
    mouse.buttons[0].pressed = 1;
    Bytes state = U32s({2});
    state.resize(4 + sizeof mouse);
    std::memcpy(state.data() + 4, &mouse, sizeof mouse);
    FromClient(2, 15, state, Velkor::HostDatagramChannel);

    EXPECT_TRUE(ann->GetNetworkKeyboard()->AnyKey());
    EXPECT_FALSE(bob->GetNetworkKeyboard()->AnyKey());
    std::int32_t x = 0;
    std::int32_t y = 0;
    ann->GetNetworkMouse()->GetPosition(x, y);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 45);
    EXPECT_TRUE(ann->GetNetworkMouse()->IsPressed(0));
    net->ResetNetworkKeyboards();
    EXPECT_FALSE(ann->GetNetworkKeyboard()->AnyKey());
}

TEST_F(NetSessionTest, APingReplyIsMeasuredAgainstThePingItAnswers)
{
    HostWithTwoClients();
    net->Update(0.001f);
    const auto first = sent.Of(Velkor::PingMessage);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].channel, Velkor::HostDatagramChannel);
    Velkor::PayloadReader reader(first[0].bytes.data(), 8);
    std::uint32_t hostId = 0;
    std::uint32_t sequence = 0;
    ASSERT_TRUE(reader.U32(hostId) && reader.U32(sequence));
    EXPECT_EQ(hostId, 1u);
    EXPECT_TRUE(first[0].to == Access::AddressOf(2));

    PAL::Thread::Sleep(30);
    net->Update(0.001f); // a new round of pings, the first still unanswered
    FromClient(2, 18, U32s({2, sequence}), Velkor::HostDatagramChannel);
    EXPECT_GE(ann->GetPingTime(), 25.0) << "measured from the ping it answers, not the latest";
    EXPECT_LT(ann->GetPingTime(), 1000.0);
    const double measured = ann->GetPingTime();
    FromClient(2, 18, U32s({2, sequence}), Velkor::HostDatagramChannel);
    EXPECT_EQ(ann->GetPingTime(), measured) << "a ping is answered once";
    EXPECT_EQ(bob->GetPingTime(), 0.0);
}

TEST_F(NetSessionTest, TheClientAnswersOnlyItsHost)
{
    Access::Pretend(*net, Access::Session::Client, 4, &sent, &Callback);
    Access::AddRemote(*net, 1, "host", true);
    std::string requested;
    std::string current = "Level1";
    net->SetLevelHooks([&] { return current; }, [&](const std::string& name) { requested = name; });

    FromHost(17, U32s({1, 55}), Velkor::ClientDatagramChannel);
    const auto answers = sent.Of(Velkor::PingReplyMessage);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].channel, Velkor::ClientDatagramChannel);
    EXPECT_EQ(answers[0].bytes, U32s({4, 55}));

    FromHost(12, Bytes{'L', 'e', 'v', 'e', 'l', '1'}, Velkor::ClientDatagramChannel);
    EXPECT_TRUE(requested.empty()) << "the current level changes nothing";
    FromHost(12, Bytes{'L', 'e', 'v', 'e', 'l', '2'}, Velkor::ClientDatagramChannel);
    EXPECT_EQ(requested, "Level2");

    // Anybody else writing to the client's datagram channel is not heard.
    requested.clear();
    sent.sent.clear();
    const Network::NetAddress stranger("127.0.0.1", 4999);
    Access::Deliver(*net, Velkor::ClientDatagramChannel, 12, Bytes{'X'}, stranger);
    Access::Deliver(*net, Velkor::ClientDatagramChannel, 17, U32s({1, 56}), stranger);
    EXPECT_TRUE(requested.empty());
    EXPECT_TRUE(sent.sent.empty());

    // Text from the host's relay: the sender must be a remote player.
    FromHost(10, Cat(U32s({1, 1}), Str("welcome")));
    FromHost(10, Cat(U32s({4, 1}), Str("my own echo")));
    FromHost(10, Cat(U32s({9, 1}), Str("nobody")));
    FromHost(11, Cat(U32s({1, 1, 7, 2}), Bytes{5, 6}));
    FromHost(11, Cat(U32s({1, 1, 7, 3}), Bytes{5, 6}));
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].detail, "host: welcome");
    EXPECT_EQ(Events()[1].kind, NetMessage::Data);
    EXPECT_EQ(Events()[1].detail, "7/2");
}

TEST_F(NetSessionTest, AJoinReplyOfZeroIsAcceptedAndANegativeOneIsNot)
{
    for (const std::int32_t reply : {-2, 0, 6})
    {
        SCOPED_TRACE(reply);
        Access::PretendListening(*net, &Callback, true);
        Events().clear();
        FromHost(2, U32s({static_cast<std::uint32_t>(reply)}));
        ASSERT_EQ(Events().size(), 1u);
        EXPECT_EQ(Events()[0].kind, NetMessage::JoinReply);
        EXPECT_EQ(Events()[0].detail, std::to_string(reply));
        EXPECT_EQ(net->IsConnected(), reply >= 0);
        if (reply >= 0)
        {
            EXPECT_EQ(net->GetLocalPlayer()->GetID(), static_cast<std::uint32_t>(reply));
        }
    }
}

TEST_F(NetSessionTest, TheHostLeavingEndsTheSessionOnTheClient)
{
    Access::Pretend(*net, Access::Session::Client, 4, &sent, &Callback);
    Access::AddRemote(*net, 1, "host", true);
    Access::AddRemote(*net, 5, "ann");
    Bytes record;
    PayloadWriter writer(record);
    Velkor::WritePlayerRecord(writer, *net->FindPlayerByID(5));
    FromHost(4, record);
    EXPECT_EQ(Kinds(), (std::vector<std::uint32_t>{NetMessage::PlayerRemoved}));
    EXPECT_TRUE(net->IsNetworkGame());

    Events().clear();
    record.clear();
    Velkor::WritePlayerRecord(writer, *net->FindPlayerByID(1));
    FromHost(4, record);
    EXPECT_EQ(Kinds(), (std::vector<std::uint32_t>{NetMessage::PlayerRemoved, NetMessage::SessionEnded}));
    EXPECT_FALSE(net->IsNetworkGame());
    EXPECT_EQ(sent.closed,
              (std::vector<std::uint32_t>{Velkor::ClientStreamChannel, Velkor::ClientDatagramChannel}));
    EXPECT_EQ(net->GetAllPlayersGroup()->GetSize(), 0u);
}

TEST_F(NetSessionTest, AClientThatLeavesIsRemovedAndAnnouncedToTheOthers)
{
    HostWithTwoClients();
    Access::DeliverKind(*net, Network::ConnectionClosed, Velkor::HostStreamChannel, Access::AddressOf(2));
    EXPECT_EQ(Kinds(), (std::vector<std::uint32_t>{NetMessage::PlayerRemoved}));
    EXPECT_EQ(net->FindPlayerByID(2), nullptr);
    const auto told = sent.Of(Velkor::PlayerRemovedMessage);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].to == Access::AddressOf(3));
    EXPECT_TRUE(net->IsNetworkGame());

    Events().clear();
    Access::DeliverKind(*net, Network::ChannelClosed, Velkor::HostStreamChannel, Access::HostAddress());
    EXPECT_EQ(Kinds(), (std::vector<std::uint32_t>{NetMessage::PlayerRemoved, NetMessage::SessionEnded}));
    EXPECT_FALSE(net->IsNetworkGame());
}

TEST_F(NetSessionTest, AtMostOneSyncPerFrameAndARateOfZeroIsOnePerSecond)
{
    HostWithTwoClients();
    net->SetLevelHooks([] { return std::string("Level1"); }, [](const std::string&) {});
    const auto levelMessages = [&] { return sent.Of(Velkor::LevelNameMessage).size() / 2; };
    for (std::size_t frame = 1; frame <= 3; ++frame)
    {
        net->Update(0.5f); // thirty periods long
        EXPECT_EQ(levelMessages(), frame) << "one sync per frame, never a burst";
    }

    Access::SetSyncRate(*net, 0);
    sent.sent.clear();
    for (int frame = 0; frame < 10; ++frame)
    {
        net->Update(0.09f);
    }
    EXPECT_EQ(levelMessages(), 0u);
    net->Update(0.2f);
    EXPECT_EQ(levelMessages(), 1u);
}

TEST_F(NetSessionTest, GroupsKeepIdOrderAndRefuseASecondPlayerWithAnId)
{
    Core::RefPtr<Velkor::ZibGroup> group(new Velkor::ZibGroup("g", 1, nullptr));
    for (const std::uint32_t id : {5u, 2u, 9u, 2u})
    {
        group->AddPlayer(new Velkor::ZibPlayer(id, "p" + std::to_string(id), false, false, nullptr, nullptr));
    }
    ASSERT_EQ(group->GetSize(), 3u);
    EXPECT_EQ(group->GetPlayers()[0]->GetID(), 2u);
    EXPECT_EQ(group->GetPlayers()[2]->GetID(), 9u);
    EXPECT_FALSE(group->AddPlayer(nullptr));

    HostWithTwoClients();
    Core::RefPtr<Velkor::ZibPlayer> twin(new Velkor::ZibPlayer(2, "twin", false, false, nullptr, nullptr));
    EXPECT_FALSE(net->AddPlayer(twin.Get()));
    EXPECT_EQ(net->FindPlayerByID(2)->GetName(), "ann");
}

TEST_F(NetSessionTest, OnlyOneLayerStartsAtATime)
{
    Network::SetLocalAddressOverride("127.0.0.1");
    ASSERT_TRUE(net->Start(false, &Callback, "", "", 5, 0, 60, 0, 0));
    Core::RefPtr<ZibNet> second(new ZibNet());
    EXPECT_FALSE(second->Start(false, &Callback, "", "", 5, 0, 60, 0, 0));
    EXPECT_FALSE(second->Shutdown()) << "the second never became active";
    EXPECT_TRUE(net->Shutdown());
    EXPECT_FALSE(net->Shutdown());
    EXPECT_TRUE(second->Start(false, &Callback, "", "", 5, 0, 60, 0, 0));
    EXPECT_TRUE(second->Shutdown());
    Network::SetLocalAddressOverride("");
}

} // namespace
