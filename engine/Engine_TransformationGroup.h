#pragma once

#include "engine/Engine_Group.h"

namespace Renderer
{
class Effect;
}

namespace Engine
{

// A group with a local transformation: its world transformation is the
// parent's times the local one (the parent's applied last), so its children
// are placed in its own space. Its effect draws its bounding volume.
class TransformationGroup : public Group
{
    CORE_DECLARE_OBJECT(TransformationGroup)

public:
    TransformationGroup();
    // A deep copy of the subtree with the local transformation; the two
    // further matrices start as identity and the copy makes its own effect.
    TransformationGroup(const TransformationGroup& other);
    ~TransformationGroup() override;

    // The group record, then the local transformation and the two further
    // matrices (3 x 16 floats).
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    std::uint32_t GetNodeType() const override { return NodeTypeTransformationGroup; }
    // The parent's world transformation (through its own operation) times
    // the local one; the local one alone without a parent.
    Math::Matrix4 GetWorldTransformation() const override;
    // A transformation group does not pass Propagate on.
    void Propagate() override {}
    // Hook, controllers, world := parent's world x local, the volume
    // transformed by it, the children's updates, the merge into the parent.
    void Update(float dt) override;
    // When the bounding volume is shown: its debug mesh is submitted.
    void Draw() override;

    void SetTransformation(const Math::Matrix4& transformation) { local_ = transformation; }
    const Math::Matrix4& GetTransformation() const { return local_; }
    const Core::RefPtr<Renderer::Effect>& GetEffect() const { return effect_; }

private:
    Math::Matrix4 local_;
    // Persisted; nothing else reads them.
    Math::Matrix4 second_;
    Math::Matrix4 third_;
    Core::RefPtr<Renderer::Effect> effect_;
};

} // namespace Engine
