#include "audio/Sound_Vorbis.h"

#include "audio/Sound_Engine.h"

#include <atomic>
#include <cstdio>

namespace SoundVorbis
{

namespace
{

Functions table;
// Written by the engine's construction and destruction on the main thread,
// read by the streaming thread while it decodes.
std::atomic<bool> loaded{false};

size_t ReadFile(void* buffer, size_t size, size_t count, void* file)
{
    return std::fread(buffer, size, count, static_cast<std::FILE*>(file));
}

int SeekFile(void* file, ogg_int64_t offset, int whence)
{
    return fseeko(static_cast<std::FILE*>(file), static_cast<off_t>(offset), whence);
}

int CloseFile(void* file)
{
    return std::fclose(static_cast<std::FILE*>(file));
}

long TellFile(void* file)
{
    return std::ftell(static_cast<std::FILE*>(file));
}

} // namespace

const Functions* Get()
{
    return loaded.load(std::memory_order_acquire) ? &table : nullptr;
}

ov_callbacks FileCallbacks()
{
    ov_callbacks callbacks;
    callbacks.read_func = &ReadFile;
    callbacks.seek_func = &SeekFile;
    callbacks.close_func = &CloseFile;
    callbacks.tell_func = &TellFile;
    return callbacks;
}

} // namespace SoundVorbis

bool SoundEngine::LoadVorbisFunctions()
{
    using SoundVorbis::table;
    if (SoundVorbis::loaded.load())
    {
        return true;
    }
    table.clear = &ov_clear;
    table.read = &ov_read;
    table.rawSeek = &ov_raw_seek;
    table.bitrate = &ov_bitrate;
    table.pcmTotal = &ov_pcm_total;
    table.timeTotal = &ov_time_total;
    table.info = &ov_info;
    table.comment = &ov_comment;
    table.openCallbacks = &ov_open_callbacks;
    // Bitrate and time total are optional; everything else must be there.
    const bool complete = table.clear && table.read && table.rawSeek && table.pcmTotal && table.info &&
                          table.comment && table.openCallbacks;
    if (!complete)
    {
        table = SoundVorbis::Functions{};
        return false;
    }
    SoundVorbis::loaded.store(true, std::memory_order_release);
    return true;
}

void SoundEngine::ClearVorbisFunctions()
{
    SoundVorbis::loaded.store(false, std::memory_order_release);
    SoundVorbis::table = SoundVorbis::Functions{};
}
