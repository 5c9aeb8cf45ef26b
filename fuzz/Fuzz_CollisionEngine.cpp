// Collision worlds: layers, grids, shapes and actors as one archive.

#include "collision/Collision_CollisionEngine.h"
#include "fuzz/Fuzz_ReadBack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz::CheckReadBack<Collision2D::CollisionEngine>(data, size);
    return 0;
}
