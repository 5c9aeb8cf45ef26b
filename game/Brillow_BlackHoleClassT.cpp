#include "game/Brillow_BlackHoleClassT.h"

BRILLOW_DEFINE_GAME_CLASS_OWN_CLONE(BlackHoleClassT)

void BlackHoleClassT::Write(Core::File& file) const
{
    BaseClass::Write(file);
}

void BlackHoleClassT::Read(Core::File& file)
{
    BaseClass::Read(file);
    BlackHoleRules::RestoreInert(*this, state);
}

BlackHoleClassT::BlackHoleClassT() = default;

BlackHoleClassT::BlackHoleClassT(const AnimationList& animations) : Velkor::Sprite(animations)
{
    state.inert = 1;
}

BlackHoleClassT::BlackHoleClassT(const BlackHoleClassT& other) = default;

BlackHoleClassT::~BlackHoleClassT() = default;

Core::Object* BlackHoleClassT::Clone() const
{
    auto* copy = new ("Brillow_BlackHoleClassT", __LINE__) BlackHoleClassT(*this);
    BlackHoleRules::PrepareClone(*copy, copy->state);
    return copy;
}

void BlackHoleClassT::OnStart()
{
    state.activeCounter = 0;
    state.lifeCounter = 0;
}

void BlackHoleClassT::Update(float /*dt*/)
{
    BlackHoleRules::Update(*this, state, false);
}
