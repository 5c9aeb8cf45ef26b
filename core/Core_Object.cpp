#include "core/Core_Object.h"

#include "core/Core_MemoryManager.h"

#include <atomic>

namespace Core
{

namespace
{
std::atomic<std::int32_t> g_liveObjects{0};
PushUserdataFunction g_pushUserdata = nullptr;
std::atomic<ForgetUserdataFunction> g_forgetUserdata{nullptr};

const ClassRegistrar g_objectRegistrar("Object", &Object::Create);
} // namespace

// --- Base: class-level allocation through the pool -------------------------

void* Base::operator new(std::size_t size)
{
    return PoolNew(size);
}

void* Base::operator new(std::size_t size, const char* sourceFile, int sourceLine)
{
    return PoolNewDebug(size, sourceFile, sourceLine);
}

void Base::operator delete(void* block, std::size_t size)
{
    ForgetUserdata(block, size);
    PoolDelete(block, size);
}

void Base::operator delete(void* block, const char* sourceFile, int sourceLine)
{
    PoolDeleteDebug(block, sourceFile, sourceLine);
}

// --- Script bridge ---------------------------------------------------------

void SetPushUserdataFunction(PushUserdataFunction function)
{
    g_pushUserdata = function;
}

void PushUserdata(lua_State* state, void* object, const char* scriptTypeName)
{
    if (g_pushUserdata != nullptr && state != nullptr)
    {
        g_pushUserdata(state, object, scriptTypeName);
    }
}

void SetForgetUserdataFunction(ForgetUserdataFunction function)
{
    g_forgetUserdata.store(function, std::memory_order_release);
}

void ForgetUserdata(const void* begin, std::size_t size)
{
    const ForgetUserdataFunction forget = g_forgetUserdata.load(std::memory_order_acquire);
    if (forget != nullptr && begin != nullptr)
    {
        forget(begin, size);
    }
}

// --- Object ------------------------------------------------------------------

Object::Object()
{
    g_liveObjects.fetch_add(1, std::memory_order_relaxed);
}

Object::Object(const Object&) : Base()
{
    g_liveObjects.fetch_add(1, std::memory_order_relaxed);
}

Object::~Object()
{
    g_liveObjects.fetch_sub(1, std::memory_order_relaxed);
}

LuaScript* Object::GetScript()
{
    return nullptr;
}

void Object::PushToScript(lua_State* state)
{
    PushUserdata(state, this, "Object");
}

Object* Object::Clone() const
{
    return new ("Core_Object", 19) Object();
}

void Object::Write(File&) const {}

void Object::Read(File&) {}

const char* Object::GetClassName() const
{
    return "Object";
}

std::uint32_t Object::GetSize() const
{
    return sizeof(Object);
}

Object* Object::Create()
{
    return new ("Core_Object", 13) Object();
}

void Object::ReleaseReference()
{
    if (--referenceCount_ == 0)
    {
        delete this;
    }
}

std::int32_t GetLiveObjectCount()
{
    return g_liveObjects.load(std::memory_order_relaxed);
}

// --- Class registry ----------------------------------------------------------

ClassRegistry::Map& ClassRegistry::GetMap()
{
    // Never destroyed: objects may still be created by name while statics
    // of other modules are torn down.
    static Map* map = new Map();
    return *map;
}

void ClassRegistry::Register(const char* className, CreateFunction create)
{
    GetMap().insert_or_assign(className, Entry{className, create});
}

CreateFunction ClassRegistry::Find(const char* className)
{
    if (className == nullptr)
    {
        return nullptr;
    }
    const Map& map = GetMap();
    const auto it = map.find(className);
    return it == map.end() ? nullptr : it->second.create;
}

std::vector<std::string> ClassRegistry::GetClassNames()
{
    std::vector<std::string> names;
    for (const auto& [name, entry] : GetMap())
    {
        names.emplace_back(name);
    }
    return names;
}

ClassRegistrar::ClassRegistrar(const char* name, CreateFunction function) : className(name), create(function)
{
    ClassRegistry::Register(name, function);
}

Object* CreateObject(const char* className)
{
    const CreateFunction create = ClassRegistry::Find(className);
    return create == nullptr ? nullptr : create();
}

} // namespace Core
