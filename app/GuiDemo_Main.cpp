// The GUI demo's program entry: reads the command line (help and usage
// errors end the program before a window opens) and hands it to the engine,
// which runs the demo. Options: "--frames N" (run N frames, then quit),
// "--screenshot FILE.png" (the last frame) and "--log FILE" (one line per
// frame: its number, its events, "|" and the display's state). A run that
// could not write what it was asked for ends with 1.
#include "GuiDemo_Application.h"

#include "engine/Engine_CommandLine.h"
#include "renderer/Renderer_IRenderer.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace
{

struct Options
{
    std::optional<std::uint32_t> frames;
    std::string screenshot;
    std::string log;
};

bool g_failed = false;

Engine::CommandLine MakeCommandLine(Options& options)
{
    Engine::CommandLine commandLine("gui_demo");
    commandLine.AddOption("--frames", "N", "run N frames of 1/60 s each, then quit",
                          [&options](const std::string& value) -> std::string
                          {
                              std::uint32_t count = 0;
                              if (!Engine::ReadCount(value, count))
                              {
                                  return "--frames takes a count of frames in digits, not \"" + value + "\"";
                              }
                              options.frames = count;
                              return {};
                          });
    commandLine.AddOption("--screenshot", "FILE.png", "write the last frame to FILE.png as a PNG image",
                          [&options](const std::string& value) -> std::string
                          {
                              const std::string problem = Engine::CheckOutputFile(value, ".png");
                              if (!problem.empty())
                              {
                                  return "--screenshot: " + problem;
                              }
                              options.screenshot = value;
                              return {};
                          });
    commandLine.AddOption("--log", "FILE", "write one line per frame: its events and the display's state",
                          [&options](const std::string& value) -> std::string
                          {
                              options.log = value;
                              return {};
                          });
    return commandLine;
}

bool WritePng(Renderer::IRenderer& renderer, const std::string& path)
{
    const Renderer::DisplayDescription description = renderer.GetDisplayDescription();
    const std::size_t row = std::size_t{description.width} * 3;
    std::vector<std::uint8_t> pixels(row * description.height);
    renderer.ReadPixels(pixels.data());
    // The renderer reads rows from the bottom; PNG stores them from the top.
    std::vector<std::uint8_t> flipped(pixels.size());
    for (std::uint32_t y = 0; y < description.height; ++y)
    {
        std::copy_n(pixels.data() + (description.height - 1 - y) * row, row, flipped.data() + y * row);
    }
    return stbi_write_png(path.c_str(), static_cast<int>(description.width), static_cast<int>(description.height),
                          3, flipped.data(), static_cast<int>(row)) != 0;
}

// The demo with the program's options: the log line after each frame, the
// screenshot and the end after the last.
class GuiDemoProgram : public GuiDemoApplication
{
public:
    explicit GuiDemoProgram(const Options& options) : options_(options)
    {
        if (!options_.log.empty())
        {
            log_ = std::fopen(options_.log.c_str(), "wb");
            g_failed = g_failed || log_ == nullptr;
        }
        if (options_.frames && *options_.frames == 0)
        {
            Exit();
        }
    }
    ~GuiDemoProgram() override
    {
        if (log_ != nullptr)
        {
            g_failed = std::fclose(log_) != 0 || g_failed;
        }
    }

    void RunFrame() override
    {
        GuiDemoApplication::RunFrame();
        ++frames_;
        if (log_ != nullptr)
        {
            std::fprintf(log_, "%u %s\n", frames_, GetLastFrameLog().c_str());
        }
        if (options_.frames && frames_ >= *options_.frames)
        {
            // Read before the buffers swap, while the frame is still there.
            if (!options_.screenshot.empty() && !WritePng(*GetRenderer(), options_.screenshot))
            {
                std::fprintf(stderr, "gui_demo: cannot write the screenshot \"%s\"\n", options_.screenshot.c_str());
                g_failed = true;
            }
            Exit();
        }
    }

private:
    Options options_;
    std::FILE* log_ = nullptr;
    std::uint32_t frames_ = 0;
};

} // namespace

// The command line was checked before the engine started (main).
Core::RefPtr<Engine::Application> CreateApplication(const std::vector<std::string>& arguments)
{
    Options options;
    const std::string problem = MakeCommandLine(options).Read(arguments);
    if (!problem.empty())
    {
        std::fprintf(stderr, "gui_demo: %s\n", problem.c_str());
        return nullptr;
    }
    return Core::RefPtr<Engine::Application>(new ("GuiDemo_Main", __LINE__) GuiDemoProgram(options));
}

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    Options checked;
    const int status = Engine::RunProgram(MakeCommandLine(checked), arguments, &CreateApplication);
    return status != 0 ? status : (g_failed ? 1 : 0);
}
