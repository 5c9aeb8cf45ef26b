#include "engine/Engine_Node.h"

#include "core/Core_File.h"
#include "engine/Engine_Group.h"
#include "engine/Engine_RenderQueue.h"

namespace Engine
{

CORE_DEFINE_OBJECT(Node, "Engine::Node", "Node", "Engine_Node", __LINE__)

Node::Node() = default;

Node::Node(const Node& other)
    : Core::Object(other), world_(other.world_), boundingVolume_(other.boundingVolume_),
      reserved_(other.reserved_), mergeBoundsIntoParent_(other.mergeBoundsIntoParent_),
      showBoundingVolume_(other.showBoundingVolume_), visible_(other.visible_), overlay_(other.overlay_),
      name_(other.name_), updateHook_(other.updateHook_)
{
    controllers_.reserve(other.controllers_.size());
    for (const Core::RefPtr<NodeController>& controller : other.controllers_)
    {
        Core::RefPtr<NodeController> copy(static_cast<NodeController*>(controller->Clone()));
        copy->SetNode(this);
        controllers_.push_back(std::move(copy));
    }
}

Node::~Node()
{
    for (const Core::RefPtr<NodeController>& controller : controllers_)
    {
        controller->SetNode(nullptr);
    }
}

void Node::Write(Core::File& file) const
{
    file << world_;
    file.WriteObject(parent_);
    file << reserved_ << mergeBoundsIntoParent_ << showBoundingVolume_ << visible_ << overlay_;
    file << name_;
}

void Node::Read(Core::File& file)
{
    Math::Matrix4 world;
    file >> world;
    Core::Object* parentObject = file.ReadObject();
    Group* parent = dynamic_cast<Group*>(parentObject);
    // A parent of another class, or one whose own chain of parents leads
    // back here: walking that chain (a transformation group's world) would
    // never end. The archive keeps a refused object.
    if (parentObject != nullptr && (parent == nullptr || ClosesParentCycle(*this, parent)))
    {
        file.SetError(Core::FileError::BadData);
    }
    bool flags[5] = {reserved_, mergeBoundsIntoParent_, showBoundingVolume_, visible_, overlay_};
    for (bool& flag : flags)
    {
        file >> flag;
    }
    std::string name;
    file >> name;
    if (file.Failed())
    {
        return;
    }
    world_ = world;
    parent_ = parent;
    reserved_ = flags[0];
    mergeBoundsIntoParent_ = flags[1];
    showBoundingVolume_ = flags[2];
    visible_ = flags[3];
    overlay_ = flags[4];
    name_ = std::move(name);
    if (parent != nullptr)
    {
        // The link holds only where the parent lists this node, or nothing
        // clears it when the parent goes. A parent still being read may list
        // the node later, so the check waits for the whole graph.
        file.AtEndOfRead(
            [this]
            {
                if (parent_ != nullptr && !parent_->HasChild(*this))
                {
                    parent_ = nullptr;
                }
            });
    }
}

bool Node::ClosesParentCycle(const Node& node, const Group* parent)
{
    // Chains made by the group operations and by reads are free of cycles;
    // the bound only keeps a chain that is not from ending the walk.
    constexpr std::uint32_t MaxDepth = 1u << 20;
    std::uint32_t depth = 0;
    for (const Node* ancestor = parent; ancestor != nullptr; ancestor = ancestor->parent_)
    {
        if (ancestor == &node || ++depth > MaxDepth)
        {
            return true;
        }
    }
    return false;
}

void Node::PropagateValue(std::uint32_t) {}

Core::RefPtr<Node> Node::FindNode(const std::string& name)
{
    return name_ == name ? Core::RefPtr<Node>(this) : Core::RefPtr<Node>();
}

void Node::Propagate() {}

const Math::Matrix4& Node::WorldOf(const Group& group)
{
    return group.world_;
}

void Node::Update(float dt)
{
    RunHookAndControllers(dt);
    world_ = GetParentWorldMatrix();
    MergeIntoParent();
}

void Node::Render(const Math::Frustum&) {}

void Node::Draw()
{
    if (showBoundingVolume_)
    {
        boundingVolume_.UpdateMesh();
    }
}

void Node::DrawRecursive() {}

void Node::OnAttach() {}

void Node::OnDetach() {}

void Node::SetVisibleRecursive(bool visible)
{
    visible_ = visible;
}

void Node::ShowBoundingVolumeRecursive(bool show)
{
    showBoundingVolume_ = show;
}

void Node::UpdateControllers(float dt)
{
    for (std::size_t i = 0; i < controllers_.size(); ++i)
    {
        controllers_[i]->Update(dt);
    }
}

void Node::SetVisible(bool visible, bool recursive)
{
    if (recursive)
    {
        SetVisibleRecursive(visible);
    }
    else
    {
        visible_ = visible;
    }
}

void Node::ShowBoundingVolume(bool show, bool recursive)
{
    if (recursive)
    {
        ShowBoundingVolumeRecursive(show);
    }
    else
    {
        showBoundingVolume_ = show;
    }
}

void Node::SetUpdateHook(UpdateHook hook)
{
    updateHook_ = hook != nullptr ? hook : &NoUpdate;
}

void Node::AttachController(const Core::RefPtr<NodeController>& controller)
{
    if (controller)
    {
        controller->SetNode(this);
        controllers_.push_back(controller);
    }
}

void Node::MergeIntoParent()
{
    if (mergeBoundsIntoParent_ && parent_ != nullptr)
    {
        parent_->boundingVolume_.Merge(boundingVolume_);
    }
}

void Node::SubmitBoundingVolume(const Core::RefPtr<Renderer::Effect>& effect)
{
    RenderQueue* queue = RenderQueue::GetInstance();
    if (queue == nullptr)
    {
        return;
    }
    boundingVolume_.UpdateMesh();
    RenderQueueItem item;
    item.effect = effect;
    item.mesh = boundingVolume_.GetMesh();
    item.primitiveType = Renderer::PrimitiveTriangles;
    item.drawRangeIndex = 0;
    queue->Submit(item);
}

} // namespace Engine
