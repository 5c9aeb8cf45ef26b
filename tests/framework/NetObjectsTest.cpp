// Networked objects: the host's announcements and syncs as they leave the
// session layer, and a client's handling of made-up object messages. No
// socket is opened; one layer is active at a time, so a host's messages are
// taken from its recorder and then handed to a client.
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_ZibNetTestAccess.h"

#include "core/Core_DamagedCopies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

using Access = Velkor::ZibNetTestAccess;
using Bytes = std::vector<std::uint8_t>;
using Session = Access::Session;

Bytes U32s(std::initializer_list<std::uint32_t> values)
{
    Bytes bytes;
    Velkor::PayloadWriter writer(bytes);
    for (std::uint32_t v : values)
    {
        writer.U32(v);
    }
    return bytes;
}

class NetObjectsTest : public ::testing::Test
{
protected:
    static constexpr std::uint32_t HostId = 1;
    static constexpr std::uint32_t ClientId = 2;

    void SetUp() override
    {
        net = new Velkor::ZibNet();
        level = new Velkor::Level();
        for (float z : {0.0f, 1.0f, 2.0f})
        {
            level->AddLayer(new Velkor::Layer(z));
        }
        net->SetLevelQuery([this] { return level.Get(); });
    }

    void TearDown() override
    {
        net->Shutdown();
        net->SetTransport(nullptr);
        net.Reset();
        level.Reset();
    }

    // A template as the game registers it: a sprite named "ball".
    static Core::RefPtr<Velkor::Sprite> Ball()
    {
        Core::RefPtr<Velkor::Sprite> ball(new Velkor::Sprite());
        ball->SetName("ball");
        return ball;
    }

    void BeHost()
    {
        Access::Pretend(*net, Session::Host, HostId, &sent);
        Access::AddRemote(*net, ClientId, "ann");
        ASSERT_TRUE(net->AddBaseNetObject("Ball", Ball().Get()));
    }

    void BeClient()
    {
        Access::Pretend(*net, Session::Client, ClientId, &sent);
        Access::AddRemote(*net, HostId, "host", true);
        ASSERT_TRUE(net->AddBaseNetObject("Ball", Ball().Get()));
    }

    // A networked ball at (x, y) in layer `layerIndex`, made by the host.
    Core::RefPtr<Velkor::GameObject> HostBall(float x, float y, std::uint32_t layerIndex = 1)
    {
        Core::RefPtr<Velkor::GameObject> ball(static_cast<Velkor::GameObject*>(net->FindBaseNetObject("Ball")->Clone()));
        ball->SetNetworkBaseName("Ball");
        ball->SetPosition(x, y);
        EXPECT_TRUE(net->AddNetworkGameObject(ball, layerIndex, nullptr));
        level->GetLayer(layerIndex)->QueueAddGameObject(ball.Get());
        return ball;
    }

    void FromHost(std::uint32_t messageId, const Bytes& payload, std::uint32_t channel = Velkor::ClientStreamChannel)
    {
        Access::Deliver(*net, channel, messageId, payload, Access::HostAddress());
    }

    void FromClient(std::uint32_t messageId, const Bytes& payload, std::uint32_t channel = Velkor::HostStreamChannel)
    {
        Access::Deliver(*net, channel, messageId, payload, Access::AddressOf(ClientId));
    }

    void Walk()
    {
        for (const auto& layer : level->GetLayers())
        {
            layer->FrameUpdate(0.0f);
        }
    }

    std::size_t ObjectsInLevel() const
    {
        std::vector<Core::RefPtr<Velkor::GameObject>> objects;
        level->GetGameObjects(objects);
        return objects.size();
    }

    // A 9 payload for (owner, id) at (x, y), written by a sprite as the host
    // writes it.
    static Bytes Sync(std::uint32_t owner, std::uint32_t id, float x, float y)
    {
        Core::RefPtr<Velkor::Sprite> ball = Ball();
        ball->SetPosition(x, y);
        Velkor::NetworkFile file;
        file << std::uint32_t{1} << owner << id;
        ball->NetworkSyncSend(file);
        return Bytes(file.GetData(), file.GetData() + file.GetSize());
    }

