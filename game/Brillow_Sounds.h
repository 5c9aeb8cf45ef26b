#pragma once

#include "framework/Velkor_Sound.h"
#include "game/Brillow_GameClass.h"

#include <cstdint>
#include <string>

// The game's sound effects. Each is a Velkor::Sound under a class of its
// own, so that FindObject tells the sounds apart by type as well as by name
// ("lazerstart" is a LazerStart, never a LazerSound). They add nothing else.
#define BRILLOW_SOUND_CLASS(Class)                                                                           \
    class Class : public Velkor::Sound                                                                       \
    {                                                                                                        \
        BRILLOW_DECLARE_GAME_CLASS(Class, Velkor::Sound)                                                     \
                                                                                                             \
    public:                                                                                                  \
        Class();                                                                                             \
        Class(const std::string& fileName, std::uint32_t mode, float intensity, std::uint8_t looping,        \
              float split, std::uint8_t forceStatic);                                                        \
        Class(const Class& other);                                                                           \
        ~Class() override;                                                                                   \
    };

BRILLOW_SOUND_CLASS(BlackHoleSound)
BRILLOW_SOUND_CLASS(BonusSound)
BRILLOW_SOUND_CLASS(BreakBall)
BRILLOW_SOUND_CLASS(BubbleSound)
BRILLOW_SOUND_CLASS(ButtonSound)
BRILLOW_SOUND_CLASS(ButtonSound1)
BRILLOW_SOUND_CLASS(Damaged)
BRILLOW_SOUND_CLASS(Eatball)
BRILLOW_SOUND_CLASS(LazerEnd)
BRILLOW_SOUND_CLASS(LazerEnd1)
BRILLOW_SOUND_CLASS(LazerSound)
BRILLOW_SOUND_CLASS(LazerSound1)
BRILLOW_SOUND_CLASS(LazerStart)
BRILLOW_SOUND_CLASS(LazerStart1)
BRILLOW_SOUND_CLASS(LazerZap)

#undef BRILLOW_SOUND_CLASS
