#include "game/Brillow_whiteball.h"

#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_SpriteMouseClass.h"

BRILLOW_DEFINE_GAME_CLASS_OWN_CLONE(whiteball)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(whiteball)

whiteball::whiteball() = default;

whiteball::whiteball(const AnimationList& animations) : Velkor::Sprite(animations) {}

whiteball::whiteball(const whiteball& other) = default;

whiteball::~whiteball() = default;

Core::Object* whiteball::Clone() const
{
    auto* copy = new ("Brillow_whiteball", __LINE__) whiteball(*this);
    copy->Play(true);
    return copy;
}

void whiteball::OnStart()
{
    if (GetName() == "whiteball")
    {
        return;
    }
    velocityScale = 1.0f;
    MyGame* game = ObjectRules::Data();
    WhiteBallRules::Start(*this, state, WhiteBallRules::PlayRows, 5, game != nullptr ? game->stage : 0);
}

void whiteball::Update(float /*dt*/)
{
    if (GetName() != "wb")
    {
        return;
    }
    if (PlayLevelFlags::Read(PlayFlag::Paused) != 0)
    {
        state.speed = 0.0f;
        SetVelocity(heading * 0.0f);
        velocityApplied = 0;
        return;
    }
    if (velocityApplied == 0)
    {
        state.speed = state.baseSpeed;
        SetVelocity(heading * velocityScale);
        velocityApplied = 1;
    }
    heading = ObjectRules::GetVelocity(*this, heading);
    ObjectRules::SetCanCollide(*this, 2, false);
    if (RunSpawnPhase(*this, state.spawning, state.spawnCounter, state.speed))
    {
        return;
    }
    WhiteBallRules::ActiveStep<SpriteMouseClass, BlackHoleClass>(*this, state, &heading, true);
}
