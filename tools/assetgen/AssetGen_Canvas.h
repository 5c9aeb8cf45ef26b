#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace AssetGen
{

// A straight (not premultiplied) colour, components 0 to 1.
struct Color
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// 0xRRGGBB with an alpha.
Color Hex(std::uint32_t rgb, float alpha = 1.0f);
Color Mix(Color from, Color to, float t);
Color WithAlpha(Color color, float alpha);
// Scales the colour part towards white (amount > 0) or black (amount < 0).
Color Shade(Color color, float amount);

// The colour a shape is filled with at a point (pixel centres are at +0.5).
using Paint = std::function<Color(float x, float y)>;
Paint Solid(Color color);
// Colour c0 at (x0, y0) to c1 at (x1, y1), clamped beyond the ends.
Paint LinearGradient(float x0, float y0, Color c0, float x1, float y1, Color c1);
// Colour c0 at the centre to c1 at distance `radius` and beyond.
Paint RadialGradient(float cx, float cy, float radius, Color c0, Color c1);

// Signed distance to a shape's edge in pixels: negative inside.
using Shape = std::function<float(float x, float y)>;
Shape Disc(float cx, float cy, float radius);
Shape Ring(float cx, float cy, float radius, float width);
Shape RoundedRect(float x0, float y0, float x1, float y1, float radius);
Shape Capsule(float ax, float ay, float bx, float by, float radius);
// A closed polygon of (x, y) pairs; even-odd inside test.
Shape Polygon(std::vector<float> points);

enum class Blend
{
    Over,
    Add
};

// A float RGBA image stored premultiplied, rows from the top. Every drawing
// operation is clipped to the clip rectangle (the whole canvas by default).
class Canvas
{
public:
    Canvas() = default;
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Premultiplied pixel; (x, y) must lie on the canvas.
    const Color& At(int x, int y) const { return pixels_[Index(x, y)]; }
    Color& At(int x, int y) { return pixels_[Index(x, y)]; }

    void SetClip(int x0, int y0, int x1, int y1);
    void ResetClip();

    // Blends `color` scaled by `coverage` into one pixel.
    void Plot(int x, int y, Color color, float coverage, Blend blend = Blend::Over);
    void Fill(Color color);
    // Fills a shape with anti-aliased edges: coverage is the part of the
    // pixel inside the shape, from its distance at the pixel centre.
    // (x0, y0, x1, y1) bounds the pixels visited.
    void FillShape(const Shape& shape, const Paint& paint, float x0, float y0, float x1, float y1,
                   Blend blend = Blend::Over);
    // The same with the bounds taken from a disc or rectangle's extent.
    void FillDisc(float cx, float cy, float radius, const Paint& paint, Blend blend = Blend::Over);
    void FillRing(float cx, float cy, float radius, float width, const Paint& paint,
                  Blend blend = Blend::Over);
    void FillRoundedRect(float x0, float y0, float x1, float y1, float radius, const Paint& paint,
                         Blend blend = Blend::Over);
    void FillCapsule(float ax, float ay, float bx, float by, float radius, const Paint& paint,
                     Blend blend = Blend::Over);
    void FillPolygon(const std::vector<float>& points, const Paint& paint, Blend blend = Blend::Over);

    // Draws `source` with its top-left at (x, y), its colours multiplied by
    // `tint` (premultiplied by tint's alpha).
    void Draw(const Canvas& source, int x, int y, Blend blend = Blend::Over, Color tint = {1, 1, 1, 1});
    // Copies a rectangle of `source` into a new canvas.
    Canvas Crop(int x, int y, int width, int height) const;

    // Alpha channel as a mask, and a canvas filled with `paint` through a mask.
    std::vector<float> Alpha() const;
    void FillMask(const std::vector<float>& mask, const Paint& paint, Blend blend = Blend::Over);

    // Separable Gaussian blur of every channel (premultiplied, so colours do
    // not bleed from transparent pixels).
    void Blur(float sigma);

    // Straight 8-bit RGBA rows from the top. Fully transparent pixels take
    // `transparent`'s colour (so filtered edges do not darken).
    std::vector<std::uint8_t> ToRgba8(Color transparent = {0, 0, 0, 0}) const;

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    int clipX0_ = 0;
    int clipY0_ = 0;
    int clipX1_ = 0;
    int clipY1_ = 0;
    std::vector<Color> pixels_;
};

// Grows a mask by `radius` pixels: each pixel takes the largest value within
// the radius, with a soft last pixel.
std::vector<float> Dilate(const std::vector<float>& mask, int width, int height, float radius);

// Deterministic value noise in [0, 1]: smooth interpolation of hashed
// lattice values; `Fractal` sums octaves of halving size.
float ValueNoise(float x, float y, std::uint32_t seed);
float FractalNoise(float x, float y, int octaves, std::uint32_t seed);
// A hashed value in [0, 1) for integer inputs (stars, grain).
float Hash01(std::int32_t x, std::int32_t y, std::uint32_t seed);

// PNG bytes of straight RGBA rows (stb's encoder, default settings).
std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgba, int width, int height);

} // namespace AssetGen
