// Saved games and replays. A save writes the whole game (collision assets
// and world, the level with every object, the physics world) into memory; a
// load reads it back, after saving the running game into memory and tearing
// it down. Both are set beside the cheapest thing that touches the same
// bytes: copying them into a Core::MemoryFile.
//
// The replay's size: one minute of play at 60 frames per second, with the
// pointer moving every frame and keys and a button going down and up now
// and then, recorded and written as the replay-data file.
//
// The Game opens a window, so these runs need a display (xvfb-run).

#include "bench_framework_saves.h"

#include "Demo_FrameworkLevel.h"

#include "core/Core_Clock.h"
#include "core/Core_MemoryFile.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_ReplayRecord.h"
#include "input/Input_InputSource.h"
#include "input/Input_KeyCodes.h"
#include "input/Input_ScriptedInputSource.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

constexpr std::uint32_t SavedBalls = 1000;

Core::RefPtr<Velkor::Game> MakeBallGame(std::uint32_t balls)
{
    FrameworkDemoSettings settings;
    settings.balls = balls;
    settings.bodies = 6;
    settings.showCollisionData = false;
    settings.fountain = false;
    Core::RefPtr<Velkor::Game> game(new Velkor::Game(new FrameworkDemoFactory(settings),
                                                     Engine::DisplayRequest{64, 48, 60, 0, false, false}, 0));
    // The first tick makes the level; a second starts every object.
    game->RunFrame();
    game->RunFrame();
    return game;
}

std::vector<std::uint8_t> SaveOf(const Velkor::Game& game)
{
    Core::MemoryFile file;
    game.SaveGame(file);
    return file.GetBuffer();
}

void BM_SaveLevel(benchmark::State& state)
{
    Core::RefPtr<Velkor::Game> game = MakeBallGame(SavedBalls);
    std::size_t bytes = 0;
    for (auto _ : state)
    {
        Core::MemoryFile file;
        game->SaveGame(file);
        bytes = file.GetSize();
        benchmark::DoNotOptimize(file.GetData());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    game->Shutdown();
}

void BM_LoadLevel(benchmark::State& state)
{
    Core::RefPtr<Velkor::Game> game = MakeBallGame(SavedBalls);
    const std::vector<std::uint8_t> bytes = SaveOf(*game);
    std::string error;
    for (auto _ : state)
    {
        if (!game->LoadGame(bytes, error))
        {
            state.SkipWithError(("the level's save does not load: " + error).c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    game->Shutdown();
}

// The same bytes copied into a memory file, as a save's last step would.
void BM_CopySavedBytes(benchmark::State& state)
{
    Core::RefPtr<Velkor::Game> game = MakeBallGame(SavedBalls);
    const std::vector<std::uint8_t> bytes = SaveOf(*game);
    game->Shutdown();
    for (auto _ : state)
    {
        Core::MemoryFile file;
        file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        benchmark::DoNotOptimize(file.GetData());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// The frame tick reads the clock; each read of the main thread is a
// sixtieth of a second later, so a minute of play takes 3,600 frames and no
// waiting.
double SteppedClock()
{
    static double now = 0.0;
    now += 1000.0 / 60.0;
    return now;
}

std::size_t g_replayBytesPerMinute = 0;

void BM_ReplayMinute(benchmark::State& state)
{
    Input::ScriptedInputSource input;
    input.SetClientArea({0, 0, 1024, 768});
    Input::InputSource::SetCurrent(&input);
    const Core::ClockFunction previous = Core::GetClockFunction();
    Core::SetClockFunction(&SteppedClock);
    for (auto _ : state)
    {
        Core::RefPtr<Velkor::Game> game = MakeBallGame(14);
        game->ReplayRecordingStart("bench_minute");
        constexpr int Frames = 60 * 60;
        for (int f = 0; f < Frames; ++f)
        {
            input.SetCursor(200 + (f * 7) % 600, 150 + (f * 13) % 450);
            input.SetKeyDown(Input::VirtualKey::LButton, (f / 40) % 3 == 1);
            input.SetKeyDown(Input::VirtualKey::Right, f % 90 < 30);
            input.SetKeyDown(Input::VirtualKey::Up, f % 70 > 50);
            input.SetKeyDown(Input::VirtualKey::Space, f % 120 == 0);
            game->RunFrame();
        }
        Core::MemoryFile file;
        Velkor::WriteReplayRecords(file, game->GetReplayRecords());
        g_replayBytesPerMinute = file.GetSize();
        state.counters["bytes_per_minute"] = static_cast<double>(file.GetSize());
        game->Shutdown();
    }
    Core::SetClockFunction(previous);
    Input::InputSource::SetCurrent(nullptr);
}

BENCHMARK(BM_SaveLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopySavedBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayMinute)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

namespace bench
{

void CompareSaves(RatioReporter& reporter)
{
    reporter.Compare("save of a level of 1,000 balls vs copying its bytes into a memory file", "BM_SaveLevel",
                     "BM_CopySavedBytes");
    reporter.Compare("load of a level of 1,000 balls vs copying its bytes into a memory file", "BM_LoadLevel",
                     "BM_CopySavedBytes");
}

void PrintReplayBytes()
{
    if (g_replayBytesPerMinute != 0)
    {
        std::printf("replay bytes per minute of busy play: %zu\n", g_replayBytesPerMinute);
    }
}

} // namespace bench
