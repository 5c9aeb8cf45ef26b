#pragma once

#include "core/Core_Object.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <string>

namespace Velkor
{

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
    void SetClearColor(float red, float green, float blue, float alpha) { clearColor_.Set(red, green, blue, alpha); }
    const Math::Vector4& GetClearColor() const { return clearColor_; }

    // The Update hook, then the layers' walks.
    void FrameUpdate(float dt);
    void RunExtraUpdate1(float dt);
    void RunExtraUpdate2(float dt);
    void UpdateObjectTransformations();
    // Tells the game's scene graph how many viewports the level has, then
    // draws through each viewport in turn.
    void Render(float dt);
    // Every object's end hook, layer by layer.
    void EndObjects();
    // Tears the level down once: later calls do nothing.
    void Clear();
    bool IsCleared() const { return cleared_; }

private:
    Math::Vector4 clearColor_{0.0f, 0.0f, 0.0f, 1.0f};
    std::string name_;
    bool cleared_ = false;
    bool clearBackBuffer_ = false;
};

} // namespace Velkor
