#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_StateMachine.h"

#include <cstdint>

namespace Core
{
class File;
}

// The game's application: the framework game with the run-time settings of
// the game, the level state machine and the game data every level, button
// and game object reads and writes (through GetInstance). Menus and objects
// never switch levels: they set the request bytes, and the machine's
// conditions read them.
class MyGame : public Velkor::Game
{
public:
    using LevelMachine = Velkor::StateMachine<MyGame>;

    // The window the game asks for: 1024 x 768, 85 Hz in full screen, no
    // multisampling, windowed, vertical sync.
    static Engine::DisplayRequest GetDisplayRequest();
    // Points a stage needs, for stages 1 to 5; 0 for any other stage.
    static std::int32_t GetStageThreshold(std::int32_t stage);

    MyGame(const Core::RefPtr<Velkor::LevelFactory>& levelFactory, const Engine::DisplayRequest& request,
           std::uint32_t startingLevel);
    ~MyGame() override;

    // The running game as MyGame, or null.
    static MyGame* GetInstance();

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // The game-start hook: ResetGameData.
    void OnGameStart() override;
    // Back to a fresh run; the options request is kept (the main menu clears
    // it when it is entered).
    void ResetGameData();
    // The level machine, then the stage threshold: `pointsNeeded` and, once
    // `levelScore` reaches it, the current level's stage-complete switch.
    void Update(float dt) override;
    // The contact hook: by the current level index, the play rules (the play
    // level and the tutorial), the general rules (the other levels), or for
    // any other index a contact with the coefficients as they came.
    bool OnContact(Velkor::GameObject* first, Velkor::GameObject* second, float& restitution,
                   float& friction) override;
    // Whether `first` touches `second` (null: the layer's static geometry),
    // deciding by their names alone. The general rules are symmetric; the
    // play rules add the prototypes and the play-field picture "ui", which
    // is a one-way wall, before handing over to the general rules.
    bool ApplyContactRules(Velkor::GameObject* first, Velkor::GameObject* second, float& restitution,
                           float& friction);
    bool ApplyPlayContactRules(Velkor::GameObject* first, Velkor::GameObject* second, float& restitution,
                               float& friction);
    // A saved game carries the game's own record (WriteGameState).
    void SaveGameState(Core::File& file) const override;
    bool LoadGameState(Core::File& file) override;

    // The game data as one record, in member order.
    struct GameData
    {
        std::int32_t totalScore = 0;
        std::int32_t levelScore = 0;
        std::int32_t pointsNeeded = 0;
        std::uint8_t playStarted = 0;
        std::int32_t stage = 0;
        // startRequested to introRunning, in member order.
        std::uint8_t requests[8] = {};
    };

    // The game's part of a saved game: the level machine's record, then the
    // game data in member order (i32 and u8, little-endian).
    void WriteGameState(Core::File& file) const;
    // Reads what WriteGameState wrote, all or nothing: false, with nothing
    // changed, when the record is short or damaged.
    bool ReadGameState(Core::File& file);
    // The reading itself: into a copy of `machine` (null for none) and
    // `data`, changing neither `machine` nor anything else. False when the
    // record is short or damaged.
    static bool ReadGameStateRecord(Core::File& file, const LevelMachine* machine,
                                    Core::RefPtr<LevelMachine>& machineRead, GameData& data);
    GameData GetGameData() const;
    void SetGameData(const GameData& data);

    // The level machine of a fresh game; called once by the constructor.
    Core::RefPtr<LevelMachine> BuildLevelSM();
    // The same machine for `owner` (which it only stores).
    static Core::RefPtr<LevelMachine> MakeLevelSM(MyGame* owner);

    // Game data, in this order.
    std::int32_t totalScore = 0;
    std::int32_t levelScore = 0;
    std::int32_t pointsNeeded = 0;
    std::uint8_t playStarted = 0;
    std::int32_t stage = 0;
    std::uint8_t startRequested = 0;
    std::uint8_t tutorialRequested = 0;
    std::uint8_t playerLost = 0;
    std::uint8_t backToMenuRequested = 0;
    std::uint8_t creditsRequested = 0;
    std::uint8_t optionsRequested = 0;
    std::uint8_t muted = 0;
    std::uint8_t introRunning = 0;
    Core::RefPtr<LevelMachine> levelSM;

    // --- Level machine conditions (frame time in seconds) ---------------------
    bool IsAlways(float dt);
    bool IsTutorialRequested(float dt);
    bool IsCreditsRequested(float dt);
    bool IsStartRequested(float dt);
    bool IsOptionsRequested(float dt);
    bool IsBackToMenuRequested(float dt);
    bool IsGameWon(float dt);
    bool IsGameLost(float dt);
    // The tutorial's last hint ("Nextlevel") has been shown; false without it.
    bool IsTutorialFinished(float dt);
    bool IsEscapeTriggered(float dt);

    // --- Level machine actions ------------------------------------------------
    void EnterLoading(float dt);
    void EnterMainMenu(float dt);
    void ExitMainMenu(float dt);
    void EnterOptions(float dt);
    void EnterCredits(float dt);
    void ExitCredits(float dt);
    void EnterLoseA(float dt);
    void EnterWin(float dt);
    void EnterPlay(float dt);
    void ExitPlay(float dt);
    void EnterLoseScreen(float dt);
    void EnterTutorial(float dt);
    // Clears the "Nextlevel" hint's menu byte; nothing without the hint.
    void ExitTutorial(float dt);
};
