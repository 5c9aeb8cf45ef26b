#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_GameClass.h"

// The tutorial's black hole: no pause step; its way out sets the
// tutorial's `blackHoleAllowed`.
class BlackHoleClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BlackHoleClassT, Velkor::Sprite)

public:
    BlackHoleClassT();
    explicit BlackHoleClassT(const AnimationList& animations);
    BlackHoleClassT(const BlackHoleClassT& other);
    ~BlackHoleClassT() override;

    void OnStart() override;
    void Update(float dt) override;

    BlackHoleState state;
};
