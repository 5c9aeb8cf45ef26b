// The records of a game object: the saved game's (Write / Read), the
// network creation record (NetworkSave / NetworkLoad) and the per-frame
// sync record (NetworkSyncSend / NetworkSyncReceive). Derived classes run
// the base operation first and append their own fields.

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_MainCollisionObject.h"
#include "core/Core_File.h"
#include "core/Core_String.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_ScriptValues.h"

namespace Velkor
{

namespace
{

// Reads an object reference that must be null or a T; anything else fails
// the archive.
template <class T> bool ReadReference(Core::File& file, T*& object)
{
    Core::Object* read = file.ReadObject();
    object = dynamic_cast<T*>(read);
    if (read != nullptr && object == nullptr)
    {
        file.SetError(Core::FileError::BadData);
    }
    return !file.Failed();
}

} // namespace

// --- Saved game ----------------------------------------------------------------------

void GameObject::Write(Core::File& file) const
{
    file << position_.x << position_.y << center_.x << center_.y << rotation_;
    file << static_cast<std::uint32_t>(children_.size());
    for (GameObject* child : children_)
    {
        file.WriteObject(child);
    }
    file.WriteObject(support_);
    file.WriteObject(layer_);
    file << name_;
    file << scaleX_ << scaleY_ << opacity_;
    file << color_.x << color_.y << color_.z << color_.w;
    file << node_->IsVisible();
    file << lifeTime_ << age_ << zOrder_;
    file << id_ << collisionId_ << physicsId_;
    file << destroyed_ << beingDestroyed_ << transformEnabled_ << detached_;
    file << script_.IsEnabled() << script_.GetFile() << script_.IsCloned() << script_.RecordedLoaded();
    if (script_.WritesRecordPart())
    {
        WriteManagedRecords(file, managedObjects_, managedObjectNames_);
        script_.Call("Save");
    }
}

void GameObject::Read(Core::File& file)
{
    Math::Vector2D position;
    Math::Vector2D center;
    float rotation = 0.0f;
    file >> position.x >> position.y >> center.x >> center.y >> rotation;
    std::uint32_t childCount = 0;
    // Every reference takes at least one byte.
    if (!file.ReadExact(&childCount, sizeof childCount) || !file.Require(childCount))
    {
        return;
    }
    std::vector<GameObject*> children;
    children.reserve(childCount);
    for (std::uint32_t i = 0; i < childCount; ++i)
    {
        GameObject* child = nullptr;
        if (!ReadReference(file, child))
        {
            return;
        }
        if (child == nullptr)
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
        children.push_back(child);
    }
    GameObject* support = nullptr;
    Layer* layer = nullptr;
    if (!ReadReference(file, support) || !ReadReference(file, layer))
    {
        return;
    }
    std::string name;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float opacity = 1.0f;
    Math::Vector4 color;
    bool visible = true;
    float lifeTime = 0.0f;
    float age = 0.0f;
    float zOrder = 0.0f;
    std::uint32_t id = 0;
    Collision2D::CollisionId collisionId = 0;
    std::uint32_t physicsId = 0;
    bool destroyed = false;
    bool beingDestroyed = false;
    bool transformEnabled = true;
    bool detached = false;
    bool scriptEnabled = false;
    std::string scriptFile;
    bool clonedScript = false;
    bool scriptLoaded = false;
    file >> name >> scaleX >> scaleY >> opacity >> color.x >> color.y >> color.z >> color.w >> visible;
    file >> lifeTime >> age >> zOrder >> id >> collisionId >> physicsId;
    file >> destroyed >> beingDestroyed >> transformEnabled >> detached;
    file >> scriptEnabled >> scriptFile >> clonedScript >> scriptLoaded;
    if (file.Failed())
    {
        return;
    }
    if (!ScriptAttachment::IsFileNameInFolder(scriptFile))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }

