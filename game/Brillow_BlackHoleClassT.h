#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The tutorial's black-hole power-up.
class BlackHoleClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BlackHoleClassT, Velkor::Sprite)

public:
    BlackHoleClassT();
    explicit BlackHoleClassT(const AnimationList& animations);
    BlackHoleClassT(const BlackHoleClassT& other);
    ~BlackHoleClassT() override;
};
