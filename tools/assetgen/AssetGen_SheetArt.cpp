#include "AssetGen_SheetArt.h"

#include "AssetGen_Collision.h"
#include "AssetGen_Fonts.h"
#include "AssetGen_Palette.h"
#include "AssetGen_Shapes.h"

#include <algorithm>
#include <cmath>

namespace AssetGen::Art
{

namespace
{

constexpr float Pi = 3.14159265f;
constexpr int ScreenWidth = 1024;
constexpr int ScreenHeight = 768;

// World units (y up, origin at the screen's centre) to screen pixels.
float Sx(float x)
{
    return static_cast<float>(ScreenWidth) * 0.5f + x;
}

float Sy(float y)
{
    return static_cast<float>(ScreenHeight) * 0.5f - y;
}

float Smooth(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

TextStyle TitleStyle(int scale, Color top, Color bottom, Color glow)
{
    return {scale,
            top,
            bottom,
            Palette::Ink,
            std::max(2.0f, static_cast<float>(scale) * 0.3f),
            WithAlpha(glow, 0.85f),
            static_cast<float>(scale) * 0.8f};
}

TextStyle LineStyle(int scale, Color top, Color bottom)
{
    return {scale, top, bottom, Palette::Ink, 2.0f, WithAlpha(bottom, 0.35f), 2.0f};
}

void Stars(Canvas& canvas, std::uint32_t seed, float density, float brightness)
{
    const int block = 12;
    for (int by = 0; by < canvas.Height() / block; ++by)
    {
        for (int bx = 0; bx < canvas.Width() / block; ++bx)
        {
            if (Hash01(bx, by, seed) > density)
            {
                continue;
            }
            const float x = static_cast<float>(bx * block) + Hash01(bx, by, seed + 1) * block;
            const float y = static_cast<float>(by * block) + Hash01(bx, by, seed + 2) * block;
            const float size = Hash01(bx, by, seed + 3);
            const float light = brightness * (0.35f + 0.65f * size);
            const Color tint = Mix(Hex(0xFFFFFF), size > 0.5f ? Palette::Cyan : Hex(0xFFD8F8), 0.3f);
            canvas.FillDisc(x, y, 0.55f + size * 0.9f, Solid(WithAlpha(tint, light)), Blend::Add);
            if (size > 0.93f)
            {
                // A glint on the brightest.
                canvas.FillCapsule(x - 5, y, x + 5, y, 0.5f, Solid(WithAlpha(tint, light * 0.5f)),
                                   Blend::Add);
                canvas.FillCapsule(x, y - 5, x, y + 5, 0.5f, Solid(WithAlpha(tint, light * 0.5f)),
                                   Blend::Add);
            }
        }
    }
}

// A ring of stage-coloured balls on an ellipse round (cx, cy).
void BallRing(Canvas& canvas, float cx, float cy, float rx, float ry, int count, float radius, float phase)
{
    for (int i = 0; i < count; ++i)
    {
        const float angle = phase + 2.0f * Pi * static_cast<float>(i) / static_cast<float>(count);
        DrawGlossyBall(canvas, cx + std::cos(angle) * rx, cy + std::sin(angle) * ry, radius,
                       Palette::Stages[i % 5], 0.6f);
    }
}

void FireworkBurst(Canvas& canvas, float cx, float cy, float radius, Color color, std::uint32_t seed)
{
    const int rays = 18;
    for (int i = 0; i < rays; ++i)
    {
        const float angle = 2.0f * Pi * (static_cast<float>(i) + Hash01(i, 0, seed) * 0.4f) / rays;
        const float length = radius * (0.7f + 0.3f * Hash01(i, 1, seed));
        const float ex = cx + std::cos(angle) * length, ey = cy + std::sin(angle) * length;
        canvas.FillCapsule(
            cx + std::cos(angle) * length * 0.35f, cy + std::sin(angle) * length * 0.35f, ex, ey, 1.2f,
            LinearGradient(cx, cy, WithAlpha(color, 0.0f), ex, ey, WithAlpha(color, 0.9f)), Blend::Add);
        canvas.FillDisc(ex, ey, 2.6f, Solid(WithAlpha(Shade(color, 0.6f), 0.95f)), Blend::Add);
    }
    DrawGlow(canvas, Disc(cx, cy, radius * 0.5f), color, radius * 0.35f, 0.1f, cx - radius, cy - radius,
             cx + radius, cy + radius, Blend::Add);
}

// A rounded translucent panel with a neon rim.
void NeonPanel(Canvas& canvas, float x0, float y0, float x1, float y1, Color rim, float fillAlpha)
{
    DrawGlow(canvas, RoundedRect(x0, y0, x1, y1, 18), rim, 8.0f, 0.55f, x0, y0, x1, y1);
    canvas.FillRoundedRect(x0, y0, x1, y1, 18,
                           LinearGradient(0, y0, WithAlpha(Palette::Indigo, fillAlpha), 0, y1,
                                          WithAlpha(Palette::Night, fillAlpha)));
    const Shape outer = RoundedRect(x0, y0, x1, y1, 18);
    canvas.FillShape([&](float x, float y) { return std::fabs(outer(x, y) + 1.5f) - 1.2f; },
                     Solid(Shade(rim, 0.35f)), x0, y0, x1, y1);
}

} // namespace

void Space(Canvas& canvas, std::uint32_t seed, float nebula)
{
    const int w = canvas.Width(), h = canvas.Height();
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            Color color =
                Mix(Palette::Night, Palette::Indigo, std::pow(fy / static_cast<float>(h), 1.4f) * 0.8f);
            const float n1 = FractalNoise(fx / 240.0f, fy / 240.0f, 5, seed);
            const float n2 = FractalNoise(fx / 170.0f + 13.0f, fy / 170.0f, 4, seed + 7);
            const float magenta = Smooth(0.48f, 0.78f, n1) * 0.32f * nebula;
            const float cyan = Smooth(0.52f, 0.82f, n2) * 0.22f * nebula;
            color.r += Palette::Magenta.r * magenta * 0.7f + Palette::Cyan.r * cyan * 0.3f;
            color.g += Palette::Magenta.g * magenta * 0.3f + Palette::Cyan.g * cyan * 0.6f;
            color.b += Palette::Magenta.b * magenta * 0.8f + Palette::Cyan.b * cyan * 0.8f;
            // Vignette.
            const float dx = fx / static_cast<float>(w) - 0.5f, dy = fy / static_cast<float>(h) - 0.5f;
            const float dark = 1.0f - 0.55f * (dx * dx + dy * dy) * 2.0f;
            color = {color.r * dark, color.g * dark, color.b * dark, 1.0f};
            canvas.At(x, y) = color;
        }
    }
    Stars(canvas, seed + 100, 0.16f, 0.9f);
}

