#include "AssetGen_Icon.h"

#include "AssetGen_Palette.h"
#include "AssetGen_Shapes.h"

namespace AssetGen
{

namespace
{

constexpr int IconSizes[] = {64, 32};

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
    {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// ICO: a 6-byte header, 16-byte directory entries, then the PNG images.
std::vector<std::uint8_t> MakeIco()
{
    std::vector<std::vector<std::uint8_t>> images;
    for (const int size : IconSizes)
    {
        const Canvas image = MakeIconImage(size);
        images.push_back(EncodePng(image.ToRgba8(), size, size));
    }
    std::vector<std::uint8_t> out;
    PutLe(out, 0, 2);
    PutLe(out, 1, 2);
    PutLe(out, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i)
    {
        out.push_back(static_cast<std::uint8_t>(IconSizes[i]));
        out.push_back(static_cast<std::uint8_t>(IconSizes[i]));
        PutLe(out, 0, 2); // no palette, reserved
        PutLe(out, 1, 2); // planes
        PutLe(out, 32, 2);
        PutLe(out, static_cast<std::uint32_t>(images[i].size()), 4);
        PutLe(out, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images)
    {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

} // namespace

Canvas MakeIconImage(int size)
{
    const float s = static_cast<float>(size);
    Canvas c(size, size);
    const float inset = s / 32.0f;
    c.FillRoundedRect(inset, inset, s - inset, s - inset, s * 0.2f, Solid(Palette::Ink));
    c.FillRoundedRect(inset + 1, inset + 1, s - inset - 1, s - inset - 1, s * 0.2f - 1,
                      LinearGradient(0, 0, Palette::Indigo, 0, s, Palette::Night));
    c.FillRing(s * 0.5f, s * 0.5f, s * 0.5f - inset - 1.5f, 1.0f, Solid(WithAlpha(Palette::Cyan, 0.35f)));
    const float r = s * 0.27f;
    DrawGlossyBall(c, s * 0.5f, s * 0.5f, r, Palette::Blue, 1.0f);
    c.FillRing(s * 0.5f, s * 0.5f, r + s / 22.0f, s / 22.0f, Solid(Hex(0xFFFFFF, 0.9f)));
    return c;
}

void ListIcon(Manifest& manifest)
{
    manifest.push_back({"Resources/GameIcon/GameIcon.ico", "icon", "PNG entries 64x64 and 32x32"});
}

bool MakeIcon(Output& output)
{
    return output.Write("Resources/GameIcon/GameIcon.ico", MakeIco());
}

} // namespace AssetGen
