#include "AssetGen_Canvas.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>

namespace AssetGen
{

Color Hex(std::uint32_t rgb, float alpha)
{
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
}

Color Mix(Color from, Color to, float t)
{
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Color WithAlpha(Color color, float alpha)
{
    color.a = alpha;
    return color;
}

Color Shade(Color color, float amount)
{
    const Color target = amount > 0.0f ? Color{1, 1, 1, color.a} : Color{0, 0, 0, color.a};
    return Mix(color, target, std::fabs(amount));
}

Paint Solid(Color color)
{
    return [color](float, float) { return color; };
}

Paint LinearGradient(float x0, float y0, Color c0, float x1, float y1, Color c1)
{
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float length2 = std::max(dx * dx + dy * dy, 1e-6f);
    return [=](float x, float y)
    {
        const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0f, 1.0f);
        return Mix(c0, c1, t);
    };
}

Paint RadialGradient(float cx, float cy, float radius, Color c0, Color c1)
{
    return [=](float x, float y)
    {
        const float t = std::clamp(std::hypot(x - cx, y - cy) / std::max(radius, 1e-6f), 0.0f, 1.0f);
        return Mix(c0, c1, t);
    };
}

Shape Disc(float cx, float cy, float radius)
{
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Shape Ring(float cx, float cy, float radius, float width)
{
    return [=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - radius) - width * 0.5f; };
}

Shape RoundedRect(float x0, float y0, float x1, float y1, float radius)
{
    const float cx = (x0 + x1) * 0.5f;
    const float cy = (y0 + y1) * 0.5f;
    const float hx = (x1 - x0) * 0.5f - radius;
    const float hy = (y1 - y0) * 0.5f - radius;
    return [=](float x, float y)
    {
        const float qx = std::fabs(x - cx) - hx;
        const float qy = std::fabs(y - cy) - hy;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

namespace
{

// Distance from p to the segment a-b.
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    const float dx = bx - ax;
    const float dy = by - ay;
    const float length2 = dx * dx + dy * dy;
    const float t =
        length2 > 0.0f ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

} // namespace

Shape Capsule(float ax, float ay, float bx, float by, float radius)
{
    return [=](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by) - radius; };
}

Shape Polygon(std::vector<float> points)
{
    return [points = std::move(points)](float x, float y)
    {
        const std::size_t count = points.size() / 2;
        float distance = 1e30f;
        bool inside = false;
        for (std::size_t i = 0, j = count - 1; i < count; j = i++)
        {
            const float xi = points[2 * i];
            const float yi = points[2 * i + 1];
            const float xj = points[2 * j];
            const float yj = points[2 * j + 1];
            distance = std::min(distance, SegmentDistance(x, y, xi, yi, xj, yj));
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            {
                inside = !inside;
            }
        }
        return inside ? -distance : distance;
    };
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
{
    ResetClip();
}

void Canvas::SetClip(int x0, int y0, int x1, int y1)
{
    clipX0_ = std::clamp(x0, 0, width_);
    clipY0_ = std::clamp(y0, 0, height_);
    clipX1_ = std::clamp(x1, clipX0_, width_);
    clipY1_ = std::clamp(y1, clipY0_, height_);
}

void Canvas::ResetClip()
{
    SetClip(0, 0, width_, height_);
}

void Canvas::Plot(int x, int y, Color color, float coverage, Blend blend)
{
    if (x < clipX0_ || y < clipY0_ || x >= clipX1_ || y >= clipY1_ || coverage <= 0.0f)
    {
        return;
    }
    const float alpha = std::clamp(color.a * coverage, 0.0f, 1.0f);
    Color& p = At(x, y);
    if (blend == Blend::Over)
    {
        const float keep = 1.0f - alpha;
        p = {color.r * alpha + p.r * keep, color.g * alpha + p.g * keep, color.b * alpha + p.b * keep,
             alpha + p.a * keep};
    }
    else
    {
        // Light added on top; alpha grows by the light's strength.
        p = {std::min(p.r + color.r * alpha, 1.0f), std::min(p.g + color.g * alpha, 1.0f),
             std::min(p.b + color.b * alpha, 1.0f), std::min(p.a + alpha * (1.0f - p.a), 1.0f)};
        p.a = std::max(p.a, std::max(p.r, std::max(p.g, p.b)));
    }
}

void Canvas::Fill(Color color)
{
    const Color premultiplied{color.r * color.a, color.g * color.a, color.b * color.a, color.a};
    std::fill(pixels_.begin(), pixels_.end(), premultiplied);
}

void Canvas::FillShape(const Shape& shape, const Paint& paint, float x0, float y0, float x1, float y1,
                       Blend blend)
{
    const int left = std::max(clipX0_, static_cast<int>(std::floor(x0)) - 1);
    const int top = std::max(clipY0_, static_cast<int>(std::floor(y0)) - 1);
    const int right = std::min(clipX1_, static_cast<int>(std::ceil(x1)) + 1);
    const int bottom = std::min(clipY1_, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = top; y < bottom; ++y)
    {
        for (int x = left; x < right; ++x)
        {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float coverage = std::clamp(0.5f - shape(px, py), 0.0f, 1.0f);
            if (coverage > 0.0f)
            {
                Plot(x, y, paint(px, py), coverage, blend);
            }
        }
    }
}

void Canvas::FillDisc(float cx, float cy, float radius, const Paint& paint, Blend blend)
{
    FillShape(Disc(cx, cy, radius), paint, cx - radius, cy - radius, cx + radius, cy + radius, blend);
}

void Canvas::FillRing(float cx, float cy, float radius, float width, const Paint& paint, Blend blend)
{
    const float outer = radius + width;
    FillShape(Ring(cx, cy, radius, width), paint, cx - outer, cy - outer, cx + outer, cy + outer, blend);
}

void Canvas::FillRoundedRect(float x0, float y0, float x1, float y1, float radius, const Paint& paint,
                             Blend blend)
{
    FillShape(RoundedRect(x0, y0, x1, y1, radius), paint, x0, y0, x1, y1, blend);
}

void Canvas::FillCapsule(float ax, float ay, float bx, float by, float radius, const Paint& paint,
                         Blend blend)
{
    FillShape(Capsule(ax, ay, bx, by, radius), paint, std::min(ax, bx) - radius, std::min(ay, by) - radius,
              std::max(ax, bx) + radius, std::max(ay, by) + radius, blend);
}

void Canvas::FillPolygon(const std::vector<float>& points, const Paint& paint, Blend blend)
{
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    for (std::size_t i = 0; i + 1 < points.size(); i += 2)
    {
        x0 = std::min(x0, points[i]);
        x1 = std::max(x1, points[i]);
        y0 = std::min(y0, points[i + 1]);
        y1 = std::max(y1, points[i + 1]);
    }
    FillShape(Polygon(points), paint, x0, y0, x1, y1, blend);
}

void Canvas::Draw(const Canvas& source, int x, int y, Blend blend, Color tint)
{
    for (int sy = 0; sy < source.height_; ++sy)
    {
        for (int sx = 0; sx < source.width_; ++sx)
        {
            const Color& s = source.At(sx, sy);
            if (s.a <= 0.0f)
            {
                continue;
            }
            // Unpremultiply so Plot can weigh the colour by its alpha.
            const Color straight{s.r / s.a * tint.r, s.g / s.a * tint.g, s.b / s.a * tint.b, s.a * tint.a};
            Plot(x + sx, y + sy, straight, 1.0f, blend);
        }
    }
}

Canvas Canvas::Crop(int x, int y, int width, int height) const
{
    Canvas out(width, height);
    for (int cy = 0; cy < height; ++cy)
    {
        for (int cx = 0; cx < width; ++cx)
        {
            if (x + cx >= 0 && y + cy >= 0 && x + cx < width_ && y + cy < height_)
            {
                out.At(cx, cy) = At(x + cx, y + cy);
            }
        }
    }
    return out;
}

std::vector<float> Canvas::Alpha() const
{
    std::vector<float> mask(pixels_.size());
    for (std::size_t i = 0; i < pixels_.size(); ++i)
    {
        mask[i] = pixels_[i].a;
    }
    return mask;
}

void Canvas::FillMask(const std::vector<float>& mask, const Paint& paint, Blend blend)
{
    for (int y = clipY0_; y < clipY1_; ++y)
    {
        for (int x = clipX0_; x < clipX1_; ++x)
        {
            const float coverage = mask[Index(x, y)];
            if (coverage > 0.0f)
            {
                Plot(x, y, paint(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f), coverage,
                     blend);
            }
        }
    }
}

void Canvas::Blur(float sigma)
{
    if (sigma <= 0.0f || pixels_.empty())
    {
        return;
    }
    const int radius = static_cast<int>(std::ceil(sigma * 3.0f));
    std::vector<float> kernel(static_cast<std::size_t>(2 * radius + 1));
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i)
    {
        const float w = std::exp(-static_cast<float>(i * i) / (2.0f * sigma * sigma));
        kernel[static_cast<std::size_t>(i + radius)] = w;
        sum += w;
    }
    for (float& w : kernel)
    {
        w /= sum;
    }
    std::vector<Color> temp(pixels_.size());
    // Pass 0 blurs rows into temp, pass 1 columns back; beyond the edges is
    // transparent.
    for (int pass = 0; pass < 2; ++pass)
    {
        const std::vector<Color>& from = pass == 0 ? pixels_ : temp;
        std::vector<Color>& to = pass == 0 ? temp : pixels_;
        for (int y = 0; y < height_; ++y)
        {
            for (int x = 0; x < width_; ++x)
            {
                Color acc;
                for (int k = -radius; k <= radius; ++k)
                {
                    const int sx = pass == 0 ? x + k : x;
                    const int sy = pass == 0 ? y : y + k;
                    if (sx < 0 || sy < 0 || sx >= width_ || sy >= height_)
                    {
                        continue;
                    }
                    const float w = kernel[static_cast<std::size_t>(k + radius)];
                    const Color& s = from[Index(sx, sy)];
                    acc.r += s.r * w;
                    acc.g += s.g * w;
                    acc.b += s.b * w;
                    acc.a += s.a * w;
                }
                to[Index(x, y)] = acc;
            }
        }
    }
}

std::vector<std::uint8_t> Canvas::ToRgba8(Color transparent) const
{
    const auto byte = [](float value)
    { return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); };
    std::vector<std::uint8_t> out(pixels_.size() * 4);
    for (std::size_t i = 0; i < pixels_.size(); ++i)
    {
        const Color& p = pixels_[i];
        const std::uint8_t alpha = byte(p.a);
        Color straight = transparent;
        if (alpha > 0)
        {
            straight = {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
        }
        out[i * 4] = byte(straight.r);
        out[i * 4 + 1] = byte(straight.g);
        out[i * 4 + 2] = byte(straight.b);
        out[i * 4 + 3] = alpha;
    }
    return out;
}

std::vector<float> Dilate(const std::vector<float>& mask, int width, int height, float radius)
{
    const int reach = static_cast<int>(std::ceil(radius));
    std::vector<float> out(mask.size(), 0.0f);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            float best = 0.0f;
            for (int dy = -reach; dy <= reach; ++dy)
            {
                for (int dx = -reach; dx <= reach; ++dx)
                {
                    const int sx = x + dx;
                    const int sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= width || sy >= height)
                    {
                        continue;
                    }
                    const float weight =
                        std::clamp(radius + 0.5f - std::hypot(static_cast<float>(dx), static_cast<float>(dy)),
                                   0.0f, 1.0f);
                    best = std::max(best, mask[static_cast<std::size_t>(sy) * width + sx] * weight);
                }
            }
            out[static_cast<std::size_t>(y) * width + x] = best;
        }
    }
    return out;
}

