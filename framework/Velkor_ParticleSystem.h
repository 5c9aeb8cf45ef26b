#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ParticleSystemBase.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <vector>

namespace Velkor
{

// One slot of a particle system's pool.
struct Particle
{
    Math::Vector4 startingColor{0.0f, 0.0f, 0.0f, 1.0f};
    Math::Vector4 endingColor{0.0f, 0.0f, 0.0f, 1.0f};
    Math::Vector2D position;
    // Position and velocity (per second) at emission: the motion is closed
    // form from them, position(age) = origin + velocity age + gravity age^2 / 2.
    Math::Vector2D origin;
    Math::Vector2D velocity;
    Math::Vector2D startingScale{1.0f, 1.0f};
    Math::Vector2D endingScale{1.0f, 1.0f};
    // Degrees; rotationSpeed is added per update, not per second.
    float rotation = 0.0f;
    float rotationSpeed = 0.0f;
    float lifeTime = 0.0f;
    float age = 0.0f;
    bool alive = false;
};

// A low and a high value that a particle's own value is drawn between.
template <class T> struct ParticleRange
{
    T low;
    T high;
};

// The framework's particle effect: a fixed pool of particles emitted at a
// randomised rate from an emitter, flying in closed form under a constant
// gravity, spinning or facing their way, taking size and colour from a
// drawn start to a drawn end over a drawn life time. Every update writes
// slot i into the node's record i; a dead slot is drawn at scale 0.
//
// The pool either recycles dead slots without end or emits each slot once,
// after which the object may destroy itself. Every random value comes from
// the framework's random functions in a fixed order, so a seeded run
// repeats bit for bit.
class ParticleSystem : public ParticleSystemBase
{
    CORE_DECLARE_OBJECT(ParticleSystem)

public:
    static constexpr const char* ScriptTypeName = "ParticleSystem";
    // Bytes of one pool slot in the saved form.
    static constexpr std::uint32_t SavedParticleBytes = 89;
    // Rotation modes.
    static constexpr std::uint32_t FaceDirection = 0;
    static constexpr std::uint32_t RandomSpin = 1;

    ParticleSystem();
    // The base's copy, the pool and every setting; the copy has an emitter of
    // its own cloned from the source's (none when the source has none).
    ParticleSystem(const ParticleSystem& other);
    ~ParticleSystem() override;

    // The base's record, then the pool, gravity, previous position, colour
    // and scale ranges, the emitter (a shared object), rotation mode,
    // counters, the other ranges, the accumulator and the three flags.
    void Write(Core::File& file) const override;
    // Replaces node, pool and settings. A pool size other than the record
    // count, or an emitter slot holding something else, is bad data; a
    // record that does not read whole changes nothing.
    void Read(Core::File& file) override;

    // Emits what the drawn rate allows, moves every living particle, writes
    // every record, then the game object's own update.
    void UpdateEngineSide(float dt) override;
    // Every slot dead with fresh drawn values; the counters, the accumulator
    // and the previous position start again.
    void Reset();
    // Runs floor(seconds x 100) updates of 0.01 s; nothing for a value that
    // is not a positive finite number.
    void WarmUp(float seconds);

    void SetEmitter(ParticleEmitter* emitter) { emitter_ = emitter; }
    ParticleEmitter* GetEmitter() const { return emitter_.Get(); }

