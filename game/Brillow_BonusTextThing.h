#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The sign shown while a stage is complete (one object, "Bonus").
class BonusTextThing : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BonusTextThing, Velkor::Sprite)

public:
    BonusTextThing();
    explicit BonusTextThing(const AnimationList& animations);
    BonusTextThing(const BonusTextThing& other);
    ~BonusTextThing() override;
};
