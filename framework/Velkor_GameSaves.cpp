// Saved games: the requests of the frame update, the saved-game record and
// the load that keeps the running game when a file is damaged.

#include "audio/Sound_Engine.h"
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "core/Core_Clock.h"
#include "core/Core_File.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "core/Core_ResourceReport.h"
#include "core/Core_String.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_ObjectCounter.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "gui/GUI_HUD.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "pal/PAL_FileSystem.h"
#include "physics/Physics_PhysicsEngine.h"
#include "physics/Physics_RigidBody.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unordered_map>

namespace Velkor
{

namespace
{

// An unfinished write carries this suffix until it is renamed into place.
constexpr const char* TemporarySuffix = ".saving";

std::string DescribeFailure(const Core::File& file)
{
    std::string text = Core::GetFileErrorText(file.GetError());
    if (file.GetError() == Core::FileError::UnknownClass)
    {
        text += " \"" + file.GetUnknownClassName() + "\"";
    }
    return text;
}

} // namespace

// --- Requests ------------------------------------------------------------------------------

bool Game::RefusedInNetworkGame(const std::string& name)
{
    if (!IsNetworkGame())
    {
        return false;
    }
    lastSaveError_ = name + ": saves, loads and replays are refused in a network game";
    return true;
}

void Game::Save(const std::string& name)
{
    if (RefusedInNetworkGame(name))
    {
        return;
    }
    request_ = 1;
    savePath_ = GetSavesDirectory() + "/" + name;
}

void Game::Load(const std::string& name)
{
    if (RefusedInNetworkGame(name))
    {
        return;
    }
    request_ = 2;
    loadPath_ = GetSavesDirectory() + "/" + name;
}

std::string Game::GetSavesDirectory() const
{
    const std::string directory = PAL::ToNativePath(GetDirectory() + "\\Saves");
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    return directory;
}

void Game::GetSavedGames(std::vector<std::string>& names) const
{
    names.clear();
    const std::string directory = GetSavesDirectory();
    std::vector<std::string> entries;
    PAL::ListDirectory(directory, entries);
    for (const std::string& entry : entries)
    {
        const std::string path = directory + "/" + entry;
        std::string upper = entry;
        Core::ToUpper(upper);
        if (PAL::IsDirectory(path) || PAL::IsSystemFile(path) || Core::EndsWith(upper, "_GAMESAVED") ||
            Core::EndsWith(upper, "_REPLAYDATA") || Core::EndsWith(upper, ".SAVING"))
        {
            continue;
        }
        names.push_back(entry);
    }
}

void Game::HandleRequests()
{
    // Only one request is held: a save and a load asked for in one frame
    // perform only the later one.
    const std::uint32_t request = request_;
    request_ = 0;
    if (request == 1)
    {
        WriteSave(savePath_);
        savePath_.clear();
    }
    else if (request == 2)
    {
        LoadSave(loadPath_);
        loadPath_.clear();
    }
    else if (request == 3)
    {
        WriteReplayData(replayName_);
    }
    else if (request == 4)
    {
        StartReplayFromSaves();
    }
}

bool Game::WriteSave(const std::string& path)
{
    Core::MemoryFile file;
    SaveGame(file);
    return WriteFileInPlace(path, file.GetData(), file.GetSize());
}

bool Game::WriteFileInPlace(const std::string& path, const std::uint8_t* bytes, std::uint32_t size)
{
    // Written beside the old file and renamed over it: a failed write keeps
    // the previous one.
    const std::string temporary = path + TemporarySuffix;
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        stream.write(reinterpret_cast<const char*>(bytes), size);
        stream.close();
        if (!stream)
        {
            std::remove(temporary.c_str());
            lastSaveError_ = path + ": the file could not be written";
            Core::ReportUnreadableResource(path, "the file could not be written",
                                           "the previous file is kept");
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error)
    {
        std::remove(temporary.c_str());
        lastSaveError_ = path + ": " + error.message();
        Core::ReportUnreadableResource(path, error.message(), "the previous file is kept");
        return false;
    }
    return true;
}

bool Game::ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, const char* keeping)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
    {
        lastSaveError_ = path + ": the file cannot be opened";
        Core::ReportUnreadableResource(path, "the file cannot be opened", keeping);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    if (stream.bad())
    {
        lastSaveError_ = path + ": the file cannot be read";
        Core::ReportUnreadableResource(path, "the file cannot be read", keeping);
        return false;
    }
    return true;
}

bool Game::LoadSave(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, "the running game is kept"))
    {
        return false;
    }
    std::string error;
    if (!LoadGame(bytes, error))
    {
        lastSaveError_ = path + ": " + error;
        Core::ReportUnreadableResource(
            path, error, runningGameKept_ ? "the running game is kept" : "the running level starts again");
        return false;
    }
    return true;
}

