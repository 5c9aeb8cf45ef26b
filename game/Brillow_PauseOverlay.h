#pragma once

#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_PlayLevelFlags.h"

#include <string>

// The pictures of the play level's pause overlay: each shows exactly while
// its switch of the play level is set (the pause veil while paused, the
// quit panel while the quit dialog is open, the prompt while the game
// waits for the player to return to the ball), and is hidden from the start.
namespace PauseOverlay
{
void ShowWhile(Velkor::GameObject& object, PlayFlag flag);
} // namespace PauseOverlay

#define BRILLOW_OVERLAY_PICTURE(Class, Base)                                                                 \
    class Class : public Base                                                                                \
    {                                                                                                        \
        BRILLOW_DECLARE_GAME_CLASS(Class, Base)                                                              \
                                                                                                             \
    public:                                                                                                  \
        Class();                                                                                             \
        Class(const Class& other);                                                                           \
        ~Class() override;                                                                                   \
        void OnStart() override;                                                                             \
        void Update(float dt) override;

// "PauseScreen": the veil over the field while paused.
BRILLOW_OVERLAY_PICTURE(PauseScreenClass, Velkor::Sprite)
explicit PauseScreenClass(const AnimationList& animations);
}
;

// "QuitScreen": the quit dialog's panel.
BRILLOW_OVERLAY_PICTURE(QuitScreenClass, Velkor::Sprite)
explicit QuitScreenClass(const AnimationList& animations);
}
;

// "ResumeText": "Return to yourself to continue!".
BRILLOW_OVERLAY_PICTURE(ResumeTextClass, Velkor::Text)
ResumeTextClass(const std::string& text, const std::string& fontPath);
}
;

// The pause cursor: "PauseMouse" on the HUD layer (the buttons' pointer)
// and "PausedMouse2" in "layer1" (which can touch the player ball). While
// paused it follows the mouse in front of the overlay; once Resume has been
// chosen, a left click with the cursor on the player ball ends the pause.
BRILLOW_OVERLAY_PICTURE(PausedMouse, Velkor::Sprite)
explicit PausedMouse(const AnimationList& animations);
}
;

#undef BRILLOW_OVERLAY_PICTURE
