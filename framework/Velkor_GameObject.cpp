#include "framework/Velkor_GameObject.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_DynamicObject.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_CollisionResultsView.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_ObjectCounter.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector3.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_PhysicsEngine.h"

#include <algorithm>
#include <cmath>

namespace Velkor
{

CORE_DEFINE_OBJECT(GameObject, "Velkor::GameObject", GameObject::ScriptTypeName, "Velkor_GameObject",
                   __LINE__)

namespace
{

constexpr float DegreesPerRadian = 57.29578f;

} // namespace

GameObject::GameObject()
    : node_(new ("Velkor_GameObject", __LINE__) Engine::TransformationGroup()), id_(TakeObjectId())
{
}

GameObject::GameObject(const GameObject& other)
    : Core::Object(other), node_(new ("Velkor_GameObject", __LINE__) Engine::TransformationGroup()),
      position_(other.position_), center_(other.center_), rotation_(other.rotation_), name_(other.name_),
      scaleX_(other.scaleX_), scaleY_(other.scaleY_), opacity_(other.opacity_), color_(other.color_),
      lifeTime_(other.lifeTime_), age_(other.age_), zOrder_(other.zOrder_), id_(TakeObjectId()),
      destroyed_(other.destroyed_), beingDestroyed_(other.beingDestroyed_),
      transformEnabled_(other.transformEnabled_), detached_(other.detached_)
{
    node_->SetVisible(other.node_->IsVisible(), false);
    if (Collision2D::CollisionEngine* collision = other.OwnCollision())
    {
        collisionId_ = collision->CloneCollisionObject(other.collisionId_, position_,
                                                       reinterpret_cast<Collision2D::OwnerWord>(this));
        collisionActive_ = collisionId_ != 0;
    }
    if (Physics2D::PhysicsEngine* physics = other.OwnPhysics())
    {
        physicsId_ = physics->CloneRigidBody(other.physicsId_, this);
    }
    UpdateTransformation();
    CopyScript(other);
}

GameObject::~GameObject()
{
    GameObject::Detach();
}

// --- Hooks ----------------------------------------------------------------------

void GameObject::Destroy()
{
    if (destroyed_ || beingDestroyed_)
    {
        return;
    }
    RunScriptHook("Destroy");
    beingDestroyed_ = true;
    if (layer_ != nullptr)
    {
        layer_->RemoveGameObject(this);
    }
}

void GameObject::ExtraHook0() {}

bool GameObject::ExtraQuery()
{
    return true;
}

void GameObject::OnStart()
{
    RunScriptHook("OnStart");
}

void GameObject::OnEnd()
{
    RunScriptHook("OnEnd");
}

void GameObject::UpdateEngineSide(float dt)
{
    if (IsNetworkClientObject())
    {
        // Halfway to the pose the host sent, every frame.
        const Math::Vector2D toTarget = networkTargetPosition_ - position_;
        if (toTarget.Length() > 0.0f)
        {
            position_ = position_ + toTarget * 0.5f;
        }
        const float turn = networkTargetRotation_ - rotation_;
        if (std::fabs(turn) > 0.0f)
        {
            rotation_ += turn * 0.5f;
        }
        // The stored values again: the engines and the node follow, the
        // children stay (no difference to pass on).
        SetRotationAngle(rotation_);
        SetPosition(position_);
        PushVisualProperties(dt);
        return;
    }
    if (lifeTime_ > 0.0f)
    {
        age_ += dt;
        if (age_ > lifeTime_)
        {
            Destroy();
            return;
        }
    }
    Update(dt);
    PushVisualProperties(dt);
}

void GameObject::Update(float dt)
{
    RunScriptHook("Update", dt);
}

bool GameObject::AttachComponentManager()
{
    componentManager_ = new ("Velkor_GameObject", __LINE__) ZibComponentManager();
    ZibNet* network = GameNetwork();
    return network != nullptr && network->IsHost();
}

void GameObject::Detach()
{
    if (detached_)
    {
        return;
    }
    layer_ = nullptr;
    destroyed_ = true;
    // The children stay where they are, on their own from now on.
    for (GameObject* child : children_)
    {
        child->support_ = nullptr;
    }
    children_.clear();
    if (support_ != nullptr && support_ != this)
    {
        support_->UnMount(this);
    }
    support_ = nullptr;
    RemoveCollision();
    RemovePhysicalProperties();
    script_.Release();
    managedObjects_.clear();
    managedObjectNames_.clear();
    detached_ = true;
}

void GameObject::ExtraUpdate1(float) {}

void GameObject::ExtraUpdate2(float) {}

void GameObject::ExtraHook3(std::uint32_t) {}

void GameObject::PushVisualProperties(float) {}

void GameObject::ExtraHook4() {}

// --- Identity and pose ------------------------------------------------------------

void GameObject::SetName(const std::string& name)
{
    if (name == name_)
    {
        return;
    }
    if (layer_ != nullptr)
    {
        layer_->RenameGameObject(this, name_, name);
    }
    name_ = name;
}

bool GameObject::GetVisible() const
{
    return node_->IsVisible();
}

void GameObject::SetVisible(bool visible)
{
    node_->SetVisible(visible, true);
}

Collision2D::CollisionEngine* GameObject::OwnCollision() const
{
    return collisionActive_ ? GameCollision() : nullptr;
}

Physics2D::PhysicsEngine* GameObject::OwnPhysics() const
{
    return physicsId_ != 0 ? GamePhysics() : nullptr;
}

void GameObject::SendPosition(bool old) const
{
    if (Collision2D::CollisionEngine* collision = OwnCollision())
    {
        if (old)
        {
            collision->SetObjectOldPosition(collisionId_, position_);
        }
        else
        {
            collision->SetObjectPosition(collisionId_, position_);
        }
    }
    if (Physics2D::PhysicsEngine* physics = OwnPhysics())
    {
        physics->SetRigidBodyPosition(physicsId_, position_);
    }
}

void GameObject::SendRotation(bool old) const
{
    if (Collision2D::CollisionEngine* collision = OwnCollision())
    {
        if (old)
        {
            collision->SetObjectOldOrientation(collisionId_, rotation_);
        }
        else
        {
            collision->SetObjectOrientation(collisionId_, rotation_);
        }
    }
    if (Physics2D::PhysicsEngine* physics = OwnPhysics())
    {
        physics->SetRigidBodyOrientation(physicsId_, rotation_);
    }
}

void GameObject::MoveTo(const Math::Vector2D& position, bool old)
{
    const Math::Vector2D delta = position - position_;
    position_ = position;
    SendPosition(old);
    // Children always move through the ordinary setters.
    for (GameObject* child : children_)
    {
        child->MoveWithSupport(position_, delta, 0.0f);
    }
    UpdateTransformation();
}

void GameObject::TurnTo(float degrees, bool old)
{
    const float turn = degrees - rotation_;
    rotation_ = degrees;
    SendRotation(old);
    for (GameObject* child : children_)
    {
        child->MoveWithSupport(position_, Math::Vector2D(), turn);
    }
    UpdateTransformation();
}

void GameObject::SetPosition(const Math::Vector2D& position)
{
    MoveTo(position, false);
}

void GameObject::SetOldPosition(const Math::Vector2D& position)
{
    MoveTo(position, true);
}

void GameObject::SetRotationAngle(float degrees)
{
    TurnTo(degrees, false);
}

void GameObject::SetOldRotationAngle(float degrees)
{
    TurnTo(degrees, true);
}

void GameObject::SetDirectionX(float x)
{
    const float radians = rotation_ / DegreesPerRadian;
    SetRotationAngle(std::atan2(std::sin(radians), x) * DegreesPerRadian);
}

void GameObject::SetDirectionY(float y)
{
    const float radians = rotation_ / DegreesPerRadian;
    SetRotationAngle(std::atan2(y, std::cos(radians)) * DegreesPerRadian);
}

void GameObject::SetScale(float x, float y)
{
    scaleX_ = x;
    scaleY_ = y;
    UpdateTransformation();
}

void GameObject::SetCenter(const Math::Vector2D& center)
{
    center_ = center;
    if (Collision2D::CollisionEngine* collision = OwnCollision())
    {
        collision->SetObjectOffset(collisionId_, center_);
    }
    if (Physics2D::PhysicsEngine* physics = OwnPhysics())
    {
        Physics2D::MassProperties mass;
        if (physics->GetMassProperties(physicsId_, mass))
        {
            mass.SetCenterOfMass(center_);
            physics->SetMassProperties(physicsId_, mass);
        }
    }
    UpdateTransformation();
}

void GameObject::UpdateTransformation()
{
    if (!transformEnabled_)
    {
        return;
    }
    node_->SetTransformation(
        Math::Matrix4::Translation(position_.x - center_.x, position_.y - center_.y, zOrder_) *
        Math::Matrix4::Translation(center_.x, center_.y, 0.0f) * Math::Matrix4::RotationZ(rotation_) *
        Math::Matrix4::Translation(-center_.x, -center_.y, 0.0f) *
        Math::Matrix4::Scale(scaleX_, scaleY_, 1.0f));
}

// --- Mounting -----------------------------------------------------------------------

bool GameObject::IsAncestorOf(const GameObject* object) const
{
    for (const GameObject* support = object; support != nullptr; support = support->support_)
    {
        if (support == this)
        {
            return true;
        }
    }
    return false;
}

bool GameObject::Mount(GameObject* child)
{
    // A child has one support, and no object is its own ancestor: a cycle
    // would move the tree for ever.
    if (child == nullptr || child == this || child->destroyed_ || destroyed_ || child->support_ != nullptr ||
        child->IsAncestorOf(this))
    {
        return false;
    }
    children_.push_back(child);
    child->support_ = this;
    return true;
}

void GameObject::UnMount(GameObject* child)
{
    auto found = std::find(children_.begin(), children_.end(), child);
    if (found == children_.end())
    {
        return;
    }
    child->support_ = nullptr;
    children_.erase(found);
}

void GameObject::MoveWithSupport(const Math::Vector2D& pivot, const Math::Vector2D& delta, float angle)
{
    if (angle != 0.0f)
    {
        const Math::Vector3 turned = Math::Matrix4::Translation(pivot.x, pivot.y, 0.0f) *
                                     Math::Matrix4::RotationZ(angle) *
                                     Math::Matrix4::Translation(-pivot.x, -pivot.y, 0.0f) *
                                     Math::Vector3(position_.x, position_.y, 0.0f);
        position_ = Math::Vector2D(turned.x, turned.y);
        rotation_ += angle;
        SendRotation(false);
    }
    position_ = position_ + delta;
    SendPosition(false);
    for (GameObject* child : children_)
    {
        child->MoveWithSupport(pivot, delta, angle);
    }
    UpdateTransformation();
}

// --- Collision ------------------------------------------------------------------------

bool GameObject::AddCollision(Collision2D::MainCollisionObject* object, std::uint8_t layer)
{
    if (object == nullptr)
    {
        return false;
    }
    Collision2D::CollisionEngine* collision = GameCollision();
    if (collisionActive_ || collision == nullptr)
    {
        delete object;
        return false;
    }
    object->SetId(reinterpret_cast<Collision2D::OwnerWord>(this));
    collisionId_ = collision->AddCollisionObject(object, layer, position_);
    if (collisionId_ == 0)
    {
        delete object;
        return false;
    }
    collisionActive_ = true;
    return true;
}

void GameObject::RemoveCollision()
{
    if (Collision2D::CollisionEngine* collision = OwnCollision())
    {
        collision->RemoveCollisionObject(collisionId_);
    }
    // The slot may go to another object now: nothing more is sent through
    // the id, whose value stays.
    collisionActive_ = false;
}

Collision2D::DynamicObject* GameObject::GetDynamicCollisionObject() const
{
    Collision2D::CollisionEngine* collision = OwnCollision();
    const std::uint32_t field = collisionId_ & 0xFFFFu;
    if (collision == nullptr || field <= Collision2D::DynamicObjectBase)
    {
        return nullptr;
    }
    return collision->GetDynamicObject(collisionId_);
}

Collision2D::TileMap* GameObject::GetTileMapCollisionObject() const
{
    Collision2D::CollisionEngine* collision = OwnCollision();
    const std::uint32_t field = collisionId_ & 0xFFFFu;
    if (collision == nullptr || field <= Collision2D::TileMapBase || field >= Collision2D::DynamicObjectBase)
    {
        return nullptr;
    }
    return collision->GetTileMap(collisionId_);
}

CollisionResultsView GameObject::GetCollisionResults() const
{
    Collision2D::CollisionEngine* collision = OwnCollision();
    return CollisionResultsView(collision != nullptr ? collision->GetCollisionResults(collisionId_)
                                                     : nullptr);
}

bool GameObject::ObjectInCollision() const
{
    return GetCollisionResults().HasAnyContact();
}

bool GameObject::IsCollidedWithSprite(const std::string& name, bool detailed) const
{
    return GetCollisionResults().IsCollidedWithSprite(name, detailed);
}

// --- Physics ----------------------------------------------------------------------------

void GameObject::OnBodyMoved(Physics2D::RigidBody* body, void* owner)
{
    auto* object = static_cast<GameObject*>(owner);
    if (object != nullptr)
    {
        object->SetPosition(body->GetPosition());
        object->SetRotationAngle(body->GetOrientation());
    }
}

void GameObject::OnBodyCorrected(Physics2D::RigidBody* body, void* owner)
{
    auto* object = static_cast<GameObject*>(owner);
    if (object != nullptr)
    {
        object->SetOldPosition(body->GetPosition());
        object->SetOldRotationAngle(body->GetOrientation());
    }
}

void GameObject::RestoreBodyCallbacks(const std::vector<Core::RefPtr<Physics2D::RigidBody>>& bodies)
{
    for (const Core::RefPtr<Physics2D::RigidBody>& body : bodies)
    {
        if (body)
        {
            body->SetMoveCallback(&OnBodyMoved);
            body->SetPostCollisionCallback(&OnBodyCorrected);
        }
    }
}

bool GameObject::AddPhysicalProperties(const Physics2D::MassProperties& massProperties,
                                       std::uint32_t bodyType)
{
    Physics2D::PhysicsEngine* physics = GamePhysics();
    if (physicsId_ != 0 || physics == nullptr)
    {
        return false;
    }
    Core::RefPtr<Physics2D::RigidBody> body(new ("Velkor_GameObject", __LINE__) Physics2D::RigidBody(
        massProperties, bodyType, &OnBodyMoved, &OnBodyCorrected, this));
    body->SetPosition(position_);
    body->SetOrientation(rotation_);
    physicsId_ = physics->AddRigidBody(body.Get());
    return physicsId_ != 0;
}

bool GameObject::RemovePhysicalProperties()
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    if (physics == nullptr)
    {
        return false;
    }
    physics->RemoveRigidBody(physicsId_);
    physicsId_ = 0;
    return true;
}

