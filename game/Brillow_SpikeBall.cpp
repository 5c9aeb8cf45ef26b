#include "game/Brillow_SpikeBall.h"

BRILLOW_DEFINE_GAME_CLASS(SpikeBall)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(SpikeBall)

SpikeBall::SpikeBall() = default;

SpikeBall::SpikeBall(const AnimationList& animations) : Velkor::Sprite(animations) {}

SpikeBall::SpikeBall(const SpikeBall& other) = default;

SpikeBall::~SpikeBall() = default;
