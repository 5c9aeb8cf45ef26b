#include "game/Brillow_BonusTextThing.h"

BRILLOW_DEFINE_GAME_CLASS(BonusTextThing)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BonusTextThing)

BonusTextThing::BonusTextThing() = default;

BonusTextThing::BonusTextThing(const AnimationList& animations) : Velkor::Sprite(animations) {}

BonusTextThing::BonusTextThing(const BonusTextThing& other) = default;

BonusTextThing::~BonusTextThing() = default;
