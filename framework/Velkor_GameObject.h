#pragma once

#include "collision/Collision_Id.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "framework/Velkor_CollisionResultsView.h"
#include "framework/Velkor_ScriptAttachment.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Collision2D
{
class CollisionEngine;
class CollisionResults;
class DynamicObject;
class MainCollisionObject;
class TileMap;
} // namespace Collision2D

namespace Engine
{
class TransformationGroup;
}

namespace Input
{
class Keyboard;
class Mouse;
} // namespace Input

namespace Physics2D
{
class Force;
class MassProperties;
class PhysicsEngine;
class RigidBody;
} // namespace Physics2D

namespace Velkor
{

class Layer;
class NetObjectID;
class ZibComponentManager;
class ZibPlayer;

// The framework's scene object. It lives in one layer, owns a scene node
// (a transformation group the layer hangs below its own node), and may own
// one collision object and one rigid body, reached only through their ids.
//
// The pose (position, centre, rotation, scale, z order) makes the node's
// transformation: the centre, in scaled object units, lands on the position
// and the object turns about it. Mounted children move and turn with the
// object they are mounted on.
//
// Removal is a request (Destroy): the layer takes the object out at its
// next walk, which ends it (OnEnd) and cuts it out of the world (Detach).
// Once its collision object is removed the object sends nothing more
// through its collision id (the collision world may hand the slot to
// another object), although the id keeps its value.
class GameObject : public Core::Object
{
    CORE_DECLARE_OBJECT(GameObject)

public:
    static constexpr const char* ScriptTypeName = "GameObject";

    GameObject();
    // A new object with the source's pose and settings, a new id, a copy of
    // the source's collision object and body of its own, and no layer,
    // children, support or network id.
    GameObject(const GameObject& other);
    GameObject& operator=(const GameObject&) = delete;
    // Detach.
    ~GameObject() override;

    // The saved game's record (the archive's Write / Read): pose, mount
    // relations, layer, name, look, timers, ids and flags, the script's
    // settings and, with a running script, the managed objects (see
    // WriteManagedRecords) and the script's "Save" hook. Read restores the
    // ids as stored and takes
    // back the collision object its id names from the collision world read
    // before it; it rebuilds no transformation and gives no body back (the
    // game binds the bodies once everything is read). When the record
    // carries a script part, Read loads the script with its "Constructor",
    // gives it the managed objects read in place of what that made, under
    // their names, and runs "Load"; a part that does not read leaves no
    // script and no managed objects behind. Derived classes extend both,
    // base first.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;
    // For a loader that gives the objects it read up: drops every link to
    // other objects and to the worlds without following them (its managed
    // objects' too), so the objects can go in any order.
    void ForgetLoadedLinks();
    // ForgetLoadedLinks for the game objects among objects[from...]; others
    // are passed over.
    static void ForgetLoadedLinks(const std::vector<Core::RefPtr<Core::Object>>& objects, std::size_t from = 0);

    // --- Virtual operations ---------------------------------------------------
    // Asks the layer to remove the object; a second request does nothing.
    virtual void Destroy();
    virtual void ExtraHook0();
    virtual void NetworkSave(Core::File& file);
    virtual void NetworkLoad(Core::File& file);
    virtual bool ExtraQuery();
    virtual void NetworkSyncSend(Core::File& file);
    virtual void NetworkSyncReceive(Core::File& file);
    virtual void OnStart();
    virtual void OnEnd();
    // The layer's per-frame work for the object: on a network client a
    // networked object moves halfway to its received pose; otherwise the
    // object ages (and is destroyed past its life time, strictly), then
    // Update and PushVisualProperties run.
    virtual void UpdateEngineSide(float dt);
    virtual void Update(float dt);
    // A new component manager; answers whether this machine hosts.
    virtual bool AttachComponentManager();
    // Cuts the object out of the world once: no layer, no support, no
    // children's support, collision object and body removed.
    virtual void Detach();
    virtual void ExtraUpdate1(float dt);
    virtual void ExtraUpdate2(float dt);
    virtual void ExtraHook3(std::uint32_t value);
    virtual void PushVisualProperties(float dt);
    virtual void ExtraHook4();

