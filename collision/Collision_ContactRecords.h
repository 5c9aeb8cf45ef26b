#pragma once

#include "collision/Collision_Id.h"
#include "collision/Collision_MainCollisionObject.h"
#include "collision/Collision_ZibRect.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <vector>

namespace Core
{
class File;
}

// The records the collision tests fill in a moving object's result block.
// Records are plain values that are reused from step to step: pools keep
// their records and a count of those in use, and grow by a fixed step.
namespace Collision2D
{

// Every user-id slot of a fresh or reset circle or segment record holds this.
inline constexpr std::uint32_t NoUserId = 192038273u;

// The growth rule of every pool: one more record in use; when that leaves
// no spare record, `delta` default records are appended. So the record at
// index `count` always exists and is the one a test fills next.
template <class Record, class Count>
void AdvancePool(std::vector<Record>& pool, Count& count, Count& allocated, Count delta)
{
    ++count;
    if (count >= allocated)
    {
        pool.resize(pool.size() + static_cast<std::size_t>(delta));
        allocated += delta;
    }
}

// The part every classed record begins with.
class COLLISION_C
{
public:
    COLLISION_C() = default;
    COLLISION_C(const COLLISION_C&) = default;
    COLLISION_C& operator=(const COLLISION_C&) = default;
    virtual ~COLLISION_C();

    // id, contactPosition, contactOrientation, penetrationDistance. Read
    // takes the whole record or changes nothing; it sets otherOwner to 0.
    virtual void Write(Core::File& file) const;
    [[nodiscard]] virtual bool Read(Core::File& file);

    CollisionId id = 0;               // the other object
    Math::Vector2D contactPosition;   // this object's position at the contact
    float contactOrientation = 0.0f;  // this object's orientation (degrees) at the contact
    float penetrationDistance = 0.0f; // depth of the contact
    OwnerWord otherOwner = 0;         // the other object's owner word; never archived

protected:
    void WriteCommon(Core::File& file) const;
    // Reads the common fields into this record; false on a short archive.
    [[nodiscard]] bool ReadCommon(Core::File& file);
};

// A contact with a circle or a line segment: up to four points with their
// normals and the user ids of the shapes involved.
class ShapeContact : public COLLISION_C
{
public:
    static constexpr int MaximumPoints = 4;
    // Bytes one record takes in an archive.
    static constexpr std::uint32_t ArchiveBytes = 20 + MaximumPoints * 24 + 8;

    ShapeContact();

    // The common part; then for k = 0..3 contactPoint[k], normal[k],
    // myCircleUserId[k], myLineSegmentUserId[k]; then
    // numberOfIntersectedPoints and userId.
    void Write(Core::File& file) const override;
    [[nodiscard]] bool Read(Core::File& file) override;

    // Every own-shape user-id slot back to the marker.
    void ClearUserIds();

    Math::Vector2D contactPoint[MaximumPoints];
    Math::Vector2D normal[MaximumPoints];
    std::int32_t numberOfIntersectedPoints = 0;
    std::uint32_t userId = 0; // the other shape's user id
    std::uint32_t myCircleUserId[MaximumPoints];
    std::uint32_t myLineSegmentUserId[MaximumPoints];
};

// Contact with a circle.
class CIR_C final : public ShapeContact
{
};

// Contact with a line segment.
class LNS_C final : public ShapeContact
{
};

// The result of a test against another dynamic object's shapes: pools of
// contacts with its segments and with its circles.
class DGEO_C final : public COLLISION_C
{
public:
    static constexpr std::int32_t InitialPoolSize = 5;
    static constexpr std::int32_t InitialDeltaBuffer = 5;

    DGEO_C();

    // The common part; buffer_LineSegments, currentLineSegmentsNumber, the
    // segment records in use; buffer_Circles, currentCirclesNumber, the
    // circle records in use; deltaBuffer. Read checks every count against
    // its buffer number and the bytes left before allocating.
    void Write(Core::File& file) const override;
    [[nodiscard]] bool Read(Core::File& file) override;