    // Where the first entry of a list of balls ends.
    static std::uint32_t EntryEnd(const Bytes& list)
    {
        Velkor::NetworkFile reader(list.data(), static_cast<std::uint32_t>(list.size()));
        std::uint32_t word = 0;
        std::string name;
        reader >> word >> word;
        Velkor::ReadNetworkString(reader, name);
        Ball()->NetworkLoad(reader);
        EXPECT_FALSE(reader.Failed());
        return reader.GetReadPosition();
    }

    Core::RefPtr<Velkor::ZibNet> net;
    Core::RefPtr<Velkor::Level> level;
    Velkor::RecordingTransport sent;
};

TEST_F(NetObjectsTest, TemplatesAreRegisteredOncePerName)
{
    Core::RefPtr<Velkor::Sprite> first = Ball();
    Core::RefPtr<Velkor::Sprite> second = Ball();
    EXPECT_TRUE(net->AddBaseNetObject("Ball", first.Get()));
    EXPECT_FALSE(net->AddBaseNetObject("Ball", second.Get()));
    EXPECT_FALSE(net->AddBaseNetObject("Null", nullptr));
    EXPECT_EQ(net->FindBaseNetObject("Ball"), first.Get());
    EXPECT_EQ(first->GetNetworkBaseName(), "Ball");
    EXPECT_EQ(second->GetNetworkBaseName(), "0") << "a refused template keeps its name field";
    EXPECT_EQ(net->FindBaseNetObject("Wall"), nullptr);
    net->ClearBaseNetObjects();
    EXPECT_EQ(net->FindBaseNetObject("Ball"), nullptr);
}

TEST_F(NetObjectsTest, AnObjectAddedTwiceIsRegisteredAndAnnouncedOnce)
{
    BeHost();
    Core::RefPtr<Velkor::GameObject> ball = HostBall(3.0f, 4.0f, 2);
    EXPECT_FALSE(net->AddNetworkGameObject(ball, 2, nullptr));
    ASSERT_EQ(net->GetNetworkObjects().size(), 1u);
    const auto announced = sent.Of(Velkor::CreateObjectMessage);
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_EQ(announced[0].channel, Velkor::HostStreamChannel) << "reliable";
    EXPECT_TRUE(announced[0].to == Access::AddressOf(ClientId));
    // Layer index, the network name, then the object's creation record.
    const Bytes& bytes = announced[0].bytes;
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 12), (Bytes{2, 0, 0, 0, 4, 0, 0, 0, 'B', 'a', 'l', 'l'}));

    const Core::RefPtr<Velkor::NetObjectID>& id = ball->GetNetworkID();
    ASSERT_TRUE(id);
    EXPECT_EQ(id->GetOwnerID(), HostId);
    EXPECT_TRUE(id->IsMadeByHost());
    EXPECT_EQ(net->FindNetObject(HostId, id->GetObjectID()), ball.Get());
    EXPECT_EQ(net->FindNetObject(ClientId, id->GetObjectID()), nullptr);

    // The next object gets the next id; a named owner owns it.
    Core::RefPtr<Velkor::GameObject> other(new Velkor::Sprite());
    ASSERT_TRUE(net->AddNetworkGameObject(other, 0, net->FindPlayerByID(ClientId)));
    EXPECT_EQ(other->GetNetworkID()->GetObjectID(), id->GetObjectID() + 1);
    EXPECT_EQ(other->GetNetworkID()->GetOwnerID(), ClientId);
}

