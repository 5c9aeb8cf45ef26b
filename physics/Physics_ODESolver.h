#pragma once

#include "core/Core_Object.h"

#include <cstdint>
#include <vector>

namespace Physics2D
{

// Fills `derivative` with dy/dt at (time, state). `state` and `derivative`
// may be the same vector: a function must read all it needs before it writes.
using DerivativeFunction = void (*)(float time, const std::vector<float>& state,
                                    std::vector<float>& derivative, void* userData);

// Advances a small state vector y(t) by one step h of dy/dt = f(t, y). All
// arithmetic, intermediate states included, is in 32-bit floats, so a step
// gives the same bits wherever it runs. Every auxiliary vector has the
// state's length; readers refuse records where they differ.
class ODESolver : public Core::Object
{
public:
    // A solver with no function and empty vectors, to be filled by Read.
    ODESolver();
    ODESolver(DerivativeFunction function, const std::vector<float>& initialState, void* userData);

    void SetDerivativeFunction(DerivativeFunction function) { function_ = function; }
    DerivativeFunction GetDerivativeFunction() const { return function_; }
    void SetUserData(void* userData) { userData_ = userData; }
    void* GetUserData() const { return userData_; }

    // The owner reads and overwrites the state between steps; should it change
    // the length, the scratch vectors follow at the next step.
    std::vector<float>& GetState() { return state_; }
    const std::vector<float>& GetState() const { return state_; }
    // Sum of all steps taken.
    float GetTime() const { return time_; }

    // Record: state, derivative (each a u32 count and that many f32), f32
    // time, then the kind's own vectors. The function and user data are not
    // stored; the owner installs them again after reading.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    virtual void Step(float h) = 0;

protected:
    // Evaluates f(time, in) into `out` when a function is installed; without
    // one the derivative is taken as zero.
    void Evaluate(float time, const std::vector<float>& in, std::vector<float>& out) const;

    // The kind's extra vectors, in their stored order.
    virtual std::uint32_t GetExtraCount() const { return 0; }
    virtual std::vector<float>& GetExtra(std::uint32_t index);
    const std::vector<float>& GetExtra(std::uint32_t index) const
    {
        return const_cast<ODESolver*>(this)->GetExtra(index);
    }

    DerivativeFunction function_ = nullptr;
    std::vector<float> state_;
    std::vector<float> derivative_;
    float time_ = 0.0f;
    void* userData_ = nullptr;
};

// y := y + h f(t, y).
class ODESolverEuler : public ODESolver
{
    CORE_DECLARE_OBJECT(ODESolverEuler)

public:
    ODESolverEuler() = default;
    ODESolverEuler(DerivativeFunction function, const std::vector<float>& initialState, void* userData);

    void Step(float h) override;
};

// The trapezoidal predictor-corrector: p := y + h f(t, y), then
// y := y + (f(t, y) + f(t + h, p)) h/2. Second order.
class ODESolverHeun : public ODESolver
{
    CORE_DECLARE_OBJECT(ODESolverHeun)

public:
    ODESolverHeun() = default;
    ODESolverHeun(DerivativeFunction function, const std::vector<float>& initialState, void* userData);

    void Step(float h) override;

protected:
    std::uint32_t GetExtraCount() const override { return 1; }
    std::vector<float>& GetExtra(std::uint32_t index) override;

private:
    std::vector<float> predicted_;
};

// The classic fourth-order Runge-Kutta step. The final weight is the 32-bit
// constant 0.166667, not 1/6: the four slopes' weights sum to 1.000002.
class ODESolverRungeKuttaN4 : public ODESolver
{
    CORE_DECLARE_OBJECT(ODESolverRungeKuttaN4)

public:
    static constexpr float SixthWeight = 0.166667f;

    ODESolverRungeKuttaN4() = default;
    ODESolverRungeKuttaN4(DerivativeFunction function, const std::vector<float>& initialState,
                          void* userData);

    void Step(float h) override;

protected:
    std::uint32_t GetExtraCount() const override { return 4; }
    std::vector<float>& GetExtra(std::uint32_t index) override;

private:
    std::vector<float> k1_;
    // Each holds an intermediate state, then the slope evaluated there.
    std::vector<float> k2_;
    std::vector<float> k3_;
    std::vector<float> k4_;
};

} // namespace Physics2D
