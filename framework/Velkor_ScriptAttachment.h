#pragma once

#include "core/Core_File.h"
#include "core/Core_RefPtr.h"

#include <string>
#include <utility>
#include <vector>

class LuaScript;
struct lua_State;

namespace Core
{
class Object;
}

namespace Velkor
{

// The script a game object, level or particle emitter may carry: its own
// LuaScript (owned), the file it comes from below "\Resources\Scripts\", and
// the flags that say whether it is enabled, loaded and a clone's copy.
// Scripts exist only while a host has set a script state; without one
// nothing is ever created and every call here does nothing.
class ScriptAttachment
{
public:
    static constexpr const char* Folder = "\\Resources\\Scripts\\";

    ScriptAttachment() = default;
    ScriptAttachment(const ScriptAttachment&) = delete;
    ScriptAttachment& operator=(const ScriptAttachment&) = delete;
    ~ScriptAttachment();

    LuaScript* GetScript() const { return script_; }
    // True when there is a script and it reports itself loaded.
    bool IsRunning() const;

    const std::string& GetFile() const { return file_; }
    void SetFile(const std::string& file) { file_ = file; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool IsLoaded() const { return loaded_; }
    void SetLoaded(bool loaded) { loaded_ = loaded; }
    bool IsCloned() const { return cloned_; }
    void SetCloned(bool cloned) { cloned_ = cloned; }
    const LuaScript* GetSource() const { return source_; }
    void ClearSource() { source_ = nullptr; }

    // The script file's path: the executable's directory, Folder and the
    // file.
    std::string GetPath() const;

    // Loads the script for `self`: a script is made when there is none, an
    // already compiled script of the same path becomes the source, `self`
    // becomes the script's global "self", the chunk is loaded from the
    // source or compiled from the file, the loaded flag is set and, unless
    // skipped, "Constructor" runs.
    void Load(Core::Object& self, bool skipConstructor);

    // The clone's side of a copy: the file and the loaded and enabled flags
    // are the source's, the source's script becomes the chunk to load, and
    // there is no script yet.
    void CopySettings(const ScriptAttachment& source);
    // Makes the clone's own (not yet loaded) script; false without a script
    // state.
    bool CreateScript();
    // Loads the chunk kept by the source script into this one.
    void LoadFromSource();

    // Calls the script function `name` protected, with no result. The
    // conditions on the flags are the owner's; these only need a running
    // script and a function of that name. Errors go to the script error
    // report.
    void Call(const char* name) const;
    void Call(const char* name, float value) const;
    void Call(const char* name, Core::Object* argument) const;

    // Makes `object` (pushed as itself) the global `name` of the script.
    void SetGlobal(const char* name, Core::Object* object) const;
    // Sets the global `name` of the script to nil.
    void ClearGlobal(const char* name) const;
    // Sets each of `names` to nil (the names an owner gave its managed objects).
    void ClearGlobals(const std::vector<std::string>& names) const;

    // The script method "ObjectFunction" on this script: arguments from
    // `caller` (name, result count, values), the results copied back.
    int ObjectFunction(lua_State* caller) const;

    // Destroys the script; the flags and the file stay.
    void Release();
    // Exchanges the scripts (and the chunks they load from) of the two,
    // leaving the file and the flags: a read builds a new script beside the
    // one it keeps should the record fail.
    void SwapScript(ScriptAttachment& other)
    {
        std::swap(script_, other.script_);
        std::swap(source_, other.source_);
    }

    // --- The script part of a record ---------------------------------------------
    // A record's script part (the managed objects' records and the "Save" /
    // "Load" hooks; the network hooks' values) is there when the record's
    // enabled and loaded flags are set and its file is named. A writer puts
    // it there only with a running script to write it, and writes the loaded
    // flag as cleared when it cannot, so the reader never looks for a part
    // that is not there.
    static bool RecordHasPart(bool enabled, bool loaded, const std::string& file)
    {
        return enabled && loaded && !file.empty();
    }
    bool WritesRecordPart() const { return RecordHasPart(enabled_, loaded_, file_) && IsRunning(); }
    // The loaded flag as a record carries it.
    bool RecordedLoaded() const
    {
        return loaded_ && (IsRunning() || !RecordHasPart(enabled_, loaded_, file_));
    }
    // Whether a script file named by a record (a saved game, a peer's
    // message) stays below the scripts folder: a relative path without ".."
    // parts and without a drive. Readers refuse a record naming any other.
    static bool IsFileNameInFolder(const std::string& file);
    // Whether `name` may name a managed object, which becomes a global of
    // the owner's script: a Lua name (not a keyword) that does not take the
    // place of "self" or of a hook the owner calls, and is not among
    // `taken`, the names already given (a repeat would hide the first
    // object, and a save would bring back only one of the two). Owners
    // refuse others from scripts and from records alike, so whatever a
    // script manages saves and loads.
    static bool IsManagedObjectName(const std::string& name, const std::vector<std::string>& taken);

private:
    // Runs the function on top of the script's stack with `arguments`
    // values above it; false after a reported error.
    bool CallTop(int arguments, int results) const;
    // Pushes the function `name` of the script; false (nothing pushed) when
    // it has none.
    bool PushFunction(const char* name) const;

    LuaScript* script_ = nullptr;
    const LuaScript* source_ = nullptr;
    std::string file_;
    bool enabled_ = false;
    bool loaded_ = false;
    bool cloned_ = false;
};

// Counts the script parts being read inside one another (a managed
// object's record holds the script part of its own script): a damaged
// record cannot nest them deeper than MaxDepth.
class ScriptPartNesting
{
public:
    static constexpr int MaxDepth = 16;

