#include "Demo_TextMesh.h"

#include <cmath>

Core::RefPtr<Engine::Mesh> BuildTextMesh(const Engine::BitmapFont& font, const std::string& text,
                                         const Math::Vector4& color)
{
    Core::RefPtr<Engine::Mesh> mesh(new ("Demo_TextMesh", __LINE__) Engine::Mesh());
    mesh->SetPrimitiveType(Renderer::PrimitiveTriangles);

    Engine::GlyphRecord space;
    font.GetCharacterInfo(' ', space);
    const float cell = static_cast<float>(font.GetCellSize());
    const float lineHeight = static_cast<float>(font.GetLineHeight());

    float x = 0.0f;
    float y = 0.0f;
    for (const char character : text)
    {
        const std::int32_t code = static_cast<signed char>(character);
        if (code == '\n')
        {
            y -= lineHeight;
            x = 0.0f;
            continue;
        }
        if (code == ' ' || code == '\t')
        {
            x += static_cast<float>(space.advance) * (code == '\t' ? 4.0f : 1.0f);
            continue;
        }
        if (code == '\r')
        {
            continue;
        }
        Engine::GlyphRecord glyph;
        font.GetCharacterInfo(code, glyph);
        float corners[8];
        font.GetCharacterTexCoords(code, corners);

        // Inside a line the bearing is rounded up and the kerning shifts
        // the pen; the first glyph of a line keeps its exact bearing.
        float bearing = glyph.leftBearing;
        if (x != 0.0f)
        {
            bearing = std::ceil(glyph.leftBearing);
            x += static_cast<float>(glyph.kerning);
        }
        const float left = x - bearing;
        x += static_cast<float>(glyph.advance);
        if (x != 0.0f)
        {
            x -= static_cast<float>(glyph.kerning);
        }

        const Math::Vector3 p0(left, y, 0.0f);
        const Math::Vector3 p1(left + cell, y, 0.0f);
        const Math::Vector3 p2(left + cell, y + cell, 0.0f);
        const Math::Vector3 p3(left, y + cell, 0.0f);
        const Math::Vector2D bottomLeft(corners[0], corners[1]);
        const Math::Vector2D bottomRight(corners[2], corners[3]);
        const Math::Vector2D topRight(corners[4], corners[5]);
        const Math::Vector2D topLeft(corners[6], corners[7]);
        const Math::Vector3 positions[6] = {p0, p1, p2, p2, p3, p0};
        const Math::Vector2D coordinates[6] = {bottomLeft, bottomRight, topRight,
                                               topRight,   topLeft,     bottomLeft};
        for (int i = 0; i < 6; ++i)
        {
            mesh->AddPosition(positions[i]);
            mesh->AddTexCoord(coordinates[i]);
            mesh->AddColor(color);
        }
    }

    const auto count = static_cast<std::uint32_t>(mesh->GetPositions().size());
    if (count > 0)
    {
        mesh->AddDrawRange({0, count - 1, -1, true});
    }
    return mesh;
}
