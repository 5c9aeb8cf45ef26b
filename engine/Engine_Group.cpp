#include "engine/Engine_Group.h"

#include "core/Core_File.h"

#include <algorithm>

namespace Engine
{

CORE_DEFINE_OBJECT(Group, "Engine::Group", "Group", "Engine_Group", __LINE__)

namespace
{

// Groups whose records are being read, innermost last. A child that is one
// of them would close a cycle of counted references (a group owning
// itself), and an unbounded nesting would exhaust the stack.
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

    Node::Read(file);
    std::uint32_t count = 0;
    // Every child record takes at least its presence byte.
    if (!file.ReadExact(&count, sizeof count) || !file.Require(count))
    {
        return;
    }
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
        Node* child = dynamic_cast<Node*>(object);
        const bool cycle = std::find(g_groupsBeingRead.begin(), g_groupsBeingRead.end(), object) !=
                               g_groupsBeingRead.end() ||
                           (child != nullptr && ClosesParentCycle(*child, this));
        if (child == nullptr || cycle)
        {
            // A fresh object that nothing will hold goes at once; one whose
            // record is still being read up the stack stays to its reader.
            if (!cycle && object->GetReferenceCount() == 0)
            {
                Core::RefPtr<Core::Object> discard(object);
            }
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

void Group::AddChild(const Core::RefPtr<Node>& child)
{
    if (!child)
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
