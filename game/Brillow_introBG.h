#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The backdrop of the main menu's intro ("sprite1"): it hides itself once
// the intro is over.
class introBG : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(introBG, Velkor::Sprite)

public:
    introBG();
    explicit introBG(const AnimationList& animations);
    introBG(const introBG& other);
    ~introBG() override;

    void Update(float dt) override;
};