void PlayField(Canvas& canvas)
{
    const int w = canvas.Width(), h = canvas.Height();
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            Color color = Mix(Hex(0x0A0920), Hex(0x0E1433), fy / static_cast<float>(h));
            const float n = Smooth(0.5f, 0.85f, FractalNoise(fx / 300.0f, fy / 300.0f, 4, 41)) * 0.12f;
            color.r += Palette::Magenta.r * n * 0.5f;
            color.g += Palette::Cyan.g * n * 0.3f;
            color.b += n * 0.8f;
            // A faint grid every 64 pixels from the centre.
            const float gx = std::fabs(std::fmod(fx - 512.0f + 6400.0f, 64.0f) - 32.0f);
            const float gy = std::fabs(std::fmod(fy - 384.0f + 6400.0f, 64.0f) - 32.0f);
            const float line = std::max(Smooth(31.0f, 32.0f, gx), Smooth(31.0f, 32.0f, gy)) * 0.07f;
            color.r += 0.2f * line;
            color.g += 0.7f * line;
            color.b += 0.9f * line;
            const float dx = fx / static_cast<float>(w) - 0.5f, dy = fy / static_cast<float>(h) - 0.5f;
            const float dark = 1.0f - 0.6f * (dx * dx + dy * dy) * 2.0f;
            canvas.At(x, y) = {color.r * dark, color.g * dark, color.b * dark, 1.0f};
        }
    }
    Stars(canvas, 77, 0.07f, 0.45f);
}

void TitleCard(Canvas& canvas)
{
    Space(canvas, 11, 1.1f);
    BallRing(canvas, Sx(0), Sy(20), 400, 250, 15, 20, -Pi / 2);
    DrawTitle(canvas, "BRILLOW", TitleStyle(16, Hex(0xFFFFFF), Hex(0x7FE8FF), Palette::Cyan), Sx(0), Sy(40));
    DrawTitle(canvas, "A NEON ARCADE GAME", LineStyle(4, Hex(0xFFE8FF), Palette::Magenta), Sx(0), Sy(-70));
}

