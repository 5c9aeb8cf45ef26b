// Tile-map text files: a file that does not read leaves the map as it was.

#include "collision/Collision_TileMap.h"
#include "fuzz/Fuzz_Support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = Fuzz::WriteInputFile(data, size, ".txt");
    Collision2D::TileMap map;
    map.SetGrid(2, 2, 8, 1);
    const auto written = [&] { return Fuzz::WrittenBytes([&](Core::File& file) { map.Write(file); }); };
    const Fuzz::Bytes before = written();
    std::string error;
    if (!map.ReadInformation(path, &error))
    {
        Fuzz::Require(written() == before, "a tile-map file that does not read changes nothing");
        Fuzz::Require(!error.empty(), "a tile-map file that does not read says why");
    }
    return 0;
}
