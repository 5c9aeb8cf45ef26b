#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <string>

namespace Engine
{
class Viewport;
}

namespace Velkor
{

class Camera;

// A rectangle of the window through which the level is drawn, seen by one
// camera, with a clear colour and an optional background image. The
// viewport holds its camera (counted): a camera detached from the world
// draws nothing, and one released elsewhere cannot leave the viewport
// pointing at freed memory.
class Viewport : public Core::Object
{
    CORE_DECLARE_OBJECT(Viewport)

public:
    static constexpr const char* ScriptTypeName = "Viewport";

    // (0, 0), 800 x 600.
    Viewport();
    // A negative width or height becomes 0.
    Viewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    Viewport(const Viewport&) = delete;
    Viewport& operator=(const Viewport&) = delete;
    ~Viewport() override;

    // A negative width or height becomes 0.
    void SetRectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    std::int32_t GetWidth() const;
    std::int32_t GetHeight() const;
    Math::Vector2D GetPosition() const;
    void SetClearColor(float red, float green, float blue, float alpha);
    const Math::Vector4& GetClearColor() const;
    void SetCamera(Camera* camera);
    Camera* GetCamera() const { return camera_.Get(); }
    void SetName(const std::string& name) { name_ = name; }
    const std::string& GetName() const { return name_; }
    void SetBackground(const std::string& fileName);
    const std::string& GetBackground() const { return background_; }
    const Core::RefPtr<Engine::Viewport>& GetEngineViewport() const { return engineViewport_; }

    // Name, camera (object reference), x, y, width, height (i32), clear
    // colour, the current level's name and the background's file name (what
    // follows its last backslash). Read takes the background from the game
    // directory + "\Resources\Viewports Backgrounds\<level>\<file>".
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    // The scene through the camera into this viewport; nothing without a
    // camera or with a detached one.
    void Render(float dt);

private:
    Core::RefPtr<Engine::Viewport> engineViewport_;
    std::string name_;
    std::string background_;
    Core::RefPtr<Camera> camera_;
};

} // namespace Velkor
