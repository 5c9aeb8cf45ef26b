#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_RenderingApplication.h"
#include "framework/Velkor_FrameTimer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_LevelFactory.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_ReplayRecord.h"
#include "framework/Velkor_TextureHold.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SoundEngine;

namespace Collision2D
{
class CollisionActor;
class CollisionEngine;
} // namespace Collision2D

namespace Core
{
class File;
}

namespace Engine
{
class SceneGraph;
}

namespace GUI
{
class HUD;
}

namespace Physics2D
{
class PhysicsEngine;
}

namespace Velkor
{

class GameObject;

// The framework's application: on top of the window, renderer, mouse and
// keyboard it makes and owns the collision, physics and sound engines, the
// networked-session layer, the heads-up display and the scene graph, holds
// the level factory and the current level, and runs the frame update in a
// fixed order. The game's own class derives from it and overrides the hooks.
// One Game exists per process.
//
// Frame tick (RunFrame): the first tick makes the level of the current index
// and starts it (OnGameStart, then the level's OnStart); every tick runs the
// frame update with the time measured between the ends of the last two
// ticks, unless that time is 0.
//
// Frame update (timed by phase while the frame timer is on): the save,
// load and replay requests; pending level switch; mouse (not while
// replaying) and keyboard; the replay feed (the recorded input and time step
// replace the frame's); heads-up display; the replay recording; the game's
// Update; the level's FrameUpdate and two extra passes; physics; collision;
// the game's OnPostCollision; physics post-collision (contacts); the network
// layer; the online-session list; the objects' transformations; the scene
// graph; the optional screen clear; the level's viewports; the heads-up
// display.
//
// Shutdown ends the network game and the level, releases the managed
// objects and the collision assets, then destroys the engines. From then
// on the engine accessors answer null, and everything released later (the
// derived game's own members) finds no engine to call.
class Game : public Engine::RenderingApplication
{
public:
    // The level of `startingLevel` (0 when it is not below the factory's
    // level count) starts at the first tick.
    Game(const Core::RefPtr<LevelFactory>& levelFactory, const Engine::DisplayRequest& request,
         std::uint32_t startingLevel);
    // Shuts down when Shutdown has not run; the process-wide Game is null
    // afterwards.
    ~Game() override;

    // The Game alive now, or null.
    static constexpr const char* ScriptTypeName = "Game";

    static Game* GetInstance();
    void PushToScript(lua_State* state) override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // --- Main loop ------------------------------------------------------------
    // The frame tick.
    void RunFrame() override;
    // Runs once; later calls do nothing.
    void Shutdown() override;

    // --- Frame timer ----------------------------------------------------------
    // Off by default. Turning it on starts a fresh timer that measures the
    // phases of every frame update and the buffer swap (see FramePhase);
    // turning it off drops it. While off, a frame reads no clock for it.
    void SetFrameTimerEnabled(bool enabled);
    // Null while off.
    FrameTimer* GetFrameTimer() const { return frameTimer_.get(); }

    // --- Hooks of the game ----------------------------------------------------
    // When the first level has been made, before its OnStart.
    virtual void OnGameStart();
    // From Shutdown, after the level's OnEnd.
    virtual void OnGameEnd();
    // The game's per-frame logic, after input and the heads-up display.
    virtual void Update(float dt);
    // Whether a contact between `a` and `b` (null: static geometry) acts,
    // with `restitution` and `friction` (0.3 and 0.5 on entry). The default
    // keeps both and answers true.
    virtual bool OnContact(GameObject* a, GameObject* b, float& restitution, float& friction);
    // After the collision step.
    virtual void OnPostCollision(float dt);
    // Network events (see NetworkEventCallback).
    virtual bool OnPlayerJoinRequest(ZibPlayer* player);
    virtual void OnJoinReply(std::int32_t code);
    virtual void OnSessionJoined();
    virtual void OnSessionHosted();
    virtual void OnSessionEnded();
    virtual void OnPlayerAdded(ZibPlayer* player);
    virtual void OnPlayerRemoved(ZibPlayer* player);
    virtual void OnTextMessage(ZibPlayer* sender, const std::string& text);
    virtual void OnDataMessage(ZibPlayer* sender, std::uint32_t value, std::uint32_t size, const void* data);

