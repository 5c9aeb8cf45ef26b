#include "game/Brillow_whiteball.h"

BRILLOW_DEFINE_GAME_CLASS(whiteball)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(whiteball)

whiteball::whiteball() = default;

whiteball::whiteball(const AnimationList& animations) : Velkor::Sprite(animations) {}

whiteball::whiteball(const whiteball& other) = default;

whiteball::~whiteball() = default;
