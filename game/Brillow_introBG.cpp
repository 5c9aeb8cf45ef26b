#include "game/Brillow_introBG.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(introBG)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(introBG)

introBG::introBG() = default;

introBG::introBG(const AnimationList& animations) : Velkor::Sprite(animations) {}

introBG::introBG(const introBG& other) = default;

introBG::~introBG() = default;

void introBG::Update(float)
{
    const MyGame* game = MyGame::GetInstance();
    if (game != nullptr && game->introRunning == 0)
    {
        SetVisible(false);
    }
}
