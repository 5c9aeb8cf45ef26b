#pragma once

#include "framework/Velkor_Level.h"
#include "game/Brillow_GameClass.h"

// The win screen ("WIN"): the final score and a button back to the menu.
class Win : public Velkor::Level
{
    BRILLOW_DECLARE_GAME_CLASS(Win, Velkor::Level)

public:
    Win();
    ~Win() override;

    // WriteFinalScore, every frame.
    void Update(float dt) override;
};
