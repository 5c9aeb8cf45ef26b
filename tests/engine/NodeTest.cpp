#include "core/Core_MemoryFile.h"
#include "engine/Engine_Camera.h"
#include "engine/Engine_Group.h"
#include "engine/Engine_Node.h"
#include "engine/Engine_TransformationGroup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Core::RefPtr;
using Engine::Group;
using Engine::Node;
using Engine::TransformationGroup;

namespace
{

template <class T> RefPtr<T> Make(const std::string& name)
{
    RefPtr<T> node(new T());
    node->SetName(name);
    return node;
}

Math::Vector3 TranslationOf(const Math::Matrix4& matrix)
{
    return {matrix.m[12], matrix.m[13], matrix.m[14]};
}

std::vector<std::string> g_hookCalls;

void RecordHook(Node& node, float)
{
    g_hookCalls.push_back(node.GetName());
}

class CountingController : public Engine::NodeController
{
public:
    void Update(float dt) override { g_hookCalls.push_back("controller " + std::to_string(dt)); }
    void SetNode(Node* node) override { attached = node; }
    CountingController* Clone() const override { return new CountingController(*this); }

    Node* attached = nullptr;
};

TEST(Node, FindNodeMatchesItselfFirstThenSearchesDepthFirst)
{
    const RefPtr<Group> root = Make<Group>("same");
    const RefPtr<Group> inner = Make<Group>("inner");
    const RefPtr<Node> deep = Make<Node>("target");
    const RefPtr<Node> later = Make<Node>("target");
    root->AddChild(Make<Node>("same"));
    root->AddChild(inner);
    inner->AddChild(deep);
    root->AddChild(later);

    EXPECT_EQ(root->FindNode("same").Get(), root.Get());
    EXPECT_EQ(root->FindNode("target").Get(), deep.Get());
    EXPECT_EQ(later->FindNode("target").Get(), later.Get());
    EXPECT_FALSE(root->FindNode("Target"));
    EXPECT_FALSE(root->FindNode("missing"));
}

TEST(Group, AddingTwiceListsTwiceAndRemovingTakesOnlyTheFirst)
{
    const RefPtr<Group> group = Make<Group>("group");
    const RefPtr<Node> child = Make<Node>("child");
    const RefPtr<Node> other = Make<Node>("other");
    group->AddChild(child);
    group->AddChild(other);
    group->AddChild(child);
    group->AddChild(nullptr);
    ASSERT_EQ(group->GetChildCount(), 3u);
    EXPECT_EQ(child->GetReferenceCount(), 3u);

    group->RemoveChild(child);
    ASSERT_EQ(group->GetChildCount(), 2u);
    EXPECT_EQ(group->GetChildren()[0].Get(), other.Get());
    EXPECT_EQ(group->GetChildren()[1].Get(), child.Get());
    // Still listed, so still linked.
    EXPECT_EQ(child->GetParent(), group.Get());

    const RefPtr<Node> stranger = Make<Node>("stranger");
    group->RemoveChild(stranger);
    EXPECT_EQ(group->GetChildCount(), 2u);
    EXPECT_EQ(stranger->GetReferenceCount(), 1u);
}

// A child that leaves its group, however it leaves, forgets the group: its
// own update and the camera's position must not reach a destroyed group.
TEST(Group, ChildThatLeavesItsGroupHasNoParent)
{
    const std::vector<std::string> ways = {"RemoveChild", "RemoveAllChildren", "group destroyed"};
    for (const std::string& way : ways)
    {
        SCOPED_TRACE(way);
        RefPtr<TransformationGroup> group = Make<TransformationGroup>("group");
        group->SetTransformation(Math::Matrix4::Translation(1, 2, 3));
        const RefPtr<Node> child = Make<Node>("child");
        const RefPtr<Engine::Camera> camera(new Engine::Camera(45.0f, 0.1f, 10000.0f));
        group->AddChild(child);
        group->AddChild(camera);
        group->Update(0.0f);
        ASSERT_EQ(child->GetParent(), group.Get());

        if (way == "RemoveChild")
        {
            group->RemoveChild(child);
            group->RemoveChild(camera);
        }
        else if (way == "RemoveAllChildren")
        {
            group->RemoveAllChildren();
            EXPECT_EQ(group->GetChildCount(), 0u);
        }
        else
        {
            group = nullptr;
        }
        EXPECT_EQ(child->GetParent(), nullptr);
        EXPECT_EQ(camera->GetParent(), nullptr);
        // They keep the placement they last had.
        child->Update(0.0f);
        camera->Update(0.0f);
        EXPECT_EQ(TranslationOf(child->GetWorldMatrix()).y, 2.0f);
        EXPECT_EQ(camera->GetPosition().z, 3.0f);
    }
}

TEST(Group, ChildMovedToAnotherGroupKeepsItsNewParentWhenRemovedFromTheOld)
{
    const RefPtr<Group> first = Make<Group>("first");
    const RefPtr<Group> second = Make<Group>("second");
    const RefPtr<Node> child = Make<Node>("child");
    first->AddChild(child);
    second->AddChild(child);
    first->RemoveChild(child);
    EXPECT_EQ(child->GetParent(), second.Get());
    first->AddChild(child);
    second->RemoveAllChildren();
    EXPECT_EQ(child->GetParent(), first.Get());
}

TEST(Node, UpdatePlacesChildrenAndRunsHooksTopDown)
{
    const RefPtr<TransformationGroup> root = Make<TransformationGroup>("root");
    const RefPtr<TransformationGroup> arm = Make<TransformationGroup>("arm");
    const RefPtr<Node> hand = Make<Node>("hand");
    const RefPtr<Node> other = Make<Node>("other");
    root->SetTransformation(Math::Matrix4::Translation(10, 0, 0));
    arm->SetTransformation(Math::Matrix4::RotationZ(90.0f) * Math::Matrix4::Translation(0, 5, 0));
    root->AddChild(arm);
    root->AddChild(other);
    arm->AddChild(hand);
    for (Node* node :
         {static_cast<Node*>(root.Get()), static_cast<Node*>(arm.Get()), hand.Get(), other.Get()})
    {
        node->SetUpdateHook(&RecordHook);
    }
    const RefPtr<CountingController> controller(new CountingController());
    hand->AttachController(controller);
    EXPECT_EQ(controller->attached, hand.Get());

    g_hookCalls.clear();
    root->Update(0.5f);
    EXPECT_EQ(g_hookCalls, (std::vector<std::string>{"root", "arm", "hand", "controller 0.500000", "other"}));

    // The arm's own translation is turned by its rotation: (0, 5) -> (-5, 0).
    const Math::Vector3 hand_at = TranslationOf(hand->GetWorldMatrix());
    EXPECT_NEAR(hand_at.x, 5.0f, 1e-5f);
    EXPECT_NEAR(hand_at.y, 0.0f, 1e-5f);
    EXPECT_EQ(TranslationOf(other->GetWorldMatrix()).x, 10.0f);
    // Through the operation, without an update: parent's world x local.
    EXPECT_NEAR(arm->GetWorldTransformation().m[12], 5.0f, 1e-5f);
    const RefPtr<TransformationGroup> loose = Make<TransformationGroup>("loose");
    loose->SetTransformation(Math::Matrix4::Translation(7, 0, 0));
    EXPECT_EQ(loose->GetWorldTransformation().m[12], 7.0f);

    hand->SetUpdateHook(nullptr);
    g_hookCalls.clear();
    root->Update(0.0f);
    EXPECT_EQ(g_hookCalls.size(), 4u);
}

TEST(Node, GroupBoxEnclosesTheChildrenThatMergeIntoIt)
{
    const RefPtr<TransformationGroup> root = Make<TransformationGroup>("root");
    const RefPtr<TransformationGroup> far = Make<TransformationGroup>("far");
    const RefPtr<TransformationGroup> aside = Make<TransformationGroup>("aside");
    far->SetTransformation(Math::Matrix4::Translation(100, 0, 0));
    aside->SetTransformation(Math::Matrix4::Translation(0, -200, 0));
    aside->SetMergeBoundsIntoParent(false);
    root->AddChild(far);
    root->AddChild(aside);
    root->Update(0.0f);

    const Math::BoundingBox& box = root->GetBoundingVolume().GetCurrentBox();
    EXPECT_EQ(box.corners[0].x, 105.0f); // max x from the far child
    EXPECT_EQ(box.corners[6].x, -5.0f);  // min x from its own cube
    EXPECT_EQ(box.corners[6].y, -5.0f);  // the aside child is left out
    EXPECT_EQ(aside->GetBoundingVolume().GetCurrentBox().corners[6].y, -205.0f);
}

TEST(Node, SetVisibleReachesChildrenOnlyWhenRecursive)
{
    const RefPtr<Group> group = Make<Group>("group");
    const RefPtr<Node> child = Make<Node>("child");
    group->AddChild(child);
    group->SetVisible(false, false);
    EXPECT_FALSE(group->IsVisible());
    EXPECT_TRUE(child->IsVisible());
    group->SetVisible(false, true);
    EXPECT_FALSE(child->IsVisible());
    group->ShowBoundingVolume(true, true);
    EXPECT_TRUE(child->IsBoundingVolumeShown());
}

TEST(Node, CopyIsDeepAndItsChildrenBelongToTheCopy)
{
    const RefPtr<TransformationGroup> source = Make<TransformationGroup>("source");
    const RefPtr<Group> inner = Make<Group>("inner");
    const RefPtr<Node> leaf = Make<Node>("leaf");
    const RefPtr<CountingController> controller(new CountingController());
    source->SetTransformation(Math::Matrix4::Translation(3, 0, 0));
    source->AddChild(inner);
    inner->AddChild(leaf);
    leaf->SetOverlay(true);
    leaf->AttachController(controller);
    const RefPtr<Group> holder = Make<Group>("holder");
    holder->AddChild(source);

    const RefPtr<TransformationGroup> copy(static_cast<TransformationGroup*>(source->Clone()));
    EXPECT_EQ(copy->GetName(), "source");
    EXPECT_EQ(copy->GetTransformation().m[12], 3.0f);
    EXPECT_EQ(copy->GetParent(), nullptr);
    ASSERT_TRUE(copy->GetEffect());
    EXPECT_NE(copy->GetEffect().Get(), source->GetEffect().Get());

    const RefPtr<Node> copiedInner = copy->FindNode("inner");
    const RefPtr<Node> copiedLeaf = copy->FindNode("leaf");
    ASSERT_TRUE(copiedInner && copiedLeaf);
    EXPECT_NE(copiedInner.Get(), inner.Get());
    EXPECT_NE(copiedLeaf.Get(), leaf.Get());
    EXPECT_EQ(copiedInner->GetParent(), copy.Get());
    EXPECT_EQ(static_cast<Node*>(copiedLeaf->GetParent()), copiedInner.Get());
    EXPECT_TRUE(copiedLeaf->IsOverlay());
    EXPECT_NE(copiedLeaf->GetBoundingVolume().GetMesh().Get(), leaf->GetBoundingVolume().GetMesh().Get());
    ASSERT_EQ(copiedLeaf->GetControllers().size(), 1u);
    EXPECT_NE(copiedLeaf->GetControllers()[0].Get(), controller.Get());
    EXPECT_EQ(static_cast<CountingController*>(copiedLeaf->GetControllers()[0].Get())->attached,
              copiedLeaf.Get());
    EXPECT_EQ(inner->GetChildCount(), 1u);
    EXPECT_EQ(leaf->GetParent(), inner.Get());
}

TEST(Node, DestroyedNodeTellsItsControllers)
{
    const RefPtr<CountingController> controller(new CountingController());
    {
        const RefPtr<Node> node = Make<Node>("node");
        node->AttachController(controller);
    }
    EXPECT_EQ(controller->attached, nullptr);
}

TEST(Node, TreeRoundTripsThroughAnArchive)
{
    const RefPtr<TransformationGroup> root = Make<TransformationGroup>("root");
    root->SetTransformation(Math::Matrix4::Translation(1, 2, 3));
    const RefPtr<Node> leaf = Make<Node>("leaf");
    leaf->SetOverlay(true);
    leaf->SetVisible(false, false);
    leaf->SetMergeBoundsIntoParent(false);
    Math::BoundingBox small;
    Engine::BoundingVolume::SetCubeCorners(small, 1.0f);
    leaf->GetBoundingVolume().SetLocalBox(small);
    const RefPtr<Group> inner = Make<Group>("inner");
    const RefPtr<Node> shared = Make<Node>("shared");
    root->AddChild(leaf);
    root->AddChild(inner);
    inner->AddChild(shared);
    root->AddChild(shared);
    root->Update(0.0f);

    Core::MemoryFile file;
    file.WriteObject(root.Get());
    ASSERT_FALSE(file.Failed());

    Core::MemoryFile reader(file.GetData(), file.GetSize());
    const RefPtr<Core::Object> object(reader.ReadObject());
    ASSERT_FALSE(reader.Failed());
    EXPECT_EQ(reader.GetBytesLeft(), 0u);
    auto* read = dynamic_cast<TransformationGroup*>(object.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetName(), "root");
    EXPECT_EQ(read->GetTransformation().m[13], 2.0f);
    EXPECT_EQ(read->GetWorldMatrix().m[14], 3.0f);
    EXPECT_EQ(read->GetParent(), nullptr);
    ASSERT_EQ(read->GetChildCount(), 3u);

    const Node& readLeaf = *read->GetChildren()[0];
    EXPECT_STREQ(readLeaf.GetClassName(), "Engine::Node");
    EXPECT_EQ(readLeaf.GetName(), "leaf");
    EXPECT_TRUE(readLeaf.IsOverlay());
    EXPECT_FALSE(readLeaf.IsVisible());
    EXPECT_FALSE(readLeaf.GetMergeBoundsIntoParent());
    EXPECT_EQ(readLeaf.GetParent(), read);
    // The bounding volume is not stored: the default 10-unit cube.
    EXPECT_EQ(readLeaf.GetBoundingVolume().GetLocalBox().corners[0].x, 5.0f);

    auto* readInner = dynamic_cast<Group*>(read->GetChildren()[1].Get());
    ASSERT_NE(readInner, nullptr);
    EXPECT_STREQ(readInner->GetClassName(), "Engine::Group");
    ASSERT_EQ(readInner->GetChildCount(), 1u);
    // Written once, read back as one object.
    EXPECT_EQ(readInner->GetChildren()[0].Get(), read->GetChildren()[2].Get());
    EXPECT_EQ(readInner->GetChildren()[0]->GetName(), "shared");
}

// Builds the bytes of a group record with `count` children whose records
// follow from `children`.
Core::MemoryFile GroupRecord(std::uint32_t count, const std::vector<std::uint8_t>& children)
{
    Core::MemoryFile file;
    file << std::uint8_t{1} << std::string("Engine::Group") << std::uint32_t{1};
    file << Math::Matrix4();
    file << std::uint8_t{0}; // no parent
    file << true << true << false << true << false << std::string("loop");
    file << count;
    file.Write(children.data(), static_cast<std::uint32_t>(children.size()));
    return file;
}

TEST(Node, BadGroupRecordsFailTheArchive)
{
    // A child count far beyond the bytes that follow.
    {
        const Core::MemoryFile bytes = GroupRecord(0x10000000u, {});
        Core::MemoryFile reader(bytes.GetData(), bytes.GetSize());
        const RefPtr<Core::Object> object(reader.ReadObject());
        EXPECT_EQ(reader.GetError(), Core::FileError::ShortRead);
        ASSERT_TRUE(object);
        EXPECT_EQ(static_cast<Group*>(object.Get())->GetChildCount(), 0u);
    }
    // The group listed as its own child would own itself.
    {
        Core::MemoryFile self;
        self << std::uint8_t{1} << std::string("Engine::Group") << std::uint32_t{1};
        const Core::MemoryFile bytes = GroupRecord(1, self.GetBuffer());
        Core::MemoryFile reader(bytes.GetData(), bytes.GetSize());
        const RefPtr<Core::Object> object(reader.ReadObject());
        EXPECT_EQ(reader.GetError(), Core::FileError::BadData);
        ASSERT_TRUE(object);
        EXPECT_EQ(static_cast<Group*>(object.Get())->GetChildCount(), 0u);
    }
    // A parent of another class fails the read and is not kept alive.
    {
        const std::int32_t live = Core::GetLiveObjectCount();
        Core::MemoryFile file;
        file << std::uint8_t{1} << std::string("Engine::Node") << std::uint32_t{1};
        file << Math::Matrix4();
        file << std::uint8_t{1} << std::string("Object") << std::uint32_t{2};
        file << true << true << false << true << false << std::string("orphan");
        {
            Core::MemoryFile reader(file.GetData(), file.GetSize());
            const RefPtr<Core::Object> object(reader.ReadObject());
            EXPECT_EQ(reader.GetError(), Core::FileError::BadData);
        }
        EXPECT_EQ(Core::GetLiveObjectCount(), live);
    }
    // A truncated record changes nothing of the node's defaults.
    {
        const RefPtr<Node> node = Make<Node>("kept");
        Core::MemoryFile file;
        node->Write(file);
        Core::MemoryFile reader(file.GetData(), file.GetSize() - 2);
        const RefPtr<Node> target = Make<Node>("target");
        target->Read(reader);
        EXPECT_TRUE(reader.Failed());
        EXPECT_EQ(target->GetName(), "target");
    }
}

// Record heads and node bodies for hand-made archives: a new object is
// (1, class, id) followed by its record; a reference back to one already
// read is the head alone.
void Head(Core::MemoryFile& file, const char* className, std::uint32_t id)
{
    file << std::uint8_t{1} << std::string(className) << id;
}

void NodeFlagsAndName(Core::MemoryFile& file, const char* name)
{
    file << true << true << false << true << false << std::string(name);
}

TEST(Node, ReadParentLinksAlwaysNameAGroupThatListsTheNode)
{
    // Root R lists C and D; C's record names D as its parent, but D does
    // not list C. When D goes, C must not be left pointing at it.
    Core::MemoryFile file;
    Head(file, "Engine::Group", 1);
    file << Math::Matrix4() << std::uint8_t{0};
    NodeFlagsAndName(file, "R");
    file << std::uint32_t{2};
    Head(file, "Engine::Node", 2);
    file << Math::Matrix4();
    Head(file, "Engine::Group", 3);
    file << Math::Matrix4();
    Head(file, "Engine::Group", 1);
    NodeFlagsAndName(file, "D");
    file << std::uint32_t{0};
    NodeFlagsAndName(file, "C");
    Head(file, "Engine::Group", 3);

    Core::MemoryFile reader(file.GetData(), file.GetSize());
    const RefPtr<Core::Object> object(reader.ReadObject());
    ASSERT_FALSE(reader.Failed());
    auto* root = dynamic_cast<Group*>(object.Get());
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->GetChildCount(), 2u);
    const RefPtr<Node> c = root->GetChildren()[0];
    const RefPtr<Node> d = root->GetChildren()[1];
    EXPECT_EQ(d->GetParent(), root);
    EXPECT_EQ(c->GetParent(), root);
    root->RemoveChild(d);
    EXPECT_EQ(c->GetParent(), root);
    c->Update(0.0f);
}

