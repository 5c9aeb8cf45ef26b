// Retained GUI drawing: a frame of 500 nine-sliced skin images that did not
// change (their render contexts are only resubmitted) beside the same
// images refilled from scratch every frame (a new clip each frame makes
// them dirty), with the ratio of the two.

#include "BenchRatio.h"

#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_HUD.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

constexpr int ImageCount = 500;

struct Stage
{
    Stage()
    {
        for (int i = 0; i < ImageCount; ++i)
        {
            Core::RefPtr<GUI::GuiImage> image(new GUI::GuiImage(
                GUI::GetSkinPath(GUI::DefaultButtonSkin), GUI::Size{75.0f + static_cast<float>(i % 7), 25}));
            image->SetPosition(
                Math::Vector2D(static_cast<float>((i * 37) % 900), static_cast<float>((i * 53) % 700)));
            images.push_back(image);
        }
    }

    Engine::RenderQueue queue;
    GUI::Graphics graphics;
    std::vector<Core::RefPtr<GUI::GuiImage>> images;
};

std::unique_ptr<Stage> g_stage;

void DrawFrame(const GUI::NRectangle& clip)
{
    for (const Core::RefPtr<GUI::GuiImage>& image : g_stage->images)
    {
        image->Draw(clip);
    }
    benchmark::DoNotOptimize(g_stage->queue.GetScreenObjects().data());
    g_stage->queue.ClearScreenObjects();
}

void BM_UnchangedImagesResubmitted(benchmark::State& state)
{
    const GUI::NRectangle clip(0, 0, 1024, 768);
    for (auto _ : state)
    {
        DrawFrame(clip);
    }
}
BENCHMARK(BM_UnchangedImagesResubmitted);

void BM_ImagesPreparedAfresh(benchmark::State& state)
{
    // Two clips that cut nothing off, taken in turn: every image is dirty
    // in every frame.
    const GUI::NRectangle clips[2] = {GUI::NRectangle(0, 0, 1024, 768), GUI::NRectangle(0, 0, 1025, 768)};
    int frame = 0;
    for (auto _ : state)
    {
        DrawFrame(clips[frame++ & 1]);
    }
}
BENCHMARK(BM_ImagesPreparedAfresh);

// The display's own work in a frame without roots: its update (cursor,
// hover, press capture) and its render of the queued screen objects.
void BM_EmptyDisplayFrame(benchmark::State& state)
{
    GUI::HUD hud;
    for (auto _ : state)
    {
        hud.Update(1.0f / 60.0f);
        hud.Render();
        // Without a renderer the queue keeps what it was given.
        g_stage->queue.ClearScreenObjects();
    }
}
BENCHMARK(BM_EmptyDisplayFrame);

} // namespace

int main(int argc, char** argv)
{
    setenv("ENGINE_HEADLESS", "1", 1);
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    reporter.Compare("500 skin images per frame, retained vs prepared afresh",
                     "BM_UnchangedImagesResubmitted", "BM_ImagesPreparedAfresh");
    reporter.CompareWithTime("display update and render without roots, of the 16.7 ms frame",
                             "BM_EmptyDisplayFrame", 1.0e9 / 60.0);
    g_stage = std::make_unique<Stage>();
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    g_stage.reset();
    benchmark::Shutdown();
    return 0;
}
