#include "AssetGen_SpriteReview.h"

#include "AssetGen_Flow.h"
#include "AssetGen_Fonts.h"
#include "AssetGen_Sheets.h"
#include "AssetGen_Text.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

namespace
{

constexpr int PageWidth = 1800;
constexpr int Margin = 12;
constexpr int LargestSide = 300;

// A frame of a sheet as its own canvas.
Canvas Frame(const Sheet& sheet, int frame)
{
    return RenderSheet(sheet).Crop((frame % sheet.columns) * sheet.cellWidth,
                                   (frame / sheet.columns) * sheet.cellHeight, sheet.cellWidth,
                                   sheet.cellHeight);
}

// Scales by `factor`: averages the covered pixels when shrinking, repeats
// them when enlarging.
Canvas Resample(const Canvas& source, float factor)
{
    const int width = std::max(1, static_cast<int>(std::lround(static_cast<float>(source.Width()) * factor)));
    const int height =
        std::max(1, static_cast<int>(std::lround(static_cast<float>(source.Height()) * factor)));
    Canvas out(width, height);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const int sx0 = static_cast<int>(static_cast<float>(x) / factor);
            const int sy0 = static_cast<int>(static_cast<float>(y) / factor);
            const int sx1 = std::max(
                sx0 + 1, std::min(source.Width(), static_cast<int>(static_cast<float>(x + 1) / factor)));
            const int sy1 = std::max(
                sy0 + 1, std::min(source.Height(), static_cast<int>(static_cast<float>(y + 1) / factor)));
            Color sum;
            for (int sy = sy0; sy < sy1; ++sy)
            {
                for (int sx = sx0; sx < sx1; ++sx)
                {
                    const Color& p =
                        source.At(std::min(sx, source.Width() - 1), std::min(sy, source.Height() - 1));
                    sum.r += p.r;
                    sum.g += p.g;
                    sum.b += p.b;
                    sum.a += p.a;
                }
            }
            const float n = static_cast<float>((sx1 - sx0) * (sy1 - sy0));
            out.At(x, y) = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
        }
    }
    return out;
}

void Checker(Canvas& page, int x, int y, int width, int height)
{
    for (int py = y; py < y + height && py < page.Height(); ++py)
    {
        for (int px = x; px < x + width && px < page.Width(); ++px)
        {
            const bool dark = (((px - x) / 8) + ((py - y) / 8)) % 2 == 0;
            page.At(px, py) = dark ? Color{0.09f, 0.09f, 0.12f, 1} : Color{0.14f, 0.14f, 0.18f, 1};
        }
    }
}

// The actor's shapes over a frame drawn at (x, y) scaled by `factor`.
void Shapes(Canvas& page, const Sheet& sheet, int frame, float x, float y, float factor)
{
    const FrameShapes shapes = sheet.Shapes(frame);
    const auto map = [&](float ox, float oy)
    {
        const CellPoint p = sheet.ToCell(ox, oy);
        return CellPoint{x + p.x * factor, y + p.y * factor};
    };
    if (sheet.actor >= 0)
    {
        const float w = static_cast<float>(sheet.cellWidth) * factor,
                    h = static_cast<float>(sheet.cellHeight) * factor;
        const Shape box = RoundedRect(x, y, x + w, y + h, 0.1f);
        page.FillShape([&](float px, float py) { return std::fabs(box(px, py) + 0.5f) - 0.5f; },
                       Solid(Hex(0xFFE14A, 0.8f)), x - 1, y - 1, x + w + 1, y + h + 1);
    }
    for (const ActorCircle& circle : shapes.circles)
    {
        const CellPoint c = map(circle.x, circle.y);
        page.FillRing(c.x, c.y, circle.radius * factor, 1.0f, Solid(Hex(0x3EE37A, 0.95f)));
        page.FillDisc(c.x, c.y, 1.2f, Solid(Hex(0x3EE37A)));
    }
    for (const ActorSegment& segment : shapes.segments)
    {
        const CellPoint a = map(segment.x1, segment.y1), b = map(segment.x2, segment.y2);
        page.FillCapsule(a.x, a.y, b.x, b.y, 0.6f, Solid(Hex(0x35F2FF, 0.95f)));
    }
}

