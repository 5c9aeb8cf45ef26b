#include "core/Core_Assert.h"

#include <gtest/gtest.h>

namespace
{

#if ENGINE_ASSERTS_ENABLED

TEST(AssertDeathTest, AFailedAssertionNamesFileLineAndConditionAndAborts)
{
    const int rows = 3;
    EXPECT_DEATH(ENGINE_ASSERT(rows < 2 && "row past the window"),
                 "AssertTest\\.cpp:[0-9]+: assertion failed: rows < 2 && \"row past the window\"");
}

TEST(Assert, AHoldingAssertionEvaluatesItsConditionOnce)
{
    int evaluations = 0;
    ENGINE_ASSERT(++evaluations == 1);
    EXPECT_EQ(evaluations, 1);
}

#else

TEST(Assert, ReleaseBuildsDoNotEvaluateTheCondition)
{
    int evaluations = 0;
    ENGINE_ASSERT(++evaluations == 5);
    EXPECT_EQ(evaluations, 0);
}

#endif

} // namespace
