#include "game/Brillow_PlayerBall.h"

#include "collision/Collision_DynamicObject.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "input/Input_MouseImp.h"

#include <vector>

namespace
{

using BallState = PlayerBall::BallState;
using Condition = PlayerBall::Machine::Transition::Condition;
using Action = PlayerBall::Machine::Action;

struct TransitionRow
{
    BallState target;
    Condition condition;
};

struct StateRow
{
    const char* name;
    float minimumTime;
    Action enter;
    Action update;
    Action exit;
    std::vector<TransitionRow> transitions;
};

// In BallState order; transitions in evaluation order, every hold time 0.
// The colours only move forward (blue, green, yellow, orange, red). In
// yellow, red and green a shield touch wins over a hit of the same frame,
// in orange and blue the hit wins.
const std::vector<StateRow>& StateRows()
{
    using B = BallState;
    using P = PlayerBall;
    static const std::vector<StateRow> rows = {
        {"YELLOW",
         0.0f,
         &P::EnterYellow,
         nullptr,
         nullptr,
         {{B::Shield, &P::IsShieldTouched},
          {B::Damaged, &P::IsHit},
          {B::Orange, &P::IsStage4},
          {B::White, &P::IsStageComplete}}},
        {"RED",
         0.0f,
         &P::EnterRed,
         nullptr,
         nullptr,
         {{B::Shield, &P::IsShieldTouched}, {B::Damaged, &P::IsHit}, {B::White, &P::IsStageComplete}}},
        {"GREEN",
         0.0f,
         &P::EnterGreen,
         nullptr,
         nullptr,
         {{B::Shield, &P::IsShieldTouched},
          {B::Damaged, &P::IsHit},
          {B::Yellow, &P::IsStage3},
          {B::White, &P::IsStageComplete}}},
        {"ORANGE",
         0.0f,
         &P::EnterOrange,
         nullptr,
         nullptr,
         {{B::Damaged, &P::IsHit},
          {B::Shield, &P::IsShieldTouched},
          {B::White, &P::IsStageComplete},
          {B::Red, &P::IsStage5}}},
        {"BLUE",
         0.0f,
         &P::EnterBlue,
         nullptr,
         nullptr,
         {{B::Damaged, &P::IsHit},
          {B::Shield, &P::IsShieldTouched},
          {B::White, &P::IsStageComplete},
          {B::Green, &P::IsStage2}}},
        {"Damaged",
         0.0f,
         &P::EnterDamaged,
         &P::UpdateDamaged,
         &P::ExitDamaged,
         {{B::Blue, &P::IsTimerOutAtStage1},
          {B::Green, &P::IsTimerOutAtStage2},
          {B::Yellow, &P::IsTimerOutAtStage3},
          {B::Orange, &P::IsTimerOutAtStage4},
          {B::Shield, &P::IsShieldRequested},
          {B::Red, &P::IsTimerOutAtStage5}}},
        {"WHITE",
         0.0f,
         &P::EnterWhite,
         nullptr,
         &P::ExitWhite,
         {{B::Green, &P::IsStage2NotComplete},
          {B::Yellow, &P::IsStage3NotComplete},
          {B::Orange, &P::IsStage4NotComplete},
          {B::Red, &P::IsStage5NotComplete}}},
        {"bubblesheild",
         PlayerBall::ShieldSeconds,
         &P::EnterShield,
         nullptr,
         &P::ExitShield,
         {{B::Blue, &P::IsStage1},
          {B::Green, &P::IsStage2},
          {B::Yellow, &P::IsStage3},
          {B::Orange, &P::IsStage4},
          {B::Red, &P::IsAlways}}},
    };
    return rows;
}

// Animations of the full ball's sheet list.
enum Animation : std::uint32_t
{
    BlueAnimation = 0,
    GreenAnimation = 1,
    YellowAnimation = 2,
    OrangeAnimation = 3,
    RedAnimation = 4,
    ShieldAnimation = 5,
    WhiteAnimation = 6,
};

std::int32_t Stage()
{
    const MyGame* game = MyGame::GetInstance();
    return game != nullptr ? game->stage : 0;
}

bool StageComplete()
{
    return PlayLevelFlags::Read(PlayFlag::StageComplete) != 0;
}

} // namespace

