#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// A pause overlay button that no level places (made by class name only); a
// click opens the quit dialog, as the exit button's does.
class OptionButtonClass : public OverlayButton
{
    BRILLOW_DECLARE_GAME_CLASS(OptionButtonClass, Velkor::Sprite)

public:
    OptionButtonClass();
    explicit OptionButtonClass(const AnimationList& animations);
    OptionButtonClass(const OptionButtonClass& other);
    ~OptionButtonClass() override;

protected:
    void Click() override;
};
