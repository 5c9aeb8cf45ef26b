#include "Demo_EngineDemo.h"

#include "input/Input_KeyCodes.h"
#include "math/Math_Matrix4.h"
#include "pal/PAL_Window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
// Set by a shutdown that could not write the screenshot asked for. The
// application is gone by the time the program returns, so the flag outlives it.
bool g_screenshotFailed = false;
} // namespace

int GetDemoExitStatus()
{
    return g_screenshotFailed ? 1 : 0;
}

Engine::CommandLine MakeDemoCommandLine(DemoOptions& options)
{
    Engine::CommandLine commandLine("engine_demo");
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
                              std::string problem = Engine::CheckOutputFile(value, ".png");
                              if (!problem.empty())
                              {
                                  return "--screenshot: " + problem;
                              }
                              options.screenshot = value;
                              return {};
                          });
    commandLine.AddOption("--scene", "text|drawables|framework", "the scene to show (text when not given)",
                          [&options](const std::string& value) -> std::string
                          {
                              if (value != "text" && value != "drawables" && value != "framework")
                              {
                                  return "--scene takes \"text\", \"drawables\" or \"framework\", not \"" +
                                         value + "\"";
                              }
                              options.scene = value;
                              return {};
                          });
    return commandLine;
}

Engine::DisplayRequest EngineDemo::GetDisplayRequest()
{
    return {1024, 768, 85, 0, false, true};
}

EngineDemo::EngineDemo(const DemoOptions& options)
    : Engine::RenderingApplication(GetDisplayRequest()), options_(options)
{
    GetWindow().SetTitle("Brillow engine demo");
    SetDesiredFrameRate(60.0);
    LockFrameRate(true);

    const Renderer::DisplayDescription description = GetRenderer()->GetDisplayDescription();
    const auto width = static_cast<std::int32_t>(description.width);
    const auto height = static_cast<std::int32_t>(description.height);
    scene_ = Core::RefPtr<Engine::SceneGraph>(new ("Demo_EngineDemo", __LINE__)
                                                  Engine::SceneGraph(GetRenderer().Get()));
    // A 45 degree view from this distance shows one unit as one pixel at
    // z = 0, with the origin at the window's centre.
    const float distance = static_cast<float>(height) / (2.0f * std::tan(22.5f * 3.14159265f / 180.0f));
    const Core::RefPtr<Engine::TransformationGroup> mount(new ("Demo_EngineDemo", __LINE__)
                                                              Engine::TransformationGroup());
    mount->SetTransformation(Math::Matrix4::Translation(0.0f, 0.0f, distance));
    camera_ =
        Core::RefPtr<Engine::Camera>(new ("Demo_EngineDemo", __LINE__) Engine::Camera(45.0f, 1.0f, 10000.0f));
    mount->AddChild(camera_);
    scene_->AddChild(mount);
    viewport_ = Core::RefPtr<Engine::Viewport>(new ("Demo_EngineDemo", __LINE__)
                                                   Engine::Viewport(0, 0, width, height, 0));
    viewport_->SetClearColor(Math::Vector4(0.06f, 0.08f, 0.16f, 1.0f));

    canvas_ = std::make_unique<DemoCanvas>(*scene_, static_cast<float>(width), static_cast<float>(height),
                                           GetFontCache().GetFont(""));
    content_ = options_.scene == "drawables" ? MakeDrawablesScene(*canvas_) : MakeTextScene(*canvas_);
    if (options_.frames && *options_.frames == 0)
    {
        Exit();
    }
}

// The scene goes first: its textures belong to the renderer's context.
EngineDemo::~EngineDemo()
{
    content_.reset();
    canvas_.reset();
    scene_.Reset();
}

const char* EngineDemo::GetClassName() const
{
    return "EngineDemo";
}

std::uint32_t EngineDemo::GetSize() const
{
    return sizeof(EngineDemo);
}

void EngineDemo::RunFrame()
{
    ++framesRun_;
    GetKeyboard()->Update();
    GetMouse()->Update();
    if (GetKeyboard()->IsTriggered(Input::Key::Escape))
    {
        Exit();
    }
    std::int32_t mouseX = 0;
    std::int32_t mouseY = 0;
    GetMouse()->GetPosition(mouseX, mouseY);
    char status[160];
    std::snprintf(status, sizeof(status), "Frame %u   %.1f fps   mouse %d, %d", framesRun_,
                  GetCurrentFrameRate(), mouseX, mouseY);
    content_->Step(framesRun_, status);
    scene_->MakeCurrentAndUpdate(FrameStep);
    Render();
    if (options_.frames && framesRun_ >= *options_.frames)
    {
        Exit();
    }
}

void EngineDemo::Shutdown()
{
    if (!options_.screenshot.empty())
    {
        Render();
        screenshotWritten_ = WriteScreenshot();
        if (!screenshotWritten_)
        {
            ReportScreenshotFailure(options_.screenshot);
        }
    }
    Engine::RenderingApplication::Shutdown();
}

void EngineDemo::Render()
{
    scene_->SetViewportCount(1);
    scene_->SetCurrentViewportIndex(0);
    scene_->RenderView(camera_, viewport_);
}

bool EngineDemo::WriteScreenshot()
{
    return WriteScreenshotPng(*GetRenderer(), options_.screenshot);
}

void ReportScreenshotFailure(const std::string& path)
{
    g_screenshotFailed = true;
    std::fprintf(stderr, "engine_demo: cannot write the screenshot \"%s\"\n", path.c_str());
}

// The command line was checked before the engine started (main.cpp); a
// caller that skipped the check still gets no application for bad options.
Core::RefPtr<Engine::Application> CreateApplication(const std::vector<std::string>& arguments)
{
    DemoOptions options;
    const std::string problem = MakeDemoCommandLine(options).Read(arguments);
    if (!problem.empty())
    {
        std::fprintf(stderr, "engine_demo: %s\n", problem.c_str());
        return nullptr;
    }
    if (options.scene == "framework")
    {
        return MakeFrameworkDemo(options);
    }
    return Core::RefPtr<Engine::Application>(new ("Demo_EngineDemo", __LINE__) EngineDemo(options));
}
