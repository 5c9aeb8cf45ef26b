#include "collision/Collision_ZibRect.h"

#include "collision/Collision_Rotation.h"
#include "core/Core_File.h"
#include "core/Core_ScriptBridge.h"

#include <algorithm>
#include <cmath>

namespace Collision2D
{

LuaScript* ZibRect::GetScript()
{
    return nullptr;
}

void ZibRect::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void ZibRect::Write(Core::File& file) const
{
    file << top << left << right << bottom;
}

bool ZibRect::Read(Core::File& file)
{
    float values[4] = {};
    for (float& value : values)
    {
        if (!file.ReadExact(&value, sizeof value))
        {
            return false;
        }
    }
    top = values[0];
    left = values[1];
    right = values[2];
    bottom = values[3];
    return true;
}

void BoundingRectangleAtPose(const ZibRect& local, ZibRect& out, float x, float y, float degrees)
{
    ZibRect turned = local;
    if (degrees != 0.0f && degrees != 360.0f)
    {
        const Rotation rotation(degrees);
        const Math::Vector2D corners[4] = {
            rotation.Apply({local.right, local.top}),
            rotation.Apply({local.left, local.top}),
            rotation.Apply({local.left, local.bottom}),
            rotation.Apply({local.right, local.bottom}),
        };
        // The extremes start from the first corner, so rectangles of any
        // extent get their true bounds.
        turned = ZibRect(corners[0].y, corners[0].x, corners[0].x, corners[0].y);
        for (const Math::Vector2D& corner : corners)
        {
            turned.top = std::max(turned.top, corner.y);
            turned.bottom = std::min(turned.bottom, corner.y);
            turned.left = std::min(turned.left, corner.x);
            turned.right = std::max(turned.right, corner.x);
        }
    }
    out = ZibRect(turned.top + y, turned.left + x, turned.right + x, turned.bottom + y);
}

namespace
{

// On one axis: b's high end lies in a's range, or b's low end does, or a's
// range lies within b's.
bool RangesMeet(float aLow, float aHigh, float bLow, float bHigh)
{
    return (aLow <= bHigh && bHigh <= aHigh) || (aLow <= bLow && bLow <= aHigh) ||
           (bLow <= aLow && aHigh <= bHigh);
}

} // namespace

bool RectanglesOverlap(const ZibRect& a, const ZibRect& b)
{
    return RangesMeet(a.left, a.right, b.left, b.right) && RangesMeet(a.bottom, a.top, b.bottom, b.top);
}

bool RectangleIntersection(const ZibRect& a, const ZibRect& b, ZibRect& out)
{
    out = ZibRect(std::min(a.top, b.top), std::max(a.left, b.left), std::min(a.right, b.right),
                  std::max(a.bottom, b.bottom));
    return std::trunc(out.right - out.left) >= 1.0f && std::trunc(out.top - out.bottom) >= 1.0f;
}

void RectangleUnion(const ZibRect& a, const ZibRect& b, ZibRect& out)
{
    out = ZibRect(std::max(a.top, b.top), std::min(a.left, b.left), std::max(a.right, b.right),
                  std::min(a.bottom, b.bottom));
}

} // namespace Collision2D
