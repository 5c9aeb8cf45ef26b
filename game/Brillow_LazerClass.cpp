#include "game/Brillow_LazerClass.h"

BRILLOW_DEFINE_GAME_CLASS(LazerClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(LazerClass)

LazerClass::LazerClass() = default;

LazerClass::LazerClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

LazerClass::LazerClass(const LazerClass& other) = default;

LazerClass::~LazerClass() = default;
