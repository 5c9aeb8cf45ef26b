#pragma once

#include "collision/Collision_ContactRecords.h"

#include <cstdint>
#include <vector>

namespace Core
{
class File;
}

namespace Collision2D
{

// The result block of one dynamic object: five pools of preallocated
// records with a count of those in use. The counts go to 0 when the
// object's layer step begins, rise as the tests report, and stay readable
// until the next step. Pools only grow; the record at index count always
// exists and is the one the next test fills.
class CollisionResults
{
public:
    enum Pool : int
    {
        RectanglePool = 0,
        DynamicPool = 1,
        StaticCirclePool = 2,
        StaticLineSegmentPool = 3,
        TileMapPool = 4,
    };
    static constexpr int PoolCount = 5;
    static constexpr std::int32_t InitialPoolSize = 5;
    static constexpr std::int32_t InitialTileMapPoolSize = 20;
    static constexpr std::int32_t InitialDeltaBuffer = 5;

    CollisionResults();
    // Copies deep-copy every pool and every number.
    CollisionResults(const CollisionResults&) = default;
    CollisionResults& operator=(const CollisionResults&) = default;
    CollisionResults(CollisionResults&&) = default;
    CollisionResults& operator=(CollisionResults&&) = default;

    // Records in use and records allocated, per pool.
    std::int32_t GetCount(Pool pool) const { return counts_[pool]; }
    std::int32_t GetAllocated(Pool pool) const { return allocated_[pool]; }
    std::int32_t GetDeltaBuffer() const { return deltaBuffer_; }
    std::int32_t GetTileMapBufferSize() const { return tileMapBufferSize_; }

    std::int32_t GetRectangleContactCount() const { return counts_[RectanglePool]; }
    std::int32_t GetDynamicContactCount() const { return counts_[DynamicPool]; }
    std::int32_t GetStaticCircleContactCount() const { return counts_[StaticCirclePool]; }
    std::int32_t GetStaticLineSegmentContactCount() const { return counts_[StaticLineSegmentPool]; }
    std::int32_t GetTileMapContactCount() const { return counts_[TileMapPool]; }

    // Records by index, below the allocated number (the ones in use are
    // below the count). A record no test has filled yet reads as a fresh one.
    const BRECT_C& GetRectangleContact(std::int32_t index) const { return Existing(rectangles_, index); }
    const DGEO_C& GetDynamicContact(std::int32_t index) const { return Existing(dynamics_, index); }
    const CIR_C& GetStaticCircleContact(std::int32_t index) const { return Existing(staticCircles_, index); }
    const LNS_C& GetStaticLineSegmentContact(std::int32_t index) const
    {
        return Existing(staticSegments_, index);
    }
    const TMAP_C& GetTileMapContact(std::int32_t index) const { return Existing(tileMaps_, index); }

    // The other object's owner word of a rectangle or shape contact in use;
    // archives do not carry it, so a loader sets it again. Ignored for an
    // index outside the records in use.
    void SetRectangleContactOwner(std::int32_t index, OwnerWord owner);
    void SetDynamicContactOwner(std::int32_t index, OwnerWord owner);

    // The records the next test of each kind fills (index = count).
    BRECT_C& CurrentRectangleContact() { return Made(rectangles_, counts_[RectanglePool]); }
    DGEO_C& CurrentDynamicContact() { return Made(dynamics_, counts_[DynamicPool]); }
    CIR_C& CurrentStaticCircleContact() { return Made(staticCircles_, counts_[StaticCirclePool]); }
    LNS_C& CurrentStaticLineSegmentContact() { return Made(staticSegments_, counts_[StaticLineSegmentPool]); }
    TMAP_C& CurrentTileMapContact() { return Made(tileMaps_, counts_[TileMapPool]); }

    // Called by a test after it filled the current record: one more in use,
    // and deltaBuffer more records when no spare one is left.
    void NextRectangleContact();
    void NextDynamicContact();
    // The swept tests' name for NextDynamicContact.
    void NextDynamicObjectContact() { NextDynamicContact(); }
    void NextStaticCircleContact();
    void NextStaticLineSegmentContact();
    void NextTileMapContact();

    // Every count to 0, also the inner counts of every dynamic and tile-map
    // record, and every own-shape user-id slot the next tests rely on back
    // to the marker. Allocated numbers and pool sizes stay. Only the records
    // up to each count are touched: tests write no record past it, so the
    // others are still as the last reset left them.
    void Reset();

    // True at the first non-zero count, read in the order static circles,
    // static line segments, tile maps, rectangles, dynamic shapes.
    bool HasAnyContact() const;

    // For each pool (rectangle, dynamic, static circle, static segment, tile
    // map): allocated number, count, the records in use; then deltaBuffer
    // and the tile-map buffer size. Read checks every number against its
    // capacity and the bytes left and builds a whole new block before it
    // replaces this one; on failure this block is unchanged.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    static std::size_t At(std::int32_t index) { return static_cast<std::size_t>(index); }

    // The allocated numbers are what the archive and the growth rule see;
    // the records behind them are made when a test first fills one, so an
    // object that meets little costs little. A pool's vector therefore
    // holds at least the records below its count, and up to the allocated
    // number (more after an archive read).
    template <class Record> static Record& Made(std::vector<Record>& pool, std::int32_t index)
    {
        if (pool.size() <= At(index))
        {
            pool.resize(At(index) + 1);
        }
        return pool[At(index)];
    }
    template <class Record> static const Record& Existing(const std::vector<Record>& pool, std::int32_t index)
    {
        static const Record fresh;
        return At(index) < pool.size() ? pool[At(index)] : fresh;
    }
    template <class Record>
    static void Advance(std::vector<Record>& pool, std::int32_t& count, std::int32_t& allocated,
                        std::int32_t delta);

    std::vector<BRECT_C> rectangles_;
    std::vector<DGEO_C> dynamics_;
    std::vector<CIR_C> staticCircles_;
    std::vector<LNS_C> staticSegments_;
    std::vector<TMAP_C> tileMaps_;
    std::int32_t allocated_[PoolCount];
    std::int32_t counts_[PoolCount] = {};
    std::int32_t deltaBuffer_ = InitialDeltaBuffer;
    std::int32_t tileMapBufferSize_ = InitialTileMapPoolSize; // saved and restored only
};

} // namespace Collision2D
