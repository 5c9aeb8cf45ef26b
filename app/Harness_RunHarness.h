#pragma once

#include "Harness_InputScript.h"

#include "core/Core_RefPtr.h"
#include "engine/Engine_Application.h"
#include "engine/Engine_CommandLine.h"
#include "engine/Engine_RenderingApplication.h"
#include "input/Input_ScriptedInputSource.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Harness
{

// What a run of a program is asked to do beyond playing: stop after a
// number of frames, step time by a fixed 1/60 s, seed the generator, read
// scripted input, write screenshots and a per-frame log.
struct RunOptions
{
    // Names the program in the harness's reports.
    std::string program = "program";
    std::optional<std::uint32_t> frames;
    bool fixedStep = false;
    std::optional<std::uint32_t> seed;
    // With a script the devices read it instead of the machine's input.
    bool scriptedInput = false;
    std::vector<InputEvent> input;
    // The last frame's picture; empty for none.
    std::string screenshot;
    // (frame, file) pairs.
    std::vector<std::pair<std::uint32_t, std::string>> screenshotsAt;
    std::string log;

    // A reproducible in-process run: fixed step, `script` as the only input.
    static RunOptions Scripted(std::vector<InputEvent> script)
    {
        RunOptions options;
        options.fixedStep = true;
        options.scriptedInput = true;
        options.input = std::move(script);
        return options;
    }
};

// Adds the run options to a program's command line, filling `options` as
// they are read (everything is checked before a window opens):
//   --frames N            run N frames, then quit
//   --fixed-step          every frame update steps exactly 1/60 s and the
//                         frame limiter is off
//   --seed S              every reseed of the generator uses S
//   --input FILE          scripted input (see ParseInputScript)
//   --screenshot FILE     the last frame as a PNG image
//   --screenshot-at F:FILE  frame F as a PNG image (repeatable)
//   --log FILE.txt        one line per frame
void AddRunOptions(Engine::CommandLine& commandLine, RunOptions& options);

// Writes the renderer's back buffer to `path` as a PNG image; false when it
// cannot be encoded or written.
bool WriteScreenshotPng(Renderer::IRenderer& renderer, const std::string& path);

// A fixed-step clock for the main thread: it moves exactly one step at
// every reading inside a frame tick and stands still between ticks. The
// framework game reads it once per tick (at the tick's end), and once more
// where it makes a level, so every frame update is given exactly one step
// and a run never waits on the wall clock. Other threads read the real clock.
class FixedStepClock
{
public:
    static void Install(double stepMilliseconds);
    static void Uninstall();
    // Whether readings move the clock.
    static void SetTicking(bool ticking);
};

// Runs an application under the run options: it stands between the engine's
// main loop and the application, applies the frame's scripted input before
// each frame, and after each frame's drawing (before the buffers swap) writes
// the screenshots and the log line, and quits after the last frame.
class RunHarness : public Engine::Application
{
public:
    // The log line of the frame that has just run, after its number.
    using FrameDescriber = std::function<std::string()>;

    RunHarness(const RunOptions& options, const Core::RefPtr<Engine::RenderingApplication>& application,
               FrameDescriber describe);
    ~RunHarness() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    void BeginFrame() override;
    void RunFrame() override;
    void EndFrame() override;
    // Reports what could not be delivered (a screenshot of a frame never
    // reached, a file that could not be written), then shuts the
    // application down.
    void Shutdown() override;

    const Core::RefPtr<Engine::RenderingApplication>& GetApplication() const { return application_; }
    std::uint32_t GetFramesRun() const { return framesRun_; }
    Input::ScriptedInputSource& GetInputSource() { return input_; }

    // 1 when a run asked for something it could not deliver, else 0. The
    // harness is gone when the program ends, so the answer outlives it.
    static int GetExitStatus();
    static void ResetExitStatus();

private:
    void Fail(const std::string& message);
    void WriteShot(const std::string& path);

    RunOptions options_;
    Core::RefPtr<Engine::RenderingApplication> application_;
    FrameDescriber describe_;
    Input::ScriptedInputSource input_;
    std::size_t nextEvent_ = 0;
    std::uint32_t framesRun_ = 0;
    std::FILE* log_ = nullptr;
    bool shutDown_ = false;
};

} // namespace Harness
