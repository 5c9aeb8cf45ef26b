#include "AssetGen_Review.h"

#include "AssetGen_Flow.h"
#include "AssetGen_Fonts.h"
#include "AssetGen_Icon.h"
#include "AssetGen_Palette.h"
#include "AssetGen_Skins.h"
#include "AssetGen_Text.h"

#include <algorithm>
#include <string>

namespace AssetGen
{

namespace
{

constexpr int PageWidth = 1700;
constexpr int Margin = 16;

const Color DarkGround = Palette::Night;
const Color LightGround = Hex(0xD8DCEA);
const Color Caption = Hex(0x8C94C0);

void Label(Canvas& page, int x, int y, const std::string& text)
{
    DrawText(page, GetFont("DefaultFont"), static_cast<float>(x), static_cast<float>(y), text, Caption);
}

Canvas Enlarge(const Canvas& source, int factor)
{
    Canvas out(source.Width() * factor, source.Height() * factor);
    for (int y = 0; y < out.Height(); ++y)
    {
        for (int x = 0; x < out.Width(); ++x)
        {
            out.At(x, y) = source.At(x / factor, y / factor);
        }
    }
    return out;
}

struct FontSample
{
    const char* name;
    const char* sample;
};

const FontSample FontSamples[] = {
    {"DefaultFont", "This is you.. Here's another power up to help ! Grab it !"},
    {"Font0", "SCORE: 999999    40To Next Level"},
    {"Font1", "00  Return to yourself to continue!"},
    {"Font2", "FINAL SCORE: 999999"},
    {"Font10", "FINAL SCORE: 999999"},
    {"Red", "Watch Out ! Wild enemies appear !"},
    {"Win", "Congratulation ! You have successfully cleared the tutorial level."},
};

// The fonts: per font a dark and a light half, each with the character set
// in four lines of 24 and the sample line.
int DrawFonts(Canvas* page, int top)
{
    std::string charset[4];
    for (int code = 32; code < 128; ++code)
    {
        charset[(code - 32) / 24] += static_cast<char>(code);
    }
    int y = top;
    for (const FontSample& sample : FontSamples)
    {
        const GeneratedFont& font = GetFont(sample.name);
        const int line = font.layout.lineHeight;
        const int height = 24 + 5 * line + 16;
        if (page != nullptr)
        {
            const int half = PageWidth / 2;
            for (int side = 0; side < 2; ++side)
            {
                const int x0 = side * half;
                const Color ground = side == 0 ? DarkGround : LightGround;
                page->FillRoundedRect(static_cast<float>(x0 + 4), static_cast<float>(y),
                                      static_cast<float>(x0 + half - 4), static_cast<float>(y + height), 6,
                                      Solid(ground));
                Label(*page, x0 + Margin, y + 4,
                      std::string(sample.name) + (side == 0 ? " on dark" : " on light"));
                for (int i = 0; i < 4; ++i)
                {
                    DrawText(*page, font, static_cast<float>(x0 + Margin),
                             static_cast<float>(y + 24 + i * line), charset[i]);
                }
                DrawText(*page, font, static_cast<float>(x0 + Margin), static_cast<float>(y + 24 + 4 * line),
                         sample.sample);
            }
        }
        y += height + 8;
    }
    return y;
}

void DrawSkinRow(Canvas* page, Flow& flow, const GeneratedSkin& skin, int width, int height)
{
    for (std::size_t i = 0; i < skin.records.size(); ++i)
    {
        const int boxWidth = std::max(width, 60);
        const auto [x, y] = flow.Place(boxWidth, height + 18);
        if (page != nullptr)
        {
            Label(*page, x, y, std::to_string(i));
            DrawNineSlice(*page, skin, i, x, y + 18, width, height);
        }
    }
    flow.NewRow();
}

// A form as the GUI draws it: frame records tinted with the form's blue,
// the grey client picture and the close button.
void DrawForm(Canvas& page, int x, int y, int width, int height)
{
    const GeneratedSkin& skin = GetSkin("DefaultFormSkin");
    const Color tint{2.0f / 255.0f, 106.0f / 255.0f, 254.0f / 255.0f, 1.0f};
    const int caption = 32, border = 8;
    DrawNineSlice(page, skin, 0, x, y, width, caption, tint);
    DrawNineSlice(page, skin, 1, x, y + height - border, width, border, tint);
    DrawNineSlice(page, skin, 2, x, y + caption, border, height - caption - border, tint);
    DrawNineSlice(page, skin, 3, x + width - border, y + caption, border, height - caption - border, tint);
    // Gray.png stretched over the client area.
    const Canvas gray = MakeGrayPicture();
    const int clientWidth = width - 2 * border, clientHeight = height - caption - border;
    for (int py = 0; py < clientHeight; ++py)
    {
        for (int px = 0; px < clientWidth; ++px)
        {
            const Color& g = gray.At(px * gray.Width() / clientWidth, py * gray.Height() / clientHeight);
            page.At(x + border + px, y + caption + py) = g;
        }
    }
    const int side = 20;
    DrawNineSlice(page, skin, 4, x + width - border - side - 2, y + 6, side, side);
    DrawText(page, GetFont("DefaultFont"), static_cast<float>(x + 10), static_cast<float>(y + 6),
             "Form caption");
}

int DrawGui(Canvas* page, int top)
{
    Flow flow{PageWidth, Margin};
    flow.y = top;
    for (const char* name : {"DefaultButtonSkin", "DefaultFormSkin", "DefaultRadioButtonSkin"})
    {
        const GeneratedSkin& skin = GetSkin(name);
        const auto [lx, ly] = flow.Place(400, 20);
        if (page != nullptr)
        {
            Label(*page, lx, ly, std::string(name) + ": every record at 75 x 25, 200 x 120 and 13 x 13");
        }
        flow.NewRow();
        DrawSkinRow(page, flow, skin, 75, 25);
        DrawSkinRow(page, flow, skin, 200, 120);
        DrawSkinRow(page, flow, skin, 13, 13);
    }
    const auto [fx, fy] = flow.Place(300, 280);
    const auto [cx, cy] = flow.Place(220, 160);
    const auto [ix, iy] = flow.Place(200, 100);
    if (page != nullptr)
    {
        Label(*page, fx, fy, "Form (tinted) 300 x 260");
        DrawForm(*page, fx, fy + 20, 300, 260);
        Label(*page, cx, cy, "Cursor 1:1 and 4x");
        const Canvas cursor = MakeCursor();
        page->Draw(cursor, cx, cy + 24);
        page->Draw(Enlarge(cursor, 4), cx, cy + 64 - 32 + 24 + 16);
        Label(*page, ix, iy, "Icon 64 and 32");
        page->Draw(MakeIconImage(64), ix, iy + 24);
        page->Draw(MakeIconImage(32), ix + 80, iy + 24);
    }
    flow.NewRow();
    return flow.y;
}

int Layout(Canvas* page)
{
    int y = Margin;
    y = DrawFonts(page, y);
    y = DrawGui(page, y + Margin);
    return y + Margin;
}

} // namespace

void ListReview(Manifest& manifest)
{
    manifest.push_back(
        {"review/fonts-and-gui.png", "review", "fonts, skins, cursor and icon for review by eye"});
}

bool MakeReview(Output& output)
{
    const int height = Layout(nullptr);
    Canvas page(PageWidth, height);
    page.Fill(Hex(0x1A1C28));
    Layout(&page);
    return output.WritePng("review/fonts-and-gui.png", page);
}

} // namespace AssetGen
