#pragma once

#include "framework/Velkor_Level.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_PlayLevelFlags.h"

#include <cstdint>

// The tutorial ("TutorialLevel"). Its first stage is a script that brings
// the game's objects in one by one, each paired with a hint text that the
// hint objects show and hide on their own; the script waits for each
// hint's done byte before its next step. Later stages spawn waves as the
// play level does. Objects come from the hidden prototypes of "layer1",
// cloned under short names ("bgc", "wb", ...) by which the rules count
// them. The game objects read and write its switches through the
// play-level interface; it has no pause.
class TutorialClass : public Velkor::Level, public PlayLevelFlags
{
    BRILLOW_DECLARE_GAME_CLASS(TutorialClass, Velkor::Level)

public:
    TutorialClass();
    ~TutorialClass() override;

    // Hides the cursor and takes the start values; "intro" is raised.
    void OnStart() override;
    void OnEnd() override;
    void Update(float dt) override;

    std::uint8_t* GetPlayFlag(PlayFlag flag) override;
    // `blackHoleActive` is wider than a byte.
    bool ReadPlayFlag(PlayFlag flag, std::uint32_t& value) override;
    bool WritePlayFlag(PlayFlag flag, std::uint32_t value) override;
    // DropBalls.
    void DropPlayerBalls(float dx, float dy) override;

    // An enemy at offset (dx, dy) from the player has hurt it: up to five
    // of the stage's points drop as coloured balls at the player's position
    // plus the offset. Without points `levelScore` becomes -1, which the
    // next update raises to 0.
    void DropBalls(float dx, float dy);

    // The spawn operations.
    void SpawnColouredBalls();
    void SpawnWhiteBalls();
    void SpawnSpikeBall();
    void SpawnShieldPowerUp();
    // Only while `blackHoleAllowed`, which it clears.
    void SpawnBlackHole();
    void SpawnLazer();
    void SpawnLazer1();
    void SpawnWhiteLazer();

    // Runs 0 ... 601 and wraps to 0.
    std::int32_t frameCounter = 0;
    std::uint8_t introCountdown = 0;
    std::uint8_t blackHoleAllowed = 0;
    std::uint32_t blackHoleActive = 0;
    std::uint8_t stageComplete = 0;
    std::uint8_t lazerSpawned = 0;
    std::uint8_t lazer1Spawned = 0;
    std::uint8_t lazersEnabled = 0;
    std::uint8_t whiteLazerSpawned = 0;
    std::uint8_t hintIntro = 0;
    std::uint8_t hintNextBlue = 0;
    std::uint8_t firstBallsSpawned = 0;
    std::uint8_t hintNextEnemy = 0;
    std::uint8_t hintAnotherEnemy = 0;
    std::uint8_t hintMore = 0;
    std::uint8_t hintDestroy = 0;
    std::uint8_t hintPowerUp1 = 0;
    std::uint8_t hintInvincible = 0;
    std::uint8_t hintNextLevel = 0;
    std::uint8_t hintObstacles = 0;

private:
    struct Counts;

    void RunScript(const Counts& counts);
    void RunWaves(std::int32_t stage, const Counts& counts);
    void RunLazers(const Counts& counts);
    // RandomInt(1, 2): 1 a shield, 2 a black hole.
    void RollPowerUp();
    void WriteTexts() const;
};
