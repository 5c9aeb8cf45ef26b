#include "game/Brillow_MyGame.h"

#include "core/Core_File.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "physics/Physics_PhysicsEngine.h"

namespace
{

constexpr std::int32_t StageThresholds[] = {10, 20, 30, 30, 40};

} // namespace

Engine::DisplayRequest MyGame::GetDisplayRequest()
{
    return {1024, 768, 85, 0, false, true};
}

std::int32_t MyGame::GetStageThreshold(std::int32_t stage)
{
    return stage >= 1 && stage <= 5 ? StageThresholds[stage - 1] : 0;
}

MyGame::MyGame(const Core::RefPtr<Velkor::LevelFactory>& levelFactory, const Engine::DisplayRequest& request,
               std::uint32_t startingLevel)
    : Velkor::Game(levelFactory, request, startingLevel)
{
    SetDesiredFrameRate(60.0);
    LockFrameRate(true);
    SetMasterVolume(1.0f);
    if (Physics2D::PhysicsEngine* physics = GetPhysicsEngine())
    {
        physics->SetScale(15.0f);
        physics->SetAccuracy(150);
    }
    SetTitle("Brillow");
    SetIcon(GetDirectory() + "\\Resources\\GameIcon\\GameIcon.ico");
    levelSM = BuildLevelSM();
}

MyGame::~MyGame()
{
    levelSM.Reset();
}

MyGame* MyGame::GetInstance()
{
    return dynamic_cast<MyGame*>(Velkor::Game::GetInstance());
}

const char* MyGame::GetClassName() const
{
    return "MyGame";
}

std::uint32_t MyGame::GetSize() const
{
    return sizeof(MyGame);
}

void MyGame::OnGameStart()
{
    ResetGameData();
}

void MyGame::ResetGameData()
{
    totalScore = 0;
    levelScore = 0;
    pointsNeeded = 10;
    playStarted = 0;
    stage = 1;
    startRequested = 0;
    tutorialRequested = 0;
    playerLost = 0;
    backToMenuRequested = 0;
    creditsRequested = 0;
    muted = 0;
    introRunning = 1;
}

void MyGame::Update(float dt)
{
    if (levelSM)
    {
        levelSM->Update(dt);
    }
    // Stage 4 needs 30 again. Only the play level and the tutorial gather
    // points; elsewhere levelScore is 0 and pointsNeeded shows the threshold.
    // Past stage 5 (won) pointsNeeded keeps its last value.
    const std::int32_t threshold = GetStageThreshold(stage);
    if (threshold == 0)
    {
        return;
    }
    pointsNeeded = threshold - levelScore;
    if (levelScore >= threshold)
    {
        levelScore = 0;
        PlayLevelFlags::Write(PlayFlag::StageComplete, 1);
    }
}

void MyGame::WriteGameState(Core::File& file) const
{
    if (levelSM)
    {
        levelSM->Write(file);
    }
    file << totalScore << levelScore << pointsNeeded << playStarted << stage << startRequested
         << tutorialRequested << playerLost << backToMenuRequested << creditsRequested << optionsRequested << muted
         << introRunning;
}

bool MyGame::ReadGameState(Core::File& file)
{
    if (file.Failed())
    {
        return false;
    }
    // The machine is read into a copy, so a record that turns out short
    // after the machine's part leaves the running machine as it was.
    Core::RefPtr<LevelMachine> machine;
    if (levelSM)
    {
        machine = levelSM->Copy();
        machine->SetOwner(this);
        machine->Read(file);
    }
    std::int32_t total = 0;
    std::int32_t level = 0;
    std::int32_t needed = 0;
    std::uint8_t started = 0;
    std::int32_t stageRead = 0;
    std::uint8_t requests[8] = {};
    file >> total >> level >> needed >> started >> stageRead;
    for (std::uint8_t& request : requests)
    {
        file >> request;
    }
    if (file.Failed())
    {
        return false;
    }
    levelSM = machine;
    totalScore = total;
    levelScore = level;
    pointsNeeded = needed;
    playStarted = started;
    stage = stageRead;
    startRequested = requests[0];
    tutorialRequested = requests[1];
    playerLost = requests[2];
    backToMenuRequested = requests[3];
    creditsRequested = requests[4];
    optionsRequested = requests[5];
    muted = requests[6];
    introRunning = requests[7];
    return true;
}