void HowToPlayCard(Canvas& canvas)
{
    Space(canvas, 12, 0.8f);
    DrawTitle(canvas, "HOW TO PLAY", TitleStyle(8, Hex(0xFFFFFF), Hex(0x7FE8FF), Palette::Cyan), Sx(0),
              Sy(280));
    // A mouse steering the player ball.
    const float mx = Sx(-200), my = Sy(110);
    canvas.FillRoundedRect(mx - 42, my - 62, mx + 42, my + 62, 40, Solid(Palette::Ink));
    canvas.FillRoundedRect(mx - 39, my - 59, mx + 39, my + 59, 37,
                           LinearGradient(mx - 40, my - 60, Hex(0xDDE4FF), mx + 40, my + 60, Hex(0x8090C8)));
    canvas.FillCapsule(mx, my - 58, mx, my - 18, 1.2f, Solid(Palette::Ink));
    canvas.FillCapsule(mx - 38, my - 18, mx + 38, my - 18, 1.2f, Solid(Palette::Ink));
    canvas.FillCapsule(mx, my - 62, mx + 20, my - 110, 2.5f, Solid(Hex(0x8090C8)));
    for (int i = 0; i < 3; ++i)
    {
        const float ax = Sx(-110) + static_cast<float>(i) * 34.0f;
        canvas.FillPolygon({ax, my - 14, ax + 18, my, ax, my + 14},
                           Solid(WithAlpha(Palette::Cyan, 0.4f + 0.25f * i)));
    }
    DrawGlossyBall(canvas, Sx(110), my, 30, Palette::Blue, 0.8f);
    canvas.FillRing(Sx(110), my, 27, 3, Solid(Hex(0xFFFFFF)));
    // The rules, each with its picture.
    const float rows[3] = {Sy(-60), Sy(-150), Sy(-240)};
    for (int i = 0; i < 5; ++i)
    {
        DrawGlossyBall(canvas, Sx(-400) + static_cast<float>(i % 3) * 22.0f,
                       rows[0] + (i < 3 ? -10.0f : 12.0f), 9, Palette::Stages[i], 0.5f);
    }
    EnemyWhite(canvas, {Sx(-400), rows[1]}, 12);
    SpikeBall(canvas, {Sx(-360), rows[1]}, 11);
    canvas.FillCapsule(Sx(-330), rows[1], Sx(-300), rows[1], 2.5f, Solid(Hex(0xFFF0FA)));
    DrawGlow(canvas, Capsule(Sx(-330), rows[1], Sx(-300), rows[1], 3), Palette::Magenta, 4, 0.8f, Sx(-335),
             rows[1] - 5, Sx(-295), rows[1] + 5);
    canvas.FillRoundedRect(Sx(-410), rows[2] - 16, Sx(-350), rows[2] + 16, 6, Solid(Hex(0x2A2F6A)));
    canvas.FillRoundedRect(Sx(-408), rows[2] - 14, Sx(-352), rows[2] + 14, 5, Solid(Hex(0x4A54A8)));
    DrawTitle(canvas, "ESC", LineStyle(2, Hex(0xFFFFFF), Hex(0xC8D4FF)), Sx(-380), rows[2]);
    const char* lines[3] = {"EAT THE COLOURED BALLS", "AVOID WHITE BALLS, SPIKES AND LASERS", "ESC PAUSES"};
    for (int i = 0; i < 3; ++i)
    {
        const Canvas text =
            StyledText(lines[i], LineStyle(3, Hex(0xFFFFFF), i == 1 ? Hex(0xFF9AE8) : Hex(0xA8F0FF)));
        canvas.Draw(text, static_cast<int>(Sx(-290)), static_cast<int>(rows[i] - 10 - 6));
    }
}

void MenuPage(Canvas& canvas)
{
    Space(canvas, 23, 0.9f);
    DrawTitle(canvas, "BRILLOW", TitleStyle(13, Hex(0xFFFFFF), Hex(0x7FE8FF), Palette::Cyan), Sx(0), Sy(265));
    DrawTitle(canvas, "EAT  GROW  GLOW", LineStyle(3, Hex(0xFFE8FF), Palette::Magenta), Sx(0), Sy(170));
    // Balls drifting in the corners, clear of the buttons.
    const float spots[][3] = {{-440, 300, 14},  {-470, 200, 9},  {450, 310, 12}, {470, 220, 8},
                              {-470, -330, 10}, {460, -340, 13}, {-330, 330, 7}, {330, 345, 7}};
    for (int i = 0; i < 8; ++i)
    {
        DrawGlossyBall(canvas, Sx(spots[i][0]), Sy(spots[i][1]), spots[i][2], Palette::Stages[i % 5], 0.6f);
    }
}

void PauseVeil(Canvas& canvas)
{
    canvas.Fill(WithAlpha(Hex(0x070618), 0.5f));
    // Below the score row and its rule (the top 70 pixels), above the buttons.
    DrawTitle(canvas, "PAUSED", TitleStyle(10, Hex(0xFFFFFF), Hex(0x9AF0FF), Palette::Cyan), Sx(0), Sy(214));
}

void QuitPanel(Canvas& canvas)
{
    NeonPanel(canvas, Sx(-230), Sy(80), Sx(250), Sy(-170), Palette::Magenta, 0.9f);
    DrawTitle(canvas, "QUIT TO MAIN MENU?", LineStyle(4, Hex(0xFFFFFF), Hex(0xFFB0EE)), Sx(10), Sy(25));
}

