#pragma once

#include "GuiDemo_Scene.h"

#include "core/Core_RefPtr.h"
#include "engine/Engine_RenderingApplication.h"
#include "engine/Engine_SceneGraph.h"
#include "gui/GUI_HUD.h"

#include <memory>

// The GUI demo in a 1024 x 768 window: the display with the demo's controls
// over a dark background, drawn each frame through the render queue's
// screen-object pass, with the display's arrow cursor. Every frame steps
// the display by 1/60 s, so a scripted run always gives the same frames.
// Escape quits.
class GuiDemoApplication : public Engine::RenderingApplication
{
public:
    static constexpr float FrameStep = 1.0f / 60.0f;
    static Engine::DisplayRequest GetDisplayRequest();

    GuiDemoApplication();
    ~GuiDemoApplication() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    void RunFrame() override;

    GuiDemoScene& GetScene() { return *scene_; }
    GUI::HUD& GetDisplay() { return *hud_; }
    // The events of the frame that ran last, as the log's line.
    const std::string& GetLastFrameLog() const { return lastFrameLog_; }

    // Clears the window and draws the display's screen objects.
    void Draw();

private:
    Core::RefPtr<Engine::SceneGraph> sceneGraph_;
    std::unique_ptr<GUI::HUD> hud_;
    std::unique_ptr<GuiDemoScene> scene_;
    std::string lastFrameLog_ = "-";
};
