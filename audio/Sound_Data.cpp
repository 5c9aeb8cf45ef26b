#include "audio/Sound_Data.h"

#include "audio/Sound_AL.h"
#include "audio/Sound_Vorbis.h"
#include "core/Core_DiskFile.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <utility>

namespace
{

std::uint16_t Read16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t Read32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool SameId(const std::uint8_t* id, const char* name)
{
    return strncasecmp(reinterpret_cast<const char*>(id), name, 4) == 0;
}

constexpr std::uint16_t TagPcm = 1;
constexpr std::uint16_t TagExtensible = 0xFFFE;
// Bytes of a format chunk that the two layouts fill.
constexpr std::uint32_t PcmFormatBytes = 16;
constexpr std::uint32_t ExtensibleFormatBytes = 40;
constexpr std::uint32_t LargestFormatChunk = 44;

} // namespace

SoundEngine::SoundData::SoundData() = default;

SoundEngine::SoundData::~SoundData()
{
    DeleteBuffers();
    CloseOgg();
    ResetFormat();
    delete ogg_;
}

void SoundEngine::SoundData::DeleteBuffers()
{
    if (!buffers_.empty())
    {
        SoundAL::Framed([&] { alDeleteBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data()); });
    }
    buffers_.clear();
}

void SoundEngine::SoundData::ResetFormat()
{
    std::vector<std::uint8_t>().swap(samples_);
    if (file_ != nullptr)
    {
        std::fclose(file_);
        file_ = nullptr;
    }
    format_ = Format{};
}

void SoundEngine::SoundData::CloseOgg()
{
    if (info_ == nullptr)
    {
        return;
    }
    // The decoder owns the file and closes it through the close callback.
    const SoundVorbis::Functions* vorbis = SoundVorbis::Get();
    if (vorbis != nullptr)
    {
        vorbis->clear(ogg_);
    }
    else
    {
        ov_clear(ogg_);
    }
    info_ = nullptr;
}

std::int32_t SoundEngine::SoundData::Open(const std::string& fileName)
{
    CloseOgg();
    ResetFormat();
    fileName_.clear();
    alFormat_ = 0;

    if (fileName.size() < 3)
    {
        return CannotOpen;
    }
    const char* extension = fileName.c_str() + fileName.size() - 3;
    if (strncasecmp(extension, "WAV", 3) == 0)
    {
        kind_ = Wav;
    }
    else if (strncasecmp(extension, "OGG", 3) == 0)
    {
        kind_ = Ogg;
    }
    else
    {
        return BadFile;
    }

    const std::string nativeName = Core::ToNativePath(fileName);
    std::int32_t result = kind_ == Wav ? OpenWav(nativeName) : OpenOgg(nativeName);
    if (result != Ok)
    {
        return result;
    }
    result = GetALFormat();
    if (result != Ok)
    {
        Close();
        ResetFormat();
        return result;
    }
    fileName_ = fileName;
    return Ok;
}

