#include "game/Brillow_PlayLevelFlags.h"

#include "framework/Velkor_Game.h"
#include "framework/Velkor_Level.h"

namespace
{
constexpr const char* FlagNames[PlayFlagCount] = {
    "stageComplete",     "blackHoleActive", "blackHoleAvailable", "lazerSpawned", "lazer1Spawned",
    "whiteLazerSpawned", "paused",          "quitDialogOpen",     "resumePrompt",
};
} // namespace

const char* GetPlayFlagName(PlayFlag flag)
{
    const auto index = static_cast<std::uint32_t>(flag);
    return index < PlayFlagCount ? FlagNames[index] : "?";
}

PlayLevelFlags::~PlayLevelFlags() = default;

PlayLevelFlags* PlayLevelFlags::OfCurrentLevel()
{
    Velkor::Game* game = Velkor::Game::GetInstance();
    Velkor::Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    return dynamic_cast<PlayLevelFlags*>(level);
}

std::uint8_t PlayLevelFlags::Read(PlayFlag flag)
{
    PlayLevelFlags* flags = OfCurrentLevel();
    const std::uint8_t* byte = flags != nullptr ? flags->GetPlayFlag(flag) : nullptr;
    return byte != nullptr ? *byte : 0;
}

void PlayLevelFlags::Write(PlayFlag flag, std::uint8_t value)
{
    PlayLevelFlags* flags = OfCurrentLevel();
    if (std::uint8_t* byte = flags != nullptr ? flags->GetPlayFlag(flag) : nullptr)
    {
        *byte = value;
    }
}

void PlayLevelFlags::DropBalls(float dx, float dy)
{
    if (PlayLevelFlags* flags = OfCurrentLevel())
    {
        flags->DropPlayerBalls(dx, dy);
    }
}
