#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

namespace BonusLazerRules
{

// Speeds of the sweep: right while the arena holds balls, then left.
constexpr float InSpeed = 20.0f;
constexpr float OutSpeed = 40.0f;
// At or left of this x the sweep is over and the stage goes up.
constexpr float EndX = -479.0f;

// The end of the sweep: the laser goes, the level's stage-complete and
// white-laser switches are cleared, the stage goes up by one.
void FinishSweep(Velkor::Sprite& laser);
// Both white lasers' OnEnd: the "bonuslevels" sound stops.
void StopSound();
// Both white lasers' OnStart, for a clone: the sound plays and the laser
// moves right at InSpeed.
void StartSweep(Velkor::Sprite& laser);

} // namespace BonusLazerRules

// The white laser that ends a completed stage; prototype "WhiteLazer",
// clones "blz". It sweeps right, destroying what it touches; once no
// coloured, white or spike ball is left it sweeps out to the left and
// raises the stage.
class BonusLazerClass : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BonusLazerClass, Velkor::Sprite)

public:
    BonusLazerClass();
    explicit BonusLazerClass(const AnimationList& animations);
    BonusLazerClass(const BonusLazerClass& other);
    ~BonusLazerClass() override;

    void OnStart() override;
    void OnEnd() override;
    void Update(float dt) override;

    float speed = 0.0f;
    // The last velocity read from the body.
    Math::Vector2D savedVelocity;
    Math::Vector2D zeroVector;
    std::uint8_t velocityApplied = 0;
};