// --- The saved-game record -------------------------------------------------------------------

void Game::SaveGame(Core::File& file) const
{
    file << static_cast<std::uint32_t>(collisionAssets_.size());
    for (const auto& actor : collisionAssets_)
    {
        actor->Write(file);
    }
    collisionEngine_->Write(file);
    file.WriteObject(currentLevel_.Get());
    file << elapsedTime_ << resolutionWidth_ << resolutionHeight_;
    file << currentLevelIndex_ << startingLevelIndex_ << pendingLevelIndex_;
    file << static_cast<std::uint8_t>(levelSwitchPending_ ? 1 : 0)
         << static_cast<std::uint8_t>(GetOneWayCollision() ? 1 : 0)
         << static_cast<std::uint8_t>(recording_ ? 1 : 0);
    // The heads-up display writes nothing yet.
    file << GetTitle();
    Camera::SaveActiveListener(file);
    file << GetObjectCounter();
    const bool bridge = physicsEngine_->GetContactListUpdate() == &Game::UpdateContactList;
    const bool userData = physicsEngine_->GetContactListUpdateData() == this;
    file << static_cast<std::uint32_t>(bridge ? 1 : 0) << static_cast<std::uint32_t>(userData ? 1 : 0);
    file.WriteObject(physicsEngine_.Get());
    // The generator's state: a replay draws the same numbers as its recording.
    file << Core::GetRandomState();
    SaveGameState(file);
}

void Game::SaveGameState(Core::File& /*file*/) const {}

bool Game::LoadGameState(Core::File& /*file*/)
{
    return true;
}

void Game::TearDownForLoad(bool endHooks)
{
    if (hud_)
    {
        hud_->Clear();
    }
    if (currentLevel_ && endHooks)
    {
        EndCurrentLevel(false);
    }
    else if (currentLevel_)
    {
        Core::RefPtr<Level> level = currentLevel_;
        level->Clear();
        currentLevel_.Reset();
    }
    ClearWorlds();
    if (levelFactory_)
    {
        levelFactory_->Init();
    }
    ResetObjectCounter();
    levelSwitchPending_ = false;
    lastTimeStamp_ = Core::GetMilliseconds();
}

bool Game::LoadGame(const std::vector<std::uint8_t>& bytes, std::string& error)
{
    if (!collisionEngine_ || !physicsEngine_)
    {
        error = "the game has no worlds";
        return false;
    }
    Core::MemoryFile snapshot;
    SaveGame(snapshot);
    // The running level's textures stay while the save is read: a loaded
    // level mostly draws from the same sheets, which would otherwise be
    // decoded again (and the snapshot, should it come back, needs them all).
    const TextureHold::Textures keptTextures = textureHold_.Take();
    TearDownForLoad(true);
    // A failed read leaves the objects it made to the file, which frees them
    // in any order once none points at another.
    const auto read = [this](const std::uint8_t* data, std::uint32_t size, std::string& why)
    {
        Core::MemoryFile file(data, size);
        if (ReadGame(file, why))
        {
            return true;
        }
        file.ForEachReadObject(
            [](Core::Object& object)
            {
                if (auto* gameObject = dynamic_cast<GameObject*>(&object))
                {
                    gameObject->ForgetLoadedLinks();
                }
                else if (auto* level = dynamic_cast<Level*>(&object))
                {
                    level->ForgetManagedLinks();
                    level->Clear();
                }
                else if (auto* emitter = dynamic_cast<ParticleEmitter*>(&object))
                {
                    emitter->ForgetManagedLinks();
                }
            });
        return false;
    };
    if (read(bytes.data(), static_cast<std::uint32_t>(bytes.size()), error))
    {
        runningGameKept_ = true;
        lastTimeStamp_ = Core::GetMilliseconds();
        return true;
    }
    TearDownForLoad(false);
    std::string restoreError;
    runningGameKept_ = read(snapshot.GetData(), snapshot.GetSize(), restoreError);
    if (!runningGameKept_)
    {
        // Nothing of the copy stays: the level is made anew on the next
        // frame, as at the start.
        TearDownForLoad(false);
        error += "; the running game could not be brought back (" + restoreError + ")";
    }
    lastTimeStamp_ = Core::GetMilliseconds();
    return false;
}

