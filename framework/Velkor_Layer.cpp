#include "framework/Velkor_Layer.h"

#include "core/Core_File.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_GeometricCollision.h"
#include "core/Core_String.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Circle.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_Line.h"
#include "framework/Velkor_Network.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Matrix4.h"

#include <algorithm>

namespace Velkor
{

// A layer is no copy of another: Clone makes a plain object, as the root does.
CORE_DEFINE_OBJECT_BASICS(Layer, "Velkor::Layer", Layer::ScriptTypeName, "Velkor_Layer", __LINE__)
static const Core::ClassRegistrar g_layerRegistrar("Velkor::Layer", &Layer::Create);

Core::Object* Layer::Clone() const
{
    return Core::Object::Clone();
}

Layer::Layer() : node_(new ("Velkor_Layer", __LINE__) Engine::TransformationGroup())
{
    RebuildTransform();
}

Layer::Layer(float z) : node_(new ("Velkor_Layer", __LINE__) Engine::TransformationGroup()), z_(z)
{
    if (Collision2D::CollisionEngine* collision = GameCollision())
    {
        const std::int32_t index = collision->AddLayer();
        collisionLayer_ = index >= 0 ? static_cast<std::uint8_t>(index) : 0;
    }
    RebuildTransform();
}

Layer::~Layer()
{
    Layer::Clear();
}

void Layer::Update(float) {}

void Layer::Clear()
{
    if (cleared_)
    {
        return;
    }
    cleared_ = true;
    for (const auto& entry : Snapshot())
    {
        entry->Detach();
    }
    // Objects still queued belong to the layer too.
    for (const Core::RefPtr<GameObject>& object : ObjectList(added_))
    {
        object->Detach();
    }
    if (Collision2D::CollisionEngine* collision = GameCollision())
    {
        collision->RemoveStaticShapes(collisionLayer_);
    }
}

void Layer::SetZOrder(float z)
{
    z_ = z;
    RebuildTransform();
}

void Layer::SetScale(float x, float y)
{
    scaleX_ = x;
    scaleY_ = y;
    RebuildTransform();
}

void Layer::SetRotation(float degrees)
{
    rotation_ = degrees;
    RebuildTransform();
}

void Layer::RebuildTransform()
{
    node_->SetTransformation(Math::Matrix4::Translation(0.0f, 0.0f, z_) *
                             Math::Matrix4::RotationZ(rotation_) *
                             Math::Matrix4::Scale(scaleX_, scaleY_, 1.0f));
}

// --- Objects -----------------------------------------------------------------------

bool Layer::AddGameObject(GameObject* object, bool networked, ZibPlayer* owner)
{
    if (object == nullptr || object->layer_ != nullptr || object->destroyed_)
    {
        return false;
    }
    // Held while the session layer may take (and drop) a reference.
    Core::RefPtr<GameObject> held(object);
    if (Collision2D::CollisionEngine* collision = object->OwnCollision())
    {
        collision->SetObjectPosition(object->collisionId_, object->position_);
        collision->SetObjectOrientation(object->collisionId_, object->rotation_);
        // The object's first collision step starts without motion. It is
        // found by its whole id: its own collision layer, whichever that is.
        if (Collision2D::DynamicObject* dynamic = collision->GetDynamicObject(object->collisionId_))
        {
            dynamic->ResetOldPose();
        }
    }
    if (networked)
    {
        ZibNet* network = GameNetwork();
        if (network == nullptr || !network->AddNetworkGameObject(held, index_, owner))
        {
            return false;
        }
    }
    QueueAddGameObject(object);
    return true;
}

GameObject* Layer::AddNetworkGameObject(const std::string& className, ZibPlayer* owner)
{
    ZibNet* network = GameNetwork();
    if (network == nullptr || !network->IsNetworkGame() || !network->IsHost())
    {
        return nullptr;
    }
    GameObject* base = network->FindBaseNetObject(className);
    if (base == nullptr)
    {
        return nullptr;
    }
    Core::RefPtr<GameObject> copy(static_cast<GameObject*>(base->Clone()));
    copy->SetNetworkBaseName(base->GetNetworkBaseName());
    return AddGameObject(copy.Get(), true, owner) ? copy.Get() : nullptr;
}

bool Layer::RemoveGameObject(GameObject* object)
{
    if (object == nullptr || object->layer_ != this || object->destroyed_)
    {
        return false;
    }
    ZibNet* network = GameNetwork();
    if (object->IsNetworkObject() && network != nullptr && network->IsNetworkGame())
    {
        // The host removes networked objects everywhere. A client asks the
        // host, and only the host's removal message takes its copy out.
        if (!network->RemoveNetworkGameObject(Core::RefPtr<GameObject>(object)) || !network->IsHost())
        {
            return false;
        }
    }
    QueueRemoveGameObject(object);
    return true;
}

void Layer::QueueAddGameObject(GameObject* object)
{
    object->layer_ = this;
    added_.emplace_back(object);
    nameIndex_[object->name_].emplace_back(object);
}

void Layer::QueueRemoveGameObject(GameObject* object)
{
    // Ended and detached once, however often it is asked for.
    if (std::find(removed_.begin(), removed_.end(), object) != removed_.end())
    {
        return;
    }
    removed_.emplace_back(object);
    RemoveFromNameIndex(object, object->name_);
}

void Layer::RemoveFromNameIndex(GameObject* object, const std::string& name)
{
    auto entry = nameIndex_.find(name);
    if (entry == nameIndex_.end())
    {
        return;
    }
    auto& list = entry->second;
    auto found = std::find(list.begin(), list.end(), object);
    if (found != list.end())
    {
        list.erase(found);
    }
}

void Layer::RenameGameObject(GameObject* object, const std::string& oldName, const std::string& newName)
{
    if (object == nullptr)
    {
        return;
    }
    RemoveFromNameIndex(object, oldName);
    nameIndex_[newName].emplace_back(object);
}

void Layer::GetGameObjects(ObjectList& objects) const
{
    objects.clear();
    objects.reserve(objects_.size());
    for (const auto& entry : objects_)
    {
        objects.push_back(entry.second);
    }
}

void Layer::GetGameObjectsByName(const std::string& name, ObjectList& objects) const
{
    objects.clear();
    auto entry = nameIndex_.find(name);
    if (entry != nameIndex_.end())
    {
        objects.assign(entry->second.begin(), entry->second.end());
    }
}

Layer::ObjectList Layer::Snapshot() const
{
    ObjectList objects;
    GetGameObjects(objects);
    return objects;
}

// --- Walks ---------------------------------------------------------------------------

void Layer::FrameUpdate(float dt)
{
    // Both loops read the queue's length anew: what an OnStart, OnEnd or
    // Detach queues is applied in the same walk.
    for (std::size_t i = 0; i < added_.size(); ++i)
    {
        Core::RefPtr<GameObject> object = added_[i];
        node_->AddChild(object->node_);
        objects_[object->id_] = object;
        object->OnStart();
    }
    added_.clear();
    for (std::size_t i = 0; i < removed_.size(); ++i)
    {
        Core::RefPtr<GameObject> object = removed_[i];
        node_->RemoveChild(object->node_);
        auto entry = objects_.find(object->id_);
        if (entry != objects_.end() && entry->second == object)
        {
            objects_.erase(entry);
        }
        object->OnEnd();
        object->Detach();
    }
    removed_.clear();
    if (visibleCollisionData_ && !cleared_)
    {
        ShowStaticShapes(false, true);
    }

    Update(dt);

    // Only the walks change the id map, so it is walked as it stands: what
    // an object's update adds or removes waits for the next walk.
    for (const auto& entry : objects_)
    {
        entry.second->UpdateEngineSide(dt);
    }
}

void Layer::RunExtraUpdate1(float dt)
{
    const bool client = IsNetworkClient();
    for (const auto& entry : objects_)
    {
        if (!client || !entry.second->IsNetworkObject())
        {
            entry.second->ExtraUpdate1(dt);
        }
    }
}

void Layer::RunExtraUpdate2(float dt)
{
    const bool client = IsNetworkClient();
    for (const auto& entry : objects_)
    {
        if (!client || !entry.second->IsNetworkObject())
        {
            entry.second->ExtraUpdate2(dt);
        }
    }
}

void Layer::UpdateObjectTransformations()
{
    for (const auto& entry : objects_)
    {
        entry.second->UpdateTransformation();
    }
}

void Layer::EndObjects()
{
    for (const auto& object : Snapshot())
    {
        object->OnEnd();
    }
}

// --- Collision -------------------------------------------------------------------------

void Layer::SetCollisionProperties(const Math::Vector2D& origin, std::int32_t width, std::int32_t height,
                                   std::int32_t cellSize)
{
    if (Collision2D::CollisionEngine* collision = GameCollision())
    {
        collision->InitializeLayerGrid(collisionLayer_, origin, width, height, cellSize);
    }
    collisionOrigin_ = origin;
    collisionWidth_ = width;
    collisionHeight_ = height;
    cellSize_ = cellSize;
}

Collision2D::CollisionId Layer::AddStaticLineSegment(const Math::Vector2D& a, const Math::Vector2D& b,
                                                     std::uint8_t z, std::uint32_t userId)
{
    Collision2D::CollisionEngine* collision = GameCollision();
    if (collision == nullptr)
    {
        return 0;
    }
    auto* segment = new ("Velkor_Layer", __LINE__) Collision2D::StaticCollisionLineSegment();
    segment->SetLineSegment(new ("Velkor_Layer", __LINE__) Math::LineSegment2D(a, b));
    segment->SetZCollision(z);
    segment->SetUserId(userId);
    const Collision2D::CollisionId id =
        collision->AddCollisionObject(segment, collisionLayer_, Math::Vector2D());
    if (id == 0)
    {
        delete segment;
    }
    return id;
}

void Layer::AddStaticCircle(const Math::Vector2D& center, float radius, std::uint8_t z, std::uint32_t userId)
{
    Collision2D::CollisionEngine* collision = GameCollision();
    if (collision == nullptr)
    {
        return;
    }
    auto* circle = new ("Velkor_Layer", __LINE__) Collision2D::StaticCollisionCircle();
    circle->SetCircle(new ("Velkor_Layer", __LINE__) Math::Circle2D(center, radius));
    circle->SetZCollision(z);
    circle->SetUserId(userId);
    if (collision->AddCollisionObject(circle, collisionLayer_, Math::Vector2D()) == 0)
    {
        delete circle;
    }
}

// --- Record ------------------------------------------------------------------------------

namespace
{

// A count checked against the bytes left, then that many game objects.
bool ReadList(Core::File& file, Layer::ObjectList& objects)
{
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count) || !file.Require(count))
    {
        return false;
    }
    objects.assign(count, nullptr);
    for (Core::RefPtr<GameObject>& object : objects)
    {
        Core::ReadRefPtr(file, object);
        if (file.Failed() || !object)
        {
            file.SetError(Core::FileError::BadData);
            return false;
        }
    }
    return true;
}

} // namespace

