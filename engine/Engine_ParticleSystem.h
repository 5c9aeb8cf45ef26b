#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Mesh.h"
#include "engine/Engine_Node.h"
#include "math/Math_BoundingBox.h"
#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>
#include <vector>

namespace Engine
{

// One particle as the framework's emitters write it: ten floats.
struct Particle
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    // About z, in degrees.
    float rotation = 0.0f;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;
};
static_assert(sizeof(Particle) == 40, "a particle record is ten 4-byte floats");

// A leaf that draws a fixed number of textured, coloured quads, one per
// particle record, facing the camera. Each quad is the texture's size times
// the particle's scale, turned by its rotation about the view axis and
// centred on its position. With local coordinates the positions are in the
// parent's space; without, they are world x and y at the parent's depth.
//
// The owner writes the records, the blend factors and the overlay flag
// directly; the node only draws what it finds. The record count is fixed
// at construction: the mesh has six vertices for each.
//
// Archives hold it as a plain node (class "Engine::Node").
class ParticleSystem : public Node
{
public:
    // `count` zeroed records; quads the texture's size; blending source
    // alpha over one minus source alpha.
    ParticleSystem(const Core::RefPtr<Renderer::ITexture>& texture, std::uint32_t count);
    // Shares the texture; copies the records, factors and settings; the
    // mesh is a copy of its own.
    ParticleSystem(const ParticleSystem& other);

    ParticleSystem* Clone() const override;
    std::uint32_t GetSize() const override;

    // Only the update hook (and controllers).
    void Update(float dt) override;
    void Render(const Math::Frustum&) override { Draw(); }
    // Culled (unless an overlay) by the bounding volume under the parent's
    // placement; rewrites the mesh from the records, billboarded against
    // the renderer's view matrix, and submits one particle item.
    void Draw() override;
    void DrawRecursive() override { Draw(); }

    // The local box becomes the square of that side about the origin, from
    // z = 0 to z = -1.
    void SetBoundingSize(float side);
    void SetUseLocalCoordinates(bool local) { useLocalCoordinates_ = local; }
    bool GetUseLocalCoordinates() const { return useLocalCoordinates_; }
    // The bounding volume under the parent's world transformation (through
    // its GetWorldTransformation).
    void GetWorldBoundingVolume(Math::BoundingBox& box);

    std::uint32_t GetParticleCount() const { return static_cast<std::uint32_t>(particles_.size()); }
    Particle* GetParticles() { return particles_.data(); }
    const Particle* GetParticles() const { return particles_.data(); }
    const Core::RefPtr<Mesh>& GetMesh() const { return mesh_; }

    // Written by the owner.
    Core::RefPtr<Renderer::ITexture> texture;
    // `Renderer::BlendFactor` codes.
    std::uint32_t sourceBlendFactor = Renderer::BlendSourceAlpha;
    std::uint32_t destinationBlendFactor = Renderer::BlendOneMinusSourceAlpha;
    // Quad size at scale 1.
    float particleWidth = 0.0f;
    float particleHeight = 0.0f;

private:
    std::vector<Particle> particles_;
    Core::RefPtr<Mesh> mesh_;
    bool useLocalCoordinates_ = false;
};

} // namespace Engine
