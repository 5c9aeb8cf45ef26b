#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The main menu's CREDIT button ("CreditButton"): asks for the credits.
class MainMenuCreditButtonClass : public MainMenuButton
{
    BRILLOW_DECLARE_GAME_CLASS(MainMenuCreditButtonClass, Velkor::Sprite)

public:
    MainMenuCreditButtonClass();
    explicit MainMenuCreditButtonClass(const AnimationList& animations);
    MainMenuCreditButtonClass(const MainMenuCreditButtonClass& other);
    ~MainMenuCreditButtonClass() override;

protected:
    void Click() override;
};
