#pragma once

#include "core/Core_File.h"

#include <cstdint>
#include <utility>
#include <vector>

// Shared rules of the collision world's archive readers: every count is
// checked against its capacity and the bytes left before anything is
// allocated, and a reader builds its result aside and commits it whole.
namespace Collision2D::Detail
{

// Largest capacity (pool size, slot array, candidate array, selection list)
// a stream may ask for. Capacities are not backed by stored records, so they
// cannot be checked against the bytes left; no real step comes near this.
inline constexpr std::int64_t MaximumStoredCapacity = 1 << 16;

// Largest allocated number of a record pool and largest growth step. A
// stored pool is filled with that many default records, some of which (a
// tile-map record) hold pools of their own, so the bound is what keeps a few
// damaged bytes from asking for gigabytes; a real step fills a few records
// of each pool per object.
inline constexpr std::int64_t MaximumStoredPoolSize = 1 << 13;

// Marks the archive as holding a value the format does not allow.
inline bool RejectData(Core::File& file)
{
    file.SetError(Core::FileError::BadData);
    return false;
}

// A stored count of records that must fit both a capacity and the bytes
// left (each record taking at least `minimumRecordBytes`).
inline bool CheckStoredCount(Core::File& file, std::int64_t count, std::int64_t capacity,
                             std::uint64_t minimumRecordBytes)
{
    if (count < 0 || count > capacity)
    {
        return RejectData(file);
    }
    return file.Require(static_cast<std::uint64_t>(count) * minimumRecordBytes);
}

// A stored record pool: its allocated number must be a usable capacity and
// its count must leave the spare record the growth rule keeps.
inline bool CheckStoredPool(Core::File& file, std::int64_t allocated, std::int64_t count,
                            std::uint64_t minimumRecordBytes)
{
    if (allocated < 1 || allocated > MaximumStoredPoolSize)
    {
        return RejectData(file);
    }
    return CheckStoredCount(file, count, allocated - 1, minimumRecordBytes);
}

// A stored growth step.
inline bool CheckStoredDelta(Core::File& file, std::int64_t delta)
{
    return (delta >= 1 && delta <= MaximumStoredPoolSize) || RejectData(file);
}

// "allocated number, count, the records in use" of a pool.
template <class Record, class Count>
void WritePool(Core::File& file, const std::vector<Record>& pool, Count allocated, Count count)
{
    file << allocated << count;
    for (Count i = 0; i < count; ++i)
    {
        pool[static_cast<std::size_t>(i)].Write(file);
    }
}

// Reads the form above into a pool of exactly the allocated number of
// default records; on failure nothing is changed.
template <class Record, class Count>
[[nodiscard]] bool ReadPool(Core::File& file, std::vector<Record>& pool, Count& allocated, Count& count,
              std::uint64_t minimumRecordBytes)
{
    Count readAllocated = 0;
    Count readCount = 0;
    file >> readAllocated >> readCount;
    if (file.Failed() || !CheckStoredPool(file, readAllocated, readCount, minimumRecordBytes))
    {
        return false;
    }
    std::vector<Record> records(static_cast<std::size_t>(readAllocated));
    for (Count i = 0; i < readCount; ++i)
    {
        if (!records[static_cast<std::size_t>(i)].Read(file))
        {
            return false;
        }
    }
    pool = std::move(records);
    allocated = readAllocated;
    count = readCount;
    return true;
}

} // namespace Collision2D::Detail
