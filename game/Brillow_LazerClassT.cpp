#include "game/Brillow_LazerClassT.h"

#include "game/Brillow_SpriteMouseClassT.h"

BRILLOW_DEFINE_GAME_CLASS(LazerClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(LazerClassT)

const LazerKind LazerClassT::Kind = {"Lazer",    "lz", PlayFlag::LazerSpawned, "lazerstay", "lazerstart",
                                     "lazerend", 0.3f};

LazerClassT::LazerClassT() = default;

LazerClassT::LazerClassT(const AnimationList& animations) : Velkor::Sprite(animations) {}

LazerClassT::LazerClassT(const LazerClassT& other) = default;

LazerClassT::~LazerClassT() = default;

void LazerClassT::OnStart()
{
    LazerRules::Start(state);
}

void LazerClassT::Update(float dt)
{
    LazerRules::UpdateTutorial<LazerSound, LazerStart, LazerEnd, SpriteMouseClassT>(*this, state, Kind, dt);
}
