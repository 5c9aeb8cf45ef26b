#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_StateMachine.h"
#include "math/Math_Vector2D.h"

#include <array>
#include <cstdint>

// What the player ball and its tutorial twin share: the flags other objects
// read, the colour machine "stateSM" with its actions and conditions, and
// the per-frame steps around it. The machine has eight states (the five
// stage colours, "Damaged", "WHITE" and the shield "bubblesheild"); each
// twin stores them in its own order, which shows only in the saved state
// index.
class PlayerBall : public Velkor::Sprite
{
public:
    using Machine = Velkor::StateMachine<PlayerBall>;

    // The states, whatever the order a twin stores them in.
    enum class BallState : std::uint8_t
    {
        Yellow,
        Red,
        Green,
        Orange,
        Blue,
        Damaged,
        White,
        Shield,
    };
    static constexpr std::uint32_t BallStateCount = 8;
    // Frames a hit lasts; collisions with z 0 come back when DamageZ0Back are left.
    static constexpr std::int32_t DamageFrames = 180;
    static constexpr std::int32_t DamageZ0Back = 120;
    static constexpr float ShieldSeconds = 3.0f;
    static constexpr float PausedZOrder = 11.5f;

    // Its name in the machine ("YELLOW", "bubblesheild").
    static const char* GetBallStateName(BallState state);
    // The state the machine is in now.
    BallState GetBallState() const;

    // The sprite's record, then the machine's.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    // Clears the flags and the pause velocity; the machine keeps its state.
    void OnStart() override;

    // Frames of blinking still to go.
    std::int32_t blinkFrames = 0;
    // 1 in the white and the shield state: enemies and lasers spare the ball.
    std::uint8_t powered = 0;
    // 1 in the damaged state.
    std::uint8_t damaged = 0;
    // Set by the shield pick-up; cleared when the shield state ends.
    std::uint8_t shieldRequested = 0;
    // Frames of damage still to go.
    std::int32_t damageTimer = 0;
    // Their product is the velocity while the play level is paused.
    float pauseVelocityScale = 0.0f;
    Math::Vector2D pauseVelocity;
    Core::RefPtr<Machine> stateSM;

    // --- Machine actions (frame time in seconds) ------------------------------
    void EnterYellow(float dt);
    void EnterRed(float dt);
    void EnterGreen(float dt);
    void EnterOrange(float dt);
    void EnterBlue(float dt);
    void EnterDamaged(float dt);
    void UpdateDamaged(float dt);
    void ExitDamaged(float dt);
    void EnterWhite(float dt);
    void ExitWhite(float dt);
    void EnterShield(float dt);
    void ExitShield(float dt);

    // --- Machine conditions -----------------------------------------------------
    bool IsAlways(float dt);
    // Shape contact with the shield pick-up "bup".
    bool IsShieldTouched(float dt);
    // Shape contact with an enemy ball, a spike ball or a laser.
    bool IsHit(float dt);
    bool IsShieldRequested(float dt);
    bool IsStage1(float dt);
    bool IsStage2(float dt);
    bool IsStage3(float dt);
    bool IsStage4(float dt);
    bool IsStage5(float dt);
    bool IsStageComplete(float dt);
    bool IsTimerOutAtStage1(float dt);
    bool IsTimerOutAtStage2(float dt);
    bool IsTimerOutAtStage3(float dt);
    bool IsTimerOutAtStage4(float dt);
    bool IsTimerOutAtStage5(float dt);
    bool IsStage2NotComplete(float dt);
    bool IsStage3NotComplete(float dt);
    bool IsStage4NotComplete(float dt);
    bool IsStage5NotComplete(float dt);

protected:
    PlayerBall() = default;
    explicit PlayerBall(const AnimationList& animations) : Velkor::Sprite(animations) {}
    // The sprite and the flags, with a copy of the machine owned by the copy.
    PlayerBall(const PlayerBall& other);
    ~PlayerBall() override;

    // A new "stateSM" storing the states in `order` and starting in the
    // blue state.
    void BuildStateMachine(const BallState (&order)[BallStateCount]);

    // Steps 3 to 6 of a frame: z order 0, under the mouse, the machine, and
    // the rule for collisions with z 1 (a black hole or damage switch them
    // off unless the ball is powered).
    void FollowTheMouse(float dt);
    // The damaged state's blinking: the visibility toggles on every third frame.
    void Blink();

private:
    void SetCanCollide(std::uint8_t z, bool on);
    void ShowAnimation(std::uint32_t animation);

    // The state stored at each index of the machine.
    std::array<BallState, BallStateCount> order_{};
};
