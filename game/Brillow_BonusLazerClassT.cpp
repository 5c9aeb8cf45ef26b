#include "game/Brillow_BonusLazerClassT.h"

BRILLOW_DEFINE_GAME_CLASS(BonusLazerClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BonusLazerClassT)

BonusLazerClassT::BonusLazerClassT() = default;

BonusLazerClassT::BonusLazerClassT(const AnimationList& animations) : Velkor::Sprite(animations) {}

BonusLazerClassT::BonusLazerClassT(const BonusLazerClassT& other) = default;

BonusLazerClassT::~BonusLazerClassT() = default;

void BonusLazerClassT::OnStart()
{
    if (GetName() == "WhiteLazer")
    {
        return;
    }
    speed = BonusLazerRules::InSpeed;
    BonusLazerRules::StartSweep(*this);
    frameCounter = 0;
}

void BonusLazerClassT::OnEnd()
{
    BonusLazerRules::StopSound();
}

void BonusLazerClassT::Update(float /*dt*/)
{
    if (GetName() == "WhiteLazer")
    {
        return;
    }
    ++frameCounter;
    // The tutorial's sheet has one picture: a step past it is ignored.
    if (frameCounter % 10 == 0)
    {
        SetCurrentFrameIndex(GetCurrentFrameIndex() + 1, false);
        if (GetCurrentFrameIndex() == 10)
        {
            SetCurrentFrameIndex(7, false);
        }
    }
    if (frameCounter == SweepFrames)
    {
        BonusLazerRules::FinishSweep(*this);
    }
}
