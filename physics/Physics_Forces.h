#pragma once

#include "core/Core_RefPtr.h"
#include "math/Math_Vector2D.h"
#include "physics/Physics_Force.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace Core
{
class File;
}

struct lua_State;
class LuaScript;

namespace Physics2D
{

class RigidBody;

// The forces acting on one body. A force's id is its slot; the id of a
// removed force is reused by the next add, the last removed first.
class Forces
{
public:
    static constexpr const char* ScriptTypeName = "Forces";
    // Answered for a null force; no slot has it.
    static constexpr std::uint32_t InvalidId = 0xFFFFFFFFu;

    Forces() = default;
    // Each container belongs to its one body: it is never copied.
    Forces(const Forces&) = delete;
    Forces& operator=(const Forces&) = delete;
    // The forces it still holds are unbound.
    virtual ~Forces();

    // These containers never carry a script.
    virtual LuaScript* GetScript() { return nullptr; }
    virtual void PushToScript(lua_State* state);

    void SetBody(RigidBody* body) { body_ = body; }
    RigidBody* GetBody() const { return body_; }

    // Binds the force to the body and stores it; answers its id (InvalidId
    // for null).
    std::uint32_t Add(Force* force);
    // False for an id out of range or an empty slot. A removed force is
    // unbound, so one still held elsewhere no longer refers to the body.
    bool RemoveForce(std::uint32_t id);
    bool RemoveAllForces();

    // Updates every force in ascending id order for the step, adds its
    // evaluated force and torque to `force` and `torque`, and removes the
    // forces that expired in this step (after counting them).
    void Accumulate(float step, Math::Vector2D& force, float& torque);

    std::uint32_t GetSlotCount() const { return static_cast<std::uint32_t>(slots_.size()); }
    // The force in slot `id`, or null for an empty or out-of-range slot.
    Force* GetForce(std::uint32_t id) const;
    const std::deque<std::uint32_t>& GetFreeIds() const { return freeIds_; }

    // Exchanges the forces and free ids; each keeps its body, and the forces
    // are bound to their new container's body.
    void Swap(Forces& other);

    // Record: u32 n, n free ids from the most recently freed to the oldest;
    // u32 m, then m force objects (an empty slot is an absent object).
    void Write(Core::File& file) const;
    // Replaces the content when the whole record is sound: every free id names
    // an empty slot once, and no force was read before in the archive. Forces read back are
    // bound to this container's body with their stored local positions.
    void Read(Core::File& file);

private:
    void Unbind(Force* force) const;

    std::vector<Core::RefPtr<Force>> slots_;
    std::deque<std::uint32_t> freeIds_;
    RigidBody* body_ = nullptr;
};

} // namespace Physics2D
