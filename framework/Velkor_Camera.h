#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Camera.h"
#include "framework/Velkor_GameObject.h"

#include <cstdint>

namespace Math
{
class Frustum;
}

namespace Velkor
{

// The game object a viewport sees the scene through: a perspective engine
// camera below the object's node. One camera at a time is the active sound
// listener: the first one made, until another is made the listener or the
// listener is detached.
class Camera : public GameObject
{
    CORE_DECLARE_OBJECT(Camera)

public:
    static constexpr const char* ScriptTypeName = "Camera";
    static constexpr float NearPlane = 0.1f;
    static constexpr float FarPlane = 10000.0f;

    // 45 degrees.
    Camera();
    explicit Camera(float fieldOfView);
    // The source's field of view with an engine camera of its own; the copy
    // does not become the listener.
    Camera(const Camera& other);
    ~Camera() override;

    // Stops being the listener, once.
    void Detach() override;

    // The game object's record, then the detached flag and the field of view.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    // The active listener as an object reference.
    static void SaveActiveListener(Core::File& file);
    // Reads the reference; it must be null or a camera. Answers the camera,
    // which the caller makes the listener once it knows its level holds it.
    static Camera* LoadActiveListener(Core::File& file);
    static void SetActiveListener(Camera* camera);

    void SetFOV(float degrees);
    float GetFOV() const { return fieldOfView_; }
    const Core::RefPtr<Engine::Camera>& GetEngineCamera() const { return engineCamera_; }
    void BuildFrustum(Math::Frustum& frustum, std::int32_t width, std::int32_t height) const;

    static Camera* GetActiveListener();
    void MakeActiveListener();
    bool IsActiveListener() const;

    // One step of free flight from the keyboard, shared by every camera:
    // arrows, Q/A, Z/X move; W/S, arrows, V/C turn; R goes home.
    void UpdateFromKeyboard();

private:
    // Stops being the listener once.
    void Release();

    Core::RefPtr<Engine::Camera> engineCamera_;
    float fieldOfView_;
    bool cameraDetached_ = false;
};

} // namespace Velkor
