#pragma once

// Internal to the audio module: the process-wide table of the vorbisfile
// operations the engine uses, and the stdio callbacks handed to the decoder.

#include <vorbis/vorbisfile.h>

namespace SoundVorbis
{

struct Functions
{
    int (*clear)(OggVorbis_File*) = nullptr;
    long (*read)(OggVorbis_File*, char*, int, int, int, int, int*) = nullptr;
    int (*rawSeek)(OggVorbis_File*, ogg_int64_t) = nullptr;
    long (*bitrate)(OggVorbis_File*, int) = nullptr;
    ogg_int64_t (*pcmTotal)(OggVorbis_File*, int) = nullptr;
    double (*timeTotal)(OggVorbis_File*, int) = nullptr;
    vorbis_info* (*info)(OggVorbis_File*, int) = nullptr;
    vorbis_comment* (*comment)(OggVorbis_File*, int) = nullptr;
    int (*openCallbacks)(void*, OggVorbis_File*, const char*, long, ov_callbacks) = nullptr;
};

// The table while it is loaded, else null.
const Functions* Get();
// The file callbacks over a std::FILE*: read, seek, close, tell.
ov_callbacks FileCallbacks();

} // namespace SoundVorbis
