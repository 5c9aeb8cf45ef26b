#include "renderer/Renderer_Adapter.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

using Renderer::DisplayModeRecord;
using Renderer::DisplayModes;

DisplayModes MakeModes(std::initializer_list<DisplayModeRecord> modes)
{
    DisplayModes result;
    for (const DisplayModeRecord& mode : modes)
    {
        result.Add(mode);
    }
    return result;
}

struct BestModeCase
{
    const char* what;
    DisplayModeRecord request;
    DisplayModeRecord expected;
};

TEST(DisplayModesTest, BestModeTakesTheFirstListedValueNotBelowTheRequest)
{
    const DisplayModes modes = MakeModes({
        {640, 480, 16, 60},
        {1024, 768, 16, 60},
        {640, 480, 32, 60},
        {800, 600, 32, 72},
        {1024, 768, 32, 60},
        {1024, 768, 32, 75},
        {1280, 1024, 32, 60},
        {1280, 800, 32, 60},
        // A rate the system does not state lists the resolution without one.
        {1600, 1200, 32, 0},
    });
    const BestModeCase cases[] = {
        {"no rate reaches 85: the largest", {1024, 768, 32, 85}, {1024, 768, 32, 75}},
        {"exact", {1024, 768, 32, 60}, {1024, 768, 32, 60}},
        {"rate between two", {1024, 768, 32, 70}, {1024, 768, 32, 75}},
        {"16 bits are kept", {1024, 768, 16, 60}, {1024, 768, 16, 60}},
        {"24 bits take 32", {640, 480, 24, 60}, {640, 480, 32, 60}},
        {"above every depth: the largest", {640, 480, 48, 60}, {640, 480, 32, 60}},
        {"a wider resolution", {900, 500, 32, 60}, {1024, 768, 32, 60}},
        {"same width, taller", {1280, 900, 32, 60}, {1280, 1024, 32, 60}},
        {"same width, lower: first listed at or above", {1280, 700, 32, 60}, {1280, 800, 32, 60}},
        {"larger than every resolution: the largest", {4000, 3000, 32, 60}, {1600, 1200, 32, 60}},
        {"no rates listed gives 60", {1600, 1200, 32, 85}, {1600, 1200, 32, 60}},
    };
    for (const BestModeCase& c : cases)
    {
        const DisplayModeRecord best = modes.FindBestMode(c.request);
        EXPECT_EQ(best.width, c.expected.width) << c.what;
        EXPECT_EQ(best.height, c.expected.height) << c.what;
        EXPECT_EQ(best.colorBits, c.expected.colorBits) << c.what;
        EXPECT_EQ(best.refreshRate, c.expected.refreshRate) << c.what;
        EXPECT_TRUE(modes.CanSet(best)) << c.what;
    }

    EXPECT_FALSE(modes.CanSet({1024, 768, 32, 85}));
    EXPECT_FALSE(modes.CanSet({1024, 700, 32, 60}));
    EXPECT_TRUE(modes.CanSet({1600, 1200, 32, 50}));
}

TEST(DisplayModesTest, ListsAreAscendingAndAnEmptyListKeepsTheRequest)
{
    const DisplayModes modes = MakeModes({{1024, 768, 32, 75},
                                          {640, 480, 16, 60},
                                          {1024, 768, 32, 60},
                                          {800, 600, 32, 60},
                                          {1024, 600, 32, 60},
                                          {1024, 768, 32, 60}});
    EXPECT_EQ(modes.GetColorDepths(), (std::vector<std::uint32_t>{16, 32}));
    EXPECT_EQ(modes.GetResolutions(32),
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{800, 600}, {1024, 600}, {1024, 768}}));
    EXPECT_EQ(modes.GetRefreshRates(32, 1024, 768), (std::vector<std::uint32_t>{60, 75}));
    EXPECT_TRUE(modes.GetRefreshRates(24, 1024, 768).empty());
    EXPECT_TRUE(modes.GetResolutions(8).empty());

    const DisplayModes none;
    const DisplayModeRecord request{1024, 768, 32, 85};
    const DisplayModeRecord best = none.FindBestMode(request);
    EXPECT_EQ(best.width, 1024u);
    EXPECT_EQ(best.height, 768u);
    EXPECT_EQ(best.refreshRate, 85u);
    EXPECT_FALSE(none.CanSet(best));
}

class AdapterDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        setenv("ENGINE_HEADLESS", "1", 1);
    }
};

TEST_F(AdapterDisplayTest, HoldersShareOneAdapterThatListsTheCurrentMode)
{
    const Renderer::Adapter* first = nullptr;
    {
        Renderer::AdapterHolder holder;
        Renderer::AdapterHolder second;
        first = &holder.GetAdapter();
        EXPECT_EQ(first, &second.GetAdapter());
        EXPECT_EQ(first, Renderer::Adapter::GetInstance().Get());

        const Renderer::Adapter& adapter = holder.GetAdapter();
        const DisplayModeRecord current = adapter.GetCurrentMode();
        EXPECT_GT(current.width, 0u);
        EXPECT_TRUE(adapter.GetDisplayModes().CanSet(adapter.GetDisplayModes().FindBestMode(current)));
        EXPECT_TRUE(adapter.GetWGLExtensions().empty());
        EXPECT_FALSE(adapter.IsDisplayModeChanged());

        // Leaving full screen when nothing was switched does nothing.
        PAL::Window window(32, 32);
        EXPECT_TRUE(holder.GetAdapter().SetFullScreen(false, window));
        EXPECT_FALSE(adapter.IsDisplayModeChanged());
        EXPECT_FALSE(window.IsFullScreen());
    }
    // The last holder took the adapter with it: the next one is new.
    const Core::RefPtr<Renderer::Adapter> next = Renderer::Adapter::GetInstance();
    EXPECT_EQ(next->GetReferenceCount(), 1u);
}

} // namespace
