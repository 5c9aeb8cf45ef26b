#pragma once

#include "core/Core_Object.h"

namespace Engine
{

// The program's application: the main loop (Engine::Main) calls BeginFrame,
// RunFrame and EndFrame once per pass while the message pump runs, then
// Shutdown once. Every operation does nothing here; the rendering
// application and the game fill them in.
//
// The constructor records the process-wide application; the destructor
// forgets it when it is still the recorded one.
class Application : public Core::Object
{
public:
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    // Abstract: only derived applications are made.
    ~Application() override = 0;

    // The application alive now, or null.
    static Application* GetInstance();

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    virtual void BeginFrame();
    virtual void RunFrame();
    virtual void EndFrame();
    virtual void Shutdown();
};

} // namespace Engine
