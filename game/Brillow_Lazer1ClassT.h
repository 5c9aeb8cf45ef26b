#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_LazerRules.h"

// The tutorial's horizontal laser beam: no pause step, points may run negative.
class Lazer1ClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(Lazer1ClassT, Velkor::Sprite)

public:
    static const LazerKind Kind;

    Lazer1ClassT();
    explicit Lazer1ClassT(const AnimationList& animations);
    Lazer1ClassT(const Lazer1ClassT& other);
    ~Lazer1ClassT() override;

    void OnStart() override;
    void Update(float dt) override;

    LazerState state;
};
