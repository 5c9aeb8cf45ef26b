#include "game/Brillow_LazerClassT.h"

BRILLOW_DEFINE_GAME_CLASS(LazerClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(LazerClassT)

LazerClassT::LazerClassT() = default;

LazerClassT::LazerClassT(const AnimationList& animations) : Velkor::Sprite(animations) {}

LazerClassT::LazerClassT(const LazerClassT& other) = default;

LazerClassT::~LazerClassT() = default;
