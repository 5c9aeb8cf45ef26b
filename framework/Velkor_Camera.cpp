#include "framework/Velkor_Camera.h"

#include "core/Core_File.h"

#include "engine/Engine_Camera.h"
#include "engine/Engine_TransformationGroup.h"
#include "input/Input_KeyCodes.h"
#include "input/Input_KeyboardImp.h"
#include "math/Math_Quaternion.h"

namespace Velkor
{

CORE_DEFINE_OBJECT(Camera, "Velkor::Camera", Camera::ScriptTypeName, "Velkor_Camera", __LINE__)

namespace
{

Camera* g_activeListener = nullptr;

// The free-flight state every camera shares.
struct FreeFlight
{
    Math::Vector3 position;
    Math::Quaternion orientation{1.0f, 0.0f, 0.0f, 0.0f};
};

FreeFlight& GetFreeFlight()
{
    static FreeFlight state;
    return state;
}

constexpr float FlightStep = 4.0f;
constexpr float TurnStep = 4.0f;

void Turn(Math::Quaternion& orientation, Math::Vector3 axis, float degrees)
{
    Math::Quaternion turn;
    Math::Quaternion::FromAxisAngle(turn, axis, degrees);
    orientation *= turn;
    orientation.Normalize();
}

Math::Vector3 Direction(const Math::Matrix4& rotation, const Math::Vector3& point,
                        const Math::Vector3& origin)
{
    Math::Vector3 direction = rotation * point - origin;
    direction.Normalize();
    return direction;
}

} // namespace

Camera::Camera() : Camera(45.0f) {}

Camera::Camera(float fieldOfView)
    : engineCamera_(new ("Velkor_Camera", __LINE__) Engine::Camera(fieldOfView, NearPlane, FarPlane)),
      fieldOfView_(fieldOfView)
{
    GetNode()->AddChild(engineCamera_);
    if (g_activeListener == nullptr)
    {
        g_activeListener = this;
    }
}

Camera::Camera(const Camera& other)
    : GameObject(other), engineCamera_(other.engineCamera_->Clone()), fieldOfView_(other.fieldOfView_),
      cameraDetached_(other.cameraDetached_)
{
    GetNode()->AddChild(engineCamera_);
}

Camera::~Camera()
{
    Camera::Detach();
}

void Camera::Release()
{
    if (g_activeListener == this)
    {
        g_activeListener = nullptr;
    }
    cameraDetached_ = true;
}

void Camera::Detach()
{
    if (cameraDetached_)
    {
        return;
    }
    Release();
    GameObject::Detach();
}

void Camera::SetFOV(float degrees)
{
    fieldOfView_ = degrees;
    engineCamera_->SetFOV(degrees);
}

void Camera::BuildFrustum(Math::Frustum& frustum, std::int32_t width, std::int32_t height) const
{
    engineCamera_->BuildFrustum(frustum, width, height);
}

Camera* Camera::GetActiveListener()
{
    return g_activeListener;
}

void Camera::MakeActiveListener()
{
    g_activeListener = this;
}

bool Camera::IsActiveListener() const
{
    return g_activeListener == this;
}

void Camera::UpdateFromKeyboard()
{
    FreeFlight& flight = GetFreeFlight();
    flight.orientation.Normalize();
    Math::Matrix4 rotation;
    Math::Quaternion::ToMatrix(flight.orientation, rotation);
    const Math::Vector3 origin = rotation * Math::Vector3(0.0f, 0.0f, 0.0f);
    const Math::Vector3 forward = Direction(rotation, Math::Vector3(0.0f, 0.0f, -1.0f), origin);
    const Math::Vector3 right = Direction(rotation, Math::Vector3(1.0f, 0.0f, 0.0f), origin);
    const Math::Vector3 up = Direction(rotation, Math::Vector3(0.0f, 1.0f, 0.0f), origin);

    const Input::KeyboardImp* keyboard = Input::KeyboardImp::GetInstance();
    auto pressed = [keyboard](std::int32_t key) { return keyboard != nullptr && keyboard->IsPressed(key); };
    if (pressed(Input::Key::Up))
    {
        flight.position += forward * FlightStep;
    }
    if (pressed(Input::Key::Down))
    {
        flight.position += forward * -FlightStep;
    }
    if (pressed(Input::Key::OfChar('Q')))
    {
        flight.position += up * FlightStep;
    }
    if (pressed(Input::Key::A))
    {
        flight.position += up * -FlightStep;
    }
    if (pressed(Input::Key::OfChar('Z')))
    {
        flight.position += right * -FlightStep;
    }
    if (pressed(Input::Key::OfChar('X')))
    {
        flight.position += right * FlightStep;
    }
    if (pressed(Input::Key::OfChar('W')))
    {
        Turn(flight.orientation, right, -TurnStep);
    }
    if (pressed(Input::Key::OfChar('S')))
    {
        Turn(flight.orientation, right, TurnStep);
    }
    if (pressed(Input::Key::Right))
    {
        Turn(flight.orientation, up, TurnStep);
    }
    if (pressed(Input::Key::Left))
    {
        Turn(flight.orientation, up, -TurnStep);
    }
    if (pressed(Input::Key::OfChar('V')))
    {
        Turn(flight.orientation, forward, TurnStep);
    }
    if (pressed(Input::Key::OfChar('C')))
    {
        Turn(flight.orientation, forward, -TurnStep);
    }
    if (pressed(Input::Key::OfChar('R')))
    {
        flight.position = Math::Vector3(0.0f, 0.0f, 0.0f);
        Math::Vector3 axis(0.0f, 0.0f, -1.0f);
        Math::Quaternion::FromAxisAngle(flight.orientation, axis, 0.0f);
        flight.orientation.Normalize();
    }
    GetNode()->SetTransformation(
        Math::Matrix4::Translation(flight.position.x, flight.position.y, flight.position.z) * rotation);
}

void Camera::Write(Core::File& file) const
{
    GameObject::Write(file);
    file << static_cast<std::uint8_t>(cameraDetached_ ? 1 : 0) << fieldOfView_;
}

void Camera::Read(Core::File& file)
{
    // A camera made by the read is no listener until the loader says so.
    if (g_activeListener == this)
    {
        g_activeListener = nullptr;
    }
    GameObject::Read(file);
    bool detached = false;
    float fieldOfView = 45.0f;
    file >> detached >> fieldOfView;
    if (file.Failed())
    {
        return;
    }
    cameraDetached_ = detached;
    SetFOV(fieldOfView);
}

void Camera::SaveActiveListener(Core::File& file)
{
    file.WriteObject(g_activeListener);
}

Camera* Camera::LoadActiveListener(Core::File& file)
{
    Core::Object* read = file.ReadObject();
    auto* camera = dynamic_cast<Camera*>(read);
    if (read != nullptr && camera == nullptr)
    {
        file.SetError(Core::FileError::BadData);
    }
    return file.Failed() ? nullptr : camera;
}

void Camera::SetActiveListener(Camera* camera)
{
    g_activeListener = camera;
}

} // namespace Velkor
