#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_EnemyRules.h"
#include "game/Brillow_MyGame.h"

#include <cstdint>

// The spike ball's own fields, shared by the play level's spike ball and
// the tutorial's twin, in declaration order.
struct SpikeBallState
{
    float speed = 0.0f;
    std::uint8_t spawning = 0;
    std::int32_t spawnCounter = 0;
    // The velocity read while the game is paused.
    Math::Vector2D savedVelocity;
};

namespace SpikeBallRules
{

// Hunt speeds: stages 1 and 2, then from stage 3 on.
constexpr float EarlySpeed = 10.0f;
constexpr float LateSpeed = 15.0f;

// Every coloured ball named "bgc" whose circle crosses the spike ball's is
// destroyed, and the spike ball with them. A pair where either side has no
// circle in its current frame (or no collision object) is not crushed.
void Crush(Velkor::Sprite& spike);

// The update after the pause step: spawn phase, contact with the player
// (of class Player), the hunt of the first coloured ball (of class Ball),
// the white laser's sweep, crushing.
template <class Player, class Ball> void ActiveUpdate(Velkor::Sprite& spike, SpikeBallState& state)
{
    if (RunSpawnPhase(spike, state.spawning, state.spawnCounter, state.speed))
    {
        return;
    }
    TouchPlayer<Player>(spike);
    if (Ball* target = FindObject<Ball>("bgc"))
    {
        MyGame* game = ObjectRules::Data();
        const std::int32_t stage = game != nullptr ? game->stage : 0;
        state.speed = stage < 3 ? EarlySpeed : LateSpeed;
        spike.SetVelocity(ObjectRules::Towards(spike.GetPosition(), target->GetPosition()) * state.speed);
    }
    if (ObjectRules::Touches(spike, "blz"))
    {
        spike.Destroy();
    }
    Crush(spike);
}

} // namespace SpikeBallRules
