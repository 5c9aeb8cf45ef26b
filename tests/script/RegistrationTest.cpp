#include "core/Core_ClassRegistry.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

TEST(Registration, EveryRegisteredNameCreatesAnObjectOfThatName)
{
    const std::vector<std::string> names = Core::ClassRegistry::GetClassNames();
    ASSERT_FALSE(names.empty());
    RecordProperty("classes", static_cast<int>(names.size()));
    EXPECT_NE(std::find(names.begin(), names.end(), "Object"), names.end());
    for (const std::string& name : names)
    {
        Core::RefPtr<> object(Core::CreateObject(name));
        ASSERT_TRUE(object) << name;
        EXPECT_EQ(object->GetClassName(), name);
    }
}

} // namespace
