#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_ObjectRules.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "game/Brillow_Sounds.h"

// What an enemy ball does when it touches the player ball of class Player
// (the play level's or the tutorial's): it hurts an unpowered player while
// no black hole is open (the level drops the player's balls at the offset
// from the enemy to the player), otherwise the player eats it for 100.
template <class Player> void TouchPlayer(Velkor::GameObject& enemy)
{
    Damaged* damageSound = FindObject<Damaged>("damaged");
    Eatball* eatSound = FindObject<Eatball>("eatball");
    if (!ObjectRules::Touches(enemy, "playerball"))
    {
        return;
    }
    Player* player = FindObject<Player>("playerball");
    if (player == nullptr)
    {
        return;
    }
    if (player->powered == 0 && PlayLevelFlags::Read(PlayFlag::BlackHoleActive) == 0)
    {
        ObjectRules::Play(damageSound);
        PlayLevelFlags::DropBalls(player->GetPositionX() - enemy.GetPositionX(),
                                  player->GetPositionY() - enemy.GetPositionY());
        return;
    }
    ObjectRules::Play(eatSound);
    enemy.Destroy();
    if (MyGame* game = ObjectRules::Data())
    {
        game->totalScore += 100;
    }
}

// One update of an enemy ball's spawn phase: true while it lasts (the
// caller stops there; the ball neither moves on its own nor handles
// contacts). It ends in the update whose count passes 60, showing
// animation 1.
inline bool RunSpawnPhase(Velkor::Sprite& ball, std::uint8_t& spawning, std::int32_t& spawnCounter,
                          float& speed)
{
    if (spawning == 0)
    {
        return false;
    }
    ++spawnCounter;
    speed = 0.0f;
    if (spawnCounter > 60)
    {
        spawning = 0;
        ball.SetCurrentAnimationIndex(1, false);
    }
    return true;
}
