#pragma once

#include "audio/Sound_Engine.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct OggVorbis_File;
struct vorbis_info;

// One loaded sound: a WAV or Ogg Vorbis file, its PCM format, the OpenAL
// format chosen for it and the OpenAL buffers that hold or stream it.
//
//   static, whole          1 buffer                 file closed   source kind 1
//   static, intro + loop   2 buffers, split != 0    file closed   source kind 2
//   streamed               2 or more buffers        file open     source kind 3
//
// The engine owns every record; sources share it. A streamed record's read
// position belongs to the one source that plays it.
class SoundEngine::SoundData
{
public:
    // Result codes of the data operations.
    static constexpr std::int32_t Ok = 0;
    static constexpr std::int32_t CannotOpen = -1; // no such file, or a name under 3 characters
    static constexpr std::int32_t BadFile = -2;   // extension, malformed file, read error, unsupported format
    static constexpr std::int32_t NotOpen = -13;  // neither a WAV file nor an Ogg decoder is open
    static constexpr std::int32_t NoVorbis = -16; // the Ogg Vorbis operations are not loaded

    enum Kind : std::uint32_t
    {
        Wav = 0,
        Ogg = 1,
    };

    enum FormatType : std::uint32_t
    {
        PlainPcm = 1,
        Extensible = 2,
    };

    struct Format
    {
        std::uint32_t type = PlainPcm;
        std::uint16_t tag = 0;
        std::uint16_t channels = 0;
        std::uint32_t sampleRate = 0;
        std::uint32_t byteRate = 0;
        std::uint16_t blockAlign = 0;
        std::uint16_t bitsPerSample = 0;
        std::uint16_t extraSize = 0;
        std::uint16_t validBitsPerSample = 0;
        std::uint32_t channelMask = 0;
        std::uint8_t subFormat[16] = {};
        std::uint32_t dataSize = 0;  // bytes of PCM in the whole sound
        double duration = 0.0;       // seconds
        std::uint32_t dataStart = 0; // file offset of the first PCM byte (WAV)
    };

    SoundData();
    // Deletes the OpenAL buffers, closes the file or decoder.
    ~SoundData();

    SoundData(const SoundData&) = delete;
    SoundData& operator=(const SoundData&) = delete;

    // Closes whatever was open, then opens a ".wav" or ".ogg" file (the
    // extension in any case), reads its format and chooses the OpenAL format.
    // The name is an engine path; backslashes are allowed.
    std::int32_t Open(const std::string& fileName);
    // Reads up to one chunk into the sample buffer; `bytes` gets the count,
    // 0 at the end of the sound. The caller zeroes `bytes` first.
    std::int32_t ReadChunk(std::uint32_t& bytes);
    // Back to the first sample.
    std::int32_t Rewind();
    // To `offset` bytes after the first sample (WAV) or that raw position (Ogg).
    std::int32_t Seek(std::int32_t offset);
    std::int32_t Close();
    // Chooses the OpenAL format for the open file's format.
    std::int32_t GetALFormat();

    const std::string& GetFileName() const { return fileName_; }
    double GetDuration() const { return format_.duration; }
    Kind GetKind() const { return kind_; }
    const Format& GetFormat() const { return format_; }
    std::uint32_t GetDataSize() const { return format_.dataSize; }
    std::uint32_t GetOpenALFormat() const { return alFormat_; }
    const std::vector<std::uint32_t>& GetBuffers() const { return buffers_; }
    std::uint32_t GetChunkSize() const { return chunkSize_; }
    float GetSplit() const { return split_; }
    bool IsOpen() const { return file_ != nullptr || info_ != nullptr; }
    // The sample buffer: the last chunk read (or the whole sound while a
    // static record is being built).
    const std::vector<std::uint8_t>& GetSamples() const { return samples_; }

private:
    friend class SoundEngine;
    friend class SoundEngine::Source;

    std::int32_t OpenWav(const std::string& nativeName);
    std::int32_t OpenOgg(const std::string& nativeName);
    // Decodes up to `length` bytes at `offset` of the sample buffer; the
    // count delivered.
    std::uint32_t DecodeVorbis(std::uint32_t offset, std::uint32_t length);
    // Frees the sample buffer, closes the WAV file, zeroes the format.
    void ResetFormat();
    void CloseOgg();
    // Loads the whole sound into the sample buffer (static creation).
    std::int32_t LoadWhole();
    void DeleteBuffers();

    Kind kind_ = Wav;
    Format format_;
    std::vector<std::uint8_t> samples_;
    std::FILE* file_ = nullptr;
    OggVorbis_File* ogg_ = nullptr; // decoder state, allocated once
    vorbis_info* info_ = nullptr;   // non-null exactly while an Ogg file is open
    // Set when the decoder reports a damaged stream: libvorbis must not be
    // asked again for that file (a further read or seek can divide by zero
    // inside it), so the rest of the sound is silence.
    bool oggDamaged_ = false;
    std::string fileName_;
    std::uint32_t alFormat_ = 0;
    std::vector<std::uint32_t> buffers_;
    std::uint32_t chunkSize_ = 0;
    float split_ = 0.0f;
};
