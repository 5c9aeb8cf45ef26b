#include "NetDemo_Scene.h"

#include "core/Core_File.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "physics/Physics_MassProperties.h"

namespace NetDemoScene
{

namespace
{

const char* const LevelNames[] = {"Lobby", "Arena", "Court"};

std::uint32_t g_sendFrame = 0;

} // namespace

CORE_DEFINE_OBJECT(Ball, "NetDemo::Ball", Ball::ScriptTypeName, "NetDemo_Scene", __LINE__)

Ball::Ball() = default;

Ball::Ball(const Ball& other) : Velkor::Sprite(other) {}

void Ball::SetSendFrame(std::uint32_t frame)
{
    g_sendFrame = frame;
}

void Ball::Update(float dt)
{
    Velkor::Sprite::Update(dt);
    // Off a wall and still heading out: the velocity turns back in.
    Math::Vector2D velocity;
    if (!GetVelocity(velocity))
    {
        return;
    }
    const Math::Vector2D& at = GetPosition();
    bool turned = false;
    if ((at.x < Radius && velocity.x < 0.0f) || (at.x > Width - Radius && velocity.x > 0.0f))
    {
        velocity.x = -velocity.x;
        turned = true;
    }
    if ((at.y < Radius && velocity.y < 0.0f) || (at.y > Height - Radius && velocity.y > 0.0f))
    {
        velocity.y = -velocity.y;
        turned = true;
    }
    if (turned)
    {
        SetVelocity(velocity);
    }
}

void Ball::NetworkSyncSend(Core::File& file)
{
    Velkor::Sprite::NetworkSyncSend(file);
    file << g_sendFrame;
}

void Ball::NetworkSyncReceive(Core::File& file)
{
    Velkor::Sprite::NetworkSyncReceive(file);
    std::uint32_t frame = 0;
    file >> frame;
    if (!file.Failed())
    {
        syncFrame_ = frame;
    }
}

Ball* MakeTemplate()
{
    auto* ball = new ("NetDemo_Scene", __LINE__) Ball();
    ball->SetName("ball");
    ball->SetScale(Radius, Radius);
    ball->AddPhysicalProperties(Physics2D::MassProperties(1.0f, 1.0f, Math::Vector2D()), 0);
    return ball;
}

Velkor::Level* Factory::CreateLevel(std::uint32_t index)
{
    if (index >= GetLevelCount())
    {
        return nullptr;
    }
    auto* level = new ("NetDemo_Scene", __LINE__) Velkor::Level();
    level->SetName(LevelNames[index]);
    level->AddLayer(new ("NetDemo_Scene", __LINE__) Velkor::Layer(0.0f));
    if (Velkor::Game* game = Velkor::Game::GetInstance())
    {
        // A level made outside a network game keeps the templates of the
        // one before it: the new template takes their place.
        Velkor::ZibNet* net = game->GetNetworkEngine();
        net->ClearBaseNetObjects();
        net->AddBaseNetObject(BallName, MakeTemplate());
    }
    return level;
}

bool Factory::GetLevelIndex(const std::string& name, std::uint32_t& index)
{
    for (std::uint32_t i = 0; i < GetLevelCount(); ++i)
    {
        if (name == LevelNames[i])
        {
            index = i;
            return true;
        }
    }
    return false;
}

} // namespace NetDemoScene
