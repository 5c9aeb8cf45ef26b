// The GUI's images: three nine-slice skins with their ".gui" record files,
// the combo-box arrow overlays, the drawing context's white, the form's
// client picture and the arrow cursor.
#include "AssetGen_Skins.h"

#include "AssetGen_Palette.h"
#include "AssetGen_Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>

namespace AssetGen
{

namespace
{

// A record's rectangle in PNG pixels (y down) and its border sizes.
struct Slot
{
    int x, y, width, height;
    int left, right, bottom, top;
};

SkinRecord ToRecord(const Slot& slot, int textureHeight)
{
    return {static_cast<float>(slot.x),      static_cast<float>(textureHeight - slot.y - slot.height),
            static_cast<float>(slot.width),  static_cast<float>(slot.height),
            static_cast<float>(slot.left),   static_cast<float>(slot.width - slot.right),
            static_cast<float>(slot.bottom), static_cast<float>(slot.height - slot.top)};
}

bool CheckSkin(const GeneratedSkin& skin)
{
    const float w = static_cast<float>(skin.texture.Width());
    const float h = static_cast<float>(skin.texture.Height());
    for (std::size_t i = 0; i < skin.records.size(); ++i)
    {
        const SkinRecord& r = skin.records[i];
        const std::string entry = skin.name + " record " + std::to_string(i);
        if (r.x < 0 || r.y < 0 || r.width <= 0 || r.height <= 0 || r.x + r.width > w || r.y + r.height > h)
        {
            return TableError("skin", entry, "the rectangle is not inside the texture");
        }
        const float left = r.leftEnd, right = r.width - r.rightStart;
        const float bottom = r.bottomEnd, top = r.height - r.topStart;
        if (left <= 0 || right <= 0 || bottom <= 0 || top <= 0 || left + right >= r.width ||
            bottom + top >= r.height)
        {
            return TableError("skin", entry, "a border is not positive or the borders fill the rectangle");
        }
    }
    return true;
}

// The normal looks every control state is derived from: a cool steel-blue
// gradient under a dark indigo outline.
const Color FaceTop = Hex(0x6A78F0);
const Color FaceBottom = Hex(0x24207A);
const Color Outline = Hex(0x07061A);
const Color Bevel = Hex(0xC4CCFF);

enum class Look
{
    Normal,
    Pressed,
    Hover,
    Focused,
    Disabled
};

PanelStyle StyleFor(Look look)
{
    PanelStyle style{FaceTop, FaceBottom, Outline, Bevel, 3.0f, false, {0, 0, 0, 0}};
    switch (look)
    {
    case Look::Normal:
        break;
    case Look::Pressed:
        style.top = Shade(FaceBottom, -0.25f);
        style.bottom = Shade(FaceTop, -0.2f);
        style.bevel = Shade(FaceBottom, -0.5f);
        style.inset = true;
        break;
    case Look::Hover:
        style.top = Shade(FaceTop, 0.25f);
        style.bottom = Shade(FaceBottom, 0.2f);
        style.bevel = Hex(0xE0E8FF);
        break;
    case Look::Focused:
        style.rim = Palette::Cyan;
        break;
    case Look::Disabled:
        style.top = Hex(0x6A6C78);
        style.bottom = Hex(0x5A5C66);
        style.outline = Hex(0x2A2A32);
        style.bevel = Hex(0x74767F);
        break;
    }
    return style;
}

void DrawLook(Canvas& canvas, const Slot& slot, Look look)
{
    DrawPanel(canvas, static_cast<float>(slot.x), static_cast<float>(slot.y),
              static_cast<float>(slot.x + slot.width), static_cast<float>(slot.y + slot.height),
              StyleFor(look));
}

// A close button: a magenta-red panel with a white cross.
void DrawClose(Canvas& canvas, const Slot& slot, Look look)
{
    PanelStyle style{Hex(0xFF5C8A), Hex(0xB0103E), Outline, Hex(0xFFB0C8), 3.0f, false, {0, 0, 0, 0}};
    if (look == Look::Pressed)
    {
        style = {Hex(0x8A0A30), Hex(0xD0285A), Outline, Hex(0x500018), 3.0f, true, {0, 0, 0, 0}};
    }
    else if (look == Look::Hover)
    {
        style.top = Hex(0xFF8AB0);
        style.bottom = Hex(0xE02058);
        style.bevel = Hex(0xFFE0EA);
    }
    const float x0 = static_cast<float>(slot.x), y0 = static_cast<float>(slot.y);
    const float x1 = x0 + static_cast<float>(slot.width), y1 = y0 + static_cast<float>(slot.height);
    DrawPanel(canvas, x0, y0, x1, y1, style);
    const float inset = 6.0f + (look == Look::Pressed ? 0.5f : 0.0f);
    const Paint white = Solid(Hex(0xFFFFFF));
    canvas.FillCapsule(x0 + inset, y0 + inset, x1 - inset, y1 - inset, 1.1f, white);
    canvas.FillCapsule(x1 - inset, y0 + inset, x0 + inset, y1 - inset, 1.1f, white);
}

std::unique_ptr<GeneratedSkin> MakeButtonSkin()
{
    // Records 0 normal, 1 pressed, 2 hover, 3 focused, 4 disabled, then the
    // close button's pressed and hover looks.
    auto skin = std::make_unique<GeneratedSkin>();
    skin->name = "DefaultButtonSkin";
    skin->texture = Canvas(256, 32);
    const Look looks[] = {Look::Normal, Look::Pressed, Look::Hover, Look::Focused, Look::Disabled};
    int x = 2;
    for (const Look look : looks)
    {
        const Slot slot{x, 2, 24, 24, 3, 3, 3, 3};
        DrawLook(skin->texture, slot, look);
        skin->records.push_back(ToRecord(slot, 32));
        x += 28;
    }
    for (const Look look : {Look::Pressed, Look::Hover})
    {
        const Slot slot{x, 2, 20, 20, 3, 3, 3, 3};
        DrawClose(skin->texture, slot, look);
        skin->records.push_back(ToRecord(slot, 32));
        x += 24;
    }
    return skin;
}

std::unique_ptr<GeneratedSkin> MakeFormSkin()
{
    // Light neutral greys: the form multiplies its frame by its own blue.
    auto skin = std::make_unique<GeneratedSkin>();
    skin->name = "DefaultFormSkin";
    skin->texture = Canvas(128, 64);
    Canvas& c = skin->texture;
    const Color top = Hex(0xFFFFFF), bottom = Hex(0x9AA6C8), edge = Hex(0x101030), shine = Hex(0xFFFFFF);
    const Paint frame = LinearGradient(0, 0, Hex(0xE8ECFF), 0, 1, Hex(0xB8C2E4));

    // 0 caption bar, 48 x 32: rounded top, flat bottom that meets the client.
    const Slot caption{2, 2, 48, 32, 8, 8, 4, 6};
    c.SetClip(caption.x, caption.y, caption.x + caption.width, caption.y + caption.height);
    c.FillRoundedRect(2, 2, 50, 44, 6, Solid(edge));
    c.FillRoundedRect(3, 3, 49, 44, 5, Solid(shine));
    c.FillRoundedRect(3, 4, 49, 44, 5, LinearGradient(0, 4, top, 0, 34, bottom));
    c.FillShape(RoundedRect(3, 32, 49, 34, 0.1f), Solid(Hex(0x6C78A0)), 3, 32, 49, 34);
    // 1 bottom border, 48 x 8: rounded bottom.
    const Slot bottomBorder{52, 2, 48, 8, 8, 8, 3, 3};
    c.SetClip(52, 2, 100, 10);
    c.FillRoundedRect(52, -10, 100, 10, 6, Solid(edge));
    c.FillRoundedRect(53, -10, 99, 9, 5, LinearGradient(0, 2, Hex(0xC8D0EE), 0, 10, Hex(0x8A96BC)));
    // 2 left and 3 right borders, 8 x 24.
    const Slot leftBorder{52, 12, 8, 24, 3, 3, 3, 3};
    const Slot rightBorder{62, 12, 8, 24, 3, 3, 3, 3};
    c.SetClip(52, 12, 60, 36);
    c.FillShape(RoundedRect(52, 0, 70, 60, 0.1f), Solid(edge), 52, 12, 60, 36);
    c.FillShape(RoundedRect(53, 0, 70, 60, 0.1f), frame, 53, 12, 60, 36);
    c.FillShape(RoundedRect(59, 0, 60, 60, 0.1f), Solid(Hex(0x6C78A0)), 59, 12, 60, 36);
    c.SetClip(62, 12, 70, 36);
    c.FillShape(RoundedRect(50, 0, 70, 60, 0.1f), Solid(edge), 62, 12, 70, 36);
    c.FillShape(RoundedRect(50, 0, 69, 60, 0.1f), frame, 62, 12, 69, 36);
    c.FillShape(RoundedRect(62, 0, 63, 60, 0.1f), Solid(Hex(0x6C78A0)), 62, 12, 63, 36);
    c.ResetClip();
    for (const Slot& slot : {caption, bottomBorder, leftBorder, rightBorder})
    {
        skin->records.push_back(ToRecord(slot, 64));
    }
    // 4, 5, 6 close button normal, pressed, hover.
    int x = 2;
    for (const Look look : {Look::Normal, Look::Pressed, Look::Hover})
    {
        const Slot slot{x, 38, 20, 20, 3, 3, 3, 3};
        DrawClose(c, slot, look);
        skin->records.push_back(ToRecord(slot, 64));
        x += 22;
    }
    return skin;
}

std::unique_ptr<GeneratedSkin> MakeRadioSkin()
{
    // Records 0-4 unchecked focused, normal, disabled, hover, pressed; 5-9
    // the same checked.
    auto skin = std::make_unique<GeneratedSkin>();
    skin->name = "DefaultRadioButtonSkin";
    skin->texture = Canvas(256, 16);
    const Look looks[] = {Look::Focused, Look::Normal, Look::Disabled, Look::Hover, Look::Pressed};
    for (int i = 0; i < 10; ++i)
    {
        const Look look = looks[i % 5];
        const bool checked = i >= 5;
        const float x = static_cast<float>(1 + i * 15);
        const float cx = x + 6.5f, cy = 1.0f + 6.5f;
        const PanelStyle style = StyleFor(look);
        Canvas& c = skin->texture;
        c.FillDisc(cx, cy, 6.3f, Solid(style.outline));
        c.FillDisc(cx, cy, 5.3f, Solid(style.bevel));
        const float dy = style.inset ? -0.6f : 0.6f;
        c.FillDisc(cx, cy + dy, 4.8f, LinearGradient(0, cy - 5, style.top, 0, cy + 5, style.bottom));
        if (style.rim.a > 0.0f)
        {
            c.FillRing(cx, cy, 5.0f, 1.0f, Solid(style.rim));
        }
        if (checked)
        {
            const Color dot = look == Look::Disabled ? Hex(0xB0B2BA) : Palette::Cyan;
            c.FillDisc(cx, cy, 2.6f, Solid(Shade(dot, 0.5f)));
            c.FillDisc(cx, cy, 1.8f, Solid(Hex(0xFFFFFF)));
        }
        skin->records.push_back(ToRecord({1 + i * 15, 1, 13, 13, 4, 4, 4, 4}, 16));
    }
    return skin;
}

std::vector<std::uint8_t> SkinFile(const GeneratedSkin& skin)
{
    std::vector<std::uint8_t> out(4 + 32 * skin.records.size());
    const auto count = static_cast<std::uint32_t>(skin.records.size());
    for (int i = 0; i < 4; ++i)
    {
        out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(count >> (8 * i));
    }
    for (std::size_t i = 0; i < skin.records.size(); ++i)
    {
        const SkinRecord& r = skin.records[i];
        const float fields[8] = {r.x,       r.y,          r.width,     r.height,
                                 r.leftEnd, r.rightStart, r.bottomEnd, r.topStart};
        for (int f = 0; f < 8; ++f)
        {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &fields[f], 4);
            for (int b = 0; b < 4; ++b)
            {
                out[4 + 32 * i + 4 * static_cast<std::size_t>(f) + static_cast<std::size_t>(b)] =
                    static_cast<std::uint8_t>(bits >> (8 * b));
            }
        }
    }
    return out;
}

Canvas MakeComboArrow(bool enabled)
{
    Canvas c(16, 16);
    const std::vector<float> arrow = {3, 5.5f, 13, 5.5f, 8, 11.5f};
    const Color top = enabled ? Hex(0xFFFFFF) : Hex(0x9A9CA6);
    const Color bottom = enabled ? Palette::Cyan : Hex(0x6A6C76);
    Canvas shape(16, 16);
    shape.FillPolygon(arrow, Solid(Hex(0xFFFFFF)));
    c.FillMask(Dilate(shape.Alpha(), 16, 16, 1.2f), Solid(Hex(enabled ? 0x07061A : 0x2A2A32)));
    c.FillPolygon(arrow, LinearGradient(0, 5, top, 0, 12, bottom));
    return c;
}

} // namespace

