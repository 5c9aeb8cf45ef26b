#include "game/Brillow_bubblesheildpowerup.h"

BRILLOW_DEFINE_GAME_CLASS(bubblesheildpowerup)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(bubblesheildpowerup)

bubblesheildpowerup::bubblesheildpowerup() = default;

bubblesheildpowerup::bubblesheildpowerup(const AnimationList& animations) : Velkor::Sprite(animations) {}

bubblesheildpowerup::bubblesheildpowerup(const bubblesheildpowerup& other) = default;

bubblesheildpowerup::~bubblesheildpowerup() = default;
