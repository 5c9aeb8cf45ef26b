// Bitmap font glyph tables: the header and records a font reads, then every
// glyph measured and mapped, as text drawing does.

#include "engine/Engine_BitmapFont.h"
#include "fuzz/Fuzz_Support.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string table = Fuzz::WriteInputFile(data, size, ".fbf");
    const Core::RefPtr<Engine::BitmapFont> font(new Engine::BitmapFont(table.substr(0, table.size() - 4)));
    if (!font->HasMetrics())
    {
        for (std::uint32_t i = 0; i < 8; ++i)
        {
            Fuzz::Require(font->GetHeaderValue(i) == 0, "a font without metrics has a zero header");
        }
    }
    std::string text;
    for (int code = 0; code < 256; ++code)
    {
        text += static_cast<char>(code);
        float coordinates[8];
        font->GetCharacterTexCoords(code, coordinates);
        Engine::GlyphRecord record;
        font->GetCharacterInfo(code, record);
    }
    text += "\r\nAgain\ttabbed";
    float width = 0.0f;
    float height = 0.0f;
    font->GetTextSize(text, width, height);
    return 0;
}
