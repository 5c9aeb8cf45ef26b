// Physics worlds: a failed read changes nothing; a world that reads writes
// back bytes that read again, and stepping it never turns a body into NaN.

#include "fuzz/Fuzz_Support.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_PhysicsEngine.h"
#include "physics/Physics_RigidBody.h"
#include "physics/Physics_Simulation.h"

#include <cmath>

namespace
{

using namespace Physics2D;

// Class-wide values a read world sets; restored after each input so that
// inputs do not depend on each other.
struct ClassWideValues
{
    ClassWideValues()
        : scale(Simulation::scale), epsilon(Simulation::epsilon), plusInfinity(Simulation::plusInfinity),
          step(Simulation::step), inverseStep(Simulation::inverseStep), maximumStep(Simulation::maximumStep),
          staticBody(Simulation::staticBody), spinLimit(RigidBody::GetMaximumAngularVelocity()),
          phase(Joint::PositionCorrectionPhase)
    {
    }
    ~ClassWideValues()
    {
        Simulation::scale = scale;
        Simulation::epsilon = epsilon;
        Simulation::plusInfinity = plusInfinity;
        Simulation::step = step;
        Simulation::inverseStep = inverseStep;
        Simulation::maximumStep = maximumStep;
        Simulation::staticBody = staticBody;
        RigidBody::SetMaximumAngularVelocity(spinLimit);
        Joint::PositionCorrectionPhase = phase;
    }
    float scale, epsilon, plusInfinity, step, inverseStep, maximumStep;
    RigidBody* staticBody;
    float spinLimit;
    std::uint8_t phase;
};

bool IsNaN(const RigidBody& body)
{
    const Math::Vector2D position = body.GetPosition();
    const Math::Vector2D velocity = body.GetVelocity();
    return std::isnan(position.x) || std::isnan(position.y) || std::isnan(velocity.x) || std::isnan(velocity.y) ||
           std::isnan(body.GetOrientation()) || std::isnan(body.GetAngularVelocity());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ClassWideValues saved;
    const Core::RefPtr<PhysicsEngine> engine(new PhysicsEngine());
    const auto written = [&] { return Fuzz::WrittenBytes([&](Core::File& file) { engine->Write(file); }); };
    const Fuzz::Bytes before = written();
    const float spinLimit = RigidBody::GetMaximumAngularVelocity();
    const std::uint8_t phase = Joint::PositionCorrectionPhase;
    bool sound = false;
    {
        Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
        engine->Read(file);
        sound = !file.Failed();
    }
    if (!sound)
    {
        Fuzz::Require(written() == before, "a failed world read changes nothing");
        Fuzz::Require(RigidBody::GetMaximumAngularVelocity() == spinLimit && Joint::PositionCorrectionPhase == phase,
                      "a failed world read changes no class-wide value");
        return 0;
    }
    {
        const Fuzz::Bytes again = written();
        Core::MemoryFile file(again.data(), static_cast<std::uint32_t>(again.size()));
        const Core::RefPtr<PhysicsEngine> reread(new PhysicsEngine());
        reread->Read(file);
        Fuzz::Require(!file.Failed(), "a world that read writes back bytes that read again");
    }
    Simulation::staticBody = engine->GetGroundBody();
    for (int frame = 0; frame < 3; ++frame)
    {
        engine->Update(1.0f / 60.0f);
        engine->PostCollisionUpdate(1.0f / 60.0f);
        for (const Core::RefPtr<RigidBody>& body : engine->GetRigidBodies())
        {
            Fuzz::Require(!body || !IsNaN(*body), "a step never turns a read body into NaN");
        }
    }
    return 0;
}
