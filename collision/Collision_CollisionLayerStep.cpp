#include "collision/Collision_CollisionLayer.h"

namespace Collision2D
{

void CollisionLayer::Step(float dt)
{
    // 1. Every dynamic object prepares itself; one without a frame sits the
    //    step out.
    stepSlots_.clear();
    for (std::int32_t slot = 1; slot < dynamicObjects_.GetCount(); ++slot)
    {
        DynamicObject* object = dynamicObjects_.Get(static_cast<std::uint32_t>(slot));
        if (object != nullptr && object->PreUpdate())
        {
            stepSlots_.push_back(static_cast<std::uint32_t>(slot));
        }
    }

    // 2. Tile maps animate and place their world rectangles.
    for (std::int32_t slot = 1; slot < tileMaps_.GetCount(); ++slot)
    {
        if (TileMap* map = tileMaps_.Get(static_cast<std::uint32_t>(slot)))
        {
            map->Update(dt);
        }
    }

    // 3-5. Grid refill and broad phase; 6. pair tests.
    const bool gridded = !grid_.IsEmpty();
    if (gridded)
    {
        FillGrid();
        FindCandidates();
    }
    RunPairTests();

    // 7. Static shapes of the object's cells, then tile maps.
    for (const std::uint32_t slot : stepSlots_)
    {
        DynamicObject& object = *dynamicObjects_.Get(slot);
        if (gridded)
        {
            TestStaticShapes(object);
        }
        TestTileMaps(object);
    }

    // 8. The current pose is the next step's old one.
    for (const std::uint32_t slot : stepSlots_)
    {
        dynamicObjects_.Get(slot)->EndStep();
    }
}

void CollisionLayer::FillGrid()
{
    grid_.ResetAllDynamicObjects();
    for (const std::uint32_t slot : stepSlots_)
    {
        DynamicObject& object = *dynamicObjects_.Get(slot);
        const ZibRect& swept = object.GetSweptRectangle();
        DynamicObject::CellRange range;
        grid_.CellOf(swept.left, swept.bottom, range.firstColumn, range.firstRow);
        grid_.CellOf(swept.right, swept.top, range.lastColumn, range.lastRow);
        object.SetCellRange(range);
        for (std::int32_t column = range.firstColumn; column <= range.lastColumn; ++column)
        {
            for (std::int32_t row = range.firstRow; row <= range.lastRow; ++row)
            {
                grid_.AddDynamicObject(column, row, slot);
            }
        }
    }
}

void CollisionLayer::FindCandidates()
{
    for (std::int32_t column = 0; column < grid_.GetColumns(); ++column)
    {
        for (std::int32_t row = 0; row < grid_.GetRows(); ++row)
        {
            // Slots in insertion order, which is ascending: the lower slot
            // of a pair is always its first object.
            const SlotArray& slots = grid_.GetCell(column, row).dynamicObjects;
            const std::int32_t n = slots.GetCount();
            for (std::int32_t i = 0; i + 1 < n; ++i)
            {
                DynamicObject& a = *dynamicObjects_.Get(slots[i]);
                const ZibRect& sweptA = a.GetSweptRectangle();
                for (std::int32_t j = i + 1; j < n; ++j)
                {
                    DynamicObject& b = *dynamicObjects_.Get(slots[j]);
                    // Only the first object's filter decides.
                    if (!a.GetCanCollid(b.GetZ_Collision()) ||
                        !RectanglesOverlap(sweptA, b.GetSweptRectangle()))
                    {
                        continue;
                    }
                    // A moving object receives; idle objects only on request.
                    if (a.HasMoved())
                    {
                        a.AddCandidate(slots[j]);
                    }
                    else if (b.HasMoved())
                    {
                        b.AddCandidate(slots[i]);
                    }
                    else if (a.GetUpdateOnIdle())
                    {
                        a.AddCandidate(slots[j]);
                    }
                    else if (b.GetUpdateOnIdle())
                    {
                        b.AddCandidate(slots[i]);
                    }
                }
            }
        }
    }
}

void CollisionLayer::RunPairTests()
{
    const std::uint8_t layerIndex = GetIndex();
    for (const std::uint32_t slot : stepSlots_)
    {
        DynamicObject& object = *dynamicObjects_.Get(slot);
        const std::uint8_t type = object.GetCollisionType();
        for (std::int32_t i = 0; i < object.GetCandidateCount(); ++i)
        {
            DynamicObject& candidate = *dynamicObjects_.Get(object.GetCandidate(i));
            // Shapes only when both have them; rectangles as soon as one
            // has only its rectangle; other types test nothing.
            if (type == 0 || (type == 1 && candidate.GetCollisionType() == 0))
            {
                object.TestRectanglePair(candidate, layerIndex);
            }
            else if (type == 1)
            {
                object.TestPair(candidate, layerIndex, *tests_);
            }
        }
    }
}

void CollisionLayer::ClearTestedFlags()
{
    for (std::int32_t slot = 1; slot < staticCircles_.GetCount(); ++slot)
    {
        if (StaticCollisionCircle* circle = staticCircles_.Get(static_cast<std::uint32_t>(slot)))
        {
            circle->SetTested(false);
        }
    }
    for (std::int32_t slot = 1; slot < staticLineSegments_.GetCount(); ++slot)
    {
        if (StaticCollisionLineSegment* segment = staticLineSegments_.Get(static_cast<std::uint32_t>(slot)))
        {
            segment->SetTested(false);
        }
    }
}

void CollisionLayer::TestStaticShapes(DynamicObject& object)
{
    const bool moved = object.HasMoved();
    if (!moved && !object.GetUpdateOnIdle())
    {
        return;
    }
    // A shape listed in several of the object's cells is met once: its
    // tested flag holds from the first meeting to the next object's pass.
    ClearTestedFlags();
    const std::uint8_t layerIndex = GetIndex();
    // An object of type 0 marks the shapes without testing them.
    const bool testsShapes = object.GetCollisionType() != 0;
    const CollisionTestTable::StaticCircleTest circleTest =
        moved ? tests_->sweptStaticCircle : tests_->overlapStaticCircle;
    const CollisionTestTable::StaticLineSegmentTest segmentTest =
        moved ? tests_->sweptStaticLineSegment : tests_->overlapStaticLineSegment;
    const DynamicObject::CellRange& range = object.GetCellRange();
    for (std::int32_t column = range.firstColumn; column <= range.lastColumn; ++column)
    {
        for (std::int32_t row = range.firstRow; row <= range.lastRow; ++row)
        {
            const GridCell& cell = grid_.GetCell(column, row);
            for (const std::uint32_t slot : cell.staticCircles)
            {
                StaticCollisionCircle* circle = staticCircles_.Get(slot);
                if (circle == nullptr || circle->IsTested() || !object.GetCanCollid(circle->GetZ_Collision()))
                {
                    continue;
                }
                if (testsShapes && circleTest != nullptr && circle->GetCircle() != nullptr)
                {
                    circleTest(object, *circle, layerIndex);
                }
                circle->SetTested(true);
            }
            for (const std::uint32_t slot : cell.staticLineSegments)
            {
                StaticCollisionLineSegment* segment = staticLineSegments_.Get(slot);
                if (segment == nullptr || segment->IsTested() ||
                    !object.GetCanCollid(segment->GetZ_Collision()))
                {
                    continue;
                }
                if (testsShapes && segmentTest != nullptr && segment->GetLineSegment() != nullptr)
                {
                    segmentTest(object, *segment, layerIndex);
                }
                segment->SetTested(true);
            }
        }
    }
}

void CollisionLayer::TestTileMaps(DynamicObject& object)
{
    if (tests_->tileMap == nullptr)
    {
        return;
    }
    const std::uint8_t layerIndex = GetIndex();
    for (std::int32_t slot = 1; slot < tileMaps_.GetCount(); ++slot)
    {
        TileMap* map = tileMaps_.Get(static_cast<std::uint32_t>(slot));
        if (map != nullptr && object.GetCanCollid(map->GetZ_Collision()) &&
            RectanglesOverlap(object.GetSweptRectangle(), map->GetCurrentBoundingRectangle()))
        {
            tests_->tileMap(*map, object, layerIndex);
        }
    }
}

} // namespace Collision2D
