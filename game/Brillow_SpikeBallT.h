#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_SpikeBallRules.h"

// The tutorial's spike ball: no pause freeze.
class SpikeBallT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(SpikeBallT, Velkor::Sprite)

public:
    SpikeBallT();
    explicit SpikeBallT(const AnimationList& animations);
    SpikeBallT(const SpikeBallT& other);
    ~SpikeBallT() override;

    void OnStart() override;
    void Update(float dt) override;

    SpikeBallState state;
};
