#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The main menu's EXIT button ("ExitButton"): ends the program after the frame.
class MainMenuExit : public MainMenuButton
{
    BRILLOW_DECLARE_GAME_CLASS(MainMenuExit, Velkor::Sprite)

public:
    MainMenuExit();
    explicit MainMenuExit(const AnimationList& animations);
    MainMenuExit(const MainMenuExit& other);
    ~MainMenuExit() override;

protected:
    void Click() override;
};