    // --- Engines and state ----------------------------------------------------
    // Null once Shutdown has destroyed them.
    Collision2D::CollisionEngine* GetCollisionEngine() const { return collisionEngine_.get(); }
    Physics2D::PhysicsEngine* GetPhysicsEngine() const { return physicsEngine_.Get(); }
    SoundEngine* GetSoundEngine() const { return soundEngine_.get(); }
    ZibNet* GetNetworkEngine() const { return networkEngine_.Get(); }
    const Core::RefPtr<Engine::SceneGraph>& GetSceneGraph() const { return sceneGraph_; }
    GUI::HUD* GetHUD() const { return hud_.get(); }
    // Null before the first tick and between the levels of a switch.
    Level* GetCurrentLevel() const { return currentLevel_.Get(); }
    std::uint32_t GetCurrentLevelIndex() const { return currentLevelIndex_; }
    std::uint32_t GetStartingLevelIndex() const { return startingLevelIndex_; }
    const Core::RefPtr<LevelFactory>& GetLevelFactory() const { return levelFactory_; }
    std::uint32_t GetLevelsCount() const;
    std::uint32_t GetResolutionWidth() const { return resolutionWidth_; }
    std::uint32_t GetResolutionHeight() const { return resolutionHeight_; }

    // --- Program and window ---------------------------------------------------
    std::string GetDirectory() const;
    std::string GetExecutableName() const;
    std::string GetExecutableNameNoExtension() const;
    // `fileName` without a final ".exe" (exactly so, in lower case).
    static std::string WithoutExeExtension(const std::string& fileName);
    void SetTitle(const std::string& title);
    const std::string& GetTitle() const;
    void SetIcon(const std::string& path);
    const std::string& GetIcon() const;

    // Clamped to 0..10 and given to the sound engine as the listener gain;
    // NaN is ignored.
    void SetMasterVolume(float volume);
    float GetMasterVolume() const { return masterVolume_; }

    // Kept alive until Shutdown.
    void AddManagedObject(Core::Object* object, const std::string& name);
    const std::vector<Core::RefPtr<Core::Object>>& GetManagedObjects() const { return managedObjects_; }
    const std::vector<std::string>& GetManagedObjectNames() const { return managedObjectNames_; }

    // Collision geometry of the game's actor kinds; the Game owns the actors
    // and drops them on every level switch. An actor's place in the list is
    // its number.
    void AddCollisionAssets(Collision2D::CollisionActor* actor);
    const std::vector<std::unique_ptr<Collision2D::CollisionActor>>& GetCollisionAssets() const
    {
        return collisionAssets_;
    }
    void ClearCollisionAssets();

    // Process-wide: cleared before every OnContact question; the game sets
    // it during the question to make a contact between two objects act on
    // the first one only.
    static void SetOneWayCollision(bool oneWay);
    static bool GetOneWayCollision();

    // --- Level switching ------------------------------------------------------
    // Requests record the target; the switch runs at the start of the next
    // frame update. An index at or above the level count is ignored.
    // Answers the level count.
    std::uint32_t ChangeLevel(std::uint32_t index);
    // Requests the current level again.
    std::uint32_t RestartLevel();
    // A name the factory does not know is ignored.
    void GoToLevel(const std::string& name);
    void GoToNextLevel();
    // Nothing at level 0.
    void GoToPreviousLevel();
    void GoToLastLevel();
    void GoToFirstLevel();
    void GoToStartingLevel();
    bool IsLevelSwitchPending() const { return levelSwitchPending_; }
    std::uint32_t GetPendingLevelIndex() const { return pendingLevelIndex_; }