    // --- Identity ---------------------------------------------------------------
    const std::string& GetName() const { return name_; }
    // Re-keys the layer's name index first.
    void SetName(const std::string& name);
    std::uint32_t GetID() const { return id_; }
    Layer* GetLayer() const { return layer_; }
    bool IsDestroyed() const { return destroyed_; }
    bool IsBeingDestroyed() const { return beingDestroyed_; }
    bool IsDetached() const { return detached_; }
    const Core::RefPtr<Engine::TransformationGroup>& GetNode() const { return node_; }

    // --- Pose -------------------------------------------------------------------
    const Math::Vector2D& GetPosition() const { return position_; }
    float GetPositionX() const { return position_.x; }
    float GetPositionY() const { return position_.y; }
    void SetPosition(const Math::Vector2D& position);
    void SetPosition(float x, float y) { SetPosition(Math::Vector2D(x, y)); }
    void SetPositionX(float x) { SetPosition(Math::Vector2D(x, position_.y)); }
    void SetPositionY(float y) { SetPosition(Math::Vector2D(position_.x, y)); }
    // As SetPosition, the collision object taking it as its start-of-step
    // position.
    void SetOldPosition(const Math::Vector2D& position);
    float GetRotationAngle() const { return rotation_; }
    void SetRotationAngle(float degrees);
    void SetOldRotationAngle(float degrees);
    // Replace one component of the direction (cos r, sin r) and turn to the
    // result.
    void SetDirectionX(float x);
    void SetDirectionY(float y);
    float GetScaleX() const { return scaleX_; }
    float GetScaleY() const { return scaleY_; }
    void SetScale(float x, float y);
    const Math::Vector2D& GetCenter() const { return center_; }
    // Also the collision object's offset and the body's centre of mass.
    void SetCenter(const Math::Vector2D& center);
    float GetZOrder() const { return zOrder_; }
    // Takes effect at the next transformation rebuild.
    void SetZOrder(float z) { zOrder_ = z; }
    bool GetVisible() const;
    // The node and its children.
    void SetVisible(bool visible);
    float GetOpacity() const { return opacity_; }
    void SetOpacity(float opacity) { opacity_ = opacity; }
    const Math::Vector4& GetModulationColor() const { return color_; }
    void SetModulationColor(float red, float green, float blue, float alpha)
    {
        color_.Set(red, green, blue, alpha);
    }
    float GetLifeTime() const { return lifeTime_; }
    // Seconds; 0 or less never expires.
    void SetLifeTime(float seconds) { lifeTime_ = seconds; }
    float GetAge() const { return age_; }
    void ResetAge() { age_ = 0.0f; }
    void SetTransformEnabled(bool enabled) { transformEnabled_ = enabled; }
    bool IsTransformEnabled() const { return transformEnabled_; }
    // Node transformation := T(position - centre, z) T(centre) Rz T(-centre)
    // S(scale); only while the transform is enabled.
    void UpdateTransformation();

    // --- Mounting ---------------------------------------------------------------
    // `child` moves and turns with this object. Refused (false, nothing
    // changes) for null, this object, a destroyed object, a child that has a
    // support already, or one of this object's supports (a cycle).
    bool Mount(GameObject* child);
    void UnMount(GameObject* child);
    GameObject* GetMountSupport() const { return support_; }
    const std::vector<GameObject*>& GetMountedChildren() const { return children_; }
    // Moves this mounted object with its support: turned by `angle` degrees
    // about `pivot`, then moved by `delta`; its own children follow.
    void MoveWithSupport(const Math::Vector2D& pivot, const Math::Vector2D& delta, float angle);

    // --- Collision --------------------------------------------------------------
    // The object owns the collision object from then on, placed in collision
    // layer `layer` at the object's position. False when the object has a
    // collision object or the collision world refuses it (the collision
    // object is then deleted).
    bool AddCollision(Collision2D::MainCollisionObject* object, std::uint8_t layer);
    void RemoveCollision();
    Collision2D::CollisionId GetCollisionId() const { return collisionId_; }
    // True while the collision object named by the id is the object's own.
    bool HasCollision() const { return collisionActive_; }
    Collision2D::DynamicObject* GetDynamicCollisionObject() const;
    Collision2D::TileMap* GetTileMapCollisionObject() const;
    bool ObjectInCollision() const;
    CollisionResultsView GetCollisionResults() const;
    bool IsCollidedWithSprite(const std::string& name, bool detailed) const;

