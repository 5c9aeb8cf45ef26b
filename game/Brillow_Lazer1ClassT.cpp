#include "game/Brillow_Lazer1ClassT.h"

#include "game/Brillow_SpriteMouseClassT.h"

BRILLOW_DEFINE_GAME_CLASS(Lazer1ClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Lazer1ClassT)

const LazerKind Lazer1ClassT::Kind = {
    "Lazer1", "lz1", PlayFlag::Lazer1Spawned, "lazerstay1", "lazerstart1", "lazerend1", 0.3f};

Lazer1ClassT::Lazer1ClassT() = default;

Lazer1ClassT::Lazer1ClassT(const AnimationList& animations) : Velkor::Sprite(animations) {}

Lazer1ClassT::Lazer1ClassT(const Lazer1ClassT& other) = default;

Lazer1ClassT::~Lazer1ClassT() = default;

void Lazer1ClassT::OnStart()
{
    LazerRules::Start(state);
}

void Lazer1ClassT::Update(float dt)
{
    LazerRules::UpdateTutorial<LazerSound1, LazerStart1, LazerEnd1, SpriteMouseClassT>(*this, state, Kind,
                                                                                       dt);
}
