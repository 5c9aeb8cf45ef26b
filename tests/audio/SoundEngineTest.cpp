// The engine under OpenAL Soft's null output (ALSOFT_DRIVERS=null): the
// device, the sources, loading whole or streamed, and the streaming thread,
// which the null device drives at the real playback rate.

#include "SoundFiles.h"
#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"
#include "audio/Sound_Source.h"

#include <AL/al.h>
#include <gtest/gtest.h>
#include <ogg/ogg.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

class SoundEngineTestAccess
{
public:
    static std::vector<std::string>& DeviceNames(SoundEngine& engine) { return engine.deviceNames_; }
    // Runs `read` under the lock the streaming pass holds while it refills.
    template <class Read> static auto WhileStreamingWaits(SoundEngine& engine, Read read)
    {
        engine.threads_.LockMutex(engine.listMutex_);
        const auto value = read();
        engine.threads_.UnlockMutex(engine.listMutex_);
        return value;
    }
};

namespace
{

using Clock = std::chrono::steady_clock;
using Data = SoundEngine::SoundData;
using Source = SoundEngine::Source;

constexpr std::uint32_t WaitMs = 30;
// How long a test waits for the mixer and the streaming thread to get
// through a sound well under a second long: generous, because a loaded
// machine can hold both back, and a wait ends as soon as its condition holds.
constexpr int SettleMs = 10000;

template <class Predicate> bool WaitUntil(Predicate predicate, int milliseconds)
{
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (Clock::now() < end)
    {
        if (predicate())
        {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return predicate();
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

ALint SourceInt(const Source* source, ALenum what)
{
    ALint value = 0;
    alGetSourcei(source->GetName(), what, &value);
    return value;
}

ALint BufferSize(std::uint32_t buffer)
{
    ALint size = -1;
    alGetBufferi(buffer, AL_SIZE, &size);
    return size;
}

// The frame index that the first sample of the last chunk read holds (see
// SoundTest::RampFrames16).
std::uint16_t FirstFrameOfLastChunk(const Data* data)
{
    const std::vector<std::uint8_t>& samples = data->GetSamples();
    return samples.size() < 2 ? 0xFFFF : static_cast<std::uint16_t>(samples[0] | samples[1] << 8);
}

class SoundEngineTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(engine.Initialize(-1, WaitMs)); }

    SoundEngine engine;
};

TEST_F(SoundEngineTest, InitializeOpensTheDeviceOnce)
{
    ASSERT_FALSE(engine.GetDeviceNames().empty());
    EXPECT_GE(engine.GetDefaultDevice(), 0);
    EXPECT_LT(engine.GetDefaultDevice(), static_cast<std::int32_t>(engine.GetDeviceNames().size()));
    EXPECT_TRUE(engine.IsInitialized());
    EXPECT_FALSE(engine.GetVendor().empty());
    EXPECT_FALSE(engine.GetVersion().empty());
    EXPECT_NEAR(engine.GetSpeedOfSound(), 343.3f, 0.01f);
    EXPECT_EQ(engine.GetWaitPeriod(), WaitMs);

    // The initial source: listener-relative, nothing attached.
    ASSERT_NE(engine.GetInitialSource(), nullptr);
    EXPECT_EQ(engine.GetSourceCount(), 1u);
    EXPECT_TRUE(engine.GetInitialSource()->IsCreated());
    EXPECT_EQ(engine.GetInitialSource()->IsRelative(), 1);
    EXPECT_EQ(engine.GetInitialSource()->GetKind(), Source::Nothing);

    EXPECT_FALSE(engine.Initialize(-1, WaitMs));

    engine.Shutdown();
    EXPECT_FALSE(engine.IsInitialized());
    EXPECT_EQ(engine.GetVendor(), "");
    EXPECT_EQ(engine.GetSpeedOfSound(), 0.0f);
    engine.StopAll(); // nothing to lock: does nothing
    EXPECT_EQ(engine.GetSourceCount(), 1u);

    // An index past the list opens the default device.
    EXPECT_TRUE(engine.Initialize(static_cast<std::int32_t>(engine.GetDeviceNames().size()) + 3, WaitMs));
    EXPECT_TRUE(engine.IsInitialized());
}

TEST(SoundEngineStartTest, FailedStartUndoesEverythingAndALaterStartWorks)
{
    const std::string path = SoundTest::MakeWav("start.wav", 1, 8000, 400);
    SoundEngine engine;
    const std::vector<std::string> names = engine.GetDeviceNames();

    SoundEngineTestAccess::DeviceNames(engine) = {"no such device"};
    EXPECT_FALSE(engine.Initialize(0, WaitMs));
    EXPECT_FALSE(engine.IsInitialized());
    EXPECT_EQ(engine.GetSourceCount(), 0u);
    EXPECT_EQ(engine.GetInitialSource(), nullptr);
    SoundEngineTestAccess::DeviceNames(engine).clear();
    EXPECT_FALSE(engine.Initialize(-1, WaitMs));
    EXPECT_FALSE(engine.IsInitialized());

    SoundEngineTestAccess::DeviceNames(engine) = names;
    ASSERT_TRUE(engine.Initialize(-1, WaitMs));
    EXPECT_EQ(engine.GetSourceCount(), 1u);

    // The streaming thread runs: it notices the end of a short sound.
    Source* source = engine.CreateSource(engine.LoadSound(path, SoundEngine::StreamThreshold), 1, 0);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine.Play(source));
    EXPECT_TRUE(WaitUntil([&] { return !engine.IsMarkedPlaying(source); }, SettleMs));
}

TEST_F(SoundEngineTest, DistanceModelsFollowTheTable)
{
    const ALenum models[] = {AL_NONE,
                             AL_INVERSE_DISTANCE,
                             AL_INVERSE_DISTANCE_CLAMPED,
                             AL_LINEAR_DISTANCE,
                             AL_LINEAR_DISTANCE_CLAMPED,
                             AL_EXPONENT_DISTANCE,
                             AL_EXPONENT_DISTANCE_CLAMPED};
    EXPECT_EQ(engine.GetDistanceModel(), 2u);
    for (std::uint32_t i = 0; i < 7; ++i)
    {
        ASSERT_TRUE(engine.SetDistanceModel(i));
        EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), models[i]);
        EXPECT_EQ(engine.GetDistanceModel(), i);
    }

    // Index 9 is stored, not sent, and a later start does not send it either.
    EXPECT_TRUE(engine.SetDistanceModel(9));
    EXPECT_EQ(engine.GetDistanceModel(), 9u);
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_EXPONENT_DISTANCE_CLAMPED);
    engine.Shutdown();
    ASSERT_TRUE(engine.Initialize(-1, WaitMs));
    EXPECT_EQ(engine.GetDistanceModel(), 9u);
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_INVERSE_DISTANCE_CLAMPED);
}

