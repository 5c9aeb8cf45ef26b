#include "GameTestSupport.h"
#include "framework/Velkor_ZibNetTestAccess.h"

#include <functional>

namespace
{

using GameTest::GameDisplayTest;
using GameTest::Log;
using GameTest::Record;

using Strings = std::vector<std::string>;

std::string Name(const Velkor::ZibPlayer* player)
{
    return player != nullptr ? player->GetName() : "null";
}

// A game whose network hooks record their arguments.
class NetworkGame : public GameTest::TestGame
{
public:
    using TestGame::TestGame;

    bool OnPlayerJoinRequest(Velkor::ZibPlayer* player) override
    {
        Record("JoinRequest " + Name(player));
        return admit;
    }
    void OnJoinReply(std::int32_t code) override { Record("JoinReply " + std::to_string(code)); }
    void OnSessionJoined() override { Record("SessionJoined"); }
    void OnSessionHosted() override { Record("SessionHosted"); }
    void OnSessionEnded() override { Record("SessionEnded"); }
    void OnPlayerAdded(Velkor::ZibPlayer* player) override { Record("PlayerAdded " + Name(player)); }
    void OnPlayerRemoved(Velkor::ZibPlayer* player) override { Record("PlayerRemoved " + Name(player)); }
    void OnTextMessage(Velkor::ZibPlayer* sender, const std::string& text) override
    {
        Record("Text " + Name(sender) + " " + text);
    }
    void OnDataMessage(Velkor::ZibPlayer* sender, std::uint32_t value, std::uint32_t size,
                       const void* data) override
    {
        Record("Data " + Name(sender) + " " + std::to_string(value) + " " + std::to_string(size) + " " +
               static_cast<const char*>(data));
    }