TEST(Node, ReadParentLinksThatLoopAreRefused)
{
    // A transformation group whose parent is itself, and two whose parents
    // name each other: a world transformation would recurse without end.
    const auto matrices = [](Core::MemoryFile& file)
    {
        for (int i = 0; i < 3; ++i)
        {
            file << Math::Matrix4();
        }
    };
    Core::MemoryFile self;
    Head(self, "Engine::TransformationGroup", 1);
    self << Math::Matrix4();
    Head(self, "Engine::TransformationGroup", 1);
    NodeFlagsAndName(self, "A");
    self << std::uint32_t{0};
    matrices(self);

    Core::MemoryFile pair;
    Head(pair, "Engine::TransformationGroup", 1);
    pair << Math::Matrix4();
    Head(pair, "Engine::TransformationGroup", 2);
    pair << Math::Matrix4();
    Head(pair, "Engine::TransformationGroup", 1);
    NodeFlagsAndName(pair, "B");
    pair << std::uint32_t{0};
    matrices(pair);
    NodeFlagsAndName(pair, "A");
    pair << std::uint32_t{0};
    matrices(pair);

    for (const Core::MemoryFile* bytes : {&self, &pair})
    {
        const std::int32_t live = Core::GetLiveObjectCount();
        {
            Core::MemoryFile reader(bytes->GetData(), bytes->GetSize());
            const RefPtr<Core::Object> object(reader.ReadObject());
            EXPECT_EQ(reader.GetError(), Core::FileError::BadData);
            if (auto* group = dynamic_cast<TransformationGroup*>(object.Get()))
            {
                EXPECT_EQ(group->GetParent(), nullptr);
                group->GetWorldTransformation();
            }
        }
        EXPECT_EQ(Core::GetLiveObjectCount(), live);
    }
}

