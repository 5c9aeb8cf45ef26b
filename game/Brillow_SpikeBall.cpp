#include "game/Brillow_SpikeBall.h"

#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_ball.h"

BRILLOW_DEFINE_GAME_CLASS_OWN_CLONE(SpikeBall)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(SpikeBall)

SpikeBall::SpikeBall() = default;

SpikeBall::SpikeBall(const AnimationList& animations) : Velkor::Sprite(animations) {}

SpikeBall::SpikeBall(const SpikeBall& other) = default;

SpikeBall::~SpikeBall() = default;

Core::Object* SpikeBall::Clone() const
{
    auto* copy = new ("Brillow_SpikeBall", __LINE__) SpikeBall(*this);
    copy->Play(true);
    copy->state.spawning = 1;
    return copy;
}

void SpikeBall::OnStart()
{
    state.speed = 0.0f;
    if (GetName() != "spikeball")
    {
        state.savedVelocity = Math::Vector2D(0.0f, 0.0f);
        state.spawning = 1;
        state.spawnCounter = 0;
    }
}

void SpikeBall::Update(float /*dt*/)
{
    if (GetName() == "spikeball")
    {
        return;
    }
    // No velocity comes back after a pause: the hunt sets one every frame.
    if (PlayLevelFlags::Read(PlayFlag::Paused) != 0)
    {
        state.savedVelocity = ObjectRules::GetVelocity(*this, state.savedVelocity);
        state.speed = 0.0f;
        SetVelocity(state.savedVelocity * 0.0f);
        return;
    }
    SpikeBallRules::ActiveUpdate<SpriteMouseClass, ball>(*this, state);
}