const char* PlayerBall::GetBallStateName(BallState state)
{
    const auto index = static_cast<std::size_t>(state);
    return index < BallStateCount ? StateRows()[index].name : "?";
}

PlayerBall::BallState PlayerBall::GetBallState() const
{
    const std::uint32_t index = stateSM ? stateSM->GetCurrentStateIndex() : BallStateCount;
    return index < BallStateCount ? order_[index] : BallState::Blue;
}

PlayerBall::PlayerBall(const PlayerBall& other)
    : Velkor::Sprite(other), blinkFrames(other.blinkFrames), powered(other.powered), damaged(other.damaged),
      shieldRequested(other.shieldRequested), damageTimer(other.damageTimer),
      pauseVelocityScale(other.pauseVelocityScale), pauseVelocity(other.pauseVelocity),
      stateSM(GameClass::CloneMachine(other.stateSM, this)), order_(other.order_)
{
}

PlayerBall::~PlayerBall() = default;

void PlayerBall::BuildStateMachine(const BallState (&order)[BallStateCount])
{
    std::array<std::uint32_t, BallStateCount> stored{};
    for (std::uint32_t i = 0; i < BallStateCount; ++i)
    {
        order_[i] = order[i];
        stored[static_cast<std::size_t>(order[i])] = i;
    }
    Machine::StateList states;
    states.reserve(BallStateCount);
    for (const BallState id : order)
    {
        const StateRow& row = StateRows()[static_cast<std::size_t>(id)];
        Core::RefPtr<Velkor::State<PlayerBall>> state(new ("Brillow_PlayerBall", __LINE__)
                                                          Velkor::State<PlayerBall>(row.minimumTime));
        state->name = row.name;
        state->SetEnterAction(row.enter);
        state->SetUpdateAction(row.update);
        state->SetExitAction(row.exit);
        for (const TransitionRow& transition : row.transitions)
        {
            Machine::Transition record;
            record.targetIndex = stored[static_cast<std::size_t>(transition.target)];
            record.condition = transition.condition;
            state->transitions.push_back(record);
        }
        states.emplace_back(state.Get());
    }
    stateSM = new ("Brillow_PlayerBall", __LINE__)
        Machine(states, stored[static_cast<std::size_t>(BallState::Blue)], 0.0f, this);
    stateSM->name = "stateSM";
}

void PlayerBall::Write(Core::File& file) const
{
    Velkor::Sprite::Write(file);
    GameClass::SaveMachine(stateSM, file);
}

void PlayerBall::Read(Core::File& file)
{
    Velkor::Sprite::Read(file);
    GameClass::LoadMachine(stateSM, file);
}

void PlayerBall::OnStart()
{
    blinkFrames = 0;
    powered = 0;
    damaged = 0;
    shieldRequested = 0;
    pauseVelocityScale = 0.0f;
    pauseVelocity = Math::Vector2D(0.0f, 0.0f);
}

void PlayerBall::FollowTheMouse(float dt)
{
    SetZOrder(0.0f);
    if (Input::MouseImp* mouse = Input::MouseImp::GetInstance())
    {
        std::int32_t x = 0;
        std::int32_t y = 0;
        mouse->GetPosition(x, y);
        const Engine::DisplayRequest display = MyGame::GetDisplayRequest();
        const auto halfWidth = static_cast<std::int32_t>(display.width / 2);
        const auto halfHeight = static_cast<std::int32_t>(display.height / 2);
        SetPosition(Math::Vector2D(static_cast<float>(x - halfWidth), static_cast<float>(y - halfHeight)));
    }
    if (stateSM)
    {
        stateSM->Update(dt);
    }
    const bool blackHole = PlayLevelFlags::Read(PlayFlag::BlackHoleActive) != 0;
    if (blackHole)
    {
        SetCanCollide(1, false);
    }
    if (powered != 0 || (!blackHole && damaged == 0))
    {
        SetCanCollide(1, true);
    }
}

void PlayerBall::Blink()
{
    if (blinkFrames < 1)
    {
        SetVisible(true);
        return;
    }
    if (blinkFrames % 3 == 0)
    {
        SetVisible(!GetVisible());
    }
    --blinkFrames;
}

// A network client has no collision object: nothing to switch.
void PlayerBall::SetCanCollide(std::uint8_t z, bool on)
{
    if (Collision2D::DynamicObject* dynamic = GetDynamicCollisionObject())
    {
        dynamic->SetCanCollid(z, on);
    }
}

