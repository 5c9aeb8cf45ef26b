#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_StageColours.h"
#include "math/Math_Vector2D.h"

// A coloured ball that the player eats; the prototype is named "ball", its
// clones "bgc". A clone starts in a random direction, bounces through the
// arena, stands still while the play level is paused, and goes when the
// player eats it, the white laser sweeps it or it leaves the field. Its
// colour follows the stage through "ColourSM".
class ball : public Velkor::Sprite, public StageColours<ball>
{
    BRILLOW_DECLARE_GAME_CLASS(ball, Velkor::Sprite)

public:
    using Machine = Velkor::StateMachine<ball>;

    ball();
    explicit ball(const AnimationList& animations);
    // Draws the copy's speed, 1 to 3.
    ball(const ball& other);
    ~ball() override;

    void OnStart() override;
    void Update(float dt) override;

    // The colour machine of a new ball: blue, moving forward with the stage.
    Core::RefPtr<Machine> BuildColourSM();

    float speed = 0.0f;
    float speedFactor = 0.0f;
    // The last velocity while unpaused; restored after a pause.
    Math::Vector2D heading;
    bool velocityApplied = false;
    Math::Vector2D zero;
    Core::RefPtr<Machine> colourSM;
};