Canvas MakeGrayPicture()
{
    // A soft grey-blue gradient with faint grain.
    Canvas c(256, 256);
    const Color top = Hex(0xC9D0E2), bottom = Hex(0x9AA3BE);
    for (int y = 0; y < 256; ++y)
    {
        for (int x = 0; x < 256; ++x)
        {
            const float t = static_cast<float>(y) / 255.0f;
            const float grain =
                (Hash01(x, y, 77) - 0.5f) * 0.03f +
                (FractalNoise(static_cast<float>(x) / 48.0f, static_cast<float>(y) / 48.0f, 3, 5) - 0.5f) *
                    0.05f;
            Color color = Mix(top, bottom, t);
            color.r += grain;
            color.g += grain;
            color.b += grain;
            c.Plot(x, y, color, 1.0f);
        }
    }
    return c;
}

namespace
{

Canvas MakeWhite()
{
    Canvas c(8, 8);
    c.Fill(Hex(0xFFFFFF));
    return c;
}

const char* const SkinNames[] = {"DefaultFormSkin", "DefaultButtonSkin", "DefaultRadioButtonSkin"};
const std::size_t SkinRecordCounts[] = {7, 7, 10};

std::string SkinPath(const std::string& name, const char* extension)
{
    return "Resources/Skins/" + name + "/" + name + extension;
}

} // namespace

