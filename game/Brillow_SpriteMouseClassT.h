#pragma once

#include "game/Brillow_GameClass.h"
#include "game/Brillow_PlayerBall.h"

// The tutorial's player ball: the player ball without the intro and pause
// tests, its machine's states stored in an order of its own.
class SpriteMouseClassT : public PlayerBall
{
    BRILLOW_DECLARE_GAME_CLASS(SpriteMouseClassT, PlayerBall)

public:
    // Its states in the order the machine stores them; blue is index 6.
    static constexpr BallState StateOrder[BallStateCount] = {
        BallState::Yellow, BallState::Red,    BallState::Green, BallState::Orange,
        BallState::White,  BallState::Shield, BallState::Blue,  BallState::Damaged,
    };

    SpriteMouseClassT();
    explicit SpriteMouseClassT(const AnimationList& animations);
    SpriteMouseClassT(const SpriteMouseClassT& other);
    ~SpriteMouseClassT() override;

    // Under the mouse, the machine and the z-1 collision rule, every frame.
    void Update(float dt) override;
};
