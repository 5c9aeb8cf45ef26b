#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The options screen's full-screen button ("FullScreenButton"): switches
// between window and full screen.
class FullScreenButtonClass : public MenuButton
{
    BRILLOW_DECLARE_GAME_CLASS(FullScreenButtonClass, Velkor::Sprite)

public:
    FullScreenButtonClass();
    explicit FullScreenButtonClass(const AnimationList& animations);
    FullScreenButtonClass(const FullScreenButtonClass& other);
    ~FullScreenButtonClass() override;

protected:
    void Click() override;
};