TEST_F(NetObjectsTest, AClientNeitherAnnouncesNorRemovesOnItsOwn)
{
    BeClient();
    Core::RefPtr<Velkor::GameObject> ball(new Velkor::Sprite());
    EXPECT_FALSE(net->AddNetworkGameObject(ball, 0, nullptr));
    EXPECT_TRUE(sent.Of(Velkor::CreateObjectMessage).empty());
    EXPECT_TRUE(net->GetNetworkObjects().empty());

    // Its removal of a copy is a request to the host.
    ball->SetNetworkID(new Velkor::NetObjectID(HostId, 40));
    ASSERT_TRUE(net->AddNetworkObject(ball.Get()));
    EXPECT_TRUE(net->RemoveNetworkGameObject(ball));
    const auto asked = sent.Of(Velkor::RemoveObjectMessage);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].bytes, U32s({HostId, 40}));
    EXPECT_EQ(asked[0].channel, Velkor::ClientStreamChannel);
    EXPECT_EQ(net->GetNetworkObjects().size(), 1u) << "kept until the host removes it";
}

TEST_F(NetObjectsTest, AHostWithoutObjectsAnswersWithAnEmptyListAfterWhichCreationsAppear)
{
    BeHost();
    FromClient(Velkor::ObjectListRequestMessage, U32s({ClientId}));
    const auto lists = sent.Of(Velkor::ObjectListMessage);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].bytes, U32s({0}));
    EXPECT_EQ(lists[0].channel, Velkor::HostStreamChannel);
    EXPECT_TRUE(lists[0].to == Access::AddressOf(ClientId));
    // A request naming another player is not answered.
    sent.sent.clear();
    FromClient(Velkor::ObjectListRequestMessage, U32s({3}));
    EXPECT_TRUE(sent.Of(Velkor::ObjectListMessage).empty());

    // A later creation, written by the host.
    HostBall(10.0f, 20.0f);
    const Bytes creation = sent.Of(Velkor::CreateObjectMessage).at(0).bytes;
    const std::uint32_t objectId = net->GetNetworkObjects().at(0)->GetNetworkID()->GetObjectID();

    BeClient();
    FromHost(Velkor::CreateObjectMessage, creation);
    EXPECT_TRUE(net->GetNetworkObjects().empty()) << "no list yet: the creation is ignored";
    FromHost(Velkor::ObjectListMessage, lists[0].bytes);
    EXPECT_TRUE(net->GetLocalPlayer()->HasReceivedObjects());
    FromHost(Velkor::CreateObjectMessage, creation);
    Walk();
    ASSERT_EQ(net->GetNetworkObjects().size(), 1u);
    Velkor::GameObject* copy = net->FindNetObject(HostId, objectId);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetLayer(), level->GetLayer(1));
    EXPECT_EQ(copy->GetNetworkBaseName(), "Ball");
    EXPECT_EQ(copy->GetName(), "ball");
    EXPECT_EQ(copy->GetPosition(), Math::Vector2D(10.0f, 20.0f));
    EXPECT_EQ(level->GetLayer(1)->GetGameObjectsCount(), 1u);
    // The same creation again makes no second copy.
    FromHost(Velkor::CreateObjectMessage, creation);
    Walk();
    EXPECT_EQ(ObjectsInLevel(), 1u);
}

