#include "game/Brillow_GoToMainMenuClass.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(GoToMainMenuClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(GoToMainMenuClass)

GoToMainMenuClass::GoToMainMenuClass() = default;

GoToMainMenuClass::GoToMainMenuClass(const AnimationList& animations) : MenuButton(animations) {}

GoToMainMenuClass::GoToMainMenuClass(const GoToMainMenuClass& other) = default;

GoToMainMenuClass::~GoToMainMenuClass() = default;

void GoToMainMenuClass::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->backToMenuRequested = 1;
    }
}
