#include "framework/Velkor_Jukebox.h"

#include "audio/Sound_Data.h"
#include "audio/Sound_Source.h"
#include "core/Core_File.h"
#include "core/Core_Random.h"
#include "core/Core_String.h"
#include "pal/PAL_FileSystem.h"

#include <algorithm>
#include <cmath>

namespace Velkor
{

CORE_DEFINE_OBJECT_BASICS(Playlist, "Velkor::Playlist", "Playlist", "Velkor_Jukebox", __LINE__)
static const Core::ClassRegistrar g_playlistRegistrar("Velkor::Playlist", &Playlist::Create);
CORE_DEFINE_OBJECT_BASICS(JukeBox, "Velkor::JukeBox", JukeBox::ScriptTypeName, "Velkor_Jukebox", __LINE__)
static const Core::ClassRegistrar g_jukeBoxRegistrar("Velkor::JukeBox", &JukeBox::Create);

// Neither class is copied: Clone makes a plain object, as the root does.
Core::Object* Playlist::Clone() const
{
    return Core::Object::Clone();
}

Core::Object* JukeBox::Clone() const
{
    return Core::Object::Clone();
}

namespace
{

// A saved number of seconds or a gain step that is not finite stands still.
float Finite(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

// Two music paths name the same music when their parts from "\Resources" on
// agree; paths without that part must agree whole.
bool SameMusic(const std::string& a, const std::string& b)
{
    const std::string keyA = MusicResourceName(a);
    const std::string keyB = MusicResourceName(b);
    return keyA.empty() || keyB.empty() ? a == b : keyA == keyB;
}

// Fewest bytes a stored string (its length) and a stored track take.
constexpr std::uint64_t StringBytes = 4;
constexpr std::uint64_t TrackBytes = StringBytes + 4;

} // namespace

std::string MusicResourceName(const std::string& path)
{
    std::size_t at = path.rfind("\\resources");
    if (at == std::string::npos)
    {
        at = path.rfind("\\Resources");
    }
    return at == std::string::npos ? std::string() : path.substr(at);
}

// --- Playlist -----------------------------------------------------------------------

void Playlist::AddTrack(const std::string& fileName, SoundEngine::SoundData* data, std::int32_t repeat)
{
    tracks_.push_back({fileName, data, std::max(repeat, 0), 0});
}

bool Playlist::AllPlayed() const
{
    return std::all_of(tracks_.begin(), tracks_.end(), [](const Track& track) { return track.played != 0; });
}

void Playlist::ClearPlayed()
{
    for (Track& track : tracks_)
    {
        track.played = 0;
    }
}

void Playlist::Write(Core::File& file) const
{
    file << name_;
    file.WriteObject(owner_);
    file << static_cast<std::uint32_t>(tracks_.size());
    for (const Track& track : tracks_)
    {
        file << track.fileName << track.repeat;
    }
}

void Playlist::Read(Core::File& file)
{
    const Core::File::ReadingScope scope(file, *this);
    std::string name;
    file >> name;
    Core::RefPtr<JukeBox> owner;
    Core::ReadRefPtr(file, owner);
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count) || !file.Require(count * TrackBytes))
    {
        return;
    }
    std::vector<StoredTrack> stored(count);
    for (StoredTrack& track : stored)
    {
        file >> track.fileName >> track.repeat;
    }
    if (file.Failed())
    {
        return;
    }
    name_ = name;
    owner_ = owner.Get();
    tracks_.clear();
    pending_.clear();
    // An owner whose own record is being read has not loaded its music yet:
    // it resolves these tracks once it has.
    if (owner_ != nullptr && file.IsBeingRead(owner_))
    {
        pending_ = std::move(stored);
    }
    else if (owner_ != nullptr)
    {
        Resolve(stored);
    }
}

void Playlist::Resolve(const std::vector<StoredTrack>& stored)
{
    if (owner_ == nullptr)
    {
        return;
    }
    const std::vector<std::string>& names = owner_->GetMusicNames();
    const std::vector<SoundEngine::SoundData*>& music = owner_->GetMusicData();
    for (const StoredTrack& track : stored)
    {
        for (std::size_t i = 0; i < music.size() && i < names.size(); ++i)
        {
            if (SameMusic(names[i], track.fileName))
            {
                AddTrack(names[i], music[i], track.repeat);
                break;
            }
        }
    }
}

