// The generated sound effects and music, loaded the way the game loads them:
// through the sound engine under OpenAL Soft's null output, by their engine
// paths (backslashes, spaces, '#' and ',' included).

#include "ResourceTestSupport.h"
#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace ResourceTest;

namespace
{

enum class Kind
{
    Effect,
    Loop,
    Music,
};

struct Expected
{
    const char* path; // below the program's folder
    const char* use;  // a level's file and its tutorial copy share a use
    Kind kind;
    double minSeconds;
    double maxSeconds;
    double bpm; // music only
};

// Every file the game's levels name, with its use, whether it loops and
// the length its use asks for.
const Expected Files[] = {
    {"Resources/Sounds/LaserBeam_Loop21.wav", "vertical start", Kind::Effect, 0.2, 0.3, 0},
    {"Resources/Sounds/LaserBeam_Loop21_1.wav", "vertical start", Kind::Effect, 0.2, 0.3, 0},
    {"Resources/Sounds/LaserBeam_Loop35.wav", "vertical stay", Kind::Loop, 1.0, 2.0, 0},
    {"Resources/Sounds/LaserBeam_Loop35_1.wav", "vertical stay", Kind::Loop, 1.0, 2.0, 0},
    {"Resources/Sounds/Laser_ShrinkRay_Shrinking03.wav", "vertical end", Kind::Effect, 0.25, 0.35, 0},
    {"Resources/Sounds/Laser_ShrinkRay_Shrinking03_1.wav", "vertical end", Kind::Effect, 0.25, 0.35, 0},
    {"Resources/Sounds/LaserBeam_Loop21_0.wav", "horizontal start", Kind::Effect, 0.2, 0.3, 0},
    {"Resources/Sounds/LaserBeam_Loop21_0_0.wav", "horizontal start", Kind::Effect, 0.2, 0.3, 0},
    {"Resources/Sounds/LaserBeam_Loop35_0.wav", "horizontal stay", Kind::Loop, 1.0, 2.0, 0},
    {"Resources/Sounds/LaserBeam_Loop35_0_0.wav", "horizontal stay", Kind::Loop, 1.0, 2.0, 0},
    {"Resources/Sounds/Laser_ShrinkRay_Shrinking03_0.wav", "horizontal end", Kind::Effect, 0.25, 0.35, 0},
    {"Resources/Sounds/Laser_ShrinkRay_Shrinking03_0_0.wav", "horizontal end", Kind::Effect, 0.25, 0.35, 0},
    {"Resources/Sounds/Mystical_EnergyLoop38.wav", "black hole", Kind::Loop, 1.9, 2.1, 0},
    {"Resources/Sounds/Mystical_EnergyLoop38_0.wav", "black hole", Kind::Loop, 1.9, 2.1, 0},
    {"Resources/Sounds/PopCartoon CTE02_07.wav", "eat", Kind::Effect, 0.1, 0.15, 0},
    {"Resources/Sounds/PopCartoon CTE02_07_0.wav", "eat", Kind::Effect, 0.1, 0.15, 0},
    {"Resources/Sounds/HitPunch CTE01_78.2.wav", "hurt", Kind::Effect, 0.25, 0.35, 0},
    {"Resources/Sounds/HitPunch CTE01_78.2_0.wav", "hurt", Kind::Effect, 0.25, 0.35, 0},
    {"Resources/Sounds/ZapCartoon CTE02_91.1.wav", "zap", Kind::Effect, 0.2, 0.3, 0},
    {"Resources/Sounds/ZapCartoon CTE02_91.1_0.wav", "zap", Kind::Effect, 0.2, 0.3, 0},
    {"Resources/Sounds/15 - Laser #2- Long, Oscillating Blast.wav", "bonus laser", Kind::Loop, 1.9, 2.1, 0},
    {"Resources/Sounds/15 - Laser #2- Long, Oscillating Blast_0.wav", "bonus laser", Kind::Loop, 1.9, 2.1, 0},
    {"Resources/Sounds/Switch.wav", "button", Kind::Effect, 0.06, 0.1, 0},
    {"Resources/Sounds/Switch_0.wav", "button", Kind::Effect, 0.06, 0.1, 0},
    {"Resources/Sounds/Switch_1.wav", "button", Kind::Effect, 0.06, 0.1, 0},
    {"Resources/Sounds/Switch_2.wav", "button", Kind::Effect, 0.06, 0.1, 0},
    {"Resources/Sounds/Switch_3.wav", "button", Kind::Effect, 0.06, 0.1, 0},
    {"Resources/Sounds/46 - SWITCH, PANEL SMALL TOGGLE SWITCH, LARGE TOGGLE SWITCH, LARGE TOGGLE SWITCH, "
     "SMALL PUSH "
     "BUTTON SWITCH, LARGE PUSH BUTTON SW_3_0.wav",
     "button", Kind::Effect, 0.06, 0.1, 0},
    {"Resources/Sounds/33 - Keeping Up.wav", "bubble", Kind::Effect, 0.1, 0.4, 0},
    {"Resources/Sounds/Armour_Fall_LoseArmour1.wav", "lose", Kind::Effect, 1.0, 1.4, 0},
    {"Resources/JukeBoxes/MainMenu/49 - Aeromatic.wav", "menu music", Kind::Music, 16.0, 60.0, 100.0},
    {"Resources/JukeBoxes/InGame/17 - Nose for Trouble.wav", "play music", Kind::Music, 16.0, 60.0, 126.0},
};

const char* KindName(Kind kind)
{
    switch (kind)
    {
    case Kind::Effect:
        return "sound effect";
    case Kind::Loop:
        return "sound loop";
    case Kind::Music:
        break;
    }
    return "music track";
}

// The name the game gives the engine: its own folder, then the resource
// path with backslashes.
std::string EnginePath(const std::string& path)
{
    std::string name = "\\" + path;
    std::replace(name.begin(), name.end(), '/', '\\');
    return ProgramFolder() + name;
}

double Db(double value)
{
    return 20.0 * std::log10(std::max(value, 1e-12));
}

// One decoded file: its format and its samples per channel, in [-1, 1).
struct Decoded
{
    int rate = 0;
    int channels = 0;
    std::vector<std::vector<double>> channel;