// Graphs the writer makes from a node inside a tree: the node's record
// carries its parent, whose record lists the node again.
TEST(Node, SubtreesWrittenFromInsideATreeReadBackAndFreeWhatNoOneTakes)
{
    const std::int32_t live = Core::GetLiveObjectCount();
    {
        const RefPtr<Group> root = Make<Group>("root");
        const RefPtr<Group> inner = Make<Group>("inner");
        const RefPtr<Node> leaf = Make<Node>("leaf");
        root->AddChild(inner);
        root->AddChild(Make<Node>("sibling"));
        inner->AddChild(leaf);
        for (const RefPtr<Node>& written : {RefPtr<Node>(inner), leaf})
        {
            SCOPED_TRACE(written->GetName());
            Core::MemoryFile file;
            file.WriteObject(written.Get());
            RefPtr<Node> read;
            {
                Core::MemoryFile reader(file.GetData(), file.GetSize());
                read = dynamic_cast<Node*>(reader.ReadObject());
                ASSERT_FALSE(reader.Failed());
                ASSERT_TRUE(read);
                EXPECT_EQ(read->GetName(), written->GetName());
                ASSERT_NE(read->GetParent(), nullptr);
                EXPECT_TRUE(read->GetParent()->HasChild(*read));
            }
            // The parents went with the archive; the link went with them.
            EXPECT_EQ(read->GetParent(), nullptr);
            if (auto* group = dynamic_cast<Group*>(read.Get()))
            {
                ASSERT_EQ(group->GetChildCount(), 1u);
                EXPECT_EQ(group->GetChildren()[0]->GetParent(), group);
            }
            read->Update(0.0f);
        }
    }
    EXPECT_EQ(Core::GetLiveObjectCount(), live);
}

