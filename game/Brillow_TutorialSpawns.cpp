// The tutorial's spawn operations: each clones a hidden prototype of
// "layer1" (of the tutorial's classes), shows and renames the clone, places
// it and adds it to "layer1". The table holds what differs between them.
#include "game/Brillow_BlackHoleClassT.h"
#include "game/Brillow_BonusLazerClassT.h"
#include "game/Brillow_CloneSpawns.h"
#include "game/Brillow_Lazer1ClassT.h"
#include "game/Brillow_LazerClassT.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_SpikeBallT.h"
#include "game/Brillow_SpriteMouseClassT.h"
#include "game/Brillow_TutorialClass.h"
#include "game/Brillow_ballT.h"
#include "game/Brillow_bubblesheildpowerupT.h"
#include "game/Brillow_whiteballT.h"

#include <algorithm>

namespace
{

using namespace CloneSpawns;

enum SpawnKind : std::uint8_t
{
    ColouredBalls,
    WhiteBalls,
    SpikeBall,
    ShieldPowerUp,
    BlackHole,
    Lazer,
    Lazer1,
    WhiteLazer,
    SpawnKindCount,
};

constexpr Batch Pair = Batch::OneOrTwo;
constexpr Batch Fixed = Batch::Fixed;

const Row Spawns[SpawnKindCount] = {
    {&Finder<ballT>, "ball", "bgc", Pair, 0, Stepped(-200, 5), Draw(-270, 200), 0.0f},
    {&Finder<whiteballT>, "whiteball", "wb", Pair, 0, Stepped(-200, 100), Draw(-270, 200), 0.0f},
    {&Finder<SpikeBallT>, "spikeball", "ss", Fixed, 1, Draw(-200, 100), Draw(-270, 200), 0.0f},
    {&Finder<bubblesheildpowerupT>, "sheildpowerup", "bup", Fixed, 1, Draw(-200, 100), Draw(-270, 200),
     10.0f},
    {&Finder<BlackHoleClassT>, "blackHolePU", "bhpu", Fixed, 1, Draw(-370, 350), Draw(-270, 200), 0.0f},
    {&Finder<LazerClassT>, "Lazer", "lz", Fixed, 1, Draw(-200, 360), Keep, 0.0f},
    {&Finder<Lazer1ClassT>, "Lazer1", "lz1", Fixed, 1, Keep, Draw(-150, 150), 0.0f},
    {&Finder<BonusLazerClassT>, "WhiteLazer", "blz", Fixed, 1, At(484.0f), At(-37.0f), 0.0f},
};

constexpr std::int32_t MostDropped = 5;

} // namespace

void TutorialClass::SpawnColouredBalls()
{
    Spawn(*this, Spawns[ColouredBalls]);
}

void TutorialClass::SpawnWhiteBalls()
{
    Spawn(*this, Spawns[WhiteBalls]);
}

void TutorialClass::SpawnSpikeBall()
{
    Spawn(*this, Spawns[SpikeBall]);
}

void TutorialClass::SpawnShieldPowerUp()
{
    Spawn(*this, Spawns[ShieldPowerUp]);
}

void TutorialClass::SpawnBlackHole()
{
    if (blackHoleAllowed != 1)
    {
        return;
    }
    Spawn(*this, Spawns[BlackHole]);
    blackHoleAllowed = 0;
}

void TutorialClass::SpawnLazer()
{
    Spawn(*this, Spawns[Lazer]);
}

void TutorialClass::SpawnLazer1()
{
    Spawn(*this, Spawns[Lazer1]);
}

void TutorialClass::SpawnWhiteLazer()
{
    Spawn(*this, Spawns[WhiteLazer]);
}

void TutorialClass::DropBalls(float dx, float dy)
{
    MyGame* game = MyGame::GetInstance();
    if (game == nullptr)
    {
        return;
    }
    const Velkor::GameObject* player = FindObject<SpriteMouseClassT>("playerball");
    const std::int32_t points = game->levelScore;
    if (points < 1)
    {
        game->levelScore = -1;
        return;
    }
    const std::int32_t dropped = std::min(points, MostDropped);
    game->levelScore = points - dropped;
    const Velkor::GameObject* prototype = FindObject<ballT>("ball");
    if (player == nullptr || prototype == nullptr)
    {
        return;
    }
    SpawnAt(*this, *prototype, "bgc",
            Math::Vector2D(player->GetPositionX() + dx, player->GetPositionY() + dy), dropped);
}
