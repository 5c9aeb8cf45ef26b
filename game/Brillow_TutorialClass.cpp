#include "game/Brillow_TutorialClass.h"

#include "framework/Velkor_Random.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_Lazer1ClassT.h"
#include "game/Brillow_LazerClassT.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_ScoreTexts.h"
#include "game/Brillow_SpikeBallT.h"
#include "game/Brillow_SpriteMouseClassT.h"
#include "game/Brillow_VisibilityClasses.h"
#include "game/Brillow_ballT.h"
#include "game/Brillow_bubblesheildpowerupT.h"
#include "game/Brillow_whiteballT.h"
#include "gui/GUI_HUD.h"

#include <string>
#include <vector>

BRILLOW_DEFINE_LEVEL_CLASS(TutorialClass)

namespace
{

constexpr std::int32_t CountdownFrames = 300;
constexpr std::int32_t CounterLast = 601;
// The script stops while this many coloured, white and spike balls are out.
constexpr std::size_t ScriptCap = 40;
constexpr std::size_t ColouredWaveCap = 15;
// Enemies (white and spike balls) a power-up needs on the field, plus one.
constexpr std::size_t EnemiesForPowerUp = 10;
constexpr std::size_t LazerCap = 8;
constexpr std::size_t Lazer1Cap = 6;

bool Every(std::int32_t counter, std::int32_t frames)
{
    return counter % frames == 0;
}

// A hint has been shown and reported it; false without the hint.
template <class Hint> bool IsDone(const char* name)
{
    const Hint* hint = FindObject<Hint>(name);
    return hint != nullptr && hint->done == 1;
}

template <class Hint> void ClearDone(const char* name)
{
    if (Hint* hint = FindObject<Hint>(name))
    {
        hint->done = 0;
    }
}

// The wave rules of stages 2 to 6: the cap on coloured + white + spike
// balls, and whether it holds back every rule (stage 2) or only the
// coloured, white and spike balls.
struct WaveRules
{
    std::size_t cap;
    bool capsPowerUps;
    bool whiteEvery200;
    bool whiteEvery400;
    bool lazers;
};

constexpr WaveRules StageWaves[] = {
    {60, true, false, true, false},  // stage 2
    {60, false, true, false, false}, // stage 3
    {40, false, true, false, true},  // stage 4
    {60, false, true, false, true},  // stage 5
    {60, false, true, false, true},  // stage 6
};

} // namespace

struct TutorialClass::Counts
{
    std::size_t coloured = 0;
    std::size_t white = 0;
    std::size_t spike = 0;
    std::size_t lazers = 0;
    std::size_t lazers1 = 0;
};

TutorialClass::TutorialClass() = default;

TutorialClass::~TutorialClass() = default;

std::uint8_t* TutorialClass::GetPlayFlag(PlayFlag flag)
{
    switch (flag)
    {
    case PlayFlag::StageComplete:
        return &stageComplete;
    case PlayFlag::BlackHoleAvailable:
        return &blackHoleAllowed;
    case PlayFlag::LazerSpawned:
        return &lazerSpawned;
    case PlayFlag::Lazer1Spawned:
        return &lazer1Spawned;
    case PlayFlag::WhiteLazerSpawned:
        return &whiteLazerSpawned;
    case PlayFlag::HintIntro:
        return &hintIntro;
    case PlayFlag::HintNextBlue:
        return &hintNextBlue;
    case PlayFlag::HintNextEnemy:
        return &hintNextEnemy;
    case PlayFlag::HintAnotherEnemy:
        return &hintAnotherEnemy;
    case PlayFlag::HintMore:
        return &hintMore;
    case PlayFlag::HintDestroy:
        return &hintDestroy;
    case PlayFlag::HintObstacles:
        return &hintObstacles;
    case PlayFlag::HintPowerUp1:
        return &hintPowerUp1;
    case PlayFlag::HintInvincible:
        return &hintInvincible;
    case PlayFlag::HintNextLevel:
        return &hintNextLevel;
    default:
        // No pause and its overlay; `blackHoleActive` is no byte.
        return nullptr;
    }
}

bool TutorialClass::ReadPlayFlag(PlayFlag flag, std::uint32_t& value)
{
    if (flag == PlayFlag::BlackHoleActive)
    {
        value = blackHoleActive;
        return true;
    }
    return PlayLevelFlags::ReadPlayFlag(flag, value);
}

bool TutorialClass::WritePlayFlag(PlayFlag flag, std::uint32_t value)
{
    if (flag == PlayFlag::BlackHoleActive)
    {
        blackHoleActive = value;
        return true;
    }
    return PlayLevelFlags::WritePlayFlag(flag, value);
}

void TutorialClass::DropPlayerBalls(float dx, float dy)
{
    DropBalls(dx, dy);
}

void TutorialClass::OnStart()
{
    if (GUI::HUD* hud = GUI::HUD::GetInstance())
    {
        hud->ShowCursor(false);
    }
    frameCounter = 0;
    introCountdown = 1;
    blackHoleAllowed = 1;
    blackHoleActive = 0;
    stageComplete = 0;
    lazerSpawned = 0;
    lazer1Spawned = 0;
    lazersEnabled = 0;
    whiteLazerSpawned = 0;
    hintIntro = 1;
    hintNextBlue = 0;
    firstBallsSpawned = 0;
    hintNextEnemy = 0;
    hintAnotherEnemy = 0;
    hintMore = 0;
    hintDestroy = 0;
    hintPowerUp1 = 0;
    hintInvincible = 0;
    hintNextLevel = 0;
    hintObstacles = 0;
}

void TutorialClass::OnEnd() {}