bool GameObject::SetVelocity(const Math::Vector2D& velocity)
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    return physics != nullptr && physics->SetRigidBodyVelocity(physicsId_, velocity);
}

bool GameObject::GetVelocity(Math::Vector2D& velocity) const
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    return physics != nullptr && physics->GetRigidBodyVelocity(physicsId_, velocity);
}

bool GameObject::SetAngularVelocity(float degreesPerSecond)
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    return physics != nullptr && physics->SetRigidBodyAngularVelocity(physicsId_, degreesPerSecond);
}

float GameObject::GetAngularVelocity() const
{
    float degreesPerSecond = 0.0f;
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    if (physics == nullptr || !physics->GetRigidBodyAngularVelocity(physicsId_, degreesPerSecond))
    {
        return 0.0f;
    }
    return degreesPerSecond;
}

bool GameObject::GetCenterOfMass(Math::Vector2D& center) const
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    return physics != nullptr && physics->GetRigidBodyCenterOfMass(physicsId_, center);
}

bool GameObject::SetMassProperties(const Physics2D::MassProperties& massProperties)
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    return physics != nullptr && physics->SetMassProperties(physicsId_, massProperties);
}

bool GameObject::GetMassProperties(Physics2D::MassProperties& massProperties) const
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    return physics != nullptr && physics->GetMassProperties(physicsId_, massProperties);
}

