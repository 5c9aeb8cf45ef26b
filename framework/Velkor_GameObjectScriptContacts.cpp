// The "GameObject" script methods that read the object's collision results
// of the last step. An object without results answers 0, false or nothing;
// a record index out of range gives nil.
#include "framework/Velkor_GameObjectScriptMethods.h"

#include "collision/Collision_ContactTables.h"
#include "framework/Velkor_ScriptSupport.h"

namespace Velkor::GameObjectScript
{

using namespace Velkor::ScriptSupport;
using Collision2D::ShapeContact;

namespace
{

std::int32_t IndexArgument(lua_State* state, int index)
{
    return Needs(state, index) ? ToInt32(state, index) : 0;
}

// Calls `visit` on every shape record of the results: circle and
// line-segment contacts and the sub-contacts of shape contacts, each with
// whether it is a line-segment record. Stops at the first true.
template <class Visit> bool AnyShapeRecord(const CollisionResultsView& view, Visit visit)
{
    for (std::int32_t i = 0; i < view.GetCircleContactCount(); ++i)
    {
        if (visit(*view.GetCircleContact(i), false))
        {
            return true;
        }
    }
    for (std::int32_t i = 0; i < view.GetLineSegmentContactCount(); ++i)
    {
        if (visit(*view.GetLineSegmentContact(i), true))
        {
            return true;
        }
    }
    for (std::int32_t i = 0; i < view.GetSpriteContactCount(true); ++i)
    {
        const Collision2D::DGEO_C& shape = *view.GetSpriteShapeContact(i);
        const auto segments =
            std::min<std::size_t>(static_cast<std::size_t>(std::max(shape.currentLineSegmentsNumber, 0)),
                                  shape.lineSegments.size());
        for (std::size_t j = 0; j < segments; ++j)
        {
            if (visit(shape.lineSegments[j], true))
            {
                return true;
            }
        }
        const auto circles = std::min<std::size_t>(
            static_cast<std::size_t>(std::max(shape.currentCirclesNumber, 0)), shape.circles.size());
        for (std::size_t j = 0; j < circles; ++j)
        {
            if (visit(shape.circles[j], false))
            {
                return true;
            }
        }
    }
    return false;
}

// Whether a shape contact of the object holds a sub-contact of that kind
// whose other shape has user id `id`.
bool SubContactWithUserId(const CollisionResultsView& view, bool lineSegment, std::uint32_t id)
{
    for (std::int32_t i = 0; i < view.GetSpriteContactCount(true); ++i)
    {
        const Collision2D::DGEO_C& shape = *view.GetSpriteShapeContact(i);
        const std::int32_t count = lineSegment ? shape.currentLineSegmentsNumber : shape.currentCirclesNumber;
        for (std::int32_t j = 0; j < count; ++j)
        {
            const std::size_t at = static_cast<std::size_t>(j);
            const ShapeContact* record = nullptr;
            if (lineSegment && at < shape.lineSegments.size())
            {
                record = &shape.lineSegments[at];
            }
            else if (!lineSegment && at < shape.circles.size())
            {
                record = &shape.circles[at];
            }
            if (record != nullptr && record->userId == id)
            {
                return true;
            }
        }
    }
    return false;
}

// "IsMyLineSegmentCollided" and "IsMyCircleCollided".
int IsMyShapeCollided(Object& object, lua_State* state, bool lineSegment)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const std::uint32_t id = ToUInt32(state, 1);
    const bool withOther = Needs(state, 2);
    const std::uint32_t other = withOther ? ToUInt32(state, 2) : 0;
    const bool found =
        AnyShapeRecord(object.GetCollisionResults(),
                       [&](const ShapeContact& record, bool)
                       {
                           if (withOther && record.userId != other)
                           {
                               return false;
                           }
                           const std::uint32_t* mine =
                               lineSegment ? record.myLineSegmentUserId : record.myCircleUserId;
                           const std::int32_t points =
                               std::min(record.numberOfIntersectedPoints, ShapeContact::MaximumPoints);
                           for (std::int32_t i = 0; i < points; ++i)
                           {
                               if (mine[i] == id)
                               {
                                   return true;
                               }
                           }
                           return false;
                       });
    return PushBoolean(state, found);
}

// The four tile-map entry filters. Arguments: tile value (-1: any), three
// criteria (cell x, cell y, and the collision side or the hotspot index;
// below 0 not compared, and a side of 0 not compared either), the contact
// index and the first entry index. Pushes the indexes (from 0) of the
// matching entries of that contact's list as an array table.
template <bool NewEntries, bool HotSpot> int TileMapEntries(Object& object, lua_State* state)
{
    if (!Needs(state, 6))
    {
        return 0;
    }
    const std::int32_t tile = ToInt32(state, 1);
    const std::int32_t cellX = ToInt32(state, 2);
    const std::int32_t cellY = ToInt32(state, 3);
    const std::int32_t last = ToInt32(state, 4);
    const Collision2D::TMAP_C* contact = object.GetCollisionResults().GetTileMapContact(ToInt32(state, 5));
    const std::int32_t start = std::max(ToInt32(state, 6), 0);
    if (contact == nullptr)
    {
        return 0;
    }
    const std::size_t count =
        NewEntries ? std::min<std::size_t>(contact->currentNewIdsNumber, contact->newEntries.size())
                   : std::min<std::size_t>(contact->currentStaticIdsNumber, contact->staticEntries.size());
    lua_newtable(state);
    const int table = lua_gettop(state);
    int key = 1;
    for (std::size_t i = static_cast<std::size_t>(start); i < count; ++i)
    {
        const Collision2D::TMAP_DATA_BASE& entry =
            NewEntries ? static_cast<const Collision2D::TMAP_DATA_BASE&>(contact->newEntries[i])
                       : contact->staticEntries[i];
        const std::int32_t lastField = HotSpot ? entry.hotSpotIndex : entry.collisionSide;
        const bool lastCompared = HotSpot ? last >= 0 : last > 0;
        if ((tile != -1 && entry.id != tile) || (cellX >= 0 && entry.cellX != cellX) ||
            (cellY >= 0 && entry.cellY != cellY) || (lastCompared && lastField != last))
        {
            continue;
        }
        lua_pushnumber(state, static_cast<lua_Number>(i));
        lua_rawseti(state, table, key++);
    }
    return 1;
}

// A record table from the collision world's builder; nil without a record.
int PushRecordTable(lua_State* state, int builtAt)
{
    if (builtAt == -1)
    {
        lua_pushnil(state);
    }
    return 1;
}

} // namespace

