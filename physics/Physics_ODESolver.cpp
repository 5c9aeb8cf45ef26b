#include "physics/Physics_ODESolver.h"

#include "core/Core_Assert.h"
#include "core/Core_File.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Physics2D
{

namespace
{

void WriteVector(Core::File& file, const std::vector<float>& values)
{
    file << static_cast<std::uint32_t>(values.size());
    if (!values.empty())
    {
        file.Write(values.data(), static_cast<std::uint32_t>(values.size() * sizeof(float)));
    }
}

// A u32 count, then that many floats; the count is checked against the bytes
// left before anything is allocated.
bool ReadVector(Core::File& file, std::vector<float>& values)
{
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count) || !file.Require(std::uint64_t{count} * sizeof(float)))
    {
        return false;
    }
    values.resize(count);
    return count == 0 || file.ReadExact(values.data(), count * static_cast<std::uint32_t>(sizeof(float)));
}

} // namespace

// --- ODESolver -----------------------------------------------------------------

ODESolver::ODESolver() = default;

ODESolver::ODESolver(DerivativeFunction function, const std::vector<float>& initialState, void* userData)
    : function_(function), state_(initialState), derivative_(initialState), userData_(userData)
{
}

std::vector<float>& ODESolver::GetExtra(std::uint32_t)
{
    ENGINE_ASSERT(false && "this solver has no extra vectors");
    return derivative_;
}

void ODESolver::Evaluate(float time, const std::vector<float>& in, std::vector<float>& out) const
{
    if (function_ != nullptr)
    {
        function_(time, in, out, userData_);
    }
    else
    {
        out.assign(out.size(), 0.0f);
    }
}

void ODESolver::Write(Core::File& file) const
{
    WriteVector(file, state_);
    WriteVector(file, derivative_);
    file << time_;
    for (std::uint32_t i = 0; i < GetExtraCount(); ++i)
    {
        WriteVector(file, GetExtra(i));
    }
}

void ODESolver::Read(Core::File& file)
{
    std::vector<float> state;
    std::vector<float> derivative;
    float time = 0.0f;
    if (!ReadVector(file, state) || !ReadVector(file, derivative) || !file.ReadExact(&time, sizeof time))
    {
        return;
    }
    const std::uint32_t extraCount = GetExtraCount();
    std::vector<std::vector<float>> extras(extraCount);
    for (std::vector<float>& extra : extras)
    {
        if (!ReadVector(file, extra))
        {
            return;
        }
    }
    // A step indexes every vector by the state's index: vectors of another
    // length would take it out of bounds.
    bool sameLength = derivative.size() == state.size();
    for (const std::vector<float>& extra : extras)
    {
        sameLength = sameLength && extra.size() == state.size();
    }
    const auto finite = [](const std::vector<float>& values)
    { return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); }); };
    bool sound = sameLength && finite(state) && finite(derivative) && std::isfinite(time);
    for (const std::vector<float>& extra : extras)
    {
        sound = sound && finite(extra);
    }
    if (!sound)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    state_ = std::move(state);
    derivative_ = std::move(derivative);
    time_ = time;
    for (std::uint32_t i = 0; i < extraCount; ++i)
    {
        GetExtra(i) = std::move(extras[i]);
    }
}

// --- Euler ---------------------------------------------------------------------

CORE_DEFINE_OBJECT(ODESolverEuler, "Physics2D::ODESolverEuler", "ODESolverEuler", "Physics_ODESolver",
                   __LINE__)

ODESolverEuler::ODESolverEuler(DerivativeFunction function, const std::vector<float>& initialState,
                               void* userData)
    : ODESolver(function, initialState, userData)
{
}

void ODESolverEuler::Step(float h)
{
    const std::size_t n = state_.size();
    derivative_.resize(n);
    Evaluate(time_, state_, derivative_);
    for (std::size_t i = 0; i < n; ++i)
    {
        derivative_[i] = state_[i] + h * derivative_[i];
    }
    state_ = derivative_;
    time_ += h;
}

// --- Heun ----------------------------------------------------------------------

CORE_DEFINE_OBJECT(ODESolverHeun, "Physics2D::ODESolverHeun", "ODESolverHeun", "Physics_ODESolver", __LINE__)

ODESolverHeun::ODESolverHeun(DerivativeFunction function, const std::vector<float>& initialState,
                             void* userData)
    : ODESolver(function, initialState, userData), predicted_(initialState)
{
}

std::vector<float>& ODESolverHeun::GetExtra(std::uint32_t)
{
    return predicted_;
}

void ODESolverHeun::Step(float h)
{
    const std::size_t n = state_.size();
    derivative_.resize(n);
    predicted_.resize(n);
    std::vector<float>& d = derivative_;
    std::vector<float>& p = predicted_;
    Evaluate(time_, state_, d);
    for (std::size_t i = 0; i < n; ++i)
    {
        p[i] = state_[i] + h * d[i];
    }
    Evaluate(time_ + h, p, p);
    const float halfStep = h * 0.5f;
    for (std::size_t i = 0; i < n; ++i)
    {
        d[i] = state_[i] + (p[i] + d[i]) * halfStep;
    }
    state_ = d;
    time_ += h;
}

// --- Runge-Kutta ---------------------------------------------------------------

CORE_DEFINE_OBJECT(ODESolverRungeKuttaN4, "Physics2D::ODESolverRungeKuttaN4", "ODESolverRungeKuttaN4",
                   "Physics_ODESolver", __LINE__)

ODESolverRungeKuttaN4::ODESolverRungeKuttaN4(DerivativeFunction function,
                                             const std::vector<float>& initialState, void* userData)
    : ODESolver(function, initialState, userData), k1_(initialState), k2_(initialState), k3_(initialState),
      k4_(initialState)
{
}

std::vector<float>& ODESolverRungeKuttaN4::GetExtra(std::uint32_t index)
{
    switch (index)
    {
    case 0:
        return k1_;
    case 1:
        return k2_;
    case 2:
        return k3_;
    default:
        return k4_;
    }
}

void ODESolverRungeKuttaN4::Step(float h)
{
    const std::size_t n = state_.size();
    for (std::vector<float>* v : {&derivative_, &k1_, &k2_, &k3_, &k4_})
    {
        v->resize(n);
    }
    const std::vector<float>& y = state_;
    const float g = h * 0.5f;

    Evaluate(time_, y, k1_);
    for (std::size_t i = 0; i < n; ++i)
    {
        k2_[i] = y[i] + g * k1_[i];
    }
    Evaluate(time_ + g, k2_, k2_);
    for (std::size_t i = 0; i < n; ++i)
    {
        k3_[i] = y[i] + g * k2_[i];
    }
    Evaluate(time_ + g, k3_, k3_);
    for (std::size_t i = 0; i < n; ++i)
    {
        k4_[i] = y[i] + h * k3_[i];
    }
    Evaluate(time_ + h, k4_, k4_);

    const float weight = h * SixthWeight;
    for (std::size_t i = 0; i < n; ++i)
    {
        const float twoK2 = 2.0f * k2_[i];
        const float twoK3 = 2.0f * k3_[i];
        const float sum = k1_[i] + twoK2 + twoK3 + k4_[i];
        derivative_[i] = y[i] + sum * weight;
    }
    state_ = derivative_;
    time_ += h;
}

} // namespace Physics2D
