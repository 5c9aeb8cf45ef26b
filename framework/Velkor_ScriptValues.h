#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct lua_State;

namespace Core
{
class File;
}

namespace Velkor
{

// Script values in an object's network data: a u32 count, then per value a
// tag (network string) and its payload:
//   "nil"                      nothing
//   "tbool"                    u8
//   "tnum"                     f64
//   "string"                   network string
//   "ttable"                   network string (the table's "className"), then for
//                              "Point2D" / "Vector2D" X, Y and for "Color" R, G, B, A as f64
//   "tldata", "tfun", "tuser"  nothing (light user data, functions, full user data)
// A value of any other kind (a thread) is written as "nil", so every value
// written has a tag and a reader never loses its place.
struct ScriptValue
{
    enum class Kind
    {
        Nil,
        Boolean,
        Number,
        String,
        Point,
        Vector,
        Color,
        // A value a script cannot get back ("tldata", "tfun", "tuser", a
        // table of another class): read back as nil.
        Lost,
    };

    Kind kind = Kind::Nil;
    double numbers[4] = {0.0, 0.0, 0.0, 0.0};
    std::string text;
    bool flag = false;
};

// Writes the values at stack indexes first..last of `state` (none when
// first > last): the count and each value.
void WriteScriptValues(Core::File& file, lua_State* state, int first, int last);

// Reads a value list. A count the remaining bytes cannot hold, an unknown
// tag or a payload cut short makes the list malformed: false, and `values`
// is left as it was.
bool ReadScriptValues(Core::File& file, std::vector<ScriptValue>& values);

// Pushes the values (nil for the lost ones); the number pushed, or 0 when
// the stack cannot grow that far.
int PushScriptValues(lua_State* state, const std::vector<ScriptValue>& values);

} // namespace Velkor
