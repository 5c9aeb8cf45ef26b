// The tile-map text file. The reader is positional: every line starts with a
// label of fixed length that is skipped by count, whatever it holds, and the
// numbers follow it:
//
//   skip 3, columns / skip 3, rows / skip 5, cell size / skip 12, tile count
//   skip 1 (an empty line)
//   per tile: a heading line; skip 5, frame count n; skip 11, n durations;
//             skip 13, n image indices; skip 4, n tile ids; skip 1
//   skip 12, entry count m
//   m entries "(column,row,tile index)", one per line
//
// A line number runs to the end of its line; the items of a list are ended
// by a blank or by the end of the line. Numbers convert as far as they are
// numbers (leading blanks and a sign allowed, no digits give 0).

#include "collision/Collision_TileMap.h"

#include "core/Core_DiskFile.h"
#include "core/Core_ResourceReport.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <string_view>
#include <vector>

namespace Collision2D
{

namespace
{

// Far beyond any tile map: a million entries take some twenty megabytes.
constexpr long MaximumFileBytes = 64L << 20;
// The fewest characters of one tile record without frames and of one entry.
constexpr std::size_t MinimumTileRecordChars = 1 + 5 + 1 + 11 + 13 + 4 + 1;
constexpr std::size_t MinimumEntryChars = 7;

// The file's bytes with the carriage return of every CRLF dropped, so files
// written with either line end read alike.
bool LoadText(const std::string& nativePath, std::string& text)
{
    std::FILE* file = std::fopen(nativePath.c_str(), "rb");
    if (file == nullptr)
    {
        return false;
    }
    std::string bytes;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           bytes.size() + read <= static_cast<std::size_t>(MaximumFileBytes))
    {
        bytes.append(buffer, read);
    }
    const bool complete = std::feof(file) != 0 && std::ferror(file) == 0;
    std::fclose(file);
    if (!complete)
    {
        return false;
    }
    text.clear();
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
        {
            text.push_back(bytes[i]);
        }
    }
    return true;
}

