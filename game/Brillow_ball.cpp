#include "game/Brillow_ball.h"

BRILLOW_DEFINE_GAME_CLASS(ball)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(ball)

ball::ball() = default;

ball::ball(const AnimationList& animations) : Velkor::Sprite(animations) {}

ball::ball(const ball& other) = default;

ball::~ball() = default;
