#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "framework/Velkor_HeldSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{

class JukeBox;

// A named list of tracks of one jukebox's music.
class Playlist : public Core::Object
{
    CORE_DECLARE_OBJECT(Playlist)

public:
    struct Track
    {
        std::string fileName;
        SoundEngine::SoundData* data = nullptr; // the owner's music record
        std::int32_t repeat = 0;                // further plays before moving on
        std::uint8_t played = 0;
    };

    Playlist() = default;
    Playlist(const std::string& name, JukeBox* owner) : name_(name), owner_(owner) {}

    const std::string& GetName() const { return name_; }
    JukeBox* GetOwner() const { return owner_; }
    std::vector<Track>& GetTracks() { return tracks_; }
    const std::vector<Track>& GetTracks() const { return tracks_; }
    // A negative repeat count is 0.
    void AddTrack(const std::string& fileName, SoundEngine::SoundData* data, std::int32_t repeat);
    // True when every track is played, also for no tracks.
    bool AllPlayed() const;
    void ClearPlayed();

    // Name, owner (as an object), track count, each track's file name and
    // repeat count.
    void Write(Core::File& file) const override;
    // A track is kept only when the owner has music of that name; names
    // match by their part from the last "\resources" or "\Resources", so a
    // save moved with its installation keeps its tracks. A failed read
    // changes nothing.
    void Read(Core::File& file) override;

private:
    friend class JukeBox;

    struct StoredTrack
    {
        std::string fileName;
        std::int32_t repeat = 0;
    };
    // Keeps the stored tracks whose music the owner holds.
    void Resolve(const std::vector<StoredTrack>& stored);

    std::vector<Track> tracks_;
    std::string name_;
    JukeBox* owner_ = nullptr;
    // Tracks read while the owner's own record is still being read: the
    // owner resolves them against the music it loads.
    std::vector<StoredTrack> pending_;
};

// A level's music: music files loaded once (large ones as streams), arranged
// in playlists, played one track at a time with per-track repeat counts,
// playlist-wide repeat and shuffle, and cross-fades between tracks.
//
// Shuffle draws come from the engine's generator (one draw per attempt,
// modulo the track count). Sources and music records belong to the sound
// engine; the jukebox touches them only while the engine still has them.
class JukeBox : public Core::Object
{
    CORE_DECLARE_OBJECT(JukeBox)

public:
    static constexpr const char* ScriptTypeName = "JukeBox";
    static constexpr std::uint32_t StreamThreshold = 262144;

    JukeBox() = default;
    explicit JukeBox(const std::vector<std::string>& fileNames);
    JukeBox(const JukeBox&) = delete;
    JukeBox& operator=(const JukeBox&) = delete;
    ~JukeBox() override;

    // Loads the music (names that do not load are left out) and makes a new
    // "Default" playlist of it current; the settings start over.
    void Init(const std::vector<std::string>& fileNames);

    // --- Playlists ------------------------------------------------------------
    // The new playlist becomes current when there is none.
    Playlist* AddPlaylist(const std::string& name);
    Playlist* FindPlaylist(const std::string& name) const;
    // Stops the music and makes the named playlist current; false (nothing
    // changes) for a name no playlist has.
    bool SetCurrentPlaylist(const std::string& name);
    Playlist* GetCurrentPlaylist() const { return currentPlaylist_; }
    const std::vector<Core::RefPtr<Playlist>>& GetPlaylists() const { return playlists_; }
    const std::vector<SoundEngine::SoundData*>& GetMusicData() const { return musicData_; }
    // The file name each music record was loaded from, in the same order.
    const std::vector<std::string>& GetMusicNames() const { return musicNames_; }

    // --- Playing --------------------------------------------------------------
    // Plays track `index` of the current playlist; out of range, a random
    // unplayed one with shuffle and track 0 without. The track playing now
    // fades out (or stops at once when it is the same music).
    bool PlayMusic(std::int32_t index);
    void StopMusic();
    // Track end, repeats, cross-fade, next track, fade in, fade out.
    void Update(float dt);
    // PlayMusic of the next or previous track, when there is one.
    void NextTrack();
    void PreviousTrack();
    void PauseMusic();
    void RewindMusic();
    // Whether the current stream is playing now.
    bool IsPlaying();

    // --- Settings -------------------------------------------------------------
    // Only with a current stream: the volume it fades to over `time` seconds
    // (at once for a time of 0 or one that is not finite). NaN is ignored.
    void SetMusicVolume(float volume, float time);
    // The current stream's gain, 0 without one.
    float GetMusicVolume();
    float GetTargetVolume() const { return musicVolume_; }
    void SetRepeat(bool repeat) { repeat_ = repeat; }
    bool GetRepeat() const { return repeat_; }
    void SetShuffle(bool shuffle) { shuffle_ = shuffle; }
    bool GetShuffle() const { return shuffle_; }
    // Below 0, or not a number, gives 0.
    void SetFadeTime(float seconds);
    float GetFadeTime() const { return fadeTime_; }
    std::int32_t GetCurrentTrack() const { return currentTrack_; }
    std::int32_t GetRepeatCounter() const { return repeatCounter_; }
    bool IsMusicPlaying() const { return musicPlaying_; }
    float GetElapsed() const { return elapsed_; }
    SoundEngine::Source* GetCurrentStream() { return currentStream_.Get(); }
    SoundEngine::Source* GetFadingStream() { return fadingStream_.Get(); }

    // Written as an object (its playlists name it as their owner).
    // Music names (from "\Resources" on), playlists, current playlist and
    // the play state. Load loads the music below this installation's
    // directory and resumes playing; a short or damaged record fails the
    // archive and leaves the jukebox as it was.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

private:
    // A shuffled track: drawn until one is unplayed (one must be).
    std::int32_t DrawUnplayed() const;
    // The fading stream becomes the current one, faded out over `seconds`
    // (given back at once when that is not above 0).
    void FadeOutCurrent(float seconds);
    // Starts `track` on a new stream from gain 0 toward the music volume;
    // false when it does not start.
    bool StartTrack(std::int32_t track);
    // Step 3 of Update: the track after the current one.
    void NextInPlaylist();
    void FadeIn(float dt);
    void FadeOut(float dt);
    // The track's music while the engine still owns it.
    static SoundEngine::SoundData* LiveTrackData(const Playlist::Track& track);

    std::vector<SoundEngine::SoundData*> musicData_;
    // Kept beside the records: a record the engine has freed is never read.
    std::vector<std::string> musicNames_;
    std::vector<Core::RefPtr<Playlist>> playlists_;
    Playlist* currentPlaylist_ = nullptr;
    std::int32_t currentTrack_ = -1;
    std::int32_t repeatCounter_ = 0;
    HeldSource currentStream_;
    HeldSource fadingStream_;
    bool musicPlaying_ = false;
    bool repeat_ = false;
    bool shuffle_ = false;
    float musicVolume_ = 1.0f;
    float fadeTime_ = 0.0f;
    float fadeInStep_ = 0.0f;
    float fadeOutStep_ = 0.0f;
    float elapsed_ = 0.0f;
};

// The part of a music path from its last "\resources" or, without one, its
// last "\Resources"; empty when neither occurs.
std::string MusicResourceName(const std::string& path);

} // namespace Velkor
