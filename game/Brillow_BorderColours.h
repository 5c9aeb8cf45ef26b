#pragma once

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_FindObjects.h"

// The conditions and enter actions of the arena borders' colour machines.
// `Derived` is the border class, `Player` the class of the "playerball" it
// watches; with no player ball both flags read clear ("neither").
template <class Derived, class Player> class BorderColours
{
public:
    bool IsPowered(float) { return Flags().powered != 0; }
    bool IsDamaged(float) { return Flags().damaged != 0; }
    bool IsNeither(float)
    {
        const PlayerFlags flags = Flags();
        return flags.powered == 0 && flags.damaged == 0;
    }

    // Animation 0 is the red border, 1 the blue one.
    void EnterRed(float) { Show(0); }
    void EnterBlue(float) { Show(1); }
    void EnterHidden(float) { static_cast<Derived*>(this)->SetVisible(false); }

protected:
    ~BorderColours() = default;

private:
    struct PlayerFlags
    {
        std::uint8_t powered = 0;
        std::uint8_t damaged = 0;
    };

    static PlayerFlags Flags()
    {
        const Player* player = FindObject<Player>("playerball");
        return player != nullptr ? PlayerFlags{player->powered, player->damaged} : PlayerFlags{};
    }

    void Show(std::uint32_t animation)
    {
        Derived& border = *static_cast<Derived*>(this);
        border.SetCurrentAnimationIndex(animation, false);
        border.SetVisible(true);
    }
};
