// Retained GUI drawing: a frame of 500 nine-sliced skin images that did not
// change (their render contexts are only resubmitted) beside the same
// images refilled from scratch every frame (a new clip each frame makes
// them dirty), with the ratio of the two. And a display of 10 forms of 20
// captioned buttons each, updated and drawn every frame, beside a plain
// loop submitting as many prepared quads as that frame queues.

#include "BenchRatio.h"

#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_HUD.h"

#include <algorithm>
#include <cstdlib>
#include <string>
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

constexpr int FormCount = 10;
constexpr int ButtonsPerForm = 20;

// The screen objects one frame of the forms display queued, for the plain
// loop to submit as many.
std::size_t g_formsFrameObjects = 0;

void BuildForms(GUI::HUD& hud)
{
    for (int f = 0; f < FormCount; ++f)
    {
        Core::RefPtr<GUI::Form> form(new GUI::Form(
            Math::Vector2D(static_cast<float>(20 + 60 * f), static_cast<float>(10 + 20 * f)), 420, 700));
        form->SetText("Form " + std::to_string(f));
        hud.AddForm(form.Get());
        for (int b = 0; b < ButtonsPerForm; ++b)
        {
            Core::RefPtr<GUI::Button> button(new GUI::Button());
            button->SetText("Button " + std::to_string(b));
            form->AddControl(button.Get());
            button->SetPosition(Math::Vector2D(static_cast<float>(10 + 200 * (b % 2)), static_cast<float>(10 + 32 * (b / 2))));
            button->SetControlSize(180, 28);
        }
    }
}

void BM_FormsOfButtons(benchmark::State& state)
{
    GUI::HUD hud;
    BuildForms(hud);
    for (auto _ : state)
    {
        hud.Update(1.0f / 60.0f);
        g_formsFrameObjects = g_stage->queue.GetScreenObjects().size();
        hud.Render();
        g_stage->queue.ClearScreenObjects();
    }
}
BENCHMARK(BM_FormsOfButtons);

void BM_PreparedQuads(benchmark::State& state)
{
    std::vector<Core::RefPtr<GUI::ImageRenderContext>> quads;
    const Core::RefPtr<Renderer::ITexture>& texture = g_stage->graphics.GetWhiteTexture();
    g_stage->graphics.ResetClip();
    for (std::size_t i = 0; i < std::max<std::size_t>(g_formsFrameObjects, 1); ++i)
    {
        Core::RefPtr<GUI::ImageRenderContext> quad(new GUI::ImageRenderContext());
        g_stage->graphics.PrepareImage(
            *quad, GUI::TRectangle(static_cast<float>(i % 900), static_cast<float>(i % 700), 20, 20), texture);
        quads.push_back(quad);
    }
    for (auto _ : state)
    {
        for (const Core::RefPtr<GUI::ImageRenderContext>& quad : quads)
        {
            g_stage->graphics.SubmitImage(quad);
        }
        benchmark::DoNotOptimize(g_stage->queue.GetScreenObjects().data());
        g_stage->queue.ClearScreenObjects();
    }
    state.counters["quads"] = static_cast<double>(quads.size());
}
BENCHMARK(BM_PreparedQuads);

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
    reporter.Compare("10 forms of 20 buttons updated and drawn, vs as many prepared quads submitted",
                     "BM_FormsOfButtons", "BM_PreparedQuads");
    reporter.CompareWithTime("10 forms of 20 buttons updated and drawn, of the 16.7 ms frame",
                             "BM_FormsOfButtons", 1.0e9 / 60.0);
    g_stage = std::make_unique<Stage>();
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    g_stage.reset();
    benchmark::Shutdown();
    return 0;
}
