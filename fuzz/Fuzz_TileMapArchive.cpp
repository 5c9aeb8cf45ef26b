// Tile maps as archived with a collision world.

#include "collision/Collision_TileMap.h"
#include "fuzz/Fuzz_ReadBack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz::CheckReadBack<Collision2D::TileMap>(data, size);
    return 0;
}
