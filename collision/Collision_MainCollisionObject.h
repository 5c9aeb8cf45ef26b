#pragma once

#include "collision/Collision_Id.h"
#include "core/Core_Base.h"

#include <cstdint>

struct lua_State;
class LuaScript;

namespace Collision2D
{

// The owner's word: the framework stores the address of the owning game
// object here. It is pointer-sized, copied into the other side's contact
// records, and never archived.
using OwnerWord = std::uintptr_t;

// Selects the constructors that build an object to be filled by Read, so
// that building it takes nothing from the global counters.
struct ForReadingTag
{
};
inline constexpr ForReadingTag ForReading{};

// The common first part of every collision object: its kind code and its
// owner word. Collision objects are owned by their layer (or frame) and are
// not reference-counted.
class MainCollisionObject : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "MainCollisionObject";

    MainCollisionObject() = default;
    explicit MainCollisionObject(CollisionKind kind) : kind_(static_cast<std::int32_t>(kind)) {}
    MainCollisionObject(const MainCollisionObject&) = default;
    MainCollisionObject& operator=(const MainCollisionObject&) = default;
    virtual ~MainCollisionObject();

    // Collision objects never carry a script.
    virtual LuaScript* GetScript();
    // Pushes a user datum holding this object's address under its script class.
    virtual void PushToScript(lua_State* state);

    // The stored code; a bare common part holds -1.
    std::int32_t GetKindCode() const { return kind_; }
    CollisionKind GetKind() const { return static_cast<CollisionKind>(kind_); }

    void SetOwner(OwnerWord owner) { owner_ = owner; }
    OwnerWord GetOwner() const { return owner_; }
    // The framework's name for SetOwner.
    void SetId(OwnerWord owner) { owner_ = owner; }

protected:
    std::int32_t kind_ = static_cast<std::int32_t>(CollisionKind::None);
    OwnerWord owner_ = 0;
};

} // namespace Collision2D