void ArenaFrame(Canvas& canvas)
{
    const float w = static_cast<float>(ScreenWidth), h = static_cast<float>(ScreenHeight);
    // The rim follows the arena walls.
    const float left = Sx(-static_cast<float>(Arena::HalfWidth)) + 3.0f;
    const float right = Sx(static_cast<float>(Arena::HalfWidth)) - 3.0f;
    const float top = Sy(static_cast<float>(Arena::HalfHeight)) + 3.0f;
    const float bottom = Sy(-static_cast<float>(Arena::HalfHeight)) - 3.0f;
    // The top bar behind the HUD texts.
    canvas.FillShape(
        RoundedRect(left, top, right, 70, 0.1f),
        LinearGradient(0, 0, WithAlpha(Palette::Night, 0.55f), 0, 70, WithAlpha(Palette::Indigo, 0.3f)), 0, 0,
        w, 72);
    canvas.FillCapsule(left + 30, 70, right - 30, 70, 0.8f, Solid(WithAlpha(Palette::Cyan, 0.55f)));
    const Shape rim = RoundedRect(left, top, right, bottom, 16);
    const Shape line = [rim](float x, float y) { return std::fabs(rim(x, y)) - 1.4f; };
    DrawGlow(canvas, line, Palette::Cyan, 5.0f, 0.9f, 0, 0, w, h);
    canvas.FillShape(line, Solid(Hex(0xC8FCFF)), 0, 0, w, h);
    // Corner ornaments: magenta arcs and diamonds.
    const float corners[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
    for (const auto& corner : corners)
    {
        const float sx = corner[0] < w / 2 ? 1.0f : -1.0f;
        const float sy = corner[1] < h / 2 ? 1.0f : -1.0f;
        const float cx = corner[0] + sx * 18.0f, cy = corner[1] + sy * 18.0f;
        canvas.FillPolygon({cx, cy - 7, cx + 7, cy, cx, cy + 7, cx - 7, cy}, Solid(Palette::Magenta));
        DrawGlow(canvas, Disc(cx, cy, 6), Palette::Magenta, 5, 0.7f, cx - 8, cy - 8, cx + 8, cy + 8);
        canvas.FillCapsule(corner[0] + sx * 34, corner[1] + sy * 6, corner[0] + sx * 90, corner[1] + sy * 6,
                           1.0f, Solid(WithAlpha(Palette::Magenta, 0.8f)));
        canvas.FillCapsule(corner[0] + sx * 6, corner[1] + sy * 34, corner[0] + sx * 6, corner[1] + sy * 90,
                           1.0f, Solid(WithAlpha(Palette::Magenta, 0.8f)));
    }
}

void BorderGlow(Canvas& canvas, Color color)
{
    const int w = canvas.Width(), h = canvas.Height();
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            const float d = static_cast<float>(std::min(std::min(x, w - 1 - x), std::min(y, h - 1 - y)));
            const float ripple = 0.85f + 0.15f * std::sin(static_cast<float>(x + y) * 0.05f);
            const float alpha = std::exp(-d / 12.0f) * 0.9f * ripple;
            if (alpha > 0.004f)
            {
                canvas.Plot(x, y, Mix(Shade(color, 0.5f), color, std::min(d / 6.0f, 1.0f)), alpha);
            }
        }
    }
}

void BonusSign(Canvas& canvas)
{
    DrawTitle(canvas, "STAGE CLEAR!", TitleStyle(10, Hex(0xFFF8D0), Palette::Gold, Palette::Gold), Sx(0),
              Sy(0));
    for (int i = 0; i < 7; ++i)
    {
        const float x = Sx(-330 + 110 * static_cast<float>(i)), y = Sy(i % 2 == 0 ? 70.0f : -70.0f);
        canvas.FillPolygon({x, y - 9, x + 2.5f, y - 2.5f, x + 9, y, x + 2.5f, y + 2.5f, x, y + 9, x - 2.5f,
                            y + 2.5f, x - 9, y, x - 2.5f, y - 2.5f},
                           Solid(Hex(0xFFF4C0)));
    }
}

void WinPage(Canvas& canvas)
{
    Space(canvas, 31, 0.8f);
    const float bursts[][3] = {{-330, 250, 90}, {320, 270, 100}, {-120, 320, 60},
                               {160, 170, 70},  {-380, 60, 70},  {390, 40, 80}};
    for (int i = 0; i < 6; ++i)
    {
        FireworkBurst(canvas, Sx(bursts[i][0]), Sy(bursts[i][1]), bursts[i][2], Palette::Stages[(i + 2) % 5],
                      static_cast<std::uint32_t>(i + 5));
    }
    DrawTitle(canvas, "YOU WIN!", TitleStyle(14, Hex(0xFFF8D0), Palette::Gold, Palette::Gold), Sx(0),
              Sy(120));
}

void GameOverPage(Canvas& canvas)
{
    Space(canvas, 37, 0.5f);
    DrawGlow(canvas, Disc(Sx(0), Sy(280), 160), Hex(0xFF2A3A), 60, 0.25f, Sx(-160), Sy(440), Sx(160),
             Sy(120));
    DrawTitle(canvas, "GAME OVER", TitleStyle(13, Hex(0xFFD8C8), Hex(0xFF3A2A), Hex(0xFF3A1A)), Sx(0),
              Sy(285));
}

void CreditsPage(Canvas& canvas)
{
    Space(canvas, 43, 0.9f);
    DrawTitle(canvas, "BRILLOW", TitleStyle(11, Hex(0xFFFFFF), Hex(0x7FE8FF), Palette::Cyan), Sx(0), Sy(250));
    DrawTitle(canvas, "CREDITS", LineStyle(5, Hex(0xFFF8D0), Palette::Gold), Sx(0), Sy(130));
    DrawTitle(canvas, "Design, code, art and sound: the Brillow team",
              LineStyle(3, Hex(0xFFFFFF), Hex(0xC8E8FF)), Sx(0), Sy(30));
    DrawTitle(canvas, "Built with SDL2, OpenGL, OpenAL and Lua", LineStyle(3, Hex(0xFFFFFF), Hex(0xC8E8FF)),
              Sx(0), Sy(-40));
    for (int i = 0; i < 5; ++i)
    {
        DrawGlossyBall(canvas, Sx(-120.0f + 60.0f * static_cast<float>(i)), Sy(-130), 11, Palette::Stages[i],
                       0.6f);
    }
}

void LoadingPage(Canvas& canvas)
{
    Space(canvas, 47, 1.0f);
    BallRing(canvas, Sx(0), Sy(0), 300, 190, 10, 16, -Pi / 2);
    DrawTitle(canvas, "LOADING...", TitleStyle(9, Hex(0xFFFFFF), Hex(0x7FE8FF), Palette::Cyan), Sx(0), Sy(0));
}

