#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The main menu's TUTORIAL button ("tutorialButton"): asks for the tutorial.
class tutorialButtonClass : public MainMenuButton
{
    BRILLOW_DECLARE_GAME_CLASS(tutorialButtonClass, Velkor::Sprite)

public:
    tutorialButtonClass();
    explicit tutorialButtonClass(const AnimationList& animations);
    tutorialButtonClass(const tutorialButtonClass& other);
    ~tutorialButtonClass() override;

protected:
    void Click() override;
};
