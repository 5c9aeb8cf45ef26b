#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "framework/Velkor_ScriptAttachment.h"
#include "math/Math_Vector2D.h"

#include <string>
#include <vector>

namespace Velkor
{

// Decides where a new particle starts and which way it goes, in the particle
// system's local frame. The particle system holds one by counted reference,
// calls Update once per frame and GetPositionAndDirection once for every
// particle it emits or resets, and scales the direction by the particle's
// speed.
//
// This base answers through its script and carries the script attachment
// of a game object: the objects its script keeps as globals, the script
// file and the flags. With no script attached both hooks do nothing.
class ParticleEmitter : public Core::Object
{
    CORE_DECLARE_OBJECT(ParticleEmitter)

public:
    static constexpr const char* ScriptTypeName = "ParticleEmitter";

    ParticleEmitter();
    // The source's script file and flags; the managed lists start empty, so
    // a clone never shares the source's managed objects.
    ParticleEmitter(const ParticleEmitter& other);
    ~ParticleEmitter() override;

    // The base record (script-loaded flag, script file, cloned-script flag,
    // script-enabled flag; with a running script the managed objects (see
    // WriteManagedRecords) and the "Save" hook), then the shape's fields. A
    // record with a script part loads a new script with its "Constructor",
    // gives it the managed objects read in place of what that made and runs
    // "Load". A read that fails anywhere leaves the emitter's fields, flags,
    // script and managed objects as they were, and no script it made.
    void Write(Core::File& file) const final;
    void Read(Core::File& file) final;

    // Fills `position` and `direction`; leaves them as they were when there
    // is no answer.
    virtual void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction);
    virtual void Update(float dt);

    const std::string& GetScriptFile() const { return script_.GetFile(); }
    void SetScriptFile(const std::string& file) { script_.SetFile(file); }
    bool IsScriptLoaded() const { return script_.IsLoaded(); }
    bool IsScriptEnabled() const { return script_.IsEnabled(); }
    bool HasClonedScript() const { return script_.IsCloned(); }
    LuaScript* GetScript() override { return script_.GetScript(); }
    ScriptAttachment& GetScriptAttachment() { return script_; }
    // Loads the emitter's script with `self` the emitter and runs its
    // "Constructor".
    void RunScript();
    // A clone with the script copy: a script of its own loaded from the
    // source's chunk with the clone as "self" (the source only hands over
    // its chunk), clones of the source's managed objects as its globals,
    // and "OnClone" told of the source. The caller takes the clone.
    ParticleEmitter* CloneWithScript();
    // Kept alive with the emitter, known to its script by `name`. The
    // emitter itself, or anything holding it (an emitter or game object
    // managing it, a particle system it drives), is refused: the emitter's
    // record holds its managed objects' records, and the two would keep
    // each other alive. So is a name that ScriptAttachment::
    // IsManagedObjectName does not take.
    void AddManagedObject(Core::Object* object, const std::string& name);
    const std::vector<Core::RefPtr<Core::Object>>& GetManagedObjects() const { return managedObjects_; }
    const std::vector<std::string>& GetManagedObjectNames() const { return managedObjectNames_; }
    // For a loader that gives up what it read: the managed game objects
    // drop their links to the other objects of the read.
    void ForgetManagedLinks();

protected:
    // The shape's fields after the base record; ReadFields applies nothing
    // unless all of them read (false then).
    virtual void WriteFields(Core::File& file) const;
    virtual bool ReadFields(Core::File& file);

private:
    // The script settings as a record carries them, and what a read that
    // fails puts back.
    struct ScriptRecord
    {
        bool loaded = false;
        std::string file;
        bool cloned = false;
        bool enabled = false;
    };
    void ApplyScriptRecord(const ScriptRecord& record);
    // Runs the script part of a record that carries one; false (the file
    // failed) when it does not read.
    bool ReadScriptPart(Core::File& file);
    // Whether `object` is this emitter or reaches it through managed
    // objects and particle systems' emitters.
    bool IsManagedBy(const Core::Object* object) const;

    // The hooks run with a loaded script and the loaded flag.
    bool ScriptRuns() const { return script_.IsLoaded() && script_.IsRunning(); }

    std::vector<Core::RefPtr<Core::Object>> managedObjects_;
    std::vector<std::string> managedObjectNames_;
    ScriptAttachment script_;
};

