// The actor stream: animations of frames of collision shapes.

#include "collision/Collision_CollisionActor.h"
#include "fuzz/Fuzz_ReadBack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz::CheckReadBack<Collision2D::CollisionActor>(data, size);
    return 0;
}
