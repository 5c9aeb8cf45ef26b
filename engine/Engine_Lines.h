#pragma once

#include "engine/Engine_Node.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <vector>

namespace Engine
{

// A leaf that draws line segments in its parent's space: points 2k and
// 2k + 1 are the ends of segment k. Its update takes the parent's world
// transformation; it is drawn without culling, in (red, green, blue,
// opacity) of its colour.
//
// Archives hold it as a plain node (class "Engine::Node"): the points and
// the colour are not stored.
class Lines : public Node
{
public:
    // No segments, opaque white.
    Lines() = default;
    Lines(const Lines& other) = default;

    Lines* Clone() const override;
    std::uint32_t GetSize() const override;

    // World := parent's world; no hook, no controllers, no bounds.
    void Update(float dt) override;
    void Render(const Math::Frustum&) override { Draw(); }
    // One item of primitive type lines over the points; nothing when hidden
    // or without points. The queue reads the points when it flushes, so
    // they are not to change in between.
    void Draw() override;
    void DrawRecursive() override { Draw(); }

    void AddLine(const Math::Vector3& start, const Math::Vector3& end);
    std::uint32_t GetLineCount() const { return static_cast<std::uint32_t>(points_.size() / 2); }
    // Segment `index`; a segment that does not exist is not written and
    // reads as the origin.
    void SetStartPoint(std::uint32_t index, const Math::Vector3& point);
    Math::Vector3 GetStartPoint(std::uint32_t index) const;
    void SetEndPoint(std::uint32_t index, const Math::Vector3& point);
    Math::Vector3 GetEndPoint(std::uint32_t index) const;
    const std::vector<Math::Vector3>& GetPoints() const { return points_; }

    // Written by the owner; the colour's alpha is kept, not drawn.
    Math::Vector4 color{1.0f, 1.0f, 1.0f, 1.0f};
    float opacity = 1.0f;

protected:
    std::vector<Math::Vector3> points_;
};

} // namespace Engine
