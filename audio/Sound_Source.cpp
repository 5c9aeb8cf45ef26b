#include "audio/Sound_Source.h"

#include "audio/Sound_AL.h"
#include "audio/Sound_Data.h"

#include <atomic>
#include <vector>

namespace
{

// Ids of sources, process-wide; the first source gets 1.
std::atomic<std::uint32_t> sourceCounter{0};

ALint GetSourceInt(ALuint source, ALenum what)
{
    ALint value = 0;
    if (!SoundAL::Framed([&] { alGetSourcei(source, what, &value); }))
    {
        return 0;
    }
    return value;
}

} // namespace

bool SoundEngine::Source::Create(std::uint8_t relative, std::uint8_t looping)
{
    if (created_)
    {
        return false;
    }
    ALuint name = 0;
    const bool made = SoundAL::Framed(
        [&]
        {
            alGenSources(1, &name);
            alSourcei(name, AL_SOURCE_RELATIVE, relative != 0 ? AL_TRUE : AL_FALSE);
        });
    if (!made)
    {
        if (name != 0)
        {
            SoundAL::Framed([&] { alDeleteSources(1, &name); });
        }
        name_ = 0;
        return false;
    }
    name_ = name;
    relative_ = relative;
    SetLooping(looping);
    id_ = ++sourceCounter;
    created_ = true;
    return true;
}

void SoundEngine::Source::Destroy()
{
    Detach();
    if (name_ != 0)
    {
        ALuint name = name_;
        SoundAL::Framed([&] { alDeleteSources(1, &name); });
        name_ = 0;
    }
    created_ = false;
}

bool SoundEngine::Source::StopAndRestart()
{
    if (!SoundAL::Framed([&] { alSourceStop(name_); }))
    {
        return false;
    }
    // Unmarked only once the stream is rewound: an owner that sees the flag
    // clear finds the source ready to play from the start.
    const bool restarted = kind_ != Streamed || Restart();
    playing_ = 0;
    return restarted;
}

bool SoundEngine::Source::Attach(SoundData* data)
{
    if (data == nullptr)
    {
        return Detach();
    }
    StopAndRestart();
    if (data_ != nullptr && !Detach())
    {
        return false;
    }
    std::vector<ALuint> buffers(data->buffers_.begin(), data->buffers_.end());
    Kind kind = Nothing;
    bool attached = false;
    if (buffers.size() == 1)
    {
        kind = Whole;
        attached = SoundAL::Framed(
            [&]
            {
                alSourcei(name_, AL_BUFFER, static_cast<ALint>(buffers[0]));
                alSourcei(name_, AL_LOOPING, looping_ != 0 ? AL_TRUE : AL_FALSE);
            });
    }
    else if (buffers.size() >= 2)
    {
        // The streaming thread loops these kinds; OpenAL looping stays off
        // until the intro has played.
        kind = buffers.size() == 2 && data->split_ != 0.0f ? IntroLoop : Streamed;
        attached = SoundAL::Framed(
            [&]
            {
                alSourcei(name_, AL_LOOPING, AL_FALSE);
                alSourceQueueBuffers(name_, static_cast<ALsizei>(buffers.size()), buffers.data());
            });
    }
    if (!attached)
    {
        return false;
    }
    kind_ = kind;
    data_ = data;
    return true;
}

bool SoundEngine::Source::Detach()
{
    StopAndRestart();
    kind_ = Nothing;
    if (!SoundAL::Framed([&] { alSourcei(name_, AL_BUFFER, 0); }))
    {
        return false;
    }
    data_ = nullptr;
    return true;
}

bool SoundEngine::Source::Restart()
{
    const bool wasPlaying = SoundAL::IsPlaying(name_);
    if (kind_ == Streamed)
    {
        if (!SoundAL::Framed([&] { alSourceStop(name_); }))
        {
            return false;
        }
        // A stopped source counts every queued buffer as processed; one that
        // never played counts none and still holds the first chunks.
        const ALint processed = data_ != nullptr ? GetSourceInt(name_, AL_BUFFERS_PROCESSED) : 0;
        if (processed > 0)
        {
            data_->Rewind();
            std::vector<ALuint> unqueued(static_cast<std::size_t>(processed));
            SoundAL::Framed([&] { alSourceUnqueueBuffers(name_, processed, unqueued.data()); });
            for (const std::uint32_t buffer : data_->buffers_)
            {
                Refill(buffer, false);
            }
        }
    }
    if (!SoundAL::Framed([&] { alSourceRewind(name_); }))
    {
        return false;
    }
    if (wasPlaying)
    {
        if (!SoundAL::Framed([&] { alSourcePlay(name_); }))
        {
            return false;
        }
        playing_ = 1;
    }
    return true;
}

bool SoundEngine::Source::Refill(std::uint32_t buffer, bool loop)
{
    std::uint32_t bytes = 0;
    data_->ReadChunk(bytes);
    if (bytes == 0 && loop)
    {
        data_->Rewind();
        data_->ReadChunk(bytes);
    }
    if (bytes == 0)
    {
        return false;
    }
    const SoundData& data = *data_;
    ALuint name = buffer;
    return SoundAL::Framed(
        [&]
        {
            alBufferData(name, static_cast<ALenum>(data.alFormat_), data.samples_.data(),
                         static_cast<ALsizei>(bytes), static_cast<ALsizei>(data.format_.sampleRate));
            alSourceQueueBuffers(name_, 1, &name);
        });
}

