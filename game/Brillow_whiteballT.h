#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The tutorial's enemy ball.
class whiteballT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(whiteballT, Velkor::Sprite)

public:
    whiteballT();
    explicit whiteballT(const AnimationList& animations);
    whiteballT(const whiteballT& other);
    ~whiteballT() override;
};
