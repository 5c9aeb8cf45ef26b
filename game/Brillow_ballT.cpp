#include "game/Brillow_ballT.h"

BRILLOW_DEFINE_GAME_CLASS(ballT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(ballT)

ballT::ballT() = default;

ballT::ballT(const AnimationList& animations) : Velkor::Sprite(animations) {}

ballT::ballT(const ballT& other) = default;

ballT::~ballT() = default;
