#pragma once

#include "core/Core_Base.h"

namespace Core
{
class File;
}

struct lua_State;
class LuaScript;

namespace Collision2D
{

// An axis-aligned rectangle with y growing upwards: top is the larger y,
// bottom the smaller. Fields in the order top, left, right, bottom.
class ZibRect final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "ZibRect";

    ZibRect() = default;
    ZibRect(float topValue, float leftValue, float rightValue, float bottomValue)
        : top(topValue), left(leftValue), right(rightValue), bottom(bottomValue)
    {
    }
    ZibRect(const ZibRect&) = default;
    ZibRect& operator=(const ZibRect&) = default;

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    // Exact comparison of the four floats.
    bool operator==(const ZibRect& other) const
    {
        return top == other.top && left == other.left && right == other.right && bottom == other.bottom;
    }
    bool operator!=(const ZibRect& other) const { return !(*this == other); }

    // Archive form: top, left, right, bottom as 4-byte floats. Read takes all
    // four or, on a short archive, changes nothing and answers false; the
    // archive then holds the error, which the readers of larger records
    // check once at their end.
    void Write(Core::File& file) const;
    bool Read(Core::File& file);

    float top = 0.0f;
    float left = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// The axis-aligned bounds of `local` turned by `degrees` about the local
// origin, then shifted by (x, y). An angle of exactly 0 or 360 only shifts.
void BoundingRectangleAtPose(const ZibRect& local, ZibRect& out, float x, float y, float degrees);

// True when the closed x ranges [left, right] and the closed y ranges
// [bottom, top] both meet: touching edges and corners count.
bool RectanglesOverlap(const ZibRect& a, const ZibRect& b);

// Writes the intersection to `out` in every case; answers true only when it
// is at least one unit wide and one unit high (truncated widths).
bool RectangleIntersection(const ZibRect& a, const ZibRect& b, ZibRect& out);

void RectangleUnion(const ZibRect& a, const ZibRect& b, ZibRect& out);

} // namespace Collision2D
