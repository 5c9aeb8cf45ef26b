#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_BonusLazerClass.h"
#include "game/Brillow_GameClass.h"

// The tutorial's white laser: it sweeps right only and ends after 630
// frames whatever the arena holds, stepping its picture every tenth frame.
class BonusLazerClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BonusLazerClassT, Velkor::Sprite)

public:
    // Frames the sweep lasts.
    static constexpr std::int32_t SweepFrames = 630;

    BonusLazerClassT();
    explicit BonusLazerClassT(const AnimationList& animations);
    BonusLazerClassT(const BonusLazerClassT& other);
    ~BonusLazerClassT() override;

    void OnStart() override;
    void OnEnd() override;
    void Update(float dt) override;

    float speed = 0.0f;
    std::int32_t frameCounter = 0;
};
