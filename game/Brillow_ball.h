#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// A coloured ball that the player eats; the prototype is named "ball", its clones "bgc".
class ball : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(ball, Velkor::Sprite)

public:
    ball();
    explicit ball(const AnimationList& animations);
    ball(const ball& other);
    ~ball() override;
};
