#include "game/Brillow_PlayLevelFlags.h"

#include "framework/Velkor_Game.h"
#include "framework/Velkor_Level.h"

namespace
{
constexpr const char* FlagNames[PlayFlagCount] = {
    "stageComplete",     "blackHoleActive", "blackHoleAvailable", "lazerSpawned",  "lazer1Spawned",
    "whiteLazerSpawned", "paused",          "quitDialogOpen",     "resumePrompt",  "hintIntro",
    "hintNextBlue",      "hintNextEnemy",   "hintAnotherEnemy",   "hintMore",      "hintDestroy",
    "hintObstacles",     "hintPowerUp1",    "hintInvincible",     "hintNextLevel",
};
} // namespace

const char* GetPlayFlagName(PlayFlag flag)
{
    const auto index = static_cast<std::uint32_t>(flag);
    return index < PlayFlagCount ? FlagNames[index] : "?";
}

PlayLevelFlags::~PlayLevelFlags() = default;

bool PlayLevelFlags::ReadPlayFlag(PlayFlag flag, std::uint32_t& value)
{
    const std::uint8_t* byte = GetPlayFlag(flag);
    value = byte != nullptr ? *byte : 0;
    return byte != nullptr;
}

bool PlayLevelFlags::WritePlayFlag(PlayFlag flag, std::uint32_t value)
{
    std::uint8_t* byte = GetPlayFlag(flag);
    if (byte != nullptr)
    {
        *byte = static_cast<std::uint8_t>(value);
    }
    return byte != nullptr;
}

PlayLevelFlags* PlayLevelFlags::OfCurrentLevel()
{
    Velkor::Game* game = Velkor::Game::GetInstance();
    Velkor::Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    return dynamic_cast<PlayLevelFlags*>(level);
}

std::uint32_t PlayLevelFlags::Read(PlayFlag flag)
{
    PlayLevelFlags* flags = OfCurrentLevel();
    std::uint32_t value = 0;
    if (flags == nullptr || !flags->ReadPlayFlag(flag, value))
    {
        return 0;
    }
    return value;
}

void PlayLevelFlags::Write(PlayFlag flag, std::uint32_t value)
{
    if (PlayLevelFlags* flags = OfCurrentLevel())
    {
        flags->WritePlayFlag(flag, value);
    }
}

void PlayLevelFlags::DropBalls(float dx, float dy)
{
    if (PlayLevelFlags* flags = OfCurrentLevel())
    {
        flags->DropPlayerBalls(dx, dy);
    }
}
