#include "game/Brillow_FullScreenButtonClass.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(FullScreenButtonClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(FullScreenButtonClass)

FullScreenButtonClass::FullScreenButtonClass() = default;

FullScreenButtonClass::FullScreenButtonClass(const AnimationList& animations) : MenuButton(animations) {}

FullScreenButtonClass::FullScreenButtonClass(const FullScreenButtonClass& other) = default;

FullScreenButtonClass::~FullScreenButtonClass() = default;

void FullScreenButtonClass::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->ToggleFullScreen();
    }
}
