#pragma once

#include "core/Core_File.h"
#include "core/Core_MemoryFile.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "gui/GUI_Graphics.h"
#include "input/Input_InputSource.h"
#include "input/Input_MouseImp.h"
#include "input/Input_ScriptedInputSource.h"
#include "renderer/Renderer_RecordingRenderer.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace GuiTest
{

using Bytes = std::vector<std::uint8_t>;

template <class Write> Bytes Written(Write&& write)
{
    Core::MemoryFile file;
    write(file);
    return file.GetBuffer();
}

// A 1024 x 768 display without a window: the recording renderer behind a
// scene graph (whose render queue is the process-wide one), the drawing
// context, and the process-wide mouse on a scripted input source.
class GuiTest : public ::testing::Test
{
protected:
    static constexpr int Width = 1024;
    static constexpr int Height = 768;

    void SetUp() override
    {
        setenv("ENGINE_HEADLESS", "1", 1);
        Renderer::DisplayDescription description;
        description.width = Width;
        description.height = Height;
        renderer = Core::RefPtr<Renderer::RecordingRenderer>(new Renderer::RecordingRenderer(description));
        scene = Core::RefPtr<Engine::SceneGraph>(new Engine::SceneGraph(renderer.Get()));
        graphics = std::make_unique<GUI::Graphics>();
        Input::InputSource::SetCurrent(&source);
        mouse = Input::MouseImp::CreateInstance();
        // The scripted source answers for any window.
        mouse->SetWindow(reinterpret_cast<PAL::Window*>(&source));
    }

    void TearDown() override
    {
        Queue().ClearScreenObjects();
        mouse.Reset();
        Input::InputSource::SetCurrent(nullptr);
        graphics.reset();
        scene.Reset();
        renderer.Reset();
    }

    Engine::RenderQueue& Queue() { return scene->GetRenderQueue(); }

    // Moves the mouse to (x, y) in window pixels, y up.
    void MoveMouse(int x, int y)
    {
        source.SetCursor(x, Height - 1 - y);
        mouse->Update();
    }

    Input::ScriptedInputSource source;
    Core::RefPtr<Renderer::RecordingRenderer> renderer;
    Core::RefPtr<Engine::SceneGraph> scene;
    std::unique_ptr<GUI::Graphics> graphics;
    Core::RefPtr<Input::MouseImp> mouse;
};

// A Lua state owned by the test, with every registered table and global.
class LuaState
{
public:
    LuaState() : state_(luaL_newstate())
    {
        luaL_openlibs(state_);
        Script::RegisterAll(state_);
    }
    ~LuaState() { lua_close(state_); }
    LuaState(const LuaState&) = delete;
    LuaState& operator=(const LuaState&) = delete;

    lua_State* Get() const { return state_; }

    // Runs `code`; the error text, or empty. Results stay on the stack.
    std::string Run(const std::string& code, int results = 0) const
    {
        if (luaL_loadstring(state_, code.c_str()) != 0 || lua_pcall(state_, 0, results, 0) != 0)
        {
            std::string error = lua_tostring(state_, -1);
            lua_pop(state_, 1);
            return error;
        }
        return {};
    }

    // The one result of `expression` as text ("error: ..." on failure).
    std::string Value(const std::string& expression) const
    {
        const std::string error = Run("return tostring(" + expression + ")", 1);
        if (!error.empty())
        {
            return "error: " + error;
        }
        std::string value = lua_tostring(state_, -1);
        lua_pop(state_, 1);
        return value;
    }

private:
    lua_State* state_;
};

} // namespace GuiTest
