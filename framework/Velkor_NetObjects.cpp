// The session layer's networked objects: the templates clients clone, the
// objects the host shares, their creation, removal and per-period state,
// and what a client does with the host's object messages.
//
// Object payloads are read from a NetworkFile made of the received bytes:
// its reads never pass the payload's end and fail it instead, and an entry
// that does not read whole creates nothing. An object's record has no
// length of its own, so once an entry fails (or names a template this
// machine does not have) the rest of that message cannot be found and is
// dropped; what was read whole before it stays.
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_NetworkFile.h"

#include <algorithm>

namespace Velkor
{

namespace
{

// Process-wide, as the player and group ids; the first id is 1.
std::uint32_t g_objectIds = 0;

bool ReadU32(NetworkFile& file, std::uint32_t& value)
{
    return file.ReadExact(&value, sizeof value);
}

} // namespace

std::uint32_t ZibNet::NextObjectID()
{
    return ++g_objectIds;
}

// ---------------------------------------------------------------------------
// Templates

bool ZibNet::AddBaseNetObject(const std::string& name, GameObject* object)
{
    if (object == nullptr || FindBaseNetObject(name) != nullptr)
    {
        return false;
    }
    object->SetNetworkBaseName(name);
    baseNetObjects_.emplace_back(object);
    return true;
}

void ZibNet::ClearBaseNetObjects()
{
    Record("ClearBaseNetObjects");
    baseNetObjects_.clear();
}

GameObject* ZibNet::FindBaseNetObject(const std::string& name) const
{
    for (const Core::RefPtr<GameObject>& object : baseNetObjects_)
    {
        if (object->GetNetworkBaseName() == name)
        {
            return object.Get();
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// The networked objects

bool ZibNet::AddNetworkGameObject(const Core::RefPtr<GameObject>& object, std::uint32_t layerIndex,
                                  ZibPlayer* owner)
{
    if (!object || !IsActive() || !IsNetworkGame() ||
        std::find(netObjects_.begin(), netObjects_.end(), object) != netObjects_.end() || host_ == 0)
    {
        return false;
    }
    const std::uint32_t ownerId = owner != nullptr ? owner->GetID() : localPlayer_->GetID();
    object->SetNetworkID(new ("Velkor_NetObjects", __LINE__) NetObjectID(ownerId, NextObjectID(), true));
    NetworkFile file;
    file << layerIndex;
    WriteNetworkString(file, object->GetNetworkBaseName());
    {
        NetworkDataScope scope(*object, file);
        object->NetworkSave(file);
    }
    SendToGroup(CreateObjectMessage, file.GetData(), file.GetSize(), nullptr, true);
    netObjects_.push_back(object);
    return true;
}

bool ZibNet::RemoveNetworkGameObject(const Core::RefPtr<GameObject>& object)
{
    if (!object || !IsActive() || !IsNetworkGame() || !object->IsNetworkObject())
    {
        return false;
    }
    NetworkFile file;
    file << object->GetNetworkID()->GetOwnerID() << object->GetNetworkID()->GetObjectID();
    const bool sent = SendToGroup(RemoveObjectMessage, file.GetData(), file.GetSize(), nullptr, true);
    if (host_ == 0)
    {
        return sent;
    }
    // The host's removal stands whether or not every client heard it.
    ForgetNetObject(object.Get());
    return true;
}

bool ZibNet::AddNetworkObject(GameObject* object)
{
    if (object == nullptr || !IsActive() || !IsNetworkGame())
    {
        return false;
    }
    if (std::find(netObjects_.begin(), netObjects_.end(), object) == netObjects_.end())
    {
        netObjects_.emplace_back(object);
    }
    return true;
}

GameObject* ZibNet::FindNetObject(std::uint32_t ownerId, std::uint32_t objectId) const
{
    for (const Core::RefPtr<GameObject>& object : netObjects_)
    {
        const Core::RefPtr<NetObjectID>& id = object->GetNetworkID();
        if (!object->IsDestroyed() && id && id->GetOwnerID() == ownerId && id->GetObjectID() == objectId)
        {
            return object.Get();
        }
    }
    return nullptr;
}

void ZibNet::TakeOutOfLayer(GameObject& object)
{
    if (object.GetLayer() != nullptr && !object.IsDestroyed())
    {
        object.GetLayer()->QueueRemoveGameObject(&object);
    }
}

void ZibNet::ForgetNetObject(const GameObject* object)
{
    std::erase_if(netObjects_, [object](const Core::RefPtr<GameObject>& held) { return held.Get() == object; });
}

void ZibNet::RemoveAllNetworkGameObjects()
{
    Record("RemoveAllNetworkGameObjects");
    const std::vector<Core::RefPtr<GameObject>> objects = std::move(netObjects_);
    netObjects_.clear();
    for (const Core::RefPtr<GameObject>& object : objects)
    {
        TakeOutOfLayer(*object);
    }
}

void ZibNet::RemoveNetObjectsControlledBy(ZibPlayer* player)
{
    if (player == nullptr)
    {
        return;
    }
    std::vector<Core::RefPtr<GameObject>> owned;
    for (const Core::RefPtr<GameObject>& object : netObjects_)
    {
        if (object->GetNetworkID() && object->GetNetworkID()->GetOwnerID() == player->GetID())
        {
            owned.push_back(object);
        }
    }
    for (const Core::RefPtr<GameObject>& object : owned)
    {
        if (host_ != 0)
        {
            RemoveNetworkGameObject(object);
        }
        ForgetNetObject(object.Get());
        TakeOutOfLayer(*object);
    }
}

bool ZibNet::SendNetworkObjectsTo(ZibPlayer* player)
{
    if (!IsActive() || host_ == 0 || hosting_ == 0 || player == nullptr || player->IsLocal())
    {
        return false;
    }
    // Always sent, empty too: the list is what lets the client take the
    // creations and syncs that follow it.
    std::vector<const GameObject*> listed;
    for (const Core::RefPtr<GameObject>& object : netObjects_)
    {
        if (object->GetLayer() != nullptr)
        {
            listed.push_back(object.Get());
        }
    }
    NetworkFile file;
    file << static_cast<std::uint32_t>(listed.size());
    for (const GameObject* entry : listed)
    {
        auto& object = const_cast<GameObject&>(*entry);
        file << object.GetLayer()->GetIndex();
        WriteNetworkString(file, object.GetNetworkBaseName());
        NetworkDataScope scope(object, file);
        object.NetworkSave(file);
    }
    return SendToPlayer(ObjectListMessage, file.GetData(), file.GetSize(), player, true);
}

void ZibNet::SyncObjects()
{
    const auto count = static_cast<std::uint32_t>(netObjects_.size());
    for (std::size_t i = 0; i < netObjects_.size(); ++i)
    {
        GameObject& object = *netObjects_[i];
        const Core::RefPtr<NetObjectID>& id = object.GetNetworkID();
        if (!id)
        {
            continue;
        }
        NetworkFile file;
        file << count << id->GetOwnerID() << id->GetObjectID();
        {
            NetworkDataScope scope(object, file);
            object.NetworkSyncSend(file);
        }
        SendToGroup(SyncObjectMessage, file.GetData(), file.GetSize(), nullptr, false);
    }
}

// ---------------------------------------------------------------------------
// Receiving

bool ZibNet::ReceivesObjects() const
{
    return connected_ != 0 && localPlayer_ && localPlayer_->HasReceivedObjects();
}

void ZibNet::HostRemoveObject(ZibPlayer& sender, PayloadReader& reader)
{
    // The owner id was read and found to be the sender's.
    std::uint32_t objectId = 0;
    if (!reader.U32(objectId))
    {
        return;
    }
    GameObject* object = FindNetObject(sender.GetID(), objectId);
    if (object == nullptr)
    {
        return;
    }
    Core::RefPtr<GameObject> keep(object);
    // Relays the removal to every client and forgets it here.
    RemoveNetworkGameObject(keep);
    TakeOutOfLayer(*object);
}

bool ZibNet::ReadObjectEntry(NetworkFile& file)
{
    std::uint32_t layerIndex = 0;
    std::string name;
    if (!ReadU32(file, layerIndex) || !ReadNetworkString(file, name))
    {
        return false;
    }
    const GameObject* base = FindBaseNetObject(name);
    if (base == nullptr)
    {
        return false;
    }
    Core::RefPtr<GameObject> copy(static_cast<GameObject*>(base->Clone()));
    {
        NetworkDataScope scope(*copy, file);
        copy->NetworkLoad(file);
    }
    if (file.Failed())
    {
        return false;
    }
    copy->SetNetworkBaseName(name);
    // An entry for a layer this level does not have, without an identity
    // (nothing could sync or remove it) or with one already held is
    // skipped; the entries after it are still read.
    Level* level = currentLevel_ ? currentLevel_() : nullptr;
    Layer* layer = level != nullptr ? level->GetLayer(layerIndex) : nullptr;
    const Core::RefPtr<NetObjectID>& id = copy->GetNetworkID();
    if (layer == nullptr || !id || FindNetObject(id->GetOwnerID(), id->GetObjectID()) != nullptr)
    {
        return true;
    }
    if (layer->AddGameObject(copy.Get()))
    {
        netObjects_.push_back(copy);
    }
    return true;
}

void ZibNet::ClientObjectList(const Network::SocketEvent& event)
{
    if (connected_ == 0 || !localPlayer_)
    {
        return;
    }
    NetworkFile file(event.payload, event.payloadSize);
    std::uint32_t count = 0;
    if (!ReadU32(file, count))
    {
        return;
    }
    // The list replaces the copies held so far, here as on the host.
    const std::vector<Core::RefPtr<GameObject>> previous = std::move(netObjects_);
    netObjects_.clear();
    for (const Core::RefPtr<GameObject>& object : previous)
    {
        TakeOutOfLayer(*object);
    }
    // Every entry takes at least its layer index and name length, so a
    // lying count ends with the payload.
    for (std::uint32_t i = 0; i < count && ReadObjectEntry(file); ++i)
    {
    }
    localPlayer_->SetReceivedObjects(true);
}

void ZibNet::ClientCreateObject(const Network::SocketEvent& event)
{
    if (!ReceivesObjects())
    {
        return;
    }
    NetworkFile file(event.payload, event.payloadSize);
    ReadObjectEntry(file);
}

void ZibNet::ClientRemoveObject(PayloadReader& reader)
{
    std::uint32_t ownerId = 0;
    std::uint32_t objectId = 0;
    if (connected_ == 0 || !reader.U32(ownerId) || !reader.U32(objectId))
    {
        return;
    }
    if (GameObject* object = FindNetObject(ownerId, objectId))
    {
        Core::RefPtr<GameObject> keep(object);
        ForgetNetObject(object);
        TakeOutOfLayer(*object);
    }
}

void ZibNet::ClientSyncObject(const Network::SocketEvent& event)
{
    if (!ReceivesObjects())
    {
        return;
    }
    NetworkFile file(event.payload, event.payloadSize);
    std::uint32_t count = 0;
    std::uint32_t ownerId = 0;
    std::uint32_t objectId = 0;
    if (!ReadU32(file, count) || !ReadU32(file, ownerId) || !ReadU32(file, objectId))
    {
        return;
    }
    if (GameObject* object = FindNetObject(ownerId, objectId))
    {
        NetworkDataScope scope(*object, file);
        object->NetworkSyncReceive(file);
    }
}

} // namespace Velkor
