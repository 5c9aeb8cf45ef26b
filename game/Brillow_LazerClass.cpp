#include "game/Brillow_LazerClass.h"

#include "game/Brillow_SpriteMouseClass.h"

BRILLOW_DEFINE_GAME_CLASS(LazerClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(LazerClass)

const LazerKind LazerClass::Kind = {"Lazer",    "lz", PlayFlag::LazerSpawned, "lazerstay", "lazerstart",
                                    "lazerend", 0.3f};

LazerClass::LazerClass() = default;

LazerClass::LazerClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

LazerClass::LazerClass(const LazerClass& other) = default;

LazerClass::~LazerClass() = default;

void LazerClass::OnStart()
{
    LazerRules::Start(state);
}

void LazerClass::Update(float dt)
{
    LazerRules::UpdatePlay<LazerSound, LazerStart, LazerEnd, SpriteMouseClass>(*this, state, Kind, dt);
}
