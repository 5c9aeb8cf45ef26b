#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

// An enemy ball that wanders or hunts the player; prototype "whiteball", clones "wb".
class whiteball : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(whiteball, Velkor::Sprite)

public:
    whiteball();
    explicit whiteball(const AnimationList& animations);
    whiteball(const whiteball& other);
    ~whiteball() override;
};
