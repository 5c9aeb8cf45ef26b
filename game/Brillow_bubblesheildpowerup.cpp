#include "game/Brillow_bubblesheildpowerup.h"

#include "framework/Velkor_Random.h"
#include "game/Brillow_SpriteMouseClass.h"

namespace ShieldRules
{

void StartDrift(Velkor::Sprite& bubble, float& speed, std::int32_t& lifeCounter)
{
    speed = Speed;
    lifeCounter = 0;
    const float x = Velkor::RandomFloat(-10.0f, 10.0f);
    const float y = Velkor::RandomFloat(-10.0f, 10.0f);
    bubble.SetVelocity(Math::Vector2D(x, y) * speed);
}

} // namespace ShieldRules

BRILLOW_DEFINE_GAME_CLASS(bubblesheildpowerup)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(bubblesheildpowerup)

bubblesheildpowerup::bubblesheildpowerup() = default;

bubblesheildpowerup::bubblesheildpowerup(const AnimationList& animations) : Velkor::Sprite(animations) {}

bubblesheildpowerup::bubblesheildpowerup(const bubblesheildpowerup& other) = default;

bubblesheildpowerup::~bubblesheildpowerup() = default;

void bubblesheildpowerup::OnStart()
{
    if (GetName() != "sheildpowerup")
    {
        ShieldRules::StartDrift(*this, speed, lifeCounter);
    }
}

void bubblesheildpowerup::Update(float /*dt*/)
{
    if (GetName() != "sheildpowerup")
    {
        ShieldRules::Update<SpriteMouseClass>(*this, lifeCounter);
    }
}
