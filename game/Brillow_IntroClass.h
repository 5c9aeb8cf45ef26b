#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

#include <cstdint>

// The main menu's intro ("sprite0"): each of its two pictures fades in from
// nothing up to an opacity of 2.0 and out again in steps of 1/64 a frame
// (it looks fully opaque from 1.0 up); after the second picture, or at any
// click, Enter or Space, the intro is over and the sprite hides itself.
class IntroClass : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(IntroClass, Velkor::Sprite)

public:
    // Sums of it from 1/64 meet 2.0 and 0.0 exactly in single precision.
    static constexpr float Step = 0.015625f;
    static constexpr float Peak = 2.0f;

    IntroClass();
    explicit IntroClass(const AnimationList& animations);
    IntroClass(const IntroClass& other);
    ~IntroClass() override;

    void OnStart() override;
    void Update(float dt) override;

    // +1 while the picture fades in, -1 while it fades out.
    std::int32_t fadeDirection = 1;

private:
    // One step of the picture's fade; true when it has faded out.
    bool Fade();
};
