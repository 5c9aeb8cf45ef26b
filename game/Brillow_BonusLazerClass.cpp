#include "game/Brillow_BonusLazerClass.h"

BRILLOW_DEFINE_GAME_CLASS(BonusLazerClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BonusLazerClass)

BonusLazerClass::BonusLazerClass() = default;

BonusLazerClass::BonusLazerClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

BonusLazerClass::BonusLazerClass(const BonusLazerClass& other) = default;

BonusLazerClass::~BonusLazerClass() = default;