TEST_F(SoundEngineTest, RefusedValuesLeaveTheStoredOnes)
{
    ASSERT_TRUE(engine.SetListenerPosition({1.0f, 2.0f, 3.0f}));
    ALfloat x = 0, y = 0, z = 0;
    alGetListener3f(AL_POSITION, &x, &y, &z);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(y, 2.0f);
    EXPECT_EQ(z, 3.0f);

    ASSERT_TRUE(engine.SetMasterVolume(0.5f));
    EXPECT_FALSE(engine.SetMasterVolume(-1.0f));
    EXPECT_EQ(engine.GetMasterVolume(), 0.5f);

    Source* source =
        engine.CreateSource(engine.LoadSound(SoundTest::MakeWav("values.wav", 1, 8000, 800), 262144), 0, 0);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(source->SetGain(0.25f));
    EXPECT_FALSE(source->SetGain(-1.0f));
    EXPECT_EQ(source->GetGain(), 0.25f);
    ASSERT_TRUE(source->SetPitch(2.0f));
    EXPECT_FALSE(source->SetPitch(-1.0f));
    EXPECT_EQ(source->GetPitch(), 2.0f);
    ASSERT_TRUE(source->SetReferenceDistance(10.0f));
    EXPECT_FALSE(source->SetReferenceDistance(-2.0f));
    EXPECT_EQ(source->GetReferenceDistance(), 10.0f);
    ASSERT_TRUE(source->SetPosition({4.0f, 5.0f, 6.0f}));
    EXPECT_EQ(source->GetPosition().y, 5.0f);
    ALfloat gain = 0;
    alGetSourcef(source->GetName(), AL_GAIN, &gain);
    EXPECT_EQ(gain, 0.25f);
}

