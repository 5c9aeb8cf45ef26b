#include "GameTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "framework/Velkor_Level.h"
#include "physics/Physics_PhysicsEngine.h"

#include <gtest/gtest.h>

namespace
{

using namespace BrillowTest;

FlagLevel* CurrentFlagLevel(MyGame& game)
{
    return dynamic_cast<FlagLevel*>(game.GetCurrentLevel());
}

TEST_F(MyGameDisplayTest, TheConstructorSetsTheRunSettingsAndTheFirstLevelResetsTheData)
{
    MyGame& game = MakeGame();
    EXPECT_EQ(MyGame::GetInstance(), &game);
    EXPECT_EQ(game.GetDesiredFrameRate(), 60.0);
    EXPECT_TRUE(game.IsFrameRateLocked());
    EXPECT_EQ(game.GetMasterVolume(), 1.0f);
    EXPECT_EQ(game.GetTitle(), "Brillow");
    EXPECT_EQ(game.GetIcon(), game.GetDirectory() + "\\Resources\\GameIcon\\GameIcon.ico");
    ASSERT_TRUE(game.levelSM);
    EXPECT_EQ(game.levelSM->name, "LevelSM");

    // Anything left over is reset by the game-start hook, but the options
    // request is kept (the main menu clears it on entry).
    game.totalScore = 5;
    game.levelScore = 7;
    game.pointsNeeded = 1;
    game.playStarted = 1;
    game.stage = 4;
    game.startRequested = game.tutorialRequested = game.playerLost = 1;
    game.backToMenuRequested = game.creditsRequested = game.optionsRequested = game.muted = 1;
    game.introRunning = 0;
    Tick();
    EXPECT_EQ(game.totalScore, 0);
    EXPECT_EQ(game.levelScore, 0);
    EXPECT_EQ(game.pointsNeeded, 10);
    EXPECT_EQ(game.playStarted, 0);
    EXPECT_EQ(game.stage, 1);
    EXPECT_EQ(game.startRequested + game.tutorialRequested + game.playerLost + game.backToMenuRequested +
                  game.creditsRequested + game.muted,
              0);
    EXPECT_EQ(game.optionsRequested, 1);
    EXPECT_EQ(game.introRunning, 1);
}

// The machine is entered first ("S0" resets stage and score), then each
// case sets the data and runs one update.
TEST_F(MyGameDisplayTest, TheStageThresholdsSetPointsNeededAndCompleteTheStage)
{
    struct Case
    {
        std::int32_t stage;
        std::int32_t levelScore;
        std::int32_t pointsNeededBefore;
        std::int32_t pointsNeeded;
        std::int32_t levelScoreAfter;
        std::uint8_t complete;
    };
    const Case cases[] = {
        {1, 0, 0, 10, 0, 0},  // a menu: the threshold itself
        {2, 19, 0, 1, 19, 0}, //
        {3, 0, 0, 30, 0, 0},  //
        {4, 30, 0, 0, 0, 1},  // stage 4 needs 30 again; completed in the same frame
        {5, 39, 0, 1, 39, 0}, //
        {5, 40, 0, 0, 0, 1},  //
        {1, 12, 0, -2, 0, 1}, // the surplus is dropped
        {6, 3, 17, 17, 3, 0}, // won: nothing changes
        {0, 3, 17, 17, 3, 0}, //
    };
    MyGame& game = MakeGame(0);
    Tick();
    game.Update(1.0f / 60.0f);
    FlagLevel* level = CurrentFlagLevel(game);
    ASSERT_NE(level, nullptr);
    for (const Case& c : cases)
    {
        SCOPED_TRACE("stage " + std::to_string(c.stage) + " score " + std::to_string(c.levelScore));
        level->flags.fill(0);
        game.stage = c.stage;
        game.levelScore = c.levelScore;
        game.pointsNeeded = c.pointsNeededBefore;
        game.Update(1.0f / 60.0f);
        EXPECT_EQ(game.pointsNeeded, c.pointsNeeded);
        EXPECT_EQ(game.levelScore, c.levelScoreAfter);
        EXPECT_EQ(level->flags[static_cast<std::size_t>(PlayFlag::StageComplete)], c.complete);
        EXPECT_EQ(game.stage, c.stage);
    }
}

TEST_F(MyGameDisplayTest, AStageCompletedOnAPlainLevelChangesNoLevel)
{
    MyGame& game = MakeGame(1);
    Tick();
    game.Update(1.0f / 60.0f);
    ASSERT_EQ(CurrentFlagLevel(game), nullptr);
    game.levelScore = 10;
    game.Update(1.0f / 60.0f);
    EXPECT_EQ(game.levelScore, 0);
    EXPECT_EQ(PlayLevelFlags::Read(PlayFlag::StageComplete), 0);
}

TEST_F(MyGameDisplayTest, PlaySwitchesAreReadAndWrittenOnlyWhereTheLevelCarriesThem)
{
    MyGame& game = MakeGame(2);
    Tick();
    FlagLevel* tutorial = CurrentFlagLevel(game);
    ASSERT_NE(tutorial, nullptr);
    PlayLevelFlags::Write(PlayFlag::BlackHoleAvailable, 1);
    PlayLevelFlags::Write(PlayFlag::Paused, 1);
    EXPECT_EQ(tutorial->flags[static_cast<std::size_t>(PlayFlag::BlackHoleAvailable)], 1);
    EXPECT_EQ(tutorial->flags[static_cast<std::size_t>(PlayFlag::Paused)], 0);
    EXPECT_EQ(PlayLevelFlags::Read(PlayFlag::BlackHoleAvailable), 1);
    EXPECT_EQ(PlayLevelFlags::Read(PlayFlag::Paused), 0);
    PlayLevelFlags::DropBalls(3.0f, -4.0f);
    EXPECT_EQ(tutorial->drops, 1);
    EXPECT_EQ(tutorial->lastDrop, std::make_pair(3.0f, -4.0f));

    game.ChangeLevel(1);
    Tick();
    ASSERT_EQ(game.GetCurrentLevelIndex(), 1u);
    PlayLevelFlags::Write(PlayFlag::QuitDialogOpen, 1);
    PlayLevelFlags::DropBalls(1.0f, 1.0f);
    EXPECT_EQ(PlayLevelFlags::Read(PlayFlag::QuitDialogOpen), 0);
}

TEST_F(MyGameDisplayTest, TheGameStateRoundTripsAndADamagedRecordChangesNothing)
{
    MyGame& game = MakeGame(0);
    Tick();
    game.Update(1.0f / 60.0f);
    game.totalScore = 1230;
    game.levelScore = 7;
    game.pointsNeeded = 23;
    game.playStarted = 1;
    game.stage = 3;
    game.creditsRequested = 1;
    game.introRunning = 0;
    game.levelSM->SetPendingStateIndex(6);

    Core::MemoryFile saved;
    game.WriteGameState(saved);

    // Everything changes, then the saved state comes back.
    game.Update(1.0f / 60.0f);
    game.totalScore = 1;
    game.stage = 1;
    game.introRunning = 1;
    game.creditsRequested = 0;
    Core::MemoryFile reader(saved.GetData(), saved.GetSize());
    ASSERT_TRUE(game.ReadGameState(reader));
    Core::MemoryFile again;
    game.WriteGameState(again);
    EXPECT_EQ(again.GetBuffer(), saved.GetBuffer());
    EXPECT_EQ(game.stage, 3);
    EXPECT_EQ(game.totalScore, 1230);
    EXPECT_EQ(game.levelSM->GetPendingStateIndex(), 6u);

    // A record cut anywhere is refused whole.
    game.stage = 2;
    Core::MemoryFile before;
    game.WriteGameState(before);
    for (std::uint32_t size = 0; size < saved.GetSize(); ++size)
    {
        Core::MemoryFile cut(saved.GetData(), size);
        EXPECT_FALSE(game.ReadGameState(cut)) << size;
        Core::MemoryFile now;
        game.WriteGameState(now);
        ASSERT_EQ(now.GetBuffer(), before.GetBuffer()) << size;
    }
}

} // namespace

