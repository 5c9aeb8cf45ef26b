#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_FontCache.h"
#include "pal/PAL_FileSystem.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

using Engine::BitmapFont;
using Engine::GlyphRecord;

namespace
{

// The test font: cell 16, baseline offset 10, second offset 2, line height
// 20, on a 64 x 64 texture (cell / width = 1/4).
constexpr std::int32_t Cell = 16;
constexpr std::int32_t Header[8] = {11, 10, 33, Cell, 55, 2, 20, 88};

// Records by character; every other character is all zero except its code.
std::map<int, GlyphRecord> TestGlyphs()
{
    std::map<int, GlyphRecord> glyphs;
    glyphs[' '] = {' ', 3, 5, 4, 0, 0, 0.0f, 0, 0};
    glyphs['A'] = {'A', 8, 9, 12, 41, 42, 1.5f, 0, 1};
    glyphs['B'] = {'B', 7, 10, 10, 0, 0, 2.0f, -1, 3};
    return glyphs;
}

void PutBytes(std::vector<std::uint8_t>& out, const void* value, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(value);
    out.insert(out.end(), bytes, bytes + size);
}

// A glyph table laid out as the font reads it.
std::vector<std::uint8_t> MakeTable(const std::u16string& name, std::uint32_t nameLength)
{
    std::vector<std::uint8_t> out;
    PutBytes(out, &nameLength, 4);
    PutBytes(out, name.data(), name.size() * 2);
    PutBytes(out, Header, sizeof(Header));
    const std::map<int, GlyphRecord> glyphs = TestGlyphs();
    for (int code = 32; code < 128; ++code)
    {
        const auto found = glyphs.find(code);
        GlyphRecord glyph = found != glyphs.end() ? found->second : GlyphRecord{};
        const auto shortCode = static_cast<std::uint16_t>(code);
        PutBytes(out, &shortCode, 2);
        PutBytes(out, &glyph.boxWidth, 4);
        PutBytes(out, &glyph.advance, 4);
        PutBytes(out, &glyph.boxHeight, 4);
        PutBytes(out, &glyph.value4, 4);
        PutBytes(out, &glyph.value5, 4);
        PutBytes(out, &glyph.leftBearing, 4);
        PutBytes(out, &glyph.kerning, 4);
        PutBytes(out, &glyph.boxOffsetY, 4);
    }
    return out;
}

std::vector<std::uint8_t> MakeTable()
{
    return MakeTable(u"Test", 4);
}

class BitmapFontTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        directory_ = std::filesystem::temp_directory_path() /
                     ("engine_font_test_" + std::to_string(::getpid()) + "_" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_);
    }

    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(directory_, error);
    }

    // Writes "<name>.fbf" (and a 64 x 64 "<name>.png") and answers the
    // font path.
    std::string WriteFont(const std::string& name, const std::vector<std::uint8_t>& table,
                          bool texture = true)
    {
        const std::string base = (directory_ / name).string();
        std::ofstream file(base + ".fbf", std::ios::binary);
        file.write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
        if (texture)
        {
            const std::vector<std::uint8_t> pixels(64 * 64 * 4, 255);
            EXPECT_NE(stbi_write_png((base + ".png").c_str(), 64, 64, 4, pixels.data(), 64 * 4), 0);
        }
        return base;
    }

    std::filesystem::path directory_;
};

void ExpectSameRecord(const GlyphRecord& a, const GlyphRecord& b)
{
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.boxWidth, b.boxWidth);
    EXPECT_EQ(a.advance, b.advance);
    EXPECT_EQ(a.boxHeight, b.boxHeight);
    EXPECT_EQ(a.leftBearing, b.leftBearing);
    EXPECT_EQ(a.kerning, b.kerning);
    EXPECT_EQ(a.boxOffsetY, b.boxOffsetY);
}