TEST_F(SoundEngineTest, SourcesPlayStopAndGoBack)
{
    Data* data =
        engine.LoadSound(SoundTest::MakeWav("play.wav", 1, 8000, 8000), SoundEngine::StreamThreshold);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(engine.CreateSource(nullptr, 0, 0), nullptr);

    Source* first = engine.CreateSource(data, 0, 0);
    Source* second = engine.CreateSource(data, 1, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetKind(), Source::Whole);
    EXPECT_EQ(first->GetSoundData(), data);
    EXPECT_EQ(second->GetId(), first->GetId() + 1);
    EXPECT_EQ(engine.GetSourceCount(), 3u);

    ASSERT_TRUE(engine.Play(first));
    EXPECT_TRUE(engine.IsPlaying(first));
    EXPECT_TRUE(engine.IsMarkedPlaying(first));
    EXPECT_FALSE(engine.Play(first)); // already playing: not restarted
    EXPECT_TRUE(engine.IsPlaying(first));

    // Paused: still marked, so neither its owner nor the thread lets it go.
    ASSERT_TRUE(engine.Pause(first));
    std::this_thread::sleep_for(std::chrono::milliseconds(4 * WaitMs));
    EXPECT_FALSE(engine.IsPlaying(first));
    EXPECT_TRUE(engine.IsMarkedPlaying(first));
    ASSERT_TRUE(engine.Play(first));

    ASSERT_TRUE(engine.Stop(first));
    EXPECT_FALSE(engine.IsPlaying(first));
    EXPECT_FALSE(engine.IsMarkedPlaying(first));

    EXPECT_TRUE(engine.ReleaseSource(first));
    EXPECT_FALSE(engine.ReleaseSource(first));
    EXPECT_FALSE(engine.ReleaseSource(nullptr));
    Source stranger;
    EXPECT_FALSE(engine.ReleaseSource(&stranger));
    EXPECT_EQ(engine.GetSourceCount(), 2u);
    EXPECT_FALSE(engine.IsPlaying(nullptr));
    EXPECT_FALSE(engine.IsMarkedPlaying(nullptr));
}

TEST_F(SoundEngineTest, LoopingGoesToOpenALOnlyForAWholeSound)
{
    Data* whole =
        engine.LoadSound(SoundTest::MakeWav("loop_whole.wav", 1, 8000, 800), SoundEngine::StreamThreshold);
    Data* stream = engine.CreateStream(SoundTest::MakeWav("loop_stream.wav", 1, 8000, 8000), 0.1f, 2);
    Source* a = engine.CreateSource(whole, 0, 1);
    Source* b = engine.CreateSource(stream, 0, 1);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(SourceInt(a, AL_LOOPING), AL_TRUE);
    EXPECT_EQ(SourceInt(b, AL_LOOPING), AL_FALSE);
    EXPECT_EQ(b->GetLooping(), 1);
    ASSERT_TRUE(a->SetLooping(0));
    EXPECT_EQ(SourceInt(a, AL_LOOPING), AL_FALSE);
}

