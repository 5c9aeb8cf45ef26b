#include "engine/Engine_TransformationGroup.h"

#include "core/Core_File.h"
#include "renderer/Renderer_Effect.h"

namespace Engine
{

CORE_DEFINE_OBJECT(TransformationGroup, "Engine::TransformationGroup", "TransformationGroup",
                   "Engine_TransformationGroup", __LINE__)

TransformationGroup::TransformationGroup() : effect_(Renderer::CreateDefaultEffect()) {}

TransformationGroup::TransformationGroup(const TransformationGroup& other)
    : Group(other), local_(other.local_), effect_(Renderer::CreateDefaultEffect())
{
}

TransformationGroup::~TransformationGroup() = default;

void TransformationGroup::Write(Core::File& file) const
{
    Group::Write(file);
    file << local_ << second_ << third_;
}

void TransformationGroup::Read(Core::File& file)
{
    Group::Read(file);
    Math::Matrix4 matrices[3];
    for (Math::Matrix4& matrix : matrices)
    {
        file >> matrix;
    }
    if (file.Failed())
    {
        return;
    }
    local_ = matrices[0];
    second_ = matrices[1];
    third_ = matrices[2];
}

Math::Matrix4 TransformationGroup::GetWorldTransformation() const
{
    if (parent_ == nullptr)
    {
        return local_;
    }
    return parent_->GetWorldTransformation() * local_;
}

void TransformationGroup::Update(float dt)
{
    RunHookAndControllers(dt);
    world_ = parent_ != nullptr ? GetParentWorldMatrix() * local_ : local_;
    boundingVolume_.Transform(world_);
    UpdateChildren(dt);
    MergeIntoParent();
}

void TransformationGroup::Draw()
{
    if (IsBoundingVolumeShown())
    {
        SubmitBoundingVolume(effect_);
    }
}

} // namespace Engine