    // --- Saved games ----------------------------------------------------------
    // Requests carried out at the start of the next frame update; a later
    // request of the same frame replaces an earlier one. Refused in a
    // network game (GetLastSaveError says so). Files live in the
    // executable's directory + "\Saves\".
    void Save(const std::string& name);
    void Load(const std::string& name);
    // The whole game: collision assets, collision world, the level, times,
    // indices and flags, title, the listener camera, the object counter,
    // the physics hooks, the physics world, then the random generator.
    void SaveGame(Core::File& file) const;
    // Reads `bytes` as a saved game. The running game is first saved into
    // memory; when anything in the bytes is wrong (short, counts beyond
    // what is there, objects of the wrong class, broken links) the world
    // read so far is torn down, the running game comes back from that
    // memory copy, and the answer is false with `error` saying what was
    // wrong. Should that copy itself not read back (a derived game's record
    // refused), the running level starts again from its beginning and
    // `error` says so as well.
    bool LoadGame(const std::vector<std::uint8_t>& bytes, std::string& error);
    // The derived game's own record, written at the end of SaveGame.
    virtual void SaveGameState(Core::File& file) const;
    // Reads what SaveGameState wrote while LoadGame reads the rest, after
    // everything else in the save has proven sound. False fails the whole
    // load (the running game comes back, its own record included); it must
    // change nothing when it answers false.
    virtual bool LoadGameState(Core::File& file);
    // The last save or load problem reported, empty when none.
    const std::string& GetLastSaveError() const { return lastSaveError_; }
    // The directory of the saves (native path; made when missing).
    std::string GetSavesDirectory() const;
    // Saved games: every entry but the replay files, the recordings' start
    // saves and unfinished writes.
    void GetSavedGames(std::vector<std::string>& names) const;

    // --- Replays --------------------------------------------------------------
    // While recording (and not replaying) every frame update appends the
    // frame's keyboard and mouse changes and its time step. A replay loads
    // the game saved when its recording started and feeds the records
    // instead of the real input, one per frame, then brings back the game
    // saved when the replay started. The files are "<name>_gameSaved" and
    // "<name>_replayData" in the saves directory. The keyboard's stop key
    // (its setting, Escape by default) ends a running replay at once.
    //
    // Nothing while replaying; else drops any records, starts recording
    // and requests the save of the recording's start.
    void ReplayRecordingStart(const std::string& name);
    // Only while recording and not replaying: stops, and (outside a network
    // game) requests the replay-data file written at the next frame.
    void ReplayRecordingStop();
    // Abandons any recording, saves the running game as
    // "gameSaved_OnReplayStart" and plays the recording `name` from its
    // start (all at the next frame). A replay-data file that cannot be read
    // or a start that cannot be loaded ends the replay with the running
    // game kept.
    void ReplayStart(const std::string& name);
    // Only while replaying: ends the replay and requests the load of the
    // game that ran before it.
    void ReplayStop();
    // The recordings in the saves directory: each replay-data file's name
    // without its "_replayData" suffix.
    void GetReplayFiles(std::vector<std::string>& names) const;
    bool IsRecording() const { return recording_; }
    bool IsReplaying() const { return replaying_; }
    const std::vector<ReplayRecord>& GetReplayRecords() const { return replayRecords_; }
    std::uint32_t GetReplayPosition() const { return replayPosition_; }

    // --- Network games --------------------------------------------------------
    // Forwards one network event to its hook on the Game (false without a
    // Game): 0 OnSessionHosted, 1 OnSessionJoined, 2 OnPlayerJoinRequest
    // (whose answer it returns), 3 OnJoinReply (a positive code becomes 0),
    // 4 OnPlayerAdded, 5 OnPlayerRemoved, 6 OnTextMessage, 7 OnDataMessage,
    // 8 OnSessionEnded (on a client after removing every networked object,
    // and followed by listening for sessions again). True for every kind
    // but 2.
    static bool NetworkEventCallback(const Core::RefPtr<NetMessage>& message);
    // Ends any network game and starts the layer as a client looking for
    // sessions of `networkId`.
    bool NetworkStart(const std::string& networkId);
    // Only after NetworkStart: starts the layer as host and opens a session.
    bool HostNetworkGame(const std::string& hostName, const std::string& playerName,
                         const std::string& password, std::uint32_t playerCount);
    bool JoinNetworkGame(const std::string& playerName, const ZibBroadcast& session,
                         const std::string& password);
    bool NetworkShutdown();
    bool IsNetworkGame() const;
    bool IsServer() const;
    // Sessions seen on the network whose network id is this game's,
    // refreshed every frame.
    const std::vector<ZibBroadcast>& GetOnlineSessions() const { return onlineSessions_; }

protected:
    // The frame update (dt in seconds).
    virtual void FrameUpdate(float dt);
    // The swap, timed while the frame timer is on; closes the timer's frame.
    void PresentFrame() override;

private:
    // The contact-list callback of the physics engine (the contact bridge):
    // turns the collision world's results of every body's object into
    // physics contacts, asking OnContact for each contact point.
    static void UpdateContactList(Physics2D::PhysicsEngine* engine, void* game);

