#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_GameObject.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Engine
{
class ParticleSystem;
struct Particle;
} // namespace Engine

namespace Renderer
{
class ITexture;
}

namespace Velkor
{

class Viewport;

// The game object that owns an engine particle node: one scene node that
// draws a fixed number of textured quads from an array of 40-byte records,
// hung below the object's own node. It moves nothing itself; the particle
// system derived from it rewrites the records every frame.
//
// The node comes only from Read (or from copying an object that has one).
// Until then the object has no records, the node's settings read as their
// defaults and setting them does nothing.
class ParticleSystemBase : public GameObject
{
    CORE_DECLARE_OBJECT(ParticleSystemBase)

public:
    // Where Read finds the texture named in a record, below the program's
    // directory.
    static constexpr const char* TextureFolder = "\\Resources\\ParticleSystems\\";

    ParticleSystemBase();
    // The game object's copy with a copy of the source's node (records,
    // texture, settings) below the new object's node.
    ParticleSystemBase(const ParticleSystemBase& other);
    ~ParticleSystemBase() override;

    // The game object's record, then texture file name, record count, the
    // records, bounding size, source and destination blend factor, HUD flag
    // and local-coordinates flag.
    void Write(Core::File& file) const override;
    // Builds a new node from the texture of that name below TextureFolder
    // (the texture cache's pattern when it cannot be read) in place of the
    // old one. A record that does not read whole changes nothing.
    void Read(Core::File& file) override;

    void SetSrcBlendFactor(std::uint32_t factor);
    std::uint32_t GetSrcBlendFactor() const;
    void SetDstBlendFactor(std::uint32_t factor);
    std::uint32_t GetDstBlendFactor() const;
    // The node's overlay flag: drawn over the scene, never culled.
    void SetHUDObject(bool hud);
    bool IsHUDObject() const;
    // Records in the object's local frame (true) or in world x and y.
    void SetUseLocalCoordinates(bool local);
    bool GetUseLocalCoordinates() const { return useLocalCoordinates_; }
    // False unless the node's world box lies at least partly inside the
    // view of the viewport's camera; false without a viewport, camera or
    // node.
    bool IsInViewport(const Viewport* viewport) const;

    std::uint32_t GetParticleCount() const { return particleCount_; }
    float GetBoundingSize() const { return boundingSize_; }
    const Core::RefPtr<Engine::ParticleSystem>& GetParticleNode() const { return particleNode_; }
    // The node's records, particleCount of them; null without a node.
    Engine::Particle* GetParticleRecords() const { return particleRecords_; }

protected:
    // This class's part of the record, read whole before anything changes.
    struct NodeRecord
    {
        std::string textureName;
        std::vector<Engine::Particle> records;
        float boundingSize = 0.0f;
        std::uint32_t sourceBlendFactor = 0;
        std::uint32_t destinationBlendFactor = 0;
        bool hud = false;
        bool useLocalCoordinates = true;
    };
    void WriteNodeRecord(Core::File& file) const;
    // Leaves the archive failed when the record is short or its count does
    // not fit the bytes left.
    static void ReadNodeRecord(Core::File& file, NodeRecord& record);
    // Replaces the node by one built from the record.
    void ApplyNodeRecord(NodeRecord&& record);

    Engine::Particle* particleRecords_ = nullptr;
    std::uint32_t particleCount_ = 0;
    bool useLocalCoordinates_ = true;
    Core::RefPtr<Engine::ParticleSystem> particleNode_;
    float boundingSize_ = 0.0f;

private:
    void ReplaceNode(Engine::ParticleSystem* node);
};

} // namespace Velkor
