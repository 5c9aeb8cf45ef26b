#include "gui/GUI_Rectangle.h"

#include "core/Core_File.h"
#include "script/Script_Binding.h"

#include <algorithm>

namespace GUI
{

void NRectangle::PushToScript(lua_State* state)
{
    Script::PushObject(state, this, ScriptTypeName);
}

void NRectangle::PushCopy(lua_State* state, const NRectangle& rectangle)
{
    Script::PushOwnedCopy(state, NRectangle(rectangle), ScriptTypeName);
}

bool NRectangle::Intersect(NRectangle& out, const NRectangle& a, const NRectangle& b)
{
    const float left = std::max(a.left_, b.left_);
    const float bottom = std::max(a.bottom_, b.bottom_);
    const float right = std::min(a.GetRight(), b.GetRight());
    const float top = std::min(a.GetTop(), b.GetTop());
    out = NRectangle(left, bottom, right - left, top - bottom);
    return out.IsValid();
}

void NRectangle::Write(Core::File& file) const
{
    file << left_ << bottom_ << width_ << height_;
}

bool NRectangle::Read(Core::File& file)
{
    float values[4];
    if (!file.ReadExact(values, sizeof values))
    {
        return false;
    }
    *this = NRectangle(values[0], values[1], values[2], values[3]);
    return true;
}

void TRectangle::SetDefaultTexCoords()
{
    texCoords_[0] = Math::Vector2D(0.0f, 0.0f);
    texCoords_[1] = Math::Vector2D(1.0f, 0.0f);
    texCoords_[2] = Math::Vector2D(1.0f, 1.0f);
    texCoords_[3] = Math::Vector2D(0.0f, 1.0f);
}

void TRectangle::SetTexCoord(std::uint32_t corner, const Math::Vector2D& coordinate)
{
    if (corner < 4)
    {
        texCoords_[corner] = coordinate;
    }
}

Math::Vector2D TRectangle::GetTexCoord(std::uint32_t corner) const
{
    return corner < 4 ? texCoords_[corner] : Math::Vector2D();
}

bool TRectangle::Clip(TRectangle& out, const TRectangle& t, const NRectangle& clip)
{
    NRectangle r;
    if (!NRectangle::Intersect(r, t, clip))
    {
        return false;
    }
    const Math::Vector2D* c = t.texCoords_;
    const float du = c[1].x - c[0].x;
    const float dv = c[3].y - c[0].y;
    // The fraction cut from each side; t is at least as large as r, which
    // is valid, so the divisors are at least 1.
    const float fl = (r.GetLeft() - t.GetLeft()) / t.GetWidth();
    const float fr = (t.GetRight() - r.GetRight()) / t.GetWidth();
    const float fb = (r.GetBottom() - t.GetBottom()) / t.GetHeight();
    const float ft = (t.GetTop() - r.GetTop()) / t.GetHeight();
    const Math::Vector2D corners[4] = {
        {c[0].x + fl * du, c[0].y + fb * dv},
        {c[1].x - fr * du, c[1].y + fb * dv},
        {c[2].x - fr * du, c[2].y - ft * dv},
        {c[3].x + fl * du, c[3].y - ft * dv},
    };
    out = TRectangle(r);
    std::copy(corners, corners + 4, out.texCoords_);
    return true;
}

void TRectangle::Write(Core::File& file) const
{
    NRectangle::Write(file);
    for (const Math::Vector2D& corner : texCoords_)
    {
        file << corner.x << corner.y;
    }
}

bool TRectangle::Read(Core::File& file)
{
    float values[12];
    if (!file.ReadExact(values, sizeof values))
    {
        return false;
    }
    TRectangle read(values[0], values[1], values[2], values[3]);
    for (std::uint32_t i = 0; i < 4; ++i)
    {
        read.texCoords_[i] = Math::Vector2D(values[4 + 2 * i], values[5 + 2 * i]);
    }
    *this = read;
    return true;
}

} // namespace GUI