    position_ = position;
    center_ = center;
    rotation_ = rotation;
    children_ = std::move(children);
    support_ = support;
    layer_ = layer;
    name_ = std::move(name);
    scaleX_ = scaleX;
    scaleY_ = scaleY;
    opacity_ = opacity;
    color_ = color;
    node_->SetVisible(visible, false);
    lifeTime_ = lifeTime;
    age_ = age;
    zOrder_ = zOrder;
    // The ids are restored, not taken anew.
    id_ = id;
    collisionId_ = collisionId;
    physicsId_ = physicsId;
    destroyed_ = destroyed;
    beingDestroyed_ = beingDestroyed;
    transformEnabled_ = transformEnabled;
    detached_ = detached;

    // The collision world was read before the objects: the object takes
    // its collision object back. A slot that names nothing, or one another
    // object of this read already took, is bad data.
    collisionActive_ = false;
    if (collisionId_ != 0 && !detached_)
    {
        Collision2D::CollisionEngine* collision = GameCollision();
        Collision2D::MainCollisionObject* object =
            collision != nullptr ? collision->GetCollisionObject(collisionId_) : nullptr;
        if (object == nullptr || object->GetOwner() != 0)
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
        object->SetOwner(reinterpret_cast<Collision2D::OwnerWord>(this));
        collisionActive_ = true;
    }

    script_.SetEnabled(scriptEnabled);
    script_.SetFile(scriptFile);
    script_.SetCloned(clonedScript);
    script_.SetLoaded(scriptLoaded);
    script_.ClearSource();
    if (ScriptAttachment::RecordHasPart(scriptEnabled, scriptLoaded, scriptFile))
    {
        ReadScriptPart(file);
    }
}

void GameObject::ReadScriptPart(Core::File& file)
{
    const ScriptPartNesting nesting;
    if (nesting.Refuses(file))
    {
        return;
    }
    LoadScript(false);
    std::vector<Core::RefPtr<GameObject>> objects;
    std::vector<std::string> names;
    if (!script_.IsRunning())
    {
        // The part is in the bytes, and only the script can read it: without
        // it, what follows would be read from the wrong place.
        file.SetError(Core::FileError::BadData);
    }
    else if (ReadManagedRecords(file, objects, names))
    {
        // The saved objects take the place of what the "Constructor" made,
        // under the same names; those go as any object does, and so do the
        // names it gave them: one the save lacks would name an object that
        // nothing keeps.
        script_.ClearGlobals(managedObjectNames_);
        managedObjects_.clear();
        managedObjectNames_.clear();
        for (std::size_t i = 0; i < objects.size(); ++i)
        {
            if (!AddManagedObject(objects[i].Get(), names[i]))
            {
                file.SetError(Core::FileError::BadData);
                break;
            }
            script_.SetGlobal(names[i].c_str(), objects[i].Get());
        }
        if (!file.Failed())
        {
            script_.Call("Load");
        }
    }
    if (file.Failed())
    {
        DropManagedObjects();
        script_.Release();
    }
}

void GameObject::DropManagedObjects()
{
    for (const Core::RefPtr<GameObject>& managed : managedObjects_)
    {
        if (managed)
        {
            managed->ForgetLoadedLinks();
        }
    }
    managedObjects_.clear();
    managedObjectNames_.clear();
}

void GameObject::ForgetLoadedLinks()
{
    children_.clear();
    support_ = nullptr;
    layer_ = nullptr;
    collisionActive_ = false;
    physicsId_ = 0;
    DropManagedObjects();
    detached_ = true;
    destroyed_ = true;
}

void GameObject::ForgetLoadedLinks(const std::vector<Core::RefPtr<Core::Object>>& objects, std::size_t from)
{
    for (std::size_t i = from; i < objects.size(); ++i)
    {
        if (auto* gameObject = dynamic_cast<GameObject*>(objects[i].Get()))
        {
            gameObject->ForgetLoadedLinks();
        }
    }
}

// --- Network creation record ---------------------------------------------------------

void GameObject::NetworkSave(Core::File& file)
{
    WriteNetworkString(file, name_);
    file << position_.x << position_.y << center_.x << center_.y << rotation_;
    file << scaleX_ << scaleY_ << node_->IsVisible();
    file << lifeTime_ << age_ << zOrder_;
    file << color_.x << color_.y << color_.z << color_.w;
    file << std::uint32_t{0} << std::uint32_t{0};
    file << static_cast<bool>(networkId_);
    if (networkId_)
    {
        file << networkId_->GetOwnerID() << networkId_->GetObjectID();
    }
    file << script_.IsEnabled();
    WriteNetworkString(file, script_.GetFile());
    file << script_.IsCloned() << script_.RecordedLoaded();
    if (script_.WritesRecordPart())
    {
        WriteHookValues(file, "NetworkSave");
    }
}

