#include "audio/Sound_Engine.h"
#include "collision/Collision_CollisionEngine.h"
#include "core/Core_Clock.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_ObjectCounter.h"
#include "gui/GUI_HUD.h"
#include "pal/PAL_ErrorReport.h"
#include "pal/PAL_Window.h"
#include "physics/Physics_PhysicsEngine.h"

namespace Velkor
{

namespace
{

// A client tells the host which level it has just started.
constexpr std::uint32_t LevelStartedMessage = 16;

} // namespace

void Game::RequestLevel(std::uint32_t index)
{
    if (index < GetLevelsCount())
    {
        pendingLevelIndex_ = index;
        levelSwitchPending_ = true;
    }
}

std::uint32_t Game::ChangeLevel(std::uint32_t index)
{
    RequestLevel(index);
    return GetLevelsCount();
}

std::uint32_t Game::RestartLevel()
{
    return ChangeLevel(currentLevelIndex_);
}

void Game::GoToLevel(const std::string& name)
{
    std::uint32_t index = 0;
    if (levelFactory_ && levelFactory_->GetLevelIndex(name, index))
    {
        RequestLevel(index);
    }
}

void Game::GoToNextLevel()
{
    // No wrap-around: past the last level the request is ignored.
    RequestLevel(currentLevelIndex_ + 1);
}

void Game::GoToPreviousLevel()
{
    if (currentLevelIndex_ != 0)
    {
        RequestLevel(currentLevelIndex_ - 1);
    }
}

void Game::GoToLastLevel()
{
    if (GetLevelsCount() != 0)
    {
        RequestLevel(GetLevelsCount() - 1);
    }
}

void Game::GoToFirstLevel()
{
    RequestLevel(0);
}

void Game::GoToStartingLevel()
{
    RequestLevel(startingLevelIndex_);
}

bool Game::CreateCurrentLevel(bool gameStarts)
{
    currentLevel_ = levelFactory_ ? levelFactory_->CreateLevel(currentLevelIndex_) : nullptr;
    if (!currentLevel_)
    {
        // Every step of the frame would need the level: the game cannot go on.
        PAL::ShowMessageBox(
            "Error", "The level factory made no level for index " + std::to_string(currentLevelIndex_) + ".",
            PAL::KindError, PAL::ButtonsOk);
        PAL::PostQuit();
        levelCreationFailed_ = true;
        return false;
    }
    if (gameStarts)
    {
        OnGameStart();
    }
    currentLevel_->OnStart();
    return true;
}

void Game::EndCurrentLevel(bool gameEnds)
{
    // The level stays held while it ends, whatever its hooks do.
    Core::RefPtr<Level> level = currentLevel_;
    level->EndObjects();
    level->OnEnd();
    if (gameEnds)
    {
        OnGameEnd();
    }
    level->Clear();
    currentLevel_.Reset();
}

// Empties the collision and physics worlds, stops every sound, forgets what
// the keyboard and mouse held and drops the collision assets: what a level
// switch and a load both start from.
void Game::ClearWorlds()
{
    if (collisionEngine_)
    {
        collisionEngine_->Clear();
    }
    if (physicsEngine_)
    {
        physicsEngine_->Reset();
    }
    if (soundEngine_)
    {
        soundEngine_->StopAll();
    }
    if (GetKeyboard())
    {
        GetKeyboard()->Reset();
    }
    if (GetMouse())
    {
        GetMouse()->Reset();
    }
    ClearCollisionAssets();
}

void Game::SwitchLevel()
{
    // What is drawn now stays loaded until the new level has taken its own.
    TextureHold::Textures outgoing = textureHold_.Take();
    if (hud_)
    {
        hud_->Clear();
    }
    if (currentLevel_)
    {
        EndCurrentLevel(false);
    }
    ClearWorlds();

    // Read only now: the old level's end hooks may have changed the target.
    currentLevelIndex_ = pendingLevelIndex_;
    if (levelFactory_)
    {
        levelFactory_->Init();
    }
    if (IsNetworkGame())
    {
        // The networked objects went with the old level; a client takes no
        // creation or sync until the new level's object list has arrived.
        networkEngine_->RemoveAllNetworkGameObjects();
        networkEngine_->ClearBaseNetObjects();
        if (ZibPlayer* player = networkEngine_->GetLocalPlayer(); player != nullptr && !IsServer())
        {
            player->SetReceivedObjects(false);
        }
    }
    ResetObjectCounter();
    CreateCurrentLevel(false);
    textureHold_.Keep(std::move(outgoing));
    // A request made by the new level's OnStart is dropped.
    levelSwitchPending_ = false;

    if (IsNetworkGame() && !networkEngine_->IsHost())
    {
        ZibPlayer* player = networkEngine_->GetLocalPlayer();
        // Without a local player there is no id to tell the host.
        if (player != nullptr)
        {
            const std::uint32_t id = player->GetID();
            const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8),
                                           static_cast<std::uint8_t>(id >> 16),
                                           static_cast<std::uint8_t>(id >> 24)};
            networkEngine_->Send(LevelStartedMessage, bytes, sizeof bytes, nullptr, true);
        }
    }
    lastTimeStamp_ = Core::GetMilliseconds();
}

} // namespace Velkor
