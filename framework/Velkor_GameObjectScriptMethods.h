#pragma once

// The "GameObject" script method table and the pieces of it that the
// tables of the object kinds repeat. The methods are defined in
// Velkor_GameObjectScript*.cpp; the lists are built at compile time here, so
// a kind's table (Text, Sprite, Camera, ParticleSystem, Sound) starts from
// the same records.

#include "framework/Velkor_GameObject.h"
#include "script/Script_MethodTable.h"

struct lua_State;

namespace Velkor::GameObjectScript
{

using Object = GameObject;

// Identity, mounting, pose and look.
int ObjectFunction(Object&, lua_State*);
int AddManagedObject(Object&, lua_State*);
int Mount(Object&, lua_State*);
int UnMount(Object&, lua_State*);
int GetMount(Object&, lua_State*);
int GetMountsCount(Object&, lua_State*);
int IsMounted(Object&, lua_State*);
int GetMountSupport(Object&, lua_State*);
int GetLayer(Object&, lua_State*);
int SetName(Object&, lua_State*);
int GetName(Object&, lua_State*);
int GetID(Object&, lua_State*);
int SetLifeTime(Object&, lua_State*);
int GetLifeTime(Object&, lua_State*);
int GetAge(Object&, lua_State*);
int ResetAge(Object&, lua_State*);
int SetVisible(Object&, lua_State*);
int GetVisible(Object&, lua_State*);
int Destroy(Object&, lua_State*);
int IsDestroyed(Object&, lua_State*);
int SetPosition(Object&, lua_State*);
int SetPositionX(Object&, lua_State*);
int SetPositionY(Object&, lua_State*);
int GetPosition(Object&, lua_State*);
int GetPositionX(Object&, lua_State*);
int GetPositionY(Object&, lua_State*);
int SetOldPosition(Object&, lua_State*);
int SetZOrder(Object&, lua_State*);
int GetZOrder(Object&, lua_State*);
int SetRotationAngle(Object&, lua_State*);
int SetOldRotationAngle(Object&, lua_State*);
int GetRotationAngle(Object&, lua_State*);
int SetDirection(Object&, lua_State*);
int SetDirectionX(Object&, lua_State*);
int SetDirectionY(Object&, lua_State*);
int GetDirection(Object&, lua_State*);
int GetDirectionX(Object&, lua_State*);
int GetDirectionY(Object&, lua_State*);
int SetScale(Object&, lua_State*);
int SetScaleX(Object&, lua_State*);
int SetScaleY(Object&, lua_State*);
int GetScale(Object&, lua_State*);
int GetScaleX(Object&, lua_State*);
int GetScaleY(Object&, lua_State*);
int SetCenter(Object&, lua_State*);
int SetCenterX(Object&, lua_State*);
int SetCenterY(Object&, lua_State*);
int GetCenter(Object&, lua_State*);
int GetCenterX(Object&, lua_State*);
int GetCenterY(Object&, lua_State*);
int SetModulationColor(Object&, lua_State*);
int SetModulationR(Object&, lua_State*);
int SetModulationG(Object&, lua_State*);
int SetModulationB(Object&, lua_State*);
int GetModulationColor(Object&, lua_State*);
int GetModulationR(Object&, lua_State*);
int GetModulationG(Object&, lua_State*);
int GetModulationB(Object&, lua_State*);
int SetOpacity(Object&, lua_State*);
int GetOpacity(Object&, lua_State*);

// Collision, physics and network.
int AddCollision(Object&, lua_State*);
int RemoveCollision(Object&, lua_State*);
int ObjectInCollision(Object&, lua_State*);
int GetCollisionId(Object&, lua_State*);
int GetCollisionObject(Object&, lua_State*);
int GetTileMapCollisionObject(Object&, lua_State*);
int AddPhysicalProperties(Object&, lua_State*);
int RemovePhysicalProperties(Object&, lua_State*);
int SetMassProperties(Object&, lua_State*);
int GetMassProperties(Object&, lua_State*);
int GetCenterOfMass(Object&, lua_State*);
int SetVelocity(Object&, lua_State*);
int GetVelocity(Object&, lua_State*);
int SetAngularVelocity(Object&, lua_State*);
int GetAngularVelocity(Object&, lua_State*);
int SetSpeed(Object&, lua_State*);
int GetSpeed(Object&, lua_State*);
int SetVelocityDirection(Object&, lua_State*);
int GetVelocityDirection(Object&, lua_State*);
int AddForce(Object&, lua_State*);
int RemoveForce(Object&, lua_State*);
int RemoveAllForces(Object&, lua_State*);
int GetPhysicsId(Object&, lua_State*);
int GetNetworkKeyboard(Object&, lua_State*);
int GetNetworkMouse(Object&, lua_State*);
int GetNetworkOwner(Object&, lua_State*);
int ChangeNetworkOwner(Object&, lua_State*);
int SetScript(Object&, lua_State*);
int RunScript(Object&, lua_State*);

// Contacts.
int GetNumberOfCollidedSprites(Object&, lua_State*);
int GetNumberOfCollidedCircles(Object&, lua_State*);
int GetNumberOfCollidedLineSegments(Object&, lua_State*);
int GetNumberOfCollidedTileMaps(Object&, lua_State*);
int GetCollidedSprite(Object&, lua_State*);
int GetCollidedTileMap(Object&, lua_State*);
int IsCollidedWithSprite(Object&, lua_State*);
int IsCollidedWithSpriteLineSegment(Object&, lua_State*);
int IsCollidedWithSpriteCircle(Object&, lua_State*);
int IsCollidedWithLineSegment(Object&, lua_State*);
int IsCollidedWithCircle(Object&, lua_State*);
int IsCollidedWithTileMap(Object&, lua_State*);
int IsMyLineSegmentCollided(Object&, lua_State*);
int IsMyCircleCollided(Object&, lua_State*);
int GetTileMapNewEntries_UsingBoundingRectangle(Object&, lua_State*);
int GetTileMapStaticEntries_UsingBoundingRectangle(Object&, lua_State*);
int GetTileMapNewEntries_UsingHotSpot(Object&, lua_State*);
int GetTileMapStaticEntries_UsingHotSpot(Object&, lua_State*);
int GetCollidedCircleData(Object&, lua_State*);
int GetCollidedLineSegmentData(Object&, lua_State*);
int GetCollidedTileMapData(Object&, lua_State*);
int GetCollidedSpriteData(Object&, lua_State*);

// Script values in the network data.
int SaveNetworkData(Object&, lua_State*);
int LoadNetworkData(Object&, lua_State*);

// "Clone": the object's Clone, the clone's script loaded with the clone as
// its "self" and told of its source ("OnClone"); the clone is pushed held by
// the script (a counted reference), so it lives while the script or a layer
// holds it.
int Clone(Object&, lua_State*);

using Script::Method;

inline constexpr auto kMethods = Script::MakeMethods<111>(
    Method<&ObjectFunction>("ObjectFunction"), Method<&AddManagedObject>("AddManagedObject"),
    Method<&Mount>("Mount"), Method<&UnMount>("UnMount"), Method<&GetMount>("GetMount"),
    Method<&GetMountsCount>("GetMountsCount"), Method<&IsMounted>("IsMounted"),
    Method<&GetMountSupport>("GetMountSupport"), Method<&GetLayer>("GetLayer"), Method<&SetName>("SetName"),
    Method<&GetName>("GetName"), Method<&GetID>("GetID"), Method<&SetLifeTime>("SetLifeTime"),
    Method<&GetLifeTime>("GetLifeTime"), Method<&GetAge>("GetAge"), Method<&ResetAge>("ResetAge"),
    Method<&SetVisible>("SetVisible"), Method<&GetVisible>("GetVisible"), Method<&Destroy>("Destroy"),
    Method<&IsDestroyed>("IsDestroyed"), Method<&SetPosition>("SetPosition"),
    Method<&SetPositionX>("SetPositionX"), Method<&SetPositionY>("SetPositionY"),
    Method<&GetPosition>("GetPosition"), Method<&GetPositionX>("GetPositionX"),
    Method<&GetPositionY>("GetPositionY"), Method<&SetOldPosition>("SetOldPosition"),
    Method<&SetZOrder>("SetZOrder"), Method<&GetZOrder>("GetZOrder"),
    Method<&SetRotationAngle>("SetRotationAngle"), Method<&SetOldRotationAngle>("SetOldRotationAngle"),
    Method<&GetRotationAngle>("GetRotationAngle"), Method<&SetDirection>("SetDirection"),
    Method<&SetDirectionX>("SetDirectionX"), Method<&SetDirectionY>("SetDirectionY"),
    Method<&GetDirection>("GetDirection"), Method<&GetDirectionX>("GetDirectionX"),
    Method<&GetDirectionY>("GetDirectionY"), Method<&SetScale>("SetScale"), Method<&SetScaleX>("SetScaleX"),
    Method<&SetScaleY>("SetScaleY"), Method<&GetScale>("GetScale"), Method<&GetScaleX>("GetScaleX"),
    Method<&GetScaleY>("GetScaleY"), Method<&SetCenter>("SetCenter"), Method<&SetCenterX>("SetCenterX"),
    Method<&SetCenterY>("SetCenterY"), Method<&GetCenter>("GetCenter"), Method<&GetCenterX>("GetCenterX"),
    Method<&GetCenterY>("GetCenterY"), Method<&SetModulationColor>("SetModulationColor"),
    Method<&SetModulationR>("SetModulationR"), Method<&SetModulationG>("SetModulationG"),
    Method<&SetModulationB>("SetModulationB"), Method<&GetModulationColor>("GetModulationColor"),
    Method<&GetModulationR>("GetModulationR"), Method<&GetModulationG>("GetModulationG"),
    Method<&GetModulationB>("GetModulationB"), Method<&SetOpacity>("SetOpacity"),
    Method<&GetOpacity>("GetOpacity"), Method<&AddCollision>("AddCollision"),
    Method<&RemoveCollision>("RemoveCollision"), Method<&ObjectInCollision>("ObjectInCollision"),
    Method<&GetCollisionId>("GetCollisionId"), Method<&GetCollisionObject>("GetCollisionObject"),
    Method<&GetTileMapCollisionObject>("GetTileMapCollisionObject"),
    Method<&AddPhysicalProperties>("AddPhysicalProperties"),
    Method<&RemovePhysicalProperties>("RemovePhysicalProperties"),
    Method<&SetMassProperties>("SetMassProperties"), Method<&GetMassProperties>("GetMassProperties"),
    Method<&GetCenterOfMass>("GetCenterOfMass"), Method<&SetVelocity>("SetVelocity"),
    Method<&GetVelocity>("GetVelocity"), Method<&SetAngularVelocity>("SetAngularVelocity"),
    Method<&GetAngularVelocity>("GetAngularVelocity"), Method<&SetSpeed>("SetSpeed"),
    Method<&GetSpeed>("GetSpeed"), Method<&SetVelocityDirection>("SetVelocityDirection"),
    Method<&GetVelocityDirection>("GetVelocityDirection"), Method<&AddForce>("AddForce"),
    Method<&RemoveForce>("RemoveForce"), Method<&RemoveAllForces>("RemoveAllForces"),
    Method<&GetPhysicsId>("GetPhysicsId"), Method<&GetNetworkKeyboard>("GetNetworkKeyboard"),
    Method<&GetNetworkMouse>("GetNetworkMouse"), Method<&GetNetworkOwner>("GetNetworkOwner"),
    Method<&ChangeNetworkOwner>("ChangeNetworkOwner"),
    Method<&GetNumberOfCollidedSprites>("GetNumberOfCollidedSprites"),
    Method<&GetNumberOfCollidedCircles>("GetNumberOfCollidedCircles"),
    Method<&GetNumberOfCollidedLineSegments>("GetNumberOfCollidedLineSegments"),
    Method<&GetNumberOfCollidedTileMaps>("GetNumberOfCollidedTileMaps"),
    Method<&GetCollidedSprite>("GetCollidedSprite"), Method<&GetCollidedTileMap>("GetCollidedTileMap"),
    Method<&IsCollidedWithSprite>("IsCollidedWithSprite"),
    Method<&IsCollidedWithSpriteLineSegment>("IsCollidedWithSpriteLineSegment"),
    Method<&IsCollidedWithSpriteCircle>("IsCollidedWithSpriteCircle"),
    Method<&IsCollidedWithLineSegment>("IsCollidedWithLineSegment"),
    Method<&IsCollidedWithCircle>("IsCollidedWithCircle"),
    Method<&IsCollidedWithTileMap>("IsCollidedWithTileMap"),
    Method<&IsMyLineSegmentCollided>("IsMyLineSegmentCollided"),
    Method<&IsMyCircleCollided>("IsMyCircleCollided"),
    Method<&GetTileMapNewEntries_UsingBoundingRectangle>("GetTileMapNewEntries_UsingBoundingRectangle"),
    Method<&GetTileMapStaticEntries_UsingBoundingRectangle>("GetTileMapStaticEntries_UsingBoundingRectangle"),
    Method<&GetTileMapNewEntries_UsingHotSpot>("GetTileMapNewEntries_UsingHotSpot"),
    Method<&GetTileMapStaticEntries_UsingHotSpot>("GetTileMapStaticEntries_UsingHotSpot"),
    Method<&GetCollidedCircleData>("GetCollidedCircleData"),
    Method<&GetCollidedLineSegmentData>("GetCollidedLineSegmentData"),
    Method<&GetCollidedTileMapData>("GetCollidedTileMapData"),
    Method<&GetCollidedSpriteData>("GetCollidedSpriteData"), Method<&SetScript>("SetScript"),
    Method<&RunScript>("RunScript"));

// The kinds' tables leave out "ChangeNetworkOwner" (110 entries: Sprite) and
// also the four contact record tables (106: Text, Camera, ParticleSystem,
// Sound), then add the pair of network data methods.
inline constexpr auto kKindMethods = Script::Without<110>(kMethods, {"ChangeNetworkOwner"});
inline constexpr auto kKindMethodsWithoutRecords =
    Script::Without<106>(kKindMethods, {"GetCollidedCircleData", "GetCollidedLineSegmentData",
                                        "GetCollidedTileMapData", "GetCollidedSpriteData"});
inline constexpr auto kNetworkDataMethods = Script::MakeMethods<2>(
    Method<&SaveNetworkData>("SaveNetworkData"), Method<&LoadNetworkData>("LoadNetworkData"));
inline constexpr auto kCloneMethod = Method<&Clone>("Clone");

} // namespace Velkor::GameObjectScript
