#include "framework/Velkor_ParticleEmitter.h"

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_ParticleSystem.h"
#include "framework/Velkor_Random.h"
#include "math/Math_Constants.h"

#include <algorithm>
#include <cmath>

namespace Velkor
{

CORE_DEFINE_OBJECT(ParticleEmitter, "Velkor::ParticleEmitter", ParticleEmitter::ScriptTypeName,
                   "Velkor_ParticleEmitter", __LINE__)
CORE_DEFINE_OBJECT(PointEmitter, "Velkor::PointEmitter", PointEmitter::ScriptTypeName,
                   "Velkor_ParticleEmitter", __LINE__)
CORE_DEFINE_OBJECT(LineEmitter, "Velkor::LineEmitter", LineEmitter::ScriptTypeName, "Velkor_ParticleEmitter",
                   __LINE__)
CORE_DEFINE_OBJECT(CircleEmitter, "Velkor::CircleEmitter", CircleEmitter::ScriptTypeName,
                   "Velkor_ParticleEmitter", __LINE__)
CORE_DEFINE_OBJECT(DiskEmitter, "Velkor::DiskEmitter", DiskEmitter::ScriptTypeName, "Velkor_ParticleEmitter",
                   __LINE__)
CORE_DEFINE_OBJECT(RectangleEmitter, "Velkor::RectangleEmitter", RectangleEmitter::ScriptTypeName,
                   "Velkor_ParticleEmitter", __LINE__)
CORE_DEFINE_OBJECT(FilledRectangleEmitter, "Velkor::FilledRectangleEmitter",
                   FilledRectangleEmitter::ScriptTypeName, "Velkor_ParticleEmitter", __LINE__)

namespace
{

// A full turn as a 32-bit float.
constexpr float FullTurn = 6.2831855f;

Math::Vector2D UnitAt(float radians)
{
    return {std::cos(radians), std::sin(radians)};
}

} // namespace

// --- Base ----------------------------------------------------------------------------

ParticleEmitter::ParticleEmitter() = default;

ParticleEmitter::ParticleEmitter(const ParticleEmitter& other) : Core::Object(other)
{
    script_.CopySettings(other.script_);
}

ParticleEmitter::~ParticleEmitter() = default;

void ParticleEmitter::AddManagedObject(Core::Object* object, const std::string& name)
{
    // A level writes its managed records inside its own: one managed here
    // would be written inside itself without end.
    if (IsManagedBy(object) || dynamic_cast<const Level*>(object) != nullptr ||
        !ScriptAttachment::IsManagedObjectName(name, managedObjectNames_))
    {
        return;
    }
    managedObjects_.emplace_back(object);
    managedObjectNames_.push_back(name);
}

bool ParticleEmitter::IsManagedBy(const Core::Object* object) const
{
    if (object == nullptr)
    {
        return false;
    }
    if (object == this)
    {
        return true;
    }
    // What holds the emitter: another emitter's managed objects, a particle
    // system's emitter, a game object's managed objects (a particle system
    // is one too).
    if (const auto* emitter = dynamic_cast<const ParticleEmitter*>(object))
    {
        return std::any_of(emitter->managedObjects_.begin(), emitter->managedObjects_.end(),
                           [this](const Core::RefPtr<Core::Object>& managed)
                           { return IsManagedBy(managed.Get()); });
    }
    if (const auto* system = dynamic_cast<const ParticleSystem*>(object);
        system != nullptr && IsManagedBy(system->GetEmitter()))
    {
        return true;
    }
    if (const auto* gameObject = dynamic_cast<const GameObject*>(object))
    {
        const std::vector<Core::RefPtr<GameObject>>& managed = gameObject->GetManagedObjects();
        return std::any_of(managed.begin(), managed.end(),
                           [this](const Core::RefPtr<GameObject>& held) { return IsManagedBy(held.Get()); });
    }
    return false;
}

void ParticleEmitter::ForgetManagedLinks()
{
    // The list goes too: a managed particle system may hold this emitter,
    // and the two would keep each other alive.
    GameObject::ForgetLoadedLinks(managedObjects_);
    managedObjects_.clear();
    managedObjectNames_.clear();
}

void ParticleEmitter::ApplyScriptRecord(const ScriptRecord& record)
{
    script_.SetLoaded(record.loaded);
    script_.SetFile(record.file);
    script_.SetCloned(record.cloned);
    script_.SetEnabled(record.enabled);
}

void ParticleEmitter::Write(Core::File& file) const
{
    file << script_.RecordedLoaded() << script_.GetFile() << script_.IsCloned() << script_.IsEnabled();
    if (script_.WritesRecordPart())
    {
        WriteManagedRecords(file, managedObjects_, managedObjectNames_);
        script_.Call("Save");
    }
    WriteFields(file);
}

void ParticleEmitter::Read(Core::File& file)
{
    ScriptRecord record;
    file >> record.loaded >> record.file >> record.cloned >> record.enabled;
    if (file.Failed())
    {
        return;
    }
    if (!ScriptAttachment::IsFileNameInFolder(record.file))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    // The record builds a script and managed objects of its own beside the
    // emitter's, which stay set aside until the whole record has read: a
    // record that fails anywhere leaves the emitter as it was, its script
    // not run again.
    const ScriptRecord before{script_.IsLoaded(), script_.GetFile(), script_.IsCloned(), script_.IsEnabled()};
    ScriptAttachment kept;
    script_.SwapScript(kept);
    std::vector<Core::RefPtr<Core::Object>> keptObjects = std::move(managedObjects_);
    std::vector<std::string> keptNames = std::move(managedObjectNames_);
    managedObjects_.clear();
    managedObjectNames_.clear();
    ApplyScriptRecord(record);
    script_.ClearSource();
    if (ReadScriptPart(file) && ReadFields(file))
    {
        // The emitter's former script goes with `kept`.
        return;
    }
    ApplyScriptRecord(before);
    GameObject::ForgetLoadedLinks(managedObjects_);
    managedObjects_ = std::move(keptObjects);
    managedObjectNames_ = std::move(keptNames);
    script_.Release();
    script_.SwapScript(kept);
}

bool ParticleEmitter::ReadScriptPart(Core::File& file)
{
    if (!ScriptAttachment::RecordHasPart(script_.IsEnabled(), script_.IsLoaded(), script_.GetFile()))
    {
        return true;
    }
    const ScriptPartNesting nesting;
    if (nesting.Refuses(file))
    {
        return false;
    }
    RunScript();
    if (!script_.IsRunning())
    {
        // The part is in the bytes, and only the script can read it.
        file.SetError(Core::FileError::BadData);
        return false;
    }
    std::vector<Core::RefPtr<Core::Object>> objects;
    std::vector<std::string> names;
    if (!ReadManagedRecords(file, objects, names))
    {
        return false;
    }
    // The saved objects take the place of what the "Constructor" made,
    // under the same names; the names it gave go with its objects, as one
    // the save lacks would name an object that nothing keeps.
    script_.ClearGlobals(managedObjectNames_);
    managedObjects_.clear();
    managedObjectNames_.clear();
    for (std::size_t i = 0; i < objects.size(); ++i)
    {
        // An object whose read has not ended holds this record: managing it
        // would close a loop that nothing frees.
        if (file.IsBeingRead(objects[i].Get()))
        {
            file.SetError(Core::FileError::BadData);
            return false;
        }
        AddManagedObject(objects[i].Get(), names[i]);
        if (managedObjects_.size() != i + 1)
        {
            file.SetError(Core::FileError::BadData);
            return false;
        }
        script_.SetGlobal(names[i].c_str(), objects[i].Get());
    }
    script_.Call("Load");
    return true;
}

void ParticleEmitter::WriteFields(Core::File&) const {}

bool ParticleEmitter::ReadFields(Core::File&)
{
    return true;
}

// --- Point ---------------------------------------------------------------------------

PointEmitter::PointEmitter(const Math::Vector2D& at, float minimum, float maximum)
    : minAngle(minimum), maxAngle(maximum), position(at)
{
}

void PointEmitter::WriteFields(Core::File& file) const
{
    file << position << minAngle << maxAngle;
}

bool PointEmitter::ReadFields(Core::File& file)
{
    Math::Vector2D at;
    float minimum = 0.0f;
    float maximum = 0.0f;
    file >> at >> minimum >> maximum;
    if (file.Failed())
    {
        return false;
    }
    position = at;
    minAngle = minimum;
    maxAngle = maximum;
    return true;
}

void PointEmitter::GetPositionAndDirection(float, Math::Vector2D& outPosition, Math::Vector2D& direction)
{
    const float angle = RandomFloat(minAngle, maxAngle);
    outPosition = position;
    direction = UnitAt(angle * Math::DegreesToRadians);
}

// --- Line ----------------------------------------------------------------------------

LineEmitter::LineEmitter(const Math::Vector2D& start, const Math::Vector2D& end)
    : startPoint(start), endPoint(end)
{
}

void LineEmitter::WriteFields(Core::File& file) const
{
    file << startPoint << endPoint;
}

bool LineEmitter::ReadFields(Core::File& file)
{
    Math::Vector2D start;
    Math::Vector2D end;
    file >> start >> end;
    if (file.Failed())
    {
        return false;
    }
    startPoint = start;
    endPoint = end;
    return true;
}

void LineEmitter::GetPositionAndDirection(float, Math::Vector2D& position, Math::Vector2D& direction)
{
    const float t = RandomFloat(0.0f, 1.0f);
    const Math::Vector2D delta = endPoint - startPoint;
    position = startPoint + delta * t;
    // The left normal; a segment of one point has none and gives (0, 0).
    direction = Math::Vector2D(-delta.y, delta.x);
    direction.Normalize();
}

// --- Circle and disk -----------------------------------------------------------------

void RoundEmitter::WriteFields(Core::File& file) const
{
    file << center << radius;
}

bool RoundEmitter::ReadFields(Core::File& file)
{
    Math::Vector2D centre;
    float radiusValue = 0.0f;
    file >> centre >> radiusValue;
    if (file.Failed())
    {
        return false;
    }
    center = centre;
    radius = radiusValue;
    return true;
}

void CircleEmitter::GetPositionAndDirection(float, Math::Vector2D& position, Math::Vector2D& direction)
{
    const float angle = RandomFloat(0.0f, FullTurn);
    direction = UnitAt(angle);
    position = center + direction * radius;
}

void DiskEmitter::GetPositionAndDirection(float, Math::Vector2D& position, Math::Vector2D& direction)
{
    const float distance = RandomFloat(0.0f, radius);
    const float angle = RandomFloat(0.0f, FullTurn);
    direction = UnitAt(angle);
    position = center + direction * distance;
}

// --- Rectangles ----------------------------------------------------------------------

void QuadEmitter::SetRectangle(float x, float y, float width, float height)
{
    corners[0] = {x, y};
    corners[1] = {x + width, y};
    corners[2] = {x + width, y + height};
    corners[3] = {x, y + height};
}

Math::Vector2D QuadEmitter::SideNormal(std::int32_t side)
{
    static const Math::Vector2D normals[4] = {{0.0f, -1.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}};
    return normals[side & 3];
}

std::int32_t QuadEmitter::DrawSide()
{
    return RandomIntUpTo(3);
}

void QuadEmitter::WriteFields(Core::File& file) const
{
    for (const Math::Vector2D& corner : corners)
    {
        file << corner;
    }
}

bool QuadEmitter::ReadFields(Core::File& file)
{
    Math::Vector2D read[4];
    for (Math::Vector2D& corner : read)
    {
        file >> corner;
    }
    if (file.Failed())
    {
        return false;
    }
    for (int i = 0; i < 4; ++i)
    {
        corners[i] = read[i];
    }
    return true;
}

void RectangleEmitter::GetPositionAndDirection(float, Math::Vector2D& position, Math::Vector2D& direction)
{
    const std::int32_t side = DrawSide();
    const float t = RandomFloat(0.0f, 1.0f);
    const Math::Vector2D& from = corners[side];
    const Math::Vector2D& to = corners[(side + 1) & 3];
    position = from + (to - from) * t;
    direction = SideNormal(side);
}

void FilledRectangleEmitter::GetPositionAndDirection(float, Math::Vector2D& position,
                                                     Math::Vector2D& direction)
{
    const std::int32_t side = DrawSide();
    const float x = RandomFloat(corners[0].x, corners[1].x);
    const float y = RandomFloat(corners[0].y, corners[3].y);
    position = {x, y};
    direction = SideNormal(side);
}

} // namespace Velkor
