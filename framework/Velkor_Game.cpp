#include "framework/Velkor_Game.h"

#include "audio/Sound_Engine.h"
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "core/Core_Clock.h"
#include "core/Core_String.h"
#include "engine/Engine_SceneGraph.h"
#include "gui/GUI_HUD.h"
#include "pal/PAL_FileSystem.h"
#include "physics/Physics_PhysicsEngine.h"

#include <algorithm>
#include <cmath>

namespace Velkor
{

namespace
{

Game* g_game = nullptr;
bool g_oneWayCollision = false;

// The listener gain the master volume sets runs from silence to ten times
// the sound's own level.
constexpr float MaximumMasterVolume = 10.0f;

} // namespace

Game::Game(const Core::RefPtr<LevelFactory>& levelFactory, const Engine::DisplayRequest& request,
           std::uint32_t startingLevel)
    : Engine::RenderingApplication(request)
{
    hud_ = std::make_unique<GUI::HUD>();
    g_game = this;
    levelFactory_ = levelFactory;
    lastTimeStamp_ = Core::GetMilliseconds();
    elapsedTime_ = 0.0;
    sceneGraph_ = new ("Velkor_Game", __LINE__) Engine::SceneGraph(GetRenderer().Get());
    startingLevelIndex_ = startingLevel < GetLevelsCount() ? startingLevel : 0;
    currentLevelIndex_ = startingLevelIndex_;

    collisionEngine_.reset(new ("Velkor_Game", __LINE__) Collision2D::CollisionEngine());

    physicsEngine_ = new ("Velkor_Game", __LINE__) Physics2D::PhysicsEngine();
    physicsEngine_->SetContactListUpdate(&Game::UpdateContactList);
    physicsEngine_->SetContactListUpdateData(this);

    // Without a sound device the game runs silent: the result is not needed.
    soundEngine_ = std::make_unique<SoundEngine>();
    soundEngine_->Initialize(-1, 30);
    // Inverse distance, clamped.
    soundEngine_->SetDistanceModel(2);

    networkEngine_ = new ("Velkor_Game", __LINE__) ZibNet();

    resolutionWidth_ = request.width;
    resolutionHeight_ = request.height;
}

Game::~Game()
{
    if (!shutDown_)
    {
        Game::Shutdown();
    }
    sceneGraph_.Reset();
    if (g_game == this)
    {
        g_game = nullptr;
    }
}

Game* Game::GetInstance()
{
    return g_game;
}

const char* Game::GetClassName() const
{
    return "Velkor::Game";
}

std::uint32_t Game::GetSize() const
{
    return sizeof(Game);
}

void Game::RunFrame()
{
    // After a factory failed to make a level the program is ending (the
    // report posted the quit message): it is not asked again.
    if (!currentLevel_ && !levelCreationFailed_)
    {
        CreateCurrentLevel(true);
        lastTimeStamp_ = Core::GetMilliseconds();
    }
    const auto dt = static_cast<float>(elapsedTime_ / 1000.0);
    // A NaN step is not 0 and runs.
    if (dt != 0.0f)
    {
        FrameUpdate(dt);
    }
    const double now = Core::GetMilliseconds();
    elapsedTime_ = now - lastTimeStamp_;
    lastTimeStamp_ = now;
}

void Game::FrameUpdate(float dt)
{
    // A timer turned off or replaced during the last frame was kept for the
    // phases that frame still had open.
    retiredFrameTimer_.reset();
    FrameTimer* const timer = frameTimer_.get();
    HandleRequests();

    if (levelSwitchPending_)
    {
        SwitchLevel();
    }

    if (!replaying_ && GetMouse())
    {
        GetMouse()->Update();
    }
    if (GetKeyboard())
    {
        GetKeyboard()->Update();
    }
    if (replaying_)
    {
        // The recorded input and time step replace this frame's.
        FeedReplay(dt);
    }
    if (hud_)
    {
        const FramePhaseScope phase(timer, FramePhase::HeadsUpDisplay);
        hud_->Update(dt);
    }
    if (recording_ && !replaying_)
    {
        RecordReplayFrame(dt);
    }

    {
        const FramePhaseScope phase(timer, FramePhase::GameHook);
        Update(dt);
    }

    if (currentLevel_)
    {
        const FramePhaseScope phase(timer, FramePhase::LevelUpdate);
        currentLevel_->FrameUpdate(dt);
        currentLevel_->RunExtraUpdate1(dt);
        currentLevel_->RunExtraUpdate2(dt);
    }
    if (physicsEngine_)
    {
        const FramePhaseScope phase(timer, FramePhase::Physics);
        physicsEngine_->Update(dt);
    }
    if (collisionEngine_)
    {
        const FramePhaseScope phase(timer, FramePhase::Collision);
        collisionEngine_->Update(dt);
    }
    {
        const FramePhaseScope phase(timer, FramePhase::GameHook);
        OnPostCollision(dt);
    }
    if (physicsEngine_)
    {
        const FramePhaseScope phase(timer, FramePhase::ContactPass);
        physicsEngine_->PostCollisionUpdate(dt);
    }
    if (networkEngine_)
    {
        networkEngine_->ResetNetworkKeyboards();
        networkEngine_->Update(dt);
    }
    RefreshOnlineSessions();

    {
        const FramePhaseScope phase(timer, FramePhase::SceneGraph);
        if (currentLevel_)
        {
            currentLevel_->UpdateObjectTransformations();
        }
        if (sceneGraph_)
        {
            sceneGraph_->MakeCurrentAndUpdate(dt);
        }
    }
    const FramePhaseScope phase(timer, FramePhase::Rendering);
    if (sceneGraph_ && currentLevel_ && currentLevel_->GetClearBackBuffer())
    {
        sceneGraph_->ClearScreen(currentLevel_->GetClearColor());
    }
    if (currentLevel_)
    {
        currentLevel_->Render(dt);
    }
    if (hud_)
    {
        hud_->Render();
    }
}

void Game::PresentFrame()
{
    // A tick without a frame update (the first, or one that measured no
    // time) keeps no times.
    FrameTimer* const timer = frameTimer_ && frameTimer_->HasOpenFrame() ? frameTimer_.get() : nullptr;
    {
        const FramePhaseScope phase(timer, FramePhase::Swap);
        Engine::RenderingApplication::PresentFrame();
    }
    if (timer != nullptr)
    {
        timer->EndFrame();
    }
}

void Game::SetFrameTimerEnabled(bool enabled)
{
    // Called from a hook inside a frame, the frame's open phases still hold
    // the old timer: it goes when the next frame update starts.
    if (frameTimer_)
    {
        retiredFrameTimer_ = std::move(frameTimer_);
    }
    if (enabled)
    {
        frameTimer_ = std::make_unique<FrameTimer>();
    }
}

void Game::Shutdown()
{
    if (shutDown_)
    {
        return;
    }
    shutDown_ = true;

    hud_.reset();
    if (networkEngine_)
    {
        networkEngine_->Shutdown();
    }
    if (currentLevel_)
    {
        EndCurrentLevel(true);
    }
    textureHold_.Release();
    // Everything that may call the engines when it goes is released while
    // they still exist: the level above, the managed objects here.
    managedObjects_.clear();
    managedObjectNames_.clear();
    ClearCollisionAssets();
    levelFactory_.Reset();

    networkEngine_.Reset();
    soundEngine_.reset();
    physicsEngine_.Reset();
    collisionEngine_.reset();

    replayRecords_.clear();
}

void Game::OnGameStart() {}

void Game::OnGameEnd() {}

void Game::Update(float) {}

bool Game::OnContact(GameObject*, GameObject*, float& restitution, float& friction)
{
    restitution = 0.3f;
    friction = 0.5f;
    return true;
}

void Game::OnPostCollision(float) {}

std::uint32_t Game::GetLevelsCount() const
{
    return levelFactory_ ? levelFactory_->GetLevelCount() : 0;
}

std::string Game::GetDirectory() const
{
    return PAL::GetExecutableDirectory();
}

std::string Game::GetExecutableName() const
{
    return PAL::GetExecutableName();
}

std::string Game::GetExecutableNameNoExtension() const
{
    return WithoutExeExtension(GetExecutableName());
}

std::string Game::WithoutExeExtension(const std::string& fileName)
{
    const std::string extension = ".exe";
    if (!Core::EndsWith(fileName, extension))
    {
        return fileName;
    }
    return fileName.substr(0, fileName.size() - extension.size());
}

void Game::SetTitle(const std::string& title)
{
    GetWindow().SetTitle(title);
}

const std::string& Game::GetTitle() const
{
    return GetWindow().GetTitle();
}

void Game::SetIcon(const std::string& path)
{
    GetWindow().SetIcon(path);
}

const std::string& Game::GetIcon() const
{
    return GetWindow().GetIcon();
}

void Game::SetMasterVolume(float volume)
{
    if (std::isnan(volume))
    {
        return;
    }
    masterVolume_ = std::fmin(std::fmax(volume, 0.0f), MaximumMasterVolume);
    if (soundEngine_)
    {
        soundEngine_->SetMasterVolume(masterVolume_);
    }
}

void Game::AddManagedObject(Core::Object* object, const std::string& name)
{
    managedObjects_.emplace_back(object);
    managedObjectNames_.push_back(name);
}

void Game::AddCollisionAssets(Collision2D::CollisionActor* actor)
{
    // The list owns its actors: one listed twice would be deleted twice.
    if (actor == nullptr || std::any_of(collisionAssets_.begin(), collisionAssets_.end(),
                                        [actor](const std::unique_ptr<Collision2D::CollisionActor>& asset)
                                        { return asset.get() == actor; }))
    {
        return;
    }
    collisionAssets_.emplace_back(actor);
}

void Game::ClearCollisionAssets()
{
    // An actor owns its animations and their frames: deleting the actor
    // frees all of them.
    collisionAssets_.clear();
}

void Game::SetOneWayCollision(bool oneWay)
{
    g_oneWayCollision = oneWay;
}

bool Game::GetOneWayCollision()
{
    return g_oneWayCollision;
}

} // namespace Velkor