TEST_F(NetObjectsTest, TheListReplacesTheCopiesAndSkipsEntriesForMissingLayers)
{
    BeHost();
    HostBall(1.0f, 1.0f, 0);
    HostBall(2.0f, 2.0f, 1);
    HostBall(3.0f, 3.0f, 2);
    Walk();
    sent.sent.clear();
    FromClient(Velkor::ObjectListRequestMessage, U32s({ClientId}));
    Bytes list = sent.Of(Velkor::ObjectListMessage).at(0).bytes;
    ASSERT_EQ(Bytes(list.begin(), list.begin() + 8), U32s({3, 0}));
    // The middle entry names layer 7 of this three-layer level: its index
    // follows the first entry's record.
    list[EntryEnd(list)] = 7;

    BeClient();
    // A copy held before the list goes: the list replaces it.
    Core::RefPtr<Velkor::GameObject> stale(new Velkor::Sprite());
    stale->SetNetworkID(new Velkor::NetObjectID(HostId, 999));
    level->GetLayer(0)->QueueAddGameObject(stale.Get());
    net->AddNetworkObject(stale.Get());

    FromHost(Velkor::ObjectListMessage, list);
    Walk();
    ASSERT_EQ(net->GetNetworkObjects().size(), 2u);
    EXPECT_EQ(net->GetNetworkObjects()[0]->GetPosition(), Math::Vector2D(1.0f, 1.0f));
    EXPECT_EQ(net->GetNetworkObjects()[0]->GetLayer(), level->GetLayer(0));
    EXPECT_EQ(net->GetNetworkObjects()[1]->GetPosition(), Math::Vector2D(3.0f, 3.0f));
    EXPECT_EQ(net->GetNetworkObjects()[1]->GetLayer(), level->GetLayer(2));
    EXPECT_EQ(stale->GetLayer(), nullptr);
    EXPECT_EQ(ObjectsInLevel(), 2u);
    EXPECT_TRUE(net->GetLocalPlayer()->HasReceivedObjects());

    // Without a current level every entry is skipped.
    net->SetLevelQuery([] { return static_cast<Velkor::Level*>(nullptr); });
    FromHost(Velkor::ObjectListMessage, list);
    EXPECT_TRUE(net->GetNetworkObjects().empty());
}

TEST_F(NetObjectsTest, SyncsMoveCopiesUntilTheHostRemovesThem)
{
    BeClient();
    FromHost(Velkor::SyncObjectMessage, Sync(HostId, 5, 1.0f, 1.0f), Velkor::ClientDatagramChannel);
    // A list with one ball (owner 1, id 5) at the origin.
    Core::RefPtr<Velkor::Sprite> ball = Ball();
    ball->SetNetworkID(new Velkor::NetObjectID(HostId, 5));
    Velkor::NetworkFile list;
    list << std::uint32_t{1} << std::uint32_t{0};
    Velkor::WriteNetworkString(list, "Ball");
    ball->NetworkSave(list);
    FromHost(Velkor::ObjectListMessage, Bytes(list.GetData(), list.GetData() + list.GetSize()));
    Walk();
    Velkor::GameObject* copy = net->FindNetObject(HostId, 5);
    ASSERT_NE(copy, nullptr);

    FromHost(Velkor::SyncObjectMessage, Sync(HostId, 5, 8.0f, -2.0f), Velkor::ClientDatagramChannel);
    EXPECT_EQ(copy->GetPosition(), Math::Vector2D(8.0f, -2.0f)) << "the first sync snaps";
    // A sync from anyone but the host, or for another object, moves nothing.
    Access::Deliver(*net, Velkor::ClientDatagramChannel, Velkor::SyncObjectMessage, Sync(HostId, 5, 0.0f, 0.0f),
                    Access::AddressOf(7));
    FromHost(Velkor::SyncObjectMessage, Sync(ClientId, 5, 0.0f, 0.0f), Velkor::ClientDatagramChannel);
    Walk();
    EXPECT_EQ(copy->GetPosition(), Math::Vector2D(8.0f, -2.0f));

    Core::RefPtr<Velkor::GameObject> keep(copy);
    FromHost(Velkor::RemoveObjectMessage, U32s({HostId, 5}));
    EXPECT_TRUE(net->GetNetworkObjects().empty());
    Walk();
    EXPECT_EQ(copy->GetLayer(), nullptr);
    const Math::Vector2D before = copy->GetPosition();
    FromHost(Velkor::SyncObjectMessage, Sync(HostId, 5, 50.0f, 50.0f), Velkor::ClientDatagramChannel);
    EXPECT_EQ(copy->GetPosition(), before) << "a sync for a removed copy is ignored";
    EXPECT_EQ(ObjectsInLevel(), 0u);
}

