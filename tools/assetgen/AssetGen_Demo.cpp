// The engine demo's images: a sprite sheet and a particle.
//
// The sheet holds eight 32 x 32 frames, four to a row, numbered row by row
// from the top-left cell. Frame i is filled with its own colour, framed by a
// darker rim, carries a white square in its top-left corner (so a mirrored
// frame shows which way it was turned) and i + 1 dark dots along its
// bottom. The particle is a 32 x 32 white disc whose alpha fades to 0 at
// its rim. Both are plain 8-bit images; their bytes never change.
#include "AssetGen_Demo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace AssetGen
{

namespace
{

constexpr int Cell = 32;
constexpr int Columns = 4;
constexpr int Rows = 2;
constexpr int ParticleSize = 32;

struct Rgb
{
    std::uint8_t r, g, b;
};

// One hue per frame, around the colour wheel.
constexpr Rgb FrameColors[Columns * Rows] = {{230, 60, 60},  {235, 150, 40}, {220, 210, 50}, {80, 200, 70},
                                             {50, 190, 200}, {60, 100, 230}, {150, 80, 220}, {220, 70, 170}};

struct Image
{
    Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 4, 0) {}

    // (x, y) from the top-left.
    void Set(int x, int y, Rgb color, std::uint8_t alpha = 255)
    {
        std::uint8_t* p = pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
        p[0] = color.r;
        p[1] = color.g;
        p[2] = color.b;
        p[3] = alpha;
    }

    void Fill(int x0, int y0, int x1, int y1, Rgb color)
    {
        for (int y = y0; y < y1; ++y)
        {
            for (int x = x0; x < x1; ++x)
            {
                Set(x, y, color);
            }
        }
    }

    std::vector<std::uint8_t> Png() const { return EncodePng(pixels, width, height); }

    int width;
    int height;
    std::vector<std::uint8_t> pixels;
};

Rgb Darker(Rgb color)
{
    return {static_cast<std::uint8_t>(color.r / 2), static_cast<std::uint8_t>(color.g / 2),
            static_cast<std::uint8_t>(color.b / 2)};
}

Image MakeSheet()
{
    Image sheet(Columns * Cell, Rows * Cell);
    for (int frame = 0; frame < Columns * Rows; ++frame)
    {
        const int x = (frame % Columns) * Cell;
        const int y = (frame / Columns) * Cell;
        const Rgb color = FrameColors[frame];
        const Rgb rim = Darker(color);
        sheet.Fill(x, y, x + Cell, y + Cell, rim);
        sheet.Fill(x + 2, y + 2, x + Cell - 2, y + Cell - 2, color);
        sheet.Fill(x + 4, y + 4, x + 12, y + 12, {255, 255, 255});
        for (int dot = 0; dot <= frame; ++dot)
        {
            sheet.Fill(x + 4 + 3 * dot, y + 25, x + 6 + 3 * dot, y + 27, rim);
        }
    }
    return sheet;
}

Image MakeParticle()
{
    Image particle(ParticleSize, ParticleSize);
    const float centre = (ParticleSize - 1) / 2.0f;
    for (int y = 0; y < ParticleSize; ++y)
    {
        for (int x = 0; x < ParticleSize; ++x)
        {
            const float distance = std::hypot(static_cast<float>(x) - centre, static_cast<float>(y) - centre);
            const float fade = std::clamp(1.0f - distance / (ParticleSize / 2.0f), 0.0f, 1.0f);
            particle.Set(x, y, {255, 255, 255}, static_cast<std::uint8_t>(std::lround(255.0f * fade * fade)));
        }
    }
    return particle;
}

const char* const SheetPath = "Resources/Animations/DemoSheet.png";
const char* const ParticlePath = "Resources/ParticleSystems/DemoParticle.png";

} // namespace

void ListDemo(Manifest& manifest)
{
    manifest.push_back({SheetPath, "sprite sheet", "128x64, 4x2 cells of 32x32 (engine demo)"});
    manifest.push_back({ParticlePath, "image", "32x32 (engine demo)"});
}

bool MakeDemo(Output& output)
{
    return output.Write(SheetPath, MakeSheet().Png()) && output.Write(ParticlePath, MakeParticle().Png());
}

} // namespace AssetGen
