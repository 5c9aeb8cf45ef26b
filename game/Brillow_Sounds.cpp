#include "game/Brillow_Sounds.h"

#define BRILLOW_DEFINE_SOUND_CLASS(Class)                                                                    \
    BRILLOW_DEFINE_GAME_CLASS(Class)                                                                         \
    BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Class)                                                             \
    Class::Class() = default;                                                                                \
    Class::Class(const std::string& fileName, std::uint32_t mode, float intensity, std::uint8_t looping,     \
                 float split, std::uint8_t forceStatic)                                                      \
        : Velkor::Sound(fileName, mode, intensity, looping, split, forceStatic)                              \
    {                                                                                                        \
    }                                                                                                        \
    Class::Class(const Class& other) = default;                                                              \
    Class::~Class() = default;

BRILLOW_DEFINE_SOUND_CLASS(BlackHoleSound)
BRILLOW_DEFINE_SOUND_CLASS(BonusSound)
BRILLOW_DEFINE_SOUND_CLASS(BreakBall)
BRILLOW_DEFINE_SOUND_CLASS(BubbleSound)
BRILLOW_DEFINE_SOUND_CLASS(ButtonSound)
BRILLOW_DEFINE_SOUND_CLASS(ButtonSound1)
BRILLOW_DEFINE_SOUND_CLASS(Damaged)
BRILLOW_DEFINE_SOUND_CLASS(Eatball)
BRILLOW_DEFINE_SOUND_CLASS(LazerEnd)
BRILLOW_DEFINE_SOUND_CLASS(LazerEnd1)
BRILLOW_DEFINE_SOUND_CLASS(LazerSound)
BRILLOW_DEFINE_SOUND_CLASS(LazerSound1)
BRILLOW_DEFINE_SOUND_CLASS(LazerStart)
BRILLOW_DEFINE_SOUND_CLASS(LazerStart1)
BRILLOW_DEFINE_SOUND_CLASS(LazerZap)
