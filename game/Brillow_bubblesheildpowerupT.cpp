#include "game/Brillow_bubblesheildpowerupT.h"

#include "game/Brillow_SpriteMouseClassT.h"

BRILLOW_DEFINE_GAME_CLASS(bubblesheildpowerupT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(bubblesheildpowerupT)

bubblesheildpowerupT::bubblesheildpowerupT() = default;

bubblesheildpowerupT::bubblesheildpowerupT(const AnimationList& animations) : Velkor::Sprite(animations) {}

bubblesheildpowerupT::bubblesheildpowerupT(const bubblesheildpowerupT& other) = default;

bubblesheildpowerupT::~bubblesheildpowerupT() = default;

void bubblesheildpowerupT::OnStart()
{
    if (GetName() != "sheildpowerup")
    {
        ShieldRules::StartDrift(*this, speed, lifeCounter);
    }
}

void bubblesheildpowerupT::Update(float /*dt*/)
{
    if (GetName() != "sheildpowerup")
    {
        ShieldRules::Update<SpriteMouseClassT>(*this, lifeCounter);
    }
}