void GameObject::NetworkLoad(Core::File& file)
{
    std::string name;
    Math::Vector2D position;
    Math::Vector2D center;
    float rotation = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool visible = true;
    float lifeTime = 0.0f;
    float age = 0.0f;
    float zOrder = 0.0f;
    Math::Vector4 color;
    std::uint32_t reserved[2] = {0, 0};
    bool networked = false;
    std::uint32_t ownerId = 0;
    std::uint32_t objectId = 0;
    ReadNetworkString(file, name);
    file >> position.x >> position.y >> center.x >> center.y >> rotation;
    file >> scaleX >> scaleY >> visible >> lifeTime >> age >> zOrder;
    file >> color.x >> color.y >> color.z >> color.w >> reserved[0] >> reserved[1] >> networked;
    if (networked)
    {
        file >> ownerId >> objectId;
    }
    bool scriptEnabled = false;
    std::string scriptFile;
    bool clonedScript = false;
    bool scriptLoaded = false;
    file >> scriptEnabled;
    ReadNetworkString(file, scriptFile);
    file >> clonedScript >> scriptLoaded;
    // A short record changes nothing; nor does one naming a script outside
    // the scripts folder.
    if (file.Failed())
    {
        return;
    }
    if (!ScriptAttachment::IsFileNameInFolder(scriptFile))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    const bool scriptPart = ScriptAttachment::RecordHasPart(scriptEnabled, scriptLoaded, scriptFile);
    std::vector<std::uint8_t> values;
    if (scriptPart && !ReadHookValues(file, values))
    {
        return;
    }
    name_ = std::move(name);
    position_ = position;
    center_ = center;
    rotation_ = rotation;
    SetNetworkTarget(position, rotation);
    firstSync_ = true;
    scaleX_ = scaleX;
    scaleY_ = scaleY;
    node_->SetVisible(visible, false);
    lifeTime_ = lifeTime;
    age_ = age;
    zOrder_ = zOrder;
    color_ = color;
    // A networked copy moves as the owner's machine says: it carries no body.
    RemovePhysicalProperties();
    physicsId_ = 0;
    if (networked)
    {
        networkId_ = new ("Velkor_GameObjectRecord", __LINE__) NetObjectID(ownerId, objectId);
    }
    script_.ClearSource();
    script_.SetEnabled(scriptEnabled);
    script_.SetFile(scriptFile);
    script_.SetCloned(clonedScript);
    script_.SetLoaded(scriptLoaded);
    if (scriptPart)
    {
        if (!script_.IsRunning())
        {
            // A copy made from its template holds clones of the template's
            // managed objects; its own "Constructor" makes them here, once.
            script_.ClearGlobals(managedObjectNames_);
            managedObjects_.clear();
            managedObjectNames_.clear();
            LoadScript(false);
        }
        RunHookOnValues("NetworkLoad", values);
    }
}

// --- Network sync record -------------------------------------------------------------

void GameObject::NetworkSyncSend(Core::File& file)
{
    WriteNetworkString(file, name_);
    file << position_.x << position_.y << center_.x << center_.y << rotation_;
    file << scaleX_ << scaleY_ << node_->IsVisible();
    file << color_.x << color_.y << color_.z << color_.w;
    const bool loaded = script_.RecordedLoaded();
    file << script_.IsEnabled() << loaded;
    if (script_.IsEnabled() && loaded)
    {
        WriteNetworkString(file, script_.GetFile());
        if (script_.WritesRecordPart())
        {
            WriteHookValues(file, "NetworkSyncSend");
        }
    }
}

void GameObject::NetworkSyncReceive(Core::File& file)
{
    SyncRecord record;
    if (ReadSyncRecord(file, record))
    {
        ApplySyncRecord(record);
    }
}

