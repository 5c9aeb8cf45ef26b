#include "AssetGen_Shapes.h"

#include "AssetGen_Fonts.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

void DrawPanel(Canvas& canvas, float x0, float y0, float x1, float y1, const PanelStyle& style)
{
    canvas.FillRoundedRect(x0, y0, x1, y1, style.radius, Solid(style.outline));
    const float r1 = std::max(style.radius - 1.0f, 0.5f);
    canvas.FillRoundedRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r1, Solid(style.bevel));
    // The body leaves the bevel showing on one side only.
    const float bodyTop = style.inset ? y0 + 1 : y0 + 2;
    const float bodyBottom = style.inset ? y1 - 2 : y1 - 1;
    const Paint fill = LinearGradient(0, y0, style.top, 0, y1, style.bottom);
    canvas.FillRoundedRect(x0 + 1, bodyTop, x1 - 1, bodyBottom, r1, fill);
    if (style.rim.a > 0.0f)
    {
        const Shape outer = RoundedRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r1);
        const Shape inner = RoundedRect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, std::max(r1 - 1.0f, 0.5f));
        canvas.FillShape([&](float x, float y) { return std::max(outer(x, y), -inner(x, y)); },
                         Solid(style.rim), x0, y0, x1, y1);
    }
}

void DrawGlow(Canvas& canvas, const Shape& shape, Color color, float sigma, float strength, float x0,
              float y0, float x1, float y1, Blend blend)
{
    const int margin = static_cast<int>(std::ceil(sigma * 3.0f)) + 1;
    const int left = static_cast<int>(std::floor(x0)) - margin;
    const int top = static_cast<int>(std::floor(y0)) - margin;
    const int width = static_cast<int>(std::ceil(x1)) + margin - left;
    const int height = static_cast<int>(std::ceil(y1)) + margin - top;
    Canvas glow(width, height);
    const float fx = static_cast<float>(left), fy = static_cast<float>(top);
    glow.FillShape([&](float x, float y) { return shape(x + fx, y + fy); }, Solid(WithAlpha(color, 1.0f)), 0,
                   0, static_cast<float>(width), static_cast<float>(height));
    glow.Blur(sigma);
    canvas.Draw(glow, left, top, blend, {1, 1, 1, strength});
}

void DrawTitle(Canvas& canvas, const std::string& text, const TextStyle& style, float cx, float cy)
{
    const Canvas title = StyledText(text, style);
    const int pad = static_cast<int>(std::ceil(style.outlineWidth + 3.0f * style.glowSigma)) + 1;
    const float capCentre = static_cast<float>(pad) + 3.5f * static_cast<float>(style.scale);
    canvas.Draw(title, static_cast<int>(std::lround(cx - static_cast<float>(title.Width()) * 0.5f)),
                static_cast<int>(std::lround(cy - capCentre)));
}

void DrawGlossyBall(Canvas& canvas, float cx, float cy, float radius, Color color, float glow)
{
    if (glow > 0.0f)
    {
        DrawGlow(canvas, Disc(cx, cy, radius), color, radius * 0.45f + 1.0f, glow, cx - radius, cy - radius,
                 cx + radius, cy + radius);
    }
    const float lx = cx - radius * 0.35f;
    const float ly = cy - radius * 0.4f;
    const Color light = Shade(color, 0.55f);
    const Color dark = Shade(color, -0.6f);
    canvas.FillDisc(cx, cy, radius,
                    [=](float x, float y)
                    {
                        const float t = std::hypot(x - lx, y - ly) / (radius * 1.45f);
                        return t < 0.5f ? Mix(light, color, t / 0.5f)
                                        : Mix(color, dark, std::min((t - 0.5f) / 0.5f, 1.0f));
                    });
    // Rim light: a thin bright crescent along the lower right edge.
    canvas.FillRing(cx, cy, radius - std::max(radius * 0.08f, 0.6f), std::max(radius * 0.12f, 0.8f),
                    [=](float x, float y)
                    {
                        const float along = ((x - cx) + (y - cy)) / (radius * 1.4142f);
                        return WithAlpha(Shade(color, 0.4f), std::clamp(along, 0.0f, 1.0f) * 0.6f);
                    });
    // Specular highlight.
    const float hr = radius * 0.32f;
    canvas.FillShape(
        [=](float x, float y)
        {
            const float dx = (x - (cx - radius * 0.32f)) / 1.25f;
            const float dy = (y - (cy - radius * 0.42f));
            return std::hypot(dx, dy) - hr * 0.75f;
        },
        RadialGradient(cx - radius * 0.36f, cy - radius * 0.46f, hr * 1.2f, Hex(0xFFFFFF, 0.95f),
                       Hex(0xFFFFFF, 0.15f)),
        cx - radius, cy - radius, cx, cy);
}

} // namespace AssetGen
