#include "game/Brillow_ExitButtonClass.h"

#include "game/Brillow_PlayLevelFlags.h"

BRILLOW_DEFINE_GAME_CLASS(ExitButtonClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(ExitButtonClass)

ExitButtonClass::ExitButtonClass() = default;

ExitButtonClass::ExitButtonClass(const AnimationList& animations) : OverlayButton(animations) {}

ExitButtonClass::ExitButtonClass(const ExitButtonClass& other) = default;

ExitButtonClass::~ExitButtonClass() = default;

void ExitButtonClass::Click()
{
    PlayLevelFlags::Write(PlayFlag::QuitDialogOpen, 1);
}