void OptionsPage(Canvas& canvas)
{
    Space(canvas, 53, 0.8f);
    DrawTitle(canvas, "OPTIONS", TitleStyle(11, Hex(0xFFFFFF), Hex(0x7FE8FF), Palette::Cyan), Sx(0), Sy(240));
    DrawTitle(canvas, "DISPLAY", LineStyle(5, Hex(0xFFFFFF), Hex(0xA8F0FF)), Sx(-150), Sy(-226));
    DrawTitle(canvas, "SOUND", LineStyle(5, Hex(0xFFFFFF), Hex(0xA8F0FF)), Sx(-150), Sy(-1));
}

namespace
{

// The panel inside a button cell of width x height: its inset and corner.
constexpr float ButtonMargin = 7.0f;

float ButtonRadius(float height)
{
    return std::min((height - 2.0f * ButtonMargin) * 0.5f, 26.0f);
}

} // namespace

int ButtonLabelScale(const std::vector<std::string>& labels, int width, int height)
{
    const float inner = static_cast<float>(width) - 2.0f * ButtonMargin;
    const float innerHeight = static_cast<float>(height) - 2.0f * ButtonMargin;
    const float room = inner - 2.0f * ButtonRadius(static_cast<float>(height)) - 8.0f;
    int scale = 8;
    while (scale > 2)
    {
        bool fits = 7.0f * static_cast<float>(scale) <= innerHeight * 0.42f;
        for (const std::string& label : labels)
        {
            const Canvas probe = StyledText(label, LineStyle(scale, Hex(0xFFFFFF), Hex(0xFFFFFF)));
            const float inkWidth = static_cast<float>(probe.Width()) - 2.0f * (2.0f + 6.0f + 1.0f);
            fits = fits && inkWidth <= room;
        }
        if (fits)
        {
            break;
        }
        --scale;
    }
    return scale;
}

void Button(Canvas& cell, const std::string& label, bool highlighted, int scale)
{
    const float w = static_cast<float>(cell.Width()), h = static_cast<float>(cell.Height());
    const float margin = ButtonMargin;
    const float x0 = margin, y0 = margin, x1 = w - margin, y1 = h - margin;
    const float radius = ButtonRadius(h);
    const Color rim = highlighted ? Hex(0xD8FEFF) : Palette::Cyan;
    if (highlighted)
    {
        DrawGlow(cell, RoundedRect(x0, y0, x1, y1, radius), Palette::Cyan, 4.0f, 0.9f, x0, y0, x1, y1);
    }
    const Color top = highlighted ? Hex(0x7A6CFF) : Hex(0x3A2E9A);
    const Color bottom = highlighted ? Hex(0x2E2490) : Hex(0x141040);
    cell.FillRoundedRect(x0, y0, x1, y1, radius, Solid(Palette::Ink));
    cell.FillRoundedRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1,
                         LinearGradient(0, y0, top, 0, y1, bottom));
    // Gloss on the upper half, and the neon rim.
    cell.FillRoundedRect(x0 + 5, y0 + 3, x1 - 5, (y0 + y1) * 0.5f, radius - 4,
                         LinearGradient(0, y0, Hex(0xFFFFFF, highlighted ? 0.35f : 0.18f), 0,
                                        (y0 + y1) * 0.5f, Hex(0xFFFFFF, 0.0f)));
    const Shape outer = RoundedRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1);
    cell.FillShape([&](float x, float y)
                   { return std::fabs(outer(x, y) + 1.0f) - (highlighted ? 1.2f : 0.9f); },
                   Solid(rim), x0, y0, x1, y1);
    const TextStyle style = highlighted
                                ? TextStyle{scale,        Hex(0xFFFFFF), Hex(0xFFF0A8),
                                            Palette::Ink, 2.0f,          WithAlpha(Palette::Gold, 0.5f),
                                            2.0f}
                                : TextStyle{scale,        Hex(0xFFFFFF), Hex(0xB8D0FF),
                                            Palette::Ink, 2.0f,          WithAlpha(Palette::Cyan, 0.25f),
                                            2.0f};
    DrawTitle(cell, label, style, w * 0.5f, h * 0.5f + 1.0f);
}

void ColouredBall(Canvas& cell, CellPoint centre, float radius, Color color)
{
    DrawGlossyBall(cell, centre.x, centre.y, radius, color, 0.5f);
}

void EnemyWhite(Canvas& cell, CellPoint c, float radius)
{
    DrawGlow(cell, Disc(c.x, c.y, radius + 1), Palette::Magenta, radius * 0.5f, 0.7f, c.x - radius,
             c.y - radius, c.x + radius, c.y + radius);
    DrawGlossyBall(cell, c.x, c.y, radius, Hex(0xF0F0FA), 0.0f);
    cell.FillRing(c.x, c.y, radius - 1.2f, 2.0f, Solid(Palette::Magenta));
    // A magenta four-point star: danger.
    const float s = radius * 0.55f, k = radius * 0.14f;
    cell.FillPolygon({c.x, c.y - s, c.x + k, c.y - k, c.x + s, c.y, c.x + k, c.y + k, c.x, c.y + s, c.x - k,
                      c.y + k, c.x - s, c.y, c.x - k, c.y - k},
                     Solid(Hex(0xC0108A)));
}

