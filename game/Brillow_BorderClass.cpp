#include "game/Brillow_BorderClass.h"

#include "game/Brillow_MachineTable.h"

BRILLOW_DEFINE_GAME_CLASS(BorderClass)

namespace
{

enum State : std::uint32_t
{
    Red,
    NotVisible,
    Blue,
};

} // namespace

void BorderClass::Write(Core::File& file) const
{
    Velkor::Sprite::Write(file);
    GameClass::SaveMachine(colourSM, file);
}

void BorderClass::Read(Core::File& file)
{
    Velkor::Sprite::Read(file);
    GameClass::LoadMachine(colourSM, file);
}

BorderClass::BorderClass() : colourSM(BuildColourSM()) {}

BorderClass::BorderClass(const AnimationList& animations)
    : Velkor::Sprite(animations), colourSM(BuildColourSM())
{
}

BorderClass::BorderClass(const BorderClass& other)
    : Velkor::Sprite(other), colourSM(GameClass::CloneMachine(other.colourSM, this))
{
}

BorderClass::~BorderClass()
{
    colourSM.Reset();
}

// Damage is tested before power from the hidden state.
Core::RefPtr<BorderClass::Machine> BorderClass::BuildColourSM()
{
    using B = BorderClass;
    return GameClass::BuildMachine<B>(
        "ColourSM",
        {
            {"RED", &B::EnterRed, {{Blue, &B::IsPowered}, {NotVisible, &B::IsNeither}}},
            {"NOT_VISIBLE", &B::EnterHidden, {{Red, &B::IsDamaged}, {Blue, &B::IsPowered}}},
            {"BLUE", &B::EnterBlue, {{NotVisible, &B::IsNeither}}},
        },
        NotVisible, this);
}

void BorderClass::Update(float dt)
{
    if (colourSM)
    {
        colourSM->Update(this, dt);
    }
}
