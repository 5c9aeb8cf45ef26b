#include "game/Brillow_OptionButtonClass.h"

#include "game/Brillow_PlayLevelFlags.h"

BRILLOW_DEFINE_GAME_CLASS(OptionButtonClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(OptionButtonClass)

OptionButtonClass::OptionButtonClass() = default;

OptionButtonClass::OptionButtonClass(const AnimationList& animations) : OverlayButton(animations) {}

OptionButtonClass::OptionButtonClass(const OptionButtonClass& other) = default;

OptionButtonClass::~OptionButtonClass() = default;

void OptionButtonClass::Click()
{
    PlayLevelFlags::Write(PlayFlag::QuitDialogOpen, 1);
}