void SpikeBall(Canvas& cell, CellPoint c, float radius)
{
    DrawGlow(cell, Disc(c.x, c.y, radius + 2), Hex(0xFF2A2A), radius * 0.45f, 0.6f, c.x - radius,
             c.y - radius, c.x + radius, c.y + radius);
    for (int i = 0; i < 10; ++i)
    {
        const float a = 2.0f * Pi * static_cast<float>(i) / 10.0f;
        const float ca = std::cos(a), sa = std::sin(a);
        const float tip = radius + 3.5f, base = radius - 1.0f, half = 1.8f;
        cell.FillPolygon(
            {c.x + ca * tip, c.y + sa * tip, c.x + ca * base - sa * half, c.y + sa * base + ca * half,
             c.x + ca * base + sa * half, c.y + sa * base - ca * half},
            LinearGradient(c.x, c.y, Hex(0x601018), c.x + ca * tip, c.y + sa * tip, Hex(0xFFB0A0)));
    }
    DrawGlossyBall(cell, c.x, c.y, radius, Hex(0xE8202E), 0.0f);
}

void SpawnGrowth(Canvas& cell, int frame, Color color)
{
    const float cx = 30.0f, cy = 25.0f;
    const float radius = 1.5f + static_cast<float>(frame) * 1.7f;
    const float spin = static_cast<float>(frame) * 0.35f;
    for (int i = 0; i < 4; ++i)
    {
        const float a = spin + Pi * 0.5f * static_cast<float>(i);
        const float length = radius + 9.0f - static_cast<float>(frame);
        cell.FillCapsule(cx, cy, cx + std::cos(a) * length, cy + std::sin(a) * length, 0.9f,
                         LinearGradient(cx, cy, WithAlpha(color, 0.9f), cx + std::cos(a) * length,
                                        cy + std::sin(a) * length, WithAlpha(color, 0.0f)),
                         Blend::Add);
    }
    DrawGlossyBall(cell, cx, cy, radius, color, 0.7f);
}

void MenuCore(Canvas& cell, CellPoint c, float radius, int frame)
{
    const float pulse = 0.5f + 0.5f * std::sin(static_cast<float>(frame) * Pi / 3.0f);
    DrawGlow(cell, Disc(c.x, c.y, radius), Palette::Cyan, 3.0f + 2.0f * pulse, 0.45f + 0.4f * pulse,
             c.x - radius, c.y - radius, c.x + radius, c.y + radius);
    cell.FillDisc(c.x, c.y, radius,
                  RadialGradient(c.x - 2, c.y - 2, radius * 1.1f, Hex(0xFFFFFF), Hex(0x1A6CFF)));
    cell.FillRing(c.x, c.y, radius * (0.45f + 0.25f * pulse), 1.6f, Solid(WithAlpha(Palette::Cyan, 0.9f)));
    cell.FillDisc(c.x, c.y, radius * 0.25f, Solid(Hex(0xFFFFFF)));
    cell.FillRing(c.x, c.y, radius - 0.8f, 1.6f, Solid(Hex(0xE8FEFF)));
    // A spark circling the core, one sixth of a turn per frame.
    const float a = -Pi / 2 + static_cast<float>(frame) * Pi / 3.0f;
    cell.FillDisc(c.x + std::cos(a) * radius * 0.7f, c.y + std::sin(a) * radius * 0.7f, 2.0f,
                  Solid(Hex(0xFFFFFF)));
}

void PauseBall(Canvas& cell, CellPoint c, float radius)
{
    DrawGlossyBall(cell, c.x, c.y, radius, Palette::Blue, 0.0f);
    cell.FillRing(c.x, c.y, radius - 1.2f, 1.8f, Solid(Hex(0xFFFFFF)));
}

void PlayerBall(Canvas& cell, CellPoint c, float radius, Color color, int frame, bool powered)
{
    const float pulse = powered ? 0.5f + 0.5f * std::sin(static_cast<float>(frame) * Pi / 2.0f) : 0.5f;
    const Color glow = powered ? Mix(Palette::Gold, Hex(0xFFFFFF), pulse) : color;
    DrawGlow(cell, Disc(c.x, c.y, radius + (powered ? 2.0f + 3.0f * pulse : 1.0f)), glow, 5.0f,
             powered ? 0.55f + 0.3f * pulse : 0.5f, c.x - radius, c.y - radius, c.x + radius, c.y + radius);
    // The body lit from a point that turns round the ball over the frames.
    const float angle = -Pi * 0.75f + static_cast<float>(frame) * Pi * 0.5f;
    const float lx = c.x + std::cos(angle) * radius * 0.45f, ly = c.y + std::sin(angle) * radius * 0.45f;
    const Color body = powered ? Mix(Hex(0xFFF4D8), Hex(0xFFFFFF), pulse) : color;
    const Color light = Shade(body, 0.6f), dark = Shade(body, powered ? -0.25f : -0.6f);
    cell.FillDisc(c.x, c.y, radius,
                  [=](float x, float y)
                  {
                      const float t = std::hypot(x - lx, y - ly) / (radius * 1.5f);
                      return t < 0.4f ? Mix(light, body, t / 0.4f)
                                      : Mix(body, dark, std::min((t - 0.4f) / 0.6f, 1.0f));
                  });
    cell.FillDisc(lx, ly, radius * 0.22f,
                  RadialGradient(lx, ly, radius * 0.22f, Hex(0xFFFFFF, 0.95f), Hex(0xFFFFFF, 0.1f)));
    // A bright white ring and an inner star: never mistaken for food.
    cell.FillRing(c.x, c.y, radius - 1.5f, 2.4f, Solid(Hex(0xFFFFFF)));
    const float outer = radius * 0.5f, inner = radius * 0.2f;
    std::vector<float> star;
    for (int i = 0; i < 10; ++i)
    {
        const float a = -Pi / 2 + Pi * static_cast<float>(i) / 5.0f + static_cast<float>(frame) * Pi / 20.0f;
        const float r = i % 2 == 0 ? outer : inner;
        star.push_back(c.x + std::cos(a) * r);
        star.push_back(c.y + std::sin(a) * r);
    }
    cell.FillPolygon(star, Solid(Hex(0xFFFFFF, powered ? 0.95f : 0.85f)));
}

