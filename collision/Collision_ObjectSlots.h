#pragma once

#include "core/Core_Assert.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Collision2D
{

// The slot array of one kind of collision object in a layer. Slot 0 never
// holds an object; `count` is the next slot to hand out (slots 1 to
// count - 1 have been handed out, some may be empty again) and the array has
// room for `capacity` entries, growing by `growthStep` once the count
// reaches it, so count < capacity always holds.
template <class T> class ObjectSlots
{
public:
    ObjectSlots(std::int32_t initialCapacity, std::int32_t growthStep, std::uint32_t maximumSlot)
        : initialCapacity_(initialCapacity), growthStep_(growthStep), maximumSlot_(maximumSlot)
    {
        Reset();
    }

    std::int32_t GetCount() const { return count_; }
    std::int32_t GetCapacity() const { return static_cast<std::int32_t>(slots_.size()); }
    std::int32_t GetGrowthStep() const { return growthStep_; }
    std::uint32_t GetMaximumSlot() const { return maximumSlot_; }

    // The object in a slot; null for slot 0, an empty slot or a slot not
    // below the count.
    T* Get(std::uint32_t slot) const
    {
        return slot != 0 && slot < static_cast<std::uint32_t>(count_) ? slots_[slot].get() : nullptr;
    }

    // True when one more slot can be appended without leaving the kind's
    // range of ids.
    bool CanAppend() const { return static_cast<std::uint32_t>(count_) <= maximumSlot_; }

    // Stores the object at slot = count and advances the count, growing the
    // array when the count reaches the capacity. The caller checked
    // CanAppend.
    std::uint32_t Append(std::unique_ptr<T> object)
    {
        ENGINE_ASSERT(CanAppend());
        const std::uint32_t slot = static_cast<std::uint32_t>(count_);
        slots_[slot] = std::move(object);
        ++count_;
        if (count_ >= GetCapacity())
        {
            slots_.resize(slots_.size() + static_cast<std::size_t>(growthStep_));
        }
        return slot;
    }

    // Stores the object in an empty slot below the count.
    void Place(std::uint32_t slot, std::unique_ptr<T> object)
    {
        ENGINE_ASSERT(slot != 0 && slot < static_cast<std::uint32_t>(count_) && slots_[slot] == nullptr);
        slots_[slot] = std::move(object);
    }

    // Destroys the object of an occupied slot; false for any other slot.
    bool Destroy(std::uint32_t slot)
    {
        if (Get(slot) == nullptr)
        {
            return false;
        }
        slots_[slot].reset();
        return true;
    }

    // Destroys every object: a fresh array of the initial capacity, count 1.
    void Reset()
    {
        slots_.clear();
        slots_.resize(static_cast<std::size_t>(initialCapacity_));
        count_ = 1;
    }

    // An empty array of `capacity` entries with `count` slots handed out, to
    // be filled by Place. The caller checked 1 <= count < capacity.
    void Prepare(std::int32_t capacity, std::int32_t count)
    {
        ENGINE_ASSERT(count >= 1 && count < capacity);
        slots_.clear();
        slots_.resize(static_cast<std::size_t>(capacity));
        count_ = count;
    }

private:
    std::vector<std::unique_ptr<T>> slots_;
    std::int32_t count_ = 1;
    std::int32_t initialCapacity_;
    std::int32_t growthStep_;
    std::uint32_t maximumSlot_;
};

} // namespace Collision2D
