#include "Demo_FrameworkFountain.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_String.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_Codes.h"

#include <cstdint>
#include <string>

namespace
{

constexpr float Reach = 330.0f;

template <class T> void WriteRange(Core::File& file, const T& low, const T& high)
{
    file << low << high;
}

// The record of a particle system's saved form: the game object's part, the
// node (texture, records, bounding size, blending, flags), the pool, the
// settings and the emitter.
void WriteFountainRecord(Core::File& file, std::uint32_t sparks, Velkor::ParticleEmitter& emitter)
{
    Core::RefPtr<Velkor::GameObject> object(new ("Demo_FrameworkFountain", __LINE__) Velkor::GameObject());
    object->Write(file);

    file << std::string("DemoParticle.png") << sparks;
    for (std::uint32_t i = 0; i < sparks * 10; ++i)
    {
        file << 0.0f;
    }
    // Additive: overlapping sparks burn white.
    file << 2.0f * Reach << static_cast<std::uint32_t>(Renderer::BlendSourceAlpha)
         << static_cast<std::uint32_t>(Renderer::BlendOne) << false << true;

    file << sparks;
    const Velkor::Particle dead;
    for (std::uint32_t i = 0; i < sparks; ++i)
    {
        file << dead.startingColor << dead.endingColor << dead.position << dead.origin << dead.velocity
             << dead.startingScale << dead.endingScale << dead.rotation << dead.rotationSpeed << dead.lifeTime
             << dead.age << dead.alive;
    }
    file << Math::Vector2D(0.0f, -210.0f) << Math::Vector2D();
    // White-hot pink at birth, cooling to violet and fading out.
    WriteRange(file, Math::Vector4(1.0f, 0.55f, 0.9f, 1.0f), Math::Vector4(1.0f, 0.8f, 1.0f, 1.0f));
    WriteRange(file, Math::Vector4(0.45f, 0.1f, 1.0f, 0.0f), Math::Vector4(0.7f, 0.25f, 1.0f, 0.0f));
    WriteRange(file, Math::Vector2D(0.7f, 0.7f), Math::Vector2D(1.3f, 1.3f));
    WriteRange(file, Math::Vector2D(0.15f, 0.15f), Math::Vector2D(0.35f, 0.35f));
    file.WriteObject(&emitter);
    // Spinning sparks; nothing emitted or dead yet.
    file << std::uint32_t{1} << std::uint32_t{0} << std::uint32_t{0};
    WriteRange(file, 0.7f, 1.3f);     // life time, seconds
    WriteRange(file, -6.0f, 6.0f);    // spin, degrees per update
    WriteRange(file, 110.0f, 200.0f); // speed
    WriteRange(file, 180.0f, 240.0f); // sparks per second
    file << 0.0f << true << false << true;
}

} // namespace

Core::RefPtr<Velkor::ParticleSystem> MakeDemoFountain(std::uint32_t sparks)
{
    Core::RefPtr<Velkor::DiskEmitter> disk(new ("Demo_FrameworkFountain", __LINE__)
                                               Velkor::DiskEmitter(Math::Vector2D(), 8.0f));
    Core::MemoryFile record;
    WriteFountainRecord(record, sparks, *disk);

    Core::RefPtr<Velkor::ParticleSystem> fountain(
        dynamic_cast<Velkor::ParticleSystem*>(Core::CreateObject("Velkor::ParticleSystem")));
    if (!fountain)
    {
        return nullptr;
    }
    fountain->Read(record);
    if (record.Failed())
    {
        return nullptr;
    }
    return fountain;
}
