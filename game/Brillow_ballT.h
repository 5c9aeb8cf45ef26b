#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The tutorial's coloured ball.
class ballT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(ballT, Velkor::Sprite)

public:
    ballT();
    explicit ballT(const AnimationList& animations);
    ballT(const ballT& other);
    ~ballT() override;
};