    // --- Physics ----------------------------------------------------------------
    // A body at the object's pose, moved by the physics engine through the
    // move and post-collision callbacks. False when the object has one.
    bool AddPhysicalProperties(const Physics2D::MassProperties& massProperties, std::uint32_t bodyType);
    bool RemovePhysicalProperties();
    std::uint32_t GetPhysicsId() const { return physicsId_; }
    bool SetVelocity(const Math::Vector2D& velocity);
    bool GetVelocity(Math::Vector2D& velocity) const;
    bool SetAngularVelocity(float degreesPerSecond);
    float GetAngularVelocity() const;
    bool GetCenterOfMass(Math::Vector2D& center) const;
    bool SetMassProperties(const Physics2D::MassProperties& massProperties);
    bool GetMassProperties(Physics2D::MassProperties& massProperties) const;
    std::uint32_t AddForce(Physics2D::Force* force);
    bool RemoveForce(std::uint32_t index);
    bool RemoveAllForces();
    // The body's velocity with length `speed` (false without a body).
    bool SetSpeed(float speed);
    // The body's speed along `direction` (false without a body).
    bool SetVelocityDirection(const Math::Vector2D& direction);
    // The two body callbacks on every body of the list.
    static void RestoreBodyCallbacks(const std::vector<Core::RefPtr<Physics2D::RigidBody>>& bodies);

    // --- Network games ----------------------------------------------------------
    bool IsNetworkObject() const { return static_cast<bool>(networkId_); }
    // A networked object on a machine that does not host.
    bool IsNetworkClientObject() const;
    const Core::RefPtr<NetObjectID>& GetNetworkID() const { return networkId_; }
    void SetNetworkID(NetObjectID* id);
    // A new network id with the same object id and `owner`'s id (null: the
    // local player); false without a network id.
    bool ChangeNetworkOwner(ZibPlayer* owner);
    // The owning player's input on the host of a network game, else the
    // application's own.
    Input::Keyboard* GetNetworkKeyboard() const;
    Input::Mouse* GetNetworkMouse() const;
    void SetNetworkTarget(const Math::Vector2D& position, float rotation);
    const std::string& GetNetworkBaseName() const { return networkBaseName_; }
    void SetNetworkBaseName(const std::string& name) { networkBaseName_ = name; }
    const Core::RefPtr<ZibComponentManager>& GetComponentManager() const { return componentManager_; }

    // --- Objects kept alive with this one ------------------------------------------
    // Refused (false) for null, this object and an object that manages this
    // one, directly or through others: an owner's record holds its managed
    // objects' records, so a loop would never end. Refused too under a name
    // that ScriptAttachment::IsManagedObjectName does not take.
    bool AddManagedObject(GameObject* object, const std::string& name);
    const std::vector<Core::RefPtr<GameObject>>& GetManagedObjects() const { return managedObjects_; }
    // Visits every managed object, and theirs, depth first.
    template <class Visit> void ForEachManagedObject(Visit&& visit) const
    {
        for (const Core::RefPtr<GameObject>& managed : managedObjects_)
        {
            if (managed)
            {
                visit(*managed);
                managed->ForEachManagedObject(visit);
            }
        }
    }

    // --- Script -------------------------------------------------------------------
    LuaScript* GetScript() override { return script_.GetScript(); }
    ScriptAttachment& GetScriptAttachment() { return script_; }
    const ScriptAttachment& GetScriptAttachment() const { return script_; }
    // Loads the object's script (see ScriptAttachment::Load).
    void LoadScript(bool skipConstructor);
    // Calls the script function `name` when the object's hooks may run (a
    // loaded script, the enabled flag; "Destroy" needs no flag).
    void RunScriptHook(const char* name);
    void RunScriptHook(const char* name, float value);
    // A script clone's last step: the clone becomes its script's "self",
    // the script is loaded from the source's chunk and "OnClone" runs with
    // the source.
    void FinishScriptClone(GameObject& source);
    // The payload the network layer has the object write or read its
    // network records on, while it does; null otherwise. The script methods
    // "SaveNetworkData" and "LoadNetworkData" work on it.
    Core::File* GetNetworkDataFile() const { return networkDataFile_; }
    void SetNetworkDataFile(Core::File* file) { networkDataFile_ = file; }

