// The game's frame costs on the real renderer (under Xvfb with Mesa): a
// level switch from the main menu into the play level beside loading the
// same pictures, fonts and sounds straight through their caches, and the
// play frame's phases under three loads, each played by the win autopilot
// of the play-through tests on pinned seeds: stage 1; stage 3 with its field
// near full and spike balls crushing; stage 4 or later with both lasers and
// an open black hole.

#include "bench_game_frames.h"

#include "BrillowAutopilot.h"
#include "Harness_InputScript.h"
#include "Harness_RunHarness.h"
#include "audio/Sound_Engine.h"
#include "engine/Engine_FontCache.h"
#include "engine/Engine_Text.h"
#include "framework/Velkor_FrameTimer.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_GameLevel.h"
#include "game/Brillow_MyGame.h"
#include "levels/Brillow_MyLevelFactory.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_FrameGateRenderer.h"
#include "renderer/Renderer_TextureCache.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{

constexpr std::uint32_t MenuIndex = 0;
constexpr std::uint32_t PlayIndex = 1;
constexpr std::uint32_t PlayFrames = 3600;

// The game in its own window at the game's size, under the run harness with
// a fixed step and `input` as its scripted input, on `seed`, drawing with
// the renderer `renderer` makes (the OpenGL renderer for null).
struct HarnessedGame
{
    explicit HarnessedGame(const std::vector<Harness::InputEvent>& input = {}, std::uint32_t seed = 1234,
                           Engine::RenderingApplication::RendererFactory renderer = nullptr)
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        MyLevelFactory::SetFixedSeed(seed);
        Engine::RenderingApplication::SetRendererFactory(renderer);
        Core::RefPtr<MyGame> made(new MyGame(new MyLevelFactory(), MyGame::GetDisplayRequest(), MenuIndex));
        Engine::RenderingApplication::SetRendererFactory(nullptr);
        game = made.Get();
        harness = new Harness::RunHarness(Harness::RunOptions::Scripted(input), made, nullptr);
    }
    ~HarnessedGame()
    {
        harness.Reset();
        MyLevelFactory::SetFixedSeed(std::nullopt);
        PAL::ProcessMessages();
    }
    HarnessedGame(const HarnessedGame&) = delete;
    HarnessedGame& operator=(const HarnessedGame&) = delete;

    void Frame()
    {
        harness->BeginFrame();
        harness->RunFrame();
        harness->EndFrame();
    }
    // Runs frames until the level of `index` is current (at most `limit`).
    bool FrameUntilLevel(std::uint32_t index, int limit)
    {
        for (int i = 0; i < limit; ++i)
        {
            if (game->GetCurrentLevel() != nullptr && game->GetCurrentLevelIndex() == index &&
                !game->IsLevelSwitchPending())
            {
                return true;
            }
            Frame();
        }
        return false;
    }

    Core::RefPtr<Harness::RunHarness> harness;
    MyGame* game = nullptr;
};

// What the play level loads through the caches.
struct PlayLevelAssets
{
    struct SoundFile
    {
        std::string fileName;
        float split;
        std::uint8_t forceStatic;
    };
    std::vector<std::string> textures;
    std::vector<std::string> fonts;
    std::vector<SoundFile> sounds;
};

// Built once from a play level made in a game of its own.
const PlayLevelAssets& GetPlayLevelAssets()
{
    static const PlayLevelAssets assets = []
    {
        PlayLevelAssets found;
        HarnessedGame run;
        run.Frame();
        run.game->ChangeLevel(PlayIndex);
        run.Frame();
        // A switch keeps the textures of the level it leaves for one switch
        // more: a restart lets go of the menu's, so only the play level's
        // stay live.
        run.game->RestartLevel();
        run.Frame();
        const Velkor::Level* level = run.game->GetCurrentLevel();
        std::set<std::string> fontTextures;
        Velkor::Layer::ObjectList objects;
        for (std::uint32_t i = 0; level != nullptr && i < level->GetLayersCount(); ++i)
        {
            level->GetLayer(i)->GetGameObjects(objects);
            for (const Core::RefPtr<Velkor::GameObject>& object : objects)
            {
                if (const auto* text = dynamic_cast<const Velkor::Text*>(object.Get()))
                {
                    const std::string& font = text->GetEngineText()->GetFont()->GetName();
                    if (fontTextures.insert(font + ".png").second)
                    {
                        found.fonts.push_back(font);
                    }
                }
                else if (const auto* sound = dynamic_cast<const Velkor::Sound*>(object.Get()))
                {
                    found.sounds.push_back(
                        {sound->GetFileName(), sound->GetSplit(), sound->GetForceStatic()});
                }
            }
        }
        for (const Renderer::TextureOGL* texture : Renderer::TextureCache::GetInstance().GetTextures())
        {
            if (fontTextures.count(texture->GetName()) == 0)
            {
                found.textures.push_back(texture->GetName());
            }
        }
        run.game->Shutdown();
        return found;
    }();
    return assets;
}

