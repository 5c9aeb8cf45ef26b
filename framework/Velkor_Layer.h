#pragma once

#include "collision/Collision_Id.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Level.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <vector>

namespace Engine
{
class TransformationGroup;
}

namespace Velkor
{

class Circle;
class Line;
class ZibPlayer;

// The game objects of one depth plane of a level. The layer owns its objects
// (counted), keeps them by id (every walk runs in ascending id order) and by
// name (each name's list in insertion order), hangs their nodes below its own
// node, and owns one collision layer of the collision world.
//
// Additions and removals are queued and take effect at the layer's next
// per-frame walk (FrameUpdate); the name index follows at once.
class Layer : public Core::Object
{
    CORE_DECLARE_OBJECT(Layer)

public:
    static constexpr const char* ScriptTypeName = "Layer";

    using ObjectList = std::vector<Core::RefPtr<GameObject>>;
    using NameIndex = std::map<std::string, std::list<Core::RefPtr<GameObject>>>;

    // Without a collision layer of its own (collision layer 0), z 0.
    Layer();
    // With a new collision layer of the game's collision world.
    explicit Layer(float z);
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    // Clear.
    ~Layer() override;

    // Per-frame hook inside FrameUpdate; empty here.
    virtual void Update(float dt);
    // Detaches every object and frees the layer's static shapes, once.
    virtual void Clear();

    void SetName(const std::string& name) { name_ = name; }
    const std::string& GetName() const { return name_; }
    float GetZOrder() const { return z_; }
    void SetZOrder(float z);
    float GetScaleX() const { return scaleX_; }
    float GetScaleY() const { return scaleY_; }
    void SetScale(float x, float y);
    float GetRotation() const { return rotation_; }
    void SetRotation(float degrees);
    std::uint32_t GetIndex() const { return index_; }
    void SetIndex(std::uint32_t index) { index_ = index; }
    std::uint8_t GetCollisionLayerIndex() const { return collisionLayer_; }
    const Core::RefPtr<Engine::TransformationGroup>& GetNode() const { return node_; }
    // Node transformation := T(0, 0, z) Rz(rotation) S(scale x, scale y, 1).
    void RebuildTransform();
    bool IsCleared() const { return cleared_; }
    // Whether a level holds the layer.
    bool IsInLevel() const { return inLevel_; }

    // Name; z, scale, rotation; index; cleared flag and collision layer
    // index; the name index (every key, empty lists too, with its objects);
    // the id map in ascending id; both queues; the display flags, colours
    // and the collision grid's origin, size and cell. Read takes the whole
    // record or nothing: a count beyond the bytes left, a slot that holds
    // no game object, an id-map key that is not its object's id or a layer
    // saved as cleared fails the archive. The collision grid and the
    // display objects are not made again (the collision world keeps its
    // own record).
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;
    // Every object the layer holds: the id map and both queues.
    void ForEachHeldObject(const std::function<void(GameObject&)>& visit) const;

    // --- Objects ----------------------------------------------------------------
    // Queues the object for the next walk. Refused (false) for null, an
    // object in a layer, a destroyed one, or a networked one the session
    // layer does not take.
    bool AddGameObject(GameObject* object, bool networked = false, ZibPlayer* owner = nullptr);
    // On the host of a network game: a copy of the session layer's template
    // of that class name, added as a networked object; else null.
    GameObject* AddNetworkGameObject(const std::string& className, ZibPlayer* owner);
    // Queues the object's removal. Refused (false) for null, an object of
    // another layer, a destroyed one. In a network game a networked one is
    // removed only by the host (which tells the clients); a client's call
    // asks the host and answers false.
    bool RemoveGameObject(GameObject* object);
    void QueueAddGameObject(GameObject* object);
    void QueueRemoveGameObject(GameObject* object);
    // Moves the object from the old name's list to the end of the new one's.
    void RenameGameObject(GameObject* object, const std::string& oldName, const std::string& newName);
    void GetGameObjects(ObjectList& objects) const;
    void GetGameObjectsByName(const std::string& name, ObjectList& objects) const;
    std::size_t GetGameObjectsCount() const { return objects_.size(); }
    const NameIndex& GetNameIndex() const { return nameIndex_; }
    // The objects of that name whose class is T or derives from it.
    template <class T>
    void FindAllObjects(const std::string& name, std::vector<Core::RefPtr<T>>& objects) const
    {
        objects.clear();
        auto entry = nameIndex_.find(name);
        if (entry == nameIndex_.end())
        {
            return;
        }
        for (const Core::RefPtr<GameObject>& object : entry->second)
        {
            if (T* typed = dynamic_cast<T*>(object.Get()))
            {
                objects.emplace_back(typed);
            }
        }
    }

    // --- Walks (called by the level) --------------------------------------------
    // Queued additions (started), queued removals (ended and detached), the
    // Update hook, then every object's UpdateEngineSide. The queues are read
    // again on every step, so what a step queues is applied in the same walk.
    void FrameUpdate(float dt);
    // ExtraUpdate1 / ExtraUpdate2 of every object but network-client ones.
    void RunExtraUpdate1(float dt);
    void RunExtraUpdate2(float dt);
    void UpdateObjectTransformations();
    void EndObjects();

