// The WAV reader, the Ogg Vorbis opening and the format choice, without a
// device: opening a record reads the file and picks the OpenAL format.

#include "SoundFiles.h"
#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"

#include <AL/al.h>
#include <AL/alext.h>
#include <gtest/gtest.h>

using SoundTest::Bytes;
using SoundTest::Chunk;
using SoundTest::FmtExtensible;
using SoundTest::FmtPcm;
using SoundTest::Riff;
using Data = SoundEngine::SoundData;

namespace
{

class SoundDataTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SoundEngine::LoadVorbisFunctions()); }

    static std::int32_t OpenBytes(const std::string& name, const Bytes& bytes)
    {
        Data data;
        return data.Open(SoundTest::WriteFile(name, bytes));
    }
};

Bytes Frames(std::uint32_t bytes)
{
    return Bytes(bytes, 0x11);
}

TEST_F(SoundDataTest, WavFormatsChooseTheirOpenALFormat)
{
    struct Case
    {
        const char* name;
        Bytes format;
        ALenum expected;
    };
    const Case cases[] = {
        {"mono8", FmtPcm(1, 8000, 8), AL_FORMAT_MONO8},
        {"mono16", FmtPcm(1, 8000, 16), AL_FORMAT_MONO16},
        {"stereo8", FmtPcm(2, 8000, 8), AL_FORMAT_STEREO8},
        {"stereo16", FmtPcm(2, 8000, 16), AL_FORMAT_STEREO16},
        {"quad16", FmtPcm(4, 8000, 16), AL_FORMAT_QUAD16},
        {"ext_mono8", FmtExtensible(1, 8000, 8, 4), AL_FORMAT_MONO8},
        {"ext_stereo16", FmtExtensible(2, 8000, 16, 3), AL_FORMAT_STEREO16},
        {"ext_rear16", FmtExtensible(2, 8000, 16, 48), AL_FORMAT_REAR16},
        {"ext_quad16", FmtExtensible(4, 8000, 16, 51), AL_FORMAT_QUAD16},
        {"ext_51", FmtExtensible(6, 8000, 16, 63), AL_FORMAT_51CHN16},
        {"ext_61", FmtExtensible(7, 8000, 16, 319), AL_FORMAT_61CHN16},
        {"ext_71", FmtExtensible(8, 8000, 16, 1599), AL_FORMAT_71CHN16},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = SoundTest::WriteFile(
            std::string(c.name) + ".wav", Riff({Chunk("fmt ", c.format), Chunk("data", Frames(3360))}));
        Data data;
        ASSERT_EQ(data.Open(path), Data::Ok);
        EXPECT_EQ(data.GetOpenALFormat(), static_cast<std::uint32_t>(c.expected));
        EXPECT_EQ(data.GetKind(), Data::Wav);
        EXPECT_EQ(data.GetDataSize(), 3360u); // whole frames of every layout
        EXPECT_EQ(data.GetFileName(), path);
        EXPECT_TRUE(data.IsOpen());
    }
}

TEST_F(SoundDataTest, WavReaderFindsChunksAcrossCasePaddingAndExtras)
{
    // "LIST" has an odd size and its pad byte; ids and extension in odd case;
    // a format chunk of 18 bytes (with the extra-size word) is plain PCM.
    Bytes format18 = FmtPcm(2, 22050, 16);
    SoundTest::Append16(format18, 0);
    const Bytes list = {'I', 'N', 'F', 'O', 'x'};
    const std::string path = SoundTest::WriteFile(
        "Mixed.WaV", Riff({Chunk("FMT ", format18), Chunk("LIST", list), Chunk("DaTa", Frames(4410 * 4))}));
    Data data;
    ASSERT_EQ(data.Open(path), Data::Ok);
    const Data::Format& f = data.GetFormat();
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.sampleRate, 22050u);
    EXPECT_EQ(f.byteRate, 88200u);
    EXPECT_EQ(f.blockAlign, 4);
    EXPECT_EQ(f.dataSize, 17640u);
    EXPECT_EQ(f.dataStart, 12u + 8u + 18u + 8u + 6u + 8u);
    EXPECT_DOUBLE_EQ(data.GetDuration(), 0.2);

    // The data may come before the format; the duration still uses its rate.
    const std::string late = SoundTest::WriteFile(
        "late_fmt.wav", Riff({Chunk("data", Frames(1600)), Chunk("fmt ", FmtPcm(1, 8000, 16))}));
    ASSERT_EQ(data.Open(late), Data::Ok);
    EXPECT_DOUBLE_EQ(data.GetDuration(), 0.1);
    EXPECT_EQ(data.GetFormat().dataStart, 20u);

    // An extensible format keeps its extra fields.
    const std::string ext = SoundTest::WriteFile(
        "ext.wav", Riff({Chunk("fmt ", FmtExtensible(6, 48000, 16, 63)), Chunk("data", Frames(1200))}));
    ASSERT_EQ(data.Open(ext), Data::Ok);
    EXPECT_EQ(data.GetFormat().type, Data::Extensible);
    EXPECT_EQ(data.GetFormat().tag, 0xFFFE);
    EXPECT_EQ(data.GetFormat().channelMask, 63u);
    EXPECT_EQ(data.GetFormat().validBitsPerSample, 16);
    EXPECT_EQ(data.GetFormat().subFormat[0], 1);
    EXPECT_EQ(data.GetFileName(), ext);
}

