// The network demo's ball scene as a run drives it: the host adds, removes
// and moves its balls and switches levels at the frames asked for; both
// sides print the balls they hold and what changes.
#include "NetDemo_Game.h"
#include "NetDemo_Scene.h"

#include "core/Core_Random.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"

#include <cmath>
#include <cstdio>

namespace
{

std::string IdOf(const Velkor::GameObject& object)
{
    const Core::RefPtr<Velkor::NetObjectID>& id = object.GetNetworkID();
    return id ? std::to_string(id->GetOwnerID()) + ":" + std::to_string(id->GetObjectID()) : "?:?";
}

} // namespace

void NetDemo::AddBalls(std::uint32_t count)
{
    Velkor::ZibNet* net = GetNetworkEngine();
    Velkor::Level* level = GetCurrentLevel();
    Velkor::Layer* layer = level != nullptr ? level->GetLayer(0) : nullptr;
    const auto* base = dynamic_cast<NetDemoScene::Ball*>(net->FindBaseNetObject(NetDemoScene::BallName));
    if (layer == nullptr || base == nullptr)
    {
        NetDemoPrint("balls-failed");
        return;
    }
    std::uint32_t added = 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        Core::RefPtr<NetDemoScene::Ball> ball(static_cast<NetDemoScene::Ball*>(base->Clone()));
        ball->SetNetworkBaseName(NetDemoScene::BallName);
        constexpr float Margin = NetDemoScene::Radius * 2.0f;
        const float x = Margin + (NetDemoScene::Width - 2.0f * Margin) * static_cast<float>(Core::Random()) / 32767.0f;
        const float y = Margin + (NetDemoScene::Height - 2.0f * Margin) * static_cast<float>(Core::Random()) / 32767.0f;
        // 6 to 10 units a second in any direction.
        const float angle = 6.2831853f * static_cast<float>(Core::Random()) / 32767.0f;
        const float speed = 6.0f + 4.0f * static_cast<float>(Core::Random()) / 32767.0f;
        ball->SetPosition(x, y);
        ball->SetVelocity(Math::Vector2D(std::cos(angle) * speed, std::sin(angle) * speed));
        added += layer->AddGameObject(ball.Get(), true, nullptr) ? 1 : 0;
    }
    NetDemoPrint("balls-added " + std::to_string(added));
}

void NetDemo::RunSceneActions()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    const std::uint32_t f = sessionFrame_;
    if (f == 1 && net->IsHost())
    {
        Core::SeedRandom(options_.seed);
    }
    if (const auto balls = options_.balls.find(f); balls != options_.balls.end() && net->IsHost())
    {
        AddBalls(balls->second);
    }
    if (const auto remove = options_.remove.find(f); remove != options_.remove.end() && net->IsHost())
    {
        // A copy: each removal takes the ball out of the list.
        const std::vector<Core::RefPtr<Velkor::GameObject>> held = net->GetNetworkObjects();
        for (std::size_t i = 0; i < held.size() && i < remove->second; ++i)
        {
            NetDemoPrint("removed " + IdOf(*held[i]));
            held[i]->Destroy();
        }
    }
    if (const auto level = options_.switchTo.find(f); level != options_.switchTo.end() && net->IsHost())
    {
        NetDemoPrint("switch " + level->second);
        GoToLevel(level->second);
    }
    if (options_.steal.count(f) != 0 && !net->IsHost())
    {
        for (const Core::RefPtr<Velkor::GameObject>& object : net->GetNetworkObjects())
        {
            Velkor::ZibPlayer* owner = net->FindPlayerByID(object->GetNetworkID()->GetOwnerID());
            if (owner != nullptr && owner->IsHost())
            {
                const bool asked = net->RemoveNetworkGameObject(object);
                NetDemoPrint("asked-removal " + IdOf(*object) + (asked ? "" : " failed"));
                break;
            }
        }
    }
}

void NetDemo::PrintObjects()
{
    const std::uint32_t f = sessionFrame_;
    if (options_.printFrom == 0 || f < options_.printFrom || f > options_.printTo)
    {
        return;
    }
    Velkor::ZibNet* net = GetNetworkEngine();
    for (const Core::RefPtr<Velkor::GameObject>& object : net->GetNetworkObjects())
    {
        const auto* ball = dynamic_cast<const NetDemoScene::Ball*>(object.Get());
        if (ball == nullptr || object->GetLayer() == nullptr)
        {
            continue;
        }
        const std::uint32_t frame = net->IsHost() ? f : ball->GetSyncFrame();
        char line[128];
        std::snprintf(line, sizeof line, "object %s frame %u %.3f %.3f", IdOf(*object).c_str(), frame,
                      static_cast<double>(object->GetPositionX()), static_cast<double>(object->GetPositionY()));
        // A ball that neither moved nor got a new state is not printed again.
        std::string& last = printed_[IdOf(*object)];
        if (last != line)
        {
            last = line;
            NetDemoPrint(line);
        }
    }
}

void NetDemo::WatchScene()
{
    Velkor::ZibNet* net = GetNetworkEngine();
    if (Velkor::Level* level = GetCurrentLevel(); level != nullptr && level->GetName() != levelSeen_)
    {
        levelSeen_ = level->GetName();
        NetDemoPrint("level " + levelSeen_);
    }
    const std::size_t objects = net->GetNetworkObjects().size();
    const Velkor::ZibPlayer* local = net->GetLocalPlayer();
    const bool listed = local != nullptr && !net->IsHost() && local->HasReceivedObjects();
    if (listed && !listSeen_)
    {
        NetDemoPrint("object-list " + std::to_string(objects));
    }
    listSeen_ = listed;
    if (objects != objectsSeen_)
    {
        objectsSeen_ = objects;
        NetDemoPrint("objects " + std::to_string(objects));
    }
}
