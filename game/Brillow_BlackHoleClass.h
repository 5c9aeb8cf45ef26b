#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The black-hole power-up; prototype "blackHolePU", clones "bhpu".
class BlackHoleClass : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BlackHoleClass, Velkor::Sprite)

public:
    BlackHoleClass();
    explicit BlackHoleClass(const AnimationList& animations);
    BlackHoleClass(const BlackHoleClass& other);
    ~BlackHoleClass() override;
};
