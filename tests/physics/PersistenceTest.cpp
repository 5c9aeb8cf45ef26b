#include "core/Core_MemoryFile.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_ODESolver.h"
#include "physics/Physics_RigidBody.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

using namespace Physics2D;
using Math::Vector2D;
using Bytes = std::vector<std::uint8_t>;

void Oscillator(float, const std::vector<float>& s, std::vector<float>& d, void*)
{
    const float x = s[0];
    d[0] = s[1];
    d[1] = -x;
}

Bytes Archive(Core::Object* object)
{
    Core::MemoryFile file;
    file.WriteObject(object);
    return file.GetBuffer();
}

Bytes Record(const RigidBody& body)
{
    Core::MemoryFile file;
    body.Write(file);
    return file.GetBuffer();
}

// A body with every part of its record in use: mass properties with an
// off-centre centre of mass, forces with an empty slot, velocities, a turned
// position and Runge-Kutta integrators that have stepped.
Core::RefPtr<RigidBody> BusyBody()
{
    Core::RefPtr<RigidBody> body = new RigidBody(MassProperties(3.0f, 0.75f, {0.25f, -0.5f}),
                                                 RigidBody::RungeKutta, nullptr, nullptr, nullptr);
    body->SetPosition({4.0f, -2.0f});
    body->SetOrientation(33.0f);
    body->SetVelocity({1.5f, 0.5f});
    body->SetAngularVelocity(45.0f);
    body->AddForce(new ConstantForce({4.0f, -1.0f}, {0.0f, 2.0f}, 0.0f, ConstantForce::ModeForceAtPoint));
    body->AddForce(new GravityForce({0.0f, -1.0f}, 9.8f));
    body->AddForce(new DragForce(0.5f, 0.01f, 30.0f));
    body->AddForce(new ConstantForce({}, {1.0f, 0.0f}, 0.0f, ConstantForce::ModeTorque));
    body->RemoveForce(1);
    body->RemoveForce(3);
    for (int i = 0; i < 5; ++i)
    {
        body->AccumulateForces(0.02f);
        body->Integrate(0.02f);
    }
    return body;
}

TEST(PersistenceTest, EveryStorableClassIsCreatedByItsName)
{
    for (const char* name : {"Physics2D::RigidBody", "Physics2D::ConstantForce", "Physics2D::GravityForce",
                             "Physics2D::DragForce", "Physics2D::ODESolverEuler", "Physics2D::ODESolverHeun",
                             "Physics2D::ODESolverRungeKuttaN4"})
    {
        SCOPED_TRACE(name);
        Core::RefPtr<Core::Object> object = Core::CreateObject(name);
        ASSERT_TRUE(object);
        EXPECT_STREQ(object->GetClassName(), name);
    }
    Core::RefPtr<GravityForce> gravity =
        static_cast<GravityForce*>(Core::CreateObject("Physics2D::GravityForce"));
    EXPECT_EQ(gravity->GetDirection(), Vector2D(0.0f, -1.0f));
    EXPECT_EQ(gravity->GetMagnitude(), 9.8f);
    Core::RefPtr<ConstantForce> constant =
        static_cast<ConstantForce*>(Core::CreateObject("Physics2D::ConstantForce"));
    EXPECT_EQ(constant->GetMode(), std::uint32_t{ConstantForce::ModeForce});
}

TEST(PersistenceTest, EveryRecordRoundTripsByteForByte)
{
    std::vector<Core::RefPtr<Core::Object>> objects;
    for (Core::RefPtr<ODESolver> solver :
         {Core::RefPtr<ODESolver>(new ODESolverEuler(&Oscillator, {1.0f, 0.0f}, nullptr)),
          Core::RefPtr<ODESolver>(new ODESolverHeun(&Oscillator, {1.0f, 0.0f}, nullptr)),
          Core::RefPtr<ODESolver>(new ODESolverRungeKuttaN4(&Oscillator, {1.0f, 0.0f}, nullptr))})
    {
        solver->Step(0.1f);
        solver->Step(0.1f);
        objects.emplace_back(solver.Get());
    }
    Core::RefPtr<RigidBody> body = BusyBody();
    objects.emplace_back(body.Get());
    for (std::uint32_t id = 0; id < body->GetForces().GetSlotCount(); ++id)
    {
        if (Force* force = body->GetForces().GetForce(id))
        {
            objects.emplace_back(force);
        }
    }
    objects.emplace_back(
        new RigidBody(MassProperties(1.0f, 0.0f, {}), RigidBody::None, nullptr, nullptr, nullptr));

    for (const Core::RefPtr<Core::Object>& object : objects)
    {
        SCOPED_TRACE(object->GetClassName());
        const Bytes written = Archive(object.Get());
        Core::MemoryFile file(written.data(), static_cast<std::uint32_t>(written.size()));
        Core::RefPtr<Core::Object> read = file.ReadObject();
        ASSERT_FALSE(file.Failed()) << Core::GetFileErrorText(file.GetError());
        EXPECT_EQ(file.GetBytesLeft(), 0u);
        ASSERT_TRUE(read);
        EXPECT_EQ(Archive(read.Get()), written);
    }
}

