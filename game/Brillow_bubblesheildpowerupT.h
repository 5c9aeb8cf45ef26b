#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_bubblesheildpowerup.h"

// The tutorial's shield power-up: it asks the tutorial's player ball.
class bubblesheildpowerupT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(bubblesheildpowerupT, Velkor::Sprite)

public:
    bubblesheildpowerupT();
    explicit bubblesheildpowerupT(const AnimationList& animations);
    bubblesheildpowerupT(const bubblesheildpowerupT& other);
    ~bubblesheildpowerupT() override;

    void OnStart() override;
    void Update(float dt) override;

    float speed = 0.0f;
    std::int32_t lifeCounter = 0;
};
