#include "game/Brillow_ColouredBallRules.h"

#include "game/Brillow_MyGame.h"
#include "game/Brillow_PlayLevelFlags.h"

namespace
{

constexpr float FieldHalfWidth = 520.0f;
constexpr float FieldHalfHeight = 400.0f;

} // namespace

void ColouredBallRules::EatSweepOrLeave(Velkor::Sprite& ball, Eatball* eatSound)
{
    if (ball.IsCollidedWithSprite("playerball", true))
    {
        if (eatSound != nullptr)
        {
            eatSound->Play(false);
        }
        if (MyGame* game = MyGame::GetInstance())
        {
            game->totalScore += 10;
            if (PlayLevelFlags::Read(PlayFlag::StageComplete) == 0)
            {
                game->levelScore += 1;
            }
        }
        ball.Destroy();
    }
    if (ball.IsCollidedWithSprite("blz", true))
    {
        ball.Destroy();
    }
    const float x = ball.GetPositionX();
    const float y = ball.GetPositionY();
    if (x > FieldHalfWidth || x < -FieldHalfWidth || y > FieldHalfHeight || y < -FieldHalfHeight)
    {
        ball.Destroy();
    }
}
