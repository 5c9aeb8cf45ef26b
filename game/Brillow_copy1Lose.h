#pragma once

#include "framework/Velkor_Level.h"
#include "game/Brillow_GameClass.h"

// The second lose screen ("copy0Lose"): the final score and a button back to
// the menu.
class copy1Lose : public Velkor::Level
{
    BRILLOW_DECLARE_GAME_CLASS(copy1Lose, Velkor::Level)

public:
    copy1Lose();
    ~copy1Lose() override;

    // WriteFinalScore, every frame.
    void Update(float dt) override;
};
