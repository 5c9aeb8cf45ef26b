#include "game/Brillow_Lazer1Class.h"

#include "game/Brillow_SpriteMouseClass.h"

BRILLOW_DEFINE_GAME_CLASS(Lazer1Class)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Lazer1Class)

const LazerKind Lazer1Class::Kind = {"Lazer1",    "lz1", PlayFlag::Lazer1Spawned, "lazerstay1", "lazerstart1",
                                     "lazerend1", 0.2f};

Lazer1Class::Lazer1Class() = default;

Lazer1Class::Lazer1Class(const AnimationList& animations) : Velkor::Sprite(animations) {}

Lazer1Class::Lazer1Class(const Lazer1Class& other) = default;

Lazer1Class::~Lazer1Class() = default;

void Lazer1Class::OnStart()
{
    LazerRules::Start(state);
}

void Lazer1Class::Update(float dt)
{
    LazerRules::UpdatePlay<LazerSound1, LazerStart1, LazerEnd1, SpriteMouseClass>(*this, state, Kind, dt);
}
