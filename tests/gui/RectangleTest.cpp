#include "GuiTestSupport.h"

#include "gui/GUI_Rectangle.h"

#include <gtest/gtest.h>

namespace
{

using GUI::NRectangle;
using GUI::TRectangle;
using GuiTest::Bytes;
using GuiTest::Written;

TEST(Rectangle, IntersectionCountsOnlyFromOnePixelUp)
{
    struct Case
    {
        NRectangle a, b;
        bool valid;
        NRectangle expected;
    };
    const Case cases[] = {
        // Touching along an edge: width 0.
        {{0, 0, 10, 10}, {10, 0, 10, 10}, false, {10, 0, 0, 10}},
        // Half a pixel of overlap.
        {{0, 0, 10, 10}, {9.5f, 0, 10, 10}, false, {9.5f, 0, 0.5f, 10}},
        // Apart: the result is written, negative width and all.
        {{0, 0, 10, 10}, {20, 30, 5, 5}, false, {20, 30, -10, -20}},
        {{0, 0, 10, 10}, {9, 9, 10, 10}, true, {9, 9, 1, 1}},
        {{0, 0, 100, 100}, {25, 50, 50, 100}, true, {25, 50, 50, 50}},
    };
    for (const Case& c : cases)
    {
        NRectangle out(-1, -1, -1, -1);
        EXPECT_EQ(NRectangle::Intersect(out, c.a, c.b), c.valid);
        EXPECT_TRUE(out == c.expected)
            << out.GetLeft() << " " << out.GetBottom() << " " << out.GetWidth() << " " << out.GetHeight();
    }
}

TEST(Rectangle, EveryEdgeIsInside)
{
    const NRectangle r(10, 20, 30, 40);
    EXPECT_TRUE(r.IsInside(40, 60));
    EXPECT_TRUE(r.IsInside(10, 20));
    EXPECT_TRUE(r.IsInside(40, 30));
    EXPECT_FALSE(r.IsInside(40.001f, 30));
    EXPECT_FALSE(r.IsInside(20, 60.01f));
    EXPECT_FALSE(r.IsInside(9.99f, 30));
    EXPECT_TRUE(NRectangle(0, 0, 1, 1).IsValid());
    EXPECT_FALSE(NRectangle(0, 0, 1, 0.999f).IsValid());
}

TEST(Rectangle, ClipCutsTextureCoordinatesInProportion)
{
    TRectangle out;
    ASSERT_TRUE(TRectangle::Clip(out, TRectangle(0, 0, 100, 100), NRectangle(25, 50, 50, 100)));
    EXPECT_TRUE(out == NRectangle(25, 50, 50, 50));
    const Math::Vector2D expected[4] = {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.75f, 1.0f}, {0.25f, 1.0f}};
    for (std::uint32_t corner = 0; corner < 4; ++corner)
    {
        EXPECT_FLOAT_EQ(out.GetTexCoord(corner).x, expected[corner].x) << corner;
        EXPECT_FLOAT_EQ(out.GetTexCoord(corner).y, expected[corner].y) << corner;
    }

    // A horizontally flipped mapping is cut from its own side.
    TRectangle flipped(0, 0, 100, 10);
    flipped.SetTexCoord(0, {1, 0});
    flipped.SetTexCoord(1, {0, 0});
    flipped.SetTexCoord(2, {0, 1});
    flipped.SetTexCoord(3, {1, 1});
    ASSERT_TRUE(TRectangle::Clip(out, flipped, NRectangle(0, 0, 25, 10)));
    EXPECT_FLOAT_EQ(out.GetTexCoord(0).x, 1.0f);
    EXPECT_FLOAT_EQ(out.GetTexCoord(1).x, 0.75f);

    TRectangle untouched(1, 2, 3, 4);
    EXPECT_FALSE(TRectangle::Clip(untouched, TRectangle(0, 0, 10, 10), NRectangle(10, 0, 5, 5)));
    EXPECT_TRUE(untouched == NRectangle(1, 2, 3, 4));
}

