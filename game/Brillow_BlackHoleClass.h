#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_GameClass.h"

#include <cstdint>

// The black hole's own fields, shared with the tutorial's twin, in
// declaration order.
struct BlackHoleState
{
    // Frames since the hole opened.
    std::int32_t activeCounter = 0;
    // Set only in the object built from an animation set (the prototype).
    std::uint8_t inert = 0;
    // Frames since OnStart.
    std::int32_t lifeCounter = 0;
};

namespace BlackHoleRules
{

// The prototype's name; clones are renamed.
inline constexpr const char* PrototypeName = "blackHolePU";

// Frames an open hole lasts, and frames an unopened one waits.
constexpr std::int32_t OpenFrames = 240;
constexpr std::int32_t WaitFrames = 300;

// A clone collides with collision level 0 (so the player can touch it).
void PrepareClone(Velkor::Sprite& hole, BlackHoleState& state);
// After a read: the record has no inert flag, and an object made by name
// (a loaded save) would otherwise age out like a clone, taking the prototype
// the level clones from with it. The prototype is the one under its name.
void RestoreInert(const Velkor::Sprite& hole, BlackHoleState& state);
// One update. `pausable`: the play level's hole holds still, sound paused,
// while the game is paused.
void Update(Velkor::Sprite& hole, BlackHoleState& state, bool pausable);

} // namespace BlackHoleRules

// The black-hole power-up; prototype "blackHolePU", clones "bhpu". The
// player's first touch opens it for 240 frames; unopened it goes at frame
// 300; the white laser removes it. Each way out lets the level offer the
// next hole.
class BlackHoleClass : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(BlackHoleClass, Velkor::Sprite)

public:
    BlackHoleClass();
    explicit BlackHoleClass(const AnimationList& animations);
    BlackHoleClass(const BlackHoleClass& other);
    ~BlackHoleClass() override;

    void OnStart() override;
    void Update(float dt) override;

    BlackHoleState state;
};
