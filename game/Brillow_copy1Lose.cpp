#include "game/Brillow_copy1Lose.h"

#include "game/Brillow_FinalScore.h"

BRILLOW_DEFINE_LEVEL_CLASS(copy1Lose)

copy1Lose::copy1Lose() = default;

copy1Lose::~copy1Lose() = default;

void copy1Lose::Update(float)
{
    WriteFinalScore();
}
