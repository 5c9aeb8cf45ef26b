#pragma once

#include "core/Core_Object.h"

#include <cstdint>
#include <string>
#include <vector>

struct lua_State;

// A script of a game object or level: a compiled Lua 5.1 chunk running in a
// thread of its own inside the one process-wide script state. Each thread
// has a private global table that falls back to the shared globals, so
// what a script defines stays its own while the engine's globals
// ("CreatePoint", the type metatables' users) are shared.
//
// The program creates no script state: until a host sets one with
// SetGlobalState, Create gives null and every object's script stays absent.
//
// Scripts are kept in a process-wide list in creation order until they are
// destroyed. They are used on the main thread only.
class LuaScript : public Core::Object
{
public:
    // The state every script's thread belongs to. Scripts must be destroyed
    // before that state is closed; a script that outlives the state's
    // setting (the state replaced or cleared first) leaves it untouched when
    // it goes.
    static void SetGlobalState(lua_State* state);
    static lua_State* GetGlobalState();

    // A new script in the list, with its thread and private globals ready
    // and nothing loaded; null when there is no script state.
    static LuaScript* Create();
    // The first script of the list whose file name is `fileName`, or null.
    static LuaScript* Find(const std::string& fileName);
    // Marks a script of the list dead, deletes it and drops it from the
    // list; null or a script not in the list: nothing.
    static void Destroy(LuaScript* script);
    static const std::vector<LuaScript*>& GetScripts();
    // Scripts ever constructed in this process.
    static std::int32_t GetConstructedCount();

    // Copies values from one script stack to another, for calls from one
    // object's script into another's. The source range: with `skip` not 0,
    // indexes skip + 2 through the top (nothing when the source holds at most
    // one value); with `skip` 0 and `count` below the number of values, the
    // last `count`; otherwise indexes 1 through `count`. Nil, booleans,
    // numbers, strings and light userdata are copied as they are; tables
    // whose "className" is "Point2D", "Vector2D" or "Color" are rebuilt on
    // the target through its constructors (a field that is no number gives
    // 0); engine userdata are pushed again with the same object and type.
    // Other tables, functions, threads and foreign userdata are passed over.
    // Returns the number of values pushed onto `to`; the source stack is
    // left as it was. A target without room for the whole range gets
    // nothing (0).
    static std::int32_t CopyValues(lua_State* from, lua_State* to, std::uint32_t skip, std::int32_t count);

    ~LuaScript() override;

    // Compiles the file, keeps its compiled chunk and runs it once. A file
    // that does not compile shows "Script Error" with the interpreter's
    // message and posts the quit message; the script then stays not loaded.
    // A runtime error of the first run is reported the same way without
    // quitting. Null: nothing.
    void Load(const char* fileName);
    void Load(const std::string& fileName) { Load(fileName.c_str()); }
    // Compiles the file (the engine's path form is accepted) onto the
    // thread's stack and keeps the compiled chunk; false after the report of
    // a compile error.
    bool Compile(const std::string& fileName);
    // Loads and runs the compiled chunk that `other` keeps, keeping a copy of
    // it. A null script or one that has compiled nothing: nothing.
    void LoadChunkFrom(const LuaScript* other);
    // True unless a chunk has been loaded and started.
    bool IsNotLoaded() const { return loaded_ != 1; }

    lua_State* GetThread() const { return thread_; }
    const std::string& GetFileName() const { return fileName_; }
    const std::vector<char>& GetBytecode() const { return bytecode_; }
    bool IsDead() const { return dead_; }

    // Values kept for the framework, unused by the script itself.
    float userFloats[2] = {0.0f, 0.0f};
    std::uint32_t userValue = 0;
    std::int32_t userIndex = -1;

private:
    explicit LuaScript(lua_State* state);

    // The first run of the chunk on top of the thread's stack.
    void Run();
    // Reports a failed load, posts quit and leaves the thread's stack empty.
    void FailLoad();

    lua_State* state_ = nullptr;
    lua_State* thread_ = nullptr;
    // Registry reference that keeps the thread alive.
    int threadReference_ = 0;
    std::int32_t loaded_ = 0;
    bool dead_ = false;
    std::vector<char> bytecode_;
    std::string fileName_;
};
