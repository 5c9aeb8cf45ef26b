#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The tutorial's horizontal laser beam.
class Lazer1ClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(Lazer1ClassT, Velkor::Sprite)

public:
    Lazer1ClassT();
    explicit Lazer1ClassT(const AnimationList& animations);
    Lazer1ClassT(const Lazer1ClassT& other);
    ~Lazer1ClassT() override;
};