// RIFF/WAVE: a 12-byte header, then chunks {id, u32 size, bytes, a pad byte
// after an odd size}. Every chunk must lie inside the file; the format must
// fill the fields its tag uses and give a non-zero frame size and byte rate.
std::int32_t SoundEngine::SoundData::OpenWav(const std::string& nativeName)
{
    file_ = std::fopen(nativeName.c_str(), "rb");
    if (file_ == nullptr)
    {
        return CannotOpen;
    }
    auto fail = [this]
    {
        ResetFormat();
        return BadFile;
    };

    if (fseeko(file_, 0, SEEK_END) != 0)
    {
        return fail();
    }
    const off_t fileSize = ftello(file_);
    if (fileSize < 0 || fseeko(file_, 0, SEEK_SET) != 0)
    {
        return fail();
    }

    std::uint8_t header[12];
    if (std::fread(header, 1, sizeof header, file_) != sizeof header || !SameId(header, "RIFF") ||
        !SameId(header + 8, "WAVE"))
    {
        return fail();
    }

    bool formatFound = false;
    bool dataFound = false;
    std::uint8_t chunk[8];
    while (std::fread(chunk, 1, sizeof chunk, file_) == sizeof chunk)
    {
        const std::uint32_t size = Read32(chunk + 4);
        const off_t position = ftello(file_);
        if (position < 0 ||
            static_cast<std::uint64_t>(size) > static_cast<std::uint64_t>(fileSize - position))
        {
            return fail();
        }

        if (SameId(chunk, "fmt ") && size <= LargestFormatChunk)
        {
            std::uint8_t bytes[LargestFormatChunk] = {};
            if (size < 2 || std::fread(bytes, 1, size, file_) != size)
            {
                return fail();
            }
            const std::uint16_t tag = Read16(bytes);
            if (tag == TagPcm || tag == TagExtensible)
            {
                if (size < (tag == TagPcm ? PcmFormatBytes : ExtensibleFormatBytes))
                {
                    return fail();
                }
                format_.type = tag == TagPcm ? PlainPcm : Extensible;
                format_.tag = tag;
                format_.channels = Read16(bytes + 2);
                format_.sampleRate = Read32(bytes + 4);
                format_.byteRate = Read32(bytes + 8);
                format_.blockAlign = Read16(bytes + 12);
                format_.bitsPerSample = Read16(bytes + 14);
                if (tag == TagExtensible)
                {
                    format_.extraSize = Read16(bytes + 16);
                    format_.validBitsPerSample = Read16(bytes + 18);
                    format_.channelMask = Read32(bytes + 20);
                    std::memcpy(format_.subFormat, bytes + 24, sizeof format_.subFormat);
                }
            }
            // Another tag stores nothing; the format choice refuses it.
            formatFound = true;
        }
        else
        {
            if (SameId(chunk, "data"))
            {
                format_.dataSize = size;
                format_.dataStart = static_cast<std::uint32_t>(position);
                dataFound = true;
            }
            if (fseeko(file_, size, SEEK_CUR) != 0)
            {
                return fail();
            }
        }
        if (size % 2 != 0 && fseeko(file_, 1, SEEK_CUR) != 0)
        {
            return fail();
        }
    }

    if (!formatFound || !dataFound || format_.blockAlign == 0 || format_.byteRate == 0)
    {
        return fail();
    }
    // A trailing partial frame is no sound; OpenAL would refuse the buffer.
    format_.dataSize -= format_.dataSize % format_.blockAlign;
    format_.duration = static_cast<double>(format_.dataSize) / static_cast<double>(format_.byteRate);
    std::clearerr(file_);
    if (fseeko(file_, format_.dataStart, SEEK_SET) != 0)
    {
        return fail();
    }
    return Ok;
}

std::int32_t SoundEngine::SoundData::OpenOgg(const std::string& nativeName)
{
    const SoundVorbis::Functions* vorbis = SoundVorbis::Get();
    if (vorbis == nullptr)
    {
        return NoVorbis;
    }
    std::FILE* file = std::fopen(nativeName.c_str(), "rb");
    if (file == nullptr)
    {
        return CannotOpen;
    }
    if (ogg_ == nullptr)
    {
        ogg_ = new OggVorbis_File{};
    }
    if (vorbis->openCallbacks(file, ogg_, nullptr, 0, SoundVorbis::FileCallbacks()) < 0)
    {
        // A failed open leaves the file to its caller.
        std::fclose(file);
        return BadFile;
    }
    vorbis_info* info = vorbis->info(ogg_, -1);
    const ogg_int64_t frames = vorbis->pcmTotal(ogg_, -1);
    const std::uint64_t byteRate =
        info != nullptr && info->channels > 0 && info->rate > 0 ? 2ull * info->channels * info->rate : 0;
    if (byteRate == 0 || byteRate > UINT32_MAX || frames < 0)
    {
        vorbis->clear(ogg_);
        return BadFile;
    }
    info_ = info;
    oggDamaged_ = false;
    format_.type = PlainPcm;
    format_.channels = static_cast<std::uint16_t>(info->channels);
    format_.sampleRate = static_cast<std::uint32_t>(info->rate);
    format_.blockAlign = static_cast<std::uint16_t>(2 * info->channels);
    format_.bitsPerSample = 16;
    format_.byteRate = static_cast<std::uint32_t>(byteRate);
    format_.duration = vorbis->timeTotal != nullptr
                           ? vorbis->timeTotal(ogg_, -1)
                           : static_cast<double>(frames) / static_cast<double>(info->rate);
    format_.dataSize = static_cast<std::uint32_t>(static_cast<std::uint64_t>(frames) * format_.blockAlign);
    format_.dataStart = 0;
    vorbis->rawSeek(ogg_, 0);
    return Ok;
}

