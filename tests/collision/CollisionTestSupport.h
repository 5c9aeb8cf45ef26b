#pragma once

#include "collision/Collision_Settings.h"
#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace CollisionTest
{

// The archive bytes of anything with `Write(Core::File&) const`.
template <class T> std::vector<std::uint8_t> BytesOf(const T& value)
{
    Core::MemoryFile file;
    value.Write(file);
    return file.GetBuffer();
}

// A read archive over `bytes`, cut to `length` bytes.
inline Core::MemoryFile Truncated(const std::vector<std::uint8_t>& bytes, std::size_t length)
{
    return Core::MemoryFile(bytes.data(), static_cast<std::uint32_t>(length));
}

// Overwrites the 4 bytes at `offset` with `value`.
template <class T> void Patch(std::vector<std::uint8_t>& bytes, std::size_t offset, T value)
{
    static_assert(sizeof(T) == 4);
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// Writes `value`, reads it into a fresh `T` and checks the fresh one writes
// the same bytes and consumed the whole archive.
template <class T> void ExpectByteExactRoundTrip(const T& value, T& fresh)
{
    const std::vector<std::uint8_t> bytes = BytesOf(value);
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    ASSERT_TRUE(fresh.Read(in));
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.GetBytesLeft(), 0u);
    EXPECT_EQ(BytesOf(fresh), bytes);
}

// Reading every proper prefix of `value`'s bytes into `target` fails and
// leaves `target` writing the bytes it wrote before.
template <class T> void ExpectEveryTruncationRejected(const T& value, T& target)
{
    const std::vector<std::uint8_t> bytes = BytesOf(value);
    const std::vector<std::uint8_t> before = BytesOf(target);
    for (std::size_t length = 0; length < bytes.size(); ++length)
    {
        Core::MemoryFile in = Truncated(bytes, length);
        EXPECT_FALSE(target.Read(in))
            << "read succeeded with " << length << " of " << bytes.size() << " bytes";
        EXPECT_TRUE(in.Failed());
        ASSERT_EQ(BytesOf(target), before) << "target changed after " << length << " bytes";
    }
}

// Counters and settings back to the start state around every test.
class CollisionFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Collision2D::ResetCollisionCounters();
        Collision2D::SetMaximumInterpolationValue(Collision2D::DefaultMaximumInterpolationValue);
    }
    void TearDown() override { SetUp(); }
};

} // namespace CollisionTest