    // The current level's objects of that name.
    void GetCurrentLevelObjectsByName(const std::string& name,
                                      std::vector<Core::RefPtr<GameObject>>& objects) const;

protected:
    // The sync record of the base, read whole before anything is applied,
    // so that a derived class can apply its own fields and the base's
    // together or not at all.
    struct SyncRecord
    {
        std::string name;
        Math::Vector2D position;
        Math::Vector2D center;
        float rotation = 0.0f;
        float scaleX = 1.0f;
        float scaleY = 1.0f;
        bool visible = true;
        Math::Vector4 color;
        bool scriptEnabled = false;
        // The sender's script values, when the record has them.
        bool scriptPart = false;
        std::string scriptFile;
        std::vector<std::uint8_t> scriptValues;
    };
    // Reads the base's record, the script's values (which lie right after
    // the base's fields) kept aside unread by the script. Changes nothing;
    // false when the record runs past the file or is refused (the file has
    // failed).
    bool ReadSyncRecord(Core::File& file, SyncRecord& record);
    // Applies a record read whole: first, when it carries script values,
    // the script is loaded (without "Constructor") if it has not been and
    // its "NetworkSyncReceive" hook reads them; then the fields.
    void ApplySyncRecord(SyncRecord& record);

private:
    friend class Layer;

    // The collision world while the object's collision object is in it.
    Collision2D::CollisionEngine* OwnCollision() const;
    // The physics engine while the object has a body.
    Physics2D::PhysicsEngine* OwnPhysics() const;
    // The pose setters: `old` sends the pose to the collision object as its
    // start-of-step pose.
    void MoveTo(const Math::Vector2D& position, bool old);
    void TurnTo(float degrees, bool old);
    // Position and rotation to the collision object (current or old pose)
    // and the body.
    void SendPosition(bool old) const;
    void SendRotation(bool old) const;
    bool IsAncestorOf(const GameObject* object) const;

    static void OnBodyMoved(Physics2D::RigidBody* body, void* owner);
    static void OnBodyCorrected(Physics2D::RigidBody* body, void* owner);

    // The script side of a copy: settings, a script of its own and clones
    // of the source's managed objects as its globals.
    void CopyScript(const GameObject& other);
    // The script part of the saved record: the script loaded with its
    // "Constructor", the managed objects read in place of what that made,
    // "Load". On failure the script and the managed objects are dropped.
    void ReadScriptPart(Core::File& file);
    // The script values a network hook writes, framed by their byte count
    // so that a peer without the script passes them over; and their reading
    // back, the frame checked whole before anything uses it.
    void WriteHookValues(Core::File& file, const char* hook);
    static bool ReadHookValues(Core::File& file, std::vector<std::uint8_t>& values);
    void RunHookOnValues(const char* hook, const std::vector<std::uint8_t>& values);
    // Drops the managed objects of a read that failed: their links to the
    // worlds are forgotten first.
    void DropManagedObjects();

    std::vector<Core::RefPtr<GameObject>> managedObjects_;
    std::vector<std::string> managedObjectNames_;
    ScriptAttachment script_;
    Core::File* networkDataFile_ = nullptr;
    Core::RefPtr<Engine::TransformationGroup> node_;
    Core::RefPtr<ZibComponentManager> componentManager_;
    Math::Vector2D position_;
    Math::Vector2D center_;
    float rotation_ = 0.0f;
    Core::RefPtr<NetObjectID> networkId_;
    std::vector<GameObject*> children_;
    GameObject* support_ = nullptr;
    Layer* layer_ = nullptr;
    std::string name_;
    float scaleX_ = 1.0f;
    float scaleY_ = 1.0f;
    float opacity_ = 1.0f;
    Math::Vector4 color_{1.0f, 1.0f, 1.0f, 1.0f};
    float lifeTime_ = 0.0f;
    float age_ = 0.0f;
    float zOrder_ = 0.0f;
    std::uint32_t id_;
    Collision2D::CollisionId collisionId_ = 0;
    std::uint32_t physicsId_ = 0;
    bool destroyed_ = false;
    bool beingDestroyed_ = false;
    bool transformEnabled_ = true;
    bool detached_ = false;
    // Whether the collision object named by the id is still this object's.
    bool collisionActive_ = false;
    Math::Vector2D networkTargetPosition_;
    float networkTargetRotation_ = 0.0f;
    bool firstSync_ = false;
    std::string networkBaseName_ = "0";
};

} // namespace Velkor
