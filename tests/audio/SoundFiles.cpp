#include "SoundFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace SoundTest
{

void Append16(Bytes& bytes, std::uint16_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Append32(Bytes& bytes, std::uint32_t value)
{
    Append16(bytes, static_cast<std::uint16_t>(value));
    Append16(bytes, static_cast<std::uint16_t>(value >> 16));
}

Bytes ChunkWithSize(const char* id, std::uint32_t size, const Bytes& body)
{
    Bytes bytes(id, id + 4);
    Append32(bytes, size);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

Bytes Chunk(const char* id, const Bytes& body, bool pad)
{
    Bytes bytes = ChunkWithSize(id, static_cast<std::uint32_t>(body.size()), body);
    if (pad && body.size() % 2 != 0)
    {
        bytes.push_back(0);
    }
    return bytes;
}

Bytes FmtPcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    Bytes bytes;
    Append16(bytes, 1);
    Append16(bytes, channels);
    Append32(bytes, rate);
    Append32(bytes, rate * blockAlign);
    Append16(bytes, blockAlign);
    Append16(bytes, bits);
    return bytes;
}

Bytes FmtExtensible(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint32_t mask)
{
    Bytes bytes = FmtPcm(channels, rate, bits);
    bytes[0] = 0xFE;
    bytes[1] = 0xFF;
    Append16(bytes, 22);
    Append16(bytes, bits);
    Append32(bytes, mask);
    static const std::uint8_t pcmGuid[16] = {1,    0, 0, 0,    0, 0,    0x10, 0,
                                             0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    bytes.insert(bytes.end(), pcmGuid, pcmGuid + 16);
    return bytes;
}

Bytes Riff(const std::vector<Bytes>& chunks)
{
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks)
    {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    Bytes bytes = {'R', 'I', 'F', 'F'};
    Append32(bytes, static_cast<std::uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

Bytes RampFrames16(std::uint32_t frames, std::uint16_t channels)
{
    Bytes bytes;
    bytes.reserve(static_cast<std::size_t>(frames) * channels * 2);
    for (std::uint32_t frame = 0; frame < frames; ++frame)
    {
        for (std::uint16_t c = 0; c < channels; ++c)
        {
            Append16(bytes, static_cast<std::uint16_t>(frame));
        }
    }
    return bytes;
}

namespace
{

// Made on first use, removed with everything in it when the program ends.
struct TemporaryDirectory
{
    TemporaryDirectory()
    {
        char pattern[] = "/tmp/audio_test_XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made == nullptr)
        {
            throw std::runtime_error("cannot make a temporary directory");
        }
        path = made;
    }
    ~TemporaryDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

} // namespace

const std::string& Directory()
{
    static const TemporaryDirectory directory;
    return directory.path;
}

std::string WriteFile(const std::string& name, const Bytes& bytes)
{
    const std::string path = Directory() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        throw std::runtime_error("cannot write " + path);
    }
    if (!bytes.empty())
    {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    }
    std::fclose(file);
    return path;
}

std::string MakeWav(const std::string& name, std::uint16_t channels, std::uint32_t rate, std::uint32_t frames)
{
    return WriteFile(name, Riff({Chunk("fmt ", FmtPcm(channels, rate, 16)),
                                 Chunk("data", RampFrames16(frames, channels))}));
}

std::string MakeOgg(const std::string& name, int channels, long rate, long frames)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.3f) != 0)
    {
        throw std::runtime_error("vorbisenc refused the format");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    Bytes bytes;
    auto appendPage = [&bytes](const ogg_page& page)
    {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
    {
        appendPage(page);
    }

    const long step = 1024;
    long done = 0;
    bool ended = false;
    while (!ended)
    {
        const long count = std::min(step, frames - done);
        if (count > 0)
        {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (long i = 0; i < count; ++i)
            {
                const double phase =
                    2.0 * M_PI * 110.0 * static_cast<double>(done + i) / static_cast<double>(rate);
                for (int c = 0; c < channels; ++c)
                {
                    buffer[c][i] = static_cast<float>(0.08 * (c + 1) * std::sin(phase));
                }
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        else
        {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0)
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                {
                    appendPage(page);
                    ended = ended || ogg_page_eos(&page) != 0;
                }
            }
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return WriteFile(name, bytes);
}

double ChannelRms(const std::uint8_t* samples, std::uint32_t bytes, int channels, int channel)
{
    const std::uint32_t frames = bytes / (2u * static_cast<std::uint32_t>(channels));
    double sum = 0.0;
    for (std::uint32_t frame = 0; frame < frames; ++frame)
    {
        std::int16_t value;
        std::memcpy(&value, samples + (static_cast<std::size_t>(frame) * channels + channel) * 2, 2);
        sum += static_cast<double>(value) * value;
    }
    return frames > 0 ? std::sqrt(sum / frames) : 0.0;
}

} // namespace SoundTest
