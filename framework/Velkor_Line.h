#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_GameObject.h"
#include "math/Math_Vector2D.h"

namespace Engine
{
class Lines;
}

namespace Velkor
{

// One straight line, drawn in the object's modulation colour and opacity.
// Its points are in the object's own space at z 0: a line whose object
// stands at the origin, unturned and unscaled, is drawn at its points'
// world coordinates. In scripts it is a game object.
class Line : public GameObject
{
    CORE_DECLARE_OBJECT(Line)

public:
    // No line; what a read completes.
    Line();
    Line(const Math::Vector2D& point1, const Math::Vector2D& point2);
    // A copy of the source's line below the new node.
    Line(const Line& other);
    ~Line() override;

    void SetPoint1(const Math::Vector2D& point);
    void SetPoint2(const Math::Vector2D& point);
    // (0, 0) for a line read nothing into yet.
    Math::Vector2D GetPoint1() const;
    Math::Vector2D GetPoint2() const;
    const Core::RefPtr<Engine::Lines>& GetEngineLines() const { return engineLines_; }

    // The game object's record, then point 1 and point 2 (four f32); Read makes a new line.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    void PushVisualProperties(float dt) override;

private:
    Core::RefPtr<Engine::Lines> engineLines_;
};

} // namespace Velkor
