#include "math/Math_Circle2D.h"

#include "core/Core_ScriptBridge.h"
#include "math/Math_FloatArchive.h"
#include "math/Math_LineSegment2D.h"

namespace Math
{

LuaScript* Circle2D::GetScript()
{
    return nullptr;
}

void Circle2D::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

ClassifyResult Circle2D::IntersectLineSegment(const LineSegment2D& segment, Vector2D& first,
                                              Vector2D& second) const
{
    return segment.IntersectCircle(*this, first, second);
}

void Circle2D::Write(Core::File& file) const
{
    const float values[3] = {center.x, center.y, radius};
    Detail::WriteFloats(file, values);
}

void Circle2D::Read(Core::File& file)
{
    float values[3];
    if (Detail::ReadFloats(file, values))
    {
        center = Vector2D(values[0], values[1]);
        radius = values[2];
    }
}

Core::File& operator<<(Core::File& file, const Circle2D& circle)
{
    circle.Write(file);
    return file;
}

Core::File& operator>>(Core::File& file, Circle2D& circle)
{
    circle.Read(file);
    return file;
}

} // namespace Math
