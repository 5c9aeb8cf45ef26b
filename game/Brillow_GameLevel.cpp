#include "game/Brillow_GameLevel.h"

#include "framework/Velkor_Random.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_Lazer1Class.h"
#include "game/Brillow_LazerClass.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_ScoreTexts.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_whiteball.h"
#include "gui/GUI_HUD.h"
#include "input/Input_KeyCodes.h"

#include <vector>

// A level is no copy of another: Clone makes a plain object, as the
// framework's level does. Saving and loading are the framework level's.
CORE_DEFINE_OBJECT_BASICS(GameLevel, "GameLevel", Velkor::Level::ScriptTypeName, "Brillow_GameLevel",
                          __LINE__)
static const Core::ClassRegistrar g_gameLevelRegistrar("GameLevel", &GameLevel::Create);

Core::Object* GameLevel::Clone() const
{
    return Core::Object::Clone();
}

namespace
{

constexpr std::int32_t OpeningFrames = 300;
constexpr std::int32_t CounterLast = 601;
constexpr std::int32_t ColouredWaveCap = 15;
constexpr std::int32_t EnemiesForPickups = 11;

// What a counter rule spawns; the wave of coloured balls also needs fewer
// than 15 of them on the field, the pick-ups at least 11 enemies.
enum class Rule : std::uint8_t
{
    BallWave,
    WhiteBallWave,
    SpikeBalls,
    Shield,
    PowerUpDraw,
};

struct CounterRule
{
    std::int32_t every;
    Rule rule;
};

struct StageRules
{
    // The capped rules run only while coloured + enemies stay below it.
    std::size_t cap;
    std::vector<CounterRule> capped;
    std::vector<CounterRule> always;
    bool lasers;
};

const std::vector<CounterRule> LateStageRules = {
    {110, Rule::BallWave}, {200, Rule::WhiteBallWave}, {270, Rule::SpikeBalls}};

// Stages 1 to 6, in the order their rules run.
const StageRules Stages[] = {
    {60, {{110, Rule::BallWave}, {400, Rule::WhiteBallWave}, {300, Rule::Shield}}, {}, false},
    {60,
     {{110, Rule::BallWave}, {270, Rule::SpikeBalls}, {300, Rule::PowerUpDraw}, {400, Rule::WhiteBallWave}},
     {},
     false},
    {60, LateStageRules, {{300, Rule::PowerUpDraw}}, false},
    {40, LateStageRules, {{300, Rule::PowerUpDraw}}, true},
    {40, LateStageRules, {{300, Rule::PowerUpDraw}}, true},
    {40, LateStageRules, {{300, Rule::PowerUpDraw}}, true},
};

} // namespace

GameLevel::GameLevel() = default;

GameLevel::~GameLevel() = default;

std::uint8_t* GameLevel::GetPlayFlag(PlayFlag flag)
{
    switch (flag)
    {
    case PlayFlag::StageComplete:
        return &stageComplete;
    case PlayFlag::BlackHoleActive:
        return &blackHoleActive;
    case PlayFlag::BlackHoleAvailable:
        return &blackHoleAvailable;
    case PlayFlag::LazerSpawned:
        return &lazerSpawned;
    case PlayFlag::Lazer1Spawned:
        return &lazer1Spawned;
    case PlayFlag::WhiteLazerSpawned:
        return &whiteLazerSpawned;
    case PlayFlag::Paused:
        return &paused;
    case PlayFlag::QuitDialogOpen:
        return &quitDialogOpen;
    case PlayFlag::ResumePrompt:
        return &resumePrompt;
    default:
        // The tutorial's hint flags.
        return nullptr;
    }
}

void GameLevel::DropPlayerBalls(float dx, float dy)
{
    ScatterBalls(dx, dy);
}

