#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_RenderingApplication.h"
#include "renderer/Renderer_Effect.h"

#include <cstdint>
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
};

// Reads "--frames N" and "--screenshot FILE". False, with a message in
// `error`, for anything else or a value that is missing or not a count.
bool ParseDemoOptions(const std::vector<std::string>& arguments, DemoOptions& options, std::string& error);

// The engine demo: a window with text in the default font, drawn straight
// through the renderer, and a status line with the frame count, the frame
// rate and the mouse position. It stands in for the game until the game
// exists.
class EngineDemo : public Engine::RenderingApplication
{
public:
    static Engine::DisplayRequest GetDisplayRequest();

    explicit EngineDemo(const DemoOptions& options);

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
    void Draw();
    // `text` with its first line's cell bottom at (x, y) in window pixels
    // (y up), every texel a scale x scale block.
    void DrawText(const std::string& text, float x, float y, float scale, const Math::Vector4& color);
    // The same, centred across the window by the text's measured width.
    void DrawCentred(const std::string& text, float y, float scale, const Math::Vector4& color);
    bool WriteScreenshot();

    DemoOptions options_;
    Core::RefPtr<Engine::BitmapFont> font_;
    Core::RefPtr<Renderer::Effect> effect_;
    std::uint32_t framesRun_ = 0;
    bool screenshotWritten_ = false;
};
