#pragma once

#include "core/Core_File.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "framework/Velkor_StateMachine.h"

// The skeleton every game class shares: registered under its bare class name
// (so archives and network messages make it by name), created, cloned and
// sized through the memory manager, and pushed to scripts as its framework
// base kind. A class declares the skeleton in its body with
// BRILLOW_DECLARE_GAME_CLASS and defines it once in its source file with
// BRILLOW_DEFINE_GAME_CLASS; a class without a state machine of its own
// adds BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE, a class with one writes its
// Write and Read with SaveMachine and LoadMachine after the base's.
#define BRILLOW_DECLARE_GAME_CLASS(Class, Base)                                                              \
    CORE_DECLARE_OBJECT(Class)                                                                               \
public:                                                                                                      \
    using BaseClass = Base;                                                                                  \
    void Write(Core::File& file) const override;                                                             \
    void Read(Core::File& file) override;

#define BRILLOW_DEFINE_GAME_CLASS(Class)                                                                     \
    CORE_DEFINE_OBJECT(Class, #Class, Class::BaseClass::ScriptTypeName, "Brillow_" #Class, __LINE__)

// A level class: registered and made by name like the other game classes;
// a level is never copied, so its clone is the plain object of the root.
#define BRILLOW_DEFINE_LEVEL_CLASS(Class)                                                                    \
    CORE_DEFINE_OBJECT_BASICS(Class, #Class, Class::BaseClass::ScriptTypeName, "Brillow_" #Class, __LINE__)  \
    Core::Object* Class::Clone() const                                                                       \
    {                                                                                                        \
        return Core::Object::Clone();                                                                        \
    }                                                                                                        \
    static const Core::ClassRegistrar CORE_REGISTRAR_NAME(__LINE__)(#Class, &Class::Create);                 \
    BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Class)

// As BRILLOW_DEFINE_GAME_CLASS for a class whose Clone does more than copy:
// the class defines Clone itself.
#define BRILLOW_DEFINE_GAME_CLASS_OWN_CLONE(Class)                                                           \
    CORE_DEFINE_OBJECT_BASICS(Class, #Class, Class::BaseClass::ScriptTypeName, "Brillow_" #Class, __LINE__)  \
    static const Core::ClassRegistrar CORE_REGISTRAR_NAME(__LINE__)(#Class, &Class::Create);

// Save and load are the base's.
#define BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Class)                                                         \
    void Class::Write(Core::File& file) const                                                                \
    {                                                                                                        \
        BaseClass::Write(file);                                                                              \
    }                                                                                                        \
    void Class::Read(Core::File& file)                                                                       \
    {                                                                                                        \
        BaseClass::Read(file);                                                                               \
    }

namespace GameClass
{

// A copy of `machine` for a copied object: its own states, and `owner` as
// the owner of the copy and of every machine nested in it. Null for none.
template <class T>
Core::RefPtr<Velkor::StateMachine<T>> CloneMachine(const Core::RefPtr<Velkor::StateMachine<T>>& machine,
                                                   T* owner)
{
    if (!machine)
    {
        return {};
    }
    Core::RefPtr<Velkor::StateMachine<T>> copy(machine->Copy());
    copy->SetOwner(owner);
    return copy;
}

// The machine's record after the base's; nothing for an object without one.
template <class T> void SaveMachine(const Core::RefPtr<Velkor::StateMachine<T>>& machine, Core::File& file)
{
    if (machine)
    {
        machine->Write(file);
    }
}

template <class T> void LoadMachine(const Core::RefPtr<Velkor::StateMachine<T>>& machine, Core::File& file)
{
    if (machine && !file.Failed())
    {
        machine->Read(file);
    }
}

} // namespace GameClass