TEST_F(SoundEngineTest, LoadSoundChoosesWholeOrStreamedByTheThreshold)
{
    // 16-bit mono: two bytes a frame.
    const std::string smallWav =
        SoundTest::MakeWav("small.wav", 1, 44100, SoundEngine::StreamThreshold / 2 - 1);
    const std::string largeWav = SoundTest::MakeWav("large.wav", 1, 44100, SoundEngine::StreamThreshold / 2);
    const std::string smallOgg =
        SoundTest::MakeOgg("small.ogg", 1, 44100, SoundEngine::StreamThreshold / 2 - 1);
    const std::string largeOgg = SoundTest::MakeOgg("large.ogg", 1, 44100, SoundEngine::StreamThreshold / 2);

    for (const std::string& path : {smallWav, smallOgg})
    {
        SCOPED_TRACE(path);
        Data* data = engine.LoadSound(path, SoundEngine::StreamThreshold);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->GetBuffers().size(), 1u);
        EXPECT_FALSE(data->IsOpen());
        EXPECT_TRUE(data->GetSamples().empty());
        EXPECT_EQ(BufferSize(data->GetBuffers()[0]), static_cast<ALint>(SoundEngine::StreamThreshold - 2));
        // A second sound object of the same file finds it in the cache.
        EXPECT_EQ(engine.FindCachedSound(path, 0.0f), data);
        EXPECT_EQ(engine.FindCachedSound(path, 0.5f), nullptr);
        Source* source = engine.CreateSource(data, 0, 0);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->GetKind(), Source::Whole);
    }
    for (const std::string& path : {largeWav, largeOgg})
    {
        SCOPED_TRACE(path);
        Data* data = engine.LoadSound(path, SoundEngine::StreamThreshold);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->GetBuffers().size(), 2u);
        EXPECT_TRUE(data->IsOpen());
        EXPECT_EQ(data->GetChunkSize(), 44100u); // half a second
        EXPECT_EQ(BufferSize(data->GetBuffers()[1]), 44100);
        EXPECT_EQ(engine.FindCachedSound(path, 0.0f), nullptr);
        // Every caller gets a stream of its own.
        Data* other = engine.LoadSound(path, SoundEngine::StreamThreshold);
        ASSERT_NE(other, nullptr);
        EXPECT_NE(other, data);
        Source* source = engine.CreateSource(data, 0, 0);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->GetKind(), Source::Streamed);
    }
    EXPECT_EQ(engine.GetSoundDataCount(), 6u);
    EXPECT_EQ(engine.GetCacheSize(), 2u);
    std::string upper = smallWav;
    upper.replace(upper.size() - 3, 3, "WAV");
    EXPECT_EQ(engine.FindCachedSound(upper, 0.0f), nullptr);
}

TEST_F(SoundEngineTest, SplitSoundsHaveAnIntroAndALoop)
{
    // 1001 frames and half a frame more: the partial frame is dropped.
    SoundTest::Bytes samples = SoundTest::RampFrames16(1001, 1);
    samples.push_back(0x7F);
    const std::string path = SoundTest::WriteFile(
        "split.wav", SoundTest::Riff({SoundTest::Chunk("fmt ", SoundTest::FmtPcm(1, 8000, 16)),
                                      SoundTest::Chunk("data", samples)}));

    Data* whole = engine.CreateStatic(path, 2.5f); // as 1: every whole frame in the intro
    ASSERT_NE(whole, nullptr);
    ASSERT_EQ(whole->GetBuffers().size(), 2u);
    EXPECT_EQ(BufferSize(whole->GetBuffers()[0]), 2002);
    EXPECT_EQ(BufferSize(whole->GetBuffers()[1]), 0);
    EXPECT_EQ(engine.FindCachedSound(path, 2.5f), whole);

    Data* half = engine.CreateStatic(path, 0.5f);
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(BufferSize(half->GetBuffers()[0]), 1000);
    EXPECT_EQ(BufferSize(half->GetBuffers()[1]), 1002);
    EXPECT_EQ(engine.FindCachedSound(path, 0.5f), half);

    Data* negative = engine.CreateStatic(path, -1.0f);
    ASSERT_NE(negative, nullptr);
    EXPECT_EQ(negative->GetBuffers().size(), 1u);

    // Looping: once the intro has played only the loop stays queued, and
    // OpenAL repeats it.
    Source* looping = engine.CreateSource(half, 0, 1);
    ASSERT_NE(looping, nullptr);
    EXPECT_EQ(looping->GetKind(), Source::IntroLoop);
    EXPECT_EQ(SourceInt(looping, AL_BUFFERS_QUEUED), 2);
    // Without looping the pair plays once and is then unmarked.
    Source* once = engine.CreateSource(half, 0, 0);
    ASSERT_NE(once, nullptr);
    ASSERT_TRUE(engine.Play(looping));
    ASSERT_TRUE(engine.Play(once));
    // The sound thread unqueues the intro and then sets looping: wait for both,
    // since this thread may look in between.
    EXPECT_TRUE(WaitUntil(
        [&]
        { return SourceInt(looping, AL_BUFFERS_QUEUED) == 1 && SourceInt(looping, AL_LOOPING) == AL_TRUE; },
        SettleMs));
    EXPECT_TRUE(WaitUntil([&] { return !engine.IsMarkedPlaying(once); }, SettleMs));
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // past the length of the sound
    EXPECT_TRUE(engine.IsPlaying(looping));
    EXPECT_TRUE(engine.IsMarkedPlaying(looping));
}