// One level switch from the main menu into the play level: the menu's
// teardown, the factory's build of the play level (its actors, sprites with
// their sheets, sounds and collision files) and its start, with the play
// level's first frame update. The font cache is emptied between switches so
// that each one builds its fonts as the first does.
void BM_LevelSwitchMenuToPlay(benchmark::State& state)
{
    GetPlayLevelAssets();
    HarnessedGame run;
    run.FrameUntilLevel(MenuIndex, 10);
    for (auto _ : state)
    {
        state.PauseTiming();
        run.game->ChangeLevel(MenuIndex);
        run.Frame();
        run.Frame();
        if (Engine::FontCache* fonts = Engine::FontCache::GetInstance())
        {
            fonts->Clear();
        }
        run.game->ChangeLevel(PlayIndex);
        state.ResumeTiming();
        run.harness->RunFrame();
        state.PauseTiming();
        run.harness->EndFrame();
        if (run.game->GetCurrentLevelIndex() != PlayIndex)
        {
            state.SkipWithError("the switch did not reach the play level");
        }
        state.ResumeTiming();
    }
    run.game->Shutdown();
}

BENCHMARK(BM_LevelSwitchMenuToPlay)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The same pictures, fonts and sounds loaded straight through the texture
// cache, the font cache and the sound engine's cache, in a game that has
// made no level.
void BM_PlayLevelAssetsThroughCaches(benchmark::State& state)
{
    const PlayLevelAssets& assets = GetPlayLevelAssets();
    HarnessedGame run;
    SoundEngine* sounds = run.game->GetSoundEngine();
    Engine::FontCache* fonts = Engine::FontCache::GetInstance();
    std::vector<Core::RefPtr<Renderer::TextureOGL>> held;
    for (auto _ : state)
    {
        for (const std::string& texture : assets.textures)
        {
            held.push_back(Renderer::LoadTexture(texture, true));
        }
        for (const std::string& font : assets.fonts)
        {
            benchmark::DoNotOptimize(fonts->GetFont(font).Get());
        }
        for (const PlayLevelAssets::SoundFile& sound : assets.sounds)
        {
            if (sounds->FindCachedSound(sound.fileName, sound.split) == nullptr)
            {
                benchmark::DoNotOptimize(
                    sound.split == 0.0f && sound.forceStatic == 0
                        ? sounds->LoadSound(sound.fileName, Velkor::Sound::StreamThreshold)
                        : sounds->CreateStatic(sound.fileName, sound.split));
            }
        }
        state.PauseTiming();
        held.clear();
        fonts->Clear();
        sounds->StopAll();
        state.ResumeTiming();
    }
    state.counters["textures"] = static_cast<double>(assets.textures.size());
    state.counters["fonts"] = static_cast<double>(assets.fonts.size());
    state.counters["sounds"] = static_cast<double>(assets.sounds.size());
    run.game->Shutdown();
}

BENCHMARK(BM_PlayLevelAssetsThroughCaches)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The menu's part of the pointer script: the intro skipped with Enter, then
// START clicked (window pixels, y up from the bottom).
std::vector<Harness::InputEvent> StartScript()
{
    std::vector<Harness::InputEvent> events;
    Harness::ParseInputScript("2 move 512 430\n"
                              "5 key-down enter\n"
                              "6 key-up enter\n"
                              "20 move 270 336\n"
                              "24 press left\n"
                              "25 release left\n",
                              events);
    return events;
}