void ShieldPickup(Canvas& cell, CellPoint c, float radius)
{
    DrawGlow(cell, Disc(c.x, c.y, radius + 3), Palette::Cyan, 5.0f, 0.7f, c.x - radius, c.y - radius,
             c.x + radius, c.y + radius);
    cell.FillRing(c.x, c.y, radius + 5.0f, 1.0f, Solid(WithAlpha(Palette::Cyan, 0.45f)));
    DrawGlossyBall(cell, c.x, c.y, radius, Hex(0x1AB8E0), 0.0f);
    const float s = radius * 0.6f;
    cell.FillPolygon(
        {c.x - s, c.y - s * 0.8f, c.x + s, c.y - s * 0.8f, c.x + s, c.y, c.x, c.y + s * 1.1f, c.x - s, c.y},
        Solid(Hex(0xFFFFFF)));
    cell.FillPolygon({c.x - s * 0.5f, c.y - s * 0.45f, c.x, c.y - s * 0.45f, c.x, c.y + s * 0.65f,
                      c.x - s * 0.5f, c.y + s * 0.05f},
                     Solid(Hex(0x9AEFFF)));
}

void ShieldBubble(Canvas& cell, CellPoint c, float radius)
{
    cell.FillDisc(c.x, c.y, radius,
                  RadialGradient(c.x, c.y, radius, Hex(0x35F2FF, 0.04f), Hex(0x35F2FF, 0.28f)));
    DrawGlow(cell, Ring(c.x, c.y, radius - 1.5f, 3.0f), Palette::Cyan, 3.0f, 0.6f, c.x - radius, c.y - radius,
             c.x + radius, c.y + radius);
    cell.FillRing(c.x, c.y, radius - 1.6f, 3.0f, Solid(Hex(0xA8F8FF, 0.92f)));
    // Highlights: an arc top-left and a dot.
    cell.FillShape(
        [=](float x, float y)
        {
            const float ring = std::fabs(std::hypot(x - c.x, y - c.y) - radius * 0.72f) - 1.6f;
            const float side = (x - c.x) + (y - c.y) + radius * 0.55f;
            return std::max(ring, side);
        },
        Solid(Hex(0xFFFFFF, 0.6f)), c.x - radius, c.y - radius, c.x + radius, c.y + radius);
    cell.FillDisc(c.x + radius * 0.45f, c.y + radius * 0.4f, 2.0f, Solid(Hex(0xFFFFFF, 0.5f)));
}

void BlackHole(Canvas& cell, CellPoint c, float radius, int phase)
{
    const Color purple = Hex(0xB040FF);
    if (phase > 0)
    {
        // Three spiral arms, a quarter turn further each frame.
        const float turn = static_cast<float>(phase - 1) * Pi * 0.5f;
        cell.FillShape(
            [=](float x, float y)
            {
                const float dx = x - c.x, dy = y - c.y;
                const float r = std::hypot(dx, dy);
                if (r < radius || r > radius * 3.1f)
                {
                    return 1.0f;
                }
                const float a = std::atan2(dy, dx) - turn - std::log(r / radius) * 2.2f;
                const float wave = std::cos(3.0f * a);
                return (0.35f - wave) * 4.0f;
            },
            [=](float x, float y)
            {
                const float r = std::hypot(x - c.x, y - c.y);
                const float fade = 1.0f - Smooth(radius, radius * 3.1f, r);
                return WithAlpha(Mix(Palette::Magenta, purple, Smooth(radius, radius * 2.5f, r)),
                                 0.4f * fade);
            },
            c.x - radius * 3.2f, c.y - radius * 3.2f, c.x + radius * 3.2f, c.y + radius * 3.2f);
    }
    DrawGlow(cell, Disc(c.x, c.y, radius + 1), phase > 0 ? Palette::Magenta : purple, 4.0f, 0.45f,
             c.x - radius, c.y - radius, c.x + radius, c.y + radius);
    cell.FillDisc(c.x, c.y, radius, RadialGradient(c.x, c.y, radius, Hex(0x000000), Hex(0x2A0A48)));
    cell.FillRing(c.x, c.y, radius - 1.0f, phase > 0 ? 1.4f : 2.0f,
                  Solid(phase > 0 ? Hex(0xFF8AF8) : purple));
    if (phase == 0)
    {
        cell.FillDisc(c.x - radius * 0.35f, c.y - radius * 0.35f, radius * 0.22f, Solid(Hex(0xD8A8FF, 0.7f)));
    }
}

