#include "engine/Engine_Group.h"

#include "core/Core_File.h"

#include <algorithm>
#include <unordered_set>

namespace Engine
{

CORE_DEFINE_OBJECT(Group, "Engine::Group", "Group", "Engine_Group", __LINE__)

namespace
{

// Groups whose child lists are being read, innermost last. A child whose
// subtree holds one of them would close a cycle of counted references (a
// group owning itself), and an unbounded nesting would exhaust the stack.
thread_local std::vector<const Group*> g_groupsBeingRead;
constexpr std::size_t MaxReadNesting = 1024;

} // namespace

Group::Group(const Group& other) : Node(other)
{
    children_.reserve(other.children_.size());
    for (const Core::RefPtr<Node>& child : other.children_)
    {
        Core::RefPtr<Node> copy(static_cast<Node*>(child->Clone()));
        copy->parent_ = this;
        children_.push_back(std::move(copy));
    }
}

Group::~Group()
{
    for (const Core::RefPtr<Node>& child : children_)
    {
        if (child->parent_ == this)
        {
            child->parent_ = nullptr;
        }
    }
}

void Group::Write(Core::File& file) const
{
    Node::Write(file);
    file << static_cast<std::uint32_t>(children_.size());
    for (const Core::RefPtr<Node>& child : children_)
    {
        file.WriteObject(child.Get());
    }
}

void Group::Read(Core::File& file)
{
    Node::Read(file);
    std::uint32_t count = 0;
    // Every child record takes at least its presence byte.
    if (!file.ReadExact(&count, sizeof count) || !file.Require(count))
    {
        return;
    }
    if (g_groupsBeingRead.size() >= MaxReadNesting)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    g_groupsBeingRead.push_back(this);
    struct Pop
    {
        ~Pop() { g_groupsBeingRead.pop_back(); }
    } pop;

    std::vector<Core::RefPtr<Node>> children;
    children.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        Core::Object* object = file.ReadObject();
        if (file.Failed())
        {
            return;
        }
        if (object == nullptr)
        {
            continue;
        }
        // Another class, or a node that already holds a group whose list is
        // being read: the archive keeps what is refused.
        Node* child = dynamic_cast<Node*>(object);
        if (child == nullptr || SubtreeHoldsAny(*child, g_groupsBeingRead))
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
        children.emplace_back(child);
    }
    // A child's recorded parent must list it, or nothing clears the link
    // when that group goes and the child is left pointing at freed memory.
    // A child whose record names another group that does not list it (a
    // damaged archive, or a group whose own read is still running) is taken
    // by this group.
    for (const Core::RefPtr<Node>& child : children)
    {
        const Group* recorded = child->parent_;
        if (recorded != this &&
            (recorded == nullptr || std::find(recorded->children_.begin(), recorded->children_.end(),
                                              child) == recorded->children_.end()))
        {
            child->parent_ = this;
        }
    }
    children_.insert(children_.end(), std::make_move_iterator(children.begin()),
                     std::make_move_iterator(children.end()));
}

void Group::PropagateValue(std::uint32_t value)
{
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->PropagateValue(value);
    }
}

Core::RefPtr<Node> Group::FindNode(const std::string& name)
{
    if (GetName() == name)
    {
        return Core::RefPtr<Node>(this);
    }
    for (const Core::RefPtr<Node>& child : children_)
    {
        if (Core::RefPtr<Node> found = child->FindNode(name))
        {
            return found;
        }
    }
    return nullptr;
}

void Group::Propagate()
{
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->Propagate();
    }
}

void Group::Update(float dt)
{
    RunHookAndControllers(dt);
    world_ = GetParentWorldMatrix();
    boundingVolume_.Transform(world_);
    UpdateChildren(dt);
    MergeIntoParent();
}

void Group::UpdateChildren(float dt)
{
    // By index: an update may append to the list.
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->Update(dt);
    }
}

void Group::Render(const Math::Frustum&)
{
    DrawRecursive();
}

void Group::Draw() {}

void Group::DrawRecursive()
{
    Draw();
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->DrawRecursive();
    }
}

void Group::SetVisibleRecursive(bool visible)
{
    Node::SetVisibleRecursive(visible);
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->SetVisibleRecursive(visible);
    }
}

void Group::ShowBoundingVolumeRecursive(bool show)
{
    Node::ShowBoundingVolumeRecursive(show);
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->ShowBoundingVolumeRecursive(show);
    }
}

bool Group::HasChild(const Node& child) const
{
    return std::find(children_.begin(), children_.end(), &child) != children_.end();
}

bool Group::SubtreeHoldsAny(const Node& root, const std::vector<const Group*>& groups)
{
    // Depth first over the child lists; a node listed by several groups is
    // visited once.
    std::vector<const Node*> pending{&root};
    std::unordered_set<const Node*> visited{&root};
    while (!pending.empty())
    {
        const Node* node = pending.back();
        pending.pop_back();
        const auto* group = dynamic_cast<const Group*>(node);
        if (group == nullptr)
        {
            continue;
        }
        if (std::find(groups.begin(), groups.end(), group) != groups.end())
        {
            return true;
        }
        for (const Core::RefPtr<Node>& child : group->children_)
        {
            if (visited.insert(child.Get()).second)
            {
                pending.push_back(child.Get());
            }
        }
    }
    return false;
}

void Group::AddChild(const Core::RefPtr<Node>& child)
{
    // The group itself or a node whose subtree holds it would own itself,
    // and an update would recurse without end.
    if (!child || SubtreeHoldsAny(*child, {this}))
    {
        return;
    }
    child->parent_ = this;
    children_.push_back(child);
    child->OnAttach();
}

void Group::RemoveChild(const Core::RefPtr<Node>& child)
{
    const auto found = std::find(children_.begin(), children_.end(), child);
    if (!child || found == children_.end())
    {
        return;
    }
    // The list's reference goes last, after the link is settled.
    const Core::RefPtr<Node> removed = std::move(*found);
    children_.erase(found);
    Unlink(*removed);
}

void Group::RemoveAllChildren()
{
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->OnDetach();
    }
    std::vector<Core::RefPtr<Node>> removed;
    removed.swap(children_);
    for (const Core::RefPtr<Node>& child : removed)
    {
        if (child->parent_ == this)
        {
            child->parent_ = nullptr;
        }
    }
}

void Group::Unlink(Node& child)
{
    if (child.parent_ == this && std::find(children_.begin(), children_.end(), &child) == children_.end())
    {
        child.parent_ = nullptr;
    }
}

} // namespace Engine
