#pragma once

#include "framework/Velkor_Text.h"
#include "game/Brillow_GameClass.h"

#include <string>

// A score text with no behaviour of its own; saved games, replays and network
// messages make it by name.
class AddScoreClass : public Velkor::Text
{
    BRILLOW_DECLARE_GAME_CLASS(AddScoreClass, Velkor::Text)

public:
    // An empty text in no font.
    AddScoreClass();
    AddScoreClass(const std::string& text, const std::string& fontPath);
    AddScoreClass(const AddScoreClass& other);
    ~AddScoreClass() override;
};
