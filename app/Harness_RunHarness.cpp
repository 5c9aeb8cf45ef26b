#include "Harness_RunHarness.h"

#include "core/Core_Clock.h"
#include "input/Input_InputSource.h"
#include "renderer/Renderer_IRenderer.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace Harness
{

namespace
{

constexpr double FrameStepMilliseconds = 1000.0 / 60.0;

// Set when a run could not deliver what it was asked for.
bool g_failed = false;

struct ClockState
{
    std::thread::id mainThread;
    double now = 0.0;
    double step = 0.0;
    bool ticking = false;
    Core::ClockFunction previous = nullptr;
    bool installed = false;
};

ClockState& Clock()
{
    static ClockState state;
    return state;
}

double ReadFixedStepClock()
{
    ClockState& clock = Clock();
    if (std::this_thread::get_id() != clock.mainThread)
    {
        return Core::QueryPerformanceMilliseconds();
    }
    if (clock.ticking)
    {
        clock.now += clock.step;
    }
    return clock.now;
}

std::string ReadFrameAndFile(const std::string& value, std::uint32_t& frame, std::string& file)
{
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || !Engine::ReadCount(value.substr(0, colon), frame) || frame == 0)
    {
        return "--screenshot-at takes F:FILE.png with a frame number of 1 or more, not \"" + value + "\"";
    }
    file = value.substr(colon + 1);
    const std::string problem = Engine::CheckOutputFile(file, ".png");
    return problem.empty() ? problem : "--screenshot-at: " + problem;
}

} // namespace

