#include "game/Brillow_SpriteMouseClass.h"

#include "game/Brillow_MyGame.h"
#include "game/Brillow_PlayLevelFlags.h"

BRILLOW_DEFINE_GAME_CLASS(SpriteMouseClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(SpriteMouseClass)

SpriteMouseClass::SpriteMouseClass()
{
    BuildStateMachine(StateOrder);
}

SpriteMouseClass::SpriteMouseClass(const AnimationList& animations) : PlayerBall(animations)
{
    BuildStateMachine(StateOrder);
}

SpriteMouseClass::SpriteMouseClass(const SpriteMouseClass& other) = default;

SpriteMouseClass::~SpriteMouseClass() = default;

void SpriteMouseClass::Update(float dt)
{
    const MyGame* game = MyGame::GetInstance();
    if (game != nullptr && game->introRunning != 0)
    {
        return;
    }
    if (PlayLevelFlags::Read(PlayFlag::Paused) == 1)
    {
        SetVelocity(pauseVelocity * pauseVelocityScale);
        SetZOrder(PausedZOrder);
        SetVisible(true);
        return;
    }
    FollowTheMouse(dt);
}
