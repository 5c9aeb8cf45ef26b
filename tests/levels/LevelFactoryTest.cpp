#include "core/Core_RefPtr.h"
#include "levels/Brillow_MyLevelFactory.h"

#include <gtest/gtest.h>

namespace
{

TEST(LevelFactory, KnowsNineLevelsByExactName)
{
    Core::RefPtr<MyLevelFactory> factory(new MyLevelFactory());
    EXPECT_EQ(factory->GetLevelCount(), 9u);
    const std::pair<const char*, std::uint32_t> known[] = {
        {"level0", 0},  {"level1", 1},  {"Lose", 2},    {"WIN", 3},       {"TutorialLevel", 4},
        {"Credits", 5}, {"Loading", 6}, {"Options", 7}, {"copy0Lose", 8},
    };
    for (const auto& [name, index] : known)
    {
        std::uint32_t found = 99;
        EXPECT_TRUE(factory->GetLevelIndex(name, found)) << name;
        EXPECT_EQ(found, index) << name;
    }
    for (const char* name : {"Level1", "level1 ", "copy1Lose", "", "win"})
    {
        std::uint32_t untouched = 77;
        EXPECT_FALSE(factory->GetLevelIndex(name, untouched)) << name;
        EXPECT_EQ(untouched, 77u) << name;
    }
}

} // namespace
