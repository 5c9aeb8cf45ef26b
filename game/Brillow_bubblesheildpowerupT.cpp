#include "game/Brillow_bubblesheildpowerupT.h"

BRILLOW_DEFINE_GAME_CLASS(bubblesheildpowerupT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(bubblesheildpowerupT)

bubblesheildpowerupT::bubblesheildpowerupT() = default;

bubblesheildpowerupT::bubblesheildpowerupT(const AnimationList& animations) : Velkor::Sprite(animations) {}

bubblesheildpowerupT::bubblesheildpowerupT(const bubblesheildpowerupT& other) = default;

bubblesheildpowerupT::~bubblesheildpowerupT() = default;
