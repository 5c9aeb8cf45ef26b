// Particle system records, with their emitters, as a level's archive holds
// them.

#include "core/Core_RefPtr.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ParticleSystem.h"
#include "fuzz/Fuzz_Support.h"

namespace
{

Fuzz::Bytes Written(Velkor::ParticleSystem& system)
{
    return Fuzz::WrittenBytes([&](Core::File& file) { file.WriteObject(&system); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto length = static_cast<std::uint32_t>(size);
    Core::RefPtr<Velkor::ParticleSystem> read;
    {
        // The input as an archive: a system read from it runs, and writes
        // back bytes that read again.
        Core::MemoryFile file(data, length);
        Core::ReadRefPtr(file, read);
        if (read && !file.Failed())
        {
            Fuzz::Require(read->GetParticles().size() == read->GetParticleCount(),
                          "one pool slot per engine record");
            read->SetEmissionRate(1000.0f, 1000.0f);
            read->UpdateEngineSide(0.01f);
            read->Reset();
            const Fuzz::Bytes bytes = Written(*read);
            Core::MemoryFile again(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
            Core::RefPtr<Velkor::ParticleSystem> copy;
            Core::ReadRefPtr(again, copy);
            Fuzz::Require(copy && !again.Failed(), "what was read writes back bytes that read again");
        }
    }
    {
        // The input as the record of a system in use: a failed read leaves
        // it as it was.
        Core::RefPtr<Velkor::ParticleSystem> system(new Velkor::ParticleSystem());
        system->SetEmitter(new Velkor::DiskEmitter(Math::Vector2D(1.0f, 2.0f), 3.0f));
        system->SetGravity(Math::Vector2D(0.0f, -9.0f));
        system->SetRecycleParticles(true);
        const Fuzz::Bytes before = Written(*system);
        Core::MemoryFile file(data, length);
        system->Read(file);
        if (file.Failed())
        {
            Fuzz::Require(Written(*system) == before, "a failed read changes nothing");
        }
    }
    return 0;
}