// A fixed point; directions at angles drawn between minAngle and maxAngle
// (degrees).
class PointEmitter : public ParticleEmitter
{
    CORE_DECLARE_OBJECT(PointEmitter)

public:
    static constexpr const char* ScriptTypeName = "PointEmitter";

    PointEmitter() = default;
    PointEmitter(const Math::Vector2D& position, float minAngle, float maxAngle);

    void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;

    float minAngle = 0.0f;
    float maxAngle = 360.0f;
    Math::Vector2D position;

protected:
    void WriteFields(Core::File& file) const override;
    bool ReadFields(Core::File& file) override;
};

// Points of the segment from startPoint to endPoint; the direction is the
// segment's left normal, (-dy, dx) normalised.
class LineEmitter : public ParticleEmitter
{
    CORE_DECLARE_OBJECT(LineEmitter)

public:
    static constexpr const char* ScriptTypeName = "LineEmitter";

    LineEmitter() = default;
    LineEmitter(const Math::Vector2D& start, const Math::Vector2D& end);

    void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;

    Math::Vector2D startPoint;
    Math::Vector2D endPoint;

protected:
    void WriteFields(Core::File& file) const override;
    bool ReadFields(Core::File& file) override;
};

// Centre and radius, shared by the circle and the disk (and their records).
class RoundEmitter : public ParticleEmitter
{
public:
    Math::Vector2D center;
    float radius = 100.0f;

protected:
    void WriteFields(Core::File& file) const override;
    bool ReadFields(Core::File& file) override;

    RoundEmitter() = default;
    RoundEmitter(const Math::Vector2D& centre, float radiusValue) : center(centre), radius(radiusValue) {}
};

// Points of the circle's outline, each going straight out.
class CircleEmitter : public RoundEmitter
{
    CORE_DECLARE_OBJECT(CircleEmitter)

public:
    static constexpr const char* ScriptTypeName = "CircleEmitter";

    CircleEmitter() = default;
    CircleEmitter(const Math::Vector2D& centre, float radiusValue) : RoundEmitter(centre, radiusValue) {}

    void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;
};

// Points inside the circle, the distance drawn uniformly (so they crowd
// towards the centre), each going straight out.
class DiskEmitter : public RoundEmitter
{
    CORE_DECLARE_OBJECT(DiskEmitter)

public:
    static constexpr const char* ScriptTypeName = "DiskEmitter";

    DiskEmitter() = default;
    DiskEmitter(const Math::Vector2D& centre, float radiusValue) : RoundEmitter(centre, radiusValue) {}

    void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;
};

// Four corners, shared by both rectangles (and their records). Side s runs
// from corner s to corner s + 1 (the last back to the first); its normal is
// (0, -1), (1, 0), (0, 1), (-1, 0) in side order, pointing out of a
// rectangle of positive width and height.
class QuadEmitter : public ParticleEmitter
{
public:
    // (x, y), (x + width, y), (x + width, y + height), (x, y + height).
    void SetRectangle(float x, float y, float width, float height);
    static Math::Vector2D SideNormal(std::int32_t side);

    Math::Vector2D corners[4];

protected:
    void WriteFields(Core::File& file) const override;
    bool ReadFields(Core::File& file) override;

    QuadEmitter() { SetRectangle(0.0f, 0.0f, 100.0f, 100.0f); }
    QuadEmitter(float x, float y, float width, float height) { SetRectangle(x, y, width, height); }

    // RandomIntUpTo(3): the end sides 0 and 3 come up half as often as 1
    // and 2.
    static std::int32_t DrawSide();
};

// Points of the rectangle's outline, going out through their side.
class RectangleEmitter : public QuadEmitter
{
    CORE_DECLARE_OBJECT(RectangleEmitter)

public:
    static constexpr const char* ScriptTypeName = "RectangleEmitter";

    RectangleEmitter() = default;
    RectangleEmitter(float x, float y, float width, float height) : QuadEmitter(x, y, width, height) {}

    void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;
};

// Points inside the rectangle, going out through a side drawn on its own.
class FilledRectangleEmitter : public QuadEmitter
{
    CORE_DECLARE_OBJECT(FilledRectangleEmitter)

public:
    static constexpr const char* ScriptTypeName = "FilledRectangleEmitter";

    FilledRectangleEmitter() = default;
    FilledRectangleEmitter(float x, float y, float width, float height) : QuadEmitter(x, y, width, height) {}

    void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;
};

} // namespace Velkor
