#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The main menu's OPTIONS button ("OptionsButton"): asks for the options screen.
class MainMenuOptionsButtonClass : public MainMenuButton
{
    BRILLOW_DECLARE_GAME_CLASS(MainMenuOptionsButtonClass, Velkor::Sprite)

public:
    MainMenuOptionsButtonClass();
    explicit MainMenuOptionsButtonClass(const AnimationList& animations);
    MainMenuOptionsButtonClass(const MainMenuOptionsButtonClass& other);
    ~MainMenuOptionsButtonClass() override;

protected:
    void Click() override;
};
