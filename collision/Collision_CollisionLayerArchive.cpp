#include "collision/Collision_CollisionLayer.h"

#include "collision/Collision_Archive.h"
#include "collision/Collision_Settings.h"
#include "core/Core_File.h"

#include <memory>
#include <vector>

namespace Collision2D
{

namespace
{

// The fewest bytes one stored object of each kind takes: a dynamic object
// holds at least its 255 CanCollid bytes and its fixed fields, a static
// shape its kind, geometry and counters, a tile map its fixed header.
constexpr std::uint64_t MinimumDynamicObjectBytes = 380;
constexpr std::uint64_t MinimumStaticShapeBytes = 30;
constexpr std::uint64_t MinimumTileMapBytes = 61;

template <class T> void WriteSlots(Core::File& file, const ObjectSlots<T>& slots)
{
    file << slots.GetCapacity() << slots.GetCount();
    for (std::int32_t slot = 1; slot < slots.GetCount(); ++slot)
    {
        if (const T* object = slots.Get(static_cast<std::uint32_t>(slot)))
        {
            object->Write(file);
        }
    }
}

// Capacity, count and the objects of every slot the free list does not
// name. `make` builds an empty object, `adopt` checks or sets what a read
// object must know of its slot.
template <class T, class Make, class Adopt>
bool ReadSlots(Core::File& file, ObjectSlots<T>& slots, const std::vector<std::int32_t>& free,
               std::uint64_t minimumObjectBytes, Make make, Adopt adopt)
{
    std::int32_t capacity = 0;
    std::int32_t count = 0;
    file >> capacity >> count;
    if (file.Failed())
    {
        return false;
    }
    const std::int64_t maximumCapacity =
        static_cast<std::int64_t>(slots.GetMaximumSlot()) + 1 + slots.GetGrowthStep();
    if (count < 1 || count >= capacity || capacity > maximumCapacity ||
        static_cast<std::uint32_t>(count - 1) > slots.GetMaximumSlot())
    {
        return Detail::RejectData(file);
    }
    std::vector<bool> isFree(static_cast<std::size_t>(count), false);
    for (const std::int32_t slot : free)
    {
        if (slot < 1 || slot >= count || isFree[static_cast<std::size_t>(slot)])
        {
            return Detail::RejectData(file);
        }
        isFree[static_cast<std::size_t>(slot)] = true;
    }
    const std::uint64_t occupied = static_cast<std::uint64_t>(count - 1) - free.size();
    if (!file.Require(occupied * minimumObjectBytes))
    {
        return false;
    }
    slots.Prepare(capacity, count);
    for (std::int32_t slot = 1; slot < count; ++slot)
    {
        if (isFree[static_cast<std::size_t>(slot)])
        {
            continue;
        }
        std::unique_ptr<T> object(make());
        if (!object->Read(file))
        {
            return false;
        }
        if (!adopt(*object, static_cast<std::uint32_t>(slot)))
        {
            return Detail::RejectData(file);
        }
        slots.Place(static_cast<std::uint32_t>(slot), std::move(object));
    }
    return true;
}

bool SlotsBelow(const SlotArray& slots, std::int32_t count)
{
    for (const std::uint32_t slot : slots)
    {
        if (slot == 0 || slot >= static_cast<std::uint32_t>(count))
        {
            return false;
        }
    }
    return true;
}

} // namespace

void CollisionLayer::Write(Core::File& file) const
{
    for (const std::vector<std::int32_t>& free : freeSlots_)
    {
        file << static_cast<std::int32_t>(free.size());
        for (const std::int32_t slot : free)
        {
            file << slot;
        }
    }
    WriteSlots(file, dynamicObjects_);
    WriteSlots(file, staticCircles_);
    WriteSlots(file, staticLineSegments_);
    WriteSlots(file, tileMaps_);
    file << static_cast<std::uint8_t>(GetLayerCounter()) << static_cast<std::uint8_t>(index_);
    rectangle_.Write(file);
    point_.Write(file);
    grid_.Write(file);
}

bool CollisionLayer::Read(Core::File& file, std::int32_t& storedLayerCounter)
{
    CollisionLayer read(ForReading);
    const std::uint32_t maximumSlots[SlotKindCount] = {MaximumDynamicObjectSlot, MaximumStaticCircleSlot,
                                                       MaximumStaticLineSegmentSlot, MaximumTileMapSlot};
    for (int kind = 0; kind < SlotKindCount; ++kind)
    {
        std::int32_t count = 0;
        file >> count;
        if (file.Failed() || !Detail::CheckStoredCount(file, count, maximumSlots[kind], sizeof(std::int32_t)))
        {
            return false;
        }
        std::vector<std::int32_t>& free = read.freeSlots_[static_cast<std::size_t>(kind)];
        free.resize(static_cast<std::size_t>(count));
        for (std::int32_t& slot : free)
        {
            file >> slot;
        }
        if (file.Failed())
        {
            return false;
        }
    }

    const bool slotsRead =
        ReadSlots(
            file, read.dynamicObjects_, read.freeSlots_[DynamicObjects], MinimumDynamicObjectBytes,
            [] { return new ("Collision_Layer", __LINE__) DynamicObject; },
            [](DynamicObject& object, std::uint32_t slot)
            { return object.GetSlot() == static_cast<std::int32_t>(slot); }) &&
        ReadSlots(
            file, read.staticCircles_, read.freeSlots_[StaticCircles], MinimumStaticShapeBytes,
            [] { return new ("Collision_Layer", __LINE__) StaticCollisionCircle(ForReading); },
            [](StaticCollisionCircle& circle, std::uint32_t slot)
            {
                circle.SetSlot(slot);
                return true;
            }) &&
        ReadSlots(
            file, read.staticLineSegments_, read.freeSlots_[StaticLineSegments], MinimumStaticShapeBytes,
            [] { return new ("Collision_Layer", __LINE__) StaticCollisionLineSegment(ForReading); },
            [](StaticCollisionLineSegment& segment, std::uint32_t slot)
            {
                segment.SetSlot(slot);
                return true;
            }) &&
        ReadSlots(
            file, read.tileMaps_, read.freeSlots_[TileMaps], MinimumTileMapBytes,
            [] { return new ("Collision_Layer", __LINE__) TileMap(ForReading); },
            [](TileMap& map, std::uint32_t slot)
            {
                map.SetSlot(slot);
                return true;
            });
    if (!slotsRead)
    {
        return false;
    }

    std::uint8_t counter = 0;
    std::uint8_t index = 0;
    file >> counter >> index;
    read.rectangle_.Read(file);
    read.point_.Read(file);
    if (file.Failed() || !read.grid_.Read(file))
    {
        return false;
    }
    // The grid's lists must name slots this layer has handed out.
    for (std::int32_t column = 0; column < read.grid_.GetColumns(); ++column)
    {
        for (std::int32_t row = 0; row < read.grid_.GetRows(); ++row)
        {
            const GridCell& cell = read.grid_.GetCell(column, row);
            if (!SlotsBelow(cell.dynamicObjects, read.dynamicObjects_.GetCount()) ||
                !SlotsBelow(cell.staticCircles, read.staticCircles_.GetCount()) ||
                !SlotsBelow(cell.staticLineSegments, read.staticLineSegments_.GetCount()))
            {
                return Detail::RejectData(file);
            }
        }
    }

    dynamicObjects_ = std::move(read.dynamicObjects_);
    staticCircles_ = std::move(read.staticCircles_);
    staticLineSegments_ = std::move(read.staticLineSegments_);
    tileMaps_ = std::move(read.tileMaps_);
    freeSlots_ = std::move(read.freeSlots_);
    index_ = index;
    rectangle_ = read.rectangle_;
    point_ = read.point_;
    grid_ = std::move(read.grid_);
    storedLayerCounter = counter;
    return true;
}

} // namespace Collision2D