// The play level's objects in one frame, as a load's state is judged.
struct FieldCount
{
    std::size_t coloured = 0;
    std::size_t white = 0;
    std::size_t spiked = 0;
    std::size_t beams = 0;
    std::size_t crossBeams = 0;
    bool holeOpen = false;
    bool stageComplete = false;
    bool powered = false;
    std::int32_t stage = 0;
    // The spike balls, to tell which of them went in the next frame (only
    // compared, never followed).
    std::vector<const void*> spikes;

    std::size_t Balls() const { return coloured + white + spiked; }
};

FieldCount CountField(const MyGame& game)
{
    FieldCount count;
    const auto* level = dynamic_cast<const GameLevel*>(game.GetCurrentLevel());
    if (level == nullptr || game.IsLevelSwitchPending())
    {
        return count;
    }
    std::vector<SpikeBall*> spiked;
    FindAllObjects<SpikeBall>("ss", spiked);
    count.coloured = CountObjects<ball>("bgc");
    count.white = CountObjects<whiteball>("wb");
    count.spiked = spiked.size();
    count.beams = CountObjects<LazerClass>("lz");
    count.crossBeams = CountObjects<Lazer1Class>("lz1");
    count.holeOpen = level->blackHoleActive != 0;
    count.stageComplete = level->stageComplete != 0;
    const SpriteMouseClass* player = FindObject<SpriteMouseClass>("playerball");
    count.powered = player != nullptr && player->powered != 0;
    count.stage = game.stage;
    count.spikes.assign(spiked.begin(), spiked.end());
    return count;
}

// One game from the menu's START on a pinned seed, the win autopilot at the
// pointer from the play level's first frame on, as the play-through tests
// play it. Every frame runs on the OpenGL renderer behind a gate: a frame to
// be measured is drawn whole, the others (the way to the load's state) are
// played without their drawing, which the game cannot tell (the
// play-through tests log the same frames either way).
struct AutopilotRun
{
    explicit AutopilotRun(std::uint32_t seed) : run(StartScript(), seed, &Renderer::FrameGateRenderer::Make)
    {
        gate = Renderer::FrameGateRenderer::GetGate();
    }

    // One frame, drawn or not; answers its wall-clock milliseconds from the
    // frame's start to the end of its swap.
    double Frame(bool drawn)
    {
        if (dynamic_cast<const GameLevel*>(run.game->GetCurrentLevel()) != nullptr &&
            static_cast<const GameLevel*>(run.game->GetCurrentLevel())->paused == 0)
        {
            pointer = pilot.Steer(pointer);
            Harness::InputEvent move;
            move.kind = Harness::InputEvent::Kind::Move;
            move.x = static_cast<std::int32_t>(std::lround(pointer.x)) + 512;
            move.y = static_cast<std::int32_t>(std::lround(pointer.y)) + 384;
            Harness::ApplyInputEvent(move, run.harness->GetInputSource());
        }
        if (gate != nullptr)
        {
            gate->SetDrawing(drawn);
        }
        const auto start = std::chrono::steady_clock::now();
        run.Frame();
        const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
        if (gate != nullptr)
        {
            gate->SetDrawing(false);
        }
        return wall.count();
    }

    // Plays again from stage 1 with `seed` pinned, as the pause menu's
    // restart button does: the play level is built anew in the same window.
    // The game's texture hold keeps the textures over the switch, so the
    // level is built from the texture cache. False when the new play level is
    // not there.
    bool PlayAgain(std::uint32_t seed)
    {
        MyLevelFactory::SetFixedSeed(seed);
        run.game->RestartLevel();
        pilot = BrillowTest::BrillowAutopilot();
        pointer = Math::Vector2D(0.0f, 46.0f);
        return run.FrameUntilLevel(PlayIndex, 10) && run.game->stage == 1;
    }

    HarnessedGame run;
    Renderer::FrameGateRenderer* gate = nullptr;
    BrillowTest::BrillowAutopilot pilot;
    Math::Vector2D pointer{0.0f, 46.0f};
};

// A load: games on `seeds` played by the win autopilot, measuring every
// frame that starts in the load's state (`holds`, judged on the field the
// frame before left) and that state still holds at its end, until `wanted`
// frames are measured. A game is left when its play ends, when the state
// has been and gone for good (`over`) or after `limit` frames.
struct PlayLoad
{
    std::string name;
    std::vector<std::uint32_t> seeds;
    std::size_t wanted = 0;
    std::uint32_t limit = 0;
    std::function<bool(const FieldCount&)> holds;
    std::function<bool(const FieldCount&)> over;
};

