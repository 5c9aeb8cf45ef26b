#include "framework/Velkor_Viewport.h"

#include "core/Core_File.h"

#include "core/Core_String.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_Viewport.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_GameEngines.h"

#include <algorithm>

namespace Velkor
{

// A viewport is no copy of another: Clone makes a plain object, as the root
// does.
CORE_DEFINE_OBJECT_BASICS(Viewport, "Velkor::Viewport", Viewport::ScriptTypeName, "Velkor_Viewport", __LINE__)
static const Core::ClassRegistrar g_viewportRegistrar("Velkor::Viewport", &Viewport::Create);

Core::Object* Viewport::Clone() const
{
    return Core::Object::Clone();
}

Viewport::Viewport() : Viewport(0, 0, 800, 600) {}

Viewport::Viewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
    : engineViewport_(new ("Velkor_Viewport", __LINE__)
                          Engine::Viewport(x, y, std::max(width, 0), std::max(height, 0), 0))
{
}

Viewport::~Viewport() = default;

void Viewport::SetRectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    engineViewport_->SetRectangle(x, y, std::max(width, 0), std::max(height, 0));
}

std::int32_t Viewport::GetWidth() const
{
    return engineViewport_->GetWidth();
}

std::int32_t Viewport::GetHeight() const
{
    return engineViewport_->GetHeight();
}

Math::Vector2D Viewport::GetPosition() const
{
    return Math::Vector2D(static_cast<float>(engineViewport_->GetX()),
                          static_cast<float>(engineViewport_->GetY()));
}

void Viewport::SetClearColor(float red, float green, float blue, float alpha)
{
    engineViewport_->SetClearColor(Math::Vector4(red, green, blue, alpha));
}

const Math::Vector4& Viewport::GetClearColor() const
{
    return engineViewport_->GetClearColor();
}

void Viewport::SetCamera(Camera* camera)
{
    camera_ = camera;
}

void Viewport::SetBackground(const std::string& fileName)
{
    background_ = fileName;
    engineViewport_->SetBackground(fileName);
}

void Viewport::Render(float)
{
    Engine::SceneGraph* sceneGraph = GameSceneGraph();
    if (!camera_ || camera_->IsDetached() || sceneGraph == nullptr)
    {
        return;
    }
    // Both engine objects are held for the whole view.
    const Core::RefPtr<Engine::Camera> camera = camera_->GetEngineCamera();
    const Core::RefPtr<Engine::Viewport> viewport = engineViewport_;
    sceneGraph->RenderView(camera, viewport);
}

void Viewport::Write(Core::File& file) const
{
    file << name_;
    file.WriteObject(camera_.Get());
    file << engineViewport_->GetX() << engineViewport_->GetY() << engineViewport_->GetWidth()
         << engineViewport_->GetHeight();
    const Math::Vector4& color = engineViewport_->GetClearColor();
    file << color.x << color.y << color.z << color.w;
    const Game* game = Game::GetInstance();
    const Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    file << (level != nullptr ? level->GetName() : std::string());
    const std::size_t slash = background_.find_last_of('\\');
    file << (slash == std::string::npos ? background_ : background_.substr(slash + 1));
}

void Viewport::Read(Core::File& file)
{
    std::string name;
    Core::RefPtr<Camera> camera;
    file >> name;
    Core::ReadRefPtr(file, camera);
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    Math::Vector4 color(0.0f, 0.0f, 0.0f, 1.0f);
    std::string levelName;
    std::string background;
    file >> x >> y >> width >> height >> color.x >> color.y >> color.z >> color.w >> levelName >> background;
    if (file.Failed())
    {
        return;
    }
    name_ = std::move(name);
    camera_ = camera;
    SetRectangle(x, y, width, height);
    engineViewport_->SetClearColor(color);
    const Game* game = Game::GetInstance();
    if (!background.empty() && game != nullptr)
    {
        SetBackground(game->GetDirectory() + "\\Resources\\Viewports Backgrounds\\" + levelName + "\\" +
                      background);
    }
}

} // namespace Velkor
