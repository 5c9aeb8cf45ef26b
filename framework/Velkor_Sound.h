#pragma once

#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_HeldSource.h"

#include <cstdint>
#include <string>

namespace Velkor
{

// A game object that plays one sound file: an effect placed in a layer,
// heard listener-relative or at its place in the world. The sound data comes
// from the game's sound engine (shared when the file is small, a stream of
// its own when it is large); a source is asked for at the first Play and
// handed back once the engine reports the sound ended, or when the object is
// destroyed or detached.
//
// Mode: 0 listener-relative (heard the same wherever the object stands);
// 1 at (x, y, z of the active listener camera's layer); 2 at (x, y, z of the
// object's own layer).
class Sound : public GameObject
{
    CORE_DECLARE_OBJECT(Sound)

public:
    static constexpr const char* ScriptTypeName = "Sound";
    // Files with fewer bytes of samples are loaded whole and shared.
    static constexpr std::uint32_t StreamThreshold = 262144;

    Sound();
    Sound(const std::string& fileName, std::uint32_t mode, float intensity, std::uint8_t looping, float split,
          std::uint8_t forceStatic);
    // Every setting and the shared data; no source (each object asks for its own).
    Sound(const Sound& other);
    Sound& operator=(const Sound&) = delete;
    ~Sound() override;

    // Loads the data (the engine's cached copy when there is one); a file
    // that does not load leaves no data and an empty file name.
    void Init(const std::string& fileName, std::uint32_t mode, float intensity, std::uint8_t looping,
              float split, std::uint8_t forceStatic);

    // Asks for a source when there is none (with `restart`, stops the one it
    // has first), applies volume, pitch and looping and starts it. False
    // without data, and false, without restarting, when already playing.
    bool Play(bool restart);
    // Calls of Play so far, whether or not they started the sound (what a
    // log or a test reads to see a sound was asked for).
    std::uint32_t GetPlayCount() const { return playCount_; }
    // A stream is left rewound.
    void Stop();
    // The source is kept while paused.
    void Pause();
    void Rewind();
    bool IsPlaying();
    // Negative values are ignored; 0 silences.
    void SetVolume(float volume);
    // The source's gain, or the stored volume without a source.
    float GetVolume();
    // Values of 0 or below are ignored.
    void SetPitch(float pitch);
    float GetPitch();
    void SetIntensity(float intensity) { intensity_ = intensity; }
    float GetIntensity() const { return intensity_; }
    void SetLooping(std::uint8_t looping);
    std::uint8_t GetLooping() const { return looping_; }
    std::uint32_t GetMode() const { return mode_; }
    float GetSplit() const { return split_; }
    std::uint8_t GetForceStatic() const { return forceStatic_; }
    const std::string& GetFileName() const { return fileName_; }
    SoundEngine::SoundData* GetSoundData() const { return data_; }
    // The source held now, or null.
    SoundEngine::Source* GetSource() { return source_.Get(); }

    // The game object's record, then the file name (without directories),
    // mode, split, force-static, volume, pitch, intensity, looping and
    // whether it plays. Read loads the file from the game directory +
    // "\Resources\Sounds\" and starts it again when it played.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;
    // The game object's sync record, then volume, pitch, intensity, looping
    // and whether it plays.
    void NetworkSyncSend(Core::File& file) override;
    void NetworkSyncReceive(Core::File& file) override;

    // The game object's request, and the source goes back to the engine.
    void Destroy() override;
    void Detach() override;
    // The game object's step (which runs Update once), then the source
    // follows: reference distance, position by mode, and release once the
    // engine no longer marks it playing.
    void UpdateEngineSide(float dt) override;
    void Update(float dt) override;

private:
    // The data while the engine still owns it.
    SoundEngine::SoundData* LiveData() const;

    SoundEngine::SoundData* data_ = nullptr;
    HeldSource source_;
    std::string fileName_;
    std::uint8_t looping_ = 0;
    float split_ = 0.0f;
    std::uint32_t mode_ = 0;
    float volume_ = 1.0f;
    float pitch_ = 1.0f;
    float intensity_ = 0.0f;
    std::uint8_t forceStatic_ = 0;
    // A copy starts from 0 (not copied).
    std::uint32_t playCount_ = 0;
};

} // namespace Velkor
