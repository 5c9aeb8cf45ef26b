#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The white laser that ends a completed stage; prototype "WhiteLazer", clones "blz".
class BonusLazerClass : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BonusLazerClass, Velkor::Sprite)

public:
    BonusLazerClass();
    explicit BonusLazerClass(const AnimationList& animations);
    BonusLazerClass(const BonusLazerClass& other);
    ~BonusLazerClass() override;
};
