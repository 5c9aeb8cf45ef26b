#include "game/Brillow_GameButton.h"

#include "game/Brillow_FindObjects.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "game/Brillow_Sounds.h"
#include "input/Input_MouseImp.h"

GameButton::~GameButton() = default;

bool GameButton::Point(const std::string& cursor, Velkor::Sound* hoverSound, std::uint32_t pointedFrame,
                       std::uint32_t idleFrame)
{
    const bool contact = GetDynamicCollisionObject() != nullptr && IsCollidedWithSprite(cursor, false);
    if (!contact)
    {
        hovered = 0;
        SetCurrentFrameIndex(idleFrame, false);
        return false;
    }
    if (hovered == 0)
    {
        if (hoverSound != nullptr)
        {
            hoverSound->Play(false);
        }
        hovered = 1;
    }
    SetCurrentFrameIndex(pointedFrame, false);
    return IsLeftClick();
}

bool GameButton::IsLeftClick()
{
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsTriggered(0);
}

Velkor::Sound* GameButton::FindMainMenuSound()
{
    return FindObject<ButtonSound1>("buttonsound1");
}

Velkor::Sound* GameButton::FindButtonSound()
{
    return FindObject<ButtonSound>("buttonsound");
}

MenuButton::~MenuButton() = default;

void MenuButton::OnStart()
{
    hovered = 0;
}

void MenuButton::Update(float)
{
    Velkor::Sound* sound = FindHoverSound();
    if (Point("playerball", sound))
    {
        Click();
    }
}

Velkor::Sound* MenuButton::FindHoverSound()
{
    return FindButtonSound();
}

MainMenuButton::~MainMenuButton() = default;

Velkor::Sound* MainMenuButton::FindHoverSound()
{
    return FindMainMenuSound();
}

OverlayButton::~OverlayButton() = default;

void OverlayButton::OnStart()
{
    SetVisible(false);
    hovered = 0;
}

void OverlayButton::Update(float)
{
    Velkor::Sound* sound = FindButtonSound();
    if (PlayLevelFlags::Read(PlayFlag::QuitDialogOpen) != 0 ||
        PlayLevelFlags::Read(PlayFlag::ResumePrompt) != 0)
    {
        SetVisible(false);
        return;
    }
    SetVisible(PlayLevelFlags::Read(PlayFlag::Paused) != 0);
    if (!GetVisible())
    {
        return;
    }
    if (Point("PauseMouse", sound))
    {
        Click();
    }
}
