#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The arena border that shows the player ball's state (one object, "BorderColour").
class BorderClass : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BorderClass, Velkor::Sprite)

public:
    BorderClass();
    explicit BorderClass(const AnimationList& animations);
    BorderClass(const BorderClass& other);
    ~BorderClass() override;
};
