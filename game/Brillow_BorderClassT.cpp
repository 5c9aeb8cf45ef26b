#include "game/Brillow_BorderClassT.h"

BRILLOW_DEFINE_GAME_CLASS(BorderClassT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(BorderClassT)

BorderClassT::BorderClassT() = default;

BorderClassT::BorderClassT(const AnimationList& animations) : Velkor::Sprite(animations) {}

BorderClassT::BorderClassT(const BorderClassT& other) = default;

BorderClassT::~BorderClassT() = default;
