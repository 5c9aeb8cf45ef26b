#include "core/Core_ClassRegistry.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

void ExpectCreatesItself(const std::string& name)
{
    Core::RefPtr<> object(Core::CreateObject(name));
    ASSERT_TRUE(object) << name;
    EXPECT_EQ(object->GetClassName(), name);
}

TEST(Registration, EveryRegisteredNameCreatesAnObjectOfThatName)
{
    const std::vector<std::string> names = Core::ClassRegistry::GetClassNames();
    ASSERT_FALSE(names.empty());
    RecordProperty("classes", static_cast<int>(names.size()));
    for (const std::string& name : names)
    {
        ExpectCreatesItself(name);
    }
}

// A registrar is a static object nothing refers to: a module linked without
// its whole archive loses it silently, and then only a list of the names
// that must be there notices. Each module adds its classes here as they
// are built.
TEST(Registration, TheClassesBuiltSoFarAreRegistered)
{
    const char* const expected[] = {
        "Object",
        // engine
        "Engine::Node",
        "Engine::TransformationGroup",
        "Engine::Group",
        "Engine::Text",
        "Engine::SpriteAnimation",
        "Engine::Sprite",
        // physics
        "Physics2D::PhysicsEngine",
        "Physics2D::RigidBody",
        "Physics2D::JointNail",
        "Physics2D::JointHinge",
        "Physics2D::JointSpring",
        "Physics2D::JointSlider",
        "Physics2D::JointFixed",
        "Physics2D::JointAngularMotor",
        "Physics2D::Contact",
        "Physics2D::ConstantForce",
        "Physics2D::GravityForce",
        "Physics2D::DragForce",
        "Physics2D::ODESolverEuler",
        "Physics2D::ODESolverHeun",
        "Physics2D::ODESolverRungeKuttaN4",
        // framework
        "Velkor::Level",
        "Velkor::GameObject",
        "Velkor::Layer",
        "Velkor::Viewport",
        "Velkor::Camera",
        "Velkor::Sound",
        "Velkor::JukeBox",
        "Velkor::Playlist",
        "Velkor::Sprite",
        "Velkor::Text",
        "Velkor::Circle",
        "Velkor::Line",
        "Velkor::ParticleSystemBase",
        "Velkor::ParticleSystem",
        "Velkor::ParticleEmitter",
        "Velkor::PointEmitter",
        "Velkor::LineEmitter",
        "Velkor::CircleEmitter",
        "Velkor::DiskEmitter",
        "Velkor::RectangleEmitter",
        "Velkor::FilledRectangleEmitter",
    };
    for (const char* name : expected)
    {
        ExpectCreatesItself(name);
    }
}

} // namespace
