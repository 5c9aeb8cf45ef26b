#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_LazerRules.h"

// A horizontal laser beam; prototype "Lazer1", clones "lz1".
class Lazer1Class : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(Lazer1Class, Velkor::Sprite)

public:
    static const LazerKind Kind;

    Lazer1Class();
    explicit Lazer1Class(const AnimationList& animations);
    Lazer1Class(const Lazer1Class& other);
    ~Lazer1Class() override;

    void OnStart() override;
    void Update(float dt) override;

    LazerState state;
};
