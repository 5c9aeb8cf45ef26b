#pragma once

#include "framework/Velkor_ParticleSystem.h"
#include "game/Brillow_GameClass.h"

// The burst of a destroyed ball, with no behaviour of its own; saved games,
// replays and network messages make it by name.
class BallDestroyClass : public Velkor::ParticleSystem
{
    BRILLOW_DECLARE_GAME_CLASS(BallDestroyClass, Velkor::ParticleSystem)

public:
    BallDestroyClass();
    BallDestroyClass(const BallDestroyClass& other);
    ~BallDestroyClass() override;
};