std::uint32_t GameObject::AddForce(Physics2D::Force* force)
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    if (physics == nullptr)
    {
        // Nothing holds the force: it goes now.
        Core::RefPtr<Physics2D::Force> discard(force);
        return 0xFFFFFFFF;
    }
    return physics->AddRigidBodyForce(physicsId_, force);
}

bool GameObject::RemoveForce(std::uint32_t index)
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    return physics != nullptr && physics->RemoveRigidBodyForce(physicsId_, index);
}

bool GameObject::RemoveAllForces()
{
    Physics2D::PhysicsEngine* physics = OwnPhysics();
    return physics != nullptr && physics->RemoveAllRigidBodyForces(physicsId_);
}

bool GameObject::SetSpeed(float speed)
{
    Math::Vector2D velocity;
    if (!GetVelocity(velocity))
    {
        return false;
    }
    velocity.Normalize();
    return SetVelocity(velocity * speed);
}

bool GameObject::SetVelocityDirection(const Math::Vector2D& direction)
{
    Math::Vector2D velocity;
    if (!GetVelocity(velocity))
    {
        return false;
    }
    Math::Vector2D unit = direction;
    unit.Normalize();
    return SetVelocity(unit * velocity.Length());
}

// --- Network games ------------------------------------------------------------------------

