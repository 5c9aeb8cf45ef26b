#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace Core
{

class Object;

using CreateFunction = Object* (*)();

struct ClassRegistrar;

struct ClassNameLess
{
    bool operator()(const char* a, const char* b) const { return std::strcmp(a, b) < 0; }
};

// Process-wide map from class name to creation function. The keys are the
// names' own static strings; the map is created on first use so registrars
// may run in any order, and it lives until the process ends.
class ClassRegistry
{
public:
    struct Entry
    {
        const char* className;
        CreateFunction create;
    };
    using Map = std::map<const char*, Entry, ClassNameLess>;

    static Map& GetMap();
    static void Register(const char* className, CreateFunction create);
    static CreateFunction Find(const char* className);
    static std::vector<std::string> GetClassNames();
};

// A static registrar enters one class into the registry when it is built.
struct ClassRegistrar
{
    ClassRegistrar(const char* className, CreateFunction create);

    const char* className;
    CreateFunction create;
};

// A new default instance of the class registered under `className`, with
// reference count 0, or null for a name that was never registered.
Object* CreateObject(const char* className);
inline Object* CreateObject(const std::string& className)
{
    return CreateObject(className.c_str());
}

} // namespace Core