// --- JukeBox ------------------------------------------------------------------------

JukeBox::JukeBox(const std::vector<std::string>& fileNames)
{
    Init(fileNames);
}

// The engine's records are not touched here: they go with the level's
// StopMusic and the engine's StopAll.
JukeBox::~JukeBox()
{
    for (const Core::RefPtr<Playlist>& playlist : playlists_)
    {
        if (playlist->owner_ == this)
        {
            playlist->owner_ = nullptr;
        }
    }
}

void JukeBox::Init(const std::vector<std::string>& fileNames)
{
    musicData_.clear();
    musicNames_.clear();
    if (SoundEngine* engine = GameSound())
    {
        for (const std::string& name : fileNames)
        {
            if (SoundEngine::SoundData* data = engine->LoadSound(name, StreamThreshold))
            {
                musicData_.push_back(data);
                musicNames_.push_back(name);
            }
        }
    }
    currentPlaylist_ = nullptr;
    currentTrack_ = -1;
    repeatCounter_ = 0;
    Playlist* playlist = AddPlaylist("Default");
    currentPlaylist_ = playlist;
    for (const std::string& name : fileNames)
    {
        auto found = std::find(musicNames_.begin(), musicNames_.end(), name);
        if (found != musicNames_.end())
        {
            playlist->AddTrack(name, musicData_[static_cast<std::size_t>(found - musicNames_.begin())], 0);
        }
    }
    musicVolume_ = 1.0f;
    fadingStream_.Forget();
    currentStream_.Forget();
    fadeTime_ = 0.0f;
    musicPlaying_ = false;
    fadeInStep_ = 0.0f;
    fadeOutStep_ = 0.0f;
    repeat_ = false;
    shuffle_ = false;
    elapsed_ = 0.0f;
}

Playlist* JukeBox::AddPlaylist(const std::string& name)
{
    auto* playlist = new ("Velkor_Jukebox", __LINE__) Playlist(name, this);
    playlists_.emplace_back(playlist);
    if (currentPlaylist_ == nullptr)
    {
        currentPlaylist_ = playlist;
    }
    return playlist;
}

Playlist* JukeBox::FindPlaylist(const std::string& name) const
{
    for (const Core::RefPtr<Playlist>& playlist : playlists_)
    {
        if (playlist->GetName() == name)
        {
            return playlist.Get();
        }
    }
    return nullptr;
}

bool JukeBox::SetCurrentPlaylist(const std::string& name)
{
    Playlist* found = FindPlaylist(name);
    if (found == nullptr)
    {
        return false;
    }
    StopMusic();
    currentTrack_ = -1;
    repeatCounter_ = 0;
    if (currentPlaylist_ != nullptr)
    {
        currentPlaylist_->ClearPlayed();
    }
    currentPlaylist_ = found;
    return true;
}

SoundEngine::SoundData* JukeBox::LiveTrackData(const Playlist::Track& track)
{
    // A record freed by the engine may be followed by another at its address.
    SoundEngine::SoundData* data = LiveSoundData(track.data);
    return data != nullptr && data->GetFileName() == track.fileName ? data : nullptr;
}

std::int32_t JukeBox::DrawUnplayed() const
{
    const std::vector<Playlist::Track>& tracks = currentPlaylist_->GetTracks();
    const auto count = static_cast<std::int32_t>(tracks.size());
    std::int32_t drawn = 0;
    do
    {
        drawn = Core::Random() % count;
    } while (tracks[static_cast<std::size_t>(drawn)].played != 0);
    return drawn;
}

void JukeBox::FadeOutCurrent(float seconds)
{
    fadingStream_.Release();
    SoundEngine::Source* outgoing = currentStream_.Get();
    fadingStream_ = currentStream_;
    currentStream_.Forget();
    if (outgoing == nullptr)
    {
        return;
    }
    // -gain / seconds; no time left to fade in (or a step that is not a
    // number) ends the outgoing track at once.
    fadeOutStep_ = seconds > 0.0f ? -outgoing->GetGain() / seconds : 0.0f;
    if (!(seconds > 0.0f) || !std::isfinite(fadeOutStep_))
    {
        fadeOutStep_ = 0.0f;
        fadingStream_.Release();
    }
}

