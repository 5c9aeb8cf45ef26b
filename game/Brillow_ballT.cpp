#include "game/Brillow_ballT.h"

#include "collision/Collision_DynamicObject.h"
#include "framework/Velkor_Random.h"
#include "game/Brillow_ColouredBallRules.h"
#include "game/Brillow_MachineTable.h"

BRILLOW_DEFINE_GAME_CLASS(ballT)

namespace
{

enum Colour : std::uint32_t
{
    Green,
    Orange,
    Yellow,
    Blue,
};

} // namespace

void ballT::Write(Core::File& file) const
{
    Velkor::Sprite::Write(file);
    GameClass::SaveMachine(colourSM, file);
}

void ballT::Read(Core::File& file)
{
    Velkor::Sprite::Read(file);
    GameClass::LoadMachine(colourSM, file);
}

ballT::ballT() : colourSM(BuildColourSM()) {}

ballT::ballT(const AnimationList& animations) : Velkor::Sprite(animations), colourSM(BuildColourSM()) {}

ballT::ballT(const ballT& other)
    : Velkor::Sprite(other), speed(static_cast<float>(Velkor::RandomInt(3, 4))),
      colourSM(GameClass::CloneMachine(other.colourSM, this))
{
}

ballT::~ballT()
{
    colourSM.Reset();
}

Core::RefPtr<ballT::Machine> ballT::BuildColourSM()
{
    return GameClass::BuildMachine<ballT>(
        "ColourSM",
        {
            {"GREEN", &ballT::ShowAnimation<1>, {{Yellow, &ballT::IsStage<3>}}},
            {"ORANGE", &ballT::ShowAnimation<3>, {}},
            {"YELLOW", &ballT::ShowAnimation<2>, {{Orange, &ballT::IsStage<4>}}},
            {"BLUE",
             &ballT::ShowAnimation<0>,
             {{Green, &ballT::IsStage<2>}, {Yellow, &ballT::IsStage<3>}, {Orange, &ballT::IsStage<4>}}},
        },
        Blue, this);
}

void ballT::OnStart()
{
    const float x = Velkor::RandomFloat(-10.0f, 10.0f);
    const Math::Vector2D direction(x, Velkor::RandomFloat(-10.0f, 10.0f));
    SetVelocity(direction * speed);
    SetZOrder(0.0f);
    if (Collision2D::DynamicObject* collision = GetDynamicCollisionObject())
    {
        collision->SetCanCollid(1, true);
    }
}

void ballT::Update(float dt)
{
    Eatball* eatSound = FindObject<Eatball>("eatball");
    if (GetName() == "ball")
    {
        return;
    }
    if (colourSM)
    {
        colourSM->Update(this, dt);
    }
    ColouredBallRules::EatSweepOrLeave(*this, eatSound);
}
