#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The button back to the main menu ("MainMenu") of the win, credits, options
// and second lose screens.
class GoToMainMenuClass : public MenuButton
{
    BRILLOW_DECLARE_GAME_CLASS(GoToMainMenuClass, Velkor::Sprite)

public:
    GoToMainMenuClass();
    explicit GoToMainMenuClass(const AnimationList& animations);
    GoToMainMenuClass(const GoToMainMenuClass& other);
    ~GoToMainMenuClass() override;

protected:
    void Click() override;
};
