// The layer collision files, read with a parse of their grammar: a section
// word, a count, records of numbers joined by one separator character each;
// then the circle section the same way.
#include "ResourceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace ResourceTest;

namespace
{

struct Segment
{
    float x1, y1, x2, y2, z;
    unsigned uid;

    bool operator==(const Segment&) const = default;
};

struct LayerFile
{
    bool ok = false;
    std::vector<Segment> segments;
    int circles = -1;
};

LayerFile Parse(const std::string& path)
{
    LayerFile file;
    std::ifstream in(path);
    std::string word;
    int count = 0;
    char separator = 0;
    if (!(in >> word >> count))
    {
        return file;
    }
    for (int i = 0; i < count; ++i)
    {
        Segment s{};
        if (!(in >> s.x1 >> separator >> s.y1 >> separator >> s.x2 >> separator >> s.y2 >> separator >> s.z >>
              separator >> s.uid))
        {
            return file;
        }
        file.segments.push_back(s);
    }
    if (!(in >> word >> file.circles))
    {
        return file;
    }
    file.ok = true;
    return file;
}

} // namespace

TEST(CollisionFiles, OnlyTheArenaLayersHoldWallsAndTheyStayInTheirBounds)
{
    for (int level = 0; level < 9; ++level)
    {
        for (int layer = 0; layer < 3; ++layer)
        {
            const std::string name =
                "level" + std::to_string(level) + "_layer" + std::to_string(layer) + ".txt";
            SCOPED_TRACE(name);
            const LayerFile file = Parse(ResourcePath("Resources/Layers Collisions/" + name));
            ASSERT_TRUE(file.ok);
            EXPECT_EQ(file.circles, 0);
            const bool arena = layer == 1 && (level == 1 || level == 4);
            if (!arena)
            {
                EXPECT_TRUE(file.segments.empty());
                continue;
            }
            ASSERT_EQ(file.segments.size(), 8u);
            // "layer1" bounds of the play level and the tutorial.
            const float x0 = level == 1 ? -944.0f : -670.0f, y0 = level == 1 ? -572.0f : -476.0f;
            const float x1 = x0 + (level == 1 ? 1920.0f : 1327.0f), y1 = y0 + (level == 1 ? 1097.0f : 860.0f);
            for (std::size_t i = 0; i < file.segments.size(); ++i)
            {
                const Segment& s = file.segments[i];
                EXPECT_EQ(s.z, 0.0f);
                EXPECT_EQ(s.uid, i + 1);
                for (const float x : {s.x1, s.x2})
                {
                    EXPECT_TRUE(x >= x0 && x <= x1);
                    // Inside the coloured balls' removal line and clear of
                    // the prototypes' columns.
                    EXPECT_LE(std::abs(x), 520.0f);
                }
                for (const float y : {s.y1, s.y2})
                {
                    EXPECT_TRUE(y >= y0 && y <= y1);
                    EXPECT_LE(std::abs(y), 400.0f);
                }
                // Static segments are one-sided: each wall also runs back.
                const Segment reverse{s.x2, s.y2, s.x1, s.y1, s.z, 0};
                EXPECT_TRUE(std::any_of(file.segments.begin(), file.segments.end(),
                                        [&](const Segment& other)
                                        {
                                            return other.x1 == reverse.x1 && other.y1 == reverse.y1 &&
                                                   other.x2 == reverse.x2 && other.y2 == reverse.y2;
                                        }));
            }
        }
    }
}
