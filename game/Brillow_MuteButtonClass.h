#pragma once

#include "game/Brillow_GameButton.h"
#include "game/Brillow_GameClass.h"

// The options screen's mute button ("MuteButton"): a click toggles the
// game's `muted` byte and sets the master volume to 0 or 1. Its four frames:
// 0 sound on and idle, 1 sound on and pointed at, 2 muted and pointed at,
// 3 muted and idle.
class MuteButtonClass : public GameButton
{
    BRILLOW_DECLARE_GAME_CLASS(MuteButtonClass, Velkor::Sprite)

public:
    static constexpr std::uint32_t SoundOnIdle = 0;
    static constexpr std::uint32_t SoundOnPointed = 1;
    static constexpr std::uint32_t MutedPointed = 2;
    static constexpr std::uint32_t MutedIdle = 3;

    MuteButtonClass();
    explicit MuteButtonClass(const AnimationList& animations);
    MuteButtonClass(const MuteButtonClass& other);
    ~MuteButtonClass() override;

    void Update(float dt) override;
    // A synchronised copy starts its hover afresh.
    void NetworkSyncReceive(Core::File& file) override;
};