int GetNumberOfCollidedSprites(Object& object, lua_State* state)
{
    const bool detailed = Needs(state, 1) && ToFlag(state, 1);
    return PushUnsigned(
        state, static_cast<std::uint32_t>(object.GetCollisionResults().GetSpriteContactCount(detailed)));
}

int GetNumberOfCollidedCircles(Object& object, lua_State* state)
{
    return PushUnsigned(state,
                        static_cast<std::uint32_t>(object.GetCollisionResults().GetCircleContactCount()));
}

int GetNumberOfCollidedLineSegments(Object& object, lua_State* state)
{
    return PushUnsigned(
        state, static_cast<std::uint32_t>(object.GetCollisionResults().GetLineSegmentContactCount()));
}

int GetNumberOfCollidedTileMaps(Object& object, lua_State* state)
{
    return PushUnsigned(state,
                        static_cast<std::uint32_t>(object.GetCollisionResults().GetTileMapContactCount()));
}

int GetCollidedSprite(Object& object, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const bool detailed = Needs(state, 2) && ToFlag(state, 2);
    return PushObjectOrNothing(state,
                               object.GetCollisionResults().GetCollidedSprite(ToInt32(state, 1), detailed));
}

int GetCollidedTileMap(Object&, lua_State*)
{
    return 0;
}

int IsCollidedWithSprite(Object& object, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1) || !ToText(state, 1, name))
    {
        return 0;
    }
    const bool detailed = Needs(state, 2) && ToFlag(state, 2);
    return PushBoolean(state, object.IsCollidedWithSprite(name, detailed));
}