TEST_F(SoundDataTest, EnginePathsWithBackslashesOpen)
{
    const std::string path = SoundTest::MakeWav("slashes.wav", 1, 8000, 100);
    std::string enginePath = path;
    for (char& c : enginePath)
    {
        c = c == '/' ? '\\' : c;
    }
    Data data;
    EXPECT_EQ(data.Open(enginePath), Data::Ok);
    EXPECT_EQ(data.GetFileName(), enginePath);
}

TEST_F(SoundDataTest, MalformedWavFilesAnswerBadFile)
{
    const Bytes fmt = FmtPcm(1, 8000, 16);
    const Bytes data = Chunk("data", Frames(200));
    const Bytes extensible = FmtExtensible(2, 8000, 16, 3);
    Bytes zeroAlign = fmt;
    zeroAlign[12] = zeroAlign[13] = 0;
    Bytes zeroRate = fmt;
    zeroRate[8] = zeroRate[9] = zeroRate[10] = zeroRate[11] = 0;
    Bytes floatTag = fmt;
    floatTag[0] = 3;
    Bytes header = Riff({Chunk("fmt ", fmt), data});
    header.resize(10);
    Bytes notWave = Riff({Chunk("fmt ", fmt), data});
    notWave[8] = 'A';
    // An odd "LIST" written without its pad byte: the next header is read one
    // byte early and makes no sense.
    const Bytes unpadded = Riff({Chunk("fmt ", fmt), Chunk("LIST", Bytes(3, 'x'), false), data});

    struct Case
    {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"header_short", header},
        {"not_wave", notWave},
        {"fmt_50_bytes_only", Riff({Chunk("fmt ", Bytes(50, 0)), data})},
        {"fmt_short_pcm", Riff({Chunk("fmt ", Bytes(fmt.begin(), fmt.begin() + 14)), data})},
        {"fmt_short_extensible",
         Riff({Chunk("fmt ", Bytes(extensible.begin(), extensible.begin() + 24)), data})},
        {"fmt_one_byte", Riff({Chunk("fmt ", Bytes(1, 1)), data})},
        {"zero_block_align", Riff({Chunk("fmt ", zeroAlign), data})},
        {"zero_byte_rate", Riff({Chunk("fmt ", zeroRate), data})},
        {"truncated_data", Riff({Chunk("fmt ", fmt), SoundTest::ChunkWithSize("data", 4000, Frames(200))})},
        {"chunk_past_end",
         Riff({Chunk("fmt ", fmt), data, SoundTest::ChunkWithSize("junk", 0xFFFFFFF0u, {})})},
        {"odd_chunk_without_pad", unpadded},
        {"no_data", Riff({Chunk("fmt ", fmt)})},
        {"no_fmt", Riff({data})},
        {"float_tag", Riff({Chunk("fmt ", floatTag), data})},
        {"bits_24", Riff({Chunk("fmt ", FmtPcm(1, 8000, 24)), data})},
        {"three_channels", Riff({Chunk("fmt ", FmtPcm(3, 8000, 16)), data})},
        {"extensible_bad_mask", Riff({Chunk("fmt ", FmtExtensible(2, 8000, 16, 7)), data})},
        {"extensible_8bit_quad", Riff({Chunk("fmt ", FmtExtensible(4, 8000, 8, 51)), data})},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Data record;
        EXPECT_EQ(record.Open(SoundTest::WriteFile(std::string(c.name) + ".wav", c.file)), Data::BadFile);
        EXPECT_FALSE(record.IsOpen());
        EXPECT_EQ(record.GetFileName(), "");
    }
}

