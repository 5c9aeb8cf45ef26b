#pragma once

#include <cstdint>

// The run-time switches of the levels that are played (the play level and
// the tutorial), read and written by the game objects, the overlays, the
// tutorial's hints and the game. Menus and end screens are plain levels
// without them, so every access goes through the current level's
// interface, found by a run-time type test: on a level without the
// interface, or for a switch the level does not carry, a read gives 0 and a
// write does nothing.
enum class PlayFlag : std::uint8_t
{
    StageComplete,
    BlackHoleActive,
    // The tutorial's `blackHoleAllowed`.
    BlackHoleAvailable,
    LazerSpawned,
    Lazer1Spawned,
    WhiteLazerSpawned,
    Paused,
    QuitDialogOpen,
    ResumePrompt,
    // The tutorial's hint flags: 1 asks the hint of that name to show
    // itself; the hint clears it when it has been shown.
    HintIntro,
    HintNextBlue,
    HintNextEnemy,
    HintAnotherEnemy,
    HintMore,
    HintDestroy,
    HintObstacles,
    HintPowerUp1,
    HintInvincible,
    HintNextLevel,
};

constexpr std::uint32_t PlayFlagCount = 19;

// Its name as the logs show it ("stageComplete").
const char* GetPlayFlagName(PlayFlag flag);

class PlayLevelFlags
{
public:
    virtual ~PlayLevelFlags();

    // The level's byte for `flag`, or null when the level has no such switch
    // or keeps it wider than a byte.
    virtual std::uint8_t* GetPlayFlag(PlayFlag flag) = 0;
    // The switch's value; false when the level does not carry it. These go
    // through GetPlayFlag; a level with a wider switch overrides them.
    virtual bool ReadPlayFlag(PlayFlag flag, std::uint32_t& value);
    virtual bool WritePlayFlag(PlayFlag flag, std::uint32_t value);
    // The player loses balls after a hit from an enemy at offset (dx, dy)
    // from the player (the play level scatters them, the tutorial drops them).
    virtual void DropPlayerBalls(float dx, float dy) = 0;

    // The current level's interface, or null.
    static PlayLevelFlags* OfCurrentLevel();
    static std::uint32_t Read(PlayFlag flag);
    static void Write(PlayFlag flag, std::uint32_t value);
    // Nothing on a level without the interface.
    static void DropBalls(float dx, float dy);
};