TEST_F(SoundEngineTest, WholeSoundIsUnmarkedWhenItHasPlayedOut)
{
    Source* source =
        engine.CreateSource(engine.LoadSound(SoundTest::MakeWav("short.wav", 1, 8000, 800), 262144), 0, 0);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine.Play(source));
    EXPECT_TRUE(WaitUntil([&] { return !engine.IsMarkedPlaying(source); }, SettleMs));
    EXPECT_FALSE(engine.IsPlaying(source));
    EXPECT_TRUE(engine.Play(source)); // from the start again
}

TEST_F(SoundEngineTest, StoppedStreamIsRewoundAndRefilled)
{
    // 2 s at 8000 Hz in chunks of 2000 frames, three buffers.
    Data* data = engine.CreateStream(SoundTest::MakeWav("stop_stream.wav", 1, 8000, 16000), 0.25f, 3);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetChunkSize(), 4000u);
    EXPECT_EQ(FirstFrameOfLastChunk(data), 4000);
    Source* source = engine.CreateSource(data, 0, 0);
    ASSERT_NE(source, nullptr);

    ASSERT_TRUE(engine.Play(source));
    // Past the first chunk: the thread has refilled its buffer with chunk 3.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    ASSERT_TRUE(engine.Stop(source));
    EXPECT_FALSE(engine.IsMarkedPlaying(source));
    EXPECT_EQ(SourceInt(source, AL_SOURCE_STATE), AL_INITIAL);
    EXPECT_EQ(SourceInt(source, AL_BUFFERS_QUEUED), 3);
    EXPECT_EQ(FirstFrameOfLastChunk(data), 4000); // the queue holds chunks 0, 1 and 2

    ASSERT_TRUE(engine.Play(source));
    EXPECT_LT(SourceInt(source, AL_SAMPLE_OFFSET), 2000);
    ASSERT_TRUE(engine.Rewind(source));
    EXPECT_TRUE(engine.IsMarkedPlaying(source));
    EXPECT_TRUE(engine.IsPlaying(source));
}

TEST_F(SoundEngineTest, StreamWithoutLoopingEndsAndPlaysAgainFromTheStart)
{
    // 0.3 s in chunks of 0.1 s, two buffers.
    Data* data = engine.CreateStream(SoundTest::MakeWav("end_stream.wav", 1, 8000, 2400), 0.1f, 2);
    ASSERT_NE(data, nullptr);
    Source* source = engine.CreateSource(data, 0, 0);
    ASSERT_NE(source, nullptr);

    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE(round);
        const Clock::time_point start = Clock::now();
        ASSERT_TRUE(engine.Play(source));
        Clock::time_point silent{};
        bool lastChunkFed = false;
        ASSERT_TRUE(WaitUntil(
            [&]
            {
                if (silent == Clock::time_point{} && SourceInt(source, AL_SOURCE_STATE) != AL_PLAYING)
                {
                    silent = Clock::now();
                }
                // The streaming thread reads chunks meanwhile.
                lastChunkFed =
                    lastChunkFed || SoundEngineTestAccess::WhileStreamingWaits(
                                        engine, [&] { return FirstFrameOfLastChunk(data); }) == 1600;
                return !engine.IsMarkedPlaying(source);
            },
            3000));
        // The whole sound played, and the flag followed within about one
        // pass. The null output mixes what it owes at once after a stall,
        // so on a loaded machine the sound can end sooner than its length:
        // then the third chunk seen in the queue shows it was not cut short.
        EXPECT_TRUE(lastChunkFed || SecondsSince(start) >= 0.25) << SecondsSince(start);
        ASSERT_NE(silent, Clock::time_point{});
        // A pass is 30 ms; the bound leaves room for a loaded machine.
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - silent).count(), 1.0);
        // Rewound and refilled: the buffers hold chunks 0 and 1 again.
        EXPECT_EQ(FirstFrameOfLastChunk(data), 800);
        EXPECT_EQ(SourceInt(source, AL_BUFFERS_QUEUED), 2);
    }
}