float Hash01(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    // A small integer hash (xorshift-multiply), the same on every machine.
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                      static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) / 16777216.0f;
}

float ValueNoise(float x, float y, std::uint32_t seed)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx);
    const auto iy = static_cast<std::int32_t>(fy);
    const auto smooth = [](float t) { return t * t * (3.0f - 2.0f * t); };
    const float tx = smooth(x - fx);
    const float ty = smooth(y - fy);
    const float a = Hash01(ix, iy, seed);
    const float b = Hash01(ix + 1, iy, seed);
    const float c = Hash01(ix, iy + 1, seed);
    const float d = Hash01(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float FractalNoise(float x, float y, int octaves, std::uint32_t seed)
{
    float sum = 0.0f;
    float amplitude = 0.5f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i)
    {
        sum += ValueNoise(x, y, seed + static_cast<std::uint32_t>(i) * 101u) * amplitude;
        total += amplitude;
        x *= 2.0f;
        y *= 2.0f;
        amplitude *= 0.5f;
    }
    return sum / total;
}

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgba, int width, int height)
{
    std::vector<std::uint8_t> out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size)
        {
            auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
            const auto* begin = static_cast<const std::uint8_t*>(data);
            bytes->insert(bytes->end(), begin, begin + size);
        },
        &out, width, height, 4, rgba.data(), width * 4);
    return out;
}

} // namespace AssetGen