TEST_F(NetObjectsTest, TheHostSyncsEachObjectAfterTheLevelNameAndDropsRemovalsOfOthersObjects)
{
    BeHost();
    net->SetLevelHooks([] { return std::string("Arena"); }, nullptr);
    Core::RefPtr<Velkor::GameObject> hosts = HostBall(1.0f, 2.0f);
    Core::RefPtr<Velkor::GameObject> anns(static_cast<Velkor::GameObject*>(Ball()->Clone()));
    ASSERT_TRUE(net->AddNetworkGameObject(anns, 0, net->FindPlayerByID(ClientId)));
    level->GetLayer(0)->QueueAddGameObject(anns.Get());
    Walk();
    sent.sent.clear();
    net->Update(1.0f / 60.0f);
    std::vector<std::uint32_t> order;
    for (const auto& s : sent.sent)
    {
        if (s.messageId != Velkor::PingMessage)
        {
            order.push_back(s.messageId);
        }
    }
    EXPECT_EQ(order, (std::vector<std::uint32_t>{Velkor::LevelNameMessage, Velkor::SyncObjectMessage,
                                                 Velkor::SyncObjectMessage}));
    const auto syncs = sent.Of(Velkor::SyncObjectMessage);
    ASSERT_EQ(syncs.size(), 2u);
    EXPECT_EQ(syncs[0].channel, Velkor::HostDatagramChannel) << "unreliable";
    EXPECT_EQ(Bytes(syncs[0].bytes.begin(), syncs[0].bytes.begin() + 12),
              U32s({2, HostId, hosts->GetNetworkID()->GetObjectID()}));

    // The client may remove its own object, not the host's.
    sent.sent.clear();
    FromClient(Velkor::RemoveObjectMessage, U32s({HostId, hosts->GetNetworkID()->GetObjectID()}));
    EXPECT_TRUE(sent.sent.empty());
    EXPECT_EQ(net->GetNetworkObjects().size(), 2u);
    const Bytes own = U32s({ClientId, anns->GetNetworkID()->GetObjectID()});
    FromClient(Velkor::RemoveObjectMessage, own);
    const auto relayed = sent.Of(Velkor::RemoveObjectMessage);
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(relayed[0].bytes, own);
    Walk();
    ASSERT_EQ(net->GetNetworkObjects().size(), 1u);
    EXPECT_EQ(anns->GetLayer(), nullptr);
    EXPECT_EQ(hosts->GetLayer(), level->GetLayer(1));
}

