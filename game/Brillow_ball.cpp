#include "game/Brillow_ball.h"

#include "collision/Collision_DynamicObject.h"
#include "framework/Velkor_Random.h"
#include "game/Brillow_ColouredBallRules.h"
#include "game/Brillow_MachineTable.h"
#include "game/Brillow_PlayLevelFlags.h"

BRILLOW_DEFINE_GAME_CLASS(ball)

namespace
{

enum Colour : std::uint32_t
{
    Green,
    Blue,
    Yellow,
    Orange,
    Red,
};

} // namespace

void ball::Write(Core::File& file) const
{
    Velkor::Sprite::Write(file);
    GameClass::SaveMachine(colourSM, file);
}

void ball::Read(Core::File& file)
{
    Velkor::Sprite::Read(file);
    GameClass::LoadMachine(colourSM, file);
}

ball::ball() : colourSM(BuildColourSM()) {}

ball::ball(const AnimationList& animations) : Velkor::Sprite(animations), colourSM(BuildColourSM()) {}

ball::ball(const ball& other)
    : Velkor::Sprite(other), speed(static_cast<float>(Velkor::RandomInt(1, 3))), speedFactor(speed),
      heading(other.heading), velocityApplied(other.velocityApplied), zero(other.zero),
      colourSM(GameClass::CloneMachine(other.colourSM, this))
{
}

ball::~ball()
{
    colourSM.Reset();
}

Core::RefPtr<ball::Machine> ball::BuildColourSM()
{
    return GameClass::BuildMachine<ball>(
        "ColourSM",
        {
            {"GREEN", &ball::ShowAnimation<1>, {{Yellow, &ball::IsStage<3>}}},
            {"BLUE",
             &ball::ShowAnimation<0>,
             {{Green, &ball::IsStage<2>},
              {Yellow, &ball::IsStage<3>},
              {Orange, &ball::IsStage<4>},
              {Red, &ball::IsStage<5>}}},
            {"YELLOW", &ball::ShowAnimation<2>, {{Orange, &ball::IsStage<4>}}},
            {"ORANGE", &ball::ShowAnimation<3>, {{Red, &ball::IsStage<5>}}},
            {"RED", &ball::ShowAnimation<4>, {}},
        },
        Blue, this);
}

void ball::OnStart()
{
    const float x = Velkor::RandomFloat(-10.0f, 10.0f);
    const Math::Vector2D direction(x, Velkor::RandomFloat(-10.0f, 10.0f));
    SetVelocity(direction * speed);
    heading = direction;
    SetZOrder(0.0f);
    if (Collision2D::DynamicObject* collision = GetDynamicCollisionObject())
    {
        collision->SetCanCollid(1, true);
    }
    zero = Math::Vector2D(0.0f, 0.0f);
    velocityApplied = false;
    speedFactor = 1.0f;
}

void ball::Update(float dt)
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
    if (PlayLevelFlags::Read(PlayFlag::Paused) != 0)
    {
        SetVelocity(zero * speed);
        velocityApplied = false;
        return;
    }
    if (Collision2D::DynamicObject* collision = GetDynamicCollisionObject())
    {
        collision->SetCanCollid(0, true);
    }
    if (!velocityApplied)
    {
        SetVelocity(heading * speedFactor);
        velocityApplied = true;
    }
    GetVelocity(heading);
    ColouredBallRules::EatSweepOrLeave(*this, eatSound);
}