bool SoundEngine::Source::SetLooping(std::uint8_t looping)
{
    if (kind_ == Whole &&
        !SoundAL::Framed([&] { alSourcei(name_, AL_LOOPING, looping != 0 ? AL_TRUE : AL_FALSE); }))
    {
        return false;
    }
    looping_ = looping;
    return true;
}

bool SoundEngine::Source::SetGain(float gain)
{
    if (!SoundAL::Framed([&] { alSourcef(name_, AL_GAIN, gain); }))
    {
        return false;
    }
    gain_ = gain;
    return true;
}

bool SoundEngine::Source::SetPitch(float pitch)
{
    if (!SoundAL::Framed([&] { alSourcef(name_, AL_PITCH, pitch); }))
    {
        return false;
    }
    pitch_ = pitch;
    return true;
}

bool SoundEngine::Source::SetReferenceDistance(float distance)
{
    if (!SoundAL::Framed([&] { alSourcef(name_, AL_REFERENCE_DISTANCE, distance); }))
    {
        return false;
    }
    referenceDistance_ = distance;
    return true;
}

bool SoundEngine::Source::SetPosition(const Vector3& position)
{
    if (!SoundAL::Framed([&] { alSource3f(name_, AL_POSITION, position.x, position.y, position.z); }))
    {
        return false;
    }
    position_ = position;
    return true;
}

void SoundEngine::Source::Stream()
{
    switch (kind_)
    {
    case Whole:
        StreamWhole();
        break;
    case IntroLoop:
        StreamIntroLoop();
        break;
    case Streamed:
        StreamBuffers();
        break;
    default:
        break;
    }
}

// A sound that has played out (or cannot be asked) is stopped and unmarked.
void SoundEngine::Source::StreamWhole()
{
    if (playing_ == 0)
    {
        return;
    }
    ALint state = 0;
    if (SoundAL::GetState(name_, state) && (state == AL_PLAYING || state == AL_PAUSED))
    {
        return;
    }
    if (SoundAL::Framed([&] { alSourceStop(name_); }))
    {
        playing_ = 0;
    }
}

// Once the intro has played, only the loop buffer stays queued and OpenAL
// repeats it. Without looping the pair plays once and ends like a whole sound.
void SoundEngine::Source::StreamIntroLoop()
{
    if (playing_ == 0)
    {
        return;
    }
    if (looping_ == 0)
    {
        StreamWhole();
        return;
    }
    const ALint processed = GetSourceInt(name_, AL_BUFFERS_PROCESSED);
    if (processed == 1)
    {
        ALuint intro = 0;
        SoundAL::Framed(
            [&]
            {
                alSourceUnqueueBuffers(name_, 1, &intro);
                alSourcei(name_, AL_LOOPING, AL_TRUE);
            });
    }
    else if (processed == 2)
    {
        ALuint both[2] = {};
        ALuint loop = data_->buffers_[1];
        if (SoundAL::Framed(
                [&]
                {
                    alSourceUnqueueBuffers(name_, 2, both);
                    alSourceQueueBuffers(name_, 1, &loop);
                    alSourcei(name_, AL_LOOPING, AL_TRUE);
                    alSourcePlay(name_);
                }))
        {
            playing_ = 1;
        }
    }
}

// Refills every processed buffer in place; a source that ran dry is restarted,
// looped from the start, or, at the end of a non-looping stream, stopped and
// left rewound for the next play.
void SoundEngine::Source::StreamBuffers()
{
    if (playing_ == 0 || data_ == nullptr)
    {
        return;
    }
    const bool loop = looping_ != 0;
    const ALint processed = GetSourceInt(name_, AL_BUFFERS_PROCESSED);
    for (ALint i = 0; i < processed; ++i)
    {
        ALuint buffer = 0;
        if (!SoundAL::Framed([&] { alSourceUnqueueBuffers(name_, 1, &buffer); }))
        {
            break;
        }
        Refill(buffer, loop);
    }

    ALint state = 0;
    if (SoundAL::GetState(name_, state) && (state == AL_PLAYING || state == AL_PAUSED))
    {
        return;
    }
    if (GetSourceInt(name_, AL_BUFFERS_QUEUED) > 0)
    {
        if (SoundAL::Framed([&] { alSourcePlay(name_); }))
        {
            playing_ = 1;
        }
        return;
    }
    if (loop)
    {
        data_->Rewind();
        for (const std::uint32_t buffer : data_->buffers_)
        {
            Refill(buffer, false);
        }
        if (SoundAL::Framed([&] { alSourcePlay(name_); }))
        {
            playing_ = 1;
        }
        return;
    }
    std::vector<ALuint> buffers(data_->buffers_.begin(), data_->buffers_.end());
    SoundAL::Framed([&]
                    { alSourceQueueBuffers(name_, static_cast<ALsizei>(buffers.size()), buffers.data()); });
    StopAndRestart();
}
