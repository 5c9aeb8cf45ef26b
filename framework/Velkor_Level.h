#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "framework/Velkor_ScriptAttachment.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{

class GameObject;
class JukeBox;
class Layer;
class Viewport;

// One playable screen of the game. The game class owns the current level,
// starts it with OnStart, runs its per-frame operations at fixed points of
// the frame update (FrameUpdate, RunExtraUpdate1, RunExtraUpdate2,
// UpdateObjectTransformations, Render) and ends it with EndObjects, OnEnd
// and Clear before releasing it. The game's level classes override the
// three hooks; the hooks of a plain level do nothing.
class Level : public Core::Object
{
    CORE_DECLARE_OBJECT(Level)

public:
    static constexpr const char* ScriptTypeName = "Level";

    Level();
    // Clear (which does nothing when it already ran).
    ~Level() override;

    virtual void OnStart();
    virtual void OnEnd();
    virtual void Update(float dt);

    void SetName(const std::string& name) { name_ = name; }
    const std::string& GetName() const { return name_; }
    void SetClearBackBuffer(bool clear) { clearBackBuffer_ = clear; }
    bool GetClearBackBuffer() const { return clearBackBuffer_; }
    void SetClearColor(float red, float green, float blue, float alpha)
    {
        clearColor_.Set(red, green, blue, alpha);
    }
    const Math::Vector4& GetClearColor() const { return clearColor_; }

    // --- Layers and viewports ------------------------------------------------
    // Appends the layer with the next index and hangs its node below the
    // game's scene graph. Refused (false) for null or a layer already in a
    // level.
    bool AddLayer(Layer* layer);
    std::uint32_t GetLayersCount() const { return static_cast<std::uint32_t>(layers_.size()); }
    // Null outside the layers.
    Layer* GetLayer(std::uint32_t index) const;
    // The first in index order.
    Layer* GetLayerByName(const std::string& name) const;
    const std::vector<Core::RefPtr<Layer>>& GetLayers() const { return layers_; }
    // Ignored for null or a viewport already listed.
    void AddViewport(Viewport* viewport);
    void RemoveViewport(Viewport* viewport);
    std::uint32_t GetViewportsCount() const { return static_cast<std::uint32_t>(viewports_.size()); }
    Viewport* GetViewport(std::uint32_t index) const;
    Viewport* GetViewportByName(const std::string& name) const;
    // Every layer's objects in layer order, each layer in ascending id.
    void GetGameObjects(std::vector<Core::RefPtr<GameObject>>& objects) const;
    // Every layer's objects of that name, each layer in insertion order.
    void GetGameObjectsByName(const std::string& name, std::vector<Core::RefPtr<GameObject>>& objects) const;
    // The level's music; the new one is taken before the old one goes.
    void SetJukeBox(JukeBox* jukeBox);
    JukeBox* GetJukeBox() const { return jukeBox_.Get(); }
    // Kept alive until Clear; a level (this one or another, which could
    // manage this one in turn) is refused, and so is a name that
    // ScriptAttachment::IsManagedObjectName does not take.
    void AddManagedObject(Core::Object* object, const std::string& name);
    const std::vector<Core::RefPtr<Core::Object>>& GetManagedObjects() const { return managedObjects_; }

    // --- Script -------------------------------------------------------------------
    LuaScript* GetScript() override { return script_.GetScript(); }
    ScriptAttachment& GetScriptAttachment() { return script_; }
    const std::string& GetScriptFile() const { return script_.GetFile(); }
    void SetScriptFile(const std::string& file) { script_.SetFile(file); }
    // Loads the level's script with `self` the level and runs its
    // "Constructor".
    void RunScript();

    // Layers, viewports, clear colour, name, jukebox, the two flags, the
    // script file (empty when the level has no script), the collided-sprite
    // ids of every sprite (GetGameObjects order), then, with a running
    // script, the managed objects (see WriteManagedRecords) and the
    // script's "Save" hook. Read adds the layers in order; counts beyond the bytes left,
    // slots of the wrong class, a layer listed twice, a level saved as
    // cleared, a script file outside the scripts folder and objects whose
    // links do not hold (see CheckObjectLinks) fail the archive. A script
    // file read runs the script with its "Constructor", gives it the
    // managed objects read in place of what that made and runs "Load"; a
    // part that does not read leaves no script and no managed objects.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;
    // Whether the links among the game objects `file` read hold: each
    // object is held by at most one layer, and its layer field names that
    // layer; mount relations join objects the layers hold, agree on both
    // sides and make no cycle.
    bool CheckObjectLinks(const Core::File& file) const;
    // For a loader that gives the level it read up: the managed game
    // objects drop their links (see GameObject::ForgetLoadedLinks).
    void ForgetManagedLinks();

    // --- Per frame ----------------------------------------------------------
    // The Update hook, the layers' walks, the sound listener to the active
    // listener camera (x, y, its layer's z), then the jukebox.
    void FrameUpdate(float dt);
    void RunExtraUpdate1(float dt);
    void RunExtraUpdate2(float dt);
    void UpdateObjectTransformations();
    // Tells the game's scene graph how many viewports the level has, then
    // draws through each viewport in turn.
    void Render(float dt);
    // Every object's end hook, layer by layer.
    void EndObjects();
    // Tears the level down once (its music stops): later calls do nothing.
    void Clear();
    bool IsCleared() const { return cleared_; }

private:
    // A hook runs with a loaded script.
    void RunScriptHook(const char* name) const;
    void ReadScriptPart(Core::File& file, const std::string& scriptFile);

    std::vector<Core::RefPtr<Core::Object>> managedObjects_;
    ScriptAttachment script_;
    std::vector<std::string> managedObjectNames_;
    std::vector<Core::RefPtr<Layer>> layers_;
    std::vector<Core::RefPtr<Viewport>> viewports_;
    Math::Vector4 clearColor_{0.0f, 0.0f, 0.0f, 1.0f};
    std::string name_;
    Core::RefPtr<JukeBox> jukeBox_;
    bool cleared_ = false;
    bool clearBackBuffer_ = false;
};

} // namespace Velkor
