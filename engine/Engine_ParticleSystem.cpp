#include "engine/Engine_ParticleSystem.h"

#include "engine/Engine_Group.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "renderer/Renderer_IRenderer.h"

namespace Engine
{

ParticleSystem::ParticleSystem(const Core::RefPtr<Renderer::ITexture>& particleTexture, std::uint32_t count)
    : texture(particleTexture), particles_(count), mesh_(new ("Engine_ParticleSystem", __LINE__) Mesh())
{
    if (texture)
    {
        particleWidth = static_cast<float>(texture->GetWidth());
        particleHeight = static_cast<float>(texture->GetHeight());
    }
    const std::uint32_t vertices = 6 * count;
    if (count > 0)
    {
        DrawRange range;
        range.last = vertices - 1;
        range.enabled = true;
        mesh_->AddDrawRange(range);
    }
    mesh_->ReservePositions(vertices);
    mesh_->ReserveColors(vertices);
    const Math::Vector2D corners[6] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f},
                                       {1.0f, 1.0f}, {0.0f, 1.0f}, {0.0f, 0.0f}};
    for (std::uint32_t i = 0; i < vertices; ++i)
    {
        mesh_->AddPosition(Math::Vector3(0.0f, 0.0f, 0.0f));
        mesh_->AddColor(Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f));
        mesh_->AddIndex(i);
        mesh_->AddTexCoord(corners[i % 6]);
    }
}

ParticleSystem::ParticleSystem(const ParticleSystem& other)
    : Node(other), texture(other.texture), sourceBlendFactor(other.sourceBlendFactor),
      destinationBlendFactor(other.destinationBlendFactor), particleWidth(other.particleWidth),
      particleHeight(other.particleHeight), particles_(other.particles_),
      mesh_(new ("Engine_ParticleSystem", __LINE__) Mesh(*other.mesh_)),
      useLocalCoordinates_(other.useLocalCoordinates_)
{
}

ParticleSystem* ParticleSystem::Clone() const
{
    return new ("Engine_ParticleSystem", __LINE__) ParticleSystem(*this);
}

std::uint32_t ParticleSystem::GetSize() const
{
    return sizeof(ParticleSystem);
}

void ParticleSystem::Update(float dt)
{
    RunHookAndControllers(dt);
}

void ParticleSystem::SetBoundingSize(float side)
{
    const float h = side / 2.0f;
    Math::BoundingBox box;
    BoundingVolume::SetSlabCorners(box, -h, -h, h, h);
    boundingVolume_.SetLocalBox(box);
}

void ParticleSystem::GetWorldBoundingVolume(Math::BoundingBox& box)
{
    boundingVolume_.Transform(parent_ != nullptr ? parent_->GetWorldTransformation() : world_);
    box = boundingVolume_.GetCurrentBox();
}

void ParticleSystem::Draw()
{
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!IsVisible() || particles_.empty() || queue == nullptr)
    {
        return;
    }
    const Math::Matrix4& parentWorld = GetParentWorldMatrix();
    if (!IsOverlay())
    {
        boundingVolume_.Transform(parentWorld);
        const SceneGraph* scene = SceneGraph::GetCurrent();
        if (scene != nullptr && scene->GetViewFrustum().Classify(boundingVolume_.GetCurrentBox()) ==
                                    Math::ClassifyResult::Outside)
        {
            return;
        }
    }

    // The camera's rotation: the quads turn with it, so they face the view.
    Math::Matrix4 billboard;
    if (Renderer::IRenderer* renderer = queue->GetRenderer())
    {
        Math::Matrix4 camera = renderer->GetViewMatrix();
        camera.Invert();
        for (int column = 0; column < 3; ++column)
        {
            for (int row = 0; row < 3; ++row)
            {
                billboard.m[4 * column + row] = camera.m[4 * column + row];
            }
        }
    }

    Math::Matrix4 spin;
    for (std::uint32_t i = 0; i < particles_.size(); ++i)
    {
        const Particle& particle = particles_[i];
        const float w = 0.5f * particleWidth * particle.scaleX;
        const float h = 0.5f * particleHeight * particle.scaleY;
        const Math::Matrix4 placement = Math::Matrix4::Translation(particle.x, particle.y, particle.z) *
                                        billboard * Math::Matrix4::SetRotationZ(spin, particle.rotation);
        const Math::Vector3 c0 = placement * Math::Vector3(-w, -h, 0.0f);
        const Math::Vector3 c1 = placement * Math::Vector3(w, -h, 0.0f);
        const Math::Vector3 c2 = placement * Math::Vector3(w, h, 0.0f);
        const Math::Vector3 c3 = placement * Math::Vector3(-w, h, 0.0f);
        const Math::Vector3 quad[6] = {c0, c1, c2, c2, c3, c0};
        const Math::Vector4 color(particle.red, particle.green, particle.blue, particle.alpha);
        for (std::uint32_t k = 0; k < 6; ++k)
        {
            mesh_->SetPosition(6 * i + k, quad[k]);
            mesh_->SetColor(6 * i + k, color);
        }
    }

    RenderQueueItem item;
    item.mesh = mesh_;
    item.texture = texture;
    item.drawRangeIndex = 0;
    item.primitiveType = Renderer::PrimitiveTriangles;
    item.particle = true;
    item.sourceBlendFactor = sourceBlendFactor;
    item.destinationBlendFactor = destinationBlendFactor;
    item.overlay = IsOverlay();
    if (useLocalCoordinates_)
    {
        item.worldMatrix = parentWorld;
    }
    else
    {
        // World x and y, at the parent's depth.
        item.worldMatrix.m[14] = parentWorld.m[14];
    }
    queue->Submit(item);
}

} // namespace Engine
