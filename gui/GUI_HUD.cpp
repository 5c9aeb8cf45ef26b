#include "gui/GUI_HUD.h"

namespace GUI
{

namespace
{

HUD* g_instance = nullptr;
HUD::CallObserver g_observer = nullptr;
void* g_observerData = nullptr;

} // namespace

HUD::HUD()
{
    g_instance = this;
}

HUD::~HUD()
{
    if (g_instance == this)
    {
        g_instance = nullptr;
    }
}

HUD* HUD::GetInstance()
{
    return g_instance;
}

void HUD::SetCallObserver(CallObserver observer, void* userData)
{
    g_observer = observer;
    g_observerData = userData;
}

void HUD::Notify(const char* operation)
{
    if (g_observer != nullptr)
    {
        g_observer(operation, g_observerData);
    }
}

void HUD::Clear()
{
    Notify("Clear");
}

void HUD::Update(float)
{
    Notify("Update");
}

void HUD::Render()
{
    Notify("Render");
}

void HUD::Save(Core::File&) {}

void HUD::Load(Core::File&) {}

void HUD::ShowCursor(bool) {}

} // namespace GUI
