#include "game/Brillow_SpikeBallT.h"

#include "game/Brillow_SpriteMouseClassT.h"
#include "game/Brillow_ballT.h"

BRILLOW_DEFINE_GAME_CLASS_OWN_CLONE(SpikeBallT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(SpikeBallT)

SpikeBallT::SpikeBallT() = default;

SpikeBallT::SpikeBallT(const AnimationList& animations) : Velkor::Sprite(animations) {}

SpikeBallT::SpikeBallT(const SpikeBallT& other) = default;

SpikeBallT::~SpikeBallT() = default;

Core::Object* SpikeBallT::Clone() const
{
    auto* copy = new ("Brillow_SpikeBallT", __LINE__) SpikeBallT(*this);
    copy->Play(true);
    copy->state.spawning = 1;
    return copy;
}

void SpikeBallT::OnStart()
{
    state.speed = 0.0f;
    if (GetName() != "spikeball")
    {
        state.spawning = 1;
        state.spawnCounter = 0;
    }
}

void SpikeBallT::Update(float /*dt*/)
{
    if (GetName() == "spikeball")
    {
        return;
    }
    SpikeBallRules::ActiveUpdate<SpriteMouseClassT, ballT>(*this, state);
}
