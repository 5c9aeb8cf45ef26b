// The play level's spawn operations: each clones a hidden prototype of
// "layer1", shows and renames the clone, places it and adds it to "layer1".
// The table holds what differs between them.
#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_BonusLazerClass.h"
#include "game/Brillow_CloneSpawns.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_GameLevel.h"
#include "game/Brillow_Lazer1Class.h"
#include "game/Brillow_LazerClass.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_bubblesheildpowerup.h"
#include "game/Brillow_whiteball.h"

#include <algorithm>

namespace
{

using namespace CloneSpawns;

enum SpawnKind : std::uint8_t
{
    InitialBalls,
    BallWave,
    WhiteBallWave,
    WhiteBall,
    SpikeBalls,
    ShieldPickup,
    BlackHole,
    Laser,
    Laser1,
    WhiteLaser,
    SpawnKindCount,
};

constexpr Batch Wave = Batch::ThreeToFive;
constexpr Batch Fixed = Batch::Fixed;

const Row Spawns[SpawnKindCount] = {
    {&Finder<ball>, "ball", "bgc", Fixed, 5, Stepped(-200, 5), Draw(-270, 200), 0.0f},
    {&Finder<ball>, "ball", "bgc", Wave, 0, Stepped(-200, 5), Draw(-270, 200), 0.0f},
    {&Finder<whiteball>, "whiteball", "wb", Wave, 0, Stepped(-200, 100), Draw(-270, 200), 0.0f},
    {&Finder<whiteball>, "whiteball", "wb", Fixed, 1, Draw(-200, 100), Draw(-270, 200), 0.0f},
    {&Finder<SpikeBall>, "spikeball", "ss", Fixed, 4, Stepped(-200, 100), Draw(-270, 200), 0.0f},
    {&Finder<bubblesheildpowerup>, "sheildpowerup", "bup", Fixed, 1, Draw(-200, 100), Draw(-270, 200), 10.0f},
    {&Finder<BlackHoleClass>, "blackHolePU", "bhpu", Fixed, 1, Draw(-370, 350), Draw(-270, 200), 0.0f},
    {&Finder<LazerClass>, "Lazer", "lz", Fixed, 1, Draw(-200, 360), Keep, 0.0f},
    {&Finder<Lazer1Class>, "Lazer1", "lz1", Fixed, 1, Keep, Draw(-150, 150), 0.0f},
    {&Finder<BonusLazerClass>, "WhiteLazer", "blz", Fixed, 1, At(484.0f), At(-37.0f), 0.0f},
};

void Spawn(GameLevel& level, SpawnKind kind)
{
    CloneSpawns::Spawn(level, Spawns[kind]);
}

} // namespace

void GameLevel::SpawnInitialBalls()
{
    Spawn(*this, InitialBalls);
}

void GameLevel::SpawnBallWave()
{
    Spawn(*this, BallWave);
}

void GameLevel::SpawnWhiteBallWave()
{
    Spawn(*this, WhiteBallWave);
}

void GameLevel::SpawnWhiteBall()
{
    Spawn(*this, WhiteBall);
}

void GameLevel::SpawnSpikeBalls()
{
    Spawn(*this, SpikeBalls);
}

void GameLevel::SpawnShieldPickup()
{
    Spawn(*this, ShieldPickup);
}

void GameLevel::SpawnBlackHole()
{
    if (blackHoleAvailable != 1)
    {
        return;
    }
    Spawn(*this, BlackHole);
    blackHoleAvailable = 0;
}

void GameLevel::SpawnLaser()
{
    Spawn(*this, Laser);
}

void GameLevel::SpawnLaser1()
{
    Spawn(*this, Laser1);
}

void GameLevel::SpawnWhiteLaser()
{
    Spawn(*this, WhiteLaser);
}

void GameLevel::ScatterBalls(float dx, float dy)
{
    MyGame* game = MyGame::GetInstance();
    if (game == nullptr)
    {
        return;
    }
    const Velkor::GameObject* player = FindObject<SpriteMouseClass>("playerball");
    if (game->levelScore < 1)
    {
        game->levelScore = 0;
        game->playerLost = 1;
        return;
    }
    const std::int32_t dropped = std::min(game->levelScore, 5);
    game->levelScore -= dropped;
    const Velkor::GameObject* prototype = FindObject<ball>("ball");
    if (player == nullptr || prototype == nullptr)
    {
        return;
    }
    // All at one point: each ball picks its own direction when it starts.
    CloneSpawns::SpawnAt(*this, *prototype, "bgc",
                         Math::Vector2D(player->GetPositionX() + dx, player->GetPositionY() + dy), dropped);
}
