#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The tutorial's shield power-up.
class bubblesheildpowerupT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(bubblesheildpowerupT, Velkor::Sprite)

public:
    bubblesheildpowerupT();
    explicit bubblesheildpowerupT(const AnimationList& animations);
    bubblesheildpowerupT(const bubblesheildpowerupT& other);
    ~bubblesheildpowerupT() override;
};