    void SetGravity(const Math::Vector2D& gravity) { gravity_ = gravity; }
    const Math::Vector2D& GetGravity() const { return gravity_; }
    void SetEmissionRate(float minimum, float maximum) { emissionRate_ = {minimum, maximum}; }
    const ParticleRange<float>& GetEmissionRate() const { return emissionRate_; }
    void SetRecycleParticles(bool recycle) { recycleParticles_ = recycle; }
    bool GetRecycleParticles() const { return recycleParticles_; }
    void SetDestroyIfNotRecycling(bool destroy) { destroyIfNotRecycling_ = destroy; }
    bool GetDestroyIfNotRecycling() const { return destroyIfNotRecycling_; }
    void SetParticleStartingColor(const Math::Vector4& low, const Math::Vector4& high)
    {
        startingColor_ = {low, high};
    }
    const ParticleRange<Math::Vector4>& GetParticleStartingColor() const { return startingColor_; }
    void SetParticleEndingColor(const Math::Vector4& low, const Math::Vector4& high)
    {
        endingColor_ = {low, high};
    }
    const ParticleRange<Math::Vector4>& GetParticleEndingColor() const { return endingColor_; }
    void SetParticleLifeTime(float minimum, float maximum) { lifeTime_ = {minimum, maximum}; }
    const ParticleRange<float>& GetParticleLifeTime() const { return lifeTime_; }
    void SetParticleRotationSpeed(float minimum, float maximum) { rotationSpeed_ = {minimum, maximum}; }
    const ParticleRange<float>& GetParticleRotationSpeed() const { return rotationSpeed_; }
    void SetParticleSpeed(float minimum, float maximum) { speed_ = {minimum, maximum}; }
    const ParticleRange<float>& GetParticleSpeed() const { return speed_; }
    void SetParticleStartingScale(const Math::Vector2D& low, const Math::Vector2D& high)
    {
        startingScale_ = {low, high};
    }
    const ParticleRange<Math::Vector2D>& GetParticleStartingScale() const { return startingScale_; }
    void SetParticleEndingScale(const Math::Vector2D& low, const Math::Vector2D& high)
    {
        endingScale_ = {low, high};
    }
    const ParticleRange<Math::Vector2D>& GetParticleEndingScale() const { return endingScale_; }
    // FaceDirection, RandomSpin, or any other value: each particle keeps the
    // spin speed it has.
    void SetParticleDirection(std::uint32_t mode) { particleDirection_ = mode; }
    std::uint32_t GetParticleDirection() const { return particleDirection_; }

    const std::vector<Particle>& GetParticles() const { return particles_; }
    std::uint32_t GetDeadCount() const { return deadCount_; }
    std::uint32_t GetEmittedCount() const { return emittedCount_; }
    float GetEmissionAccumulator() const { return emissionAccumulator_; }
    const Math::Vector2D& GetPreviousPosition() const { return previousPosition_; }
    bool IsFirstUpdatePending() const { return firstUpdate_; }

private:
    // Fills a dead slot: emitter position and direction, speed, life time,
    // scales, colours, and in RandomSpin mode the spin speed, drawn in that
    // order. `displacement` is the object's move since the last update.
    void Emit(Particle& particle, float dt, const Math::Vector2D& displacement);
    // Record `index` from slot `index`.
    void WriteRecord(std::uint32_t index);

    std::vector<Particle> particles_;
    Math::Vector2D gravity_;
    Math::Vector2D previousPosition_;
    ParticleRange<Math::Vector4> startingColor_{{0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};
    ParticleRange<Math::Vector4> endingColor_{{0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};
    ParticleRange<Math::Vector2D> startingScale_{};
    ParticleRange<Math::Vector2D> endingScale_{};
    Core::RefPtr<ParticleEmitter> emitter_;
    std::uint32_t particleDirection_ = FaceDirection;
    std::uint32_t deadCount_ = 0;
    std::uint32_t emittedCount_ = 0;
    ParticleRange<float> lifeTime_{0.0f, 0.0f};
    ParticleRange<float> rotationSpeed_{0.0f, 0.0f};
    ParticleRange<float> speed_{0.0f, 0.0f};
    ParticleRange<float> emissionRate_{0.0f, 0.0f};
    float emissionAccumulator_ = 0.0f;
    bool recycleParticles_ = false;
    bool destroyIfNotRecycling_ = false;
    bool firstUpdate_ = true;
};

} // namespace Velkor
