#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_ObjectRules.h"

#include <cstdint>

namespace ShieldRules
{

constexpr float Speed = 5.0f;
// The update in which the life counter reaches this removes the bubble.
constexpr std::int32_t LifeFrames = 360;

// A drift in a random direction (x drawn first).
void StartDrift(Velkor::Sprite& bubble, float& speed, std::int32_t& lifeCounter);

// One update of a clone: it ages out, is taken by the player ball of class
// Player (which is asked for a shield) or swept by the white laser.
template <class Player> void Update(Velkor::Sprite& bubble, std::int32_t& lifeCounter)
{
    if (++lifeCounter > LifeFrames - 1)
    {
        bubble.Destroy();
    }
    if (ObjectRules::Touches(bubble, "playerball"))
    {
        bubble.Destroy();
        if (Player* player = FindObject<Player>("playerball"))
        {
            player->shieldRequested = 1;
        }
    }
    if (ObjectRules::Touches(bubble, "blz"))
    {
        bubble.Destroy();
    }
}

} // namespace ShieldRules

// The shield power-up; prototype "sheildpowerup", clones "bup".
class bubblesheildpowerup : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(bubblesheildpowerup, Velkor::Sprite)

public:
    bubblesheildpowerup();
    explicit bubblesheildpowerup(const AnimationList& animations);
    bubblesheildpowerup(const bubblesheildpowerup& other);
    ~bubblesheildpowerup() override;

    void OnStart() override;
    void Update(float dt) override;

    float speed = 0.0f;
    std::int32_t lifeCounter = 0;
};
