#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Mesh.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>

namespace Engine
{

// One draw, filled by a drawable on its stack and copied by value into the
// render queue. Copies share the effect, mesh and texture by reference.
//
// What the drawables fill: sprites set the sprite flag, texture, colour,
// world and texture matrix, draw range 0 and triangles (the queue supplies
// effect and unit quad); mesh drawables set effect, mesh and draw range;
// line shapes set a vertex array, vertex count and primitive type lines;
// particle systems set mesh, texture, the particle flag and both blend
// factors.
struct RenderQueueItem
{
    Math::Matrix4 worldMatrix;
    // Texture matrix of unit 0 for mesh items.
    Math::Matrix4 textureMatrix;
    Math::Vector4 color{1.0f, 1.0f, 1.0f, 1.0f};
    Core::RefPtr<Renderer::Effect> effect;
    Core::RefPtr<Mesh> mesh;
    // Texture of sprite and particle items.
    Core::RefPtr<Renderer::ITexture> texture;
    // A `Renderer::PrimitiveType` code.
    std::uint32_t primitiveType = Renderer::PrimitiveTriangles;
    // Per-vertex RGBA; not read by the queue. Not owned.
    const float* colorArray = nullptr;
    // Positions of items without a mesh, 3 floats each. Not owned: the
    // drawable keeps them alive until the queue is flushed.
    const Math::Vector3* vertexArray = nullptr;
    // Sort key written by the queue for blended and overlay items.
    float depth = 0.0f;
    std::int32_t drawRangeIndex = -1;
    std::uint32_t vertexCount = 0;
    // `Renderer::BlendFactor` codes of particle items.
    std::uint32_t sourceBlendFactor = Renderer::BlendSourceAlpha;
    std::uint32_t destinationBlendFactor = Renderer::BlendOneMinusSourceAlpha;
    // Drawn with an identity view matrix.
    bool screenSpace = false;
    // A textured unit quad: the queue supplies effect and mesh.
    bool sprite = false;
    // Drawn once per frame over every viewport, in window pixels.
    bool overlay = false;
    // Drawn with the queue's particle effect and the item's blend factors.
    bool particle = false;
};

} // namespace Engine
