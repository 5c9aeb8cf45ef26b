#include "game/Brillow_Lose.h"

#include "game/Brillow_FinalScore.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_Sounds.h"

BRILLOW_DEFINE_LEVEL_CLASS(Lose)

Lose::Lose() = default;

Lose::~Lose() = default;

void Lose::OnStart()
{
    if (BreakBall* sound = FindObject<BreakBall>("breakball"))
    {
        sound->Play(false);
    }
    frameCount = 0;
}

void Lose::OnEnd()
{
    if (BreakBall* sound = FindObject<BreakBall>("breakball"))
    {
        sound->Stop();
    }
}

void Lose::Update(float)
{
    WriteFinalScore();
    ++frameCount;
    if (frameCount >= FramesShown)
    {
        if (MyGame* game = MyGame::GetInstance())
        {
            game->ChangeLevel(NextLevel);
        }
    }
}
