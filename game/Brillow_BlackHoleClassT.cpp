#include "game/Brillow_BlackHoleClassT.h"

BRILLOW_DEFINE_GAME_CLASS(BlackHoleClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BlackHoleClassT)

BlackHoleClassT::BlackHoleClassT() = default;

BlackHoleClassT::BlackHoleClassT(const AnimationList& animations) : Velkor::Sprite(animations) {}

BlackHoleClassT::BlackHoleClassT(const BlackHoleClassT& other) = default;

BlackHoleClassT::~BlackHoleClassT() = default;
