#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_StageColours.h"

// The tutorial's coloured ball: a `ball` without the pause freeze, faster
// (3 or 4) and never red.
class ballT : public Velkor::Sprite, public StageColours<ballT>
{
    BRILLOW_DECLARE_GAME_CLASS(ballT, Velkor::Sprite)

public:
    using Machine = Velkor::StateMachine<ballT>;

    ballT();
    explicit ballT(const AnimationList& animations);
    // Draws the copy's speed, 3 or 4.
    ballT(const ballT& other);
    ~ballT() override;

    void OnStart() override;
    void Update(float dt) override;

    Core::RefPtr<Machine> BuildColourSM();

    float speed = 0.0f;
    Core::RefPtr<Machine> colourSM;
};