std::vector<PlayFrameReport> g_playFrames;

// What the measured frames held, to show the load is what it says.
struct LoadState
{
    std::size_t minimumBalls = std::numeric_limits<std::size_t>::max();
    std::size_t maximumBalls = 0;
    double balls = 0.0;
    std::size_t minimumSpiked = std::numeric_limits<std::size_t>::max();
    std::size_t maximumSpiked = 0;
    std::size_t withBothBeams = 0;
    std::size_t withHoleOpen = 0;
    std::int32_t minimumStage = std::numeric_limits<std::int32_t>::max();
    std::int32_t maximumStage = 0;
    // Spike balls gone in a measured frame that took coloured balls with
    // them, while nothing else could remove a spike ball: the player not
    // powered, no hole open, the stage not complete (no white laser).
    std::size_t crushes = 0;

    void Add(const FieldCount& before, const FieldCount& after)
    {
        minimumBalls = std::min(minimumBalls, after.Balls());
        maximumBalls = std::max(maximumBalls, after.Balls());
        balls += static_cast<double>(after.Balls());
        minimumSpiked = std::min(minimumSpiked, after.spiked);
        maximumSpiked = std::max(maximumSpiked, after.spiked);
        withBothBeams += after.beams > 0 && after.crossBeams > 0 ? 1 : 0;
        withHoleOpen += after.holeOpen ? 1 : 0;
        minimumStage = std::min(minimumStage, after.stage);
        maximumStage = std::max(maximumStage, after.stage);
        if (!before.powered && !before.holeOpen && !before.stageComplete && !after.stageComplete &&
            after.coloured < before.coloured)
        {
            for (const void* spike : before.spikes)
            {
                crushes +=
                    std::find(after.spikes.begin(), after.spikes.end(), spike) == after.spikes.end() ? 1 : 0;
            }
        }
    }

    std::string Describe(std::size_t frames) const
    {
        if (frames == 0)
        {
            return "none";
        }
        char text[400];
        std::snprintf(
            text, sizeof(text),
            "stage %d-%d; balls on the field (coloured + white + spike) %zu-%zu, mean %.1f; spike balls "
            "%zu-%zu, %zu crushed with coloured balls; both lasers in %zu frames; a hole open in %zu frames",
            minimumStage, maximumStage, minimumBalls, maximumBalls, balls / static_cast<double>(frames),
            minimumSpiked, maximumSpiked, crushes, withBothBeams, withHoleOpen);
        return text;
    }
};

PlayFrameReport MeasureLoad(const PlayLoad& load)
{
    PlayFrameReport report;
    report.load = load.name;
    Velkor::FrameTimer measured;
    std::vector<double> wall;
    LoadState state;
    std::unique_ptr<AutopilotRun> game;
    for (const std::uint32_t seed : load.seeds)
    {
        if (measured.GetFrameCount() >= load.wanted)
        {
            break;
        }
        if (!game || !game->PlayAgain(seed))
        {
            game.reset();
            game = std::make_unique<AutopilotRun>(seed);
            game->run.game->SetFrameTimerEnabled(true);
        }
        const Velkor::FrameTimer& timer = *game->run.game->GetFrameTimer();
        std::size_t fromThisSeed = 0;
        bool played = false;
        FieldCount before = CountField(*game->run.game);
        for (std::uint32_t i = 0; i < load.limit && measured.GetFrameCount() < load.wanted; ++i)
        {
            const bool drawn = load.holds(before);
            const std::size_t timed = timer.GetFrameCount();
            const double milliseconds = game->Frame(drawn);
            FieldCount after = CountField(*game->run.game);
            if (drawn && load.holds(after) && timer.GetFrameCount() == timed + 1)
            {
                const Velkor::FrameTimer::PhaseTimes& phases = timer.GetFrames().back();
                for (std::size_t p = 0; p < Velkor::FramePhaseCount; ++p)
                {
                    measured.Add(static_cast<Velkor::FramePhase>(p), phases[p]);
                }
                measured.EndFrame();
                wall.push_back(milliseconds);
                state.Add(before, after);
                ++fromThisSeed;
            }
            // The play ends on the win or a lose screen.
            const bool playing = game->run.game->GetCurrentLevelIndex() == PlayIndex;
            played = played || playing;
            if ((played && !playing) || load.over(after))
            {
                break;
            }
            before = std::move(after);
        }
        if (fromThisSeed > 0)
        {
            report.seeds += (report.seeds.empty() ? "" : ", ") + std::to_string(seed) + " (" +
                            std::to_string(fromThisSeed) + ")";
        }
    }
    if (game)
    {
        game->run.game->Shutdown();
    }
    report.frames = measured.GetFrameCount();
    report.state = state.Describe(report.frames);
    for (std::size_t i = 0; i < Velkor::FramePhaseCount; ++i)
    {
        const auto phase = static_cast<Velkor::FramePhase>(i);
        report.p50[i] = measured.GetPercentile(phase, 50.0);
        report.p99[i] = measured.GetPercentile(phase, 99.0);
    }
    report.engineP50 = measured.GetEngineSidePercentile(50.0);
    report.engineP99 = measured.GetEngineSidePercentile(99.0);
    if (!wall.empty())
    {
        double sum = 0.0;
        for (const double milliseconds : wall)
        {
            sum += milliseconds;
        }
        report.wallMean = sum / static_cast<double>(wall.size());
        std::sort(wall.begin(), wall.end());
        // Nearest rank, as the frame timer counts it.
        const auto rank = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(wall.size())));
        report.wallP99 = wall[std::max<std::size_t>(rank, 1) - 1];
    }
    return report;
}

