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
    const GameData data = GetGameData();
    file << data.totalScore << data.levelScore << data.pointsNeeded << data.playStarted << data.stage;
    for (const std::uint8_t request : data.requests)
    {
        file << request;
    }
}

void MyGame::SaveGameState(Core::File& file) const
{
    WriteGameState(file);
}

bool MyGame::LoadGameState(Core::File& file)
{
    return ReadGameState(file);
}

bool MyGame::ReadGameStateRecord(Core::File& file, const LevelMachine* machine,
                                 Core::RefPtr<LevelMachine>& machineRead, GameData& data)
{
    if (file.Failed())
    {
        return false;
    }
    // The machine is read into a copy, so a record that turns out short
    // after the machine's part leaves the running machine as it was.
    Core::RefPtr<LevelMachine> copy;
    if (machine != nullptr)
    {
        copy = machine->Copy();
        copy->Read(file);
    }
    GameData read;
    file >> read.totalScore >> read.levelScore >> read.pointsNeeded >> read.playStarted >> read.stage;
    for (std::uint8_t& request : read.requests)
    {
        file >> request;
    }
    if (file.Failed())
    {
        return false;
    }
    machineRead = copy;
    data = read;
    return true;
}

bool MyGame::ReadGameState(Core::File& file)
{
    Core::RefPtr<LevelMachine> machine;
    GameData data;
    if (!ReadGameStateRecord(file, levelSM.Get(), machine, data))
    {
        return false;
    }
    if (machine)
    {
        machine->SetOwner(this);
    }
    levelSM = machine;
    SetGameData(data);
    return true;
}

MyGame::GameData MyGame::GetGameData() const
{
    return {totalScore,
            levelScore,
            pointsNeeded,
            playStarted,
            stage,
            {startRequested, tutorialRequested, playerLost, backToMenuRequested, creditsRequested,
             optionsRequested, muted, introRunning}};
}

void MyGame::SetGameData(const GameData& data)
{
    totalScore = data.totalScore;
    levelScore = data.levelScore;
    pointsNeeded = data.pointsNeeded;
    playStarted = data.playStarted;
    stage = data.stage;
    startRequested = data.requests[0];
    tutorialRequested = data.requests[1];
    playerLost = data.requests[2];
    backToMenuRequested = data.requests[3];
    creditsRequested = data.requests[4];
    optionsRequested = data.requests[5];
    muted = data.requests[6];
    introRunning = data.requests[7];
}
