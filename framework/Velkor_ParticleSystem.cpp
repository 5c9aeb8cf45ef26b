#include "framework/Velkor_ParticleSystem.h"

#include "core/Core_File.h"
#include "engine/Engine_ParticleSystem.h"
#include "framework/Velkor_Random.h"
#include "math/Math_Constants.h"

#include <cmath>
#include <limits>

namespace Velkor
{

CORE_DEFINE_OBJECT(ParticleSystem, "Velkor::ParticleSystem", ParticleSystem::ScriptTypeName,
                   "Velkor_ParticleSystem", __LINE__)

namespace
{

void WriteParticle(Core::File& file, const Particle& p)
{
    file << p.startingColor << p.endingColor << p.position << p.origin << p.velocity << p.startingScale
         << p.endingScale << p.rotation << p.rotationSpeed << p.lifeTime << p.age << p.alive;
}

void ReadParticle(Core::File& file, Particle& p)
{
    file >> p.startingColor >> p.endingColor >> p.position >> p.origin >> p.velocity >> p.startingScale >>
        p.endingScale >> p.rotation >> p.rotationSpeed >> p.lifeTime >> p.age >> p.alive;
}

template <class T> void WriteRange(Core::File& file, const ParticleRange<T>& range)
{
    file << range.low << range.high;
}

template <class T> void ReadRange(Core::File& file, ParticleRange<T>& range)
{
    file >> range.low >> range.high;
}

Math::Vector2D Lerp(const Math::Vector2D& from, const Math::Vector2D& to, float t)
{
    return {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
}

} // namespace

ParticleSystem::ParticleSystem() = default;

ParticleSystem::ParticleSystem(const ParticleSystem& other)
    : ParticleSystemBase(other), particles_(other.particles_), gravity_(other.gravity_),
      previousPosition_(other.previousPosition_), startingColor_(other.startingColor_),
      endingColor_(other.endingColor_), startingScale_(other.startingScale_),
      endingScale_(other.endingScale_), particleDirection_(other.particleDirection_),
      deadCount_(other.deadCount_), emittedCount_(other.emittedCount_), lifeTime_(other.lifeTime_),
      rotationSpeed_(other.rotationSpeed_), speed_(other.speed_), emissionRate_(other.emissionRate_),
      emissionAccumulator_(other.emissionAccumulator_), recycleParticles_(other.recycleParticles_),
      destroyIfNotRecycling_(other.destroyIfNotRecycling_), firstUpdate_(other.firstUpdate_)
{
    if (other.emitter_)
    {
        emitter_ = static_cast<ParticleEmitter*>(other.emitter_->Clone());
    }
    // The pool matches the node's records; a source without a node has
    // neither.
    if (particles_.size() != particleCount_)
    {
        particles_.clear();
    }
}

ParticleSystem::~ParticleSystem() = default;

// --- Per frame -----------------------------------------------------------------------

void ParticleSystem::Emit(Particle& particle, float dt, const Math::Vector2D& displacement)
{
    emitter_->GetPositionAndDirection(dt, particle.origin, particle.velocity);
    if (useLocalCoordinates_)
    {
        particle.velocity = particle.velocity * RandomFloat(speed_.low, speed_.high);
    }
    else
    {
        const float angle = GetRotationAngle();
        particle.origin = RotateVectorDegrees(particle.origin, angle) + GetPosition();
        particle.velocity = RotateVectorDegrees(particle.velocity, angle);
        // The object's move per update joins the velocity per second as it
        // is: a moving emitter throws its particles ahead of it.
        particle.velocity = particle.velocity * RandomFloat(speed_.low, speed_.high) + displacement;
    }
    particle.lifeTime = RandomFloat(lifeTime_.low, lifeTime_.high);
    particle.startingScale = RandomVector2D(startingScale_.low, startingScale_.high);
    particle.endingScale = RandomVector2D(endingScale_.low, endingScale_.high);
    particle.startingColor = RandomColor(startingColor_.low, startingColor_.high);
    particle.endingColor = RandomColor(endingColor_.low, endingColor_.high);
    particle.alive = true;
    if (particleDirection_ == RandomSpin)
    {
        particle.rotationSpeed = RandomFloat(rotationSpeed_.low, rotationSpeed_.high);
    }
}

void ParticleSystem::WriteRecord(std::uint32_t index)
{
    const Particle& particle = particles_[index];
    Engine::Particle& record = particleRecords_[index];
    if (!particle.alive)
    {
        record.scaleX = 0.0f;
        record.scaleY = 0.0f;
        return;
    }
    // A particle of no life time lives only at age 0: its start values.
    const float t = particle.lifeTime > 0.0f ? particle.age / particle.lifeTime : 0.0f;
    const Math::Vector2D scale = Lerp(particle.startingScale, particle.endingScale, t);
    const Math::Vector4& from = particle.startingColor;
    const Math::Vector4& to = particle.endingColor;
    record.x = particle.position.x;
    record.y = particle.position.y;
    record.z = 0.0f;
    record.scaleX = scale.x;
    record.scaleY = scale.y;
    record.rotation = particle.rotation;
    record.red = from.x + (to.x - from.x) * t;
    record.green = from.y + (to.y - from.y) * t;
    record.blue = from.z + (to.z - from.z) * t;
    record.alpha = from.w + (to.w - from.w) * t;
}

void ParticleSystem::UpdateEngineSide(float dt)
{
    const auto poolSize = static_cast<std::uint32_t>(particles_.size());

    // 1. The allowance: whole particles of rate x dt plus what was carried;
    // the fraction is carried, anything past the pool is dropped.
    const float rate = RandomFloat(emissionRate_.low, emissionRate_.high);
    const float accumulated = rate * dt + emissionAccumulator_;
    const float whole = std::floor(accumulated);
    std::uint32_t allowance = 0;
    if (std::isfinite(accumulated))
    {
        emissionAccumulator_ = accumulated - whole;
        if (whole >= static_cast<float>(poolSize))
        {
            allowance = poolSize;
        }
        else if (whole > 0.0f)
        {
            allowance = static_cast<std::uint32_t>(whole);
        }
    }
    else
    {
        // A rate or step that is not finite would hold the accumulator at
        // NaN or infinity for good.
        emissionAccumulator_ = 0.0f;
    }

    // 2. Recycling counts per update; emitting once counts since Reset.
    if (recycleParticles_)
    {
        deadCount_ = 0;
        emittedCount_ = 0;
    }
    else if (emittedCount_ >= poolSize)
    {
        allowance = 0;
        if (destroyIfNotRecycling_ && deadCount_ >= poolSize)
        {
            Destroy();
            return;
        }
    }
    if (!emitter_)
    {
        allowance = 0;
    }

    // 3. - 5.
    if (emitter_)
    {
        emitter_->Update(dt);
    }
    const Math::Vector2D position = GetPosition();
    if (firstUpdate_)
    {
        previousPosition_ = position;
        firstUpdate_ = false;
    }
    const Math::Vector2D displacement = position - previousPosition_;
    previousPosition_ = position;

    // 6. Every slot once: emit, age and place, write its record.
    const Math::Vector2D halfGravity = gravity_ * 0.5f;
    for (std::uint32_t i = 0; i < poolSize; ++i)
    {
        Particle& particle = particles_[i];
        if (!particle.alive && allowance > 0)
        {
            Emit(particle, dt, displacement);
            --allowance;
            ++emittedCount_;
        }
        if (particle.alive)
        {
            const float age = particle.age + dt;
            particle.age = age;
            if (particle.lifeTime < age)
            {
                particle.alive = false;
                particle.age = 0.0f;
                particle.startingScale = Math::Vector2D(0.0f, 0.0f);
                particle.endingScale = Math::Vector2D(0.0f, 0.0f);
                ++deadCount_;
            }
            else
            {
                particle.position = particle.origin + particle.velocity * age + (halfGravity * age) * age;
                if (particleDirection_ == FaceDirection)
                {
                    const Math::Vector2D velocity = particle.velocity + gravity_ * age;
                    particle.rotation = std::atan2(velocity.y, velocity.x) * Math::RadiansToDegrees;
                }
                else
                {
                    particle.rotation += particle.rotationSpeed;
                }
            }
        }
        WriteRecord(i);
    }

    // 7.
    GameObject::UpdateEngineSide(dt);
}

void ParticleSystem::Reset()
{
    emissionAccumulator_ = 0.0f;
    emittedCount_ = 0;
    deadCount_ = 0;
    previousPosition_ = GetPosition();
    firstUpdate_ = true;
    const auto poolSize = static_cast<std::uint32_t>(particles_.size());
    for (std::uint32_t i = 0; i < poolSize; ++i)
    {
        Particle& particle = particles_[i];
        particle.age = 0.0f;
        particle.alive = false;
        particle.rotation = 0.0f;
        if (emitter_)
        {
            emitter_->GetPositionAndDirection(0.0f, particle.origin, particle.velocity);
        }
        else
        {
            particle.origin = Math::Vector2D(0.0f, 0.0f);
            particle.velocity = Math::Vector2D(0.0f, 0.0f);
        }
        particle.velocity = particle.velocity * RandomFloat(speed_.low, speed_.high);
        particle.lifeTime = RandomFloat(lifeTime_.low, lifeTime_.high);
        particle.startingScale = RandomVector2D(startingScale_.low, startingScale_.high);
        particle.endingScale = RandomVector2D(endingScale_.low, endingScale_.high);
        particle.startingColor = RandomColor(startingColor_.low, startingColor_.high);
        particle.endingColor = RandomColor(endingColor_.low, endingColor_.high);
        particle.rotationSpeed = 0.0f;
        WriteRecord(i);
    }
}

void ParticleSystem::WarmUp(float seconds)
{
    if (!(seconds > 0.0f) || !std::isfinite(seconds))
    {
        return;
    }
    const float steps = seconds * 100.0f;
    const std::uint32_t count = steps >= 4294967296.0f ? std::numeric_limits<std::uint32_t>::max()
                                                       : static_cast<std::uint32_t>(steps);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        UpdateEngineSide(0.01f);
    }
}

// --- Saved form ----------------------------------------------------------------------

void ParticleSystem::Write(Core::File& file) const
{
    ParticleSystemBase::Write(file);
    file << static_cast<std::uint32_t>(particles_.size());
    for (const Particle& particle : particles_)
    {
        WriteParticle(file, particle);
    }
    file << gravity_ << previousPosition_;
    WriteRange(file, startingColor_);
    WriteRange(file, endingColor_);
    WriteRange(file, startingScale_);
    WriteRange(file, endingScale_);
    file.WriteObject(emitter_.Get());
    file << particleDirection_ << deadCount_ << emittedCount_;
    WriteRange(file, lifeTime_);
    WriteRange(file, rotationSpeed_);
    WriteRange(file, speed_);
    WriteRange(file, emissionRate_);
    file << emissionAccumulator_ << recycleParticles_ << destroyIfNotRecycling_ << firstUpdate_;
}

void ParticleSystem::Read(Core::File& file)
{
    const Core::File::ReadingScope scope(file, *this);
    // The base's part is read here rather than by its Read, so that nothing
    // changes until this class's part has been read too.
    GameObject::Read(file);
    NodeRecord node;
    ReadNodeRecord(file, node);
    std::uint32_t poolSize = 0;
    if (!file.ReadExact(&poolSize, sizeof poolSize))
    {
        return;
    }
    // One pool slot per engine record: every update writes record i from
    // slot i.
    if (poolSize != node.records.size())
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    if (!file.Require(static_cast<std::uint64_t>(poolSize) * SavedParticleBytes))
    {
        return;
    }
    std::vector<Particle> pool(poolSize);
    for (Particle& particle : pool)
    {
        ReadParticle(file, particle);
    }
    Math::Vector2D gravity;
    Math::Vector2D previousPosition;
    ParticleRange<Math::Vector4> startingColor{};
    ParticleRange<Math::Vector4> endingColor{};
    ParticleRange<Math::Vector2D> startingScale{};
    ParticleRange<Math::Vector2D> endingScale{};
    file >> gravity >> previousPosition;
    ReadRange(file, startingColor);
    ReadRange(file, endingColor);
    ReadRange(file, startingScale);
    ReadRange(file, endingScale);
    Core::RefPtr<ParticleEmitter> emitter;
    Core::ReadRefPtr(file, emitter);
    std::uint32_t direction = 0;
    std::uint32_t dead = 0;
    std::uint32_t emitted = 0;
    ParticleRange<float> lifeTime{};
    ParticleRange<float> rotationSpeed{};
    ParticleRange<float> speed{};
    ParticleRange<float> rate{};
    float accumulator = 0.0f;
    bool recycle = false;
    bool destroy = false;
    bool first = false;
    file >> direction >> dead >> emitted;
    ReadRange(file, lifeTime);
    ReadRange(file, rotationSpeed);
    ReadRange(file, speed);
    ReadRange(file, rate);
    file >> accumulator >> recycle >> destroy >> first;
    if (file.Failed())
    {
        return;
    }
    // An emitter whose read has not ended holds this record among its
    // managed objects: driving it would close a loop that nothing frees.
    if (emitter && file.IsBeingRead(emitter.Get()))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }

    ApplyNodeRecord(std::move(node));
    particles_ = std::move(pool);
    gravity_ = gravity;
    previousPosition_ = previousPosition;
    startingColor_ = startingColor;
    endingColor_ = endingColor;
    startingScale_ = startingScale;
    endingScale_ = endingScale;
    emitter_ = std::move(emitter);
    particleDirection_ = direction;
    deadCount_ = dead;
    emittedCount_ = emitted;
    lifeTime_ = lifeTime;
    rotationSpeed_ = rotationSpeed;
    speed_ = speed;
    emissionRate_ = rate;
    emissionAccumulator_ = accumulator;
    recycleParticles_ = recycle;
    destroyIfNotRecycling_ = destroy;
    firstUpdate_ = first;
}

} // namespace Velkor