    // --- Collision --------------------------------------------------------------
    // The grid of the layer's collision layer (the collision world raises a
    // cell size below 50 to 50); the layer keeps the values as given.
    void SetCollisionProperties(const Math::Vector2D& origin, std::int32_t width, std::int32_t height,
                                std::int32_t cellSize);
    const Math::Vector2D& GetCollisionOrigin() const { return collisionOrigin_; }
    std::int32_t GetCollisionWidth() const { return collisionWidth_; }
    std::int32_t GetCollisionHeight() const { return collisionHeight_; }
    std::int32_t GetPartitionCellSize() const { return cellSize_; }
    Collision2D::CollisionId AddStaticLineSegment(const Math::Vector2D& a, const Math::Vector2D& b,
                                                  std::uint8_t z, std::uint32_t userId);
    void AddStaticCircle(const Math::Vector2D& center, float radius, std::uint8_t z, std::uint32_t userId);
    // Adds the segments, then the circles, of a collision text file (see
    // Collision2D::StaticCollisionFile) in file order, so they take the
    // collision layer's next slots. All or nothing: a file that cannot be
    // read, does not parse, or holds more shapes than the collision layer
    // has slots left adds nothing; it is reported once per file (naming
    // the file and the record) and the level goes on. `error`, when given,
    // receives the same description.
    bool ReadInformation_StaticCollision(const std::string& path, std::string* error = nullptr);

    // --- Collision-data display -------------------------------------------------
    // True shows every static circle, then every static segment, of the
    // collision layer that has no display object yet, as Circle and Line
    // objects of this layer; false destroys them all. While shown, a display
    // object destroyed by anyone else is made again at the next walk.
    void SetVisibleCollisionData(bool visible);
    bool GetVisibleCollisionData() const { return visibleCollisionData_; }
    // Recolours the display objects too.
    void SetCollisionDataColor(float red, float green, float blue, float alpha);
    const Math::Vector4& GetCollisionDataColor() const { return collisionDataColor_; }
    // Recolours the layer-partition objects (no operation makes any).
    void SetLayerPartitionColor(float red, float green, float blue, float alpha);
    const Math::Vector4& GetLayerPartitionColor() const { return layerPartitionColor_; }
    // Entry i shows static slot i + 1; null for a slot that held nothing.
    const std::vector<Core::RefPtr<Circle>>& GetCollisionDataCircles() const { return collisionCircles_; }
    const std::vector<Core::RefPtr<Line>>& GetCollisionDataLines() const { return collisionLines_; }

private:
    friend class Level;

    // The objects of the id map in ascending id order, held while a walk
    // calls them (a call may remove entries).
    ObjectList Snapshot() const;
    void RemoveFromNameIndex(GameObject* object, const std::string& name);
    // Display objects for the static slots from the first without an entry
    // on; with `replaceGone`, also new ones for entries destroyed since.
    void ShowStaticShapes(bool addNew, bool replaceGone);

    Core::RefPtr<Engine::TransformationGroup> node_;
    ObjectList added_;
    ObjectList removed_;
    std::map<std::uint32_t, Core::RefPtr<GameObject>> objects_;
    NameIndex nameIndex_;
    std::string name_;
    float z_ = 0.0f;
    float scaleX_ = 1.0f;
    float scaleY_ = 1.0f;
    float rotation_ = 0.0f;
    std::uint32_t index_ = 0;
    bool cleared_ = false;
    bool inLevel_ = false;
    std::uint8_t collisionLayer_ = 0;
    Math::Vector2D collisionOrigin_;
    std::int32_t collisionWidth_ = 1;
    std::int32_t collisionHeight_ = 1;
    std::int32_t cellSize_ = 1;
    std::vector<Core::RefPtr<Line>> collisionLines_;
    std::vector<Core::RefPtr<Circle>> collisionCircles_;
    ObjectList partitionObjects_;
    bool visibleCollisionData_ = false;
    Math::Vector4 collisionDataColor_{0.0f, 0.0f, 0.0f, 1.0f};
    Math::Vector4 layerPartitionColor_{0.0f, 0.0f, 0.0f, 1.0f};
};

// The first object of that name whose class is T or derives from it, over the
// current level's layers in index order, each name's list in insertion order;
// null when none (or no level).
template <class T> T* FindObject(const std::string& name)
{
    Game* game = Game::GetInstance();
    Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    if (level == nullptr)
    {
        return nullptr;
    }
    for (const Core::RefPtr<Layer>& layer : level->GetLayers())
    {
        auto entry = layer->GetNameIndex().find(name);
        if (entry == layer->GetNameIndex().end())
        {
            continue;
        }
        for (const Core::RefPtr<GameObject>& object : entry->second)
        {
            if (T* typed = dynamic_cast<T*>(object.Get()))
            {
                return typed;
            }
        }
    }
    return nullptr;
}

} // namespace Velkor
