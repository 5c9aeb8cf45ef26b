#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_WhiteBallRules.h"

// An enemy ball that wanders or hunts the player; prototype "whiteball", clones "wb".
class whiteball : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(whiteball, Velkor::Sprite)

public:
    whiteball();
    explicit whiteball(const AnimationList& animations);
    whiteball(const whiteball& other);
    ~whiteball() override;

    // Behaviour and speed by stage; nothing for the prototype.
    void OnStart() override;
    void Update(float dt) override;

    WhiteBallState state;
    // Whether the velocity was set again after OnStart or a pause.
    std::uint8_t velocityApplied = 0;
    // The last velocity read from the body.
    Math::Vector2D heading;
    float velocityScale = 0.0f;
};
