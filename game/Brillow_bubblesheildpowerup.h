#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The shield power-up; prototype "sheildpowerup", clones "bup".
class bubblesheildpowerup : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(bubblesheildpowerup, Velkor::Sprite)

public:
    bubblesheildpowerup();
    explicit bubblesheildpowerup(const AnimationList& animations);
    bubblesheildpowerup(const bubblesheildpowerup& other);
    ~bubblesheildpowerup() override;
};
