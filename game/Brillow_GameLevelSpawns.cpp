// The play level's spawn operations: each clones a hidden prototype of
// "layer1", shows and renames the clone, places it and adds it to "layer1".
// The table holds what differs between them.
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Random.h"
#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_BonusLazerClass.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_GameLevel.h"
#include "game/Brillow_Lazer1Class.h"
#include "game/Brillow_LazerClass.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_bubblesheildpowerup.h"
#include "game/Brillow_whiteball.h"

#include <algorithm>

namespace
{

// One coordinate of a clone: the prototype's, a fixed value, or a draw
// RandomInt(low, high), plus RandomInt(1, 80) times the clone's index in
// its batch when `stepped` (that draw comes first).
struct Coordinate
{
    enum Kind : std::uint8_t
    {
        Keep,
        Fixed,
        Drawn,
    } kind = Keep;
    float value = 0.0f;
    std::int32_t low = 0;
    std::int32_t high = 0;
    bool stepped = false;
};

constexpr Coordinate Keep{};
constexpr Coordinate At(float value)
{
    return {Coordinate::Fixed, value, 0, 0, false};
}
constexpr Coordinate Draw(std::int32_t low, std::int32_t high)
{
    return {Coordinate::Drawn, 0.0f, low, high, false};
}
constexpr Coordinate Stepped(std::int32_t low, std::int32_t high)
{
    return {Coordinate::Drawn, 0.0f, low, high, true};
}

using PlayerBallClass = Velkor::Sprite;

using PrototypeFinder = Velkor::GameObject* (*)(const std::string&);

template <class T> Velkor::GameObject* Find(const std::string& name)
{
    return FindObject<T>(name);
}

// Wave: 3 to 5 clones (after each clone a fresh RandomInt(3, 5) says
// whether another follows).
constexpr std::int32_t Wave = 0;

struct SpawnRow
{
    PrototypeFinder find;
    const char* prototype;
    const char* clone;
    std::int32_t count;
    Coordinate x;
    Coordinate y;
    float lifeTime;
};

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

const SpawnRow Spawns[SpawnKindCount] = {
    {&Find<ball>, "ball", "bgc", 5, Stepped(-200, 5), Draw(-270, 200), 0.0f},
    {&Find<ball>, "ball", "bgc", Wave, Stepped(-200, 5), Draw(-270, 200), 0.0f},
    {&Find<whiteball>, "whiteball", "wb", Wave, Stepped(-200, 100), Draw(-270, 200), 0.0f},
    {&Find<whiteball>, "whiteball", "wb", 1, Draw(-200, 100), Draw(-270, 200), 0.0f},
    {&Find<SpikeBall>, "spikeball", "ss", 4, Stepped(-200, 100), Draw(-270, 200), 0.0f},
    {&Find<bubblesheildpowerup>, "sheildpowerup", "bup", 1, Draw(-200, 100), Draw(-270, 200), 10.0f},
    {&Find<BlackHoleClass>, "blackHolePU", "bhpu", 1, Draw(-370, 350), Draw(-270, 200), 0.0f},
    {&Find<LazerClass>, "Lazer", "lz", 1, Draw(-200, 360), Keep, 0.0f},
    {&Find<Lazer1Class>, "Lazer1", "lz1", 1, Keep, Draw(-150, 150), 0.0f},
    {&Find<BonusLazerClass>, "WhiteLazer", "blz", 1, At(484.0f), At(-37.0f), 0.0f},
};

void Place(Velkor::GameObject& clone, const Coordinate& coordinate, std::int32_t index, bool isX)
{
    if (coordinate.kind == Coordinate::Keep)
    {
        return;
    }
    float value = coordinate.value;
    if (coordinate.kind == Coordinate::Drawn)
    {
        const std::int32_t step = coordinate.stepped ? Velkor::RandomInt(1, 80) * index : 0;
        value = static_cast<float>(step + Velkor::RandomInt(coordinate.low, coordinate.high));
    }
    if (isX)
    {
        clone.SetPositionX(value);
    }
    else
    {
        clone.SetPositionY(value);
    }
}

// A visible copy of `prototype` named `name`, not yet in a layer.
Core::RefPtr<Velkor::GameObject> MakeClone(const Velkor::GameObject& prototype, const char* name)
{
    Core::RefPtr<Velkor::GameObject> clone(static_cast<Velkor::GameObject*>(prototype.Clone()));
    clone->SetVisible(true);
    clone->SetName(name);
    return clone;
}

// A missing prototype spawns nothing (and draws nothing).
void Spawn(GameLevel& level, SpawnKind kind)
{
    const SpawnRow& row = Spawns[kind];
    Velkor::GameObject* prototype = row.find(row.prototype);
    if (prototype == nullptr || level.GetLayer(1) == nullptr)
    {
        return;
    }
    Velkor::Layer* layer = level.GetLayer(1);
    std::int32_t limit = row.count == Wave ? 1 : row.count;
    for (std::int32_t made = 0; made < limit; ++made)
    {
        Core::RefPtr<Velkor::GameObject> clone = MakeClone(*prototype, row.clone);
        Place(*clone, row.x, made, true);
        Place(*clone, row.y, made, false);
        if (row.lifeTime > 0.0f)
        {
            clone->SetLifeTime(row.lifeTime);
        }
        layer->AddGameObject(clone.Get(), false, nullptr);
        if (row.count == Wave)
        {
            limit = Velkor::RandomInt(3, 5);
        }
    }
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
    const Velkor::GameObject* player = FindObject<PlayerBallClass>("playerball");
    if (game->levelScore < 1)
    {
        game->levelScore = 0;
        game->playerLost = 1;
        return;
    }
    const std::int32_t dropped = std::min(game->levelScore, 5);
    game->levelScore -= dropped;
    const Velkor::GameObject* prototype = FindObject<ball>("ball");
    Velkor::Layer* layer = GetLayer(1);
    if (player == nullptr || prototype == nullptr || layer == nullptr)
    {
        return;
    }
    // All at one point: each ball picks its own direction when it starts.
    const Math::Vector2D at(player->GetPositionX() + dx, player->GetPositionY() + dy);
    for (std::int32_t i = 0; i < dropped; ++i)
    {
        Core::RefPtr<Velkor::GameObject> clone = MakeClone(*prototype, "bgc");
        clone->SetPositionX(at.x);
        clone->SetPositionY(at.y);
        layer->AddGameObject(clone.Get(), false, nullptr);
    }
}
