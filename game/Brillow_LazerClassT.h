#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// The tutorial's vertical laser beam.
class LazerClassT : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(LazerClassT, Velkor::Sprite)

public:
    LazerClassT();
    explicit LazerClassT(const AnimationList& animations);
    LazerClassT(const LazerClassT& other);
    ~LazerClassT() override;
};