TEST_F(SoundDataTest, ResultCodesForNamesAndUnopenedRecords)
{
    Data data;
    EXPECT_EQ(data.Open("ab"), Data::CannotOpen);
    EXPECT_EQ(data.Open(SoundTest::Directory() + "/missing.wav"), Data::CannotOpen);
    EXPECT_EQ(data.Open(SoundTest::Directory() + "/missing.ogg"), Data::CannotOpen);
    EXPECT_EQ(data.Open(SoundTest::MakeWav("sound.mp3", 1, 8000, 10)), Data::BadFile);
    std::uint32_t bytes = 0;
    EXPECT_EQ(data.ReadChunk(bytes), Data::NotOpen);
    EXPECT_EQ(data.Rewind(), Data::NotOpen);
    EXPECT_EQ(data.GetALFormat(), Data::NotOpen);

    // Opening again closes what was open; Close leaves nothing open.
    ASSERT_EQ(data.Open(SoundTest::MakeWav("reopen.wav", 1, 8000, 10)), Data::Ok);
    EXPECT_EQ(data.Close(), Data::Ok);
    EXPECT_FALSE(data.IsOpen());
    EXPECT_EQ(data.Rewind(), Data::NotOpen);
}

TEST_F(SoundDataTest, OggFilesOpenWithTheirFormat)
{
    struct Case
    {
        int channels;
        ALenum expected;
    };
    const Case cases[] = {
        {1, AL_FORMAT_MONO16}, {2, AL_FORMAT_STEREO16}, {4, AL_FORMAT_QUAD16}, {6, AL_FORMAT_51CHN16}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.channels);
        const std::string path =
            SoundTest::MakeOgg("ch" + std::to_string(c.channels) + ".OGG", c.channels, 22050, 11025);
        Data data;
        ASSERT_EQ(data.Open(path), Data::Ok);
        EXPECT_EQ(data.GetKind(), Data::Ogg);
        EXPECT_EQ(data.GetOpenALFormat(), static_cast<std::uint32_t>(c.expected));
        EXPECT_EQ(data.GetFormat().blockAlign, 2 * c.channels);
        EXPECT_EQ(data.GetFormat().byteRate, 22050u * 2 * c.channels);
        EXPECT_EQ(data.GetDataSize(), 11025u * 2 * c.channels);
        EXPECT_NEAR(data.GetDuration(), 0.5, 1e-9);
    }
}

TEST_F(SoundDataTest, MalformedOggFilesAnswerBadFile)
{
    const std::string good = SoundTest::MakeOgg("good.ogg", 2, 22050, 22050);
    std::FILE* file = std::fopen(good.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    Bytes bytes(1 << 20);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);

    Bytes garbage(4096);
    for (std::size_t i = 0; i < garbage.size(); ++i)
    {
        garbage[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    struct Case
    {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"empty.ogg", {}},
        {"garbage.ogg", garbage},
        {"headers_cut.ogg", Bytes(bytes.begin(), bytes.begin() + 60)},
        {"wav_named_ogg.ogg", Riff({Chunk("fmt ", FmtPcm(1, 8000, 16)), Chunk("data", Frames(100))})},
        {"three_channels.ogg", {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = std::string(c.name) == "three_channels.ogg"
                                     ? SoundTest::MakeOgg(c.name, 3, 22050, 4000)
                                     : SoundTest::WriteFile(c.name, c.file);
        Data data;
        EXPECT_EQ(data.Open(path), Data::BadFile);
        EXPECT_FALSE(data.IsOpen());
    }
}

TEST_F(SoundDataTest, OggNeedsTheVorbisTable)
{
    const std::string path = SoundTest::MakeOgg("table.ogg", 1, 22050, 2000);
    SoundEngine::ClearVorbisFunctions();
    Data data;
    EXPECT_EQ(data.Open(path), Data::NoVorbis);
    ASSERT_TRUE(SoundEngine::LoadVorbisFunctions());
    EXPECT_EQ(data.Open(path), Data::Ok);
}

} // namespace