std::uint32_t SoundEngine::SoundData::DecodeVorbis(std::uint32_t offset, std::uint32_t length)
{
    const SoundVorbis::Functions* vorbis = SoundVorbis::Get();
    if (vorbis == nullptr || info_ == nullptr || oggDamaged_ || offset > samples_.size())
    {
        return 0;
    }
    length = std::min<std::uint32_t>(length, static_cast<std::uint32_t>(samples_.size() - offset));
    char* target = reinterpret_cast<char*>(samples_.data() + offset);
    std::uint32_t total = 0;
    while (total < length)
    {
        int section = 0;
        const long got =
            vorbis->read(ogg_, target + total, static_cast<int>(length - total), 0, 2, 1, &section);
        if (got <= 0)
        {
            // A hole (lost or damaged page) is skipped by the next read;
            // any other error leaves the decoder unusable.
            oggDamaged_ = got < 0 && got != OV_HOLE;
            break;
        }
        total += static_cast<std::uint32_t>(got);
    }
    // Vorbis orders 5.1 as FL, C, FR, RL, RR, LFE; OpenAL as FL, FR, C, LFE, RL, RR.
    if (format_.channels == 6)
    {
        std::int16_t* frame = reinterpret_cast<std::int16_t*>(target);
        for (std::uint32_t i = 0; i < total / 12; ++i, frame += 6)
        {
            const std::int16_t old[6] = {frame[0], frame[1], frame[2], frame[3], frame[4], frame[5]};
            frame[1] = old[2];
            frame[2] = old[1];
            frame[3] = old[5];
            frame[4] = old[3];
            frame[5] = old[4];
        }
    }
    return total;
}

std::int32_t SoundEngine::SoundData::ReadChunk(std::uint32_t& bytes)
{
    if (kind_ == Ogg)
    {
        if (info_ == nullptr)
        {
            return NotOpen;
        }
        bytes = DecodeVorbis(0, chunkSize_);
        return Ok;
    }
    if (file_ == nullptr)
    {
        return NotOpen;
    }
    // What is left of the data from the current position; never below 0.
    const off_t position = ftello(file_);
    const std::uint64_t end = static_cast<std::uint64_t>(format_.dataStart) + format_.dataSize;
    const std::uint64_t left = position >= 0 && static_cast<std::uint64_t>(position) < end
                                   ? end - static_cast<std::uint64_t>(position)
                                   : 0;
    const std::uint64_t length = std::min<std::uint64_t>({chunkSize_, left, samples_.size()});
    bytes =
        static_cast<std::uint32_t>(std::fread(samples_.data(), 1, static_cast<std::size_t>(length), file_));
    return Ok;
}

std::int32_t SoundEngine::SoundData::Seek(std::int32_t offset)
{
    if (offset < 0)
    {
        return BadFile;
    }
    if (kind_ == Ogg)
    {
        if (info_ == nullptr)
        {
            return NotOpen;
        }
        const SoundVorbis::Functions* vorbis = SoundVorbis::Get();
        if (vorbis == nullptr)
        {
            return NoVorbis;
        }
        if (oggDamaged_)
        {
            return BadFile;
        }
        return vorbis->rawSeek(ogg_, offset) == 0 ? Ok : BadFile;
    }
    if (file_ == nullptr)
    {
        return NotOpen;
    }
    std::clearerr(file_);
    return fseeko(file_, static_cast<off_t>(format_.dataStart) + offset, SEEK_SET) == 0 ? Ok : BadFile;
}