int LayoutContactSheet(Canvas* page)
{
    Flow flow{PageWidth, Margin};
    const GeneratedFont& font = GetFont("DefaultFont");
    for (const Sheet& sheet : GetSheets())
    {
        const float factor =
            std::min(2.0f, static_cast<float>(LargestSide) /
                               static_cast<float>(std::max(sheet.cellWidth, sheet.cellHeight)));
        const int w = static_cast<int>(std::lround(static_cast<float>(sheet.cellWidth) * factor));
        const int h = static_cast<int>(std::lround(static_cast<float>(sheet.cellHeight) * factor));
        for (int frame = 0; frame < sheet.frames; ++frame)
        {
            const std::string label = sheet.name + " #" + std::to_string(frame);
            const int boxWidth = std::max(w, static_cast<int>(TextWidth(font, label)) + 4);
            const auto [x, y] = flow.Place(boxWidth, h + 22);
            if (page == nullptr)
            {
                continue;
            }
            DrawText(*page, font, static_cast<float>(x), static_cast<float>(y), label, Hex(0xC8D0F0));
            Checker(*page, x, y + 20, w, h);
            page->Draw(Resample(Frame(sheet, frame), factor), x, y + 20);
            Shapes(*page, sheet, frame, static_cast<float>(x), static_cast<float>(y + 20), factor);
        }
    }
    flow.NewRow();
    return flow.y + Margin;
}

// A sheet frame centred on a world position (y up, origin at the centre).
void Place(Canvas& screen, const std::string& name, int frame, float x, float y)
{
    const Sheet& sheet = GetSheet(name);
    screen.Draw(Frame(sheet, frame),
                static_cast<int>(std::lround(512.0f + x - static_cast<float>(sheet.cellWidth) / 2)),
                static_cast<int>(std::lround(384.0f - y - static_cast<float>(sheet.cellHeight) / 2)));
}

// A text as the text node lays it out: the first line's cells from y up.
void Say(Canvas& screen, const std::string& fontName, const std::string& text, float x, float y)
{
    const GeneratedFont& font = GetFont(fontName);
    DrawText(screen, font, 512.0f + x, 384.0f - y - static_cast<float>(font.layout.cell), text);
}

Canvas PlayMockup()
{
    Canvas screen(1024, 768);
    Place(screen, "BACKGROUND0.png", 0, 0, 0);
    const char* balls[] = {"blueball.png", "greenball.png", "YELLOWBALL.png", "ORANGEBALL.png",
                           "REDBALL.png"};
    const float spots[][2] = {{-380, 200},  {-250, -120}, {-120, 240}, {60, 150},  {210, -250}, {360, 120},
                              {-420, -280}, {-60, -300},  {420, -80},  {140, 280}, {-300, 40},  {300, -170}};
    for (int i = 0; i < 12; ++i)
    {
        Place(screen, balls[i % 5], 0, spots[i][0], spots[i][1]);
    }
    Place(screen, "ENEMYWHITE.png", 0, -170, 60);
    Place(screen, "ENEMYWHITE.png", 0, 250, 40);
    Place(screen, "SpikeBall.png", 0, 100, -120);
    Place(screen, "sheildpowerup.png", 0, -400, -60);
    Place(screen, "blackHolePU.png", 2, 400, 260);
    Place(screen, "LAZER11.png", 8, 330, -36);
    Place(screen, "BLUEANIMATION0.png", 0, -40, -40);
    Place(screen, "GUI0.png", 0, 0, 0);
    Say(screen, "Font0", "SCORE: 120", -249, 337);
    Say(screen, "Font1", "03", -20, 323);
    Say(screen, "Font0", "7To Next Level", 130, 337);
    return screen;
}

} // namespace

void ListSpriteReview(Manifest& manifest)
{
    manifest.push_back({"review/sprites.png", "review", "every sheet's frames with their collision shapes"});
    manifest.push_back({"review/play-mockup.png", "review", "a play screen composed from the sheets"});
}

bool MakeSpriteReview(Output& output)
{
    const int height = LayoutContactSheet(nullptr);
    Canvas page(PageWidth, height);
    page.Fill(Hex(0x1A1C28));
    LayoutContactSheet(&page);
    return output.WritePng("review/sprites.png", page) &&
           output.WritePng("review/play-mockup.png", PlayMockup());
}

} // namespace AssetGen