void Shatter(Canvas& cell, int frame)
{
    const float cx = 30.0f, cy = 25.0f;
    const float t = static_cast<float>(frame) / 8.0f;
    const float alpha = 1.0f - t * 0.85f;
    if (frame == 0)
    {
        DrawGlossyBall(cell, cx, cy, 13, Palette::Blue, 0.5f);
        cell.FillRing(cx, cy, 11.5f, 2.2f, Solid(Hex(0xFFFFFF)));
        cell.FillCapsule(cx - 6, cy - 7, cx + 1, cy + 1, 0.7f, Solid(Hex(0xFFFFFF)));
        cell.FillCapsule(cx + 1, cy + 1, cx + 7, cy + 4, 0.7f, Solid(Hex(0xFFFFFF)));
        return;
    }
    if (frame <= 2)
    {
        DrawGlow(cell, Disc(cx, cy, 8.0f + 4.0f * static_cast<float>(frame)), Hex(0xFFFFFF), 3.0f,
                 0.7f / static_cast<float>(frame), cx - 14, cy - 14, cx + 14, cy + 14, Blend::Add);
    }
    for (int i = 0; i < 9; ++i)
    {
        const float a = 2.0f * Pi * (static_cast<float>(i) + 0.3f * Hash01(i, 0, 9)) / 9.0f;
        const float d = 4.0f + static_cast<float>(frame) * (2.4f + Hash01(i, 1, 9));
        const float x = cx + std::cos(a) * d, y = cy + std::sin(a) * d;
        const float size = 4.5f - static_cast<float>(frame) * 0.3f;
        const float spin = a + static_cast<float>(frame) * 0.6f;
        cell.FillPolygon({x + std::cos(spin) * size, y + std::sin(spin) * size,
                          x + std::cos(spin + 2.3f) * size * 0.7f, y + std::sin(spin + 2.3f) * size * 0.7f,
                          x + std::cos(spin + 4.0f) * size * 0.8f, y + std::sin(spin + 4.0f) * size * 0.8f},
                         Solid(WithAlpha(i % 3 == 0 ? Hex(0xFFFFFF) : Palette::Blue, alpha)));
    }
}

void Emitter(Canvas& cell, CellPoint at, Color glow, bool vertical)
{
    const float hw = vertical ? 9.0f : 6.0f, hh = vertical ? 6.0f : 9.0f;
    cell.FillRoundedRect(at.x - hw, at.y - hh, at.x + hw, at.y + hh, 3, Solid(Palette::Ink));
    cell.FillRoundedRect(
        at.x - hw + 1, at.y - hh + 1, at.x + hw - 1, at.y + hh - 1, 2,
        LinearGradient(at.x - hw, at.y - hh, Hex(0x8A90B8), at.x + hw, at.y + hh, Hex(0x2A2E48)));
    DrawGlow(cell, Disc(at.x, at.y, 3), glow, 3, 0.9f, at.x - 3, at.y - 3, at.x + 3, at.y + 3);
    cell.FillDisc(at.x, at.y, 3.0f, Solid(Shade(glow, 0.5f)));
}

void Beam(Canvas& cell, const Sheet& sheet, const FrameShapes& shapes, const BeamLook& look, int frame)
{
    const bool vertical = sheet.cellHeight > sheet.cellWidth;
    std::vector<ActorSegment> segments;
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (const ActorSegment& s : shapes.segments)
    {
        const CellPoint a = sheet.ToCell(s.x1, s.y1), b = sheet.ToCell(s.x2, s.y2);
        segments.push_back({a.x, a.y, b.x, b.y});
        x0 = std::min({x0, a.x, b.x});
        x1 = std::max({x1, a.x, b.x});
        y0 = std::min({y0, a.y, b.y});
        y1 = std::max({y1, a.y, b.y});
    }
    const auto distance = [segments](float x, float y)
    {
        float best = 1e30f;
        for (const ActorSegment& s : segments)
        {
            best = std::min(best, Capsule(s.x1, s.y1, s.x2, s.y2, 0.0f)(x, y));
        }
        return best;
    };
    if (!segments.empty())
    {
        const float r = look.coreRadius;
        DrawGlow(
            cell, [&](float x, float y) { return distance(x, y) - r - 3.0f; }, look.glow, 5.0f, 0.75f, x0 - 4,
            y0 - 4, x1 + 4, y1 + 4);
        const float phase = static_cast<float>(frame) * 1.7f;
        cell.FillShape([&](float x, float y) { return distance(x, y) - r; },
                       [&](float x, float y)
                       {
                           const float along = vertical ? y : x;
                           const float shimmer = 0.5f + 0.5f * std::sin(along * 0.09f + phase);
                           return Mix(look.core, Shade(look.glow, 0.55f), 0.45f * shimmer);
                       },
                       x0 - r, y0 - r, x1 + r, y1 + r);
    }
    if (sheet.name == "LAZER0.png")
    {
        Emitter(cell, sheet.ToCell(-487, 3), look.glow, false);
        Emitter(cell, sheet.ToCell(491, 3), look.glow, false);
    }
    else if (sheet.name == "LAZER11.png")
    {
        Emitter(cell, sheet.ToCell(0, 338), look.glow, true);
        Emitter(cell, sheet.ToCell(0, -333), look.glow, true);
    }
}

} // namespace AssetGen::Art