const GeneratedSkin& GetSkin(const std::string& name)
{
    static std::map<std::string, std::unique_ptr<GeneratedSkin>> skins;
    auto found = skins.find(name);
    if (found == skins.end())
    {
        std::unique_ptr<GeneratedSkin> skin;
        if (name == "DefaultFormSkin")
        {
            skin = MakeFormSkin();
        }
        else if (name == "DefaultButtonSkin")
        {
            skin = MakeButtonSkin();
        }
        else if (name == "DefaultRadioButtonSkin")
        {
            skin = MakeRadioSkin();
        }
        else
        {
            throw std::out_of_range("no skin named " + name);
        }
        found = skins.emplace(name, std::move(skin)).first;
    }
    return *found->second;
}

Canvas MakeCursor()
{
    // The tip sits on the top-left pixel: the GUI puts the image's top-left
    // corner on the mouse position.
    const std::vector<float> arrow = {0.6f,  0.6f,  0.6f,  21.5f, 5.6f,  16.8f, 9.4f,
                                      25.2f, 12.9f, 23.6f, 9.2f,  15.4f, 15.8f, 15.4f};
    Canvas shape(32, 32);
    shape.FillPolygon(arrow, Solid(Hex(0xFFFFFF)));
    const std::vector<float> outline = Dilate(shape.Alpha(), 32, 32, 1.3f);
    Canvas shadow(32, 32);
    shadow.FillMask(outline, Solid(Hex(0x000000)));
    shadow.Blur(1.3f);
    Canvas c(32, 32);
    c.Draw(shadow, 2, 2, Blend::Over, {1, 1, 1, 0.5f});
    c.FillMask(outline, Solid(Palette::Ink));
    c.FillPolygon(arrow, LinearGradient(0, 0, Hex(0xFFFFFF), 10, 24, Hex(0xA8F6FF)));
    // The tip pixel is fully opaque, so the hot spot always shows.
    c.At(0, 0) = {Palette::Ink.r, Palette::Ink.g, Palette::Ink.b, 1.0f};
    return c;
}