bool Game::ReadGame(Core::File& file, std::string& error)
{
    auto fail = [&file, &error](const std::string& what)
    {
        error = what + (file.Failed() ? " (" + DescribeFailure(file) + ")" : std::string());
        if (!file.Failed())
        {
            file.SetError(Core::FileError::BadData);
        }
        return false;
    };
    std::uint32_t actorCount = 0;
    // An actor record takes at least its 4-byte animation count.
    if (!file.ReadExact(&actorCount, sizeof actorCount) || !file.Require(std::uint64_t{actorCount} * 4))
    {
        return fail("the collision assets run past the end");
    }
    for (std::uint32_t i = 0; i < actorCount; ++i)
    {
        auto actor = std::make_unique<Collision2D::CollisionActor>();
        if (!actor->Read(file))
        {
            return fail("collision asset " + std::to_string(i) + " is damaged");
        }
        collisionAssets_.push_back(std::move(actor));
    }
    if (!collisionEngine_->Read(file))
    {
        return fail("the collision world is damaged");
    }
    Core::RefPtr<Level> level;
    Core::ReadRefPtr(file, level);
    if (file.Failed())
    {
        return fail("the level is damaged");
    }
    double elapsed = 0.0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t current = 0;
    std::uint32_t starting = 0;
    std::uint32_t pending = 0;
    bool switchPending = false;
    bool oneWay = false;
    bool recording = false;
    std::string title;
    file >> elapsed >> width >> height >> current >> starting >> pending >> switchPending >> oneWay >>
        recording;
    file >> title;
    Camera* listener = Camera::LoadActiveListener(file);
    std::uint32_t counter = 0;
    std::uint32_t bridge = 0;
    std::uint32_t userData = 0;
    file >> counter >> bridge >> userData;
    if (file.Failed())
    {
        return fail("the game's settings are damaged");
    }
    Core::RefPtr<Physics2D::PhysicsEngine> physics;
    Core::ReadRefPtr(file, physics);
    std::uint32_t randomState = 0;
    file >> randomState;
    if (file.Failed() || !physics)
    {
        return fail("the physics world is damaged");
    }
    if (level && !level->CheckObjectLinks(file))
    {
        return fail("objects are linked wrongly");
    }

    // Bodies go back to the objects whose physics id is their slot: over
    // the id maps and both queues, so a queued object gets its body too.
    std::unordered_map<std::uint32_t, GameObject*> byPhysicsId;
    bool listenerHeld = false;
    bool unique = true;
    const auto& bodies = physics->GetRigidBodies();
    bool named = true;
    // Managed objects the scripts keep may have bodies too.
    auto bind = [&](const GameObject& object)
    {
        const std::uint32_t id = object.GetPhysicsId();
        if (id == 0 || object.IsDetached())
        {
            return;
        }
        auto [entry, added] = byPhysicsId.emplace(id, const_cast<GameObject*>(&object));
        unique = unique && (added || entry->second == &object);
        named = named && id <= bodies.size() && bodies[id - 1];
    };
    if (level)
    {
        for (const Core::RefPtr<Layer>& layer : level->GetLayers())
        {
            layer->ForEachHeldObject(
                [&](GameObject& object)
                {
                    listenerHeld = listenerHeld || &object == listener;
                    bind(object);
                    object.ForEachManagedObject(bind);
                });
        }
        for (const Core::RefPtr<Core::Object>& managed : level->GetManagedObjects())
        {
            if (const auto* object = dynamic_cast<const GameObject*>(managed.Get()))
            {
                bind(*object);
                object->ForEachManagedObject(bind);
            }
        }
    }
    if (!unique || !named)
    {
        return fail("objects name bodies wrongly");
    }
    // The derived game's record comes last and is read last, so its part
    // changes only when everything before it is sound.
    if (!LoadGameState(file))
    {
        return fail("the game's own record is damaged");
    }

    // Nothing fails from here on.
    currentLevel_ = level;
    elapsedTime_ = elapsed;
    resolutionWidth_ = width;
    resolutionHeight_ = height;
    currentLevelIndex_ = current;
    startingLevelIndex_ = starting;
    pendingLevelIndex_ = pending;
    levelSwitchPending_ = switchPending;
    SetOneWayCollision(oneWay);
    recording_ = recording;
    SetTitle(title);
    // Only a camera of the loaded level may stay the listener.
    Camera::SetActiveListener(listenerHeld ? listener : nullptr);
    SetObjectCounter(counter);
    physicsEngine_ = physics;
    physicsEngine_->SetContactListUpdate(bridge == 1 ? &Game::UpdateContactList : nullptr);
    physicsEngine_->SetContactListUpdateData(userData == 1 ? this : nullptr);
    GameObject::RestoreBodyCallbacks(bodies);
    for (std::size_t k = 0; k < bodies.size(); ++k)
    {
        if (bodies[k])
        {
            const auto found = byPhysicsId.find(static_cast<std::uint32_t>(k + 1));
            bodies[k]->SetData(found != byPhysicsId.end() ? found->second : nullptr);
        }
    }
    Core::SetRandomState(randomState);
    return true;
}

} // namespace Velkor
