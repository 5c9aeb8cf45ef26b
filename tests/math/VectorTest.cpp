#include "MathTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"

#include <cmath>
#include <cstring>

namespace
{

using Math::ClassifyResult;
using Math::Vector2D;
using MathTest::Near;

TEST(Vector2D, NormalizeLeavesVectorsShorterThanTheToleranceAlone)
{
    struct Case
    {
        Vector2D input;
        Vector2D expected;
    };
    const Case cases[] = {
        {{0.0006f, 0.0f}, {1.0f, 0.0f}},
        {{0.0005f, 0.0f}, {1.0f, 0.0f}}, // exactly the tolerance still
                                         // divides
        {{0.0004f, 0.0f}, {0.0004f, 0.0f}},
        {{0.0f, 0.0f}, {0.0f, 0.0f}},
        {{3.0f, -4.0f}, {0.6f, -0.8f}},
    };
    for (const Case& c : cases)
    {
        Vector2D v = c.input;
        v.Normalize();
        EXPECT_EQ(v, c.expected) << "input (" << c.input.x << ", " << c.input.y << ")";
    }
}

TEST(Vector2D, NormalizedHasNoThresholdButKeepsZero)
{
    EXPECT_EQ(Math::Normalized({0.0001f, 0.0f}), Vector2D(1.0f, 0.0f));
    EXPECT_EQ(Math::Normalized({0.0f, 0.0f}), Vector2D(0.0f, 0.0f));
}

TEST(Vector2D, ArithmeticAndExactComparison)
{
    const Vector2D a(1.0f, 2.0f);
    const Vector2D b(3.0f, -5.0f);
    EXPECT_EQ(a + b, Vector2D(4.0f, -3.0f));
    EXPECT_EQ(a - b, Vector2D(-2.0f, 7.0f));
    EXPECT_EQ(Math::Subtract(a, b), a - b);
    EXPECT_EQ(-a, Vector2D(-1.0f, -2.0f));
    EXPECT_EQ(a * 2.0f, Vector2D(2.0f, 4.0f));
    EXPECT_EQ(2.0f * a, a * 2.0f);
    EXPECT_EQ(b / 2.0f, Vector2D(1.5f, -2.5f));
    EXPECT_EQ(a.Dot(b), -7.0f);
    EXPECT_EQ(Math::DotProduct(a, b), -7.0f);
    EXPECT_EQ(Vector2D(3.0f, 4.0f).Length(), 5.0f);

    Vector2D c = a;
    c += b;
    c -= a;
    EXPECT_EQ(c, b);
    c.SetZero();
    EXPECT_EQ(c, Vector2D());

    // No tolerance: the next float up already differs.
    const Vector2D nudged(1.0f, std::nextafter(2.0f, 3.0f));
    EXPECT_FALSE(a == nudged);
    EXPECT_TRUE(a != nudged);
}

TEST(Vector2D, IsWithinIncludesBothEnds)
{
    EXPECT_TRUE(Math::IsWithin(5.0f, 4.0f, 1.0f));
    EXPECT_TRUE(Math::IsWithin(3.0f, 4.0f, 1.0f));
    EXPECT_FALSE(Math::IsWithin(5.0001f, 4.0f, 1.0f));
    EXPECT_FALSE(Math::IsWithin(2.9999f, 4.0f, 1.0f));
}

TEST(Vector2D, ClassifyToCircle)
{
    const Math::Circle2D circle({1.0f, 1.0f}, 2.0f);
    EXPECT_EQ(Vector2D(3.0f, 1.0f).ClassifyToCircle(circle), ClassifyResult::Intersecting);
    EXPECT_EQ(Vector2D(4.0f, 1.0f).ClassifyToCircle(circle), ClassifyResult::Outside);
    EXPECT_EQ(Vector2D(1.5f, 1.0f).ClassifyToCircle(circle), ClassifyResult::Inside);
}

TEST(Vector2D, DistanceToLines)
{
    const Vector2D p(3.0f, 4.0f);
    Vector2D foot = MathTest::Untouched;
    EXPECT_FLOAT_EQ(p.DistanceToLineThrough({0.0f, 1.0f}, {2.0f, 0.0f}, foot), 3.0f);
    EXPECT_EQ(foot, Vector2D(3.0f, 1.0f));

    // A zero direction makes the line the point itself.
    EXPECT_FLOAT_EQ(p.DistanceToLineThrough({0.0f, 0.0f}, {0.0f, 0.0f}, foot), 5.0f);
    EXPECT_EQ(foot, Vector2D(0.0f, 0.0f));

    const Math::Ray2D ray({0.0f, 0.0f}, {1.0f, 1.0f});
    EXPECT_FLOAT_EQ(p.DistanceToLine(ray, foot), std::sqrt(0.5f));
    EXPECT_TRUE(Near(foot, {3.5f, 3.5f}));
    // The whole line counts, also behind the ray's origin.
    EXPECT_FLOAT_EQ(Vector2D(-2.0f, -4.0f).DistanceToLine(ray, foot), std::sqrt(2.0f));
    EXPECT_TRUE(Near(foot, {-3.0f, -3.0f}));

    const Math::Line2D line({0.0f, -1.0f}, {0.0f, 5.0f});
    EXPECT_FLOAT_EQ(p.DistanceToLine(line, foot), 3.0f);
    EXPECT_EQ(foot, Vector2D(0.0f, 4.0f));

    // With a zero direction the foot stays as passed and the distance is
    // measured to it.
    foot = Vector2D(3.0f, 0.0f);
    EXPECT_FLOAT_EQ(p.DistanceToLine(Math::Line2D({9.0f, 9.0f}, {0.0f, 0.0f}), foot), 4.0f);
    EXPECT_EQ(foot, Vector2D(3.0f, 0.0f));
    EXPECT_FLOAT_EQ(p.DistanceToLine(Math::Ray2D({9.0f, 9.0f}, {0.0f, 0.0f}), foot), 4.0f);
    EXPECT_EQ(foot, Vector2D(3.0f, 0.0f));
}

TEST(Vector2D, ArchiveIsEightBytesAndAShortReadChangesNothing)
{
    Core::MemoryFile file;
    file << Vector2D(1.5f, -2.25f) << Vector2D(7.0f, 8.0f);
    ASSERT_EQ(file.GetSize(), 16u);
    float raw[2];
    std::memcpy(raw, file.GetData(), sizeof raw);
    EXPECT_EQ(raw[0], 1.5f);
    EXPECT_EQ(raw[1], -2.25f);

    Vector2D first;
    Vector2D second;
    file >> first >> second;
    EXPECT_EQ(first, Vector2D(1.5f, -2.25f));
    EXPECT_EQ(second, Vector2D(7.0f, 8.0f));
    EXPECT_FALSE(file.Failed());

    // Only x is there: neither coordinate changes.
    const float onlyX = 3.0f;
    Core::MemoryFile shortFile(&onlyX, sizeof onlyX);
    Vector2D kept(9.0f, 9.0f);
    shortFile >> kept;
    EXPECT_TRUE(shortFile.Failed());
    EXPECT_EQ(kept, Vector2D(9.0f, 9.0f));
}

TEST(Vector3, NormalizeOnlySkipsZeroAndCrossProduct)
{
    Math::Vector3 tiny(0.0001f, 0.0f, 0.0f);
    tiny.Normalize();
    EXPECT_EQ(tiny.x, 1.0f);
    Math::Vector3 zero;
    zero.Normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.Length(), 0.0f);

