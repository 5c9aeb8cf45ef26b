#include "game/Brillow_Lazer1Class.h"

BRILLOW_DEFINE_GAME_CLASS(Lazer1Class)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Lazer1Class)

Lazer1Class::Lazer1Class() = default;

Lazer1Class::Lazer1Class(const AnimationList& animations) : Velkor::Sprite(animations) {}

Lazer1Class::Lazer1Class(const Lazer1Class& other) = default;

Lazer1Class::~Lazer1Class() = default;