    std::size_t Frames() const { return channel.empty() ? 0 : channel[0].size(); }
    double Seconds() const { return static_cast<double>(Frames()) / rate; }

    double Rms(std::size_t from, std::size_t to) const
    {
        double sum = 0.0;
        for (const std::vector<double>& c : channel)
        {
            for (std::size_t i = from; i < to; ++i)
            {
                sum += c[i] * c[i];
            }
        }
        return std::sqrt(sum / static_cast<double>((to - from) * channel.size()));
    }
    double Peak(std::size_t from, std::size_t to) const
    {
        double peak = 0.0;
        for (const std::vector<double>& c : channel)
        {
            for (std::size_t i = from; i < to; ++i)
            {
                peak = std::max(peak, std::fabs(c[i]));
            }
        }
        return peak;
    }
    // Zero crossings per second of the first channel: a rough pitch.
    double CrossingRate() const
    {
        std::size_t crossings = 0;
        for (std::size_t i = 1; i < Frames(); ++i)
        {
            crossings += (channel[0][i - 1] < 0.0) != (channel[0][i] < 0.0);
        }
        return static_cast<double>(crossings) / Seconds();
    }
};

class SoundFilesTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { setenv("ALSOFT_DRIVERS", "null", 0); }
    void SetUp() override { ASSERT_TRUE(engine.Initialize(-1, 30)); }

    // Reads the whole file through a stream record of the engine: the
    // engine's own WAV reader, chunk by chunk from its data start.
    Decoded Decode(const std::string& path)
    {
        Decoded out;
        SoundEngine::SoundData* data = engine.CreateStream(EnginePath(path), 0.5f, 2);
        if (data == nullptr || data->Rewind() != SoundEngine::SoundData::Ok)
        {
            return out;
        }
        const SoundEngine::SoundData::Format& format = data->GetFormat();
        out.rate = static_cast<int>(format.sampleRate);
        out.channels = format.channels;
        out.channel.resize(format.channels);
        for (;;)
        {
            std::uint32_t bytes = 0;
            if (data->ReadChunk(bytes) != SoundEngine::SoundData::Ok || bytes == 0)
            {
                break;
            }
            const std::vector<std::uint8_t>& samples = data->GetSamples();
            for (std::uint32_t i = 0; i + 1 < bytes; i += 2)
            {
                const auto value = static_cast<std::int16_t>(samples[i] | samples[i + 1] << 8);
                out.channel[(i / 2) % format.channels].push_back(value / 32768.0);
            }
        }
        return out;
    }

