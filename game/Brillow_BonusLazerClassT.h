#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The tutorial's white laser.
class BonusLazerClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BonusLazerClassT, Velkor::Sprite)

public:
    BonusLazerClassT();
    explicit BonusLazerClassT(const AnimationList& animations);
    BonusLazerClassT(const BonusLazerClassT& other);
    ~BonusLazerClassT() override;
};
