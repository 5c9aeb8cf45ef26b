#pragma once

#include "framework/Velkor_Text.h"
#include "game/Brillow_GameClass.h"

#include <string>

// A second score text of the same kind as AddScoreClass.
class AddScoreClass0 : public Velkor::Text
{
    BRILLOW_DECLARE_GAME_CLASS(AddScoreClass0, Velkor::Text)

public:
    // An empty text in no font.
    AddScoreClass0();
    AddScoreClass0(const std::string& text, const std::string& fontPath);
    AddScoreClass0(const AddScoreClass0& other);
    ~AddScoreClass0() override;
};
