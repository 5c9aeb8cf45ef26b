#pragma once

#include "framework/Velkor_Level.h"
#include "game/Brillow_PlayLevelFlags.h"

#include <cstdint>

// The play level ("level1"): it resets the run when it starts, holds the
// opening phase, spawns waves of balls, hazards and pick-ups by cloning the
// hidden prototypes of "layer1" on a frame counter whose pattern depends on
// the stage, scatters the player's balls when an enemy hits, offers the
// white laser when a stage is complete, pauses on Escape and writes the
// score texts. The game objects and the pause overlay read and clear its
// switches through the play-level interface.
class GameLevel : public Velkor::Level, public PlayLevelFlags
{
    CORE_DECLARE_OBJECT(GameLevel)

public:
    GameLevel();
    ~GameLevel() override;

    void OnStart() override;
    void OnEnd() override;
    void Update(float dt) override;

    std::uint8_t* GetPlayFlag(PlayFlag flag) override;
    // ScatterBalls.
    void DropPlayerBalls(float dx, float dy) override;

    // An enemy at offset (dx, dy) from the player has hit it: up to five of
    // the stage's points drop as coloured balls at the enemy's point, or the
    // player loses when it has none.
    void ScatterBalls(float dx, float dy);

    void SpawnInitialBalls();
    void SpawnBallWave();
    void SpawnWhiteBallWave();
    void SpawnWhiteBall();
    void SpawnSpikeBalls();
    void SpawnShieldPickup();
    void SpawnBlackHole();
    void SpawnLaser();
    void SpawnLaser1();
    void SpawnWhiteLaser();

    // Counts the opening phase up to 300, then runs 0 ... 601 during play.
    std::int32_t spawnCounter = 0;
    std::uint8_t introActive = 0;
    std::uint8_t blackHoleAvailable = 0;
    // Only ever 0 or 1; a byte like the other switches.
    std::uint8_t blackHoleActive = 0;
    std::uint8_t stageComplete = 0;
    std::uint8_t lazerSpawned = 0;
    std::uint8_t lazer1Spawned = 0;
    std::uint8_t lasersEnabled = 0;
    std::uint8_t whiteLazerSpawned = 0;
    std::uint8_t paused = 0;
    std::uint8_t quitDialogOpen = 0;
    std::uint8_t resumePrompt = 0;

private:
    // The spawning rules of the current stage for counter value `c`, with
    // `coloured` "bgc" objects on the field.
    void RunStageRules(std::int32_t c, std::size_t coloured);
    void WriteTexts();
};
