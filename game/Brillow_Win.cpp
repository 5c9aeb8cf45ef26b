#include "game/Brillow_Win.h"

#include "game/Brillow_FinalScore.h"

BRILLOW_DEFINE_LEVEL_CLASS(Win)

Win::Win() = default;

Win::~Win() = default;

void Win::Update(float)
{
    WriteFinalScore();
}
