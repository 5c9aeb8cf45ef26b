#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_BorderColours.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_SpriteMouseClassT.h"

// The arena border ("BorderColour") that shows the player ball's state:
// red while it is damaged, blue while it has a power (white or shield),
// hidden otherwise. A damage during a power keeps it blue.
class BorderClassT : public Velkor::Sprite, public BorderColours<BorderClassT, SpriteMouseClassT>
{
    BRILLOW_DECLARE_GAME_CLASS(BorderClassT, Velkor::Sprite)

public:
    using Machine = Velkor::StateMachine<BorderClassT>;

    BorderClassT();
    explicit BorderClassT(const AnimationList& animations);
    BorderClassT(const BorderClassT& other);
    ~BorderClassT() override;

    // The colour machine, and nothing else.
    void Update(float dt) override;

    Core::RefPtr<Machine> BuildColourSM();

    Core::RefPtr<Machine> colourSM;
};