TEST_F(BitmapFontTest, ReadsTheHeaderAndTheRecordsAfterTheName)
{
    const Core::RefPtr<BitmapFont> font(new BitmapFont(WriteFont("Test", MakeTable())));
    EXPECT_TRUE(font->HasMetrics());
    for (std::uint32_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ(font->GetHeaderValue(i), Header[i]) << i;
    }
    EXPECT_EQ(font->GetHeaderValue(8), 0);
    EXPECT_EQ(font->GetCellSize(), Cell);
    EXPECT_EQ(font->GetLineHeight(), 20.0);
    ASSERT_TRUE(font->GetTexture());
    EXPECT_EQ(font->GetTexture()->GetWidth(), 64u);

    GlyphRecord a;
    font->GetCharacterInfo('A', a);
    ExpectSameRecord(a, TestGlyphs()['A']);
    EXPECT_EQ(a.value4, 41);
    EXPECT_EQ(a.value5, 42);
    GlyphRecord tilde;
    font->GetCharacterInfo('~', tilde);
    EXPECT_EQ(tilde.code, static_cast<std::uint32_t>('~'));
}

TEST_F(BitmapFontTest, CodesOutsideTheFontUseTheSpace)
{
    const Core::RefPtr<BitmapFont> font(new BitmapFont(WriteFont("Test", MakeTable())));
    GlyphRecord space;
    font->GetCharacterInfo(' ', space);
    float spaceCorners[8];
    font->GetCharacterTexCoords(' ', spaceCorners);

    for (const std::int32_t code : {200, 128, 31, 0, -56, -1})
    {
        SCOPED_TRACE(code);
        GlyphRecord record;
        font->GetCharacterInfo(code, record);
        ExpectSameRecord(record, space);
        float corners[8];
        font->GetCharacterTexCoords(code, corners);
        EXPECT_EQ(std::memcmp(corners, spaceCorners, sizeof(corners)), 0);
    }
}

TEST_F(BitmapFontTest, CellsLieTenToARowFromTheTopLeft)
{
    const Core::RefPtr<BitmapFont> font(new BitmapFont(WriteFont("Test", MakeTable())));
    // Corners bottom-left, bottom-right, top-right, top-left; cell / width
    // = 1/4, v growing upwards.
    struct Case
    {
        std::int32_t code;
        float expected[8];
    };
    const Case cases[] = {
        {32, {0.0f, 0.75f, 0.25f, 0.75f, 0.25f, 1.0f, 0.0f, 1.0f}},
        {33, {0.25f, 0.75f, 0.5f, 0.75f, 0.5f, 1.0f, 0.25f, 1.0f}},
        {42, {0.0f, 0.5f, 0.25f, 0.5f, 0.25f, 0.75f, 0.0f, 0.75f}},
        // Index 95: row 9, column 5, past the texture's edge of this small
        // test texture, as the formula gives.
        {127, {1.25f, -1.5f, 1.5f, -1.5f, 1.5f, -1.25f, 1.25f, -1.25f}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.code);
        float corners[8];
        font->GetCharacterTexCoords(c.code, corners);
        for (int i = 0; i < 8; ++i)
        {
            EXPECT_FLOAT_EQ(corners[i], c.expected[i]) << i;
        }
    }
}

