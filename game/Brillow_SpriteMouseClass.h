#pragma once

#include "game/Brillow_GameClass.h"
#include "game/Brillow_PlayerBall.h"

// The player ball "playerball": it sits under the mouse pointer and takes
// the colour of the stage, turns white while a completed stage's white
// laser crosses the field, takes a shield for 3 s and blinks after a hit.
// In the menus and end screens it is the pointer the buttons react to.
class SpriteMouseClass : public PlayerBall
{
    BRILLOW_DECLARE_GAME_CLASS(SpriteMouseClass, PlayerBall)

public:
    // Its states in the order the machine stores them.
    static constexpr BallState StateOrder[BallStateCount] = {
        BallState::Yellow, BallState::Red,     BallState::Green, BallState::Orange,
        BallState::Blue,   BallState::Damaged, BallState::White, BallState::Shield,
    };

    SpriteMouseClass();
    explicit SpriteMouseClass(const AnimationList& animations);
    SpriteMouseClass(const SpriteMouseClass& other);
    ~SpriteMouseClass() override;

    // Idle while the main menu's intro plays; still, visible and in front
    // while the play level is paused; else under the mouse, the machine and
    // the z-1 collision rule.
    void Update(float dt) override;
};