int IsCollidedWithSpriteLineSegment(Object& object, lua_State* state)
{
    return Needs(state, 1) ? PushBoolean(state, SubContactWithUserId(object.GetCollisionResults(), true,
                                                                     ToUInt32(state, 1)))
                           : 0;
}

int IsCollidedWithSpriteCircle(Object& object, lua_State* state)
{
    return Needs(state, 1) ? PushBoolean(state, SubContactWithUserId(object.GetCollisionResults(), false,
                                                                     ToUInt32(state, 1)))
                           : 0;
}

int IsCollidedWithLineSegment(Object& object, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const CollisionResultsView view = object.GetCollisionResults();
    const std::uint32_t id = ToUInt32(state, 1);
    bool found = false;
    for (std::int32_t i = 0; i < view.GetLineSegmentContactCount() && !found; ++i)
    {
        found = view.GetLineSegmentContact(i)->userId == id;
    }
    return PushBoolean(state, found);
}

int IsCollidedWithCircle(Object& object, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const CollisionResultsView view = object.GetCollisionResults();
    const std::uint32_t id = ToUInt32(state, 1);
    bool found = false;
    for (std::int32_t i = 0; i < view.GetCircleContactCount() && !found; ++i)
    {
        found = view.GetCircleContact(i)->userId == id;
    }
    return PushBoolean(state, found);
}

int IsCollidedWithTileMap(Object& object, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1) || !ToText(state, 1, name))
    {
        return 0;
    }
    const CollisionResultsView view = object.GetCollisionResults();
    bool found = false;
    for (std::int32_t i = 0; i < view.GetTileMapContactCount() && !found; ++i)
    {
        const GameObject* owner = CollisionResultsView::OwnerOfAny(view.GetTileMapContact(i)->id);
        found = owner != nullptr && owner->GetName() == name;
    }
    return PushBoolean(state, found);
}

int IsMyLineSegmentCollided(Object& object, lua_State* state)
{
    return IsMyShapeCollided(object, state, true);
}

int IsMyCircleCollided(Object& object, lua_State* state)
{
    return IsMyShapeCollided(object, state, false);
}

int GetTileMapNewEntries_UsingBoundingRectangle(Object& object, lua_State* state)
{
    return TileMapEntries<true, false>(object, state);
}

int GetTileMapStaticEntries_UsingBoundingRectangle(Object& object, lua_State* state)
{
    return TileMapEntries<false, false>(object, state);
}

int GetTileMapNewEntries_UsingHotSpot(Object& object, lua_State* state)
{
    return TileMapEntries<true, true>(object, state);
}

int GetTileMapStaticEntries_UsingHotSpot(Object& object, lua_State* state)
{
    return TileMapEntries<false, true>(object, state);
}

int GetCollidedCircleData(Object& object, lua_State* state)
{
    const auto* record = object.GetCollisionResults().GetCircleContact(IndexArgument(state, 1));
    return PushRecordTable(state, Collision2D::CreateCIR_C(state, record));
}

int GetCollidedLineSegmentData(Object& object, lua_State* state)
{
    const auto* record = object.GetCollisionResults().GetLineSegmentContact(IndexArgument(state, 1));
    return PushRecordTable(state, Collision2D::CreateLNS_C(state, record));
}

int GetCollidedTileMapData(Object& object, lua_State* state)
{
    const auto* record = object.GetCollisionResults().GetTileMapContact(IndexArgument(state, 1));
    return PushRecordTable(state, Collision2D::CreateTMAP_C(state, record));
}

int GetCollidedSpriteData(Object& object, lua_State* state)
{
    const CollisionResultsView view = object.GetCollisionResults();
    const std::int32_t index = IndexArgument(state, 1);
    if (Needs(state, 2) && ToFlag(state, 2))
    {
        return PushRecordTable(state, Collision2D::CreateDGEO_C(state, view.GetSpriteShapeContact(index)));
    }
    return PushRecordTable(state, Collision2D::CreateBRECT_C(state, view.GetSpriteContact(index)));
}

} // namespace Velkor::GameObjectScript
