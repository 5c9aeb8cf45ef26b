// The layer collision files, read with the reader the layers use.
#include "ResourceTestSupport.h"

#include "collision/Collision_StaticCollisionFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace ResourceTest;

TEST(CollisionFiles, OnlyTheArenaLayersHoldWallsAndTheyStayInTheirBounds)
{
    for (int level = 0; level < 9; ++level)
    {
        for (int layer = 0; layer < 3; ++layer)
        {
            const std::string name =
                "level" + std::to_string(level) + "_layer" + std::to_string(layer) + ".txt";
            SCOPED_TRACE(name);
            Collision2D::StaticCollisionFile file;
            std::string problem;
            ASSERT_TRUE(file.Read(ResourcePath("Resources/Layers Collisions/" + name), problem)) << problem;
            EXPECT_TRUE(file.GetCircles().empty());
            const auto& segments = file.GetSegments();
            const bool arena = layer == 1 && (level == 1 || level == 4);
            if (!arena)
            {
                EXPECT_TRUE(segments.empty());
                continue;
            }
            ASSERT_EQ(segments.size(), 8u);
            // "layer1" bounds of the play level and the tutorial.
            const float x0 = level == 1 ? -944.0f : -670.0f, y0 = level == 1 ? -572.0f : -476.0f;
            const float x1 = x0 + (level == 1 ? 1920.0f : 1327.0f), y1 = y0 + (level == 1 ? 1097.0f : 860.0f);
            for (std::size_t i = 0; i < segments.size(); ++i)
            {
                const auto& s = segments[i];
                EXPECT_EQ(s.z, 0);
                EXPECT_EQ(s.userId, i + 1);
                for (const float x : {s.a.x, s.b.x})
                {
                    EXPECT_TRUE(x >= x0 && x <= x1);
                    // Inside the coloured balls' removal line and clear of
                    // the prototypes' columns.
                    EXPECT_LE(std::abs(x), 520.0f);
                }
                for (const float y : {s.a.y, s.b.y})
                {
                    EXPECT_TRUE(y >= y0 && y <= y1);
                    EXPECT_LE(std::abs(y), 400.0f);
                }
                // Static segments are one-sided: each wall also runs back.
                EXPECT_TRUE(std::any_of(segments.begin(), segments.end(),
                                        [&](const auto& other) { return other.a == s.b && other.b == s.a; }));
            }
        }
    }
}
