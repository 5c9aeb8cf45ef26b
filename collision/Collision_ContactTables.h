#pragma once

// Script tables built from contact records, for the game framework's script
// methods that hand collision results to scripts.
//
// Defined in Collision_ContactTables.cpp, beside the script globals they
// call; the collision world itself never calls them.
//
// Each record builder calls the script global of its own name
// ("CreateBRECT_C", "CreateCIR_C", "CreateLNS_C", "CreateDGEO_C",
// "CreateTMAP_C", "CreateTMAP_DATA_BASE", "CreateTMAP_DATA") with no
// arguments and one result, sets the fields of the returned table and
// answers the stack index of that table; a null record gives -1 and pushes
// nothing. Fixed-size arrays are filled through the script global
// "CreateArrayTable" (a new table and the four values), variable arrays
// through "CreateArrayTableVar" (a new table and every element table).

struct lua_State;

namespace Collision2D
{

class CIR_C;
class LNS_C;
class DGEO_C;
class TMAP_C;
class ZibRect;
struct BRECT_C;
struct TMAP_DATA_BASE;
struct TMAP_DATA;

// "id", "rectangleIntersection" (rectangle table), "contactPosition"
// (Point2D table), "contactOrientation".
int CreateBRECT_C(lua_State* state, const BRECT_C* record);

// "id", "contactPosition", "contactOrientation", "penetrationDistance",
// "contactPoint" (four Point2D), "normal" (four Vector2D),
// "numberOfIntersectedPoints", "userId" (unsigned), "myLineSegmentUserId"
// and "myCircleUserId" (four integers each).
int CreateCIR_C(lua_State* state, const CIR_C* record);
int CreateLNS_C(lua_State* state, const LNS_C* record);

// "id", "contactPosition", "contactOrientation", "penetrationDistance",
// "lineSegments" and "circles" (a table per record of each whole pool),
// "currentLineSegmentsNumber", "currentCirclesNumber", "deltaBuffer",
// "buffer_LineSegments", "buffer_Circles".
int CreateDGEO_C(lua_State* state, const DGEO_C* record);

// "id", "contactPosition", "contactOrientation", "penetrationDistance",
// "deltaBuffer", "currentNewIdsNumber", "currentStaticIdsNumber",
// "buffer_NewIds", "buffer_StaticIds", "newEntries", "staticEntries".
int CreateTMAP_C(lua_State* state, const TMAP_C* record);

// "id", "cellX", "cellY", "collisionSide", "hotSpotIndex"; the full entry
// adds "position" (Point2D), "normal" (Vector2D) and "zAngle".
int CreateTMAP_DATA_BASE(lua_State* state, const TMAP_DATA_BASE* record);
int CreateTMAP_DATA(lua_State* state, const TMAP_DATA* record);

// A new table with the number fields "top", "left", "right", "bottom".
int CreateRectangleTable(lua_State* state, const ZibRect& rectangle);

} // namespace Collision2D
