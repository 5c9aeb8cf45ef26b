#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The bonus sign "Bonus": shown exactly while the stage is complete.
class BonusTextThing : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BonusTextThing, Velkor::Sprite)

public:
    BonusTextThing();
    explicit BonusTextThing(const AnimationList& animations);
    BonusTextThing(const BonusTextThing& other);
    ~BonusTextThing() override;

    void OnStart() override;
    void Update(float dt) override;
};
