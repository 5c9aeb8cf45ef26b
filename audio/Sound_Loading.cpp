// The engine's sound data: loading whole or streamed, the static cache, and
// releasing every record.

#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"
#include "audio/Sound_Source.h"

#include "audio/Sound_AL.h"
#include "core/Core_ResourceReport.h"

#include <algorithm>

namespace
{

bool GenerateBuffers(std::vector<std::uint32_t>& buffers, std::uint32_t count)
{
    std::vector<ALuint> names(count, 0);
    if (!SoundAL::Framed([&] { alGenBuffers(static_cast<ALsizei>(count), names.data()); }))
    {
        return false;
    }
    buffers.assign(names.begin(), names.end());
    return true;
}

bool FillBuffer(std::uint32_t buffer, const SoundEngine::SoundData& data, const std::uint8_t* bytes,
                std::uint32_t count)
{
    return SoundAL::Framed(
        [&]
        {
            alBufferData(buffer, static_cast<ALenum>(data.GetOpenALFormat()), bytes,
                         static_cast<ALsizei>(count), static_cast<ALsizei>(data.GetFormat().sampleRate));
        });
}

// Tells the person running the program that a sound file will not be heard
// and why; `result` is the failed open's or read's code.
void ReportUnplayable(const std::string& fileName, std::int32_t result)
{
    std::string problem;
    if (result == SoundEngine::SoundData::BadFile)
    {
        problem = "it is no WAV or Ogg Vorbis sound that can be played";
    }
    else if (result == SoundEngine::SoundData::NoVorbis)
    {
        problem = "the Ogg Vorbis library could not be loaded";
    }
    Core::ReportUnreadableResource(fileName, problem, "the sound stays silent");
}

} // namespace

SoundEngine::SoundData* SoundEngine::LoadSound(const std::string& fileName, std::uint32_t sizeThreshold)
{
    std::uint32_t dataSize = 0;
    {
        SoundData probe;
        const std::int32_t opened = probe.Open(fileName);
        if (opened != SoundData::Ok)
        {
            ReportUnplayable(fileName, opened);
            return nullptr;
        }
        dataSize = probe.GetDataSize();
    }
    return dataSize < sizeThreshold ? CreateStatic(fileName, 0.0f) : CreateStream(fileName, 0.5f, 2);
}

SoundEngine::SoundData* SoundEngine::CreateStatic(const std::string& fileName, float split)
{
    auto data = std::make_unique<SoundData>();
    std::int32_t result = data->Open(fileName);
    if (result == SoundData::Ok)
    {
        result = data->LoadWhole();
    }
    if (result != SoundData::Ok)
    {
        ReportUnplayable(fileName, result);
        return nullptr;
    }
    // A split that is not above 0 (negative or NaN included) keeps the sound
    // in one buffer; one above 1 puts every whole frame in the intro.
    const float effective = split > 0.0f ? std::min(split, 1.0f) : 0.0f;
    const std::uint32_t size = data->GetDataSize();
    const std::uint8_t* samples = data->samples_.data();
    if (effective == 0.0f)
    {
        if (!GenerateBuffers(data->buffers_, 1) || !FillBuffer(data->buffers_[0], *data, samples, size))
        {
            return nullptr;
        }
    }
    else
    {
        std::uint32_t intro = static_cast<std::uint32_t>(static_cast<double>(size) * effective);
        intro -= intro % data->format_.blockAlign;
        if (!GenerateBuffers(data->buffers_, 2) || !FillBuffer(data->buffers_[0], *data, samples, intro) ||
            !FillBuffer(data->buffers_[1], *data, samples + intro, size - intro))
        {
            return nullptr;
        }
    }
    data->split_ = effective;
    std::vector<std::uint8_t>().swap(data->samples_);
    SoundData* record = data.get();
    soundData_.push_back(std::move(data));
    cache_.push_back({fileName, split, record});
    return record;
}

SoundEngine::SoundData* SoundEngine::CreateStream(const std::string& fileName, float seconds,
                                                  std::uint32_t bufferCount)
{
    auto data = std::make_unique<SoundData>();
    if (const std::int32_t opened = data->Open(fileName); opened != SoundData::Ok)
    {
        ReportUnplayable(fileName, opened);
        return nullptr;
    }
    if (!GenerateBuffers(data->buffers_, std::max<std::uint32_t>(bufferCount, 2)))
    {
        return nullptr;
    }
    // Whole frames, at least one, and no more than the sound holds.
    const SoundData::Format& format = data->format_;
    const double wanted = seconds > 0.0f ? static_cast<double>(format.byteRate) * seconds : 0.0;
    std::uint32_t chunk = static_cast<std::uint32_t>(std::min(wanted, static_cast<double>(format.dataSize)));
    chunk -= chunk % format.blockAlign;
    chunk = std::max<std::uint32_t>(chunk, format.blockAlign);
    data->chunkSize_ = chunk;
    data->samples_.resize(chunk);
    for (const std::uint32_t buffer : data->buffers_)
    {
        std::uint32_t bytes = 0;
        data->ReadChunk(bytes);
        if (!FillBuffer(buffer, *data, data->samples_.data(), bytes))
        {
            return nullptr;
        }
    }
    SoundData* record = data.get();
    soundData_.push_back(std::move(data));
    return record;
}

SoundEngine::SoundData* SoundEngine::FindCachedSound(const std::string& fileName, float split) const
{
    for (const CacheEntry& entry : cache_)
    {
        if (entry.fileName == fileName && entry.split == split)
        {
            return entry.data;
        }
    }
    return nullptr;
}

// Sources still attached to a record are detached first, so nothing the
// streaming thread reaches points at a deleted record.
void SoundEngine::ReleaseAllSoundData()
{
    const bool locked = threads_.LockMutex(listMutex_);
    for (Source& source : sources_)
    {
        if (source.data_ != nullptr)
        {
            source.Detach();
            source.data_ = nullptr;
        }
    }
    if (locked)
    {
        threads_.UnlockMutex(listMutex_);
    }
    soundData_.clear();
    cache_.clear();
}
