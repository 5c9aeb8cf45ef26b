// Layers read their fixed walls from collision text files: all of a file or
// none of it, in file order, in the classic number notation.
#include "WorldTestSupport.h"

#include "collision/Collision_GeometricCollision.h"
#include "core/Core_DiskFile.h"
#include "core/Core_ResourceReport.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{

using WorldTest::WorldDisplayTest;

struct Seg
{
    float x1, y1, x2, y2;
    int z;
    std::uint32_t userId;
};

struct Circ
{
    float cx, cy, radius;
    int z;
    std::uint32_t userId;
};

struct FileCase
{
    const char* name;
    const char* text;
    std::vector<Seg> segments;
    std::vector<Circ> circles;
    // Null for a file that reads; else what the error must name.
    const char* error = nullptr;
};

std::string WriteFile(const std::string& name, const std::string& text)
{
    const std::string path = testing::TempDir() + "layer_collision_" + name + ".txt";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

class StaticCollisionFileDisplayTest : public WorldDisplayTest
{
protected:
    Collision2D::CollisionLayer& CollisionLayerOf(const Velkor::Layer& layer)
    {
        return *Collision().GetLayer(layer.GetCollisionLayerIndex());
    }

    std::int32_t Segments(const Velkor::Layer& layer)
    {
        return CollisionLayerOf(layer).GetCount(Collision2D::CollisionLayer::StaticLineSegments) - 1;
    }

    std::int32_t Circles(const Velkor::Layer& layer)
    {
        return CollisionLayerOf(layer).GetCount(Collision2D::CollisionLayer::StaticCircles) - 1;
    }
};

TEST_F(StaticCollisionFileDisplayTest, FilesReadWholeInFileOrderOrNotAtAll)
{
    const std::vector<FileCase> cases = {
        {"commas",
         "SEGMENTS 1\n-512,-384,512,-384,0,7\nCIRCLES 1\n0,0,40.5,0,9\n",
         {{-512, -384, 512, -384, 0, 7}},
         {{0, 0, 40.5f, 0, 9}}},
        {"any_separator_with_blanks",
         "s 2\n 1 ; 2 |3x 4 /5e0 : 6\n-7.5 ,+8, 9e1,10 ,11,12\nc 0",
         {{1, 2, 3, 4, 5, 6}, {-7.5f, 8, 90, 10, 11, 12}},
         {}},
        {"records_over_lines_and_trailing_text",
         "a 1 1,\n2\n,3,4\n,0,\n1 b 1\n5,6,\t7,0,2 whatever follows",
         {{1, 2, 3, 4, 0, 1}},
         {{5, 6, 7, 0, 2}}},
        {"count_zero_and_negative", "a 0 b -3", {}, {}},
        {"negative_segment_count_still_reads_circles", "a -3 b 1 1,2,3,4,5", {}, {{1, 2, 3, 4, 5}}},
        {"z_truncated_to_its_low_byte",
         "a 4 0,0,1,1,1.9,1 0,0,1,1,-1,2 0,0,1,1,256,3 0,0,1,1,-0.5,4 b 0",
         {{0, 0, 1, 1, 1, 1}, {0, 0, 1, 1, 255, 2}, {0, 0, 1, 1, 0, 3}, {0, 0, 1, 1, 0, 4}},
         {}},
        {"crlf",
         "SEGMENTS 1\r\n1,2,3,4,5,6\r\nCIRCLES 1\r\n1,2,3,4,4294967295\r\n",
         {{1, 2, 3, 4, 5, 6}},
         {{1, 2, 3, 4, 4294967295u}}},

        {"numbers_separated_by_blanks", "a 1\n1 2,3,4,5,6\nb 0\n", {}, {}, "segment record 1"},
        {"truncated_record",
         "a 1\n10.5,20.5,30.5,40.5\n",
         {},
         {},
         "segment record 1: the file ends inside it"},
        {"count_two_with_one_record", "a 2\n10.25,20.25,30.25,40.25,5,6\nb 0\n", {}, {}, "segment record 2"},
        {"huge_count", "a 2000000000\n1,2,3,4,5,6\nb 0\n", {}, {}, "2000000000"},
        {"count_beyond_32_bits", "a 4294967297\n1,2,3,4,5,6\nb 0\n", {}, {}, "segment section"},
        {"z_nan", "a 1\n1,2,3,4,nan,6\nb 0\n", {}, {}, "segment record 1"},
        {"z_beyond_float", "a 1\n1,2,3,4,1e39,6\nb 0\n", {}, {}, "segment record 1"},
        {"z_beyond_32_bits", "a 1\n1,2,3,4,3e9,6\nb 0\n", {}, {}, "segment record 1"},
        {"negative_user_id", "a 1\n1,2,3,4,5,-6\nb 0\n", {}, {}, "segment record 1"},
        {"bad_circle_after_good_segments",
         "a 1\n1,2,3,4,5,6\nb 2\n1,2,3,4,5\n1,2,x,4,5\n",
         {},
         {},
         "circle record 2"},
        {"no_circle_section", "a 1\n1,2,3,4,5,6\n", {}, {}, "circle section"},
        {"empty", "", {}, {}, "segment section"},
    };

    Core::ForgetReportedResources();
    for (const FileCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Velkor::Layer& layer = AddLayer();
        const std::string path = WriteFile(c.name, c.text);
        std::string error;
        testing::internal::CaptureStderr();
        const bool read = layer.ReadInformation_StaticCollision(path, &error);
        const std::string report = testing::internal::GetCapturedStderr();

        if (c.error != nullptr)
        {
            EXPECT_FALSE(read);
            EXPECT_NE(error.find(path), std::string::npos) << error;
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            EXPECT_NE(report.find(Core::ToNativePath(path)), std::string::npos) << report;
            EXPECT_NE(report.find(c.error), std::string::npos) << report;
            EXPECT_EQ(Segments(layer), 0);
            EXPECT_EQ(Circles(layer), 0);
            continue;
        }
        EXPECT_TRUE(read) << error;
        EXPECT_TRUE(report.empty()) << report;
        ASSERT_EQ(Segments(layer), static_cast<std::int32_t>(c.segments.size()));
        ASSERT_EQ(Circles(layer), static_cast<std::int32_t>(c.circles.size()));
        for (std::size_t i = 0; i < c.segments.size(); ++i)
        {
            const Seg& want = c.segments[i];
            const auto* shape =
                CollisionLayerOf(layer).GetStaticLineSegment(static_cast<std::uint32_t>(i + 1));
            ASSERT_NE(shape, nullptr);
            EXPECT_EQ(shape->GetLineSegment()->pointA, Math::Vector2D(want.x1, want.y1));
            EXPECT_EQ(shape->GetLineSegment()->pointB, Math::Vector2D(want.x2, want.y2));
            EXPECT_EQ(shape->GetZ_Collision(), want.z);
            EXPECT_EQ(shape->GetUserId(), want.userId);
        }
        for (std::size_t i = 0; i < c.circles.size(); ++i)
        {
            const Circ& want = c.circles[i];
            const auto* shape = CollisionLayerOf(layer).GetStaticCircle(static_cast<std::uint32_t>(i + 1));
            ASSERT_NE(shape, nullptr);
            EXPECT_EQ(shape->GetCircle()->center, Math::Vector2D(want.cx, want.cy));
            EXPECT_EQ(shape->GetCircle()->radius, want.radius);
            EXPECT_EQ(shape->GetZ_Collision(), want.z);
            EXPECT_EQ(shape->GetUserId(), want.userId);
        }
    }
}

TEST_F(StaticCollisionFileDisplayTest, AMissingFileIsReportedOnceAndAddsNothing)
{
    Core::ForgetReportedResources();
    Velkor::Layer& layer = AddLayer();
    const std::string path = testing::TempDir() + "layer_collision_absent.txt";
    std::remove(path.c_str());

    std::string error;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(layer.ReadInformation_StaticCollision(path, &error));
    EXPECT_FALSE(layer.ReadInformation_StaticCollision(path));
    const std::string report = testing::internal::GetCapturedStderr();

    EXPECT_NE(error.find(path), std::string::npos) << error;
    const std::string native = Core::ToNativePath(path);
    const std::size_t first = report.find(native);
    ASSERT_NE(first, std::string::npos) << report;
    EXPECT_EQ(report.find(native, first + 1), std::string::npos) << report;
    EXPECT_EQ(Segments(layer), 0);
    EXPECT_EQ(Circles(layer), 0);
    // The game goes on: the layer still steps.
    Tick();
}

TEST_F(StaticCollisionFileDisplayTest, AFileTheCollisionLayerCannotHoldAddsNothing)
{
    // 1,500 segments fit a layer once; the second read would pass the
    // layer's 2,999 segment slots.
    std::string text = "SEGMENTS 1500\n";
    for (int i = 0; i < 1500; ++i)
    {
        text += std::to_string(i) + ",0," + std::to_string(i) + ",10,0," + std::to_string(i + 1) + "\n";
    }
    text += "CIRCLES 1\n0,0,5,0,1\n";
    const std::string path = WriteFile("crowded", text);
    Velkor::Layer& layer = AddLayer();

    ASSERT_TRUE(layer.ReadInformation_StaticCollision(path));
    EXPECT_EQ(Segments(layer), 1500);
    std::string error;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(layer.ReadInformation_StaticCollision(path, &error));
    testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("slots"), std::string::npos) << error;
    EXPECT_EQ(Segments(layer), 1500);
    EXPECT_EQ(Circles(layer), 1);
}

} // namespace
