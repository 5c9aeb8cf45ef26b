#include "game/Brillow_Visibility9Class.h"

BRILLOW_DEFINE_GAME_CLASS(Visibility9Class)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Visibility9Class)

Visibility9Class::Visibility9Class() = default;

Visibility9Class::Visibility9Class(const AnimationList& animations) : Velkor::Sprite(animations) {}

Visibility9Class::Visibility9Class(const Visibility9Class& other) = default;

Visibility9Class::~Visibility9Class() = default;