// Leading blanks, an optional sign, then the digits up to the first other
// character; no digits give 0, and values beyond 32 bits stop at the limit.
std::int32_t ToInteger(std::string_view token)
{
    std::size_t i = token.find_first_not_of(" \t\v\f");
    if (i == std::string_view::npos)
    {
        return 0;
    }
    bool negative = false;
    if (token[i] == '+' || token[i] == '-')
    {
        negative = token[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i)
    {
        value = std::min<std::int64_t>(value * 10 + (token[i] - '0'), std::int64_t{1} << 32);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Leading blanks, an optional sign, digits, an optional fraction and
// exponent, in any locale; no number gives 0.
float ToFloat(std::string_view token)
{
    std::size_t i = token.find_first_not_of(" \t\v\f");
    if (i == std::string_view::npos)
    {
        return 0.0f;
    }
    if (token[i] == '+')
    {
        ++i;
    }
    float value = 0.0f;
    const std::from_chars_result result =
        std::from_chars(token.data() + i, token.data() + token.size(), value, std::chars_format::general);
    return result.ec == std::errc() ? value : 0.0f;
}

class Reader
{
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::size_t Left() const { return text_.size() - position_; }

    // Consumes n characters, whatever they are; false when fewer are left.
    bool Skip(std::size_t n)
    {
        if (Left() < n)
        {
            return false;
        }
        position_ += n;
        return true;
    }

    // The characters up to the first of `ends`, which is consumed. The end of
    // the text also ends a token that has begun (a last line without its
    // line feed); false when the text is over before the token begins.
    bool Token(std::string_view ends, std::string_view& token)
    {
        if (Left() == 0)
        {
            return false;
        }
        const std::size_t end = text_.find_first_of(ends, position_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        token = text_.substr(position_, stop - position_);
        position_ = end == std::string_view::npos ? text_.size() : end + 1;
        return true;
    }

    // As Token, but the terminator must be there.
    bool Field(char end, std::string_view& token)
    {
        const std::size_t found = text_.find(end, position_);
        if (found == std::string_view::npos)
        {
            return false;
        }
        token = text_.substr(position_, found - position_);
        position_ = found + 1;
        return true;
    }

    bool LineNumber(std::size_t label, std::int32_t& value)
    {
        std::string_view token;
        if (!Skip(label) || !Token("\n", token))
        {
            return false;
        }
        value = ToInteger(token);
        return true;
    }

    template <class T, class Convert>
    bool Items(std::size_t label, std::int32_t count, std::vector<T>& values, Convert convert)
    {
        if (!Skip(label))
        {
            return false;
        }
        values.clear();
        for (std::int32_t i = 0; i < count; ++i)
        {
            std::string_view token;
            if (!Token(" \n", token))
            {
                return false;
            }
            values.push_back(convert(token));
        }
        return true;
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

struct TileRecord
{
    std::vector<std::int32_t> images;
    std::vector<float> durations;
    std::vector<std::uint8_t> ids;
};

struct Entry
{
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::int32_t tile = 0;
};

struct TileMapText
{
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t dimension = 0;
    std::vector<TileRecord> tiles;
    std::vector<Entry> entries;
};

// Parses the whole text; on failure `problem` says what was wrong.
bool Parse(std::string_view text, TileMapText& map, std::string& problem)
{
    Reader reader(text);
    std::int32_t tileCount = 0;
    if (!reader.LineNumber(3, map.columns) || !reader.LineNumber(3, map.rows) ||
        !reader.LineNumber(5, map.dimension) || !reader.LineNumber(12, tileCount) || !reader.Skip(1))
    {
        problem = "the file ends inside its header";
        return false;
    }
    if (map.columns < 0 || map.rows < 0 || map.dimension < 0 || tileCount < 0)
    {
        problem = "a negative size or tile count";
        return false;
    }
    if (!TileMap::IsGridAllowed(map.columns, map.rows, map.dimension, tileCount))
    {
        problem = "more cells, pixels or tiles than a tile map takes";
        return false;
    }
    if (static_cast<std::size_t>(tileCount) > reader.Left() / MinimumTileRecordChars)
    {
        problem = "the file is too short for " + std::to_string(tileCount) + " tile records";
        return false;
    }

    map.tiles.resize(static_cast<std::size_t>(tileCount));
    for (std::size_t t = 0; t < map.tiles.size(); ++t)
    {
        TileRecord& tile = map.tiles[t];
        std::string_view heading;
        std::int32_t frames = 0;
        if (!reader.Token("\n", heading) || !reader.LineNumber(5, frames))
        {
            problem = "the file ends inside tile record " + std::to_string(t);
            return false;
        }
        if (frames < 0 || static_cast<std::size_t>(frames) > reader.Left())
        {
            problem = "tile record " + std::to_string(t) + " has a frame count its lines cannot hold";
            return false;
        }
        const bool read =
            reader.Items(11, frames, tile.durations, ToFloat) &&
            reader.Items(13, frames, tile.images, ToInteger) &&
            reader.Items(4, frames, tile.ids,
                         [](std::string_view token) { return static_cast<std::uint8_t>(ToInteger(token)); });
        // Then the empty line after the record.
        if (!read || !reader.Skip(1))
        {
            problem = "the file ends inside tile record " + std::to_string(t);
            return false;
        }
    }

    std::int32_t entryCount = 0;
    if (!reader.LineNumber(12, entryCount))
    {
        problem = "the file ends before the entry count";
        return false;
    }
    if (entryCount < 0 || static_cast<std::size_t>(entryCount) > reader.Left() / MinimumEntryChars + 1)
    {
        problem = "an entry count the file cannot hold";
        return false;
    }
    map.entries.resize(static_cast<std::size_t>(entryCount));
    for (std::size_t e = 0; e < map.entries.size(); ++e)
    {
        std::string_view column;
        std::string_view row;
        std::string_view tile;
        if (!reader.Skip(1) || !reader.Field(',', column) || !reader.Field(',', row) ||
            !reader.Field(')', tile))
        {
            problem = "the file ends inside entry " + std::to_string(e);
            return false;
        }
        // The line feed; the last line may lack it.
        reader.Skip(1);
        map.entries[e] = {ToInteger(column), ToInteger(row), ToInteger(tile)};
    }
    return true;
}

} // namespace

bool TileMap::ReadInformation(const std::string& fileName, std::string* error)
{
    std::string text;
    TileMapText parsed;
    std::string problem;
    const bool loaded = LoadText(Core::ToNativePath(fileName), text);
    if (!loaded)
    {
        problem = "cannot be read";
    }
    else if (Parse(text, parsed, problem))
    {
        SetGrid(parsed.columns, parsed.rows, parsed.dimension,
                static_cast<std::int32_t>(parsed.tiles.size()));
        for (std::size_t t = 0; t < parsed.tiles.size(); ++t)
        {
            const TileRecord& record = parsed.tiles[t];
            tiles_[t].SetFrames(record.images, record.durations, record.ids);
        }
        // Entries naming a cell or tile outside the map are skipped.
        for (const Entry& entry : parsed.entries)
        {
            UseCell(entry.column, entry.row, entry.tile);
        }
        return true;
    }
    // An unreadable file is described by the system's reason.
    Core::ReportUnreadableResource(fileName, loaded ? problem : "",
                                   "the tile map is left as it was");
    if (error != nullptr)
    {
        *error = "tile map \"" + fileName + "\": " + problem;
    }
    return false;
}

} // namespace Collision2D
