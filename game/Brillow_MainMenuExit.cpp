#include "game/Brillow_MainMenuExit.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(MainMenuExit)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(MainMenuExit)

MainMenuExit::MainMenuExit() = default;

MainMenuExit::MainMenuExit(const AnimationList& animations) : MainMenuButton(animations) {}

MainMenuExit::MainMenuExit(const MainMenuExit& other) = default;

MainMenuExit::~MainMenuExit() = default;

void MainMenuExit::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->Exit();
    }
}
