#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_LazerRules.h"

// A vertical laser beam; prototype "Lazer", clones "lz".
class LazerClass : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(LazerClass, Velkor::Sprite)

public:
    static const LazerKind Kind;

    LazerClass();
    explicit LazerClass(const AnimationList& animations);
    LazerClass(const LazerClass& other);
    ~LazerClass() override;

    void OnStart() override;
    void Update(float dt) override;

    LazerState state;
};
