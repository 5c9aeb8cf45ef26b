#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_GameObject.h"

namespace Engine
{
class Circle;
}

namespace Velkor
{

// A circle's outline about the object's position: an engine circle of
// straight segments every 5 degrees, hung below the object's node, drawn in
// the object's modulation colour and opacity. In scripts it is a game
// object.
class Circle : public GameObject
{
    CORE_DECLARE_OBJECT(Circle)

public:
    static constexpr std::int32_t DegreeStep = 5;

    // No outline; what a read completes.
    Circle();
    explicit Circle(float radius);
    // The source's radius with a copy of its outline below the new node.
    Circle(const Circle& other);
    ~Circle() override;

    // Draws the outline again at the new radius.
    void SetRadius(float radius);
    float GetRadius() const { return radius_; }
    const Core::RefPtr<Engine::Circle>& GetEngineCircle() const { return engineCircle_; }

    // The game object's record, then the radius (f32); Read draws a new outline.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    void PushVisualProperties(float dt) override;

private:
    Core::RefPtr<Engine::Circle> engineCircle_;
    float radius_ = 0.0f;
};

} // namespace Velkor
