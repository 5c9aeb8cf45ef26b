// The game's frame costs on the real renderer (under Xvfb with Mesa): a
// level switch from the main menu into the play level beside loading the
// same pictures, fonts and sounds straight through their caches, and the
// play frame's phases over a minute of stage 1 driven by a pointer script.

#include "bench_game_frames.h"

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
#include "game/Brillow_MyGame.h"
#include "levels/Brillow_MyLevelFactory.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_TextureCache.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace
{

constexpr std::uint32_t MenuIndex = 0;
constexpr std::uint32_t PlayIndex = 1;
constexpr std::uint32_t PlayFrames = 3600;

// The game in its own window at the game's size, under the run harness with
// a fixed step and `input` as its scripted input.
struct HarnessedGame
{
    explicit HarnessedGame(const std::vector<Harness::InputEvent>& input = {})
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        MyLevelFactory::SetFixedSeed(1234);
        Core::RefPtr<MyGame> made(new MyGame(new MyLevelFactory(), MyGame::GetDisplayRequest(), MenuIndex));
        game = made.Get();
        Harness::RunOptions options;
        options.fixedStep = true;
        options.scriptedInput = true;
        options.input = input;
        harness = new Harness::RunHarness(options, made, nullptr);
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

// The play part: the pointer sweeps the arena on a slow Lissajous figure.
Harness::InputEvent SweepMove(std::uint32_t playFrame)
{
    const double t = static_cast<double>(playFrame) / 60.0;
    Harness::InputEvent move;
    move.kind = Harness::InputEvent::Kind::Move;
    move.x = static_cast<std::int32_t>(std::lround(512.0 + 380.0 * std::sin(0.9 * t)));
    move.y = static_cast<std::int32_t>(std::lround(384.0 + 280.0 * std::sin(1.3 * t + 0.5)));
    return move;
}

PlayFrameReport g_playFrame;

// Frames of stage 1 from the menu's START on, with the frame timer on from
// the first play frame; stops early when the play level is left.
void BM_PlayFrameStageOne(benchmark::State& state)
{
    for (auto _ : state)
    {
        HarnessedGame run(StartScript());
        if (!run.FrameUntilLevel(PlayIndex, 400))
        {
            state.SkipWithError("START did not lead to the play level");
            return;
        }
        run.game->SetFrameTimerEnabled(true);
        std::uint32_t played = 0;
        for (; played < PlayFrames && run.game->GetCurrentLevelIndex() == PlayIndex; ++played)
        {
            Harness::ApplyInputEvent(SweepMove(played), run.harness->GetInputSource());
            run.Frame();
        }
        const Velkor::FrameTimer& timer = *run.game->GetFrameTimer();
        g_playFrame.frames = timer.GetFrameCount();
        g_playFrame.stage = run.game->stage;
        g_playFrame.totalScore = run.game->totalScore;
        for (std::size_t i = 0; i < Velkor::FramePhaseCount; ++i)
        {
            const auto phase = static_cast<Velkor::FramePhase>(i);
            g_playFrame.p50[i] = timer.GetPercentile(phase, 50.0);
            g_playFrame.p99[i] = timer.GetPercentile(phase, 99.0);
        }
        g_playFrame.engineP50 = timer.GetEngineSidePercentile(50.0);
        g_playFrame.engineP99 = timer.GetEngineSidePercentile(99.0);
        state.counters["frames"] = static_cast<double>(played);
        run.game->Shutdown();
    }
}

BENCHMARK(BM_PlayFrameStageOne)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

const PlayFrameReport& GetPlayFrameReport()
{
    return g_playFrame;
}
