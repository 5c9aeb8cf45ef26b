#include "game/Brillow_SpriteMouseClassT.h"

BRILLOW_DEFINE_GAME_CLASS(SpriteMouseClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(SpriteMouseClassT)

SpriteMouseClassT::SpriteMouseClassT()
{
    BuildStateMachine(StateOrder);
}

SpriteMouseClassT::SpriteMouseClassT(const AnimationList& animations) : PlayerBall(animations)
{
    BuildStateMachine(StateOrder);
}

SpriteMouseClassT::SpriteMouseClassT(const SpriteMouseClassT& other) = default;

SpriteMouseClassT::~SpriteMouseClassT() = default;

void SpriteMouseClassT::Update(float dt)
{
    FollowTheMouse(dt);
}