// A node whose parent's list names the node and then fails: the list is
// dropped while the node's own read is still running further up.
TEST(Node, AParentListThatFailsDoesNotFreeTheNodeBeingRead)
{
    const std::int32_t live = Core::GetLiveObjectCount();
    {
        Core::MemoryFile file;
        Head(file, "Engine::Node", 1);
        file << Math::Matrix4();
        Head(file, "Engine::Group", 2);
        file << Math::Matrix4() << std::uint8_t{0};
        NodeFlagsAndName(file, "parent");
        file << std::uint32_t{2};
        Head(file, "Engine::Node", 1);
        Head(file, "Engine::Node", 3); // a record that ends early
        Core::MemoryFile reader(file.GetData(), file.GetSize());
        const RefPtr<Core::Object> object(reader.ReadObject());
        EXPECT_TRUE(reader.Failed());
        ASSERT_TRUE(object);
        EXPECT_EQ(static_cast<Node*>(object.Get())->GetParent(), nullptr);
    }
    EXPECT_EQ(Core::GetLiveObjectCount(), live);
}

TEST(Group, AddingItselfOrAnAncestorIsIgnored)
{
    const RefPtr<Group> root = Make<Group>("root");
    const RefPtr<Group> inner = Make<Group>("inner");
    root->AddChild(inner);
    root->AddChild(root);
    inner->AddChild(root);
    inner->AddChild(inner);
    EXPECT_EQ(root->GetChildCount(), 1u);
    EXPECT_EQ(inner->GetChildCount(), 0u);
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_EQ(inner->GetParent(), root.Get());
    root->Update(0.0f);
}

} // namespace
