#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "engine/Engine_BoundingVolume.h"
#include "math/Math_Frustum.h"
#include "math/Math_Matrix4.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Renderer
{
class Effect;
}

namespace Engine
{

class Group;
class Node;

// Something attached to a node that is updated with it. Nothing in the
// engine attaches one; the node only drives the interface.
class NodeController : public Core::Object
{
public:
    // Called in every update of the node, after its update hook.
    virtual void Update(float dt) = 0;
    // The node it is attached to; none once the node is destroyed.
    virtual void SetNode(Node* node) = 0;
};

// Node type ids answered by GetNodeType.
enum NodeType : std::uint32_t
{
    NodeTypeLeaf = 0,
    NodeTypeCamera = 1,
    NodeTypeGroup = 3,
    NodeTypeTransformationGroup = 4,
    NodeTypeSceneGraph = 5,
};

// The root of the scene graph. A node has a world transformation (rebuilt
// by every update from its parent's), a raw link to the group that holds
// it, a bounding volume, a name and a few flags. A plain node has no
// placement of its own: it takes its parent's world transformation
// unchanged.
//
// Ownership runs downwards only: a group holds counted references to its
// children, a child only a raw link to its parent. The link is set while
// the child is in its parent's list and cleared when it leaves it (or the
// group goes), so it never names a destroyed group.
//
// Nodes live in counted references: operations that hand out the node
// itself (FindNode) do so as a counted reference.
class Node : public Core::Object
{
    CORE_DECLARE_OBJECT(Node)

public:
    // Called first in every update; the default does nothing.
    using UpdateHook = void (*)(Node& node, float dt);

    Node();
    // Copies the world transformation, flags, name and hook; the bounding
    // volume with a clone of its debug mesh; a clone of each controller,
    // attached to the copy. The copy belongs to no group yet.
    Node(const Node& other);
    Node& operator=(const Node&) = delete;
    // Controllers are told that they have no node any more.
    ~Node() override;

    // World transformation (16 floats), parent (an object reference), the
    // five flags (reserved, merge, show bounding volume, visible, overlay)
    // and the name. The bounding volume is not stored: a read node keeps its
    // constructed box. A read that fails changes nothing.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    // --- Node operations --------------------------------------------------
    virtual std::uint32_t GetNodeType() const { return NodeTypeLeaf; }
    virtual bool IsLeaf() const { return true; }
    // Groups forward the value to every child; nothing else reads it.
    virtual void PropagateValue(std::uint32_t value);
    virtual Math::Matrix4 GetWorldTransformation() const { return world_; }
    // This node when its name equals `name` exactly; groups then search
    // their children depth first, in list order.
    virtual Core::RefPtr<Node> FindNode(const std::string& name);
    // Plain groups forward it to every child; nothing else reads it.
    virtual void Propagate();
    // Hook, controllers, world := parent's world, then the merge of this
    // node's box into the parent's when that flag is set.
    virtual void Update(float dt);
    // Scene walk of one view: drawables submit their render items.
    virtual void Render(const Math::Frustum& frustum);
    // A plain node refreshes its debug mesh when its volume is shown.
    virtual void Draw();
    virtual void DrawRecursive();
    virtual void OnAttach();
    virtual void OnDetach();
    virtual void SetVisibleRecursive(bool visible);
    virtual void ShowBoundingVolumeRecursive(bool show);
    // Update of each attached controller, in order.
    virtual void UpdateControllers(float dt);

    // --- Flags and name ---------------------------------------------------
    // With `recursive` the children of a group take the flag too.
    void SetVisible(bool visible, bool recursive);
    bool IsVisible() const { return visible_; }
    void ShowBoundingVolume(bool show, bool recursive);
    bool IsBoundingVolumeShown() const { return showBoundingVolume_; }
    // Drawables with this flag are not culled and their items are drawn
    // once per frame over every viewport, in window pixels.
    void SetOverlay(bool overlay) { overlay_ = overlay; }
    bool IsOverlay() const { return overlay_; }
    // When set, the update grows the parent's current box around this
    // node's current box.
    void SetMergeBoundsIntoParent(bool merge) { mergeBoundsIntoParent_ = merge; }
    bool GetMergeBoundsIntoParent() const { return mergeBoundsIntoParent_; }
    void SetName(const std::string& name) { name_ = name; }
    std::string GetName() const { return name_; }

    // --- Placement --------------------------------------------------------
    // The group that holds this node, or none.
    Group* GetParent() const { return parent_; }
    const Math::Matrix4& GetWorldMatrix() const { return world_; }
    BoundingVolume& GetBoundingVolume() { return boundingVolume_; }
    const BoundingVolume& GetBoundingVolume() const { return boundingVolume_; }

    void SetUpdateHook(UpdateHook hook);
    // The node takes a reference and tells the controller its node.
    void AttachController(const Core::RefPtr<NodeController>& controller);
    const std::vector<Core::RefPtr<NodeController>>& GetControllers() const { return controllers_; }

protected:
    friend class Group;

    // The first two steps of every update.
    void RunHookAndControllers(float dt)
    {
        updateHook_(*this, dt);
        UpdateControllers(dt);
    }
    // The parent's world transformation as its last update left it; the
    // node's own when it has no parent.
    const Math::Matrix4& GetParentWorldMatrix() const
    {
        return parent_ != nullptr ? WorldOf(*parent_) : world_;
    }
    // The last step: grow the parent's box around this one, when asked.
    void MergeIntoParent();
    // The debug mesh of the bounding volume, refreshed and submitted with
    // `effect` as triangles of draw range 0.
    void SubmitBoundingVolume(const Core::RefPtr<Renderer::Effect>& effect);

    Math::Matrix4 world_;
    Group* parent_ = nullptr;
    BoundingVolume boundingVolume_;

private:
    static void NoUpdate(Node&, float) {}
    // Whether `node` is `parent` or one of its ancestors, so that making
    // `parent` the parent of `node` would close a loop of parent links.
    static bool ClosesParentCycle(const Node& node, const Group* parent);
    static const Math::Matrix4& WorldOf(const Group& group);

    // Persisted; nothing reads it.
    bool reserved_ = true;
    bool mergeBoundsIntoParent_ = true;
    bool showBoundingVolume_ = false;
    bool visible_ = true;
    bool overlay_ = false;
    std::string name_;
    UpdateHook updateHook_ = &NoUpdate;
    std::vector<Core::RefPtr<NodeController>> controllers_;
};

} // namespace Engine
