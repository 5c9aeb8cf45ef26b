#include "engine/Engine_RenderingApplication.h"

#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "pal/PAL_ThreadManager.h"
#include "renderer/Renderer_OGLRenderer.h"

namespace Engine
{

namespace
{

RenderingApplication* g_renderingApplication = nullptr;

Core::RefPtr<Renderer::IRenderer> CreateOpenGLRenderer(const Renderer::DisplayDescription& description)
{
    return Renderer::OGLRenderer::Create(description);
}

RenderingApplication::RendererFactory g_rendererFactory = &CreateOpenGLRenderer;

// Closing the window ends the loop: one quit message per close. The window
// would post one itself unless told otherwise; the close is never refused.
void OnWindowClose(PAL::Window*, std::uint8_t* cancel)
{
    PAL::PostQuit();
    *cancel = 1;
}

} // namespace

void RenderingApplication::SetRendererFactory(RendererFactory factory)
{
    g_rendererFactory = factory != nullptr ? factory : &CreateOpenGLRenderer;
}

Renderer::DisplayDescription RenderingApplication::Describe(const DisplayRequest& request,
                                                            const Renderer::Adapter& adapter,
                                                            PAL::Window* window)
{
    Renderer::DisplayDescription description;
    description.width = request.width;
    description.height = request.height;
    description.refreshRate = request.refreshRate;
    description.sampleCount = request.sampleCount;
    description.colorBits = adapter.GetCurrentMode().colorBits;
    description.depthBits = 24;
    description.stencilBits = 8;
    description.window = window;
    description.fullscreen = request.fullscreen;
    description.vsync = request.vsync;
    return description;
}

std::int32_t RenderingApplication::ChooseFramebuffer(const DisplayRequest& request,
                                                     const Renderer::Adapter& adapter)
{
    Renderer::OGLRenderer::ChoosePixelFormat(Describe(request, adapter, nullptr));
    return static_cast<std::int32_t>(request.width);
}

RenderingApplication::RenderingApplication(const DisplayRequest& request)
    : window_(ChooseFramebuffer(request, adapter_.GetAdapter()), static_cast<std::int32_t>(request.height))
{
    g_renderingApplication = this;
    FontCache::SetInstance(&fontCache_);
    runStopwatch_.Start();

    const auto width = static_cast<std::int32_t>(request.width);
    const auto height = static_cast<std::int32_t>(request.height);
    if (request.fullscreen)
    {
        window_.SetBorder(false);
        window_.SetPosition(0, 0);
        window_.SetClientSize(width, height);
        window_.SetTopMost(true);
    }
    window_.SetResizable(false);
    window_.SetMaximizeBox(false);
    window_.SetVisible(true);
    window_.SetOnClose(&OnWindowClose);

    mouse_ = Input::MouseImp::CreateInstance();
    mouse_->SetWindow(&window_);
    keyboard_ = Input::KeyboardImp::CreateInstance();

    renderer_ = g_rendererFactory(Describe(request, adapter_.GetAdapter(), &window_));
}

RenderingApplication::~RenderingApplication()
{
    // Fonts hold textures, which must go while the renderer's context lives.
    fontCache_.Clear();
    spriteSheetDirectory_.clear();
    renderer_.Reset();
    keyboard_.Reset();
    mouse_.Reset();
    if (FontCache::GetInstance() == &fontCache_)
    {
        FontCache::SetInstance(nullptr);
    }
    if (g_renderingApplication == this)
    {
        g_renderingApplication = nullptr;
    }
}

RenderingApplication* RenderingApplication::GetInstance()
{
    return g_renderingApplication;
}

const char* RenderingApplication::GetClassName() const
{
    return "Engine::RenderingApplication";
}

std::uint32_t RenderingApplication::GetSize() const
{
    return sizeof(RenderingApplication);
}

void RenderingApplication::BeginFrame()
{
    frameStopwatch_.Start();
}

void RenderingApplication::EndFrame()
{
    PresentFrame();
    if (frameRateLocked_)
    {
        // Short yields, never one long sleep: a sleep overshoots by the
        // scheduler's granularity.
        while (frameStopwatch_.GetElapsed() < millisecondsPerFrame_)
        {
            Idle();
        }
    }
    currentFrameRate_ = 1000.0 / frameStopwatch_.GetElapsed();
    frameStopwatch_.Reset();
}

void RenderingApplication::PresentFrame()
{
    if (renderer_)
    {
        renderer_->SwapBuffers();
    }
}

void RenderingApplication::Idle()
{
    PAL::Thread::Sleep(0);
}

void RenderingApplication::SetDesiredFrameRate(double framesPerSecond)
{
    // A rate that is not above 0 has no frame time: the locked loop would
    // wait forever. It is refused and the former rate stays.
    if (!(framesPerSecond > 0.0))
    {
        return;
    }
    desiredFrameRate_ = framesPerSecond;
    millisecondsPerFrame_ = 1000.0 / framesPerSecond;
}

void RenderingApplication::SetVSync(bool enable)
{
    if (renderer_)
    {
        renderer_->SetVSync(enable);
    }
}

bool RenderingApplication::IsVSync() const
{
    return renderer_ && renderer_->IsVSync();
}

bool RenderingApplication::IsFullScreen() const
{
    return renderer_ && renderer_->GetDisplayDescription().fullscreen;
}

void RenderingApplication::SetFullScreen(bool fullScreen)
{
    if (renderer_ && fullScreen != IsFullScreen())
    {
        renderer_->ToggleFullScreen();
    }
}

void RenderingApplication::ToggleFullScreen()
{
    if (renderer_)
    {
        renderer_->ToggleFullScreen();
    }
}

void RenderingApplication::Exit()
{
    PAL::PostQuit();
}

} // namespace Engine
