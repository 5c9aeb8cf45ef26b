#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_EnemyRules.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_ObjectRules.h"
#include "game/Brillow_PlayLevelFlags.h"

#include <cmath>
#include <cstdint>

// The white ball's own fields, shared by the play level's white ball and
// the tutorial's twin, in declaration order.
struct WhiteBallState
{
    // The speed the current movement rule uses.
    float speed = 0.0f;
    // Closer than this on either axis, a hunter runs at its fast speed.
    float nearDistance = 0.0f;
    // 1 wanders, 2 hunts.
    std::int32_t behaviour = 0;
    std::uint8_t headingChosen = 0;
    float fastSpeed = 0.0f;
    float baseSpeed = 0.0f;
    float blackHoleSpeed = 0.0f;
    std::uint8_t spawning = 0;
    std::int32_t spawnCounter = 0;
};

namespace WhiteBallRules
{

constexpr std::int32_t Wander = 1;
constexpr std::int32_t Hunt = 2;

// The behaviour and speed draws of one stage: the behaviour (fixed to
// wandering where `drawBehaviour` is false), then a speed from the range of
// that behaviour, both ends included.
struct StageRow
{
    bool drawBehaviour;
    std::int32_t wanderLow;
    std::int32_t wanderHigh;
    std::int32_t huntLow;
    std::int32_t huntHigh;
};

// Rows for stages 1 to 5 of the play level's white ball and 1 to 4 of the
// tutorial's.
extern const StageRow PlayRows[5];
extern const StageRow TutorialRows[4];

// OnStart's first steps: animation 0 frame 0, counter 0, no heading yet,
// the near distance; then the draws of `stage`'s row (a stage without a row
// keeps what the state held), then spawning with the three speeds.
void Start(Velkor::Sprite& ball, WhiteBallState& state, const StageRow* rows, std::int32_t rowCount,
           std::int32_t stage);

// One random heading, drawn once (x first); then physics moves the ball.
// `heading`, when given, keeps the unscaled draw.
void WanderStep(Velkor::Sprite& ball, WhiteBallState& state, Math::Vector2D* heading);

// Straight at the player ball of class Player at base or fast speed; while
// the stage is complete a ball that may flee runs away at its base speed.
template <class Player> void HuntStep(Velkor::Sprite& ball, WhiteBallState& state, bool mayFlee)
{
    Player* player = FindObject<Player>("playerball");
    if (player == nullptr)
    {
        return;
    }
    const bool fleeing = mayFlee && PlayLevelFlags::Read(PlayFlag::StageComplete) != 0;
    const float dx = player->GetPositionX() - ball.GetPositionX();
    const float dy = player->GetPositionY() - ball.GetPositionY();
    if (!fleeing)
    {
        const bool near = std::fabs(dx) < state.nearDistance || std::fabs(dy) < state.nearDistance;
        state.speed = near ? state.fastSpeed : state.baseSpeed;
    }
    Math::Vector2D direction(dx, dy);
    direction.Normalize();
    ball.SetVelocity(fleeing ? direction * -state.speed : direction * state.speed);
}

// Into the open hole of class Hole at the black-hole speed, colliding with
// level 2 (the hole's) so that touching it can destroy the ball.
template <class Hole> void PullStep(Velkor::Sprite& ball, WhiteBallState& state)
{
    Hole* hole = FindObject<Hole>("bhpu");
    if (hole == nullptr)
    {
        return;
    }
    state.speed = state.blackHoleSpeed;
    ball.SetVelocity(ObjectRules::Towards(ball.GetPosition(), hole->GetPosition()) * state.speed);
    ObjectRules::SetCanCollide(ball, 2, true);
}

// An active white ball's update after its spawn phase: contact with the
// player, the white laser's sweep, then the pull of an open hole (which
// swallows the ball on touch) or its own movement.
template <class Player, class Hole>
void ActiveStep(Velkor::Sprite& ball, WhiteBallState& state, Math::Vector2D* heading, bool mayFlee)
{
    ObjectRules::SetCanCollide(ball, 2, false);
    state.speed = state.baseSpeed;
    TouchPlayer<Player>(ball);
    if (ObjectRules::Touches(ball, "blz"))
    {
        ball.Destroy();
    }
    if (PlayLevelFlags::Read(PlayFlag::BlackHoleActive) != 0)
    {
        PullStep<Hole>(ball, state);
    }
    else
    {
        ObjectRules::SetCanCollide(ball, 0, true);
        if (state.behaviour == Wander)
        {
            WanderStep(ball, state, heading);
        }
        else if (state.behaviour == Hunt)
        {
            HuntStep<Player>(ball, state, mayFlee);
        }
    }
    if (ObjectRules::Touches(ball, "bhpu") && PlayLevelFlags::Read(PlayFlag::BlackHoleActive) != 0)
    {
        ball.Destroy();
    }
}

} // namespace WhiteBallRules
