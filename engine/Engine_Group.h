#pragma once

#include "engine/Engine_Node.h"

#include <cstdint>
#include <vector>

namespace Engine
{

// A node with an ordered list of children, held by counted reference. The
// update walks the children after placing the group; the scene walk draws
// the group and then its children (a group does not test its own visible
// flag when drawing).
class Group : public Node
{
    CORE_DECLARE_OBJECT(Group)

public:
    Group() = default;
    // A deep copy: each child is copied by its own Clone, in order, and
    // belongs to the copy.
    Group(const Group& other);
    // Children that outlive the group (held elsewhere) lose their link to it.
    ~Group() override;

    // The node record, a 32-bit child count, then each child as an object
    // reference. Reading appends the children read (their parent link comes
    // from their own records, unless the group recorded there does not list
    // them: then this group becomes their parent; OnAttach is not called).
    // A child that is this group or one of its ancestors fails the read.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    std::uint32_t GetNodeType() const override { return NodeTypeGroup; }
    bool IsLeaf() const override { return false; }
    void PropagateValue(std::uint32_t value) override;
    Core::RefPtr<Node> FindNode(const std::string& name) override;
    void Propagate() override;
    // Hook, controllers, world := parent's world, the volume transformed by
    // it, every child's update in order, then the merge into the parent.
    void Update(float dt) override;
    void Render(const Math::Frustum& frustum) override;
    void Draw() override;
    // Own Draw, then every child's DrawRecursive, in order.
    void DrawRecursive() override;
    void SetVisibleRecursive(bool visible) override;
    void ShowBoundingVolumeRecursive(bool show) override;

    // Appends `child` and makes this group its parent; the same node may be
    // listed twice. Then calls the child's OnAttach. Null, this group, and a
    // node whose subtree holds this group are ignored: the group would own
    // itself.
    void AddChild(const Core::RefPtr<Node>& child);
    // Erases the first entry that is `child`; absent nodes are ignored. A
    // child no longer listed here loses its parent link.
    void RemoveChild(const Core::RefPtr<Node>& child);
    // OnDetach of every child in order, then the list is emptied; the
    // children lose their parent link.
    void RemoveAllChildren();

    const std::vector<Core::RefPtr<Node>>& GetChildren() const { return children_; }
    std::uint32_t GetChildCount() const { return static_cast<std::uint32_t>(children_.size()); }
    bool HasChild(const Node& child) const;

protected:
    // Every child's update, in list order.
    void UpdateChildren(float dt);

    std::vector<Core::RefPtr<Node>> children_;

private:
    // Clears `child`'s parent link when it names this group and the child
    // is no longer listed here.
    void Unlink(Node& child);
    // Whether `root` is one of `groups` or holds one through child lists.
    static bool SubtreeHoldsAny(const Node& root, const std::vector<const Group*>& groups);
};

} // namespace Engine