bool GameObject::ReadSyncRecord(Core::File& file, SyncRecord& record)
{
    record.name = name_;
    bool scriptLoaded = false;
    ReadNetworkString(file, record.name);
    file >> record.position.x >> record.position.y >> record.center.x >> record.center.y >> record.rotation;
    file >> record.scaleX >> record.scaleY >> record.visible;
    file >> record.color.x >> record.color.y >> record.color.z >> record.color.w;
    file >> record.scriptEnabled >> scriptLoaded;
    if (record.scriptEnabled && scriptLoaded)
    {
        ReadNetworkString(file, record.scriptFile);
    }
    if (file.Failed())
    {
        return false;
    }
    if (!ScriptAttachment::IsFileNameInFolder(record.scriptFile))
    {
        file.SetError(Core::FileError::BadData);
        return false;
    }
    record.scriptPart =
        ScriptAttachment::RecordHasPart(record.scriptEnabled, scriptLoaded, record.scriptFile);
    return !record.scriptPart || ReadHookValues(file, record.scriptValues);
}

void GameObject::ApplySyncRecord(SyncRecord& record)
{
    if (record.scriptPart)
    {
        // Loaded once: a script that did not load stays as it is.
        if (script_.GetScript() == nullptr || !script_.IsLoaded())
        {
            script_.SetFile(record.scriptFile);
            LoadScript(true);
        }
        RunHookOnValues("NetworkSyncReceive", record.scriptValues);
    }
    // Straight into the field: the layer's name index keeps its key.
    name_ = std::move(record.name);
    SetNetworkTarget(record.position, record.rotation);
    center_ = record.center;
    if (firstSync_)
    {
        // The first sync snaps; later ones only move the targets, which
        // UpdateEngineSide approaches by halves.
        position_ = record.position;
        rotation_ = record.rotation;
        SetPosition(position_);
        SetRotationAngle(rotation_);
        firstSync_ = false;
    }
    scaleX_ = record.scaleX;
    scaleY_ = record.scaleY;
    node_->SetVisible(record.visible, false);
    color_ = record.color;
    script_.SetEnabled(record.scriptEnabled);
}

// --- Script values of the network hooks ----------------------------------------------

void GameObject::WriteHookValues(Core::File& file, const char* hook)
{
    // The hook writes to the object's network data file; while it runs,
    // that is a buffer of its own, whatever the file was (none, this
    // record's, another's), so that every value it writes is counted in
    // this record's frame.
    NetworkFile values;
    Core::File* const dataFile = networkDataFile_;
    networkDataFile_ = &values;
    script_.Call(hook);
    networkDataFile_ = dataFile;
    file << values.GetSize();
    if (values.GetSize() != 0)
    {
        file.Write(values.GetData(), values.GetSize());
    }
}

bool GameObject::ReadHookValues(Core::File& file, std::vector<std::uint8_t>& values)
{
    std::uint32_t size = 0;
    if (!file.ReadExact(&size, sizeof size) || !file.Require(size))
    {
        return false;
    }
    std::vector<std::uint8_t> bytes(size);
    if (size != 0 && !file.ReadExact(bytes.data(), size))
    {
        return false;
    }
    // Whole value lists, one after another, and nothing else: the hook then
    // reads them without failing halfway.
    NetworkFile check(bytes.data(), size);
    std::vector<ScriptValue> list;
    while (check.GetBytesLeft() != 0)
    {
        if (!ReadScriptValues(check, list))
        {
            file.SetError(Core::FileError::BadData);
            return false;
        }
    }
    values = std::move(bytes);
    return true;
}

void GameObject::RunHookOnValues(const char* hook, const std::vector<std::uint8_t>& values)
{
    if (!script_.IsRunning())
    {
        return;
    }
    // "LoadNetworkData" reads the values from a file of their own, whatever
    // the object's network data file was: a hook that asks for more lists
    // than were sent gets none.
    NetworkFile file(values.data(), static_cast<std::uint32_t>(values.size()));
    Core::File* const dataFile = networkDataFile_;
    networkDataFile_ = &file;
    script_.Call(hook);
    networkDataFile_ = dataFile;
}

} // namespace Velkor
