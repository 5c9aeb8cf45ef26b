#include "game/Brillow_AddScoreClass0.h"

BRILLOW_DEFINE_GAME_CLASS(AddScoreClass0)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(AddScoreClass0)

AddScoreClass0::AddScoreClass0() : Velkor::Text(std::string(), std::string()) {}

AddScoreClass0::AddScoreClass0(const std::string& text, const std::string& fontPath)
    : Velkor::Text(text, fontPath)
{
}

AddScoreClass0::AddScoreClass0(const AddScoreClass0& other) = default;

AddScoreClass0::~AddScoreClass0() = default;