TEST(Rectangle, StreamsRoundTripAndShortReadsChangeNothing)
{
    TRectangle t(1.5f, 2.5f, 3.5f, 4.5f);
    t.SetTexCoord(2, {0.25f, 0.75f});
    const Bytes bytes = Written([&](Core::File& file) { t.Write(file); });
    ASSERT_EQ(bytes.size(), 48u);

    TRectangle read;
    Core::MemoryFile whole(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    ASSERT_TRUE(read.Read(whole));
    EXPECT_EQ(Written([&](Core::File& file) { read.Write(file); }), bytes);

    for (std::uint32_t cut : {0u, 15u, 16u, 47u})
    {
        TRectangle kept(7, 8, 9, 10);
        const Bytes before = Written([&](Core::File& file) { kept.Write(file); });
        Core::MemoryFile shortFile(bytes.data(), cut);
        EXPECT_FALSE(kept.Read(shortFile)) << cut;
        EXPECT_TRUE(shortFile.Failed());
        EXPECT_EQ(Written([&](Core::File& file) { kept.Write(file); }), before) << cut;
    }
}

TEST(Rectangle, ScriptTable)
{
    GuiTest::LuaState lua;
    lua_State* state = lua.Get();
    NRectangle r(1, 2, 3, 4);
    r.PushToScript(state);
    lua_setglobal(state, "r");
    NRectangle other(2, 3, 10, 10);
    other.PushToScript(state);
    lua_setglobal(state, "o");

    EXPECT_EQ(lua.Value("r:GetLeft() .. ' ' .. r:GetBottom() .. ' ' .. r:GetRight() .. ' ' .. r:GetTop()"),
              "1 2 4 6");
    EXPECT_EQ(lua.Value("r:GetSize().Width .. ' ' .. r:GetSize().Height"), "3 4");
    EXPECT_EQ(lua.Value("r:GetPosition().X .. ' ' .. r:GetPosition().Y"), "1 2");
    EXPECT_EQ(lua.Value("r:IsInside(4, 6)"), "true");
    EXPECT_EQ(lua.Value("r:IsValid()"), "true");

    // Intersect gives a new rectangle the script owns, valid or not.
    EXPECT_EQ(lua.Run("i = r:Intersect(r, o)"), "");
    EXPECT_EQ(lua.Value("i:GetLeft() .. ' ' .. i:GetBottom() .. ' ' .. i:GetWidth() .. ' ' .. i:GetHeight()"),
              "2 3 2 3");
    EXPECT_EQ(lua.Run("far = r:Intersect(r, r); far:SetLeft(100); j = r:Intersect(r, far)"), "");
    EXPECT_EQ(lua.Value("j:IsValid()"), "false");
    EXPECT_EQ(lua.Value("j:GetWidth()"), "-96");

    EXPECT_EQ(lua.Run("r:SetPosition(CreatePoint(10, 20)); r:SetSize(CreateSize(30, 40)); r:Translate(1, 1)"),
              "");
    EXPECT_TRUE(r == NRectangle(11, 21, 30, 40));
    EXPECT_EQ(lua.Run("r:SetLeft(5); r:SetBottom(6); r:SetWidth(7); r:SetHeight(8)"), "");
    EXPECT_TRUE(r == NRectangle(5, 6, 7, 8));

    // Missing or wrongly typed arguments change nothing and push nothing.
    EXPECT_EQ(lua.Run("r:SetLeft(); r:SetWidth('x'); r:SetPosition(3); r:SetSize(); r:Translate(1); "
                      "r:SetHeight({})"),
              "");
    EXPECT_TRUE(r == NRectangle(5, 6, 7, 8));
    EXPECT_EQ(lua.Value("select('#', r:IsInside(1))"), "0");
    EXPECT_EQ(lua.Value("select('#', r:Intersect(r))"), "0");
    EXPECT_EQ(lua.Value("select('#', r:Intersect(r, 5))"), "0");

    EXPECT_EQ(lua.Run("r:LuaZeroize()"), "");
    EXPECT_TRUE(r == NRectangle());
}

TEST(Rectangle, SizeTables)
{
    GuiTest::LuaState lua;
    lua_State* state = lua.Get();
    lua_pushnumber(state, 5);
    const GUI::Size fromNumber = GUI::LuaToSize(state, -1);
    EXPECT_EQ(fromNumber.width, 0.0f);
    EXPECT_EQ(fromNumber.height, 0.0f);
    lua_pop(state, 1);

    GUI::PushSize(state, 75, 25);
    const GUI::Size pushed = GUI::LuaToSize(state, -1);
    EXPECT_EQ(pushed.width, 75.0f);
    EXPECT_EQ(pushed.height, 25.0f);
    lua_setglobal(state, "s");
    EXPECT_EQ(lua.Value("s.className"), "Size");
}

} // namespace
