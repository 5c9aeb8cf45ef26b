#include "game/Brillow_LazerRules.h"

namespace LazerRules
{

namespace
{

void Remove(Velkor::Sprite& laser, const LazerKind& kind)
{
    laser.Destroy();
    PlayLevelFlags::Write(kind.spawnFlag, 0);
}

} // namespace

void Start(LazerState& state)
{
    state.starting = 1;
    state.life = 0.0f;
    state.phaseTimer = 0.0f;
}

void RunPhases(Velkor::Sprite& laser, LazerState& state, const LazerKind& kind, Velkor::Sound* stay,
               Velkor::Sound* start, Velkor::Sound* end, float dt)
{
    if (laser.GetName() != kind.cloneName || PlayLevelFlags::Read(kind.spawnFlag) == 0)
    {
        return;
    }
    if (state.phaseTimer > StepTime && state.starting != 0)
    {
        laser.SetCurrentFrameIndex(laser.GetCurrentFrameIndex() + 1, false);
        ObjectRules::Play(start);
        state.phaseTimer = 0.0f;
    }
    if (laser.GetCurrentFrameIndex() == FullFrame)
    {
        state.starting = 0;
        state.staying = 1;
    }
    if (state.phaseTimer > StepTime && state.staying != 0)
    {
        ObjectRules::Stop(start);
        laser.SetCurrentFrameIndex(laser.GetCurrentFrameIndex() + 1, false);
        if (laser.GetCurrentFrameIndex() == FullFrame)
        {
            laser.SetCurrentFrameIndex(StayFrame, false);
        }
        ObjectRules::Play(stay);
        state.phaseTimer = 0.0f;
    }
    state.phaseTimer += dt;
    if (state.starting == 0)
    {
        state.life += dt;
    }
    if (state.life > LifeTime)
    {
        state.staying = 0;
        if (state.phaseTimer > kind.endStep && state.starting == 0)
        {
            ObjectRules::Stop(stay);
            const std::uint32_t frame = laser.GetCurrentFrameIndex();
            if (frame > 0)
            {
                laser.SetCurrentFrameIndex(frame - 1, false);
            }
            ObjectRules::Play(end);
            state.phaseTimer = 0.0f;
        }
        if (laser.GetCurrentFrameIndex() == 0)
        {
            ObjectRules::Stop(end);
            Remove(laser, kind);
        }
    }
    if (PlayLevelFlags::Read(PlayFlag::StageComplete) == 1)
    {
        ObjectRules::StopIfPlaying(end);
        ObjectRules::StopIfPlaying(stay);
        ObjectRules::StopIfPlaying(start);
        Remove(laser, kind);
    }
}

} // namespace LazerRules
