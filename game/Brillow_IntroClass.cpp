#include "game/Brillow_IntroClass.h"

#include "game/Brillow_MyGame.h"
#include "input/Input_KeyCodes.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"

BRILLOW_DEFINE_GAME_CLASS(IntroClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(IntroClass)

namespace
{

// Any click, Enter or Space held now.
bool IsSkipPressed()
{
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    const Input::KeyboardImp* keyboard = Input::KeyboardImp::GetInstance();
    return (mouse != nullptr && (mouse->IsPressed(0) || mouse->IsPressed(2))) ||
           (keyboard != nullptr &&
            (keyboard->IsPressed(Input::Key::Return) || keyboard->IsPressed(Input::Key::Space)));
}

} // namespace

IntroClass::IntroClass() = default;

IntroClass::IntroClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

IntroClass::IntroClass(const IntroClass& other) = default;

IntroClass::~IntroClass() = default;

void IntroClass::OnStart()
{
    fadeDirection = 1;
    SetOpacity(Step);
    SetCurrentFrameIndex(0, false);
}

bool IntroClass::Fade()
{
    const float opacity = GetOpacity() + static_cast<float>(fadeDirection) * Step;
    SetOpacity(opacity);
    if (opacity == Peak)
    {
        fadeDirection = -1;
    }
    if (opacity == 0.0f)
    {
        fadeDirection = 1;
        return true;
    }
    return false;
}

void IntroClass::Update(float)
{
    MyGame* game = MyGame::GetInstance();
    if (game == nullptr)
    {
        return;
    }
    if (game->introRunning == 0)
    {
        SetVisible(false);
        return;
    }
    // The first picture hands over to the second in the same frame.
    if (GetCurrentFrameIndex() == 0 && Fade())
    {
        SetCurrentFrameIndex(1, false);
    }
    if (GetCurrentFrameIndex() == 1 && Fade())
    {
        game->introRunning = 0;
    }
    if (IsSkipPressed())
    {
        game->introRunning = 0;
    }
}