void DrawNineSlice(Canvas& canvas, const GeneratedSkin& skin, std::size_t record, int x, int y, int width,
                   int height, Color tint)
{
    const SkinRecord& r = skin.records.at(record);
    const int th = skin.texture.Height();
    // Columns and rows of the record (texture x right, texture rows from the
    // top) and of the destination, each as three spans.
    const float L = r.leftEnd, R = r.width - r.rightStart, B = r.bottomEnd, T = r.height - r.topStart;
    const float W = static_cast<float>(width), H = static_cast<float>(height);
    const float sx[4] = {0, L, r.rightStart, r.width};
    const float dx[4] = {0, std::clamp(L, 0.0f, W), std::clamp(W - R, 0.0f, W), W};
    // Rows from the top: top border, middle, bottom border.
    const float sy[4] = {0, T, r.height - B, r.height};
    const float dy[4] = {0, std::clamp(T, 0.0f, H), std::clamp(H - B, 0.0f, H), H};
    const float recordTop = static_cast<float>(th) - r.y - r.height;
    for (int py = 0; py < height; ++py)
    {
        const float fy = static_cast<float>(py) + 0.5f;
        const int row = fy < dy[1] ? 0 : (fy < dy[2] ? 1 : 2);
        const float ty =
            sy[row] + (fy - dy[row]) / std::max(dy[row + 1] - dy[row], 1e-6f) * (sy[row + 1] - sy[row]);
        for (int px = 0; px < width; ++px)
        {
            const float fx = static_cast<float>(px) + 0.5f;
            const int column = fx < dx[1] ? 0 : (fx < dx[2] ? 1 : 2);
            const float tx = sx[column] + (fx - dx[column]) / std::max(dx[column + 1] - dx[column], 1e-6f) *
                                              (sx[column + 1] - sx[column]);
            const int u = std::clamp(static_cast<int>(r.x + tx), 0, skin.texture.Width() - 1);
            const int v = std::clamp(static_cast<int>(recordTop + ty), 0, th - 1);
            const Color& s = skin.texture.At(u, v);
            if (s.a > 0.0f)
            {
                canvas.Plot(x + px, y + py,
                            {s.r / s.a * tint.r, s.g / s.a * tint.g, s.b / s.a * tint.b, s.a * tint.a}, 1.0f);
            }
        }
    }
}

