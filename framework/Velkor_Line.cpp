#include "framework/Velkor_Line.h"

#include "core/Core_File.h"

#include "engine/Engine_Lines.h"
#include "engine/Engine_TransformationGroup.h"
#include "math/Math_Vector3.h"

namespace Velkor
{

CORE_DEFINE_OBJECT(Line, "Velkor::Line", GameObject::ScriptTypeName, "Velkor_Line", __LINE__)

Line::Line() = default;

Line::Line(const Math::Vector2D& point1, const Math::Vector2D& point2)
    : engineLines_(new ("Velkor_Line", __LINE__) Engine::Lines())
{
    engineLines_->AddLine(Math::Vector3(point1.x, point1.y, 0.0f), Math::Vector3(point2.x, point2.y, 0.0f));
    GetNode()->AddChild(engineLines_);
}

Line::Line(const Line& other) : GameObject(other)
{
    if (other.engineLines_)
    {
        engineLines_ = other.engineLines_->Clone();
        GetNode()->AddChild(engineLines_);
    }
}

Line::~Line() = default;

void Line::SetPoint1(const Math::Vector2D& point)
{
    if (engineLines_)
    {
        engineLines_->SetStartPoint(0, Math::Vector3(point.x, point.y, 0.0f));
    }
}

void Line::SetPoint2(const Math::Vector2D& point)
{
    if (engineLines_)
    {
        engineLines_->SetEndPoint(0, Math::Vector3(point.x, point.y, 0.0f));
    }
}

Math::Vector2D Line::GetPoint1() const
{
    if (!engineLines_)
    {
        return {};
    }
    const Math::Vector3 point = engineLines_->GetStartPoint(0);
    return {point.x, point.y};
}

Math::Vector2D Line::GetPoint2() const
{
    if (!engineLines_)
    {
        return {};
    }
    const Math::Vector3 point = engineLines_->GetEndPoint(0);
    return {point.x, point.y};
}

void Line::PushVisualProperties(float)
{
    if (engineLines_)
    {
        engineLines_->color = GetModulationColor();
        engineLines_->opacity = GetOpacity();
    }
}

void Line::Write(Core::File& file) const
{
    GameObject::Write(file);
    const Math::Vector2D point1 = GetPoint1();
    const Math::Vector2D point2 = GetPoint2();
    file << point1.x << point1.y << point2.x << point2.y;
}

void Line::Read(Core::File& file)
{
    GameObject::Read(file);
    Math::Vector2D point1;
    Math::Vector2D point2;
    file >> point1.x >> point1.y >> point2.x >> point2.y;
    if (file.Failed())
    {
        return;
    }
    if (engineLines_)
    {
        GetNode()->RemoveChild(engineLines_);
    }
    engineLines_ = new ("Velkor_Line", __LINE__) Engine::Lines();
    engineLines_->AddLine(Math::Vector3(point1.x, point1.y, 0.0f), Math::Vector3(point2.x, point2.y, 0.0f));
    GetNode()->AddChild(engineLines_);
    SetVisible(GetVisible());
}

} // namespace Velkor