    SoundEngine engine;
};

TEST(SoundManifest, ListsEveryFileTheLevelsNameAndNoOther)
{
    std::map<std::string, std::string> listed;
    for (const ManifestEntry& entry : ReadManifest())
    {
        if (entry.kind == "sound effect" || entry.kind == "sound loop" || entry.kind == "music track")
        {
            EXPECT_TRUE(listed.emplace(entry.path, entry.kind).second) << entry.path;
        }
    }
    std::set<std::string> expected;
    for (const Expected& file : Files)
    {
        expected.insert(file.path);
        const auto found = listed.find(file.path);
        ASSERT_NE(found, listed.end()) << file.path;
        EXPECT_EQ(found->second, KindName(file.kind)) << file.path;
    }
    EXPECT_EQ(listed.size(), expected.size());
}

TEST_F(SoundFilesTest, EveryFileLoadsAsTheGameLoadsItAndIsCleanAndWithinItsLength)
{
    for (const Expected& file : Files)
    {
        SCOPED_TRACE(file.path);
        // Effects whole in one cached buffer, tracks as streams.
        SoundEngine::SoundData* loaded =
            engine.LoadSound(EnginePath(file.path), SoundEngine::StreamThreshold);
        ASSERT_NE(loaded, nullptr);
        const SoundEngine::SoundData::Format& format = loaded->GetFormat();
        EXPECT_EQ(format.tag, 1);
        EXPECT_EQ(format.bitsPerSample, 16);
        if (file.kind == Kind::Music)
        {
            EXPECT_TRUE(loaded->IsOpen());
            EXPECT_GE(loaded->GetBuffers().size(), 2u);
            EXPECT_GE(loaded->GetDataSize(), SoundEngine::StreamThreshold);
            EXPECT_TRUE(format.sampleRate == 22050 || format.sampleRate == 44100);
            EXPECT_TRUE(format.channels == 1 || format.channels == 2);
        }
        else
        {
            EXPECT_FALSE(loaded->IsOpen());
            EXPECT_EQ(loaded->GetBuffers().size(), 1u);
            EXPECT_EQ(engine.FindCachedSound(EnginePath(file.path), 0.0f), loaded);
            EXPECT_EQ(format.sampleRate, 22050u);
            EXPECT_EQ(format.channels, 1);
        }

        const Decoded sound = Decode(file.path);
        ASSERT_GT(sound.Frames(), 0u);
        ASSERT_EQ(sound.Frames() * sound.channels * 2, loaded->GetDataSize());
        EXPECT_GE(sound.Seconds(), file.minSeconds);
        EXPECT_LE(sound.Seconds(), file.maxSeconds);

        const std::size_t frames = sound.Frames();
        EXPECT_GT(Db(sound.Rms(0, frames)), -30.0) << "too quiet";
        EXPECT_LE(Db(sound.Peak(0, frames)), -0.5) << "clips";
        for (const std::vector<double>& channel : sound.channel)
        {
            double mean = 0.0;
            for (double x : channel)
            {
                mean += x;
            }
            EXPECT_LT(std::fabs(mean / static_cast<double>(frames)), 0.005) << "DC offset";
        }

        const auto ms = [&sound](double milliseconds)
        { return static_cast<std::size_t>(milliseconds * 0.001 * sound.rate); };
        if (file.kind == Kind::Effect)
        {
            // Starts at once (above -40 dBFS within 5 ms), ends in silence.
            EXPECT_GT(Db(sound.Peak(0, ms(5))), -40.0) << "late start";
            EXPECT_LT(Db(sound.Peak(frames - ms(5), frames)), -50.0) << "ends with a click";
            continue;
        }
        // A loop runs on from its last sample to its first with no step
        // larger than any inside it, and at the same level.
        for (const std::vector<double>& channel : sound.channel)
        {
            double largest = 0.0;
            for (std::size_t i = 1; i < frames; ++i)
            {
                largest = std::max(largest, std::fabs(channel[i] - channel[i - 1]));
            }
            EXPECT_LE(std::fabs(channel.front() - channel.back()), largest) << "click at the seam";
        }
        EXPECT_NEAR(Db(sound.Rms(0, ms(50))), Db(sound.Rms(frames - ms(50), frames)), 3.0)
            << "level jumps at the seam";
        if (file.kind == Kind::Music)
        {
            const double bars = sound.Seconds() * file.bpm / 60.0 / 4.0;
            EXPECT_NEAR(bars, std::round(bars), file.bpm / 60.0 / 4.0 / sound.rate) << "not whole bars";
        }
    }
}

