#pragma once

// Matched scenes in our engine and in Box2D for the step benchmarks: a pile
// of circles falling into a box, and a chain of nailed links swinging from a
// fixed point. Both engines get the same bodies, masses, coefficients, step
// and iteration counts.

#include <cstdint>
#include <memory>

namespace bench
{

inline constexpr float StepTime = 1.0f / 60.0f;
inline constexpr int Steps = 600;
inline constexpr int Iterations = 10;
inline constexpr float Radius = 0.5f;
inline constexpr int ChainLinks = 50;

// What a run leaves for the report: the deepest overlap (for the chain, the
// widest gap at a joint) seen after any step, and the energy at the end
// against the start, as a fraction of the start.
struct Figures
{
    float penetration = 0.0f;
    float energyDrift = 0.0f;
};

class World
{
public:
    virtual ~World() = default;
    virtual void Step() = 0;
    // Measured after a step; not part of the timed work.
    virtual float Penetration() const = 0;
    virtual float Energy() const = 0;
};

std::unique_ptr<World> MakeOurPile(int circles);
std::unique_ptr<World> MakeBox2DPile(int circles);
std::unique_ptr<World> MakeOurChain();
std::unique_ptr<World> MakeBox2DChain();

Figures Measure(World& world);

} // namespace bench