void AddRunOptions(Engine::CommandLine& commandLine, RunOptions& options)
{
    commandLine.AddOption("--frames", "N", "run N frames, then quit",
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
    commandLine.AddFlag("--fixed-step", "every frame steps exactly 1/60 s, never waiting on the clock",
                        [&options]() { options.fixedStep = true; });
    commandLine.AddOption("--seed", "S", "seed the random generator with S wherever the game seeds it",
                          [&options](const std::string& value) -> std::string
                          {
                              std::uint32_t seed = 0;
                              if (!Engine::ReadCount(value, seed))
                              {
                                  return "--seed takes a number in digits, not \"" + value + "\"";
                              }
                              options.seed = seed;
                              return {};
                          });
    commandLine.AddOption("--input", "FILE",
                          "play the scripted input of FILE instead of the mouse and keyboard",
                          [&options](const std::string& value) -> std::string
                          {
                              std::string problem = ReadInputScript(value, options.input);
                              if (!problem.empty())
                              {
                                  return "--input: " + problem;
                              }
                              options.scriptedInput = true;
                              return {};
                          });
    commandLine.AddOption("--screenshot", "FILE.png", "write the last frame to FILE.png",
                          [&options](const std::string& value) -> std::string
                          {
                              std::string problem = Engine::CheckOutputFile(value, ".png");
                              if (!problem.empty())
                              {
                                  return "--screenshot: " + problem;
                              }
                              options.screenshot = value;
                              return {};
                          });
    commandLine.AddOption(
        "--screenshot-at", "F:FILE.png", "write frame F to FILE.png (may be given more than once)",
        [&options](const std::string& value) -> std::string
        {
            std::uint32_t frame = 0;
            std::string file;
            std::string problem = ReadFrameAndFile(value, frame, file);
            if (problem.empty())
            {
                options.screenshotsAt.emplace_back(frame, file);
            }
            return problem;
        },
        true);
    commandLine.AddOption("--log", "FILE.txt", "write one line per frame to FILE.txt",
                          [&options](const std::string& value) -> std::string
                          {
                              std::string problem = Engine::CheckOutputFile(value, ".txt");
                              if (!problem.empty())
                              {
                                  return "--log: " + problem;
                              }
                              options.log = value;
                              return {};
                          });
}

bool WriteScreenshotPng(Renderer::IRenderer& renderer, const std::string& path)
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
    // Encoded in memory and written here: the library's own file writer
    // answers success even when the disk refuses the bytes.
    std::vector<std::uint8_t> png;
    const auto append = [](void* context, void* data, int size)
    {
        auto& bytes = *static_cast<std::vector<std::uint8_t>*>(context);
        bytes.insert(bytes.end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
    };
    if (stbi_write_png_to_func(append, &png, static_cast<int>(description.width),
                               static_cast<int>(description.height), 3, flipped.data(),
                               static_cast<int>(row)) == 0)
    {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        return false;
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}

void FixedStepClock::Install(double stepMilliseconds)
{
    ClockState& clock = Clock();
    clock.mainThread = std::this_thread::get_id();
    clock.step = stepMilliseconds;
    clock.now = 0.0;
    clock.ticking = false;
    if (!clock.installed)
    {
        clock.previous = Core::GetClockFunction();
        clock.installed = true;
    }
    Core::SetClockFunction(&ReadFixedStepClock);
}

void FixedStepClock::Uninstall()
{
    ClockState& clock = Clock();
    if (clock.installed)
    {
        Core::SetClockFunction(clock.previous);
        clock.installed = false;
    }
}

void FixedStepClock::SetTicking(bool ticking)
{
    Clock().ticking = ticking;
}

RunHarness::RunHarness(const RunOptions& options,
                       const Core::RefPtr<Engine::RenderingApplication>& application, FrameDescriber describe)
    : options_(options), application_(application), describe_(std::move(describe))
{
    std::sort(options_.screenshotsAt.begin(), options_.screenshotsAt.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    if (options_.fixedStep)
    {
        FixedStepClock::Install(FrameStepMilliseconds);
        if (application_)
        {
            application_->LockFrameRate(false);
        }
    }
    if (options_.scriptedInput && application_)
    {
        const Renderer::DisplayDescription description = application_->GetRenderer()->GetDisplayDescription();
        input_.SetClientArea({0, 0, static_cast<std::int32_t>(description.width),
                              static_cast<std::int32_t>(description.height)});
        Input::InputSource::SetCurrent(&input_);
    }
    if (!options_.log.empty())
    {
        log_ = std::fopen(options_.log.c_str(), "wb");
        if (log_ == nullptr)
        {
            Fail("cannot write the log \"" + options_.log + "\"");
        }
    }
    if (options_.frames && *options_.frames == 0 && application_)
    {
        application_->Exit();
    }
}

RunHarness::~RunHarness()
{
    if (!shutDown_)
    {
        RunHarness::Shutdown();
    }
    application_.Reset();
}

const char* RunHarness::GetClassName() const
{
    return "Harness::RunHarness";
}

std::uint32_t RunHarness::GetSize() const
{
    return sizeof(RunHarness);
}

void RunHarness::BeginFrame()
{
    if (application_)
    {
        application_->BeginFrame();
    }
}

void RunHarness::RunFrame()
{
    if (!application_)
    {
        return;
    }
    const std::uint32_t frame = framesRun_ + 1;
    while (nextEvent_ < options_.input.size() && options_.input[nextEvent_].frame <= frame)
    {
        ApplyInputEvent(options_.input[nextEvent_++], input_);
    }
    if (options_.fixedStep)
    {
        FixedStepClock::SetTicking(true);
    }
    application_->RunFrame();
    if (options_.fixedStep)
    {
        FixedStepClock::SetTicking(false);
    }
    framesRun_ = frame;

    if (log_ != nullptr)
    {
        const std::string line =
            std::to_string(frame) + " " + (describe_ ? describe_() : std::string()) + "\n";
        if (std::fputs(line.c_str(), log_) < 0)
        {
            Fail("cannot write the log \"" + options_.log + "\"");
            std::fclose(log_);
            log_ = nullptr;
        }
    }
    for (const auto& [shotFrame, path] : options_.screenshotsAt)
    {
        if (shotFrame == frame)
        {
            WriteShot(path);
        }
    }
    const bool last = options_.frames && frame >= *options_.frames;
    if (last)
    {
        if (!options_.screenshot.empty())
        {
            WriteShot(options_.screenshot);
        }
        application_->Exit();
    }
}

void RunHarness::EndFrame()
{
    if (application_)
    {
        application_->EndFrame();
    }
}

void RunHarness::Shutdown()
{
    if (shutDown_)
    {
        return;
    }
    shutDown_ = true;
    for (const auto& [frame, path] : options_.screenshotsAt)
    {
        if (frame > framesRun_)
        {
            Fail("no screenshot \"" + path + "\": the run ended after frame " + std::to_string(framesRun_) +
                 ", before frame " + std::to_string(frame));
        }
    }
    // A run without a frame count ends when the window closes: the picture
    // is what the back buffer holds after the last frame.
    if (!options_.screenshot.empty() && !(options_.frames && framesRun_ >= *options_.frames))
    {
        if (framesRun_ == 0)
        {
            Fail("no screenshot \"" + options_.screenshot + "\": no frame ran");
        }
        else
        {
            WriteShot(options_.screenshot);
        }
    }
    if (log_ != nullptr)
    {
        if (std::fclose(log_) != 0)
        {
            Fail("cannot write the log \"" + options_.log + "\"");
        }
        log_ = nullptr;
    }
    if (application_)
    {
        application_->Shutdown();
    }
    if (options_.scriptedInput && &Input::InputSource::GetCurrent() == &input_)
    {
        Input::InputSource::SetCurrent(nullptr);
    }
    if (options_.fixedStep)
    {
        FixedStepClock::Uninstall();
    }
}

int RunHarness::GetExitStatus()
{
    return g_failed ? 1 : 0;
}

void RunHarness::ResetExitStatus()
{
    g_failed = false;
}

void RunHarness::Fail(const std::string& message)
{
    g_failed = true;
    std::fprintf(stderr, "%s: %s\n", options_.program.c_str(), message.c_str());
    std::fflush(stderr);
}

void RunHarness::WriteShot(const std::string& path)
{
    if (!application_->GetRenderer() || !WriteScreenshotPng(*application_->GetRenderer(), path))
    {
        Fail("cannot write the screenshot \"" + path + "\"");
    }
}

} // namespace Harness
