#include "game/Brillow_MainMenuCreditButtonClass.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(MainMenuCreditButtonClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(MainMenuCreditButtonClass)

MainMenuCreditButtonClass::MainMenuCreditButtonClass() = default;

MainMenuCreditButtonClass::MainMenuCreditButtonClass(const AnimationList& animations)
    : MainMenuButton(animations)
{
}

MainMenuCreditButtonClass::MainMenuCreditButtonClass(const MainMenuCreditButtonClass& other) = default;

MainMenuCreditButtonClass::~MainMenuCreditButtonClass() = default;

void MainMenuCreditButtonClass::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->creditsRequested = 1;
    }
}
