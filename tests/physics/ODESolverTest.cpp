#include "core/Core_RefPtr.h"
#include "physics/Physics_ODESolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

using Physics2D::DerivativeFunction;
using Physics2D::ODESolver;

enum class Kind
{
    Euler,
    Heun,
    RungeKutta
};

Core::RefPtr<ODESolver> Make(Kind kind, DerivativeFunction function, const std::vector<float>& state)
{
    switch (kind)
    {
    case Kind::Euler:
        return new Physics2D::ODESolverEuler(function, state, nullptr);
    case Kind::Heun:
        return new Physics2D::ODESolverHeun(function, state, nullptr);
    case Kind::RungeKutta:
        break;
    }
    return new Physics2D::ODESolverRungeKuttaN4(function, state, nullptr);
}

std::string Name(Kind kind)
{
    return kind == Kind::Euler ? "Euler" : kind == Kind::Heun ? "Heun" : "RungeKutta";
}

// f = (1, 2, 3) whatever the state.
void ConstantSlope(float, const std::vector<float>&, std::vector<float>& d, void*)
{
    d[0] = 1.0f;
    d[1] = 2.0f;
    d[2] = 3.0f;
}

// (x, v) under the constant acceleration 2.
void ConstantAcceleration(float, const std::vector<float>& s, std::vector<float>& d, void*)
{
    const float v = s[1];
    d[0] = v;
    d[1] = 2.0f;
}

// x'' = -x as (x, v). Reads both values before writing: the solvers hand in
// the same vector for state and result.
void Oscillator(float, const std::vector<float>& s, std::vector<float>& d, void*)
{
    const float x = s[0];
    const float v = s[1];
    d[0] = v;
    d[1] = -x;
}

// Distance from the exact oscillator (cos t, -sin t) after integrating to t = 10.
double OscillatorError(Kind kind, float h)
{
    Core::RefPtr<ODESolver> solver = Make(kind, &Oscillator, {1.0f, 0.0f});
    const int steps = static_cast<int>(std::lround(10.0 / h));
    for (int i = 0; i < steps; ++i)
    {
        solver->Step(h);
    }
    const double t = static_cast<double>(steps) * h;
    const std::vector<float>& y = solver->GetState();
    return std::hypot(y[0] - std::cos(t), y[1] + std::sin(t));
}

TEST(ODESolverTest, StateIndependentSlopeGivesTheEulerStepUpToTheRungeKuttaWeight)
{
    // One step of 0.5 from 0: Euler (0.5, 1, 1.5); Heun averages two equal
    // slopes; Runge-Kutta's weights sum to 6 x 0.166667 = 1.000002.
    const float rk = 0.5f * 0.166667f;
    const struct
    {
        Kind kind;
        std::vector<float> expected;
    } cases[] = {
        {Kind::Euler, {0.5f, 1.0f, 1.5f}},
        {Kind::Heun, {0.5f, 1.0f, 1.5f}},
        {Kind::RungeKutta, {6.0f * rk, 12.0f * rk, 18.0f * rk}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(Name(c.kind));
        Core::RefPtr<ODESolver> solver = Make(c.kind, &ConstantSlope, {0.0f, 0.0f, 0.0f});
        solver->Step(0.5f);
        EXPECT_EQ(solver->GetState(), c.expected);
        EXPECT_EQ(solver->GetTime(), 0.5f);
    }
}

TEST(ODESolverTest, ConstantAccelerationIsExactForHeunAndRungeKutta)
{
    // x = 3 + t + t^2, v = 1 + 2t; all values dyadic, so Heun is exact to the
    // bit. Runge-Kutta is exact up to its weight sum, 2e-6 relative per step.
    const float h = 0.25f;
    const int steps = 40;
    const float t = h * steps;
    const float x = 3.0f + t + t * t;
    const float v = 1.0f + 2.0f * t;

    Core::RefPtr<ODESolver> heun = Make(Kind::Heun, &ConstantAcceleration, {3.0f, 1.0f});
    Core::RefPtr<ODESolver> rk = Make(Kind::RungeKutta, &ConstantAcceleration, {3.0f, 1.0f});
    for (int i = 0; i < steps; ++i)
    {
        heun->Step(h);
        rk->Step(h);
    }
    EXPECT_EQ(heun->GetState()[0], x);
    EXPECT_EQ(heun->GetState()[1], v);
    EXPECT_NEAR(rk->GetState()[0], x, x * 1e-5f);
    EXPECT_NEAR(rk->GetState()[1], v, v * 1e-5f);

    // Euler is first order here: it misses h t / 2 x 2 in position.
    Core::RefPtr<ODESolver> euler = Make(Kind::Euler, &ConstantAcceleration, {3.0f, 1.0f});
    for (int i = 0; i < steps; ++i)
    {
        euler->Step(h);
    }
    EXPECT_EQ(euler->GetState()[1], v);
    EXPECT_FLOAT_EQ(euler->GetState()[0], x - h * t);
}

TEST(ODESolverTest, OscillatorErrorShrinksWithTheOrderOfEachKind)
{
    // Halving h divides the error after 10 s by 2^order.
    const struct
    {
        Kind kind;
        float h;
        double ratio;
    } cases[] = {
        {Kind::Euler, 0.01f, 2.0},
        {Kind::Heun, 0.1f, 4.0},
        {Kind::RungeKutta, 0.5f, 16.0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(Name(c.kind));
        const double coarse = OscillatorError(c.kind, c.h);
        const double fine = OscillatorError(c.kind, c.h * 0.5f);
        EXPECT_GT(fine, 0.0);
        EXPECT_NEAR(coarse / fine, c.ratio, c.ratio * 0.15);
    }
}

TEST(ODESolverTest, ZeroStepChangesNothing)
{
    for (const Kind kind : {Kind::Euler, Kind::Heun, Kind::RungeKutta})
    {
        SCOPED_TRACE(Name(kind));
        Core::RefPtr<ODESolver> solver = Make(kind, &Oscillator, {0.75f, -0.5f});
        solver->Step(0.125f);
        const std::vector<float> before = solver->GetState();
        solver->Step(0.0f);
        EXPECT_EQ(solver->GetState(), before);
        EXPECT_EQ(solver->GetTime(), 0.125f);
    }
}

TEST(ODESolverTest, SolverWithoutFunctionHoldsItsStateAndFollowsItsLength)
{
    // A solver made for reading has no function until its owner installs one;
    // stepping it, or one whose state the owner resized, stays in bounds.
    for (const Kind kind : {Kind::Euler, Kind::Heun, Kind::RungeKutta})
    {
        SCOPED_TRACE(Name(kind));
        Core::RefPtr<ODESolver> solver = Make(kind, nullptr, {1.0f, 2.0f});
        solver->GetState() = {1.0f, 2.0f, 3.0f, 4.0f};
        solver->Step(0.5f);
        EXPECT_EQ(solver->GetState(), (std::vector<float>{1.0f, 2.0f, 3.0f, 4.0f}));
        solver->SetDerivativeFunction(&ConstantSlope);
        solver->GetState() = {0.0f, 0.0f, 0.0f};
        solver->Step(0.5f);
        EXPECT_NEAR(solver->GetState()[2], 1.5f, 1e-5f);
    }
}

} // namespace
