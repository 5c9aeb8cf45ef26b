#include "game/Brillow_BlackHoleClass.h"

BRILLOW_DEFINE_GAME_CLASS(BlackHoleClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BlackHoleClass)

BlackHoleClass::BlackHoleClass() = default;

BlackHoleClass::BlackHoleClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

BlackHoleClass::BlackHoleClass(const BlackHoleClass& other) = default;

BlackHoleClass::~BlackHoleClass() = default;