bool JukeBox::StartTrack(std::int32_t track)
{
    SoundEngine* engine = GameSound();
    SoundEngine::SoundData* data =
        LiveTrackData(currentPlaylist_->GetTracks()[static_cast<std::size_t>(track)]);
    SoundEngine::Source* source =
        engine != nullptr && data != nullptr ? engine->CreateSource(data, 1, 0) : nullptr;
    currentStream_.Set(source);
    if (source == nullptr || !engine->Play(source))
    {
        currentStream_.Release();
        return false;
    }
    source->SetGain(0.0f);
    SetMusicVolume(musicVolume_, fadeTime_);
    return true;
}

bool JukeBox::PlayMusic(std::int32_t index)
{
    if (currentPlaylist_ == nullptr || currentPlaylist_->GetTracks().empty())
    {
        return false;
    }
    std::vector<Playlist::Track>& tracks = currentPlaylist_->GetTracks();
    if (currentPlaylist_->AllPlayed())
    {
        currentPlaylist_->ClearPlayed();
    }
    std::int32_t chosen = 0;
    if (index >= 0 && index < static_cast<std::int32_t>(tracks.size()))
    {
        chosen = index;
    }
    else if (shuffle_)
    {
        chosen = DrawUnplayed();
    }
    tracks[static_cast<std::size_t>(chosen)].played = 0;

    SoundEngine::Source* outgoing = currentStream_.Get();
    if (outgoing != nullptr &&
        outgoing->GetSoundData() == LiveTrackData(tracks[static_cast<std::size_t>(chosen)]))
    {
        // The same music again: restarted, not faded into itself.
        fadingStream_.Release();
        currentStream_.Release();
    }
    else
    {
        FadeOutCurrent(fadeTime_);
    }
    if (!StartTrack(chosen))
    {
        return false;
    }
    // The track chosen, not the index asked for: -1 picks track 0 or a
    // shuffled one, and Update reads the current track's record.
    currentTrack_ = chosen;
    elapsed_ = 0.0f;
    repeatCounter_ = 0;
    musicPlaying_ = true;
    return true;
}

void JukeBox::StopMusic()
{
    FadeOutCurrent(fadeTime_);
    if (currentPlaylist_ != nullptr)
    {
        currentPlaylist_->ClearPlayed();
    }
    repeatCounter_ = 0;
    musicPlaying_ = false;
    elapsed_ = 0.0f;
    currentTrack_ = -1;
}

void JukeBox::Update(float dt)
{
    SoundEngine* engine = GameSound();
    if (engine == nullptr)
    {
        return;
    }
    SoundEngine::Source* current = currentStream_.Get();
    const Playlist::Track* track = nullptr;
    if (currentPlaylist_ != nullptr && currentTrack_ >= 0 &&
        currentTrack_ < static_cast<std::int32_t>(currentPlaylist_->GetTracks().size()))
    {
        track = &currentPlaylist_->GetTracks()[static_cast<std::size_t>(currentTrack_)];
    }
    const bool willRepeat = track != nullptr && track->repeat > repeatCounter_;
    bool moveOn = false;
    if (current != nullptr && !engine->IsMarkedPlaying(current))
    {
        // The track has ended or was stopped.
        if (!musicPlaying_)
        {
            currentStream_.Release();
            return;
        }
        if (willRepeat)
        {
            ++repeatCounter_;
            engine->Play(current);
            current->SetGain(musicVolume_);
            elapsed_ = 0.0f;
            return;
        }
        repeatCounter_ = 0;
        currentStream_.Release();
        elapsed_ = 0.0f;
        moveOn = true;
    }
    else if (current != nullptr)
    {
        // A paused stream does not advance.
        if (engine->IsPlaying(current) && musicPlaying_)
        {
            elapsed_ += dt;
            const auto* data = current->GetSoundData();
            const float remaining =
                data != nullptr ? static_cast<float>(data->GetDuration()) - elapsed_ : 0.0f;
            if (!willRepeat && remaining <= fadeTime_)
            {
                // Cross-fade: the old track falls to 0 over the time it had left.
                FadeOutCurrent(remaining);
                elapsed_ = 0.0f;
                repeatCounter_ = 0;
                moveOn = true;
            }
        }
    }
    else
    {
        elapsed_ = 0.0f;
    }
    if (moveOn)
    {
        NextInPlaylist();
    }
    FadeIn(dt);
    FadeOut(dt);
}

