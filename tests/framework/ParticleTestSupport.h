#pragma once

#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ParticleSystem.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ParticleTest
{

// A fresh particle system's record as a program writes one to create a
// system: the game object's part of a new object, `count` zero engine
// records and as many dead particles, default settings and `emitter`.
struct FreshRecord
{
    std::string texture = "DemoParticle.png";
    std::uint32_t count = 0;
    std::uint32_t poolSize = 0xFFFFFFFFu; // same as count unless set
    bool useLocalCoordinates = true;
    float boundingSize = 64.0f;
    Core::Object* emitter = nullptr;

    void WriteTo(Core::File& file) const
    {
        Velkor::GameObject().Write(file);
        file << texture << count;
        for (std::uint32_t i = 0; i < count * 10; ++i)
        {
            file << 0.0f;
        }
        file << boundingSize << std::uint32_t{6} << std::uint32_t{7} << false << useLocalCoordinates;
        const std::uint32_t pool = poolSize == 0xFFFFFFFFu ? count : poolSize;
        file << pool;
        const Velkor::Particle particle;
        for (std::uint32_t i = 0; i < pool; ++i)
        {
            file << particle.startingColor << particle.endingColor << particle.position << particle.origin
                 << particle.velocity << particle.startingScale << particle.endingScale << particle.rotation
                 << particle.rotationSpeed << particle.lifeTime << particle.age << particle.alive;
        }
        const Math::Vector4 black(0.0f, 0.0f, 0.0f, 1.0f);
        file << Math::Vector2D() << Math::Vector2D();
        file << black << black << black << black;
        file << Math::Vector2D() << Math::Vector2D() << Math::Vector2D() << Math::Vector2D();
        file.WriteObject(emitter);
        file << std::uint32_t{0} << std::uint32_t{0} << std::uint32_t{0};
        for (int i = 0; i < 9; ++i)
        {
            file << 0.0f;
        }
        file << false << false << true;
    }
};

// A particle system created by class name and loaded from `record`.
inline Core::RefPtr<Velkor::ParticleSystem> LoadFresh(const FreshRecord& record)
{
    Core::MemoryFile file;
    record.WriteTo(file);
    Core::RefPtr<Velkor::ParticleSystem> system(
        dynamic_cast<Velkor::ParticleSystem*>(Core::CreateObject("Velkor::ParticleSystem")));
    EXPECT_TRUE(system);
    system->Read(file);
    EXPECT_FALSE(file.Failed());
    EXPECT_EQ(file.GetBytesLeft(), 0u);
    return system;
}

// An emitter whose every answer is fixed, counting its calls; draws nothing.
class FixedEmitter : public Velkor::ParticleEmitter
{
public:
    FixedEmitter(const Math::Vector2D& position, const Math::Vector2D& direction)
        : position_(position), direction_(direction)
    {
    }
    Core::Object* Clone() const override { return new FixedEmitter(*this); }
    void GetPositionAndDirection(float, Math::Vector2D& position, Math::Vector2D& direction) override
    {
        ++positionCalls;
        position = position_;
        direction = direction_;
    }
    void Update(float) override { ++updateCalls; }

    int positionCalls = 0;
    int updateCalls = 0;

private:
    Math::Vector2D position_;
    Math::Vector2D direction_;
};

} // namespace ParticleTest