bool GameObject::IsNetworkClientObject() const
{
    if (!networkId_)
    {
        return false;
    }
    ZibNet* network = GameNetwork();
    return network != nullptr && network->IsNetworkGame() && !network->IsHost();
}

void GameObject::SetNetworkID(NetObjectID* id)
{
    networkId_ = id;
}

bool GameObject::ChangeNetworkOwner(ZibPlayer* owner)
{
    if (!networkId_)
    {
        return false;
    }
    if (owner == nullptr)
    {
        ZibNet* network = GameNetwork();
        owner = network != nullptr ? network->GetLocalPlayer() : nullptr;
    }
    const std::uint32_t ownerId = owner != nullptr ? owner->GetID() : 0;
    networkId_ = new ("Velkor_GameObject", __LINE__) NetObjectID(ownerId, networkId_->GetObjectID());
    return true;
}

namespace
{

// The player whose input drives a networked object on the host, or null.
ZibPlayer* OwningPlayer(const Core::RefPtr<NetObjectID>& networkId)
{
    ZibNet* network = GameNetwork();
    if (!networkId || network == nullptr || !network->IsNetworkGame() || !network->IsHost() ||
        networkId->GetOwnerID() == 0)
    {
        return nullptr;
    }
    return network->FindPlayerByID(networkId->GetOwnerID());
}

} // namespace

