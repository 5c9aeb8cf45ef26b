#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The pause overlay's exit button ("ExitButton" of the play level): opens the
// quit dialog.
class ExitButtonClass : public OverlayButton
{
    BRILLOW_DECLARE_GAME_CLASS(ExitButtonClass, Velkor::Sprite)

public:
    ExitButtonClass();
    explicit ExitButtonClass(const AnimationList& animations);
    ExitButtonClass(const ExitButtonClass& other);
    ~ExitButtonClass() override;

protected:
    void Click() override;
};
