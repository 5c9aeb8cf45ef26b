#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_LazerRules.h"

// The tutorial's vertical laser beam: no pause step, points may run negative.
class LazerClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(LazerClassT, Velkor::Sprite)

public:
    static const LazerKind Kind;

    LazerClassT();
    explicit LazerClassT(const AnimationList& animations);
    LazerClassT(const LazerClassT& other);
    ~LazerClassT() override;

    void OnStart() override;
    void Update(float dt) override;

    LazerState state;
};
