#pragma once

#include "framework/Velkor_Game.h"

namespace Velkor
{

// The running Game's engines for the framework's own objects: null when no
// Game exists or when its Shutdown has destroyed the engine, so that
// objects released late (by the derived game's destructor) skip them.
inline Collision2D::CollisionEngine* GameCollision()
{
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetCollisionEngine() : nullptr;
}

inline Physics2D::PhysicsEngine* GamePhysics()
{
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetPhysicsEngine() : nullptr;
}

inline SoundEngine* GameSound()
{
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetSoundEngine() : nullptr;
}

inline ZibNet* GameNetwork()
{
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetNetworkEngine() : nullptr;
}

inline Engine::SceneGraph* GameSceneGraph()
{
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetSceneGraph().Get() : nullptr;
}

// Whether networked objects are driven by another machine here.
inline bool IsNetworkClient()
{
    ZibNet* network = GameNetwork();
    return network != nullptr && network->IsNetworkGame() && !network->IsHost();
}

} // namespace Velkor
