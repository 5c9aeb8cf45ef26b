#include "collision/Collision_ContactRecords.h"

#include "collision/Collision_Archive.h"
#include "core/Core_File.h"

#include <algorithm>
#include <utility>

namespace Collision2D
{

// --- COLLISION_C --------------------------------------------------------------

COLLISION_C::~COLLISION_C() = default;

void COLLISION_C::WriteCommon(Core::File& file) const
{
    file << id;
    contactPosition.Write(file);
    file << contactOrientation << penetrationDistance;
}

bool COLLISION_C::ReadCommon(Core::File& file)
{
    CollisionId readId = 0;
    Math::Vector2D position;
    float orientation = 0.0f;
    float penetration = 0.0f;
    file >> readId;
    position.Read(file);
    file >> orientation >> penetration;
    if (file.Failed())
    {
        return false;
    }
    id = readId;
    contactPosition = position;
    contactOrientation = orientation;
    penetrationDistance = penetration;
    return true;
}

void COLLISION_C::Write(Core::File& file) const
{
    WriteCommon(file);
}

bool COLLISION_C::Read(Core::File& file)
{
    if (!ReadCommon(file))
    {
        return false;
    }
    otherOwner = 0;
    return true;
}

// --- ShapeContact (CIR_C, LNS_C) ---------------------------------------------

ShapeContact::ShapeContact()
{
    ClearUserIds();
}

void ShapeContact::ClearUserIds()
{
    std::fill(std::begin(myCircleUserId), std::end(myCircleUserId), NoUserId);
    std::fill(std::begin(myLineSegmentUserId), std::end(myLineSegmentUserId), NoUserId);
}

void ShapeContact::Write(Core::File& file) const
{
    WriteCommon(file);
    for (int k = 0; k < MaximumPoints; ++k)
    {
        contactPoint[k].Write(file);
        normal[k].Write(file);
        file << myCircleUserId[k] << myLineSegmentUserId[k];
    }
    file << numberOfIntersectedPoints << userId;
}

bool ShapeContact::Read(Core::File& file)
{
    ShapeContact read;
    if (!read.ReadCommon(file))
    {
        return false;
    }
    for (int k = 0; k < MaximumPoints; ++k)
    {
        read.contactPoint[k].Read(file);
        read.normal[k].Read(file);
        file >> read.myCircleUserId[k] >> read.myLineSegmentUserId[k];
    }
    file >> read.numberOfIntersectedPoints >> read.userId;
    if (file.Failed())
    {
        return false;
    }
    if (read.numberOfIntersectedPoints < 0 || read.numberOfIntersectedPoints > MaximumPoints)
    {
        return Detail::RejectData(file);
    }
    *this = read;
    return true;
}

// --- DGEO_C ----------------------------------------------------------------------

DGEO_C::DGEO_C() : lineSegments(InitialPoolSize), circles(InitialPoolSize) {}

void DGEO_C::Write(Core::File& file) const
{
    WriteCommon(file);
    Detail::WritePool(file, lineSegments, buffer_LineSegments, currentLineSegmentsNumber);
    Detail::WritePool(file, circles, buffer_Circles, currentCirclesNumber);
    file << deltaBuffer;
}

bool DGEO_C::Read(Core::File& file)
{
    DGEO_C read;
    if (!read.ReadCommon(file) ||
        !Detail::ReadPool(file, read.lineSegments, read.buffer_LineSegments, read.currentLineSegmentsNumber,
                          ShapeContact::ArchiveBytes) ||
        !Detail::ReadPool(file, read.circles, read.buffer_Circles, read.currentCirclesNumber,
                          ShapeContact::ArchiveBytes))
    {
        return false;
    }
    file >> read.deltaBuffer;
    if (file.Failed() || !Detail::CheckStoredDelta(file, read.deltaBuffer))
    {
        return false;
    }
    *this = std::move(read);
    return true;
}

void DGEO_C::NextLineSegment()
{
    AdvancePool(lineSegments, currentLineSegmentsNumber, buffer_LineSegments, deltaBuffer);
}

void DGEO_C::NextCircle()
{
    AdvancePool(circles, currentCirclesNumber, buffer_Circles, deltaBuffer);
}

void DGEO_C::Reset()
{
    const auto clearFirstSlot = [](ShapeContact& record)
    {
        record.myCircleUserId[0] = NoUserId;
        record.myLineSegmentUserId[0] = NoUserId;
    };
    const std::size_t segmentRecords =
        std::min(lineSegments.size(), static_cast<std::size_t>(buffer_LineSegments));
    for (std::size_t i = 0; i < segmentRecords; ++i)
    {
        clearFirstSlot(lineSegments[i]);
    }
    const std::size_t circleRecords = std::min(circles.size(), static_cast<std::size_t>(buffer_Circles));
    for (std::size_t i = 0; i < circleRecords; ++i)
    {
        clearFirstSlot(circles[i]);
    }
    currentLineSegmentsNumber = 0;
    currentCirclesNumber = 0;
}

// --- Tile-map records ----------------------------------------------------------

void TMAP_DATA_BASE::Write(Core::File& file) const
{
    file << id << cellX << cellY << collisionSide << hotSpotIndex;
}

bool TMAP_DATA_BASE::Read(Core::File& file)
{
    TMAP_DATA_BASE read;
    file >> read.id >> read.cellX >> read.cellY >> read.collisionSide >> read.hotSpotIndex;
    if (file.Failed())
    {
        return false;
    }
    *this = read;
    return true;
}

void TMAP_DATA::Write(Core::File& file) const
{
    TMAP_DATA_BASE::Write(file);
    position.Write(file);
    normal.Write(file);
    file << zAngle;
}

bool TMAP_DATA::Read(Core::File& file)
{
    TMAP_DATA read;
    file >> read.id >> read.cellX >> read.cellY >> read.collisionSide >> read.hotSpotIndex;
    read.position.Read(file);
    read.normal.Read(file);
    file >> read.zAngle;
    if (file.Failed())
    {
        return false;
    }
    *this = read;
    return true;
}

TMAP_C::TMAP_C() : newEntries(InitialPoolSize), staticEntries(InitialPoolSize) {}

void TMAP_C::Write(Core::File& file) const
{
    WriteCommon(file);
    file << deltaBuffer << currentNewIdsNumber << currentStaticIdsNumber << buffer_NewIds << buffer_StaticIds;
    for (std::uint32_t i = 0; i < currentNewIdsNumber; ++i)
    {
        newEntries[i].Write(file);
    }
    for (std::uint32_t i = 0; i < currentStaticIdsNumber; ++i)
    {
        staticEntries[i].Write(file);
    }
}

bool TMAP_C::Read(Core::File& file)
{
    TMAP_C read;
    if (!read.ReadCommon(file))
    {
        return false;
    }
    file >> read.deltaBuffer >> read.currentNewIdsNumber >> read.currentStaticIdsNumber >>
        read.buffer_NewIds >> read.buffer_StaticIds;
    if (file.Failed() || !Detail::CheckStoredDelta(file, read.deltaBuffer) ||
        !Detail::CheckStoredPool(file, read.buffer_NewIds, read.currentNewIdsNumber, TMAP_DATA::ArchiveBytes))
    {
        return false;
    }
    read.newEntries.assign(read.buffer_NewIds, TMAP_DATA{});
    for (std::uint32_t i = 0; i < read.currentNewIdsNumber; ++i)
    {
        if (!read.newEntries[i].Read(file))
        {
            return false;
        }
    }
    if (!Detail::CheckStoredPool(file, read.buffer_StaticIds, read.currentStaticIdsNumber,
                                 TMAP_DATA_BASE::ArchiveBytes))
    {
        return false;
    }
    read.staticEntries.assign(read.buffer_StaticIds, TMAP_DATA_BASE{});
    for (std::uint32_t i = 0; i < read.currentStaticIdsNumber; ++i)
    {
        if (!read.staticEntries[i].Read(file))
        {
            return false;
        }
    }
    *this = std::move(read);
    return true;
}

void TMAP_C::AppendStaticEntry(std::uint8_t entryId, std::int32_t cellX, std::int32_t cellY,
                               std::int32_t collisionSide, std::int32_t hotSpotIndex)
{
    AdvancePool(staticEntries, currentStaticIdsNumber, buffer_StaticIds, deltaBuffer);
    TMAP_DATA_BASE& entry = staticEntries[currentStaticIdsNumber - 1];
    entry.id = entryId;
    entry.cellX = cellX;
    entry.cellY = cellY;
    entry.collisionSide = collisionSide;
    entry.hotSpotIndex = hotSpotIndex;
}

void TMAP_C::AppendNewEntry(std::uint8_t entryId, std::int32_t cellX, std::int32_t cellY,
                            std::int32_t collisionSide, std::int32_t hotSpotIndex,
                            const Math::Vector2D& position, const Math::Vector2D& normal, float zAngle)
{
    AdvancePool(newEntries, currentNewIdsNumber, buffer_NewIds, deltaBuffer);
    TMAP_DATA& entry = newEntries[currentNewIdsNumber - 1];
    entry.id = entryId;
    entry.cellX = cellX;
    entry.cellY = cellY;
    entry.collisionSide = collisionSide;
    entry.hotSpotIndex = hotSpotIndex;
    entry.position = position;
    entry.normal = normal;
    entry.zAngle = zAngle;
}

// --- BRECT_C -------------------------------------------------------------------------

void BRECT_C::Write(Core::File& file) const
{
    file << id;
    rectangleIntersection.Write(file);
    contactPosition.Write(file);
    file << contactOrientation;
}

bool BRECT_C::Read(Core::File& file)
{
    BRECT_C read;
    file >> read.id;
    read.rectangleIntersection.Read(file);
    read.contactPosition.Read(file);
    file >> read.contactOrientation;
    if (file.Failed())
    {
        return false;
    }
    *this = read;
    return true;
}

} // namespace Collision2D
