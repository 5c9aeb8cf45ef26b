#include "game/Brillow_AddScoreClass.h"

BRILLOW_DEFINE_GAME_CLASS(AddScoreClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(AddScoreClass)

AddScoreClass::AddScoreClass() : Velkor::Text(std::string(), std::string()) {}

AddScoreClass::AddScoreClass(const std::string& text, const std::string& fontPath)
    : Velkor::Text(text, fontPath)
{
}

AddScoreClass::AddScoreClass(const AddScoreClass& other) = default;

AddScoreClass::~AddScoreClass() = default;
