#include "collision/Collision_CollisionResults.h"

#include "collision/Collision_Archive.h"
#include "core/Core_File.h"

#include <algorithm>
#include <utility>

namespace Collision2D
{

CollisionResults::CollisionResults()
    : allocated_{InitialPoolSize, InitialPoolSize, InitialPoolSize, InitialPoolSize, InitialTileMapPoolSize}
{
}

// The growth rule on the allocated number; the record just filled exists
// (a count advanced without filling gets a fresh one), so every record
// below the count can be written.
template <class Record>
void CollisionResults::Advance(std::vector<Record>& pool, std::int32_t& count, std::int32_t& allocated,
                               std::int32_t delta)
{
    Made(pool, count);
    ++count;
    if (count >= allocated)
    {
        allocated += delta;
    }
}

void CollisionResults::NextRectangleContact()
{
    Advance(rectangles_, counts_[RectanglePool], allocated_[RectanglePool], deltaBuffer_);
}

void CollisionResults::NextDynamicContact()
{
    Advance(dynamics_, counts_[DynamicPool], allocated_[DynamicPool], deltaBuffer_);
}

void CollisionResults::NextStaticCircleContact()
{
    Advance(staticCircles_, counts_[StaticCirclePool], allocated_[StaticCirclePool], deltaBuffer_);
}

void CollisionResults::NextStaticLineSegmentContact()
{
    Advance(staticSegments_, counts_[StaticLineSegmentPool], allocated_[StaticLineSegmentPool], deltaBuffer_);
}

void CollisionResults::NextTileMapContact()
{
    Advance(tileMaps_, counts_[TileMapPool], allocated_[TileMapPool], deltaBuffer_);
}

namespace
{

// The records a reset has to restore: tests fill only the record at the
// count and then advance it, so a record past the count is still as the
// last reset, the construction or the archive read left it. That is the
// records up to and including the count, within the allocated number (the
// pool may hold more).
template <class Record>
std::size_t RecordsInUse(const std::vector<Record>& pool, std::int32_t allocated, std::int32_t count)
{
    return std::min({pool.size(), static_cast<std::size_t>(allocated), static_cast<std::size_t>(count) + 1});
}

template <class Record>
void ResetStaticPool(std::vector<Record>& pool, std::int32_t allocated, std::int32_t count)
{
    for (std::size_t i = 0; i < RecordsInUse(pool, allocated, count); ++i)
    {
        pool[i].ClearUserIds();
        pool[i].numberOfIntersectedPoints = 0;
    }
}

} // namespace

void CollisionResults::Reset()
{
    counts_[RectanglePool] = 0;

    for (std::size_t i = 0; i < RecordsInUse(dynamics_, allocated_[DynamicPool], counts_[DynamicPool]); ++i)
    {
        dynamics_[i].Reset();
    }
    counts_[DynamicPool] = 0;

    ResetStaticPool(staticCircles_, allocated_[StaticCirclePool], counts_[StaticCirclePool]);
    counts_[StaticCirclePool] = 0;
    ResetStaticPool(staticSegments_, allocated_[StaticLineSegmentPool], counts_[StaticLineSegmentPool]);
    counts_[StaticLineSegmentPool] = 0;

    for (std::size_t i = 0; i < RecordsInUse(tileMaps_, allocated_[TileMapPool], counts_[TileMapPool]); ++i)
    {
        tileMaps_[i].currentNewIdsNumber = 0;
        tileMaps_[i].currentStaticIdsNumber = 0;
    }
    counts_[TileMapPool] = 0;
}

bool CollisionResults::HasAnyContact() const
{
    return counts_[StaticCirclePool] != 0 || counts_[StaticLineSegmentPool] != 0 ||
           counts_[TileMapPool] != 0 || counts_[RectanglePool] != 0 || counts_[DynamicPool] != 0;
}

namespace
{

// The smallest archive form of one record of the dynamic and tile-map pools.
constexpr std::uint32_t MinimumDynamicRecordBytes = 40;
constexpr std::uint32_t MinimumTileMapRecordBytes = 40;

} // namespace

void CollisionResults::Write(Core::File& file) const
{
    Detail::WritePool(file, rectangles_, allocated_[RectanglePool], counts_[RectanglePool]);
    Detail::WritePool(file, dynamics_, allocated_[DynamicPool], counts_[DynamicPool]);
    Detail::WritePool(file, staticCircles_, allocated_[StaticCirclePool], counts_[StaticCirclePool]);
    Detail::WritePool(file, staticSegments_, allocated_[StaticLineSegmentPool],
                      counts_[StaticLineSegmentPool]);
    Detail::WritePool(file, tileMaps_, allocated_[TileMapPool], counts_[TileMapPool]);
    file << deltaBuffer_ << tileMapBufferSize_;
}

bool CollisionResults::Read(Core::File& file)
{
    CollisionResults read;
    if (!Detail::ReadPool(file, read.rectangles_, read.allocated_[RectanglePool], read.counts_[RectanglePool],
                          BRECT_C::ArchiveBytes) ||
        !Detail::ReadPool(file, read.dynamics_, read.allocated_[DynamicPool], read.counts_[DynamicPool],
                          MinimumDynamicRecordBytes) ||
        !Detail::ReadPool(file, read.staticCircles_, read.allocated_[StaticCirclePool],
                          read.counts_[StaticCirclePool], ShapeContact::ArchiveBytes) ||
        !Detail::ReadPool(file, read.staticSegments_, read.allocated_[StaticLineSegmentPool],
                          read.counts_[StaticLineSegmentPool], ShapeContact::ArchiveBytes) ||
        !Detail::ReadPool(file, read.tileMaps_, read.allocated_[TileMapPool], read.counts_[TileMapPool],
                          MinimumTileMapRecordBytes))
    {
        return false;
    }
    file >> read.deltaBuffer_ >> read.tileMapBufferSize_;
    if (file.Failed())
    {
        return false;
    }
    if (!Detail::CheckStoredDelta(file, read.deltaBuffer_))
    {
        return false;
    }
    *this = std::move(read);
    return true;
}

void CollisionResults::SetRectangleContactOwner(std::int32_t index, OwnerWord owner)
{
    if (index >= 0 && index < counts_[RectanglePool] && At(index) < rectangles_.size())
    {
        rectangles_[At(index)].otherOwner = owner;
    }
}

void CollisionResults::SetDynamicContactOwner(std::int32_t index, OwnerWord owner)
{
    if (index >= 0 && index < counts_[DynamicPool] && At(index) < dynamics_.size())
    {
        dynamics_[At(index)].otherOwner = owner;
    }
}

} // namespace Collision2D