void JukeBox::NextInPlaylist()
{
    if (currentPlaylist_ == nullptr || currentTrack_ < 0 ||
        currentTrack_ >= static_cast<std::int32_t>(currentPlaylist_->GetTracks().size()))
    {
        return;
    }
    std::vector<Playlist::Track>& tracks = currentPlaylist_->GetTracks();
    tracks[static_cast<std::size_t>(currentTrack_)].played = 1;
    if (currentPlaylist_->AllPlayed())
    {
        if (!repeat_)
        {
            // Every track has played: the music ends.
            return;
        }
        currentPlaylist_->ClearPlayed();
    }
    std::int32_t next = shuffle_ ? DrawUnplayed() : currentTrack_ + 1;
    const auto count = static_cast<std::int32_t>(tracks.size());
    if (repeat_ && next >= count)
    {
        next = 0;
    }
    if (next >= count)
    {
        return;
    }
    SoundEngine::Source* fading = fadingStream_.Get();
    if (fading != nullptr && fading->GetSoundData() == LiveTrackData(tracks[static_cast<std::size_t>(next)]))
    {
        fadingStream_.Release();
    }
    if (StartTrack(next))
    {
        elapsed_ = 0.0f;
        currentTrack_ = next;
    }
}

void JukeBox::FadeIn(float dt)
{
    SoundEngine::Source* current = currentStream_.Get();
    if (current == nullptr)
    {
        return;
    }
    if (fadeInStep_ == 0.0f)
    {
        current->SetGain(musicVolume_);
        return;
    }
    float gain = current->GetGain() + fadeInStep_ * dt;
    if ((fadeInStep_ > 0.0f && gain >= musicVolume_) || (fadeInStep_ < 0.0f && gain <= musicVolume_) ||
        !std::isfinite(gain))
    {
        gain = musicVolume_;
    }
    current->SetGain(gain);
}

void JukeBox::FadeOut(float dt)
{
    SoundEngine::Source* fading = fadingStream_.Get();
    if (fading == nullptr)
    {
        return;
    }
    SoundEngine::Source* current = currentStream_.Get();
    if ((current != nullptr && current->GetSoundData() == fading->GetSoundData()) || !(fadeOutStep_ < 0.0f))
    {
        fadingStream_.Release();
        return;
    }
    const float gain = fading->GetGain() + fadeOutStep_ * dt;
    if (!(gain > 0.0f))
    {
        fadeOutStep_ = 0.0f;
        fadingStream_.Release();
        return;
    }
    fading->SetGain(gain);
}

void JukeBox::NextTrack()
{
    if (currentPlaylist_ != nullptr &&
        currentTrack_ + 1 < static_cast<std::int32_t>(currentPlaylist_->GetTracks().size()))
    {
        PlayMusic(currentTrack_ + 1);
    }
}

void JukeBox::PreviousTrack()
{
    if (currentPlaylist_ != nullptr && currentTrack_ - 1 >= 0)
    {
        PlayMusic(currentTrack_ - 1);
    }
}

void JukeBox::PauseMusic()
{
    if (SoundEngine::Source* current = currentStream_.Get())
    {
        GameSound()->Pause(current);
    }
}

void JukeBox::RewindMusic()
{
    if (SoundEngine::Source* current = currentStream_.Get())
    {
        GameSound()->Rewind(current);
        elapsed_ = 0.0f;
    }
}

bool JukeBox::IsPlaying()
{
    SoundEngine::Source* current = currentStream_.Get();
    return current != nullptr && GameSound()->IsPlaying(current);
}

void JukeBox::SetMusicVolume(float volume, float time)
{
    SoundEngine::Source* current = currentStream_.Get();
    if (current == nullptr || std::isnan(volume))
    {
        return;
    }
    musicVolume_ = volume;
    const float step = (volume - current->GetGain()) / time;
    fadeInStep_ = time != 0.0f && std::isfinite(time) && std::isfinite(step) ? step : 0.0f;
}

float JukeBox::GetMusicVolume()
{
    SoundEngine::Source* current = currentStream_.Get();
    return current != nullptr ? current->GetGain() : 0.0f;
}

