#include "game/Brillow_startButtonClass.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(startButtonClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(startButtonClass)

startButtonClass::startButtonClass() = default;

startButtonClass::startButtonClass(const AnimationList& animations) : MainMenuButton(animations) {}

startButtonClass::startButtonClass(const startButtonClass& other) = default;

startButtonClass::~startButtonClass() = default;

void startButtonClass::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->startRequested = 1;
    }
}