void RunLoad(benchmark::State& state, const PlayLoad& load)
{
    for (auto _ : state)
    {
        PlayFrameReport report = MeasureLoad(load);
        state.counters["frames"] = static_cast<double>(report.frames);
        if (report.frames < load.wanted)
        {
            state.SkipWithError("the autopilot's games held the load's state for too few frames");
        }
        g_playFrames.push_back(std::move(report));
    }
}

std::vector<std::uint32_t> SeedsFrom(std::uint32_t first, std::uint32_t count)
{
    std::vector<std::uint32_t> seeds;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        seeds.push_back(first + i);
    }
    return seeds;
}

// Stage 1 of the play level, from its first frame until the white laser has
// swept and stage 2 begins. The autopilot clears it in a few hundred frames,
// so the 3,600 frames come from games on consecutive seeds, each played
// until its stage 1 ends and the next restarted in the same window.
void BM_PlayFrameStageOne(benchmark::State& state)
{
    RunLoad(state, {"stage 1", SeedsFrom(4242, 60), PlayFrames, 4000,
                    [](const FieldCount& field) { return field.stage == 1; },
                    [](const FieldCount& field) { return field.stage > 1; }});
}

BENCHMARK(BM_PlayFrameStageOne)->Unit(benchmark::kSecond)->Iterations(1);

// Stage 3 while at least 50 balls are on the field (its spawning stops at
// 60) with spike balls among them. On seed 4247 the autopilot lets stage 3's
// field fill up for over 800 frames; its spike balls crush coloured balls
// now and then.
void BM_PlayFrameStageThreeCrowded(benchmark::State& state)
{
    RunLoad(state,
            {"stage 3 crowded",
             {4247},
             600,
             6000,
             [](const FieldCount& field)
             { return field.stage == 3 && !field.stageComplete && field.Balls() >= 50 && field.spiked > 0; },
             [](const FieldCount& field) { return field.stage > 3; }});
}

BENCHMARK(BM_PlayFrameStageThreeCrowded)->Unit(benchmark::kSecond)->Iterations(1);

// Stage 4 or later while both lasers are on the field and a black hole is
// open: on seed 4253 the autopilot opens holes among the lasers of stage 4
// for over 800 frames.
void BM_PlayFrameLasersAndHole(benchmark::State& state)
{
    RunLoad(state, {"stage 4+ lasers and hole",
                    {4253},
                    600,
                    9000,
                    [](const FieldCount& field)
                    { return field.stage >= 4 && field.beams > 0 && field.crossBeams > 0 && field.holeOpen; },
                    [](const FieldCount&) { return false; }});
}

BENCHMARK(BM_PlayFrameLasersAndHole)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

const std::vector<PlayFrameReport>& GetPlayFrameReports()
{
    return g_playFrames;
}
