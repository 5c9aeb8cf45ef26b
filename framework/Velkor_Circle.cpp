#include "framework/Velkor_Circle.h"

#include "core/Core_File.h"

#include "engine/Engine_Circle.h"
#include "engine/Engine_TransformationGroup.h"

namespace Velkor
{

CORE_DEFINE_OBJECT(Circle, "Velkor::Circle", GameObject::ScriptTypeName, "Velkor_Circle", __LINE__)

Circle::Circle() = default;

Circle::Circle(float radius)
    : engineCircle_(new ("Velkor_Circle", __LINE__) Engine::Circle(radius, DegreeStep)), radius_(radius)
{
    GetNode()->AddChild(engineCircle_);
}

Circle::Circle(const Circle& other) : GameObject(other), radius_(other.radius_)
{
    if (other.engineCircle_)
    {
        engineCircle_ = other.engineCircle_->Clone();
        GetNode()->AddChild(engineCircle_);
    }
}

Circle::~Circle() = default;

void Circle::SetRadius(float radius)
{
    radius_ = radius;
    if (engineCircle_)
    {
        engineCircle_->Generate(radius, DegreeStep);
    }
}

void Circle::PushVisualProperties(float)
{
    if (engineCircle_)
    {
        const Math::Vector4& color = GetModulationColor();
        engineCircle_->color = color;
        engineCircle_->opacity = GetOpacity();
    }
}

void Circle::Write(Core::File& file) const
{
    GameObject::Write(file);
    file << radius_;
}

void Circle::Read(Core::File& file)
{
    GameObject::Read(file);
    float radius = 0.0f;
    file >> radius;
    if (file.Failed())
    {
        return;
    }
    radius_ = radius;
    if (engineCircle_)
    {
        GetNode()->RemoveChild(engineCircle_);
    }
    engineCircle_ = new ("Velkor_Circle", __LINE__) Engine::Circle(radius_, DegreeStep);
    GetNode()->AddChild(engineCircle_);
    // The new outline takes the node's flag.
    SetVisible(GetVisible());
}

} // namespace Velkor
