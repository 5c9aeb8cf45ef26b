#include "game/Brillow_MainMenuOptionsButtonClass.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(MainMenuOptionsButtonClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(MainMenuOptionsButtonClass)

MainMenuOptionsButtonClass::MainMenuOptionsButtonClass() = default;

MainMenuOptionsButtonClass::MainMenuOptionsButtonClass(const AnimationList& animations)
    : MainMenuButton(animations)
{
}

MainMenuOptionsButtonClass::MainMenuOptionsButtonClass(const MainMenuOptionsButtonClass& other) = default;

MainMenuOptionsButtonClass::~MainMenuOptionsButtonClass() = default;

void MainMenuOptionsButtonClass::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->optionsRequested = 1;
    }
}
