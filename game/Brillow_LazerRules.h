#pragma once

#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Sprite.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_ObjectRules.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "game/Brillow_Sounds.h"

#include <cstdint>

// A laser beam's own fields, shared by the four laser classes, in
// declaration order.
struct LazerState
{
    // Seconds since the start phase ended.
    float life = 0.0f;
    // Seconds since the last frame step.
    float phaseTimer = 0.0f;
    std::uint8_t starting = 0;
    std::uint8_t staying = 0;
};

// What tells the four laser classes apart.
struct LazerKind
{
    const char* prototypeName;
    const char* cloneName;
    // The level's switch that says this kind of laser is out.
    PlayFlag spawnFlag;
    const char* staySound;
    const char* startSound;
    const char* endSound;
    // Seconds between the frame steps of the end phase.
    float endStep;
};

namespace LazerRules
{

// Both beams step one frame every StepTime while they grow and stay; the
// beam is at full length on frame FullFrame and the stay loop falls back to
// StayFrame.
constexpr float StepTime = 0.2f;
constexpr std::uint32_t FullFrame = 10;
constexpr std::uint32_t StayFrame = 8;
// Seconds of life before the end phase.
constexpr float LifeTime = 5.0f;
// Points a frame of contact takes.
constexpr std::int32_t ZapPoints = 10;

void Start(LazerState& state);

// The three phases by frame steps, and the laser's end: at frame 0 after
// its life, or at once when the stage is complete. Only a clone of `kind`
// runs them, and only while the level's spawn switch is set.
void RunPhases(Velkor::Sprite& laser, LazerState& state, const LazerKind& kind, Velkor::Sound* stay,
               Velkor::Sound* start, Velkor::Sound* end, float dt);

// A frame of contact with an unpowered player ball of class Player takes
// 10 points; at 0 points the player loses. `clamped` keeps the points at
// 0 or above (the tutorial lets them run negative).
template <class Player> void Zap(const Velkor::Sprite& laser, bool clamped)
{
    LazerZap* zapSound = FindObject<LazerZap>("lazerzap");
    if (!ObjectRules::Touches(laser, "playerball"))
    {
        return;
    }
    Player* player = FindObject<Player>("playerball");
    if (player == nullptr || player->powered != 0)
    {
        return;
    }
    ObjectRules::Play(zapSound);
    MyGame* game = ObjectRules::Data();
    if (game == nullptr)
    {
        return;
    }
    if (game->levelScore == 0)
    {
        game->playerLost = 1;
        return;
    }
    game->levelScore -= ZapPoints;
    if (clamped && game->levelScore < 0)
    {
        game->levelScore = 0;
    }
}

// The play level's laser update: sounds paused (and nothing else) while
// the game is paused, the zap, the phases.
template <class Stay, class StartSound, class End, class Player>
void UpdatePlay(Velkor::Sprite& laser, LazerState& state, const LazerKind& kind, float dt)
{
    Stay* stay = FindObject<Stay>(kind.staySound);
    StartSound* start = FindObject<StartSound>(kind.startSound);
    End* end = FindObject<End>(kind.endSound);
    if (laser.GetName() == kind.prototypeName)
    {
        return;
    }
    if (PlayLevelFlags::Read(PlayFlag::Paused) != 0)
    {
        ObjectRules::PauseIfPlaying(end);
        ObjectRules::PauseIfPlaying(stay);
        ObjectRules::PauseIfPlaying(start);
        return;
    }
    Zap<Player>(laser, true);
    RunPhases(laser, state, kind, stay, start, end, dt);
}

// The tutorial's: no pause step, and the points may run negative.
template <class Stay, class StartSound, class End, class Player>
void UpdateTutorial(Velkor::Sprite& laser, LazerState& state, const LazerKind& kind, float dt)
{
    if (laser.GetName() == kind.prototypeName)
    {
        return;
    }
    Zap<Player>(laser, false);
    RunPhases(laser, state, kind, FindObject<Stay>(kind.staySound), FindObject<StartSound>(kind.startSound),
              FindObject<End>(kind.endSound), dt);
}

} // namespace LazerRules
