#include "game/Brillow_PauseButtons.h"

#include "game/Brillow_MyGame.h"
#include "game/Brillow_PlayLevelFlags.h"

#define BRILLOW_PAUSE_BUTTON_SKELETON(Class, Base)                                                           \
    BRILLOW_DEFINE_GAME_CLASS(Class)                                                                         \
    BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Class)                                                             \
    Class::Class() = default;                                                                                \
    Class::Class(const AnimationList& animations) : Base(animations) {}                                      \
    Class::Class(const Class& other) = default;                                                              \
    Class::~Class() = default;

BRILLOW_PAUSE_BUTTON_SKELETON(ResumeButtonClass, OverlayButton)
BRILLOW_PAUSE_BUTTON_SKELETON(RestartButtonClass, OverlayButton)
BRILLOW_PAUSE_BUTTON_SKELETON(QuitYes, QuitDialogButton)
BRILLOW_PAUSE_BUTTON_SKELETON(QuitNo, QuitDialogButton)

#undef BRILLOW_PAUSE_BUTTON_SKELETON

QuitDialogButton::~QuitDialogButton() = default;

void QuitDialogButton::OnStart()
{
    SetVisible(false);
    hovered = 0;
}

void QuitDialogButton::Update(float)
{
    Velkor::Sound* sound = FindButtonSound();
    SetVisible(PlayLevelFlags::Read(PlayFlag::QuitDialogOpen) != 0);
    if (GetVisible() && Point("PauseMouse", sound))
    {
        Click();
    }
}

void ResumeButtonClass::Click()
{
    PlayLevelFlags::Write(PlayFlag::ResumePrompt, 1);
}

void RestartButtonClass::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->RestartLevel();
    }
}

void QuitYes::Click()
{
    if (MyGame* game = MyGame::GetInstance())
    {
        game->backToMenuRequested = 1;
    }
}

void QuitNo::Click()
{
    PlayLevelFlags::Write(PlayFlag::QuitDialogOpen, 0);
}