TEST(PersistenceTest, ReadBodyCarriesOnAsTheOriginal)
{
    Core::RefPtr<RigidBody> original = BusyBody();
    RigidBody::SetMaximumAngularVelocity(3.0f);
    const Bytes written = Archive(original.Get());
    RigidBody::SetMaximumAngularVelocity(6.2831855f);

    Core::MemoryFile file(written.data(), static_cast<std::uint32_t>(written.size()));
    Core::RefPtr<RigidBody> read = dynamic_cast<RigidBody*>(file.ReadObject());
    ASSERT_TRUE(read);
    // The limit travels with every body.
    EXPECT_EQ(RigidBody::GetMaximumAngularVelocity(), 3.0f);
    RigidBody::SetMaximumAngularVelocity(6.2831855f);

    // The mode of a constant force comes back with it.
    const auto* atPoint = dynamic_cast<const ConstantForce*>(read->GetForces().GetForce(0));
    ASSERT_NE(atPoint, nullptr);
    EXPECT_EQ(atPoint->GetMode(), std::uint32_t{ConstantForce::ModeForceAtPoint});
    EXPECT_EQ(read->GetForces().GetFreeIds(), original->GetForces().GetFreeIds());

    // The integrators drive the read body, and its forces act on it: the drag
    // follows the body's velocity, the point force its turning.
    for (int i = 0; i < 20; ++i)
    {
        for (RigidBody* body : {original.Get(), read.Get()})
        {
            body->AccumulateForces(0.02f);
            body->Integrate(0.02f);
        }
        ASSERT_EQ(read->GetForce(), original->GetForce());
        ASSERT_EQ(read->GetTorque(), original->GetTorque());
    }
    EXPECT_EQ(read->GetPosition(), original->GetPosition());
    EXPECT_EQ(read->GetOrientationRadians(), original->GetOrientationRadians());
    EXPECT_EQ(read->GetVelocity(), original->GetVelocity());
    EXPECT_EQ(read->GetForces().GetForce(2)->GetBody(), read.Get());
}

TEST(PersistenceTest, TruncatedBodyRecordChangesNothing)
{
    const Bytes record = Record(*BusyBody());
    Core::RefPtr<RigidBody> target =
        new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Heun, nullptr, nullptr, nullptr);
    target->AddForce(new DragForce(1.0f, 1.0f));
    target->SetPosition({7.0f, 8.0f});
    const Bytes before = Record(*target);
    for (std::uint32_t length = 0; length < record.size(); ++length)
    {
        Core::MemoryFile file(record.data(), length);
        target->Read(file);
        ASSERT_TRUE(file.Failed()) << length;
        ASSERT_EQ(Record(*target), before) << length;
    }
    EXPECT_EQ(target->GetForces().GetForce(0)->GetBody(), target.Get());
}

// A body record with `integrators` written in place of the body's own two.
Bytes WithIntegrators(const std::vector<ODESolver*>& integrators)
{
    Core::RefPtr<RigidBody> body =
        new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::None, nullptr, nullptr, nullptr);
    Core::MemoryFile file;
    body->Write(file);
    Bytes bytes = file.GetBuffer();
    bytes.resize(bytes.size() - 2); // the two absent-object bytes
    Core::MemoryFile tail;
    for (ODESolver* integrator : integrators)
    {
        tail.WriteObject(integrator);
    }
    bytes.insert(bytes.end(), tail.GetBuffer().begin(), tail.GetBuffer().end());
    return bytes;
}

TEST(PersistenceTest, InconsistentRecordsAreRefused)
{
    // Body record: 24 bytes of mass properties, then the forces: the free-id
    // count and the free ids.
    Core::RefPtr<RigidBody> threeForces =
        new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
    for (int i = 0; i < 3; ++i)
    {
        threeForces->AddForce(new ConstantForce());
    }
    threeForces->RemoveForce(1);
    const Bytes valid = Record(*threeForces);
    const auto withFreeId = [&](std::uint32_t id)
    {
        Bytes bytes = valid;
        std::memcpy(bytes.data() + 28, &id, 4);
        return bytes;
    };

    Core::RefPtr<ODESolver> shortA = new ODESolverEuler(nullptr, {0.0f, 0.0f}, nullptr);
    Core::RefPtr<ODESolver> shortB = new ODESolverEuler(nullptr, {0.0f, 0.0f}, nullptr);
    Core::RefPtr<ODESolver> one = new ODESolverEuler(nullptr, {0.0f, 0.0f, 0.0f}, nullptr);
    const struct
    {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"free id of a live slot", withFreeId(0)},
        {"free id past the slots", withFreeId(3)},
        {"integrators of two values", WithIntegrators({shortA.Get(), shortB.Get()})},
        {"one integrator for both", WithIntegrators({one.Get(), one.Get()})},
        {"one integrator only", WithIntegrators({one.Get(), nullptr})},
    };
    EXPECT_EQ(withFreeId(1), valid);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        Core::RefPtr<RigidBody> target =
            new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
        const Bytes before = Record(*target);
        Core::MemoryFile file(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        target->Read(file);
        EXPECT_EQ(file.GetError(), Core::FileError::BadData);
        EXPECT_EQ(Record(*target), before);
    }

    // A Heun record whose predicted state is longer than the state.
    Core::MemoryFile heun;
    heun << std::uint32_t{1} << 1.0f << std::uint32_t{1} << 0.0f << 0.0f << std::uint32_t{3} << 0.0f << 0.0f
         << 0.0f;
    Core::RefPtr<ODESolver> solver = new ODESolverHeun();
    solver->Read(heun);
    EXPECT_EQ(heun.GetError(), Core::FileError::BadData);
    EXPECT_TRUE(solver->GetState().empty());

    // A force count far beyond the bytes that follow.
    Core::RefPtr<RigidBody> target =
        new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
    const Bytes massProperties(24, 0);
    Core::MemoryFile file;
    file.Write(massProperties.data(), 24);
    file << std::uint32_t{0} << std::uint32_t{0x10000000u};
    Core::MemoryFile reader(file.GetData(), file.GetSize());
    target->Read(reader);
    EXPECT_EQ(reader.GetError(), Core::FileError::ShortRead);
}

} // namespace
