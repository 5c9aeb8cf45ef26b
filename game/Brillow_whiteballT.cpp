#include "game/Brillow_whiteballT.h"

#include "framework/Velkor_Random.h"
#include "game/Brillow_BlackHoleClassT.h"
#include "game/Brillow_SpriteMouseClassT.h"

BRILLOW_DEFINE_GAME_CLASS_OWN_CLONE(whiteballT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(whiteballT)

whiteballT::whiteballT() = default;

whiteballT::whiteballT(const AnimationList& animations) : Velkor::Sprite(animations) {}

whiteballT::whiteballT(const whiteballT& other) = default;

whiteballT::~whiteballT() = default;

Core::Object* whiteballT::Clone() const
{
    auto* copy = new ("Brillow_whiteballT", __LINE__) whiteballT(*this);
    copy->Play(true);
    return copy;
}

void whiteballT::OnStart()
{
    if (GetName() == "whiteball")
    {
        return;
    }
    // A stage without a row of its own keeps this first draw.
    state.behaviour = Velkor::RandomInt(1, 2);
    MyGame* game = ObjectRules::Data();
    WhiteBallRules::Start(*this, state, WhiteBallRules::TutorialRows, 4, game != nullptr ? game->stage : 0);
}

void whiteballT::Update(float /*dt*/)
{
    if (GetName() != "wb")
    {
        return;
    }
    ObjectRules::SetCanCollide(*this, 2, false);
    if (RunSpawnPhase(*this, state.spawning, state.spawnCounter, state.speed))
    {
        return;
    }
    WhiteBallRules::ActiveStep<SpriteMouseClassT, BlackHoleClassT>(*this, state, nullptr, false);
}
