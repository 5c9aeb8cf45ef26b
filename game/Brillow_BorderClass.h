#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_BorderColours.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_SpriteMouseClass.h"

// The arena border ("BorderColour") that shows the player ball's state:
// red while it is damaged, blue while it has a power (white or shield),
// hidden otherwise. A damage during a power keeps it blue.
class BorderClass : public Velkor::Sprite, public BorderColours<BorderClass, SpriteMouseClass>
{
    BRILLOW_DECLARE_GAME_CLASS(BorderClass, Velkor::Sprite)

public:
    using Machine = Velkor::StateMachine<BorderClass>;

    BorderClass();
    explicit BorderClass(const AnimationList& animations);
    BorderClass(const BorderClass& other);
    ~BorderClass() override;

    // The colour machine, and nothing else.
    void Update(float dt) override;

    Core::RefPtr<Machine> BuildColourSM();

    Core::RefPtr<Machine> colourSM;
};
