#include "BenchRatio.h"
#include "bench_physics_scenes.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_ODESolver.h"
#include "physics/Physics_RigidBody.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <string>
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

// A whole scene of 600 steps per iteration, built outside the timing; the
// time per step is the iteration time / 600.
template <class Make> void RunScene(benchmark::State& state, Make make)
{
    for (auto _ : state)
    {
        state.PauseTiming();
        std::unique_ptr<bench::World> world = make();
        state.ResumeTiming();
        for (int step = 0; step < bench::Steps; ++step)
        {
            world->Step();
        }
        state.PauseTiming();
        world.reset();
        state.ResumeTiming();
    }
    state.counters["us_per_step"] =
        benchmark::Counter(static_cast<double>(bench::Steps),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_OurPile(benchmark::State& state)
{
    RunScene(state, [&] { return bench::MakeOurPile(static_cast<int>(state.range(0))); });
}
void BM_Box2DPile(benchmark::State& state)
{
    RunScene(state, [&] { return bench::MakeBox2DPile(static_cast<int>(state.range(0))); });
}
void BM_OurChain(benchmark::State& state)
{
    RunScene(state, [] { return bench::MakeOurChain(); });
}
void BM_Box2DChain(benchmark::State& state)
{
    RunScene(state, [] { return bench::MakeBox2DChain(); });
}
void BM_OurStack(benchmark::State& state)
{
    RunScene(state, [&] { return bench::MakeOurStack(static_cast<int>(state.range(0))); });
}
void BM_Box2DStack(benchmark::State& state)
{
    RunScene(state, [&] { return bench::MakeBox2DStack(static_cast<int>(state.range(0))); });
}

constexpr int PileSizes[] = {50, 200, 1000};
constexpr int StackSizes[] = {10, 20};
BENCHMARK(BM_OurPile)->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Box2DPile)->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Box2DChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurStack)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Box2DStack)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

// The quality column: the worst figure over the run beside Box2D's, and
// whether ours matches or beats it, both engines warm started. Ours at the
// solver's default (no warm start) follows for reference. A stack stands
// while its top box stays within 0.05 box widths of where it started,
// sideways.
void PrintQuality(const std::string& scene, const char* what,
                  const std::function<std::unique_ptr<bench::World>(bool warmStart)>& ours,
                  std::unique_ptr<bench::World> box2d, bool stack = false)
{
    const bench::Figures a = bench::Measure(*ours(true));
    const bench::Figures b = bench::Measure(*box2d);
    const bench::Figures cold = bench::Measure(*ours(false));
    constexpr float StandingDrift = 0.05f;
    const auto standing = [](const bench::Figures& f) { return f.worst < StandingDrift ? "yes" : "no"; };
    std::printf("quality %s: %s ours %.4f, Box2D %.4f (%s)", scene.c_str(), what, a.worst, b.worst,
                a.worst <= b.worst ? "ours as good or better" : "ours worse");
    if (stack)
    {
        std::printf("; standing ours %s, Box2D %s (%s)", standing(a), standing(b),
                    a.worst < StandingDrift || b.worst >= StandingDrift ? "ours as good or better"
                                                                        : "ours worse");
    }
    std::printf("; energy drift ours %+.2f%%, Box2D %+.2f%%", 100.0f * a.energyDrift, 100.0f * b.energyDrift);
    std::printf("; ours without warm start %.4f%s%s\n", cold.worst, stack ? ", standing " : "",
                stack ? standing(cold) : "");
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    for (const int size : PileSizes)
    {
        const std::string arg = std::to_string(size);
        reporter.Compare("step time, pile of " + arg + " circles, ours / Box2D", "BM_OurPile/" + arg,
                         "BM_Box2DPile/" + arg);
    }
    reporter.Compare("step time, chain of 50 nail joints, ours / Box2D", "BM_OurChain", "BM_Box2DChain");
    for (const int size : StackSizes)
    {
        const std::string arg = std::to_string(size);
        reporter.Compare("step time, stack of " + arg + " boxes, ours / Box2D", "BM_OurStack/" + arg,
                         "BM_Box2DStack/" + arg);
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    // The same scenes again, untimed, for their accuracy over 600 steps.
    for (const int size : PileSizes)
    {
        PrintQuality(
            "pile of " + std::to_string(size) + " circles", "largest penetration",
            [size](bool warm) { return bench::MakeOurPile(size, warm); }, bench::MakeBox2DPile(size));
    }
    PrintQuality(
        "chain of 50 nail joints", "largest joint gap", [](bool warm) { return bench::MakeOurChain(warm); },
        bench::MakeBox2DChain());
    for (const int size : StackSizes)
    {
        PrintQuality(
            "stack of " + std::to_string(size) + " boxes", "largest sideways drift of the top box",
            [size](bool warm) { return bench::MakeOurStack(size, warm); }, bench::MakeBox2DStack(size), true);
    }
    benchmark::Shutdown();
    return 0;
}
