#include "game/Brillow_BorderClass.h"

BRILLOW_DEFINE_GAME_CLASS(BorderClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BorderClass)

BorderClass::BorderClass() = default;

BorderClass::BorderClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

BorderClass::BorderClass(const BorderClass& other) = default;

BorderClass::~BorderClass() = default;
