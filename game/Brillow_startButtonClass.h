#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The main menu's START button ("startButton"): asks for the play level.
class startButtonClass : public MainMenuButton
{
    BRILLOW_DECLARE_GAME_CLASS(startButtonClass, Velkor::Sprite)

public:
    startButtonClass();
    explicit startButtonClass(const AnimationList& animations);
    startButtonClass(const startButtonClass& other);
    ~startButtonClass() override;

protected:
    void Click() override;
};
