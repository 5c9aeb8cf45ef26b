#pragma once

#include "math/Math_Vector3.h"
#include "pal/PAL_ThreadManager.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

// The one audio engine of the program: the OpenAL device and context, every
// source the program plays through (records in one managed list, so a
// record's address stays valid until it is removed), every loaded sound, the
// listener, and the streaming thread that keeps multi-buffer sources fed.
//
// Every OpenAL call is framed by alGetError before and after; an error makes
// the operation answer false (or null) and leaves the stored value as it was.
//
// Callers hold sources and sound data as plain pointers. A source is given
// back with ReleaseSource; StopAll drops every source and every sound, after
// which no pointer handed out before is valid.
class SoundEngine
{
public:
    class Source;
    class SoundData;

    using Vector3 = Math::Vector3;

    // Sounds with fewer bytes of samples are loaded whole; larger ones stream.
    static constexpr std::uint32_t StreamThreshold = 262144;
    // Distance model indices 0 to 6 select an OpenAL model; larger ones are
    // only stored.
    static constexpr std::uint32_t DistanceModelCount = 7;

    // Lists the output devices and the default one; opens nothing.
    SoundEngine();
    // Shuts down, then releases every source and sound.
    ~SoundEngine();

    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    // Opens device `device` (the default one when out of range), creates the
    // context and starts the streaming thread, which wakes every `waitMs`
    // milliseconds. A failure undoes every step already taken, so the engine
    // is as it was and a later call may succeed. False when already running.
    bool Initialize(std::int32_t device, std::uint32_t waitMs);
    // Stops the streaming thread (waiting for its end), closes the context
    // and the device. Sources and sounds stay listed until StopAll.
    void Shutdown();
    bool IsInitialized() const { return initialized_; }

    const std::vector<std::string>& GetDeviceNames() const { return deviceNames_; }
    std::int32_t GetDefaultDevice() const { return defaultDevice_; }
    const std::string& GetVendor() const { return vendor_; }
    const std::string& GetVersion() const { return version_; }
    const std::string& GetRenderer() const { return renderer_; }
    float GetSpeedOfSound() const { return speedOfSound_; }
    std::uint32_t GetWaitPeriod() const { return waitMs_; }

    // Listener and global state.
    bool SetListenerPosition(const Vector3& position);
    const Vector3& GetListenerPosition() const { return listenerPosition_; }
    bool SetMasterVolume(float gain);
    float GetMasterVolume() const { return masterGain_; }
    bool SetDistanceModel(std::uint32_t index);
    std::uint32_t GetDistanceModel() const { return distanceModel_; }

    // Sources. Null data gives null; on any failure nothing stays listed.
    Source* CreateSource(SoundData* data, std::uint8_t relative, std::uint8_t looping);
    // False for a record that is not in the managed list (null included).
    bool ReleaseSource(Source* source);
    // False when the source is already playing: it is not restarted.
    bool Play(Source* source);
    // A stream is left rewound and refilled, ready to play from its start.
    bool Stop(Source* source);
    // Keeps the playing flag: a paused sound is neither released by its
    // owner nor stopped by the streaming thread.
    bool Pause(Source* source);
    bool Rewind(Source* source);
    // True only when OpenAL reports the source playing.
    bool IsPlaying(const Source* source) const;
    // The flag the engine and the streaming thread keep: set by Play,
    // cleared when the sound is stopped or has played out.
    bool IsMarkedPlaying(const Source* source) const;
    // Stops and drops every source, then every sound and the static cache.
    void StopAll();
    std::size_t GetSourceCount() const { return sources_.size(); }
    // Whether the managed list still holds this record with this id. An owner
    // keeps the id with its pointer and asks before touching the record: the
    // record it was given may have gone with StopAll, and a later record may
    // sit at the same address.
    bool HasSource(const Source* source, std::uint32_t id) const;
    // Whether this sound-data record is still the engine's (StopAll frees
    // every record).
    bool HasSoundData(const SoundData* data) const;
    // The listener-relative source made by Initialize; it goes with StopAll.
    Source* GetInitialSource() const { return initialSource_; }

    // Sound data. Below `sizeThreshold` bytes of samples the sound is loaded
    // whole (and cached); otherwise a new stream of two half-second buffers.
    SoundData* LoadSound(const std::string& fileName, std::uint32_t sizeThreshold);
    // The whole sound in one buffer (split 0) or two: the first `split` of
    // the sound (at most all of it) as an intro, the rest as a loop.
    SoundData* CreateStatic(const std::string& fileName, float split);
    // A ring of `bufferCount` (at least 2) buffers of `seconds` each,
    // refilled from the open file by the streaming thread.
    SoundData* CreateStream(const std::string& fileName, float seconds, std::uint32_t bufferCount);
    // The cached static sound of exactly this file name and split, or null.
    SoundData* FindCachedSound(const std::string& fileName, float split) const;
    void ReleaseAllSoundData();
    std::size_t GetSoundDataCount() const { return soundData_.size(); }
    std::size_t GetCacheSize() const { return cache_.size(); }

    // The process-wide table of Ogg Vorbis operations; Ogg files fail with
    // -16 while it is not loaded. The constructor loads it, the destructor
    // clears it.
    static bool LoadVorbisFunctions();
    static void ClearVorbisFunctions();

private:
    friend class SoundEngineTestAccess;

    struct CacheEntry
    {
        std::string fileName;
        float split = 0.0f;
        SoundData* data = nullptr;
    };

    static void StreamThread(PAL::Thread* thread);
    void StreamPass();
    void SignalStreamEnd();

    // Stops the source, and for a stream restarts it; under the list lock.
    bool StopLocked(Source* source);
    // Stops, detaches and deletes one record's source and frees its node.
    void EraseSource(std::list<Source>::iterator it);
    // Undoes a successful or partial Initialize, step by step in reverse.
    void TearDown();
    bool StartStreamThread();
    void StopStreamThread();

    bool initialized_ = false;
    PAL::ThreadManager threads_;
    PAL::Thread* streamThread_ = nullptr;
    pthread_mutex_t* listMutex_ = nullptr;
    pthread_mutex_t* shutdownMutex_ = nullptr;
    pthread_cond_t* shutdownCondition_ = nullptr;
    // Set by the streaming thread, under the shutdown mutex, as its last act.
    bool streamFinished_ = false;

    std::vector<std::string> deviceNames_;
    std::int32_t defaultDevice_ = 0;
    void* device_ = nullptr;  // ALCdevice*
    void* context_ = nullptr; // ALCcontext*
    std::string vendor_;
    std::string version_;
    std::string renderer_;

    std::vector<std::unique_ptr<SoundData>> soundData_;
    std::vector<CacheEntry> cache_;

    Vector3 listenerPosition_;
    float masterGain_ = 1.0f;
    float speedOfSound_ = 0.0f;
    std::uint32_t distanceModel_ = 2;
    Source* initialSource_ = nullptr;
    std::list<Source> sources_;
    std::uint32_t waitMs_ = 1;
};
