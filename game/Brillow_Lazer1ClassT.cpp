#include "game/Brillow_Lazer1ClassT.h"

BRILLOW_DEFINE_GAME_CLASS(Lazer1ClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Lazer1ClassT)

Lazer1ClassT::Lazer1ClassT() = default;

Lazer1ClassT::Lazer1ClassT(const AnimationList& animations) : Velkor::Sprite(animations) {}

Lazer1ClassT::Lazer1ClassT(const Lazer1ClassT& other) = default;

Lazer1ClassT::~Lazer1ClassT() = default;
