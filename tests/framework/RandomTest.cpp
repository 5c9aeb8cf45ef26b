#include "framework/Velkor_Random.h"

#include "RandomDrawSupport.h"
#include "core/Core_Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace
{

using RandomDrawSupport::SeedSoNextDrawIs;

TEST(RandomValues, SeedHelperSetsTheNextDraw)
{
    for (const std::int32_t draw : {0, 1, 16383, 16384, 32767})
    {
        SeedSoNextDrawIs(draw);
        EXPECT_EQ(Core::Random(), draw);
    }
}

struct IntCase
{
    std::int32_t draw;
    std::int32_t a;
    std::int32_t b;
    std::int32_t expected;
};

TEST(RandomValues, IntegersAtChosenDraws)
{
    const IntCase cases[] = {
        {0, 2, 7, 2},
        {32767, 2, 7, 7},
        {32767, 7, 2, 2},
        {0, 7, 2, 7},
        {12345, 5, 5, 5},
        // 16383 / 32767 lies just below one half, 16384 / 32767 just above.
        {16383, 0, 1, 0},
        {16384, 0, 1, 1},
        {32767, 0, -3, -3},
        {0, 0, -3, 0},
    };
    for (const IntCase& c : cases)
    {
        SeedSoNextDrawIs(c.draw);
        EXPECT_EQ(Velkor::RandomInt(c.a, c.b), c.expected) << c.draw << " " << c.a << " " << c.b;
        SeedSoNextDrawIs(c.draw);
        if (c.a == 0)
        {
            EXPECT_EQ(Velkor::RandomIntUpTo(c.b), c.expected) << c.draw << " " << c.b;
        }
    }
}

TEST(RandomValues, ExactlyHalfRoundsDown)
{
    // Draw 19872 over a range of 263 gives 159.5 exactly in f32.
    SeedSoNextDrawIs(19872);
    EXPECT_EQ(Velkor::RandomIntUpTo(263), 159);
    SeedSoNextDrawIs(19872);
    EXPECT_EQ(Velkor::RandomIntUpTo(-263), -159);
    // 8192 / 32767 x 3 = 0.75002...: rounds up.
    SeedSoNextDrawIs(8192);
    EXPECT_EQ(Velkor::RandomIntUpTo(3), 1);
}

TEST(RandomValues, EveryDrawStaysInsideItsBounds)
{
    Core::SeedRandom(99);
    for (int i = 0; i < 2000; ++i)
    {
        const std::int32_t reversed = Velkor::RandomInt(7, 2);
        EXPECT_GE(reversed, 2);
        EXPECT_LE(reversed, 7);
        const std::int32_t negative = Velkor::RandomIntUpTo(-3);
        EXPECT_GE(negative, -3);
        EXPECT_LE(negative, 0);
        EXPECT_EQ(Velkor::RandomIntUpTo(0), 0);
    }
}

TEST(RandomValues, ExtremeBoundsDoNotOverflow)
{
    constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();
    for (const std::int32_t draw : {0, 16384, 32767})
    {
        SeedSoNextDrawIs(draw);
        const std::int32_t upTo = Velkor::RandomIntUpTo(lowest);
        EXPECT_LE(upTo, 0);
        SeedSoNextDrawIs(draw);
        const std::int32_t between = Velkor::RandomInt(lowest, highest);
        SeedSoNextDrawIs(draw);
        const std::int32_t reversed = Velkor::RandomInt(highest, lowest);
        if (draw == 0)
        {
            EXPECT_EQ(upTo, 0);
            EXPECT_EQ(between, lowest);
            EXPECT_EQ(reversed, highest);
        }
        if (draw == 32767)
        {
            EXPECT_EQ(upTo, lowest);
            EXPECT_EQ(between, highest);
            EXPECT_EQ(reversed, lowest);
        }
        if (draw == 16384)
        {
            // Near the middle of the range, with the sign right.
            EXPECT_LT(upTo, -1000000000);
            EXPECT_GT(between, -100000);
            EXPECT_LT(between, 100000);
        }
    }
}

TEST(RandomValues, FloatsVectorsAndColoursUseOneDrawEach)
{
    SeedSoNextDrawIs(32767);
    EXPECT_EQ(Velkor::RandomFloat(2.0f, 7.0f), 7.0f);
    SeedSoNextDrawIs(0);
    EXPECT_EQ(Velkor::RandomFloat(2.0f, 7.0f), 2.0f);

    // One t for both components: the point lies on the segment.
    SeedSoNextDrawIs(16384);
    const Math::Vector2D point = Velkor::RandomVector2D({0.0f, 10.0f}, {10.0f, 30.0f});
    EXPECT_FLOAT_EQ(point.y - 10.0f, 2.0f * point.x);
    SeedSoNextDrawIs(32767);
    const Math::Vector4 colour = Velkor::RandomColor({0.0f, 1.0f, 0.2f, 0.0f}, {1.0f, 0.0f, 0.2f, 0.5f});
    EXPECT_EQ(colour.x, 1.0f);
    EXPECT_EQ(colour.y, 0.0f);
    EXPECT_FLOAT_EQ(colour.z, 0.2f);
    EXPECT_EQ(colour.w, 0.5f);

    // Each call consumed exactly one draw: the sequences stay in step.
    Core::SeedRandom(5);
    Velkor::RandomInt(1, 9);
    Velkor::RandomFloat(0.0f, 1.0f);
    Velkor::RandomVector2D({}, {1.0f, 1.0f});
    Velkor::RandomColor({}, {});
    const std::int32_t fifth = Core::Random();
    Core::SeedRandom(5);
    for (int i = 0; i < 4; ++i)
    {
        Core::Random();
    }
    EXPECT_EQ(Core::Random(), fifth);
}

TEST(RandomValues, RotateVectorDegreesTurnsAboutTheOrigin)
{
    const Math::Vector2D turned = Velkor::RotateVectorDegrees({2.0f, 0.0f}, 90.0f);
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.y, 2.0f, 1e-6f);
    const Math::Vector2D back = Velkor::RotateVectorDegrees({0.0f, -3.0f}, -90.0f);
    EXPECT_NEAR(back.x, -3.0f, 1e-6f);
    EXPECT_NEAR(back.y, 0.0f, 1e-6f);
    const Math::Vector2D zero = Velkor::RotateVectorDegrees({0.0f, 0.0f}, 45.0f);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
}

} // namespace
