#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The tutorial's arena border.
class BorderClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BorderClassT, Velkor::Sprite)

public:
    BorderClassT();
    explicit BorderClassT(const AnimationList& animations);
    BorderClassT(const BorderClassT& other);
    ~BorderClassT() override;
};
