// The game's hot paths: a level switch's building work (the 42 collision
// actors and a level's skeleton with its collision files and music) and the
// game classes' lookups by name and type, which run every frame; the level
// switch and the play frame on the real renderer are in
// bench_game_frames.cpp, and their ratios are printed here.
//
// The Game opens a window, so these runs need a display (xvfb-run).

#include "BenchRatio.h"
#include "bench_game_frames.h"

#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_whiteball.h"
#include "levels/Brillow_MyLevelFactory.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace
{

// A game whose window is small; the level of `index` is current.
Core::RefPtr<MyGame> MakeGame(std::uint32_t index)
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    Core::RefPtr<MyGame> game(
        new MyGame(new MyLevelFactory(), Engine::DisplayRequest{64, 48, 60, 0, false, false}, index));
    game->RunFrame();
    return game;
}

// One level build as a switch does it: actors freed, factory reset, level
// made (range(0) is the level index).
void BM_BuildLevel(benchmark::State& state)
{
    Core::RefPtr<MyGame> game = MakeGame(0);
    auto* factory = static_cast<MyLevelFactory*>(game->GetLevelFactory().Get());
    const auto index = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state)
    {
        game->ClearCollisionAssets();
        factory->Init();
        Core::RefPtr<Velkor::Level> level(factory->CreateLevel(index));
        benchmark::DoNotOptimize(level.Get());
        level->Clear();
    }
    game->Shutdown();
}

BENCHMARK(BM_BuildLevel)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

// FindObject and FindAllObjects over a level whose layers hold range(0)
// objects, a quarter of them coloured balls under one name among enemies
// of the same name, as the play level's clones are.
void BM_FindObjects(benchmark::State& state)
{
    Core::RefPtr<MyGame> game = MakeGame(5);
    Velkor::Level* level = game->GetCurrentLevel();
    const auto count = state.range(0);
    for (std::int64_t i = 0; i < count; ++i)
    {
        Velkor::GameObject* object = i % 4 == 0 ? static_cast<Velkor::GameObject*>(new ball())
                                                : static_cast<Velkor::GameObject*>(new whiteball());
        object->SetName(i % 2 == 0 ? "bgc" : "wb" + std::to_string(i % 7));
        level->GetLayer(1 + static_cast<std::uint32_t>(i % 2))->AddGameObject(object);
    }
    // The layers take them in at their next walk; the level machine's
    // request for the main menu made in that frame is never carried out.
    game->RunFrame();
    std::vector<ball*> balls;
    for (auto _ : state)
    {
        FindAllObjects<ball>("bgc", balls);
        benchmark::DoNotOptimize(FindObject<whiteball>("wb3"));
        benchmark::DoNotOptimize(balls.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
    game->Shutdown();
}

BENCHMARK(BM_FindObjects)->Arg(100)->Arg(1000);

// Each load's play frame: its phases against the 16.7 ms frame, the engine
// side (everything but rendering and the swap) against its 2 ms, and the
// frame rate the window holds with every frame drawn and swapped.
void PrintPlayFrameRatios()
{
    constexpr double FrameMilliseconds = 1000.0 / 60.0;
    constexpr double EngineMilliseconds = 2.0;
    for (const PlayFrameReport& report : GetPlayFrameReports())
    {
        const char* load = report.load.c_str();
        std::printf("play frame, %s: %zu frames measured; seeds (frames): %s\n", load, report.frames,
                    report.seeds.empty() ? "none" : report.seeds.c_str());
        std::printf("play frame, %s: the measured frames held: %s\n", load, report.state.c_str());
        if (report.frames == 0)
        {
            continue;
        }
        for (std::size_t i = 0; i < Velkor::FramePhaseCount; ++i)
        {
            const char* name = Velkor::GetFramePhaseName(static_cast<Velkor::FramePhase>(i));
            std::printf("ratio play frame %s %s p50 of the 16.7 ms frame: %.4f\n", load, name,
                        report.p50[i] / FrameMilliseconds);
            std::printf("ratio play frame %s %s p99 of the 16.7 ms frame: %.4f\n", load, name,
                        report.p99[i] / FrameMilliseconds);
        }
        std::printf("ratio play frame %s engine side p50 of 2 ms: %.3f\n", load,
                    report.engineP50 / EngineMilliseconds);
        std::printf("ratio play frame %s engine side p99 of 2 ms: %.3f\n", load,
                    report.engineP99 / EngineMilliseconds);
        std::printf("play frame, %s: frames per second the window holds (goal 60): %.1f at the mean frame of "
                    "%.2f ms, "
                    "%.1f at the p99 frame of %.2f ms\n",
                    load, 1000.0 / report.wallMean, report.wallMean, 1000.0 / report.wallP99, report.wallP99);
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // Wall-clock times: the renderer and the sound engine work on threads
    // of their own.
    bench::RatioReporter reporter(true);
    const std::string switchRun = "BM_LevelSwitchMenuToPlay/iterations:5/real_time";
    reporter.Compare("level switch menu to play vs its pictures, fonts and sounds loaded through the caches",
                     switchRun, "BM_PlayLevelAssetsThroughCaches/iterations:5/real_time");
    // Those two run in milliseconds.
    reporter.CompareWithTime("level switch menu to play, of the 1.0 s loading screen", switchRun, 1000.0);
    reporter.CompareWithTime("level switch menu to play, of one 16.7 ms frame", switchRun, 1000.0 / 60.0);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    PrintPlayFrameRatios();
    benchmark::Shutdown();
    return 0;
}
