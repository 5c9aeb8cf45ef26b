#include "core/Core_MemoryFile.h"
#include "framework/Velkor_ReplayRecord.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{

using Velkor::ReplayChangeList;
using Velkor::ReplayRecord;

std::vector<std::uint8_t> Bytes(const Core::MemoryFile& file)
{
    return std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize());
}

Input::KeyRecord Down()
{
    Input::KeyRecord record;
    record.Advance(true);
    return record;
}

ReplayRecord MakeRecord(std::vector<std::uint8_t> keys, std::vector<std::uint8_t> buttons, bool moved,
                        std::int32_t x, std::int32_t y, float dt)
{
    ReplayRecord record;
    if (!keys.empty())
    {
        record.keyboardChanged = true;
        record.keyboardChanges = std::make_unique<ReplayChangeList>();
        record.keyboardChanges->states.assign(keys.size(), Down());
        record.keyboardChanges->indices = std::move(keys);
    }
    if (!buttons.empty() || moved)
    {
        record.mouseChanged = true;
        record.mouseChanges = std::make_unique<ReplayChangeList>();
        record.mouseChanges->states.assign(buttons.size(), Down());
        record.mouseChanges->indices = std::move(buttons);
    }
    record.mouse.previousX = x - 1;
    record.mouse.moved = moved ? 1 : 0;
    record.mouse.x = x;
    record.mouse.y = y;
    record.dt = dt;
    return record;
}

std::vector<ReplayRecord> ThreeFrames()
{
    std::vector<ReplayRecord> records;
    records.push_back(MakeRecord({0x25, 0x41}, {0, 1, 2}, true, 300, -2, 1.0f / 60.0f));
    records.push_back(MakeRecord({}, {}, true, 301, 7, 0.02f));
    records.push_back(MakeRecord({}, {}, false, 301, 7, 0.5f));
    return records;
}

TEST(ReplayRecordTest, EveryRecordButTheNewestIsWrittenAndReadsBack)
{
    const std::vector<ReplayRecord> written = ThreeFrames();
    Core::MemoryFile file;
    Velkor::WriteReplayRecords(file, written);
    // Count 2; record 0: keyboard 1, k 2, 25 41, e 2, two entries of 5, mouse 1
    // with three buttons and entries, x, y, dt.
    const std::vector<std::uint8_t> bytes = Bytes(file);
    ASSERT_EQ(bytes.size(), 4u + (1 + 4 + 2 + 4 + 10 + 1 + 4 + 3 + 4 + 15 + 12) + (1 + 1 + 4 + 0 + 4 + 12));
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 11),
              (std::vector<std::uint8_t>{2, 0, 0, 0, 1, 2, 0, 0, 0, 0x25, 0x41}));

    std::vector<ReplayRecord> read;
    read.push_back(MakeRecord({}, {}, false, 1, 1, 1.0f));
    std::string error;
    ASSERT_TRUE(Velkor::ReadReplayRecords(file, read, error)) << error;
    ASSERT_EQ(read.size(), 3u);
    for (std::size_t i = 0; i < 2; ++i)
    {
        const ReplayRecord& a = written[i];
        const ReplayRecord& b = read[i + 1];
        EXPECT_EQ(b.keyboardChanged, a.keyboardChanged) << i;
        EXPECT_EQ(b.mouseChanged, a.mouseChanged) << i;
        EXPECT_EQ(b.mouse.x, a.mouse.x) << i;
        EXPECT_EQ(b.mouse.y, a.mouse.y) << i;
        // The previous position and the moved flag are not stored.
        EXPECT_EQ(b.mouse.previousX, 0) << i;
        EXPECT_EQ(b.mouse.moved, 0) << i;
        EXPECT_EQ(b.dt, a.dt) << i;
        ASSERT_EQ(static_cast<bool>(b.keyboardChanges), a.keyboardChanged) << i;
        if (a.keyboardChanges)
        {
            EXPECT_EQ(b.keyboardChanges->indices, a.keyboardChanges->indices);
            EXPECT_EQ(b.keyboardChanges->states, a.keyboardChanges->states);
        }
        ASSERT_TRUE(b.mouseChanges) << i;
        EXPECT_EQ(b.mouseChanges->indices, a.mouseChanges->indices) << i;
        EXPECT_EQ(b.mouseChanges->states, a.mouseChanges->states) << i;
    }
}

TEST(ReplayRecordTest, NoRecordsWriteACountOfZero)
{
    for (std::size_t count : {0u, 1u})
    {
        std::vector<ReplayRecord> records;
        for (std::size_t i = 0; i < count; ++i)
        {
            records.push_back(MakeRecord({1}, {}, false, 0, 0, 0.1f));
        }
        Core::MemoryFile file;
        Velkor::WriteReplayRecords(file, records);
        EXPECT_EQ(Bytes(file), (std::vector<std::uint8_t>{0, 0, 0, 0})) << count;
        std::vector<ReplayRecord> read;
        std::string error;
        EXPECT_TRUE(Velkor::ReadReplayRecords(file, read, error)) << error;
        EXPECT_TRUE(read.empty());
    }
}

// Patches little-endian words into a well-formed file.
std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::size_t offset, std::uint32_t value,
                                  std::size_t width = 4)
{
    std::memcpy(bytes.data() + offset, &value, width);
    return bytes;
}

TEST(ReplayRecordTest, DamagedFilesAreRefusedAndAddNothing)
{
    Core::MemoryFile file;
    Velkor::WriteReplayRecords(file, ThreeFrames());
    const std::vector<std::uint8_t> good = Bytes(file);
    // Offsets in record 0: key count at 5, entry count at 11, the mouse
    // indices at 30 to 32, dt at 60; record 1's dt at 82.
    const std::uint32_t nan = std::bit_cast<std::uint32_t>(std::numeric_limits<float>::quiet_NaN());
    const std::uint32_t negative = std::bit_cast<std::uint32_t>(-0.5f);
    const struct
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"a count beyond the bytes", Patched(good, 0, 0x10000000)},
        {"more key indices than states", Patched(good, 5, 3)},
        {"a key count beyond the bytes", Patched(good, 5, 0xFFFFFFF0)},
        {"fewer states than key indices", Patched(good, 11, 1)},
        {"a state count beyond the bytes", Patched(good, 11, 0x40000000)},
        {"a mouse button of 3", Patched(good, 32, 3, 1)},
        {"a time step that is not a number", Patched(good, 60, nan)},
        {"a negative time step", Patched(good, 82, negative)},
        {"a zero time step", Patched(good, 82, 0)},
    };
    for (const auto& c : cases)
    {
        Core::MemoryFile damaged(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        std::vector<ReplayRecord> read;
        read.push_back(MakeRecord({7}, {}, false, 0, 0, 0.1f));
        std::string error;
        EXPECT_FALSE(Velkor::ReadReplayRecords(damaged, read, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(read.size(), 1u) << c.what;
    }
    for (std::size_t length = 0; length < good.size(); ++length)
    {
        Core::MemoryFile cut(good.data(), static_cast<std::uint32_t>(length));
        std::vector<ReplayRecord> read;
        std::string error;
        EXPECT_FALSE(Velkor::ReadReplayRecords(cut, read, error)) << length;
        EXPECT_TRUE(read.empty()) << length;
    }
}

} // namespace
