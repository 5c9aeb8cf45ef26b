#include "game/Brillow_BonusTextThing.h"

#include "game/Brillow_PlayLevelFlags.h"

BRILLOW_DEFINE_GAME_CLASS(BonusTextThing)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BonusTextThing)

BonusTextThing::BonusTextThing() = default;

BonusTextThing::BonusTextThing(const AnimationList& animations) : Velkor::Sprite(animations) {}

BonusTextThing::BonusTextThing(const BonusTextThing& other) = default;

BonusTextThing::~BonusTextThing() = default;

void BonusTextThing::OnStart()
{
    SetVisible(false);
}

void BonusTextThing::Update(float /*dt*/)
{
    SetVisible(PlayLevelFlags::Read(PlayFlag::StageComplete) != 0);
}
