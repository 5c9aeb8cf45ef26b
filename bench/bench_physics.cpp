#include "physics/Physics_Force.h"
#include "physics/Physics_ODESolver.h"
#include "physics/Physics_RigidBody.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

using namespace Physics2D;

const char* KindName(std::int64_t kind)
{
    return kind == RigidBody::Heun ? "Heun" : kind == RigidBody::RungeKutta ? "RungeKutta" : "Euler";
}

// x'' = -x on three coordinates, as (x0, x1, v): the size of a body's state.
void Oscillator(float, const std::vector<float>& s, std::vector<float>& d, void*)
{
    const float x0 = s[0];
    const float v = s[2];
    d[0] = v;
    d[1] = v;
    d[2] = -x0;
}

Core::RefPtr<ODESolver> MakeSolver(std::int64_t kind)
{
    const std::vector<float> state{1.0f, 0.0f, 0.0f};
    switch (kind)
    {
    case RigidBody::Heun:
        return new ODESolverHeun(&Oscillator, state, nullptr);
    case RigidBody::RungeKutta:
        return new ODESolverRungeKuttaN4(&Oscillator, state, nullptr);
    default:
        return new ODESolverEuler(&Oscillator, state, nullptr);
    }
}

// One step of a bare integrator over three values.
void BM_SolverStep(benchmark::State& state)
{
    Core::RefPtr<ODESolver> solver = MakeSolver(state.range(0));
    for (auto _ : state)
    {
        solver->Step(0.01f);
        benchmark::DoNotOptimize(solver->GetState().data());
    }
    state.SetLabel(KindName(state.range(0)));
}

// One body step as the engine runs it: sum the forces (gravity and drag),
// then integrate velocity and position and rebuild the transform.
void BM_BodyStep(benchmark::State& state)
{
    Core::RefPtr<RigidBody> body =
        new RigidBody(MassProperties(2.0f, 0.5f, {0.1f, 0.0f}), static_cast<std::uint32_t>(state.range(0)),
                      nullptr, nullptr, nullptr);
    body->AddForce(new GravityForce({0.0f, -1.0f}, 9.8f));
    body->AddForce(new DragForce(0.1f, 0.01f));
    body->SetVelocity({3.0f, 4.0f});
    body->SetAngularVelocity(90.0f);
    for (auto _ : state)
    {
        body->AccumulateForces(0.016f);
        body->Integrate(0.016f);
        benchmark::DoNotOptimize(body->GetPosition());
    }
    state.SetLabel(KindName(state.range(0)));
}

BENCHMARK(BM_SolverStep)->Arg(RigidBody::Euler)->Arg(RigidBody::Heun)->Arg(RigidBody::RungeKutta);
BENCHMARK(BM_BodyStep)->Arg(RigidBody::Euler)->Arg(RigidBody::Heun)->Arg(RigidBody::RungeKutta);

} // namespace

BENCHMARK_MAIN();
