#pragma once

// Matched scenes in our engine and in Box2D for the step benchmarks and the
// physics tests: a pile of circles falling into a box, a chain of nailed
// links swinging from a fixed point, and a stack of boxes. Both engines get
// the same bodies, masses, coefficients, step and iteration counts (our
// solver's default sweep count), and both warm start as Box2D always does;
// our solver's default, no warm start, is asked for with warmStart false.

#include <cstdint>
#include <memory>

namespace bench
{

inline constexpr float StepTime = 1.0f / 60.0f;
inline constexpr int Steps = 600;
// Our solver's default sweep count, and Box2D's velocity and position
// iterations.
inline constexpr int Iterations = 75;
inline constexpr float Radius = 0.5f;
inline constexpr int ChainLinks = 50;

// What a run leaves for the report: the worst of the scene's quality figure
// seen after any step, the energy at the end against the start (as a
// fraction of the start), and the largest and the last kinetic energy.
struct Figures
{
    float worst = 0.0f;
    float energyDrift = 0.0f;
    float peakKinetic = 0.0f;
    float finalKinetic = 0.0f;
};

class World
{
public:
    virtual ~World() = default;
    virtual void Step() = 0;
    // Measured after a step; not part of the timed work. Lower is better:
    // for a pile the deepest overlap, for a chain the widest gap at a joint,
    // for a stack how far the top box has moved sideways.
    virtual float Quality() const = 0;
    // Kinetic plus potential energy (above the scene's floor).
    virtual float Energy() const = 0;
    virtual float KineticEnergy() const = 0;
    // FNV-1a over the bits of every body's position, orientation, velocity
    // and spin, in body order: equal states, equal sums. Ours only; Box2D's
    // worlds answer 0.
    virtual std::uint64_t StateChecksum() const { return 0; }
};

std::unique_ptr<World> MakeOurPile(int circles, bool warmStart = true);
std::unique_ptr<World> MakeBox2DPile(int circles);
std::unique_ptr<World> MakeOurChain(bool warmStart = true);
std::unique_ptr<World> MakeBox2DChain();
std::unique_ptr<World> MakeOurStack(int boxes, bool warmStart = true);
std::unique_ptr<World> MakeBox2DStack(int boxes);

// Runs the scene for `steps` steps.
Figures Measure(World& world, int steps = Steps);

} // namespace bench
