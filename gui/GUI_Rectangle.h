#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>

struct lua_State;

namespace Core
{
class File;
}

namespace GUI
{

// A rectangle in window pixels (origin at the bottom-left, y up): controls,
// client areas, clip rectangles and skin parts. A plain value; scripts see
// it as "NRectangle" user data.
//
// Right and top are derived and rounded to f32. A rectangle is valid when it
// is at least one pixel in both directions; intersections and clips count
// only when they are valid, so rectangles that touch, or overlap by less
// than a pixel, do not meet.
class NRectangle
{
public:
    static constexpr const char* ScriptTypeName = "NRectangle";

    NRectangle() = default;
    NRectangle(float left, float bottom, float width, float height)
        : left_(left), bottom_(bottom), width_(width), height_(height)
    {
    }
    NRectangle(const NRectangle&) = default;
    NRectangle& operator=(const NRectangle&) = default;
    virtual ~NRectangle() = default;

    // Rectangles carry no script of their own.
    virtual void* GetScript() const { return nullptr; }
    // Pushes user data naming this rectangle; the caller keeps it alive.
    virtual void PushToScript(lua_State* state);
    // Pushes a copy that the script owns from then on.
    static void PushCopy(lua_State* state, const NRectangle& rectangle);

    float GetLeft() const { return left_; }
    float GetBottom() const { return bottom_; }
    float GetWidth() const { return width_; }
    float GetHeight() const { return height_; }
    float GetRight() const { return left_ + width_; }
    float GetTop() const { return bottom_ + height_; }
    Math::Vector2D GetPosition() const { return {left_, bottom_}; }

    void SetLeft(float left) { left_ = left; }
    void SetBottom(float bottom) { bottom_ = bottom; }
    void SetWidth(float width) { width_ = width; }
    void SetHeight(float height) { height_ = height; }
    void SetPosition(const Math::Vector2D& position)
    {
        left_ = position.x;
        bottom_ = position.y;
    }
    void Translate(float dx, float dy)
    {
        left_ += dx;
        bottom_ += dy;
    }

    // All four edges count as inside.
    bool IsInside(float x, float y) const
    {
        return left_ <= x && x <= GetRight() && bottom_ <= y && y <= GetTop();
    }
    // At least 1 x 1.
    bool IsValid() const { return width_ >= 1.0f && height_ >= 1.0f; }

    // `out` := the overlap of `a` and `b`, written even when it is not
    // valid (its width or height then is below 1, or negative); returns
    // whether it is valid. `out` may be `a` or `b`.
    static bool Intersect(NRectangle& out, const NRectangle& a, const NRectangle& b);

    // Exact comparison of the four values.
    friend bool operator==(const NRectangle& a, const NRectangle& b)
    {
        return a.left_ == b.left_ && a.bottom_ == b.bottom_ && a.width_ == b.width_ && a.height_ == b.height_;
    }

    // Left, bottom, width, height as f32. A short read fails the archive
    // and leaves the rectangle as it was.
    void Write(Core::File& file) const;
    bool Read(Core::File& file);

private:
    float left_ = 0.0f;
    float bottom_ = 0.0f;
    float width_ = 0.0f;
    float height_ = 0.0f;
};

// A rectangle with the texture coordinates of its four corners: 0
// left-bottom, 1 right-bottom, 2 right-top, 3 left-top. Every textured quad
// the GUI draws is one.
class TRectangle : public NRectangle
{
public:
    // Corners (0, 0), (1, 0), (1, 1), (0, 1): the whole texture.
    TRectangle() { SetDefaultTexCoords(); }
    TRectangle(float left, float bottom, float width, float height) : NRectangle(left, bottom, width, height)
    {
        SetDefaultTexCoords();
    }
    explicit TRectangle(const NRectangle& rectangle) : NRectangle(rectangle) { SetDefaultTexCoords(); }

    // Corners outside 0..3 are ignored (set) or read as (0, 0).
    void SetTexCoord(std::uint32_t corner, const Math::Vector2D& coordinate);
    Math::Vector2D GetTexCoord(std::uint32_t corner) const;

    // `out` := the part of `t` inside `clip`, its corners' texture
    // coordinates cut in proportion to what was cut from each side. False
    // (and `out` untouched) when less than 1 x 1 remains. The cut is linear
    // and assumes an axis-aligned mapping (corner 1 differs from corner 0 in
    // u, corner 3 from corner 0 in v), flipped or not.
    static bool Clip(TRectangle& out, const TRectangle& t, const NRectangle& clip);

    // The rectangle, then u and v of corners 0 to 3. A short read fails the
    // archive and leaves the rectangle as it was.
    void Write(Core::File& file) const;
    bool Read(Core::File& file);

private:
    void SetDefaultTexCoords();

    Math::Vector2D texCoords_[4];
};

// A width and height for scripts, which see a table { Width, Height } made
// by the global "CreateSize".
struct Size
{
    float width = 0.0f;
    float height = 0.0f;
};

// The Size of the table at `index`; (0, 0) when the value is not a table.
// A field that is not a number reads as 0.
Size LuaToSize(lua_State* state, int index);
// Calls "CreateSize" with no arguments and sets "Width" and "Height" on the
// table, which stays on the stack. When there is no table to be had, the
// failure is reported and nil takes its place: the stack grows by one.
void PushSize(lua_State* state, float width, float height);

} // namespace GUI
