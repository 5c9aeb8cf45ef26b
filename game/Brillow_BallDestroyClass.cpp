#include "game/Brillow_BallDestroyClass.h"

BRILLOW_DEFINE_GAME_CLASS(BallDestroyClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BallDestroyClass)

BallDestroyClass::BallDestroyClass() = default;

BallDestroyClass::BallDestroyClass(const BallDestroyClass& other) = default;

BallDestroyClass::~BallDestroyClass() = default;
