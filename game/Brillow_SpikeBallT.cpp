#include "game/Brillow_SpikeBallT.h"

BRILLOW_DEFINE_GAME_CLASS(SpikeBallT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(SpikeBallT)

SpikeBallT::SpikeBallT() = default;

SpikeBallT::SpikeBallT(const AnimationList& animations) : Velkor::Sprite(animations) {}

SpikeBallT::SpikeBallT(const SpikeBallT& other) = default;

SpikeBallT::~SpikeBallT() = default;
