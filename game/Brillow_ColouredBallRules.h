#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_Sounds.h"

// What ends a coloured ball, the same in play and in the tutorial.
namespace ColouredBallRules
{

// Eaten by the player ("playerball": the eat sound, 10 points to the total
// and, unless the stage is complete, one to the stage), swept by the white
// laser ("blz"), or off the field (|x| past 520, |y| past 400): destroyed.
void EatSweepOrLeave(Velkor::Sprite& ball, Eatball* eatSound);

} // namespace ColouredBallRules