void GameLevel::OnStart()
{
    MyGame* game = MyGame::GetInstance();
    if (game != nullptr && game->GetHUD() != nullptr)
    {
        game->GetHUD()->ShowCursor(false);
    }
    spawnCounter = 0;
    introActive = 1;
    blackHoleAvailable = 1;
    blackHoleActive = 0;
    stageComplete = 0;
    lazerSpawned = 0;
    lazer1Spawned = 0;
    lasersEnabled = 0;
    whiteLazerSpawned = 0;
    paused = 0;
    quitDialogOpen = 0;
    resumePrompt = 0;
    if (game != nullptr)
    {
        game->totalScore = 0;
        game->levelScore = 0;
        game->pointsNeeded = 10;
        game->stage = 1;
    }
    SpawnInitialBalls();
}

void GameLevel::OnEnd() {}

void GameLevel::Update(float)
{
    MyGame* game = MyGame::GetInstance();
    if (game == nullptr)
    {
        return;
    }
    const std::size_t coloured = CountObjects<ball>("bgc");
    if (paused == 0 && game->GetKeyboard() && game->GetKeyboard()->IsTriggered(Input::Key::Escape))
    {
        paused = 1;
    }
    if (paused == 1)
    {
        return;
    }
    ScoreTexts::Set("debugtext", "false");
    if (stageComplete == 0)
    {
        if (introActive == 1)
        {
            ++spawnCounter;
            if (spawnCounter >= OpeningFrames || coloured == 0)
            {
                introActive = 0;
                spawnCounter = 0;
                game->playStarted = 1;
                SpawnBallWave();
                SpawnWhiteBall();
            }
        }
        else
        {
            spawnCounter = spawnCounter < CounterLast ? spawnCounter + 1 : 0;
            RunStageRules(spawnCounter, coloured);
        }
    }
    else if (whiteLazerSpawned == 0)
    {
        SpawnWhiteLaser();
        whiteLazerSpawned = 1;
    }
    WriteTexts();
}

void GameLevel::RunStageRules(std::int32_t c, std::size_t coloured)
{
    MyGame* game = MyGame::GetInstance();
    if (game->stage < 1 || game->stage > 6)
    {
        return;
    }
    const StageRules& stage = Stages[game->stage - 1];
    const std::size_t enemies = CountObjects<SpikeBall>("ss") + CountObjects<whiteball>("wb");
    const auto run = [&](const std::vector<CounterRule>& rules)
    {
        for (const CounterRule& rule : rules)
        {
            if (c % rule.every != 0)
            {
                continue;
            }
            switch (rule.rule)
            {
            case Rule::BallWave:
                if (coloured < ColouredWaveCap)
                {
                    SpawnBallWave();
                }
                break;
            case Rule::WhiteBallWave:
                SpawnWhiteBallWave();
                break;
            case Rule::SpikeBalls:
                SpawnSpikeBalls();
                break;
            case Rule::Shield:
            case Rule::PowerUpDraw:
                if (enemies < EnemiesForPickups)
                {
                    break;
                }
                if (rule.rule == Rule::Shield || Velkor::RandomInt(1, 2) == 1)
                {
                    SpawnShieldPickup();
                }
                else
                {
                    SpawnBlackHole();
                }
                break;
            }
        }
    };
    if (coloured + enemies < stage.cap)
    {
        run(stage.capped);
    }
    run(stage.always);
    if (!stage.lasers)
    {
        return;
    }
    if (lasersEnabled != 0)
    {
        if (c % 300 == 0 && CountObjects<LazerClass>("lz") < 8 && lazerSpawned == 0)
        {
            SpawnLaser();
            lazerSpawned = 1;
        }
        if (c % 500 == 0 && CountObjects<Lazer1Class>("lz1") < 6 && lazer1Spawned == 0)
        {
            SpawnLaser1();
            lazer1Spawned = 1;
        }
    }
    if (game->levelScore >= 10)
    {
        lasersEnabled = 1;
    }
}

void GameLevel::WriteTexts()
{
    ScoreTexts::WriteScores();
}
