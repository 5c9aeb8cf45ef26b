#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

#include <cstdint>

// The tutorial's last hint, named "Nextlevel". Besides its `done` byte it
// sets `doneForMenu` when it has been shown; the level machine reads that
// byte to leave the tutorial for the main menu and clears it on the way.
class Visibility9Class : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(Visibility9Class, Velkor::Sprite)

public:
    Visibility9Class();
    explicit Visibility9Class(const AnimationList& animations);
    Visibility9Class(const Visibility9Class& other);
    ~Visibility9Class() override;

    std::uint8_t done = 0;
    std::uint8_t doneForMenu = 0;
};
