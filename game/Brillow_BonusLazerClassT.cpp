#include "game/Brillow_BonusLazerClassT.h"

BRILLOW_DEFINE_GAME_CLASS(BonusLazerClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BonusLazerClassT)

BonusLazerClassT::BonusLazerClassT() = default;

BonusLazerClassT::BonusLazerClassT(const AnimationList& animations) : Velkor::Sprite(animations) {}

BonusLazerClassT::BonusLazerClassT(const BonusLazerClassT& other) = default;

BonusLazerClassT::~BonusLazerClassT() = default;
