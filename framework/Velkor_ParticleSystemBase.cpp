#include "framework/Velkor_ParticleSystemBase.h"

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "engine/Engine_ParticleSystem.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Viewport.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Frustum.h"
#include "pal/PAL_FileSystem.h"
#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_TextureCache.h"

namespace Velkor
{

CORE_DEFINE_OBJECT(ParticleSystemBase, "Velkor::ParticleSystemBase", GameObject::ScriptTypeName,
                   "Velkor_ParticleSystemBase", __LINE__)

namespace
{

// Ten 4-byte floats per engine record.
constexpr std::uint32_t EngineRecordBytes = 40;

} // namespace

ParticleSystemBase::ParticleSystemBase() = default;

ParticleSystemBase::ParticleSystemBase(const ParticleSystemBase& other)
    : GameObject(other), particleCount_(other.particleCount_),
      useLocalCoordinates_(other.useLocalCoordinates_), boundingSize_(other.boundingSize_)
{
    if (other.particleNode_)
    {
        ReplaceNode(other.particleNode_->Clone());
    }
    else
    {
        particleCount_ = 0;
    }
}

ParticleSystemBase::~ParticleSystemBase() = default;

void ParticleSystemBase::ReplaceNode(Engine::ParticleSystem* node)
{
    // The old node leaves the scene with its reference: a node still listed
    // below the object would be drawn on.
    if (particleNode_)
    {
        GetNode()->RemoveChild(particleNode_);
    }
    particleNode_ = node;
    GetNode()->AddChild(particleNode_);
    SetVisible(GetVisible());
    particleRecords_ = particleNode_->GetParticles();
}

void ParticleSystemBase::SetSrcBlendFactor(std::uint32_t factor)
{
    if (particleNode_)
    {
        particleNode_->sourceBlendFactor = factor;
    }
}

std::uint32_t ParticleSystemBase::GetSrcBlendFactor() const
{
    return particleNode_ ? particleNode_->sourceBlendFactor : Renderer::BlendSourceAlpha;
}

void ParticleSystemBase::SetDstBlendFactor(std::uint32_t factor)
{
    if (particleNode_)
    {
        particleNode_->destinationBlendFactor = factor;
    }
}

std::uint32_t ParticleSystemBase::GetDstBlendFactor() const
{
    return particleNode_ ? particleNode_->destinationBlendFactor : Renderer::BlendOneMinusSourceAlpha;
}

void ParticleSystemBase::SetHUDObject(bool hud)
{
    if (particleNode_)
    {
        particleNode_->SetOverlay(hud);
    }
}

bool ParticleSystemBase::IsHUDObject() const
{
    return particleNode_ && particleNode_->IsOverlay();
}

void ParticleSystemBase::SetUseLocalCoordinates(bool local)
{
    useLocalCoordinates_ = local;
    if (particleNode_)
    {
        particleNode_->SetUseLocalCoordinates(local);
    }
}

bool ParticleSystemBase::IsInViewport(const Viewport* viewport) const
{
    if (viewport == nullptr || viewport->GetCamera() == nullptr || !particleNode_)
    {
        return false;
    }
    Math::BoundingBox box;
    particleNode_->GetWorldBoundingVolume(box);
    Math::Frustum frustum;
    viewport->GetCamera()->BuildFrustum(frustum, viewport->GetWidth(), viewport->GetHeight());
    return frustum.Classify(box) != Math::ClassifyResult::Outside;
}

// --- Saved form ----------------------------------------------------------------------

void ParticleSystemBase::WriteNodeRecord(Core::File& file) const
{
    std::string textureName;
    if (particleNode_ && particleNode_->texture)
    {
        textureName = Core::GetFileName(particleNode_->texture->GetName());
    }
    file << textureName << particleCount_;
    for (std::uint32_t i = 0; i < particleCount_; ++i)
    {
        const Engine::Particle& p = particleRecords_[i];
        file << p.x << p.y << p.z << p.scaleX << p.scaleY << p.rotation << p.red << p.green << p.blue
             << p.alpha;
    }
    file << boundingSize_ << GetSrcBlendFactor() << GetDstBlendFactor() << IsHUDObject()
         << useLocalCoordinates_;
}

void ParticleSystemBase::ReadNodeRecord(Core::File& file, NodeRecord& record)
{
    std::uint32_t count = 0;
    file >> record.textureName;
    if (!file.ReadExact(&count, sizeof count) ||
        !file.Require(static_cast<std::uint64_t>(count) * EngineRecordBytes))
    {
        return;
    }
    record.records.resize(count);
    for (Engine::Particle& p : record.records)
    {
        file >> p.x >> p.y >> p.z >> p.scaleX >> p.scaleY >> p.rotation >> p.red >> p.green >> p.blue >>
            p.alpha;
    }
    file >> record.boundingSize >> record.sourceBlendFactor >> record.destinationBlendFactor >> record.hud >>
        record.useLocalCoordinates;
}

void ParticleSystemBase::ApplyNodeRecord(NodeRecord&& record)
{
    // The texture is looked for below this installation, wherever the saved
    // one came from; only the file-name part of what the record names, so a
    // record cannot point outside the folder.
    const std::string path =
        PAL::GetExecutableDirectory() + TextureFolder + Core::GetFileName(record.textureName);
    const Core::RefPtr<Renderer::TextureOGL> texture = Renderer::LoadTexture(path, true);
    const auto count = static_cast<std::uint32_t>(record.records.size());
    ReplaceNode(new ("Velkor_ParticleSystemBase", __LINE__) Engine::ParticleSystem(texture, count));
    particleCount_ = count;
    std::copy(record.records.begin(), record.records.end(), particleRecords_);
    boundingSize_ = record.boundingSize;
    particleNode_->SetBoundingSize(boundingSize_);
    particleNode_->sourceBlendFactor = record.sourceBlendFactor;
    particleNode_->destinationBlendFactor = record.destinationBlendFactor;
    particleNode_->SetOverlay(record.hud);
    SetUseLocalCoordinates(record.useLocalCoordinates);
}

void ParticleSystemBase::Write(Core::File& file) const
{
    GameObject::Write(file);
    WriteNodeRecord(file);
}

void ParticleSystemBase::Read(Core::File& file)
{
    const Core::File::ReadingScope scope(file, *this);
    GameObject::Read(file);
    NodeRecord record;
    ReadNodeRecord(file, record);
    if (file.Failed())
    {
        return;
    }
    ApplyNodeRecord(std::move(record));
}

} // namespace Velkor
