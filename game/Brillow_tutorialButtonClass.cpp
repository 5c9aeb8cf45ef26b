#include "game/Brillow_tutorialButtonClass.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(tutorialButtonClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(tutorialButtonClass)

tutorialButtonClass::tutorialButtonClass() = default;

tutorialButtonClass::tutorialButtonClass(const AnimationList& animations) : MainMenuButton(animations) {}

tutorialButtonClass::tutorialButtonClass(const tutorialButtonClass& other) = default;

tutorialButtonClass::~tutorialButtonClass() = default;

void tutorialButtonClass::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->tutorialRequested = 1;
    }
}
