#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Core
{
class File;
}

namespace GUI
{

// One visual state of a skin: a rectangle of the skin's texture cut into
// three columns and three rows, all in texture pixels. The left column
// spans 0 .. leftColumnEnd from x, the right one rightColumnStart .. width;
// the bottom row spans 0 .. bottomRowEnd from y, the top one
// topRowStart .. height. y counts from the texture's bottom row.
struct SkinRecord
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float leftColumnEnd = 0.0f;
    float rightColumnStart = 0.0f;
    float bottomRowEnd = 0.0f;
    float topRowStart = 0.0f;
};

// The records of a ".gui" skin file, or of a skin image's stream: a u32
// count, then that many records of eight little-endian f32 in the order
// above. A count larger than the bytes left can hold, a record cut short or
// a value that is not finite is refused before anything is allocated:
// false, `records` untouched, `problem` says what was wrong and the
// archive has failed.
[[nodiscard]] bool ReadSkinRecords(Core::File& file, std::vector<SkinRecord>& records, std::string& problem);
void WriteSkinRecords(Core::File& file, const std::vector<SkinRecord>& records);

// Reads the ".gui" file `fileName` (an engine path). False, with `records`
// untouched, when it cannot be opened or is damaged.
bool LoadSkinFile(const std::string& fileName, std::vector<SkinRecord>& records, std::string& problem);

} // namespace GUI
