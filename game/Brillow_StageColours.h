#pragma once

#include "game/Brillow_MyGame.h"

#include <cstdint>

// The conditions and enter actions of the coloured balls' colour machines:
// a stage test on the game data and a switch of the sprite's animation.
// `Derived` is the sprite class that owns the machine.
template <class Derived> class StageColours
{
public:
    template <std::int32_t Stage> bool IsStage(float)
    {
        const MyGame* game = MyGame::GetInstance();
        return game != nullptr && game->stage == Stage;
    }

    template <std::uint32_t Animation> void ShowAnimation(float)
    {
        static_cast<Derived*>(this)->SetCurrentAnimationIndex(Animation, false);
    }

protected:
    ~StageColours() = default;
};
