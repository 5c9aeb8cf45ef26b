#include "game/Brillow_Level_Class0.h"

#include "gui/GUI_HUD.h"

BRILLOW_DEFINE_LEVEL_CLASS(Level_Class0)

Level_Class0::Level_Class0() = default;

Level_Class0::~Level_Class0() = default;

void Level_Class0::OnStart()
{
    if (GUI::HUD* hud = GUI::HUD::GetInstance())
    {
        hud->ShowCursor(false);
    }
}
