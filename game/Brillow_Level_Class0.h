#pragma once

#include "framework/Velkor_Level.h"
#include "game/Brillow_GameClass.h"

// The main menu ("level0"). The player ball is the menu's pointer, so the
// heads-up display draws no cursor of its own over it.
class Level_Class0 : public Velkor::Level
{
    BRILLOW_DECLARE_GAME_CLASS(Level_Class0, Velkor::Level)

public:
    Level_Class0();
    ~Level_Class0() override;

    void OnStart() override;
};
