#pragma once

#include "core/Core_Object.h"

#include <type_traits>
#include <utility>

namespace Core
{

// Counted reference to a Core::Object (or a class derived from it). It is
// the only owner type of shared objects; raw pointers never own.
template <class T = Object>
class RefPtr
{
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {}
    RefPtr(T* object) : object_(object) { Acquire(); }
    RefPtr(const RefPtr& other) : object_(other.object_) { Acquire(); }
    RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(const RefPtr<U>& other) : object_(other.Get())
    {
        Acquire();
    }
    ~RefPtr() { Release(); }

    // The new object gains its reference before the old one loses its own,
    // so assigning an object to itself, directly or through its owner, is safe.
    RefPtr& operator=(const RefPtr& other)
    {
        Assign(other.object_);
        return *this;
    }
    RefPtr& operator=(RefPtr&& other) noexcept
    {
        if (this != &other)
        {
            T* old = std::exchange(object_, std::exchange(other.object_, nullptr));
            if (old != nullptr)
            {
                old->ReleaseReference();
            }
        }
        return *this;
    }
    RefPtr& operator=(T* object)
    {
        Assign(object);
        return *this;
    }
    RefPtr& operator=(std::nullptr_t)
    {
        Assign(nullptr);
        return *this;
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

    void Reset() { Assign(nullptr); }

    friend bool operator==(const RefPtr& a, const RefPtr& b) { return a.object_ == b.object_; }
    friend bool operator==(const RefPtr& a, const T* b) { return a.object_ == b; }
    friend bool operator==(const RefPtr& a, std::nullptr_t) { return a.object_ == nullptr; }

private:
    void Acquire()
    {
        if (object_ != nullptr)
        {
            object_->AddReference();
        }
    }
    void Release()
    {
        if (object_ != nullptr)
        {
            std::exchange(object_, nullptr)->ReleaseReference();
        }
    }
    void Assign(T* object)
    {
        if (object == object_)
        {
            return;
        }
        if (object != nullptr)
        {
            object->AddReference();
        }
        T* old = std::exchange(object_, object);
        if (old != nullptr)
        {
            old->ReleaseReference();
        }
    }

    T* object_ = nullptr;
};

} // namespace Core