TEST_F(BitmapFontTest, MeasuresBoxesLineFeedsCarriageReturnsTabsAndKerning)
{
    const Core::RefPtr<BitmapFont> font(new BitmapFont(WriteFont("Test", MakeTable())));
    // Pen y starts at the cell (16). A: box (x, 16 - 12 + 1, 8, 12),
    // advance 9. B: kerning -1, box (x, 16 - 12 + 3, 7, 10), advance 10.
    // Space: box (x, 6, 5, 1). Line feed: box (x, y, 1, 20), y += 20.
    struct Case
    {
        const char* text;
        float width;
        float height;
    };
    const Case cases[] = {
        {"", 0.0f, 0.0f},
        {"A", 8.0f, 12.0f},
        // B kerned to x = 8: right edge 15, bottom 17.
        {"AB", 15.0f, 12.0f},
        // The space's box is one unit high at x = 0; A follows at 5.
        {" A", 13.0f, 12.0f},
        // Tab: four space advances.
        {"\tA", 28.0f, 12.0f},
        // The line feed keeps x: B lands at 9 - 1 = 8 one line lower.
        {"A\nB", 15.0f, 32.0f},
        // Carriage return sets x to 0 and B gets no kerning.
        {"A\rB", 8.0f, 12.0f},
        // A lone carriage return yields no box.
        {"\r", 0.0f, 0.0f},
        // A byte above 127 is an ordinary character with the space's record.
        {"\xC8", 3.0f, 4.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        float width = -1.0f;
        float height = -1.0f;
        font->GetTextSize(c.text, width, height);
        EXPECT_FLOAT_EQ(width, c.width);
        EXPECT_FLOAT_EQ(height, c.height);
    }
}

TEST_F(BitmapFontTest, ABadOrMissingTableGivesAFontWithoutMetrics)
{
    std::vector<std::uint8_t> lengthPastTheEnd = MakeTable();
    const std::uint32_t huge = 0xFFFFFFFFu;
    std::memcpy(lengthPastTheEnd.data(), &huge, 4);

    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> table;
        const char* problem;
    };
    const Case cases[] = {
        {"empty", {}, "(it ends inside its name length)"},
        {"length cut short", {4, 0}, "(it ends inside its name length)"},
        {"name length past the end", lengthPastTheEnd, "(its name length of 4294967295 code units runs past"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = WriteFont(c.name, c.table);
        ::testing::internal::CaptureStderr();
        const Core::RefPtr<BitmapFont> font(new BitmapFont(path));
        const std::string report = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find("cannot read \"" + path + ".fbf\" " + c.problem), std::string::npos) << report;
        EXPECT_NE(report.find("; a font with no metrics is used instead\n"), std::string::npos) << report;
        EXPECT_FALSE(font->HasMetrics());
        for (std::uint32_t i = 0; i < 8; ++i)
        {
            EXPECT_EQ(font->GetHeaderValue(i), 0);
        }
        GlyphRecord a;
        font->GetCharacterInfo('A', a);
        ExpectSameRecord(a, GlyphRecord{});
        float width = -1.0f;
        float height = -1.0f;
        font->GetTextSize("AB", width, height);
        EXPECT_EQ(width, 0.0f);
        EXPECT_EQ(height, 0.0f);
        float corners[8];
        font->GetCharacterTexCoords('A', corners);
        EXPECT_EQ(corners[5], 1.0f); // a cell of 0 texels at the top-left
    }

    // No files at all: the texture cache gives its test pattern; each file
    // is reported once, however often the font is built.
    const std::string missingPath = (directory_ / "Missing").string();
    ::testing::internal::CaptureStderr();
    const Core::RefPtr<BitmapFont> missing(new BitmapFont(missingPath));
    const Core::RefPtr<BitmapFont> again(new BitmapFont(missingPath));
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(missing->HasMetrics());
    EXPECT_EQ(missing->GetLineHeight(), 0.0);
    EXPECT_TRUE(missing->GetTexture());
    EXPECT_EQ(report,
              PAL::GetExecutableName() + ": cannot read \"" + missingPath +
                  ".png\" (No such file or directory); the pattern texture is used instead\n" +
                  PAL::GetExecutableName() + ": cannot read \"" + missingPath +
                  ".fbf\" (No such file or directory); a font with no metrics is used instead\n");
}

TEST_F(BitmapFontTest, AShortTableKeepsTheValuesBeforeItsEnd)
{
    const std::vector<std::uint8_t> good = MakeTable();
    const std::size_t records = 4 + 8 + 32;
    const std::map<int, GlyphRecord> glyphs = TestGlyphs();

    // Cut inside h4: h1 to h3 are read, h4 and everything after are zero.
    const std::string cutHeader =
        WriteFont("CutHeader", std::vector<std::uint8_t>(good.begin(), good.begin() + 12 + 14));
    ::testing::internal::CaptureStderr();
    const Core::RefPtr<BitmapFont> header(new BitmapFont(cutHeader));
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("cannot read \"" + cutHeader +
                          ".fbf\" (it ends after 14 of the 3296 bytes of its header and records); the values "
                          "before its end are kept and the rest are zero\n"),
              std::string::npos)
        << report;
    EXPECT_TRUE(header->HasMetrics());
    for (std::uint32_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ(header->GetHeaderValue(i), i < 3 ? Header[i] : 0) << i;
    }

    // Cut inside the record of 'B' (code 66, index 34) after its advance: the
    // header, the records before and B's code, width and advance are kept.
    const std::size_t recordB = records + 34 * 34;
    const Core::RefPtr<BitmapFont> glyph(new BitmapFont(
        WriteFont("CutRecord", std::vector<std::uint8_t>(good.begin(), good.begin() + recordB + 12))));
    EXPECT_TRUE(glyph->HasMetrics());
    EXPECT_EQ(glyph->GetCellSize(), Cell);
    GlyphRecord read;
    glyph->GetCharacterInfo('A', read);
    ExpectSameRecord(read, glyphs.at('A'));
    glyph->GetCharacterInfo('B', read);
    GlyphRecord expected{'B', glyphs.at('B').boxWidth, glyphs.at('B').advance};
    ExpectSameRecord(read, expected);
    glyph->GetCharacterInfo('C', read);
    ExpectSameRecord(read, GlyphRecord{});
}

