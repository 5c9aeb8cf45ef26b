#include "game/Brillow_BonusLazerClass.h"

#include "game/Brillow_FindObjects.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_ObjectRules.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "game/Brillow_Sounds.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_whiteball.h"

#include <vector>

namespace BonusLazerRules
{

void FinishSweep(Velkor::Sprite& laser)
{
    laser.Destroy();
    PlayLevelFlags::Write(PlayFlag::StageComplete, 0);
    PlayLevelFlags::Write(PlayFlag::WhiteLazerSpawned, 0);
    if (MyGame* game = ObjectRules::Data())
    {
        game->stage += 1;
    }
}

void StopSound()
{
    ObjectRules::Stop(FindObject<BonusSound>("bonuslevels"));
}

void StartSweep(Velkor::Sprite& laser)
{
    ObjectRules::Play(FindObject<BonusSound>("bonuslevels"));
    laser.SetVelocity(Math::Vector2D(1.0f, 0.0f) * InSpeed);
}

} // namespace BonusLazerRules

BRILLOW_DEFINE_GAME_CLASS(BonusLazerClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BonusLazerClass)

BonusLazerClass::BonusLazerClass() = default;

BonusLazerClass::BonusLazerClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

BonusLazerClass::BonusLazerClass(const BonusLazerClass& other) = default;

BonusLazerClass::~BonusLazerClass() = default;

void BonusLazerClass::OnStart()
{
    if (GetName() == "WhiteLazer")
    {
        return;
    }
    speed = BonusLazerRules::InSpeed;
    velocityApplied = 1;
    BonusLazerRules::StartSweep(*this);
    zeroVector = Math::Vector2D(0.0f, 0.0f);
}

void BonusLazerClass::OnEnd()
{
    BonusLazerRules::StopSound();
}

void BonusLazerClass::Update(float /*dt*/)
{
    BonusSound* sound = FindObject<BonusSound>("bonuslevels");
    if (GetName() == "WhiteLazer")
    {
        return;
    }
    if (PlayLevelFlags::Read(PlayFlag::Paused) != 0)
    {
        ObjectRules::Pause(sound);
        SetVelocity(zeroVector * speed);
        velocityApplied = 0;
        return;
    }
    ObjectRules::Play(sound);
    ObjectRules::SetCanCollide(*this, 0, true);
    if (velocityApplied == 0)
    {
        SetVelocity(savedVelocity * 1.0f);
        velocityApplied = 1;
    }
    std::vector<ball*> balls;
    std::vector<whiteball*> whiteBalls;
    std::vector<SpikeBall*> spikeBalls;
    FindAllObjects("bgc", balls);
    FindAllObjects("wb", whiteBalls);
    FindAllObjects("ss", spikeBalls);
    if (balls.empty() && whiteBalls.empty() && spikeBalls.empty())
    {
        speed = BonusLazerRules::OutSpeed;
        SetVelocity(Math::Vector2D(-1.0f, 0.0f) * speed);
    }
    savedVelocity = ObjectRules::GetVelocity(*this, savedVelocity);
    if (GetPositionX() <= BonusLazerRules::EndX)
    {
        BonusLazerRules::FinishSweep(*this);
    }
}
