#pragma once

#include "core/Core_Object.h"

namespace PAL
{
class Window;
}

namespace Renderer
{

// The OpenGL context of one window. Made on the window (a failure ends the
// process with the "Error" report); destroyed by releasing the binding and
// deleting the context.
class RenderingContext : public Core::Object
{
public:
    explicit RenderingContext(PAL::Window& window);
    RenderingContext(const RenderingContext&) = delete;
    RenderingContext& operator=(const RenderingContext&) = delete;
    ~RenderingContext() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // Binds the context to its window on this thread; with `newWindow`, the
    // old window's binding is released first and the context moves to the
    // new one. On success the extension entry points are looked up again.
    bool MakeCurrent(PAL::Window* newWindow = nullptr);

    PAL::Window& GetWindow() const { return *window_; }

private:
    PAL::Window* window_;
    void* context_ = nullptr;
};

} // namespace Renderer
