#include "physics/Physics_Forces.h"

#include "core/Core_File.h"
#include "core/Core_ScriptBridge.h"

namespace Physics2D
{

Forces::~Forces()
{
    for (const Core::RefPtr<Force>& force : slots_)
    {
        Unbind(force.Get());
    }
}

void Forces::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void Forces::Unbind(Force* force) const
{
    if (force != nullptr && force->GetBody() == body_)
    {
        force->SetBody(nullptr);
    }
}

std::uint32_t Forces::Add(Force* force)
{
    if (force == nullptr)
    {
        return InvalidId;
    }
    force->SetBody(body_);
    if (!freeIds_.empty())
    {
        const std::uint32_t id = freeIds_.back();
        freeIds_.pop_back();
        slots_[id] = force;
        return id;
    }
    slots_.emplace_back(force);
    return static_cast<std::uint32_t>(slots_.size() - 1);
}

bool Forces::RemoveForce(std::uint32_t id)
{
    if (id >= slots_.size() || !slots_[id])
    {
        return false;
    }
    Unbind(slots_[id].Get());
    slots_[id].Reset();
    freeIds_.push_back(id);
    return true;
}

bool Forces::RemoveAllForces()
{
    for (std::uint32_t id = 0; id < slots_.size(); ++id)
    {
        RemoveForce(id);
    }
    return true;
}

Force* Forces::GetForce(std::uint32_t id) const
{
    return id < slots_.size() ? slots_[id].Get() : nullptr;
}

void Forces::Swap(Forces& other)
{
    slots_.swap(other.slots_);
    freeIds_.swap(other.freeIds_);
    for (Forces* container : {this, &other})
    {
        for (const Core::RefPtr<Force>& force : container->slots_)
        {
            if (force)
            {
                force->RestoreBody(container->body_);
            }
        }
    }
}

void Forces::Accumulate(float step, Math::Vector2D& force, float& torque)
{
    for (std::uint32_t id = 0; id < slots_.size(); ++id)
    {
        Force* current = slots_[id].Get();
        if (current == nullptr)
        {
            continue;
        }
        const bool alive = current->Update(step);
        force += current->GetEvaluatedForce();
        torque += current->GetEvaluatedTorque();
        if (!alive)
        {
            RemoveForce(id);
        }
    }
}

void Forces::Write(Core::File& file) const
{
    file << static_cast<std::uint32_t>(freeIds_.size());
    for (auto id = freeIds_.rbegin(); id != freeIds_.rend(); ++id)
    {
        file << *id;
    }
    Core::WriteRefPtrVector(file, slots_);
}

void Forces::Read(Core::File& file)
{
    std::uint32_t freeCount = 0;
    if (!file.ReadExact(&freeCount, sizeof freeCount) || !file.Require(std::uint64_t{freeCount} * 4))
    {
        return;
    }
    // Written from the back, so each id read goes in front of the earlier ones.
    std::deque<std::uint32_t> freeIds;
    for (std::uint32_t i = 0; i < freeCount; ++i)
    {
        std::uint32_t id = 0;
        file >> id;
        freeIds.push_front(id);
    }
    std::vector<Core::RefPtr<Force>> slots;
    Core::ReadRefPtrVector(file, slots);
    if (file.Failed())
    {
        return;
    }

    // Add writes into the slot of a free id: each must name an empty slot,
    // once. A force belongs to one slot of one body: one read before (it
    // holds another reference) would be updated twice a step.
    std::vector<bool> freed(slots.size(), false);
    for (const std::uint32_t id : freeIds)
    {
        if (id >= slots.size() || slots[id] || freed[id])
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
        freed[id] = true;
    }
    for (const Core::RefPtr<Force>& force : slots)
    {
        if (force && file.GetOutsideReferenceCount(*force) != 1)
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
    }

    for (const Core::RefPtr<Force>& force : slots_)
    {
        Unbind(force.Get());
    }
    slots_ = std::move(slots);
    freeIds_ = std::move(freeIds);
    for (const Core::RefPtr<Force>& force : slots_)
    {
        if (force)
        {
            force->RestoreBody(body_);
        }
    }
}

} // namespace Physics2D