    bool admit = false;
};

void RecordNetworkCall(const char* operation, void*)
{
    Record(std::string("Net.") + operation);
}

using MessagePtr = Core::RefPtr<Velkor::NetMessage>;

TEST_F(GameDisplayTest, TheEventCallbackForwardsEachKindToItsHook)
{
    Core::RefPtr<NetworkGame> network(new NetworkGame(factory, 0));
    game = network;
    Core::RefPtr<Velkor::ZibPlayer> ann(new Velkor::ZibPlayer(3, "ann", false, false, nullptr, nullptr));
    static const char payload[] = "bytes";
    std::int32_t replyCode = 0;
    Velkor::ZibNet::SetCallObserver(&RecordNetworkCall, nullptr);

    using Session = Velkor::ZibNetTestAccess::Session;
    const struct
    {
        const char* name;
        Session session;
        std::int32_t reply;
        std::function<MessagePtr()> make;
        bool answer;
        Strings hooks;
    } cases[] = {
        {"hosted",
         Session::Host,
         0,
         [] { return MessagePtr(new Velkor::NetSessionMessage(0, "10.0.0.1", "s")); },
         true,
         {"SessionHosted"}},
        {"joined",
         Session::Client,
         0,
         [] { return MessagePtr(new Velkor::NetSessionMessage(1, "10.0.0.1", "s")); },
         true,
         {"SessionJoined"}},
        {"join request refused",
         Session::Host,
         0,
         [&] { return MessagePtr(new Velkor::NetPlayerMessage(2, ann.Get())); },
         false,
         {"JoinRequest ann"}},
        {"join reply with an id",
         Session::Client,
         42,
         [&]
         {
             return MessagePtr(
                 new Velkor::NetDataMessage(3, {reinterpret_cast<std::uintptr_t>(&replyCode), 0, 0, 0}));
         },
         true,
         {"JoinReply 0"}},
        {"join reply refused",
         Session::Client,
         -2,
         [&]
         {
             return MessagePtr(
                 new Velkor::NetDataMessage(3, {reinterpret_cast<std::uintptr_t>(&replyCode), 0, 0, 0}));
         },
         true,
         {"JoinReply -2"}},
        {"player added",
         Session::Host,
         0,
         [&] { return MessagePtr(new Velkor::NetPlayerMessage(4, ann.Get())); },
         true,
         {"PlayerAdded ann"}},
        {"player removed",
         Session::Host,
         0,
         [&] { return MessagePtr(new Velkor::NetPlayerMessage(5, ann.Get())); },
         true,
         {"PlayerRemoved ann"}},
        {"text",
         Session::Host,
         0,
         [&] { return MessagePtr(new Velkor::NetTextMessage("hello", ann.Get())); },
         true,
         {"Text ann hello"}},
        {"data",
         Session::Host,
         0,
         [&]
         {
             return MessagePtr(new Velkor::NetDataMessage(7, {5, 6, reinterpret_cast<std::uintptr_t>(payload),
                                                              reinterpret_cast<std::uintptr_t>(ann.Get())}));
         },
         true,
         {"Data ann 5 6 bytes"}},
        {"ended on a client",
         Session::Client,
         0,
         [] { return MessagePtr(new Velkor::NetSessionMessage(8, "10.0.0.1", "s")); },
         true,
         {"Net.RemoveAllNetworkGameObjects", "SessionEnded", "Net.ListenForSessions"}},
        {"ended on the host",
         Session::Host,
         0,
         [] { return MessagePtr(new Velkor::NetSessionMessage(8, "10.0.0.1", "s")); },
         true,
         {"SessionEnded"}},
        {"unknown kind", Session::Host, 0, [] { return MessagePtr(new Velkor::NetMessage(9)); }, true, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Velkor::ZibNetTestAccess::Pretend(*network->GetNetworkEngine(), c.session);
        replyCode = c.reply;
        Log().clear();
        EXPECT_EQ(Velkor::Game::NetworkEventCallback(c.make()), c.answer);
        EXPECT_EQ(Log(), c.hooks);
    }

    // The default hook admits every player.
    game.Reset();
    network.Reset();
    MakeGame();
    EXPECT_TRUE(Velkor::Game::NetworkEventCallback(MessagePtr(new Velkor::NetPlayerMessage(2, ann.Get()))));
}

TEST(NetworkEvents, WithoutAGameTheCallbackAnswersFalse)
{
    ASSERT_EQ(Velkor::Game::GetInstance(), nullptr);
    for (std::uint32_t kind = 0; kind <= 9; ++kind)
    {
        EXPECT_FALSE(Velkor::Game::NetworkEventCallback(
            Core::RefPtr<Velkor::NetMessage>(new Velkor::NetMessage(kind))))
            << kind;
    }
}

TEST_F(GameDisplayTest, HostingNeedsARunningNetworkLayer)
{
    MakeGame();
    Velkor::ZibNet& network = *game->GetNetworkEngine();
    // Hosting shuts a running layer down first; with none running it fails.
    EXPECT_FALSE(game->HostNetworkGame("host", "player", "", 4));
    EXPECT_FALSE(game->IsNetworkGame());
    EXPECT_FALSE(game->NetworkShutdown());
    Velkor::ZibNetTestAccess::Pretend(network, Velkor::ZibNetTestAccess::Session::Client);
    EXPECT_TRUE(game->IsNetworkGame());
    EXPECT_FALSE(game->IsServer());
    EXPECT_TRUE(game->NetworkShutdown());
    EXPECT_FALSE(game->IsNetworkGame());
    EXPECT_FALSE(game->NetworkShutdown());
}

TEST_F(GameDisplayTest, OnlineSessionsAreThoseOfThisGamesNetworkId)
{
    MakeGame();
    Velkor::ZibNet& network = *game->GetNetworkEngine();
    network.SetNetworkID("brillow");
    Velkor::ZibNetTestAccess::AddFoundSession(network, Velkor::ZibBroadcast("a", "brillow", "10.0.0.1"));
    Velkor::ZibNetTestAccess::AddFoundSession(network, Velkor::ZibBroadcast("b", "other", "10.0.0.2"));
    Velkor::ZibNetTestAccess::AddFoundSession(network, Velkor::ZibBroadcast("c", "brillow", "10.0.0.3"));
    Tick(2);
    ASSERT_EQ(game->GetOnlineSessions().size(), 2u);
    EXPECT_EQ(game->GetOnlineSessions()[0].GetHostName(), "a");
    EXPECT_EQ(game->GetOnlineSessions()[1].GetAddress(), "10.0.0.3");
    Tick();
    EXPECT_EQ(game->GetOnlineSessions().size(), 2u) << "rebuilt, not appended";
}

} // namespace