    // Advance the inner counts (growth rule above).
    void NextLineSegment();
    void NextCircle();
    // The records the next test fills.
    LNS_C& CurrentLineSegment() { return lineSegments[static_cast<std::size_t>(currentLineSegmentsNumber)]; }
    CIR_C& CurrentCircle() { return circles[static_cast<std::size_t>(currentCirclesNumber)]; }

    // The block reset: slot 0 of both own-shape user-id arrays of every
    // allocated inner record back to the marker, both counts 0.
    void Reset();

    std::vector<LNS_C> lineSegments;
    std::vector<CIR_C> circles;
    std::int32_t currentLineSegmentsNumber = 0;
    std::int32_t currentCirclesNumber = 0;
    std::int32_t deltaBuffer = InitialDeltaBuffer;
    std::int32_t buffer_LineSegments = InitialPoolSize;
    std::int32_t buffer_Circles = InitialPoolSize;
};

// A touched cell of a tile map without geometry.
struct TMAP_DATA_BASE
{
    // id (1 byte), cellX, cellY, collisionSide, hotSpotIndex.
    static constexpr std::uint32_t ArchiveBytes = 17;

    std::uint8_t id = 0;            // tile id of the cell's tile; 255 without one
    std::int32_t cellX = 0;         // column
    std::int32_t cellY = 0;         // row
    std::int32_t collisionSide = 0; // side code of the tile test; 0 in a hotspot's static entry
    std::int32_t hotSpotIndex = 0;  // the hotspot that touched the cell; 0 in rectangle mode

    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);
};

// A cell the object has just entered, with the contact geometry.
struct TMAP_DATA : TMAP_DATA_BASE
{
    static constexpr std::uint32_t ArchiveBytes = TMAP_DATA_BASE::ArchiveBytes + 20;

    Math::Vector2D position;
    Math::Vector2D normal;
    float zAngle = 0.0f;

    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);
};

// The result of a test against one tile map.
class TMAP_C final : public COLLISION_C
{
public:
    static constexpr std::uint32_t InitialPoolSize = 20;
    static constexpr std::uint32_t InitialDeltaBuffer = 5;

    TMAP_C();

    // The common part; deltaBuffer, currentNewIdsNumber,
    // currentStaticIdsNumber, buffer_NewIds, buffer_StaticIds; the new
    // entries in use; the static entries in use.
    void Write(Core::File& file) const override;
    [[nodiscard]] bool Read(Core::File& file) override;

    // Advance a count by the growth rule, then write the values into the
    // record at index count - 1.
    void AppendStaticEntry(std::uint8_t id, std::int32_t cellX, std::int32_t cellY,
                           std::int32_t collisionSide, std::int32_t hotSpotIndex);
    void AppendNewEntry(std::uint8_t id, std::int32_t cellX, std::int32_t cellY, std::int32_t collisionSide,
                        std::int32_t hotSpotIndex, const Math::Vector2D& position,
                        const Math::Vector2D& normal, float zAngle);

    std::uint32_t deltaBuffer = InitialDeltaBuffer;
    std::uint32_t currentNewIdsNumber = 0;
    std::uint32_t currentStaticIdsNumber = 0;
    std::uint32_t buffer_NewIds = InitialPoolSize;
    std::uint32_t buffer_StaticIds = InitialPoolSize;
    std::vector<TMAP_DATA> newEntries;
    std::vector<TMAP_DATA_BASE> staticEntries;
};

// A rectangle contact.
struct BRECT_C
{
    // id, the rectangle (top, left, right, bottom), contactPosition,
    // contactOrientation; otherOwner is not archived.
    static constexpr std::uint32_t ArchiveBytes = 32;

    OwnerWord otherOwner = 0;
    CollisionId id = 0;
    ZibRect rectangleIntersection; // overlap of the two rectangles
    Math::Vector2D contactPosition;
    float contactOrientation = 0.0f;

    void Write(Core::File& file) const;
    // Takes the whole record or changes nothing; otherOwner becomes 0.
    [[nodiscard]] bool Read(Core::File& file);
};

} // namespace Collision2D
