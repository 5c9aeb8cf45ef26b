#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// A vertical laser beam; prototype "Lazer", clones "lz".
class LazerClass : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(LazerClass, Velkor::Sprite)

public:
    LazerClass();
    explicit LazerClass(const AnimationList& animations);
    LazerClass(const LazerClass& other);
    ~LazerClass() override;
};
