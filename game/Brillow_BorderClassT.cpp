#include "game/Brillow_BorderClassT.h"

#include "game/Brillow_MachineTable.h"

BRILLOW_DEFINE_GAME_CLASS(BorderClassT)

namespace
{

enum State : std::uint32_t
{
    Red,
    Blue,
    NotVisible,
};

} // namespace

void BorderClassT::Write(Core::File& file) const
{
    Velkor::Sprite::Write(file);
    GameClass::SaveMachine(colourSM, file);
}

void BorderClassT::Read(Core::File& file)
{
    Velkor::Sprite::Read(file);
    GameClass::LoadMachine(colourSM, file);
}

BorderClassT::BorderClassT() : colourSM(BuildColourSM()) {}

BorderClassT::BorderClassT(const AnimationList& animations)
    : Velkor::Sprite(animations), colourSM(BuildColourSM())
{
}

BorderClassT::BorderClassT(const BorderClassT& other)
    : Velkor::Sprite(other), colourSM(GameClass::CloneMachine(other.colourSM, this))
{
}

BorderClassT::~BorderClassT()
{
    colourSM.Reset();
}

// The same machine as the play level's border, its states stored in
// another order.
Core::RefPtr<BorderClassT::Machine> BorderClassT::BuildColourSM()
{
    using B = BorderClassT;
    return GameClass::BuildMachine<B>(
        "ColourSM",
        {
            {"RED", &B::EnterRed, {{Blue, &B::IsPowered}, {NotVisible, &B::IsNeither}}},
            {"BLUE", &B::EnterBlue, {{NotVisible, &B::IsNeither}}},
            {"NOT_VISIBLE", &B::EnterHidden, {{Red, &B::IsDamaged}, {Blue, &B::IsPowered}}},
        },
        NotVisible, this);
}

void BorderClassT::Update(float dt)
{
    if (colourSM)
    {
        colourSM->Update(this, dt);
    }
}