TEST_F(SoundEngineTest, LoopingStreamPlaysOnWithoutAGap)
{
    // 1 s in chunks of 0.25 s, four buffers; played for two and a half
    // lengths. The queue holds at least half a second, so only a stall of
    // the streaming thread, not a busy machine, can starve it.
    Data* data = engine.CreateStream(SoundTest::MakeWav("loop_stream2.wav", 1, 8000, 8000), 0.25f, 4);
    ASSERT_NE(data, nullptr);
    Source* source = engine.CreateSource(data, 0, 1);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine.Play(source));

    int gaps = 0;
    const Clock::time_point start = Clock::now();
    while (SecondsSince(start) < 2.5)
    {
        if (SourceInt(source, AL_SOURCE_STATE) != AL_PLAYING || SourceInt(source, AL_BUFFERS_QUEUED) < 2)
        {
            ++gaps;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(gaps, 0);
    EXPECT_TRUE(engine.IsMarkedPlaying(source));
    ASSERT_TRUE(engine.Stop(source));
    EXPECT_EQ(FirstFrameOfLastChunk(data), 6000);
}

TEST_F(SoundEngineTest, StopAllEmptiesTheEngineAndCanRunTwice)
{
    const std::string path = SoundTest::MakeWav("stop_all.wav", 1, 8000, 800);
    Data* whole = engine.LoadSound(path, SoundEngine::StreamThreshold);
    Data* stream = engine.CreateStream(SoundTest::MakeWav("stop_all_stream.wav", 1, 8000, 8000), 0.1f, 2);
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(stream, nullptr);
    Source* a = engine.CreateSource(whole, 0, 1);
    Source* b = engine.CreateSource(stream, 0, 1);
    ASSERT_TRUE(engine.Play(a));
    ASSERT_TRUE(engine.Play(b));
    const std::uint32_t idA = a->GetId();
    EXPECT_TRUE(engine.HasSource(a, idA));
    EXPECT_FALSE(engine.HasSource(a, b->GetId()));
    EXPECT_TRUE(engine.HasSoundData(stream));

    engine.StopAll();
    EXPECT_FALSE(engine.HasSource(a, idA));
    EXPECT_FALSE(engine.HasSoundData(stream));
    EXPECT_EQ(engine.GetSourceCount(), 0u);
    EXPECT_EQ(engine.GetInitialSource(), nullptr);
    EXPECT_EQ(engine.GetSoundDataCount(), 0u);
    EXPECT_EQ(engine.GetCacheSize(), 0u);
    EXPECT_EQ(engine.FindCachedSound(path, 0.0f), nullptr);
    engine.StopAll();
    EXPECT_EQ(engine.GetSourceCount(), 0u);

    // Still running: new sounds load and play.
    Source* again = engine.CreateSource(engine.LoadSound(path, SoundEngine::StreamThreshold), 0, 0);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(engine.Play(again));
    // A record at an address handed out before StopAll is not the old one.
    EXPECT_FALSE(engine.HasSource(again, idA));
    EXPECT_TRUE(engine.HasSource(again, again->GetId()));

    // Dropping the data alone detaches the sources that used it.
    engine.ReleaseAllSoundData();
    EXPECT_EQ(again->GetSoundData(), nullptr);
    EXPECT_EQ(again->GetKind(), Source::Nothing);
    EXPECT_FALSE(engine.IsMarkedPlaying(again));
}

// OpenAL keeps one error state per context, shared by both threads: a call
// framed on the main thread must not lose its error to the streaming thread
// clearing the state for its own calls, nor take one of the thread's.
TEST(SoundEngineThreadTest, MainThreadCallsKeepTheirOwnErrors)
{
    SoundEngine engine;
    ASSERT_TRUE(engine.Initialize(-1, 0)); // the thread passes without a pause
    Source* stream = engine.CreateSource(
        engine.CreateStream(SoundTest::MakeWav("busy_stream.wav", 1, 8000, 8000), 0.01f, 4), 0, 1);
    Source* source = engine.CreateSource(
        engine.LoadSound(SoundTest::MakeWav("busy_whole.wav", 1, 8000, 800), SoundEngine::StreamThreshold), 0,
        0);
    ASSERT_NE(stream, nullptr);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(engine.Play(stream));

    int wrong = 0;
    for (int i = 0; i < 20000; ++i)
    {
        wrong += source->SetGain(-1.0f) ? 1 : 0;
        wrong += source->SetGain(0.5f) ? 0 : 1;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(source->GetGain(), 0.5f);
}

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A short mono Ogg file whose header claims `rate` frames a second; the
// decoder takes any rate above 0.
std::string OggClaimingRate(const std::string& name, std::uint32_t rate)
{
    const std::string path = SoundTest::MakeOgg(name, 1, 22050, 4000);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    SoundTest::Bytes bytes(1 << 16);
    bytes.resize(file != nullptr ? std::fread(bytes.data(), 1, bytes.size(), file) : 0);
    if (file != nullptr)
    {
        std::fclose(file);
    }
    if (bytes.size() < 27 || bytes.size() < 27u + bytes[26])
    {
        return path;
    }
    // The identification packet opens the first page's body; its rate is at
    // byte 12. The page checksum is made again over the change.
    ogg_page page{};
    page.header = bytes.data();
    page.header_len = 27 + bytes[26];
    page.body = bytes.data() + page.header_len;
    for (int i = 0; i < bytes[26]; ++i)
    {
        page.body_len += bytes[27 + i];
    }
    for (int i = 0; i < 4; ++i)
    {
        page.body[12 + i] = static_cast<std::uint8_t>(rate >> (8 * i));
    }
    ogg_page_checksum_set(&page);
    return SoundTest::WriteFile(name, bytes);
}

TEST_F(SoundEngineTest, ClaimedOggRateDoesNotSizeTheDecodeBuffer)
{
    // 200 MB a second by the header, 8000 bytes of samples in the file.
    const std::string path = OggClaimingRate("claims_fast.ogg", 100000000);
    Data probe;
    ASSERT_EQ(probe.Open(path), Data::Ok);
    ASSERT_EQ(probe.GetFormat().byteRate, 200000000u);
    const long before = PeakKilobytes();
    engine.CreateStatic(path, 0.0f); // OpenAL may refuse the rate; the decode has run either way
    EXPECT_LT(PeakKilobytes() - before, 32 * 1024);
}

TEST_F(SoundEngineTest, SixChannelOggComesOutInOpenALOrder)
{
    Data* data = engine.CreateStream(SoundTest::MakeOgg("surround.ogg", 6, 22050, 22050), 0.25f, 2);
    ASSERT_NE(data, nullptr);
    const std::vector<std::uint8_t>& samples = data->GetSamples();
    ASSERT_EQ(samples.size(), 22050u / 4 * 12);
    // Vorbis channel c has amplitude (c + 1); OpenAL's order takes Vorbis
    // channels 0, 2, 1, 5, 3, 4.
    const int from[6] = {0, 2, 1, 5, 3, 4};
    const double unit = 0.08 * 32767.0 / std::sqrt(2.0);
    for (int channel = 0; channel < 6; ++channel)
    {
        SCOPED_TRACE(channel);
        const double rms =
            SoundTest::ChannelRms(samples.data(), static_cast<std::uint32_t>(samples.size()), 6, channel);
        EXPECT_NEAR(rms / unit, from[channel] + 1, 0.3);
    }
}

TEST_F(SoundEngineTest, ChunkReadsNeverPassTheData)
{
    // A chunk after the data: reading past the data's end must not reach it.
    const std::string path = SoundTest::WriteFile(
        "tail.wav", SoundTest::Riff({SoundTest::Chunk("fmt ", SoundTest::FmtPcm(1, 8000, 16)),
                                     SoundTest::Chunk("data", SoundTest::RampFrames16(1000, 1)),
                                     SoundTest::Chunk("junk", SoundTest::Bytes(4000, 0x55))}));
    Data* data = engine.CreateStream(path, 0.1f, 2);
    ASSERT_NE(data, nullptr);
    // The two buffers took 800 and 200 frames: the data is read to its end.
    std::uint32_t bytes = 0;
    ASSERT_EQ(data->ReadChunk(bytes), Data::Ok);
    EXPECT_EQ(bytes, 0u);
    ASSERT_EQ(data->Seek(2000 + 10), Data::Ok);
    bytes = 0;
    ASSERT_EQ(data->ReadChunk(bytes), Data::Ok);
    EXPECT_EQ(bytes, 0u);
    ASSERT_EQ(data->Seek(1800), Data::Ok);
    ASSERT_EQ(data->ReadChunk(bytes), Data::Ok);
    EXPECT_EQ(bytes, 200u);
    ASSERT_EQ(data->Rewind(), Data::Ok);
    ASSERT_EQ(data->ReadChunk(bytes), Data::Ok);
    EXPECT_EQ(bytes, 1600u);
    EXPECT_EQ(FirstFrameOfLastChunk(data), 0);
}

TEST_F(SoundEngineTest, BadFilesLoadNothing)
{
    const std::string good = SoundTest::MakeOgg("cut.ogg", 2, 22050, 44100);
    std::FILE* file = std::fopen(good.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    SoundTest::Bytes bytes(1 << 20);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    const std::string badWav = SoundTest::WriteFile(
        "bad.wav", SoundTest::Riff({SoundTest::Chunk("fmt ", SoundTest::Bytes(10, 1)),
                                    SoundTest::Chunk("data", SoundTest::Bytes(100, 0))}));
    const std::string badOgg =
        SoundTest::WriteFile("bad.ogg", SoundTest::Bytes(bytes.begin(), bytes.begin() + 40));

    // Each file is reported once on standard error, however often it is
    // tried, with the reason and the silence that stands in for it.
    const std::string none = SoundTest::Directory() + "/none.wav";
    ::testing::internal::CaptureStderr();
    for (const std::string& path : {badWav, badOgg, none})
    {
        SCOPED_TRACE(path);
        EXPECT_EQ(engine.LoadSound(path, SoundEngine::StreamThreshold), nullptr);
        EXPECT_EQ(engine.CreateStatic(path, 0.0f), nullptr);
        EXPECT_EQ(engine.CreateStream(path, 0.5f, 2), nullptr);
    }
    const std::string reports = ::testing::internal::GetCapturedStderr();
    const std::string unplayable =
        "\" (it is no WAV or Ogg Vorbis sound that can be played); the sound stays silent\n";
    for (const std::string& line :
         {"cannot read \"" + badWav + unplayable, "cannot read \"" + badOgg + unplayable,
          "cannot read \"" + none + "\" (No such file or directory); the sound stays silent\n"})
    {
        const std::size_t at = reports.find(line);
        EXPECT_NE(at, std::string::npos) << line << reports;
        EXPECT_EQ(reports.find(line, at + 1), std::string::npos) << line << reports;
    }
    EXPECT_EQ(engine.GetSoundDataCount(), 0u);
    EXPECT_EQ(engine.GetCacheSize(), 0u);

    // An Ogg file cut in the middle of its audio decodes what is there.
    const std::string half =
        SoundTest::WriteFile("half.ogg", SoundTest::Bytes(bytes.begin(), bytes.begin() + bytes.size() / 2));
    Data* data = engine.CreateStatic(half, 0.0f);
    if (data != nullptr)
    {
        EXPECT_LE(BufferSize(data->GetBuffers()[0]), 44100 * 4);
    }
    Data* stream = engine.CreateStream(half, 0.1f, 2);
    if (stream != nullptr)
    {
        Source* source = engine.CreateSource(stream, 0, 0);
        ASSERT_NE(source, nullptr);
        ASSERT_TRUE(engine.Play(source));
        EXPECT_TRUE(WaitUntil([&] { return !engine.IsMarkedPlaying(source); }, SettleMs));
    }
}

} // namespace