    // Records the switch to `index` when it is below the level count.
    void RequestLevel(std::uint32_t index);
    // The pending switch (frame update step 5). The textures in use when it
    // starts are held until the next switch has made its level (see
    // TextureHold).
    void SwitchLevel();
    // Makes the level of the current index current and starts it; reports a
    // factory that makes none and answers false.
    bool CreateCurrentLevel(bool gameStarts);
    // Ends and releases the current level.
    void EndCurrentLevel(bool gameEnds);
    // Step 17 of the frame update.
    void RefreshOnlineSessions();
    // Frame update steps 1 to 4: the save, load and replay requests.
    void HandleRequests();
    // True in a network game, where saves, loads and replay data are
    // refused; the refusal of `name` becomes the last save error.
    bool RefusedInNetworkGame(const std::string& name);
    bool WriteSave(const std::string& path);
    bool LoadSave(const std::string& path);
    // Writes `bytes` beside `path` and renames them into place; reports a
    // failure and keeps the previous file.
    bool WriteFileInPlace(const std::string& path, const std::uint8_t* bytes, std::uint32_t size);
    // The whole file into `bytes`; reports a file that cannot be read, with
    // `keeping` saying what stays.
    bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, const char* keeping);
    // Replays: request 3, the record read of request 4, the feed (frame
    // update step 7, which may replace the step) and the recording (step 9).
    bool WriteReplayData(const std::string& path);
    bool ReadReplayData(const std::string& path);
    void FeedReplay(float& dt);
    void RecordReplayFrame(float dt);
    // The request of the starting replay: save the running game, load the
    // recording's start.
    void StartReplayFromSaves();
    // Reads a saved game into the torn-down game; false, with `error`, on
    // any problem.
    bool ReadGame(Core::File& file, std::string& error);
    // The teardown of a level switch without a new level; `endHooks` runs
    // the level's end hooks (not for a level that a failed read made).
    void TearDownForLoad(bool endHooks);
    void ClearWorlds();

    std::vector<Core::RefPtr<Core::Object>> managedObjects_;
    std::vector<std::string> managedObjectNames_;
    Core::RefPtr<LevelFactory> levelFactory_;
    // The archive of a save or load under way.
    Core::File* currentArchive_ = nullptr;
    std::vector<ZibBroadcast> onlineSessions_;
    Core::RefPtr<Engine::SceneGraph> sceneGraph_;
    std::unique_ptr<Collision2D::CollisionEngine> collisionEngine_;
    Core::RefPtr<Physics2D::PhysicsEngine> physicsEngine_;
    std::unique_ptr<SoundEngine> soundEngine_;
    Core::RefPtr<ZibNet> networkEngine_;
    Core::RefPtr<Level> currentLevel_;
    double lastTimeStamp_ = 0.0;
    double elapsedTime_ = 0.0;
    std::uint32_t resolutionWidth_ = 0;
    std::uint32_t resolutionHeight_ = 0;
    std::uint32_t currentLevelIndex_ = 0;
    std::uint32_t startingLevelIndex_ = 0;
    std::uint32_t pendingLevelIndex_ = 0;
    bool levelSwitchPending_ = false;
    // 0 none, 1 save, 2 load, 3 write replay data, 4 start a replay.
    std::uint32_t request_ = 0;
    std::string savePath_;
    std::string loadPath_;
    std::vector<std::unique_ptr<Collision2D::CollisionActor>> collisionAssets_;
    TextureHold textureHold_;
    bool recording_ = false;
    bool replaying_ = false;
    std::vector<ReplayRecord> replayRecords_;
    // The recording's name; the full replay-data path once a write or read
    // is requested.
    std::string replayName_;
    std::uint32_t replayPosition_ = 0;
    std::unique_ptr<GUI::HUD> hud_;
    std::unique_ptr<FrameTimer> frameTimer_;
    // The timer turned off or replaced during the current frame.
    std::unique_ptr<FrameTimer> retiredFrameTimer_;
    float masterVolume_ = 1.0f;
    bool levelCreationFailed_ = false;
    std::string lastSaveError_;
    // False when the last failed load could not bring the running game back.
    bool runningGameKept_ = true;
    bool shutDown_ = false;
};

} // namespace Velkor
