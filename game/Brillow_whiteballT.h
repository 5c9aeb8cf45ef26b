#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_WhiteBallRules.h"

// The tutorial's white ball: no pause freeze and no fleeing.
class whiteballT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(whiteballT, Velkor::Sprite)

public:
    whiteballT();
    explicit whiteballT(const AnimationList& animations);
    whiteballT(const whiteballT& other);
    ~whiteballT() override;

    void OnStart() override;
    void Update(float dt) override;

    WhiteBallState state;
};
