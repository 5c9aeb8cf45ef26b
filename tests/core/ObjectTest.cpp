#include "core/Core_ClassRegistry.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

// Counts destructions so tests can see "exactly once".
class Probe : public Core::Object
{
    CORE_DECLARE_OBJECT(Probe)
public:
    Probe() = default;
    Probe(const Probe&) = default;
    ~Probe() override { ++destroyed; }
    static inline int destroyed = 0;
};

CORE_DEFINE_OBJECT(Probe, "Test::Probe", "Object", "ObjectTest", __LINE__)

TEST(Object, CopyStartsWithoutReferences)
{
    Core::RefPtr<Probe> a(new Probe());
    Core::RefPtr<Probe> b = a;
    ASSERT_EQ(a->GetReferenceCount(), 2u);
    Probe copy(*a);
    EXPECT_EQ(copy.GetReferenceCount(), 0u);
    Core::RefPtr<> clone(a->Clone());
    EXPECT_EQ(clone->GetReferenceCount(), 1u);
    EXPECT_STREQ(clone->GetClassName(), "Test::Probe");
}

TEST(Object, LastReleaseDestroysOnce)
{
    Probe::destroyed = 0;
    {
        Core::RefPtr<Probe> a(new Probe());
        Core::RefPtr<Probe> b(a);
        Core::RefPtr<Probe> none;
        none.Reset();
        a.Reset();
        EXPECT_EQ(Probe::destroyed, 0);
    }
    EXPECT_EQ(Probe::destroyed, 1);
}

TEST(Object, SelfAssignmentChangesNothing)
{
    Probe::destroyed = 0;
    Core::RefPtr<Probe> a(new Probe());
    Core::RefPtr<Probe>& alias = a;
    a = alias;
    a = a.Get();
    EXPECT_EQ(a->GetReferenceCount(), 1u);
    EXPECT_EQ(Probe::destroyed, 0);
}

TEST(Object, AssignmentTakesNewBeforeReleasingOld)
{
    Probe::destroyed = 0;
    Core::RefPtr<Probe> a(new Probe());
    Core::RefPtr<Probe> b(new Probe());
    a = b;
    EXPECT_EQ(Probe::destroyed, 1);
    EXPECT_EQ(b->GetReferenceCount(), 2u);
}

TEST(Object, LiveObjectCountFollowsConstructionAndDestruction)
{
    const std::int32_t before = Core::GetLiveObjectCount();
    {
        Core::RefPtr<> a(Core::CreateObject("Object"));
        Core::RefPtr<> b(a->Clone());
        EXPECT_EQ(Core::GetLiveObjectCount(), before + 2);
    }
    EXPECT_EQ(Core::GetLiveObjectCount(), before);
}

TEST(ClassRegistry, CreatesRegisteredClassesByName)
{
    Core::Object* object = Core::CreateObject("Object");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetReferenceCount(), 0u);
    EXPECT_STREQ(object->GetClassName(), "Object");
    EXPECT_EQ(object->GetSize(), sizeof(Core::Object));
    Core::RefPtr<> owner(object);

    EXPECT_EQ(Core::CreateObject("NoSuchClass"), nullptr);
    EXPECT_EQ(Core::CreateObject(""), nullptr);
    Core::RefPtr<> probe(Core::CreateObject("Test::Probe"));
    ASSERT_TRUE(probe);
    EXPECT_NE(dynamic_cast<Probe*>(probe.Get()), nullptr);
}

TEST(ClassRegistry, EveryRegisteredNameIsItsClassName)
{
    for (const std::string& name : Core::ClassRegistry::GetClassNames())
    {
        Core::RefPtr<> object(Core::CreateObject(name));
        ASSERT_TRUE(object) << name;
        EXPECT_EQ(name, object->GetClassName());
    }
}

TEST(ClassRegistry, LookupIsByteWise)
{
    // Registered names are compared as strings, not as pointers.
    char copy[16];
    std::strcpy(copy, "Object");
    EXPECT_NE(Core::ClassRegistry::Find(copy), nullptr);
    EXPECT_EQ(Core::ClassRegistry::Find("Obj"), nullptr);
    EXPECT_EQ(Core::ClassRegistry::Find("Objects"), nullptr);
    EXPECT_EQ(Core::ClassRegistry::Find(nullptr), nullptr);
}

} // namespace
