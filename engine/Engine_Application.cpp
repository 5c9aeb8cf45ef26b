#include "engine/Engine_Application.h"

namespace Engine
{

namespace
{
Application* g_application = nullptr;
}

Application::Application()
{
    g_application = this;
}

Application::~Application()
{
    if (g_application == this)
    {
        g_application = nullptr;
    }
}

Application* Application::GetInstance()
{
    return g_application;
}

const char* Application::GetClassName() const
{
    return "Engine::Application";
}

std::uint32_t Application::GetSize() const
{
    return sizeof(Application);
}

void Application::BeginFrame() {}

void Application::RunFrame() {}

void Application::EndFrame() {}

void Application::Shutdown() {}

} // namespace Engine
