#pragma once

#include "core/Core_Base.h"
#include "core/Core_ClassRegistry.h"
#include "core/Core_ScriptBridge.h"

#include <cstdint>

namespace Core
{

class File;

// Root of every shared, stored or scriptable class. It carries the intrusive
// reference count; the eight virtual operations below keep this order in
// every derived class, which appends its own behind them.
class Object : public Base
{
public:
    Object();
    // A copy is a new object: it starts with no references.
    Object(const Object& other);
    Object& operator=(const Object&) { return *this; }

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);
    virtual ~Object();
    virtual Object* Clone() const;
    virtual void Write(File& file) const;
    virtual void Read(File& file);
    virtual const char* GetClassName() const;
    virtual std::uint32_t GetSize() const;

    static Object* Create();

    void AddReference() { ++referenceCount_; }
    // Drops one reference; the last one destroys the object.
    void ReleaseReference();
    std::uint32_t GetReferenceCount() const { return referenceCount_; }

private:
    std::uint32_t referenceCount_ = 0;
};

// Number of Core::Object instances alive in the process.
std::int32_t GetLiveObjectCount();

} // namespace Core

// Declares the per-class operations every concrete object class provides.
#define CORE_DECLARE_OBJECT(Class)                                                                           \
public:                                                                                                      \
    static Core::Object* Create();                                                                           \
    Core::Object* Clone() const override;                                                                    \
    const char* GetClassName() const override;                                                               \
    std::uint32_t GetSize() const override;                                                                  \
    void PushToScript(lua_State* state) override;

// Create (default instance), class name, size and the script push under the
// class's script type name. `sourceFile` and `line` name the allocation site.
#define CORE_DEFINE_OBJECT_BASICS(Class, className, scriptTypeName, sourceFile, line)                         \
    Core::Object* Class::Create()                                                                            \
    {                                                                                                        \
        return new (sourceFile, line) Class();                                                               \
    }                                                                                                        \
    const char* Class::GetClassName() const                                                                  \
    {                                                                                                        \
        return className;                                                                                    \
    }                                                                                                        \
    std::uint32_t Class::GetSize() const                                                                     \
    {                                                                                                        \
        return sizeof(Class);                                                                                \
    }                                                                                                        \
    void Class::PushToScript(lua_State* state)                                                               \
    {                                                                                                        \
        Core::PushUserdata(state, this, scriptTypeName);                                                     \
    }

// Clone through the copy constructor.
#define CORE_DEFINE_OBJECT_CLONE(Class, sourceFile, line)                                                    \
    Core::Object* Class::Clone() const                                                                       \
    {                                                                                                        \
        return new (sourceFile, line) Class(*this);                                                          \
    }

// Everything above plus the registration under the class name.
#define CORE_DEFINE_OBJECT(Class, className, scriptTypeName, sourceFile, line)                               \
    CORE_DEFINE_OBJECT_BASICS(Class, className, scriptTypeName, sourceFile, line)                            \
    CORE_DEFINE_OBJECT_CLONE(Class, sourceFile, line)                                                        \
    static const Core::ClassRegistrar CORE_REGISTRAR_NAME(__LINE__)(className, &Class::Create);

#define CORE_REGISTRAR_NAME_JOIN(a, b) a##b
#define CORE_REGISTRAR_NAME_EXPAND(a, b) CORE_REGISTRAR_NAME_JOIN(a, b)
#define CORE_REGISTRAR_NAME(line) CORE_REGISTRAR_NAME_EXPAND(g_classRegistrar_, line)
