#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The buttons of the play level's pause overlay, pointed at by the pause
// cursor "PauseMouse". Resume and Restart sit beside Exit on the pause
// screen; Yes and No are the quit dialog's.

#define BRILLOW_PAUSE_BUTTON(Class, Base)                                                                    \
    class Class : public Base                                                                                \
    {                                                                                                        \
        BRILLOW_DECLARE_GAME_CLASS(Class, Velkor::Sprite)                                                    \
                                                                                                             \
    public:                                                                                                  \
        Class();                                                                                             \
        explicit Class(const AnimationList& animations);                                                     \
        Class(const Class& other);                                                                           \
        ~Class() override;                                                                                   \
                                                                                                             \
    protected:                                                                                               \
        void Click() override;                                                                               \
    };

// A button of the quit dialog: shown exactly while the dialog is open.
class QuitDialogButton : public GameButton
{
public:
    // Hidden until the dialog opens.
    void OnStart() override;
    void Update(float dt) override;

protected:
    using GameButton::GameButton;
    ~QuitDialogButton() override;

    virtual void Click() = 0;
};

// "ResumeButton": asks the player to return to the ball ("ResumeText").
BRILLOW_PAUSE_BUTTON(ResumeButtonClass, OverlayButton)
// "RestartButton": the play level starts afresh.
BRILLOW_PAUSE_BUTTON(RestartButtonClass, OverlayButton)
// "QuitYesButton": back to the main menu.
BRILLOW_PAUSE_BUTTON(QuitYes, QuitDialogButton)
// "QuitNoButton": closes the dialog; the pause buttons return.
BRILLOW_PAUSE_BUTTON(QuitNo, QuitDialogButton)

#undef BRILLOW_PAUSE_BUTTON
