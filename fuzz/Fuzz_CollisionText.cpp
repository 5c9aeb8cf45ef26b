// Layer collision text files: a file that does not read leaves the shapes
// read before as they were and says why; one that reads holds only finite
// values and no more records than its bytes can spell.

#include "collision/Collision_StaticCollisionFile.h"
#include "fuzz/Fuzz_Support.h"

#include <cmath>
#include <cstring>

namespace
{

// Every field of every shape, in order, as raw bytes.
Fuzz::Bytes Shapes(const Collision2D::StaticCollisionFile& file)
{
    Fuzz::Bytes bytes;
    const auto put = [&bytes](const auto& value)
    {
        std::uint8_t raw[sizeof value];
        std::memcpy(raw, &value, sizeof value);
        bytes.insert(bytes.end(), raw, raw + sizeof value);
    };
    for (const auto& segment : file.GetSegments())
    {
        put(segment.a.x), put(segment.a.y), put(segment.b.x), put(segment.b.y), put(segment.z),
            put(segment.userId);
    }
    put(std::uint8_t{0xFF});
    for (const auto& circle : file.GetCircles())
    {
        put(circle.center.x), put(circle.center.y), put(circle.radius), put(circle.z), put(circle.userId);
    }
    return bytes;
}

bool Finite(const Collision2D::StaticCollisionFile& file)
{
    for (const auto& segment : file.GetSegments())
    {
        if (!std::isfinite(segment.a.x) || !std::isfinite(segment.a.y) || !std::isfinite(segment.b.x) ||
            !std::isfinite(segment.b.y))
        {
            return false;
        }
    }
    for (const auto& circle : file.GetCircles())
    {
        if (!std::isfinite(circle.center.x) || !std::isfinite(circle.center.y) ||
            !std::isfinite(circle.radius))
        {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Collision2D::StaticCollisionFile file;
    std::string problem;
    Fuzz::Require(file.Parse("SEGMENTS 1\n-5,0,5,0,1,7\nCIRCLES 1\n0,0,2.5,3,9\n", problem),
                  "the starting file reads");
    const Fuzz::Bytes before = Shapes(file);

    const std::string path = Fuzz::WriteInputFile(data, size, ".txt");
    if (!file.Read(path, problem))
    {
        Fuzz::Require(Shapes(file) == before, "a collision file that does not read changes nothing");
        Fuzz::Require(!problem.empty(), "a collision file that opens but does not read says why");
        return 0;
    }
    // Each record spells at least its numbers and separators.
    Fuzz::Require(file.GetSegments().size() * 11 + file.GetCircles().size() * 9 <= size,
                  "a collision file holds no more records than its bytes spell");
    Fuzz::Require(Finite(file), "a collision file that reads holds finite values");
    return 0;
}