void ListSkins(Manifest& manifest)
{
    for (std::size_t i = 0; i < 3; ++i)
    {
        const std::string name = SkinNames[i];
        const GeneratedSkin& skin = GetSkin(name);
        manifest.push_back({SkinPath(name, ".gui"), "skin records",
                            std::to_string(SkinRecordCounts[i]) + " records, " +
                                std::to_string(4 + 32 * SkinRecordCounts[i]) + " bytes"});
        manifest.push_back(
            {SkinPath(name, ".png"), "skin texture",
             std::to_string(skin.texture.Width()) + "x" + std::to_string(skin.texture.Height())});
    }
    manifest.push_back({"Resources/Skins/Overlays/ComboDown.png", "image", "16x16"});
    manifest.push_back({"Resources/Skins/Overlays/ComboDownDisabled.png", "image", "16x16"});
    manifest.push_back({"Resources/Skins/White.png", "image", "8x8, opaque white"});
    manifest.push_back({"Resources/Skins/Gray.png", "image", "256x256"});
    manifest.push_back({"Resources/Cursors/Arrow.png", "cursor", "32x32, tip at the top-left pixel"});
}

bool MakeSkins(Output& output)
{
    for (std::size_t i = 0; i < 3; ++i)
    {
        const GeneratedSkin& skin = GetSkin(SkinNames[i]);
        if (skin.records.size() != SkinRecordCounts[i])
        {
            return TableError("skin", skin.name, "wrong number of records");
        }
        if (!CheckSkin(skin) || !output.Write(SkinPath(skin.name, ".gui"), SkinFile(skin)) ||
            !output.WritePng(SkinPath(skin.name, ".png"), skin.texture))
        {
            return false;
        }
    }
    return output.WritePng("Resources/Skins/Overlays/ComboDown.png", MakeComboArrow(true)) &&
           output.WritePng("Resources/Skins/Overlays/ComboDownDisabled.png", MakeComboArrow(false)) &&
           output.WritePng("Resources/Skins/White.png", MakeWhite()) &&
           output.WritePng("Resources/Skins/Gray.png", MakeGrayPicture()) &&
           output.WritePng("Resources/Cursors/Arrow.png", MakeCursor(), Palette::Ink);
}

} // namespace AssetGen
