#pragma once

#include "AssetGen_Canvas.h"

#include <string>

namespace AssetGen
{

// A rounded panel: vertical gradient, a one-pixel dark outline and a
// one-pixel light bevel inside it (at the top, or at the bottom when inset).
struct PanelStyle
{
    Color top;
    Color bottom;
    Color outline;
    Color bevel;
    float radius = 3.0f;
    bool inset = false;
    // A coloured rim drawn inside the outline when its alpha is above 0.
    Color rim = {0, 0, 0, 0};
};

void DrawPanel(Canvas& canvas, float x0, float y0, float x1, float y1, const PanelStyle& style);

// A soft glow of a shape inside the box (x0, y0, x1, y1): the shape filled
// with `color`, blurred by `sigma` and laid over (or added to) the canvas at
// `strength`.
void DrawGlow(Canvas& canvas, const Shape& shape, Color color, float sigma, float strength, float x0,
              float y0, float x1, float y1, Blend blend = Blend::Over);

// A line of styled letters centred on (cx, cy), capitals centred vertically.
struct TextStyle;
void DrawTitle(Canvas& canvas, const std::string& text, const TextStyle& style, float cx, float cy);

// A glossy sphere on the circle (cx, cy, radius): radial body gradient lit
// from the top-left, a specular highlight and a rim light; with `glow` above
// 0, a soft outer glow of its colour.
void DrawGlossyBall(Canvas& canvas, float cx, float cy, float radius, Color color, float glow);

} // namespace AssetGen
