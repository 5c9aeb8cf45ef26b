#include "game/Brillow_whiteballT.h"

BRILLOW_DEFINE_GAME_CLASS(whiteballT)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(whiteballT)

whiteballT::whiteballT() = default;

whiteballT::whiteballT(const AnimationList& animations) : Velkor::Sprite(animations) {}

whiteballT::whiteballT(const whiteballT& other) = default;

whiteballT::~whiteballT() = default;