TEST_F(BitmapFontTest, BytesAfterTheLastRecordAreIgnored)
{
    std::vector<std::uint8_t> table = MakeTable();
    table.insert(table.end(), {1, 2, 3, 4, 5});
    const Core::RefPtr<BitmapFont> font(new BitmapFont(WriteFont("Long", table)));
    EXPECT_TRUE(font->HasMetrics());
    EXPECT_EQ(font->GetCellSize(), Cell);
}

TEST_F(BitmapFontTest, TheCacheHandsOutOneFontPerExactPath)
{
    const std::string path = WriteFont("Test", MakeTable());
    Engine::FontCache cache;
    const Core::RefPtr<BitmapFont> first = cache.GetFont(path);
    const Core::RefPtr<BitmapFont> second = cache.GetFont(path);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(first->GetName(), path);

    // Another spelling of the same file is another font.
    std::string upper = path;
    upper.back() = 'T';
    const Core::RefPtr<BitmapFont> other = cache.GetFont(upper);
    EXPECT_NE(other.Get(), first.Get());
    EXPECT_EQ(cache.GetFontCount(), 2u);

    // A font without files is cached too.
    const Core::RefPtr<BitmapFont> missing = cache.GetFont((directory_ / "Missing").string());
    EXPECT_EQ(cache.GetFont((directory_ / "Missing").string()).Get(), missing.Get());
    EXPECT_EQ(cache.GetFontCount(), 3u);

    cache.Clear();
    EXPECT_EQ(cache.GetFontCount(), 0u);
    EXPECT_EQ(first->GetReferenceCount(), 2u);
}

TEST(DefaultFont, TheEmptyPathLoadsTheGeneratedDefaultFont)
{
    Engine::FontCache cache;
    const Core::RefPtr<BitmapFont> font = cache.GetFont("");
    EXPECT_EQ(cache.GetFont("").Get(), font.Get());
    EXPECT_EQ(font->GetName(),
              PAL::GetExecutableDirectory() + "\\Resources\\Fonts\\DefaultFont\\DefaultFont");
    ASSERT_TRUE(font->HasMetrics());
    const std::int32_t cell = font->GetCellSize();
    EXPECT_GT(cell, 0);
    EXPECT_GT(font->GetLineHeight(), cell);
    ASSERT_TRUE(font->GetTexture());
    const std::uint32_t width = font->GetTexture()->GetWidth();
    EXPECT_EQ(font->GetTexture()->GetHeight(), width);
    EXPECT_GE(width, static_cast<std::uint32_t>(10 * cell));

    // Every printable glyph has ink inside its cell and moves the pen.
    for (std::int32_t code = 33; code < 127; ++code)
    {
        SCOPED_TRACE(code);
        GlyphRecord glyph;
        font->GetCharacterInfo(code, glyph);
        EXPECT_EQ(glyph.code, static_cast<std::uint32_t>(code));
        EXPECT_GT(glyph.boxWidth, 0);
        EXPECT_GT(glyph.boxHeight, 0);
        EXPECT_GT(glyph.advance, glyph.boxWidth);
        EXPECT_LE(glyph.leftBearing + static_cast<float>(glyph.boxWidth), static_cast<float>(cell));
        EXPECT_LE(glyph.boxOffsetY + glyph.boxHeight, cell);
    }
    float width2 = 0.0f;
    float height = 0.0f;
    font->GetTextSize("Hello", width2, height);
    EXPECT_GT(width2, 0.0f);
    EXPECT_GT(height, 0.0f);
}

} // namespace
