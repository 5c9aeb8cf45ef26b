// Session messages: the input is a run of messages handed to the session
// layer's receive handlers, as the host (with two clients) or as a client
// (connected, or still looking for sessions). Each record is
//   u8 role and sender, u8 message id, u16 payload size, payload,
// cut at the input's end. Every payload sits in a buffer of exactly its
// size, so a read past it is a finding; the layer's promises are checked
// after every message. Both sides know the template "Ball" (a sprite) and
// play a level of three layers, so the object messages make copies.

#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_ZibNetTestAccess.h"
#include "fuzz/Fuzz_Support.h"

#include <algorithm>

namespace
{

using Access = Velkor::ZibNetTestAccess;

Velkor::ZibNet& Layer()
{
    static Core::RefPtr<Velkor::ZibNet> net(new Velkor::ZibNet());
    return *net;
}

Velkor::Level& PlayedLevel()
{
    static const Core::RefPtr<Velkor::Level> level = []
    {
        Core::RefPtr<Velkor::Level> made(new Velkor::Level());
        for (float z : {0.0f, 1.0f, 2.0f})
        {
            made->AddLayer(new Velkor::Layer(z));
        }
        return made;
    }();
    return *level;
}

void Walk()
{
    for (const auto& layer : PlayedLevel().GetLayers())
    {
        layer->FrameUpdate(0.0f);
    }
}

bool Quiet(const Core::RefPtr<Velkor::NetMessage>&)
{
    return true;
}

void CheckPromises(const Velkor::ZibNet& net, std::uint32_t maxPlayers)
{
    const auto& players = net.GetAllPlayersGroup()->GetPlayers();
    for (std::size_t i = 1; i < players.size(); ++i)
    {
        Fuzz::Require(players[i - 1]->GetID() < players[i]->GetID(),
                      "players in ascending id order, no id twice");
    }
    if (net.IsHost())
    {
        Fuzz::Require(players.size() <= maxPlayers, "the host never holds more than its maximum");
    }
    for (const auto& object : net.GetNetworkObjects())
    {
        Fuzz::Require(object->IsNetworkObject(), "every networked object has its identity");
        Fuzz::Require(object->GetLayer() != nullptr && object->GetLayer()->IsInLevel(),
                      "every networked object is in a layer of the level");
    }
    for (const Velkor::ZibBroadcast& session : net.GetBroadcastList())
    {
        Fuzz::Require(session.GetAge() <= net.GetBroadcastTimeOut(), "sessions found are young");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    constexpr std::uint32_t MaxPlayers = 6;
    Velkor::ZibNet& net = Layer();
    Velkor::RecordingTransport transport;
    const std::uint8_t role = data[0] % 3;
    if (role == 0)
    {
        Access::Pretend(net, Access::Session::Host, 1, &transport, &Quiet, "pw", MaxPlayers);
        Access::AddRemote(net, 2, "ann");
        Access::AddRemote(net, 3, "bob");
    }
    else if (role == 1)
    {
        Access::Pretend(net, Access::Session::Client, 4, &transport, &Quiet);
        Access::AddRemote(net, 1, "host", true);
        Access::AddRemote(net, 5, "ann");
    }
    else
    {
        Access::PretendListening(net, &Quiet, data[0] % 2 == 0);
        net.SetTransport(&transport);
    }
    net.SetLevelHooks([] { return std::string("Lobby"); }, [](const std::string&) {});
    net.SetLevelQuery([] { return &PlayedLevel(); });
    Core::RefPtr<Velkor::Sprite> ball(new Velkor::Sprite());
    ball->SetName("ball");
    net.AddBaseNetObject("Ball", ball.Get());

    std::size_t at = 1;
    while (at + 4 <= size)
    {
        const std::uint8_t selector = data[at];
        const std::uint32_t id = data[at + 1];
        std::size_t length = data[at + 2] | std::size_t{data[at + 3]} << 8;
        at += 4;
        length = std::min(length, size - at);
        const Fuzz::Bytes payload(data + at, data + at + length);
        at += length;
        // Low bits: the channel; high bits: who sends it.
        const std::uint32_t channel = selector % 6;
        const std::uint32_t sender = (selector >> 3) % 4;
        const Network::NetAddress from = sender == 0 ? Access::HostAddress() : Access::AddressOf(sender + 1);
        Access::Deliver(net, channel, id, payload, from);
        if (selector == 0xFF)
        {
            net.Update(0.02f);
        }
        Walk();
        CheckPromises(net, MaxPlayers);
    }
    for (const Velkor::RecordingTransport::Sent& sent : transport.sent)
    {
        if (sent.messageId == Velkor::JoinReplyMessage)
        {
            Fuzz::Require(sent.bytes.size() == 4, "a join reply is one i32");
        }
    }
    Access::Pretend(net, Access::Session::None);
    Walk();
    return 0;
}