void JukeBox::SetFadeTime(float seconds)
{
    fadeTime_ = seconds > 0.0f ? seconds : 0.0f;
}

// --- Saved form ---------------------------------------------------------------------

void JukeBox::Write(Core::File& file) const
{
    file << static_cast<std::uint32_t>(musicNames_.size());
    for (const std::string& name : musicNames_)
    {
        file << MusicResourceName(name);
    }
    file << static_cast<std::uint32_t>(playlists_.size());
    for (const Core::RefPtr<Playlist>& playlist : playlists_)
    {
        file.WriteObject(playlist.Get());
    }
    file.WriteObject(currentPlaylist_);
    file << static_cast<std::uint32_t>(currentTrack_) << repeatCounter_;
    file << static_cast<std::uint8_t>(musicPlaying_) << static_cast<std::uint8_t>(repeat_)
         << static_cast<std::uint8_t>(shuffle_);
    file << musicVolume_ << fadeTime_ << fadeInStep_ << fadeOutStep_ << elapsed_;
    auto* self = const_cast<JukeBox*>(this);
    file << static_cast<std::uint8_t>(self->IsPlaying() ? 1 : 0);
}

void JukeBox::Read(Core::File& file)
{
    const Core::File::ReadingScope scope(file, *this);
    std::uint32_t musicCount = 0;
    if (!file.ReadExact(&musicCount, sizeof musicCount) || !file.Require(musicCount * StringBytes))
    {
        return;
    }
    std::vector<std::string> names(musicCount);
    for (std::string& name : names)
    {
        file >> name;
    }
    std::uint32_t playlistCount = 0;
    if (!file.ReadExact(&playlistCount, sizeof playlistCount) || !file.Require(playlistCount))
    {
        return;
    }
    std::vector<Core::RefPtr<Playlist>> playlists(playlistCount);
    for (Core::RefPtr<Playlist>& playlist : playlists)
    {
        Core::ReadRefPtr(file, playlist);
        // Each playlist is this jukebox's own.
        if (!file.Failed() && (!playlist || playlist->owner_ != this))
        {
            file.SetError(Core::FileError::BadData);
        }
        if (file.Failed())
        {
            return;
        }
    }
    Core::RefPtr<Playlist> current;
    Core::ReadRefPtr(file, current);
    if (!file.Failed() && current &&
        std::find(playlists.begin(), playlists.end(), current) == playlists.end())
    {
        file.SetError(Core::FileError::BadData);
    }
    std::uint32_t track = 0;
    std::int32_t counter = 0;
    std::uint8_t flags[3] = {};
    float values[5] = {};
    std::uint8_t wasPlaying = 0;
    file >> track >> counter >> flags[0] >> flags[1] >> flags[2];
    for (float& value : values)
    {
        file >> value;
    }
    file >> wasPlaying;
    if (file.Failed())
    {
        return;
    }

    // The whole record is read: the music below this installation.
    currentStream_.Release();
    fadingStream_.Release();
    const std::string directory = PAL::GetExecutableDirectory();
    for (std::string& name : names)
    {
        name = directory + name;
    }
    Init(names);
    // The saved playlists replace the new "Default", so the jukebox holds
    // the playlists it saved, however often it is saved and loaded.
    if (!playlists.empty())
    {
        playlists_ = std::move(playlists);
        for (const Core::RefPtr<Playlist>& playlist : playlists_)
        {
            playlist->Resolve(playlist->pending_);
            playlist->pending_.clear();
        }
        currentPlaylist_ = current.Get();
    }
    repeatCounter_ = counter;
    musicPlaying_ = flags[0] != 0;
    repeat_ = flags[1] != 0;
    shuffle_ = flags[2] != 0;
    if (std::isfinite(values[0]) && values[0] >= 0.0f)
    {
        musicVolume_ = values[0];
    }
    SetFadeTime(values[1]);
    fadeInStep_ = Finite(values[2]);
    fadeOutStep_ = Finite(values[3]);
    elapsed_ = Finite(values[4]);
    // Music always resumes after a load; a stored track out of range picks
    // one as PlayMusic does.
    PlayMusic(static_cast<std::int32_t>(track));
}

} // namespace Velkor
