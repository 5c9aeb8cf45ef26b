// Replays: recording the input of every frame, the replay-data file, and
// playing a recording back from the game saved when it started.

#include "core/Core_MemoryFile.h"
#include "core/Core_ResourceReport.h"
#include "core/Core_String.h"
#include "framework/Velkor_Game.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "pal/PAL_FileSystem.h"

namespace Velkor
{

namespace
{

constexpr const char* RecordingStartSuffix = "_gameSaved";
constexpr const char* ReplayDataSuffix = "_replayData";
// The running game while a replay plays, brought back when it ends.
constexpr const char* PreReplaySave = "gameSaved_OnReplayStart";

} // namespace

void Game::ReplayRecordingStart(const std::string& name)
{
    if (replaying_)
    {
        return;
    }
    recording_ = true;
    replayRecords_.clear();
    replayName_ = name;
    Save(name + RecordingStartSuffix);
}

void Game::ReplayRecordingStop()
{
    if (!recording_ || replaying_)
    {
        return;
    }
    recording_ = false;
    if (!RefusedInNetworkGame(replayName_ + ReplayDataSuffix))
    {
        request_ = 3;
        replayName_ = GetSavesDirectory() + "/" + replayName_ + ReplayDataSuffix;
    }
}

void Game::ReplayStart(const std::string& name)
{
    replaying_ = true;
    // A recording under way is abandoned: its records go, and the game kept
    // for the replay's end must not come back recording without them.
    recording_ = false;
    replayRecords_.clear();
    Save(PreReplaySave);
    Load(name + RecordingStartSuffix);
    if (!RefusedInNetworkGame(name + ReplayDataSuffix))
    {
        request_ = 4;
        replayName_ = GetSavesDirectory() + "/" + name + ReplayDataSuffix;
    }
    replayPosition_ = 0;
}

void Game::ReplayStop()
{
    if (!replaying_)
    {
        return;
    }
    replaying_ = false;
    Load(PreReplaySave);
}

void Game::GetReplayFiles(std::vector<std::string>& names) const
{
    names.clear();
    const std::string directory = GetSavesDirectory();
    std::vector<std::string> entries;
    PAL::ListDirectory(directory, entries);
    const std::string suffix = ReplayDataSuffix;
    for (const std::string& entry : entries)
    {
        const std::string path = directory + "/" + entry;
        std::string upper = entry;
        Core::ToUpper(upper);
        if (PAL::IsDirectory(path) || PAL::IsSystemFile(path) || !Core::EndsWith(upper, "_REPLAYDATA"))
        {
            continue;
        }
        names.push_back(entry.substr(0, entry.size() - suffix.size()));
    }
}

bool Game::WriteReplayData(const std::string& path)
{
    Core::MemoryFile file;
    WriteReplayRecords(file, replayRecords_);
    return WriteFileInPlace(path, file.GetData(), file.GetSize());
}

bool Game::ReadReplayData(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, "the replay does not start"))
    {
        return false;
    }
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    std::string error;
    if (!ReadReplayRecords(file, replayRecords_, error))
    {
        lastSaveError_ = path + ": " + error;
        Core::ReportUnreadableResource(path, error, "the replay does not start");
        return false;
    }
    return true;
}

void Game::StartReplayFromSaves()
{
    // The running game is written before anything is loaded: without it the
    // replay's end would have nothing to come back to.
    const bool started = ReadReplayData(replayName_) && WriteSave(savePath_) && LoadSave(loadPath_);
    savePath_.clear();
    loadPath_.clear();
    if (started)
    {
        // The recording's start was saved while it recorded.
        recording_ = false;
    }
    else
    {
        replaying_ = false;
        replayRecords_.clear();
    }
}

void Game::FeedReplay(float& dt)
{
    Input::Keyboard* keyboard = GetKeyboard().Get();
    Input::Mouse* mouse = GetMouse().Get();
    if (keyboard != nullptr && keyboard->IsTriggered(keyboard->GetSetting()))
    {
        replaying_ = false;
        Load(PreReplaySave);
        keyboard->Reset();
        keyboard->ClearStartGuard();
        return;
    }
    // A replay that has nothing (left) to feed ends; a network game starts
    // one without reading any records.
    if (replayPosition_ >= replayRecords_.size())
    {
        ReplayStop();
        return;
    }
    const ReplayRecord& record = replayRecords_[replayPosition_];
    const ReplayChangeList empty;
    if (keyboard != nullptr)
    {
        if (record.keyboardChanged && record.keyboardChanges)
        {
            keyboard->ApplyEvents(record.keyboardChanges->indices, record.keyboardChanges->states);
        }
        else
        {
            keyboard->Reset();
            keyboard->ClearStartGuard();
        }
    }
    if (mouse != nullptr)
    {
        const ReplayChangeList& buttons =
            record.mouseChanged && record.mouseChanges ? *record.mouseChanges : empty;
        mouse->ApplyEvents(record.mouse, buttons.indices, buttons.states);
    }
    dt = record.dt;
    ++replayPosition_;
    if (replayPosition_ == replayRecords_.size())
    {
        ReplayStop();
    }
}

void Game::RecordReplayFrame(float dt)
{
    ReplayRecord record;
    if (Input::Keyboard* keyboard = GetKeyboard().Get())
    {
        auto changes = std::make_unique<ReplayChangeList>();
        if (keyboard->ExportEvents(changes->indices, changes->states))
        {
            record.keyboardChanged = true;
            record.keyboardChanges = std::move(changes);
        }
    }
    if (Input::Mouse* mouse = GetMouse().Get())
    {
        auto changes = std::make_unique<ReplayChangeList>();
        if (mouse->ExportEvents(record.mouse, changes->indices, changes->states))
        {
            record.mouseChanged = true;
            record.mouseChanges = std::move(changes);
        }
    }
    record.dt = dt;
    replayRecords_.push_back(std::move(record));
}

} // namespace Velkor