void TutorialClass::Update(float)
{
    MyGame* game = MyGame::GetInstance();
    if (game == nullptr)
    {
        return;
    }
    Counts counts;
    counts.coloured = CountObjects<ballT>("bgc");
    counts.white = CountObjects<whiteballT>("wb");
    counts.spike = CountObjects<SpikeBallT>("ss");
    counts.lazers = CountObjects<LazerClassT>("lz");
    counts.lazers1 = CountObjects<Lazer1ClassT>("lz1");
    if (game->levelScore <= 0)
    {
        game->levelScore = 0;
    }
    if (stageComplete == 0)
    {
        if (introCountdown == 1)
        {
            ++frameCounter;
            if (frameCounter >= CountdownFrames || counts.coloured == 0)
            {
                introCountdown = 0;
                frameCounter = 0;
            }
        }
        else
        {
            frameCounter = frameCounter < CounterLast ? frameCounter + 1 : 0;
            if (game->stage == 1)
            {
                RunScript(counts);
            }
            else if (game->stage >= 2 && game->stage <= 6)
            {
                RunWaves(game->stage, counts);
            }
            if (game->stage >= 4 && game->stage <= 6 && game->levelScore >= 10)
            {
                lazersEnabled = 1;
            }
        }
    }
    if (stageComplete == 1 && whiteLazerSpawned == 0)
    {
        SpawnWhiteLazer();
        whiteLazerSpawned = 1;
    }
    WriteTexts();
}

// One frame of the first stage: each step waits for the hint before it
// to report done, and most clear that report once they have acted.
void TutorialClass::RunScript(const Counts& counts)
{
    if (counts.spike + counts.white + counts.coloured >= ScriptCap)
    {
        return;
    }
    if (Every(frameCounter, 300) && counts.coloured == 0 && firstBallsSpawned == 0)
    {
        SpawnColouredBalls();
        hintNextBlue = 1;
        firstBallsSpawned = 1;
    }
    if (IsDone<Visibility1Class>("nextblue"))
    {
        SpawnWhiteBalls();
        hintNextEnemy = 1;
        ClearDone<Visibility1Class>("nextblue");
    }
    if (IsDone<Visibility2Class>("nextenemy"))
    {
        SpawnColouredBalls();
        SpawnSpikeBall();
        hintAnotherEnemy = 1;
        ClearDone<Visibility2Class>("nextenemy");
    }
    // "anotherenemy" stays done: while fewer than two coloured balls are
    // left, more come every 300 frames.
    if (Every(frameCounter, 300) && IsDone<Visibility3Class>("anotherenemy") && counts.coloured < 2)
    {
        SpawnColouredBalls();
        SpawnSpikeBall();
        SpawnWhiteBalls();
        hintMore = 1;
    }
    if (IsDone<Visibility4Class>("more"))
    {
        SpawnBlackHole();
        hintDestroy = 1;
        ClearDone<Visibility4Class>("more");
    }
    if (IsDone<Visibility5Class>("destroy") && lazerSpawned == 0 && lazer1Spawned == 0)
    {
        SpawnLazer();
        SpawnLazer1();
        hintObstacles = 1;
        lazerSpawned = 1;
        lazer1Spawned = 1;
        ClearDone<Visibility5Class>("destroy");
    }
    if (IsDone<Visibility6Class>("obstacles"))
    {
        SpawnShieldPowerUp();
        hintPowerUp1 = 1;
        ClearDone<Visibility6Class>("obstacles");
    }
    if (IsDone<Visibility7Class>("powerup1"))
    {
        hintInvincible = 1;
        ClearDone<Visibility7Class>("powerup1");
    }
    // The hint itself raises "Nextlevel" and completes the stage.
    if (IsDone<Visibility8Class>("Invincible"))
    {
        ClearDone<Visibility8Class>("Invincible");
    }
}

void TutorialClass::RunWaves(std::int32_t stage, const Counts& counts)
{
    const WaveRules& rules = StageWaves[stage - 2];
    const std::size_t enemies = counts.spike + counts.white;
    const bool belowCap = enemies + counts.coloured < rules.cap;
    if (belowCap)
    {
        if (Every(frameCounter, 110) && counts.coloured < ColouredWaveCap)
        {
            SpawnColouredBalls();
        }
        if (rules.whiteEvery200 && Every(frameCounter, 200))
        {
            SpawnWhiteBalls();
        }
        if (Every(frameCounter, 270))
        {
            SpawnSpikeBall();
        }
    }
    if ((belowCap || !rules.capsPowerUps) && Every(frameCounter, 300) && enemies > EnemiesForPowerUp)
    {
        RollPowerUp();
    }
    if (belowCap && rules.whiteEvery400 && Every(frameCounter, 400))
    {
        SpawnWhiteBalls();
    }
    if (rules.lazers)
    {
        RunLazers(counts);
    }
}

void TutorialClass::RunLazers(const Counts& counts)
{
    if (lazersEnabled != 1)
    {
        return;
    }
    if (Every(frameCounter, 300) && counts.lazers < LazerCap && lazerSpawned == 0)
    {
        SpawnLazer();
        lazerSpawned = 1;
    }
    if (Every(frameCounter, 500) && counts.lazers1 < Lazer1Cap && lazer1Spawned == 0)
    {
        SpawnLazer1();
        lazer1Spawned = 1;
    }
}

void TutorialClass::RollPowerUp()
{
    if (Velkor::RandomInt(1, 2) == 1)
    {
        SpawnShieldPowerUp();
    }
    else
    {
        SpawnBlackHole();
    }
}

void TutorialClass::WriteTexts() const
{
    ScoreTexts::WriteScores();
    if (const MyGame* game = MyGame::GetInstance())
    {
        ScoreTexts::Set("debugtext", ScoreTexts::Decimal(game->stage));
    }
}
