#include "game/Brillow_ScoreTexts.h"

#include "framework/Velkor_Text.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_MyGame.h"

#include <cstdio>

namespace ScoreTexts
{

void Set(const char* name, const std::string& text)
{
    if (Velkor::Text* object = FindObject<Velkor::Text>(name))
    {
        object->SetText(text);
    }
}

std::string Decimal(std::int32_t value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%i", value);
    return digits;
}

void WriteScores()
{
    const MyGame* game = MyGame::GetInstance();
    if (game == nullptr)
    {
        return;
    }
    Set("scoreText", "SCORE: " + Decimal(game->totalScore));
    Set("levelscoreText", Decimal(game->levelScore));
    Set("nextlevelText", Decimal(game->pointsNeeded) + "To Next Level");
}

} // namespace ScoreTexts