TEST_F(SoundFilesTest, UsesSoundDistinctAndTheHorizontalLaserAFifthBelowTheVertical)
{
    std::map<std::string, Decoded> byPath;
    std::map<std::string, double> crossings; // per use
    std::map<std::string, double> seconds;   // per use
    for (const Expected& file : Files)
    {
        if (file.kind != Kind::Music)
        {
            byPath[file.path] = Decode(file.path);
            crossings[file.use] = byPath[file.path].CrossingRate();
            seconds[file.use] = byPath[file.path].Seconds();
        }
    }
    // Two uses never share a sound: they differ in length or in pitch by a
    // tenth at least. The buttons are one use in six small variations,
    // none a copy of another.
    for (const auto& [a, rateA] : crossings)
    {
        for (const auto& [b, rateB] : crossings)
        {
            if (a < b)
            {
                const bool length =
                    std::fabs(seconds[a] - seconds[b]) > 0.1 * std::max(seconds[a], seconds[b]);
                const bool pitch = std::fabs(rateA - rateB) > 0.1 * std::max(rateA, rateB);
                EXPECT_TRUE(length || pitch) << a << " and " << b << " sound alike";
            }
        }
    }
    std::vector<const Decoded*> buttons;
    for (const Expected& file : Files)
    {
        if (std::string(file.use) == "button")
        {
            for (const Decoded* other : buttons)
            {
                EXPECT_NE(other->channel, byPath[file.path].channel) << file.path;
            }
            buttons.push_back(&byPath[file.path]);
        }
    }
    for (const char* phase : {"start", "stay", "end"})
    {
        const double ratio =
            crossings[std::string("horizontal ") + phase] / crossings[std::string("vertical ") + phase];
        EXPECT_GT(ratio, 0.55) << phase;
        EXPECT_LT(ratio, 0.78) << phase;
    }
}

TEST_F(SoundFilesTest, ALoopAndATrackPlayTenSecondsWithoutRunningDry)
{
    // As the game plays them: the loop from one cached buffer, looping; the
    // track as a stream that is not looped (the jukebox repeats it), here
    // longer than the ten seconds, so the streaming thread refills it.
    SoundEngine::SoundData* loop =
        engine.LoadSound(EnginePath("Resources/Sounds/LaserBeam_Loop35.wav"), SoundEngine::StreamThreshold);
    SoundEngine::SoundData* track = engine.LoadSound(
        EnginePath("Resources/JukeBoxes/InGame/17 - Nose for Trouble.wav"), SoundEngine::StreamThreshold);
    ASSERT_NE(loop, nullptr);
    ASSERT_NE(track, nullptr);
    ASSERT_GT(track->GetDuration(), 10.5);
    SoundEngine::Source* hum = engine.CreateSource(loop, 1, 1);
    SoundEngine::Source* music = engine.CreateSource(track, 1, 0);
    ASSERT_NE(hum, nullptr);
    ASSERT_NE(music, nullptr);
    ASSERT_TRUE(engine.Play(hum));
    ASSERT_TRUE(engine.Play(music));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int checks = 0;
    while (std::chrono::steady_clock::now() < end)
    {
        ASSERT_TRUE(engine.IsPlaying(hum)) << "the loop stopped after " << checks * 50 << " ms";
        ASSERT_TRUE(engine.IsPlaying(music)) << "the stream ran dry after " << checks * 50 << " ms";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ++checks;
    }
    EXPECT_TRUE(engine.IsMarkedPlaying(music));
}

} // namespace