Input::Keyboard* GameObject::GetNetworkKeyboard() const
{
    if (ZibPlayer* player = OwningPlayer(networkId_))
    {
        return player->GetNetworkKeyboard();
    }
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetKeyboard().Get() : nullptr;
}

Input::Mouse* GameObject::GetNetworkMouse() const
{
    if (ZibPlayer* player = OwningPlayer(networkId_))
    {
        return player->GetNetworkMouse();
    }
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetMouse().Get() : nullptr;
}

void GameObject::SetNetworkTarget(const Math::Vector2D& position, float rotation)
{
    networkTargetPosition_ = position;
    networkTargetRotation_ = rotation;
}

// --- Others ------------------------------------------------------------------------------

bool GameObject::AddManagedObject(GameObject* object, const std::string& name)
{
    if (object == nullptr || object == this ||
        !ScriptAttachment::IsManagedObjectName(name, managedObjectNames_))
    {
        return false;
    }
    bool managesThis = false;
    object->ForEachManagedObject([this, &managesThis](const GameObject& managed)
                                 { managesThis = managesThis || &managed == this; });
    if (managesThis)
    {
        return false;
    }
    managedObjects_.emplace_back(object);
    managedObjectNames_.push_back(name);
    return true;
}

void GameObject::GetCurrentLevelObjectsByName(const std::string& name,
                                              std::vector<Core::RefPtr<GameObject>>& objects) const
{
    objects.clear();
    Game* game = Game::GetInstance();
    if (game != nullptr && game->GetCurrentLevel() != nullptr)
    {
        game->GetCurrentLevel()->GetGameObjectsByName(name, objects);
    }
}

} // namespace Velkor