    ScriptPartNesting() { ++depth_; }
    ~ScriptPartNesting() { --depth_; }
    ScriptPartNesting(const ScriptPartNesting&) = delete;
    ScriptPartNesting& operator=(const ScriptPartNesting&) = delete;
    // Fails the file when this part lies too deep.
    bool Refuses(Core::File& file) const
    {
        if (depth_ <= MaxDepth)
        {
            return false;
        }
        file.SetError(Core::FileError::BadData);
        return true;
    }

private:
    static inline int depth_ = 0;
};

// The managed objects in a record's script part: their number, then for
// each (a null entry has none) its script name and the object through the
// archive's object record. The archive writes an object's own record once
// however many holders name it (a layer may hold a managed object too), and
// the reader gets back the objects saved, whichever made them: the
// "Constructor" or the script later on.
template <class T>
void WriteManagedRecords(Core::File& file, const std::vector<Core::RefPtr<T>>& managed,
                         const std::vector<std::string>& names)
{
    std::uint32_t count = 0;
    for (const Core::RefPtr<T>& object : managed)
    {
        count += object ? 1 : 0;
    }
    file << count;
    for (std::size_t i = 0; i < managed.size(); ++i)
    {
        if (managed[i])
        {
            file << (i < names.size() ? names[i] : std::string());
            file.WriteObject(managed[i].Get());
        }
    }
}

// Reads them into `objects` and `names`, which the owner then takes in place
// of what its "Constructor" made. False (the file failed) for a part that
// runs short or names a missing object or one of another class.
template <class T>
bool ReadManagedRecords(Core::File& file, std::vector<Core::RefPtr<T>>& objects,
                        std::vector<std::string>& names)
{
    std::uint32_t count = 0;
    // An entry takes at least its name's length and a presence byte.
    if (!file.ReadExact(&count, sizeof count) || !file.Require(std::uint64_t{count} * 5))
    {
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::string name;
        Core::RefPtr<T> object;
        file >> name;
        Core::ReadRefPtr(file, object);
        if (!file.Failed() && !object)
        {
            file.SetError(Core::FileError::BadData);
        }
        if (file.Failed())
        {
            return false;
        }
        objects.push_back(std::move(object));
        names.push_back(std::move(name));
    }
    return true;
}

// The script method "ObjectFunction" on the globals of `target`: the
// function named by argument 1 of `caller` gets its arguments from 3 on and
// is asked for argument 2's number of results (0 when absent), which are
// copied back onto `caller`. Returns the number copied back; 0 when there
// is no such function or the call fails (reported as a script error).
int CallScriptFunction(lua_State* target, lua_State* caller);

// Calls the function on top of `thread` protected; a failure goes to the
// script error report and leaves the arguments and the function popped.
bool CallProtected(lua_State* thread, int arguments, int results);

} // namespace Velkor