    const Math::Vector3 z = Math::CrossProduct(1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_TRUE(Near(z, {0.0f, 0.0f, 1.0f}));
    const Math::Vector3 c = Math::CrossProduct(1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f);
    EXPECT_TRUE(Near(c, {-3.0f, 6.0f, -3.0f}));

    Math::Vector3 sum(1.0f, 2.0f, 3.0f);
    sum += Math::Vector3(1.0f, 1.0f, 1.0f) * 2.0f;
    EXPECT_TRUE(Near(sum - Math::Vector3(3.0f, 4.0f, 5.0f), {}));
}

TEST(Vector4, DefaultsAndColourArchive)
{
    Math::Vector4 v;
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
    EXPECT_EQ(v.w, 1.0f);
    v.SetZero();
    EXPECT_EQ(v.w, 0.0f);

    Math::Vector4 colour;
    colour.Set(0.1f, 0.2f, 0.3f, 0.4f);
    Core::MemoryFile file;
    file << colour;
    ASSERT_EQ(file.GetSize(), 16u);
    float raw[4];
    std::memcpy(raw, file.GetData(), sizeof raw);
    EXPECT_EQ(raw[0], 0.1f); // R G B A
    EXPECT_EQ(raw[3], 0.4f);

    Math::Vector4 read;
    file >> read;
    EXPECT_EQ(read.x, 0.1f);
    EXPECT_EQ(read.y, 0.2f);
    EXPECT_EQ(read.z, 0.3f);
    EXPECT_EQ(read.w, 0.4f);

    Math::Vector4 copy;
    copy.Assign(read);
    EXPECT_EQ(copy.z, 0.3f);

    Core::MemoryFile shortFile(raw, 12);
    Math::Vector4 kept;
    shortFile >> kept;
    EXPECT_TRUE(shortFile.Failed());
    EXPECT_EQ(kept.x, 0.0f);
    EXPECT_EQ(kept.w, 1.0f);
}

} // namespace