void Layer::Write(Core::File& file) const
{
    file << name_ << z_ << scaleX_ << scaleY_ << rotation_ << index_ << cleared_ << collisionLayer_;
    file << static_cast<std::uint32_t>(nameIndex_.size());
    for (const auto& [name, list] : nameIndex_)
    {
        file << name;
        Core::WriteRefPtrVector(file, ObjectList(list.begin(), list.end()));
    }
    file << static_cast<std::uint32_t>(objects_.size());
    for (const auto& [id, object] : objects_)
    {
        file << id;
        file.WriteObject(object.Get());
    }
    Core::WriteRefPtrVector(file, added_);
    Core::WriteRefPtrVector(file, removed_);
    // The second flag is the layer-partition display, which nothing shows.
    file << visibleCollisionData_ << false;
    file << collisionDataColor_.x << collisionDataColor_.y << collisionDataColor_.z << collisionDataColor_.w;
    file << layerPartitionColor_.x << layerPartitionColor_.y << layerPartitionColor_.z
         << layerPartitionColor_.w;
    file << collisionOrigin_.x << collisionOrigin_.y << collisionWidth_ << collisionHeight_ << cellSize_;
}

void Layer::Read(Core::File& file)
{
    std::string name;
    float z = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float rotation = 0.0f;
    std::uint32_t index = 0;
    bool cleared = false;
    std::uint8_t collisionLayer = 0;
    file >> name >> z >> scaleX >> scaleY >> rotation >> index >> cleared >> collisionLayer;
    std::uint32_t nameCount = 0;
    // Every entry takes at least its key's length and its list's count.
    if (file.Failed() || !file.ReadExact(&nameCount, sizeof nameCount) ||
        !file.Require(std::uint64_t{nameCount} * 8))
    {
        return;
    }
    // A cleared layer has let its objects go: a saved level holds none.
    if (cleared)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    NameIndex nameIndex;
    for (std::uint32_t i = 0; i < nameCount; ++i)
    {
        std::string key;
        ObjectList list;
        file >> key;
        if (file.Failed() || !ReadList(file, list))
        {
            return;
        }
        auto& entry = nameIndex[key];
        entry.insert(entry.end(), list.begin(), list.end());
    }
    std::uint32_t idCount = 0;
    // An entry is an id and a reference.
    if (!file.ReadExact(&idCount, sizeof idCount) || !file.Require(std::uint64_t{idCount} * 5))
    {
        return;
    }
    std::map<std::uint32_t, Core::RefPtr<GameObject>> objects;
    for (std::uint32_t i = 0; i < idCount; ++i)
    {
        std::uint32_t id = 0;
        Core::RefPtr<GameObject> object;
        file >> id;
        Core::ReadRefPtr(file, object);
        if (file.Failed())
        {
            return;
        }
        if (!object || object->GetID() != id || !objects.emplace(id, object).second)
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
    }
    ObjectList added;
    ObjectList removed;
    if (!ReadList(file, added) || !ReadList(file, removed))
    {
        return;
    }
    bool visibleCollisionData = false;
    bool visiblePartition = false;
    Math::Vector4 collisionColor;
    Math::Vector4 partitionColor;
    Math::Vector2D origin;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::int32_t cellSize = 1;
    file >> visibleCollisionData >> visiblePartition;
    file >> collisionColor.x >> collisionColor.y >> collisionColor.z >> collisionColor.w;
    file >> partitionColor.x >> partitionColor.y >> partitionColor.z >> partitionColor.w;
    file >> origin.x >> origin.y >> width >> height >> cellSize;
    if (file.Failed())
    {
        return;
    }

    name_ = std::move(name);
    z_ = z;
    scaleX_ = scaleX;
    scaleY_ = scaleY;
    rotation_ = rotation;
    index_ = index;
    collisionLayer_ = collisionLayer;
    RebuildTransform();
    nameIndex_ = std::move(nameIndex);
    objects_ = std::move(objects);
    for (const auto& entry : objects_)
    {
        node_->AddChild(entry.second->node_);
    }
    added_ = std::move(added);
    removed_ = std::move(removed);
    visibleCollisionData_ = visibleCollisionData;
    collisionDataColor_ = collisionColor;
    layerPartitionColor_ = partitionColor;
    collisionOrigin_ = origin;
    collisionWidth_ = width;
    collisionHeight_ = height;
    cellSize_ = cellSize;
}

void Layer::ForEachHeldObject(const std::function<void(GameObject&)>& visit) const
{
    for (const auto& entry : objects_)
    {
        visit(*entry.second);
    }
    for (const Core::RefPtr<GameObject>& object : added_)
    {
        visit(*object);
    }
    for (const Core::RefPtr<GameObject>& object : removed_)
    {
        visit(*object);
    }
}

} // namespace Velkor
