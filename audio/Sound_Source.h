#pragma once

#include "audio/Sound_Engine.h"

#include <atomic>
#include <cstdint>

// One OpenAL source in the engine's managed list. The engine hands out
// pointers to these records; the record stays where it is until it is
// released or StopAll drops it.
//
// The setters run on the main thread without the engine's lock: they touch
// only this record's own values and its OpenAL source. Attach, Detach and
// Restart run under the engine's list lock (the engine calls them).
class SoundEngine::Source
{
public:
    enum Kind : std::uint32_t
    {
        Nothing = 0,   // no data attached
        Whole = 1,     // a static sound in one buffer
        IntroLoop = 2, // a static sound in two buffers: intro, then a repeated loop
        Streamed = 3,  // a ring of buffers refilled by the streaming thread
    };

    Source() = default;
    ~Source() = default;
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    // Generates the OpenAL source; false when it already exists.
    bool Create(std::uint8_t relative, std::uint8_t looping);
    // Detaches the data and deletes the OpenAL source.
    void Destroy();
    // Queues the data's buffers (null data detaches); sets the kind.
    bool Attach(SoundData* data);
    bool Detach();
    // Back to the start; a stream is rewound and its buffers refilled. A
    // source that was playing plays on from the start.
    bool Restart();

    // Only a whole static sound loops in OpenAL; the streaming thread loops
    // the other kinds by the stored flag.
    bool SetLooping(std::uint8_t looping);
    bool SetGain(float gain);
    bool SetPitch(float pitch);
    bool SetReferenceDistance(float distance);
    bool SetPosition(const Vector3& position);

    float GetGain() const { return gain_; }
    float GetPitch() const { return pitch_; }
    float GetReferenceDistance() const { return referenceDistance_; }
    const Vector3& GetPosition() const { return position_; }
    std::uint8_t GetLooping() const { return looping_.load(); }
    std::uint8_t IsRelative() const { return relative_; }
    bool IsCreated() const { return created_; }
    Kind GetKind() const { return kind_; }
    std::uint32_t GetId() const { return id_; }
    std::uint32_t GetName() const { return name_; }
    SoundData* GetSoundData() const { return data_; }

private:
    friend class SoundEngine;

    // One step of the streaming thread for this record; under the list lock.
    void Stream();
    void StreamWhole();
    void StreamIntroLoop();
    void StreamBuffers();
    // Reads the next chunk into `buffer` and queues it; false when the data
    // has nothing more (with looping, it starts again from the beginning).
    bool Refill(std::uint32_t buffer, bool loop);
    // Stops the source; on success clears the playing flag and restarts a
    // stream.
    bool StopAndRestart();

    bool created_ = false;
    Kind kind_ = Nothing;
    std::uint32_t id_ = 0;
    Vector3 position_;
    Vector3 velocity_;
    Vector3 direction_;
    float coneInner_ = 360.0f;
    float coneOuter_ = 360.0f;
    std::uint8_t relative_ = 0;
    // Read by the streaming thread; written by setters without the lock.
    std::atomic<std::uint8_t> looping_{0};
    // Polled by owners without the lock; written by the engine and the thread.
    std::atomic<std::uint8_t> playing_{0};
    float gain_ = 1.0f;
    float pitch_ = 1.0f;
    float referenceDistance_ = 0.0f;
    std::uint32_t name_ = 0;
    SoundData* data_ = nullptr;
};