namespace
{

using namespace BrillowTest;

std::vector<std::uint8_t> SaveGameBytes(MyGame& game)
{
    Core::MemoryFile file;
    game.SaveGame(file);
    return std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize());
}

void SetPlayedState(MyGame& game)
{
    game.totalScore = 4321;
    game.levelScore = 12;
    game.pointsNeeded = 30;
    game.playStarted = 1;
    game.stage = 3;
    game.startRequested = 1;
    game.playerLost = 1;
    game.muted = 1;
    game.introRunning = 0;
    game.levelSM->SetPendingStateIndex(6);
}

TEST_F(MyGameDisplayTest, ASavedGameCarriesTheGameDataAndTheMachine)
{
    // Level 1 is a plain level, which a save can carry.
    MyGame& game = MakeGame(1);
    Tick();
    SetPlayedState(game);
    const std::uint32_t machineState = game.levelSM->GetCurrentStateIndex();
    const std::vector<std::uint8_t> saved = SaveGameBytes(game);

    game.totalScore = 0;
    game.levelScore = 0;
    game.pointsNeeded = 10;
    game.playStarted = 0;
    game.stage = 5;
    game.startRequested = 0;
    game.playerLost = 0;
    game.muted = 0;
    game.introRunning = 1;
    game.levelSM->SetPendingStateIndex(2);
    std::string error;
    ASSERT_TRUE(game.LoadGame(saved, error)) << error;

    EXPECT_EQ(game.totalScore, 4321);
    EXPECT_EQ(game.levelScore, 12);
    EXPECT_EQ(game.pointsNeeded, 30);
    EXPECT_EQ(game.playStarted, 1);
    EXPECT_EQ(game.stage, 3);
    EXPECT_EQ(game.startRequested, 1);
    EXPECT_EQ(game.playerLost, 1);
    EXPECT_EQ(game.muted, 1);
    EXPECT_EQ(game.introRunning, 0);
    ASSERT_TRUE(game.levelSM);
    EXPECT_EQ(game.levelSM->GetCurrentStateIndex(), machineState);
    EXPECT_EQ(game.levelSM->GetPendingStateIndex(), 6u);
    EXPECT_EQ(SaveGameBytes(game), saved);
}

