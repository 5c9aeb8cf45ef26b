#include "game/Brillow_WhiteBallRules.h"

#include "framework/Velkor_Random.h"

namespace WhiteBallRules
{

const StageRow PlayRows[5] = {
    {false, 2, 4, 0, 0}, {true, 2, 4, 2, 4}, {true, 2, 4, 4, 5}, {true, 2, 4, 4, 6}, {true, 2, 5, 5, 6},
};

const StageRow TutorialRows[4] = {
    {false, 2, 6, 0, 0},
    {true, 3, 6, 3, 6},
    {true, 2, 6, 5, 10},
    {true, 2, 6, 6, 10},
};

void Start(Velkor::Sprite& ball, WhiteBallState& state, const StageRow* rows, std::int32_t rowCount,
           std::int32_t stage)
{
    state.nearDistance = 40.0f;
    state.spawnCounter = 0;
    ball.SetCurrentAnimationIndex(0, false);
    ball.SetCurrentFrameIndex(0, false);
    state.headingChosen = 0;
    if (stage >= 1 && stage <= rowCount)
    {
        const StageRow& row = rows[stage - 1];
        state.behaviour = row.drawBehaviour ? Velkor::RandomInt(1, 2) : Wander;
        state.speed =
            static_cast<float>(state.behaviour == Wander ? Velkor::RandomInt(row.wanderLow, row.wanderHigh)
                                                         : Velkor::RandomInt(row.huntLow, row.huntHigh));
    }
    state.spawning = 1;
    state.baseSpeed = state.speed;
    state.fastSpeed = state.speed + state.speed;
    state.blackHoleSpeed = state.speed * 5.0f;
}

void WanderStep(Velkor::Sprite& ball, WhiteBallState& state, Math::Vector2D* heading)
{
    if (state.headingChosen != 0)
    {
        return;
    }
    const float x = Velkor::RandomFloat(-10.0f, 10.0f);
    const float y = Velkor::RandomFloat(-10.0f, 10.0f);
    const Math::Vector2D direction(x, y);
    ball.SetVelocity(direction * state.speed);
    if (heading != nullptr)
    {
        *heading = direction;
    }
    state.headingChosen = 1;
}

} // namespace WhiteBallRules
