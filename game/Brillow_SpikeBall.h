#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_SpikeBallRules.h"

// An enemy ball that hunts and crushes the coloured balls; prototype "spikeball", clones "ss".
class SpikeBall : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(SpikeBall, Velkor::Sprite)

public:
    SpikeBall();
    explicit SpikeBall(const AnimationList& animations);
    SpikeBall(const SpikeBall& other);
    ~SpikeBall() override;

    void OnStart() override;
    void Update(float dt) override;

    SpikeBallState state;
};
