#pragma once

#include "framework/Velkor_Level.h"
#include "game/Brillow_GameClass.h"

#include <cstdint>

// The first lose screen ("Lose"): the ball breaks with the sound
// "breakball" and the final score; after a second (60 frames) it asks for
// the second lose screen, every frame until the switch.
class Lose : public Velkor::Level
{
    BRILLOW_DECLARE_GAME_CLASS(Lose, Velkor::Level)

public:
    static constexpr std::int32_t FramesShown = 60;
    static constexpr std::uint32_t NextLevel = 8;

    Lose();
    ~Lose() override;

    void OnStart() override;
    void OnEnd() override;
    void Update(float dt) override;

    // Frames since the level started.
    std::int32_t frameCount = 0;
};