void PlayerBall::ShowAnimation(std::uint32_t animation)
{
    SetCurrentAnimationIndex(animation, false);
}

// --- Actions ----------------------------------------------------------------------------

void PlayerBall::EnterYellow(float)
{
    SetCanCollide(0, true);
    ShowAnimation(YellowAnimation);
    SetVisible(true);
}

void PlayerBall::EnterRed(float)
{
    ShowAnimation(RedAnimation);
    SetVisible(true);
}

void PlayerBall::EnterGreen(float)
{
    SetCanCollide(0, true);
    ShowAnimation(GreenAnimation);
    SetVisible(true);
}

void PlayerBall::EnterOrange(float)
{
    ShowAnimation(OrangeAnimation);
    SetCanCollide(0, true);
    SetVisible(true);
}

void PlayerBall::EnterBlue(float)
{
    SetCanCollide(0, true);
    ShowAnimation(BlueAnimation);
    SetVisible(true);
}

void PlayerBall::EnterDamaged(float)
{
    blinkFrames = DamageFrames;
    SetCanCollide(1, false);
    SetCanCollide(0, false);
    damaged = 1;
    damageTimer = DamageFrames;
}

void PlayerBall::UpdateDamaged(float)
{
    Blink();
    --damageTimer;
    if (damageTimer == DamageZ0Back)
    {
        SetCanCollide(0, true);
    }
}

void PlayerBall::ExitDamaged(float)
{
    damaged = 0;
    SetCanCollide(1, true);
    SetCanCollide(0, true);
    SetVisible(true);
}

void PlayerBall::EnterWhite(float)
{
    powered = 1;
    ShowAnimation(WhiteAnimation);
}

void PlayerBall::ExitWhite(float)
{
    powered = 0;
}

void PlayerBall::EnterShield(float)
{
    ShowAnimation(ShieldAnimation);
    SetCanCollide(0, true);
    powered = 1;
}

void PlayerBall::ExitShield(float)
{
    powered = 0;
    shieldRequested = 0;
}

// --- Conditions -------------------------------------------------------------------------

bool PlayerBall::IsAlways(float)
{
    return true;
}

bool PlayerBall::IsShieldTouched(float)
{
    return IsCollidedWithSprite("bup", true);
}

bool PlayerBall::IsHit(float)
{
    for (const char* name : {"wb", "ss", "lz", "lz1"})
    {
        if (IsCollidedWithSprite(name, true))
        {
            return true;
        }
    }
    return false;
}

bool PlayerBall::IsShieldRequested(float)
{
    return shieldRequested == 1;
}

bool PlayerBall::IsStage1(float)
{
    return Stage() == 1;
}

bool PlayerBall::IsStage2(float)
{
    return Stage() == 2;
}

bool PlayerBall::IsStage3(float)
{
    return Stage() == 3;
}

bool PlayerBall::IsStage4(float)
{
    return Stage() == 4;
}

bool PlayerBall::IsStage5(float)
{
    return Stage() == 5;
}

bool PlayerBall::IsStageComplete(float)
{
    return StageComplete();
}

bool PlayerBall::IsTimerOutAtStage1(float)
{
    return damageTimer == 0 && Stage() == 1;
}

bool PlayerBall::IsTimerOutAtStage2(float)
{
    return damageTimer == 0 && Stage() == 2;
}

bool PlayerBall::IsTimerOutAtStage3(float)
{
    return damageTimer == 0 && Stage() == 3;
}

bool PlayerBall::IsTimerOutAtStage4(float)
{
    return damageTimer == 0 && Stage() == 4;
}

bool PlayerBall::IsTimerOutAtStage5(float)
{
    return damageTimer == 0 && Stage() == 5;
}

bool PlayerBall::IsStage2NotComplete(float)
{
    return !StageComplete() && Stage() == 2;
}

bool PlayerBall::IsStage3NotComplete(float)
{
    return !StageComplete() && Stage() == 3;
}

bool PlayerBall::IsStage4NotComplete(float)
{
    return !StageComplete() && Stage() == 4;
}

bool PlayerBall::IsStage5NotComplete(float)
{
    return !StageComplete() && Stage() == 5;
}
