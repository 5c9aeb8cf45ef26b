#pragma once

#include "Demo_Scene.h"
#include "Harness_RunHarness.h"

#include "core/Core_RefPtr.h"
#include "engine/Engine_Camera.h"
#include "engine/Engine_CommandLine.h"
#include "engine/Engine_RenderingApplication.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_Viewport.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the demo's command line asks for.
struct DemoOptions
{
    // Frames to run before quitting; none runs until the window closes or
    // Escape is pressed.
    std::optional<std::uint32_t> frames;
    // PNG file that receives the last frame; empty for none.
    std::string screenshot;
    // "text", "drawables" or "framework".
    std::string scene = "text";
};

// The demo's command line, whose options fill `options` as they are read:
// "--frames N", "--screenshot FILE.png" (checked to be writable before the
// first frame) and "--scene text|drawables|framework".
Engine::CommandLine MakeDemoCommandLine(DemoOptions& options);

// The demo writes its screenshot as the run harness does.
using Harness::WriteScreenshotPng;
// Names the screenshot that could not be written and makes the program end
// with 1.
void ReportScreenshotFailure(const std::string& path);

// The framework scene: a Velkor::Game running the framework demo's level.
Core::RefPtr<Engine::Application> MakeFrameworkDemo(const DemoOptions& options);

// The demo program's exit status once the engine's loop has returned 0: 1
// when a screenshot was asked for and could not be written, else 0.
int GetDemoExitStatus();

// The engine demo: a scene graph in a window, seen by a camera that makes
// one unit one pixel, with the chosen scene and a status line (frame count,
// frame rate, mouse position). It stands in for the game until the game
// exists. Scenes advance by a fixed step of 1/60 s a frame, so a given
// frame always looks the same.
class EngineDemo : public Engine::RenderingApplication
{
public:
    static Engine::DisplayRequest GetDisplayRequest();
    static constexpr float FrameStep = 1.0f / 60.0f;

    explicit EngineDemo(const DemoOptions& options);
    ~EngineDemo() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    void RunFrame() override;
    // Writes the screenshot, when one was asked for, from a redraw of the
    // last frame (the back buffer is undefined after the swap).
    void Shutdown() override;

    std::uint32_t GetFramesRun() const { return framesRun_; }
    // False when a screenshot was asked for and could not be written.
    bool IsScreenshotWritten() const { return screenshotWritten_; }

private:
    // The view through the one viewport.
    void Render();
    bool WriteScreenshot();

    DemoOptions options_;
    Core::RefPtr<Engine::SceneGraph> scene_;
    Core::RefPtr<Engine::Camera> camera_;
    Core::RefPtr<Engine::Viewport> viewport_;
    std::unique_ptr<DemoCanvas> canvas_;
    std::unique_ptr<DemoScene> content_;
    std::uint32_t framesRun_ = 0;
    bool screenshotWritten_ = false;
};
