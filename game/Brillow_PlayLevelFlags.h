#pragma once

#include <cstdint>

// The run-time switches of the levels that are played (the play level and
// the tutorial), read and written by the game objects, the overlays and the
// game. Menus and end screens are plain levels without them, so every access
// goes through the current level's interface, found by a run-time type test:
// on a level without the interface, or for a switch the level does not
// carry, a read gives 0 and a write does nothing.
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
};

constexpr std::uint32_t PlayFlagCount = 9;

// Its name as the logs show it ("stageComplete").
const char* GetPlayFlagName(PlayFlag flag);

class PlayLevelFlags
{
public:
    virtual ~PlayLevelFlags();

    // The level's byte for `flag`, or null when the level has no such switch.
    virtual std::uint8_t* GetPlayFlag(PlayFlag flag) = 0;
    // The player loses balls after a hit from an enemy at offset (dx, dy)
    // from the player (the play level scatters them, the tutorial drops them).
    virtual void DropPlayerBalls(float dx, float dy) = 0;

    // The current level's interface, or null.
    static PlayLevelFlags* OfCurrentLevel();
    static std::uint8_t Read(PlayFlag flag);
    static void Write(PlayFlag flag, std::uint8_t value);
    // Nothing on a level without the interface.
    static void DropBalls(float dx, float dy);
};