// Every prefix and 1,000 byte-flipped copies of valid 7, 9 and 13 payloads:
// each sits in a buffer of exactly its size (a read past it is a sanitizer
// finding), a damaged entry creates nothing, and a good message read after
// it still works.
TEST_F(NetObjectsTest, DamagedObjectPayloadsAreReadWithinTheirBytesAndCreateNothingDamaged)
{
    BeHost();
    HostBall(4.0f, 5.0f, 0);
    HostBall(6.0f, 7.0f, 2);
    Walk();
    const Bytes creation = sent.Of(Velkor::CreateObjectMessage).at(0).bytes;
    const std::uint32_t firstId = net->GetNetworkObjects()[0]->GetNetworkID()->GetObjectID();
    sent.sent.clear();
    FromClient(Velkor::ObjectListRequestMessage, U32s({ClientId}));
    const Bytes list = sent.Of(Velkor::ObjectListMessage).at(0).bytes;
    const Bytes sync = Sync(HostId, firstId, 9.0f, 9.0f);
    const Bytes empty = U32s({0});

    // A prefix holds the first entry whole from where it ends.
    const std::uint32_t firstEntryEnd = EntryEnd(list);

    BeClient();
    const struct
    {
        const char* name;
        std::uint32_t messageId;
        const Bytes& payload;
        std::uint32_t channel;
    } cases[] = {{"creation", Velkor::CreateObjectMessage, creation, Velkor::ClientStreamChannel},
                 {"list", Velkor::ObjectListMessage, list, Velkor::ClientStreamChannel},
                 {"sync", Velkor::SyncObjectMessage, sync, Velkor::ClientDatagramChannel}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const auto reset = [&]
        {
            FromHost(Velkor::ObjectListMessage, empty);
            Walk();
            ASSERT_EQ(ObjectsInLevel(), 0u);
            if (c.messageId == Velkor::SyncObjectMessage)
            {
                // The object the sync names, not synced yet: the first
                // sync that reads whole snaps it.
                FromHost(Velkor::CreateObjectMessage, creation);
            }
        };
        for (const auto& [damaged, prefix] : Core::Testing::DamagedCopies(c.payload, {1, 1000, 47}))
        {
            reset();
            FromHost(c.messageId, damaged, c.channel);
            Walk();
            if (prefix)
            {
                const std::size_t length = damaged.size();
                const std::size_t whole =
                    c.messageId == Velkor::ObjectListMessage && length >= firstEntryEnd ? 1 : 0;
                if (c.messageId == Velkor::SyncObjectMessage)
                {
                    ASSERT_EQ(net->GetNetworkObjects().at(0)->GetPosition(), Math::Vector2D(4.0f, 5.0f)) << length;
                }
                else
                {
                    ASSERT_EQ(net->GetNetworkObjects().size(), whole) << length;
                    ASSERT_EQ(ObjectsInLevel(), whole) << length;
                }
                continue;
            }
            // Never more copies than entries, and every copy is in a layer
            // of this level with an identity.
            ASSERT_LE(net->GetNetworkObjects().size(), c.messageId == Velkor::ObjectListMessage ? 2u : 1u);
            for (const auto& object : net->GetNetworkObjects())
            {
                ASSERT_TRUE(object->IsNetworkObject());
                ASSERT_NE(object->GetLayer(), nullptr);
            }
        }
        // The whole message still works after all that.
        reset();
        FromHost(c.messageId, c.payload, c.channel);
        Walk();
        if (c.messageId == Velkor::SyncObjectMessage)
        {
            EXPECT_EQ(net->GetNetworkObjects().at(0)->GetPosition(), Math::Vector2D(9.0f, 9.0f));
        }
        else
        {
            EXPECT_EQ(ObjectsInLevel(), c.messageId == Velkor::ObjectListMessage ? 2u : 1u);
        }
    }
}

TEST_F(NetObjectsTest, AListNamingAnUnknownTemplateKeepsTheEntriesBeforeIt)
{
    BeHost();
    HostBall(1.0f, 1.0f, 0);
    Core::RefPtr<Velkor::Sprite> crate(new Velkor::Sprite());
    ASSERT_TRUE(net->AddBaseNetObject("Crate", crate.Get()));
    Core::RefPtr<Velkor::GameObject> copy(static_cast<Velkor::GameObject*>(crate->Clone()));
    copy->SetNetworkBaseName("Crate");
    ASSERT_TRUE(net->AddNetworkGameObject(copy, 0, nullptr));
    level->GetLayer(0)->QueueAddGameObject(copy.Get());
    HostBall(3.0f, 3.0f, 0);
    Walk();
    sent.sent.clear();
    FromClient(Velkor::ObjectListRequestMessage, U32s({ClientId}));
    const Bytes list = sent.Of(Velkor::ObjectListMessage).at(0).bytes;

    BeClient(); // knows "Ball" only
    FromHost(Velkor::ObjectListMessage, list);
    Walk();
    ASSERT_EQ(net->GetNetworkObjects().size(), 1u);
    EXPECT_EQ(net->GetNetworkObjects()[0]->GetPosition(), Math::Vector2D(1.0f, 1.0f));
    EXPECT_TRUE(net->GetLocalPlayer()->HasReceivedObjects());
}

} // namespace
