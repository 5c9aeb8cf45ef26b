#include "renderer/Renderer_RenderingContext.h"

#include "pal/PAL_ErrorReport.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_OpenGLExtensions.h"

namespace Renderer
{

PFNGLACTIVETEXTUREARBPROC OpenGLExtensions::activeTexture = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC OpenGLExtensions::clientActiveTexture = nullptr;
PFNGLSECONDARYCOLORPOINTEREXTPROC OpenGLExtensions::secondaryColorPointer = nullptr;

namespace
{

template <class Function> Function Lookup(const char* name, const char* fallback = nullptr)
{
    void* address = PAL::Window::GetGLProcAddress(name);
    if (address == nullptr && fallback != nullptr)
    {
        address = PAL::Window::GetGLProcAddress(fallback);
    }
    return reinterpret_cast<Function>(address);
}

} // namespace

void OpenGLExtensions::Fill()
{
    activeTexture = Lookup<PFNGLACTIVETEXTUREARBPROC>("glActiveTextureARB", "glActiveTexture");
    clientActiveTexture =
        Lookup<PFNGLCLIENTACTIVETEXTUREARBPROC>("glClientActiveTextureARB", "glClientActiveTexture");
    secondaryColorPointer =
        Lookup<PFNGLSECONDARYCOLORPOINTEREXTPROC>("glSecondaryColorPointerEXT", "glSecondaryColorPointer");
}

RenderingContext::RenderingContext(PAL::Window& window) : window_(&window)
{
    PAL::BeginCheckedCall("SDL_GL_CreateContext", "Renderer::RenderingContext::RenderingContext", __LINE__,
                          "Renderer_AdapterInformation");
    PAL::EndCheckedCall((context_ = window_->CreateGLContext()) == nullptr);
}

RenderingContext::~RenderingContext()
{
    window_->MakeCurrent(nullptr);
    PAL::Window::DeleteGLContext(context_);
}

const char* RenderingContext::GetClassName() const
{
    return "Renderer::RenderingContext";
}

std::uint32_t RenderingContext::GetSize() const
{
    return sizeof(RenderingContext);
}

bool RenderingContext::MakeCurrent(PAL::Window* newWindow)
{
    if (newWindow != nullptr)
    {
        window_->MakeCurrent(nullptr);
        window_ = newWindow;
    }
    if (!window_->MakeCurrent(context_))
    {
        return false;
    }
    OpenGLExtensions::Fill();
    return true;
}

} // namespace Renderer