std::int32_t SoundEngine::SoundData::Rewind()
{
    return Seek(0);
}

std::int32_t SoundEngine::SoundData::Close()
{
    if (file_ != nullptr)
    {
        std::fclose(file_);
        file_ = nullptr;
    }
    CloseOgg();
    return Ok;
}

std::int32_t SoundEngine::SoundData::GetALFormat()
{
    if (!IsOpen())
    {
        return NotOpen;
    }
    const Format& f = format_;
    const char* name = nullptr;
    if (kind_ == Ogg)
    {
        switch (f.channels)
        {
        case 1:
            name = "AL_FORMAT_MONO16";
            break;
        case 2:
            name = "AL_FORMAT_STEREO16";
            break;
        case 4:
            name = "AL_FORMAT_QUAD16";
            break;
        case 6:
            name = "AL_FORMAT_51CHN16";
            break;
        default:
            break;
        }
    }
    // Samples are 8 or 16 bits; anything wider would be read as noise.
    else if (f.bitsPerSample == 8 || f.bitsPerSample == 16)
    {
        const bool eight = f.bitsPerSample == 8;
        const bool sixteen = !eight;
        if (f.type == PlainPcm)
        {
            if (f.channels == 1)
            {
                name = eight ? "AL_FORMAT_MONO8" : "AL_FORMAT_MONO16";
            }
            else if (f.channels == 2)
            {
                name = eight ? "AL_FORMAT_STEREO8" : "AL_FORMAT_STEREO16";
            }
            else if (f.channels == 4 && sixteen)
            {
                name = "AL_FORMAT_QUAD16";
            }
        }
        else if (f.type == Extensible)
        {
            const std::uint32_t mask = f.channelMask;
            if (f.channels == 1 && mask == 4)
            {
                name = eight ? "AL_FORMAT_MONO8" : "AL_FORMAT_MONO16";
            }
            else if (f.channels == 2 && mask == 3)
            {
                name = eight ? "AL_FORMAT_STEREO8" : "AL_FORMAT_STEREO16";
            }
            else if (sixteen)
            {
                if (f.channels == 2 && mask == 48)
                {
                    name = "AL_FORMAT_REAR16";
                }
                else if (f.channels == 4 && mask == 51)
                {
                    name = "AL_FORMAT_QUAD16";
                }
                else if (f.channels == 6 && mask == 63)
                {
                    name = "AL_FORMAT_51CHN16";
                }
                else if (f.channels == 7 && mask == 319)
                {
                    name = "AL_FORMAT_61CHN16";
                }
                else if (f.channels == 8 && mask == 1599)
                {
                    name = "AL_FORMAT_71CHN16";
                }
            }
        }
    }
    if (name == nullptr)
    {
        return BadFile;
    }
    alFormat_ = static_cast<std::uint32_t>(alGetEnumValue(name));
    return Ok;
}

std::int32_t SoundEngine::SoundData::LoadWhole()
{
    if (kind_ == Wav)
    {
        samples_.resize(format_.dataSize);
        if (std::fread(samples_.data(), 1, samples_.size(), file_) != samples_.size())
        {
            ResetFormat();
            return BadFile;
        }
    }
    else
    {
        // A piece at a time until one comes back short: neither the header's
        // length nor its rate is trusted for the allocation. A piece is at
        // most one second and at most 64 KiB, in whole frames.
        const std::uint32_t block = format_.blockAlign;
        std::uint32_t piece = std::min<std::uint32_t>(format_.byteRate, 65536);
        piece = std::max(piece - piece % block, block);
        std::uint32_t total = 0;
        while (true)
        {
            samples_.resize(static_cast<std::size_t>(total) + piece);
            const std::uint32_t got = DecodeVorbis(total, piece);
            total += got;
            if (got < piece)
            {
                break;
            }
        }
        samples_.resize(total);
        format_.dataSize = total;
    }
    Close();
    return Ok;
}