TEST_F(MyGameDisplayTest, ASaveCutInsideTheGamesRecordChangesNothing)
{
    MyGame& game = MakeGame(1);
    Tick();
    SetPlayedState(game);
    Core::MemoryFile record;
    game.WriteGameState(record);
    const std::vector<std::uint8_t> saved = SaveGameBytes(game);
    ASSERT_GT(saved.size(), record.GetSize());

    game.stage = 2;
    game.totalScore = 77;
    game.levelSM->SetPendingStateIndex(4);
    const std::vector<std::uint8_t> running = SaveGameBytes(game);
    for (std::size_t length = saved.size() - record.GetSize(); length < saved.size(); ++length)
    {
        std::string error;
        const std::vector<std::uint8_t> cut(saved.begin(),
                                            saved.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_FALSE(game.LoadGame(cut, error)) << length;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(game.stage, 2);
        EXPECT_EQ(game.totalScore, 77);
        ASSERT_EQ(SaveGameBytes(game), running) << length;
    }
}

// The game carries the real session layer and updates it every frame, but
// never starts it: no layer is active in the process, through a level
// switch too.
TEST_F(MyGameDisplayTest, TheGameUpdatesItsSessionLayerEveryFrameWithoutEverStartingIt)
{
    MyGame& game = MakeGame();
    ASSERT_NE(game.GetNetworkEngine(), nullptr);
    // The first frame has no time step and updates nothing.
    Tick();
    static int updates = 0;
    updates = 0;
    Velkor::ZibNet::SetCallObserver(
        [](const char* operation, void*) { updates += std::string(operation) == "Update" ? 1 : 0; }, nullptr);
    Tick(5);
    game.ChangeLevel(1);
    Tick(5);
    Velkor::ZibNet::SetCallObserver(nullptr, nullptr);
    EXPECT_EQ(updates, 10);
    EXPECT_EQ(Velkor::ZibNet::GetActive(), nullptr);
    EXPECT_FALSE(game.GetNetworkEngine()->IsActive());
    EXPECT_FALSE(game.IsNetworkGame());
}

} // namespace
