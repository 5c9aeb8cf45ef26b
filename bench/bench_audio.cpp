// Ogg Vorbis decoding through the engine's streaming path (a stream record
// read chunk by chunk, as the streaming thread refills its buffers) against
// a plain ov_read loop into memory, on the same file in the same run.

#include "BenchRatio.h"

#include "SoundFiles.h"
#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace
{

constexpr long Rate = 44100;
constexpr long Seconds = 10;

const std::string& OggFile()
{
    static const std::string path = SoundTest::MakeOgg("bench.ogg", 2, Rate, Rate * Seconds);
    return path;
}

void BM_StreamingPathDecode(benchmark::State& state)
{
    SoundEngine engine;
    if (!engine.Initialize(-1, 30))
    {
        state.SkipWithError("no OpenAL device");
        return;
    }
    SoundEngine::SoundData* data = engine.CreateStream(OggFile(), 0.5f, 2);
    if (data == nullptr)
    {
        state.SkipWithError("the stream did not open");
        return;
    }
    std::int64_t total = 0;
    for (auto _ : state)
    {
        data->Rewind();
        std::uint32_t bytes = 0;
        do
        {
            bytes = 0;
            data->ReadChunk(bytes);
            total += bytes;
        } while (bytes > 0);
        benchmark::DoNotOptimize(data->GetSamples().data());
    }
    state.SetBytesProcessed(total);
}

void BM_RawOvRead(benchmark::State& state)
{
    OggVorbis_File file;
    if (ov_fopen(OggFile().c_str(), &file) != 0)
    {
        state.SkipWithError("ov_fopen failed");
        return;
    }
    const vorbis_info* info = ov_info(&file, -1);
    std::vector<char> memory(static_cast<std::size_t>(ov_pcm_total(&file, -1)) * 2 * info->channels);
    std::int64_t total = 0;
    for (auto _ : state)
    {
        ov_raw_seek(&file, 0);
        std::size_t offset = 0;
        int section = 0;
        while (offset < memory.size())
        {
            const long got = ov_read(&file, memory.data() + offset, static_cast<int>(memory.size() - offset),
                                     0, 2, 1, &section);
            if (got <= 0)
            {
                break;
            }
            offset += static_cast<std::size_t>(got);
        }
        total += static_cast<std::int64_t>(offset);
        benchmark::DoNotOptimize(memory.data());
    }
    state.SetBytesProcessed(total);
    ov_clear(&file);
}

BENCHMARK(BM_StreamingPathDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawOvRead)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Benchmarks never need a sound card.
    setenv("ALSOFT_DRIVERS", "null", 0);
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    reporter.Compare("Ogg decode, streaming path vs ov_read to memory", "BM_StreamingPathDecode",
                     "BM_RawOvRead");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
