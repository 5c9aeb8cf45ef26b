#include "game/Brillow_ObjectRules.h"

#include "collision/Collision_DynamicObject.h"
#include "game/Brillow_MyGame.h"

namespace ObjectRules
{

bool Touches(const Velkor::GameObject& object, const char* name)
{
    return object.IsCollidedWithSprite(name, true);
}

void SetCanCollide(Velkor::GameObject& object, std::uint8_t z, bool on)
{
    if (Collision2D::DynamicObject* dynamic = object.GetDynamicCollisionObject())
    {
        dynamic->SetCanCollid(z, on);
    }
}

bool GetFirstCircle(const Velkor::GameObject& object, Math::Circle2D& circle)
{
    const Collision2D::DynamicObject* dynamic = object.GetDynamicCollisionObject();
    if (dynamic == nullptr || dynamic->GetFrameCircleCount() == 0 || dynamic->GetCurrentCircles().empty())
    {
        return false;
    }
    circle = dynamic->GetCurrentCircles()[0];
    return true;
}

void Play(Velkor::Sound* sound)
{
    if (sound != nullptr)
    {
        sound->Play(false);
    }
}

void Stop(Velkor::Sound* sound)
{
    if (sound != nullptr)
    {
        sound->Stop();
    }
}

void Pause(Velkor::Sound* sound)
{
    if (sound != nullptr)
    {
        sound->Pause();
    }
}

void StopIfPlaying(Velkor::Sound* sound)
{
    if (sound != nullptr && sound->IsPlaying())
    {
        sound->Stop();
    }
}

void PauseIfPlaying(Velkor::Sound* sound)
{
    if (sound != nullptr && sound->IsPlaying())
    {
        sound->Pause();
    }
}

MyGame* Data()
{
    return MyGame::GetInstance();
}

Math::Vector2D GetVelocity(const Velkor::GameObject& object, const Math::Vector2D& fallback)
{
    Math::Vector2D velocity;
    return object.GetVelocity(velocity) ? velocity : fallback;
}

Math::Vector2D Towards(const Math::Vector2D& from, const Math::Vector2D& to)
{
    Math::Vector2D direction = to - from;
    direction.Normalize();
    return direction;
}

} // namespace ObjectRules
