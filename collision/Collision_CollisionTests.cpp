#include "collision/Collision_CollisionTests.h"

namespace Collision2D
{

const CollisionTestTable& DefaultCollisionTests()
{
    static const CollisionTestTable tests;
    return tests;
}

} // namespace Collision2D
