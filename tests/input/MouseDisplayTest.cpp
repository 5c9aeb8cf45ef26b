#include "input/Input_InputSource.h"
#include "input/Input_MouseImp.h"
#include "pal/PAL_Window.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

using Input::MouseImp;

// The platform source against a real window (scripts/test runs these under
// Xvfb).
class MouseDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        setenv("ENGINE_HEADLESS", "1", 1);
        Input::InputSource::SetCurrent(nullptr);
        while (!PAL::ProcessMessages())
        {
        }
    }

    // Two quiet updates take a new mouse past its start guard.
    static void Settle(MouseImp& mouse)
    {
        PAL::ProcessMessages();
        mouse.Update();
        mouse.Update();
    }
};

TEST_F(MouseDisplayTest, WarpedPointerReadsBackInClientPixelsFromTheBottom)
{
    PAL::Window window(1024, 768);
    window.SetVisible(true);
    PAL::ProcessMessages();
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    mouse->SetWindow(&window);

    struct Case
    {
        std::int32_t x, y;
    };
    // The client's top-left pixel, its bottom-left, one inside.
    for (const Case& c : {Case{0, 767}, Case{0, 0}, Case{200, 300}})
    {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        mouse->SetPosition(c.x, c.y);
        Settle(*mouse);
        std::int32_t x = -1;
        std::int32_t y = -1;
        mouse->GetPosition(x, y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
        EXPECT_TRUE(mouse->IsInWindow());
    }

    // Outside the client area the position clamps to its edge.
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    window.GetClientRect(left, top, width, height);
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 768);
    if (left > 0)
    {
        mouse->SetPosition(-1, 767);
        Settle(*mouse);
        EXPECT_EQ(mouse->GetPositionX(), 0);
        EXPECT_EQ(mouse->GetPositionY(), 767);
        EXPECT_FALSE(mouse->IsInWindow());
    }
}

TEST_F(MouseDisplayTest, CursorShowsAndHides)
{
    PAL::Window window(320, 240);
    window.SetVisible(true);
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    mouse->SetWindow(&window);
    mouse->ShowCursor(false);
    EXPECT_FALSE(mouse->IsCursorVisible());
    mouse->ShowCursor(true);
    EXPECT_TRUE(mouse->IsCursorVisible());
}

} // namespace
