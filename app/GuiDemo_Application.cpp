#include "GuiDemo_Application.h"

#include "input/Input_KeyCodes.h"
#include "pal/PAL_Window.h"

Engine::DisplayRequest GuiDemoApplication::GetDisplayRequest()
{
    return {GuiDemoScene::Width, GuiDemoScene::Height, 85, 0, false, true};
}

GuiDemoApplication::GuiDemoApplication() : Engine::RenderingApplication(GetDisplayRequest())
{
    GetWindow().SetTitle("GUI demo");
    SetDesiredFrameRate(60.0);
    LockFrameRate(true);
    // The scene graph's render queue is the process-wide one the GUI fills.
    sceneGraph_ = Core::RefPtr<Engine::SceneGraph>(new ("GuiDemo_Application", __LINE__)
                                                       Engine::SceneGraph(GetRenderer().Get()));
    hud_ = std::make_unique<GUI::HUD>();
    scene_ = std::make_unique<GuiDemoScene>(*hud_);
}

// The display goes before the scene graph and the renderer: its textures
// belong to the renderer's context.
GuiDemoApplication::~GuiDemoApplication()
{
    scene_.reset();
    hud_.reset();
    sceneGraph_.Reset();
}

const char* GuiDemoApplication::GetClassName() const
{
    return "GuiDemoApplication";
}

std::uint32_t GuiDemoApplication::GetSize() const
{
    return sizeof(GuiDemoApplication);
}

void GuiDemoApplication::RunFrame()
{
    GetKeyboard()->Update();
    GetMouse()->Update();
    if (GetKeyboard()->IsTriggered(Input::Key::Escape))
    {
        Exit();
    }
    hud_->Update(FrameStep);
    lastFrameLog_ = scene_->TakeFrameLog() + " | " + scene_->DescribeState();
    Draw();
}

void GuiDemoApplication::Draw()
{
    GetRenderer()->ClearBuffers(Math::Vector4(0.05f, 0.07f, 0.14f, 1.0f), 1.0f, 0);
    hud_->Render();
}
