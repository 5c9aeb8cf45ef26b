#pragma once

#include "math/Math_Matrix3.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"

struct lua_State;

// The engine's small values cross into scripts as tables made by global
// constructor functions of the shared globals:
//
//   "CreatePoint"   { className = "Point2D",  X, Y }          a position
//   "CreateVector"  { className = "Vector2D", X, Y }          a direction
//   "CreateColor"   { className = "Color",    R, G, B, A }    an RGBA colour
//   "CreateMatrix"  { className = "Matrix3",  Ma00 .. Ma22 }  Ma<row><column> = m[3 row + column]
//   "CreateSize"    { className = "Size",     Width, Height }  a GUI size
//
// Called without arguments they give (0, 0) (points, vectors, sizes), opaque black (0, 0, 0, 1) and
// the identity; numbers passed in order fill the fields in order. Copying
// values between scripts relies on "className".
//
// The readers take any stack index, relative or absolute, and leave the
// stack as they found it. A value that is not a table gives the default:
// (0, 0) for points and vectors, (0, 0, 0, 1) for colours. A field that is
// no number raises a script error, so they are for use inside script calls.
Math::Vector2D LuaToPoint2D(lua_State* state, int index);
Math::Vector2D LuaToVector2D(lua_State* state, int index);
Math::Vector4 LuaToColor(lua_State* state, int index);

// The pushers call the constructor (protected, no arguments, one result),
// set the fields and return the absolute stack index of the new table. When
// the constructor is missing, fails or returns no table, the failure goes to
// the "Script Error" report and nil takes the table's place, so the stack
// still grows by exactly one value.
int LuaPushPoint2D(lua_State* state, float x, float y);
int LuaPushPoint2D(lua_State* state, const Math::Vector2D& point);
int LuaPushVector2D(lua_State* state, float x, float y);
int LuaPushVector2D(lua_State* state, const Math::Vector2D& vector);
int LuaPushColor(lua_State* state, float r, float g, float b, float a);
int LuaPushColor(lua_State* state, const Math::Vector4& color);
int LuaPushMatrix3(lua_State* state, const Math::Matrix3& matrix);
