#include "engine/Engine_Circle.h"

#include "math/Math_Matrix4.h"

namespace Engine
{

Circle::Circle(float radius, std::int32_t degreeStep)
{
    Generate(radius, degreeStep);
}

Circle* Circle::Clone() const
{
    return new ("Engine_Circle", __LINE__) Circle(*this);
}

std::uint32_t Circle::GetSize() const
{
    return sizeof(Circle);
}

bool Circle::Generate(float radius, std::int32_t degreeStep)
{
    if (degreeStep < 1)
    {
        return false;
    }
    points_.clear();
    const Math::Vector3 start(radius, 0.0f, 0.0f);
    Math::Vector3 previous = start;
    for (std::int32_t angle = 0; angle <= 360; angle += degreeStep)
    {
        const Math::Vector3 current = Math::Matrix4::RotationZ(static_cast<float>(angle)) * start;
        points_.push_back(previous);
        points_.push_back(current);
        previous = current;
    }
    return true;
}

} // namespace Engine
