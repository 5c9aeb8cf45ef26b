#include "game/Brillow_FinalScore.h"

#include "framework/Velkor_Text.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_MyGame.h"

#include <cstdio>

void WriteFinalScore()
{
    Velkor::Text* text = FindObject<Velkor::Text>("scoreText");
    const MyGame* game = MyGame::GetInstance();
    if (text == nullptr || game == nullptr)
    {
        return;
    }
    char line[48];
    std::snprintf(line, sizeof line, "FINAL SCORE: %i", static_cast<int>(game->totalScore));
    text->SetText(line);
}
