#include "PhysicsScene.h"
#include "core/Core_MemoryFile.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_JointNail.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace
{

using namespace physics_test;
using Bytes = std::vector<std::uint8_t>;

Bytes Archive(Core::Object* object)
{
    Core::MemoryFile file;
    file.WriteObject(object);
    return file.GetBuffer();
}

// Bodies with two ids freed, joints to the ground and between bodies, and
// contacts from a few frames of settling on the ground.
struct BusyWorld
{
    BusyWorld()
    {
        for (int i = 0; i < 6; ++i)
        {
            scene.AddCircle({static_cast<float>(i), 0.6f}, 0.5f, 1.0f);
        }
        scene.Engine().RemoveRigidBody(2);
        scene.Engine().RemoveRigidBody(5);
        scene.Engine().AddJoint(0, 1, new JointNail({0.0f, 2.0f}, {0.0f, 2.0f}, 0.3f, 20.0f));
        scene.Engine().AddJoint(3, 4, new JointFixed());
        for (int frame = 0; frame < 5; ++frame)
        {
            scene.Step();
        }
    }
    Scene scene;
};

TEST(EnginePersistenceTest, EveryNewClassIsCreatedByItsName)
{
    for (const char* name : {"Physics2D::PhysicsEngine", "Physics2D::JointNail", "Physics2D::JointHinge",
                             "Physics2D::JointSpring", "Physics2D::JointSlider", "Physics2D::JointFixed",
                             "Physics2D::JointAngularMotor", "Physics2D::Contact"})
    {
        SCOPED_TRACE(name);
        Core::RefPtr<Core::Object> object = Core::CreateObject(name);
        ASSERT_TRUE(object);
        EXPECT_STREQ(object->GetClassName(), name);
    }
}

TEST(EnginePersistenceTest, WriteReadWriteIsByteIdenticalAndRestoresIdsAndTheStaticBody)
{
    BusyWorld world;
    PhysicsEngine& original = world.scene.Engine();
    ASSERT_FALSE(original.GetContacts().empty());
    ASSERT_FALSE(original.GetStepBodies().empty());
    const Bytes written = Archive(&original);

    Core::MemoryFile file(written.data(), static_cast<std::uint32_t>(written.size()));
    Core::RefPtr<PhysicsEngine> read = dynamic_cast<PhysicsEngine*>(file.ReadObject());
    ASSERT_FALSE(file.Failed()) << Core::GetFileErrorText(file.GetError());
    ASSERT_TRUE(read);
    EXPECT_EQ(file.GetBytesLeft(), 0u);
    EXPECT_EQ(Archive(read.Get()), written);

    EXPECT_EQ(read->GetFreeIds(), original.GetFreeIds());
    ASSERT_EQ(read->GetRigidBodies().size(), original.GetRigidBodies().size());
    for (std::uint32_t id = 1; id <= 6; ++id)
    {
        EXPECT_EQ(read->IsValidId(id), original.IsValidId(id)) << id;
    }
    EXPECT_EQ(read->GetRigidBody(4)->GetPosition(), original.GetRigidBody(4)->GetPosition());
    // Contacts are not stored.
    EXPECT_TRUE(read->GetContacts().empty());

    // The process-wide static body is the read engine's ground body, the one
    // its joints are bound to.
    EXPECT_EQ(PhysicsEngine::GetStaticBody(), read->GetGroundBody());
    ASSERT_EQ(read->GetJoints().size(), 2u);
    EXPECT_EQ(read->GetJoints()[0]->GetBody1(), read->GetGroundBody());
    EXPECT_EQ(read->GetJoints()[1]->GetBody1(), read->GetRigidBody(3).Get());

    // Free ids are reused in their old order.
    EXPECT_EQ(read->AddRigidBody(new RigidBody(MassProperties(1.0f, 1.0f, {}), 0, nullptr, nullptr, nullptr)),
              5u);
    EXPECT_EQ(read->AddRigidBody(new RigidBody(MassProperties(1.0f, 1.0f, {}), 0, nullptr, nullptr, nullptr)),
              2u);

    // The read world steps on.
    for (int frame = 0; frame < 5; ++frame)
    {
        read->Update(1.0f / 60.0f);
        read->PostCollisionUpdate(1.0f / 60.0f);
    }
    EXPECT_LT(read->GetRigidBody(1)->GetPosition().Length(), 100.0f);
}

TEST(EnginePersistenceTest, BadRecordsChangeNothing)
{
    const float spinLimit = RigidBody::GetMaximumAngularVelocity();
    BusyWorld world;
    // Class-wide values every body and joint record carries: a failed read
    // must leave them as they were.
    RigidBody::SetMaximumAngularVelocity(3.0f);
    Joint::PositionCorrectionPhase = 1;
    const Bytes written = Archive(&world.scene.Engine());
    RigidBody::SetMaximumAngularVelocity(6.0f);
    Joint::PositionCorrectionPhase = 0;
    // The engine's own record starts after its object header.
    const std::size_t header = 1 + 4 + std::string("Physics2D::PhysicsEngine").size() + 4;

    const auto readInto = [&](const Bytes& bytes, Core::FileError expected)
    {
        Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
        const std::uint32_t id =
            engine->AddRigidBody(new RigidBody(MassProperties(1.0f, 1.0f, {}), 0, nullptr, nullptr, nullptr));
        RigidBody* ground = engine->GetGroundBody();
        const float scale = PhysicsEngine::GetScale();
        Core::MemoryFile file(bytes.data() + header, static_cast<std::uint32_t>(bytes.size() - header));
        engine->Read(file);
        EXPECT_EQ(file.GetError(), expected);
        EXPECT_EQ(engine->GetGroundBody(), ground);
        EXPECT_EQ(PhysicsEngine::GetStaticBody(), ground);
        EXPECT_EQ(engine->GetRigidBodies().size(), 1u);
        EXPECT_TRUE(engine->IsValidId(id));
        EXPECT_TRUE(engine->GetJoints().empty());
        EXPECT_EQ(PhysicsEngine::GetScale(), scale);
        EXPECT_EQ(RigidBody::GetMaximumAngularVelocity(), 6.0f);
        EXPECT_EQ(Joint::PositionCorrectionPhase, 0);
    };

    for (std::size_t size = header; size < written.size(); size += 7)
    {
        SCOPED_TRACE(size);
        readInto(Bytes(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(size)),
                 Core::FileError::ShortRead);
    }

    // A free id that names a body: the first free id follows the tag and
    // the ground body's record.
    Core::MemoryFile probe;
    probe.WriteObject(world.scene.Engine().GetGroundBody());
    const std::size_t freeIds = header + 4 + probe.GetSize() + 4;
    Bytes occupied = written;
    ASSERT_EQ(occupied[freeIds], 5); // the most recently freed first
    occupied[freeIds] = 1;
    readInto(occupied, Core::FileError::BadData);

    // A scale that is no number: the scale is the fifth of the six closing floats.
    Bytes noScale = written;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(noScale.data() + noScale.size() - 8, &nan, sizeof nan);
    readInto(noScale, Core::FileError::BadData);

    // Worlds no step can simulate: each is refused as a whole.
    const std::pair<const char*, void (*)(PhysicsEngine&)> spoilers[] = {
        {"sweeps without end", [](PhysicsEngine& e) { e.GetSolver().SetAccuracy(0x7fffffff); }},
        {"negative mass",
         [](PhysicsEngine& e) { e.GetRigidBody(1)->SetMassProperties(MassProperties(-1.0f, 1.0f, {})); }},
        {"infinite force",
         [](PhysicsEngine& e) { e.GetRigidBody(1)->SetForce({std::numeric_limits<float>::infinity(), 0.0f}); }},
        {"joint value that is no number",
         [](PhysicsEngine& e) { e.GetJoints()[0]->SetCorrectionFactor(std::numeric_limits<float>::quiet_NaN()); }},
        {"infinite velocity",
         [](PhysicsEngine& e) { e.GetRigidBody(3)->SetVelocity({0.0f, std::numeric_limits<float>::infinity()}); }},
    };
    for (const auto& [what, spoil] : spoilers)
    {
        SCOPED_TRACE(what);
        BusyWorld spoilt;
        spoil(spoilt.scene.Engine());
        readInto(Archive(&spoilt.scene.Engine()), Core::FileError::BadData);
    }
    RigidBody::SetMaximumAngularVelocity(spinLimit);
}

} // namespace
