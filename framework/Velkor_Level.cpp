#include "framework/Velkor_Level.h"

#include "core/Core_File.h"

#include "audio/Sound_Engine.h"
#include "core/Core_String.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_Viewport.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace Velkor
{

// A level is no copy of another: Clone makes a plain object, as the root does.
CORE_DEFINE_OBJECT_BASICS(Level, "Velkor::Level", Level::ScriptTypeName, "Velkor_Level", __LINE__)
static const Core::ClassRegistrar g_levelRegistrar("Velkor::Level", &Level::Create);

Core::Object* Level::Clone() const
{
    return Core::Object::Clone();
}

namespace
{

template <class T> T* ByName(const std::vector<Core::RefPtr<T>>& list, const std::string& name)
{
    auto found = std::find_if(list.begin(), list.end(),
                              [&name](const Core::RefPtr<T>& item) { return item->GetName() == name; });
    return found != list.end() ? found->Get() : nullptr;
}

template <class T> T* ByIndex(const std::vector<Core::RefPtr<T>>& list, std::uint32_t index)
{
    return index < list.size() ? list[index].Get() : nullptr;
}

} // namespace

Level::Level() = default;

Level::~Level()
{
    Clear();
}

void Level::OnStart()
{
    RunScriptHook("OnStart");
}

void Level::OnEnd()
{
    RunScriptHook("OnEnd");
}

void Level::Update(float dt)
{
    if (script_.IsRunning())
    {
        script_.Call("Update", dt);
    }
}

void Level::RunScriptHook(const char* name) const
{
    if (script_.IsRunning())
    {
        script_.Call(name);
    }
}

void Level::RunScript()
{
    script_.Load(*this, false);
}

bool Level::AddLayer(Layer* layer)
{
    // A second add would break index = position and hang the node twice.
    if (layer == nullptr || layer->inLevel_)
    {
        return false;
    }
    layer->SetIndex(GetLayersCount());
    layer->inLevel_ = true;
    layers_.emplace_back(layer);
    if (Engine::SceneGraph* sceneGraph = GameSceneGraph())
    {
        sceneGraph->AddChild(layer->GetNode());
    }
    return true;
}

Layer* Level::GetLayer(std::uint32_t index) const
{
    return ByIndex(layers_, index);
}

Layer* Level::GetLayerByName(const std::string& name) const
{
    return ByName(layers_, name);
}

void Level::AddViewport(Viewport* viewport)
{
    if (viewport == nullptr || std::find(viewports_.begin(), viewports_.end(), viewport) != viewports_.end())
    {
        return;
    }
    viewports_.emplace_back(viewport);
}

void Level::RemoveViewport(Viewport* viewport)
{
    auto found = std::find(viewports_.begin(), viewports_.end(), viewport);
    if (found != viewports_.end())
    {
        viewports_.erase(found);
    }
}

Viewport* Level::GetViewport(std::uint32_t index) const
{
    return ByIndex(viewports_, index);
}

Viewport* Level::GetViewportByName(const std::string& name) const
{
    return ByName(viewports_, name);
}

void Level::GetGameObjects(std::vector<Core::RefPtr<GameObject>>& objects) const
{
    objects.clear();
    Layer::ObjectList layerObjects;
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->GetGameObjects(layerObjects);
        objects.insert(objects.end(), layerObjects.begin(), layerObjects.end());
    }
}

void Level::GetGameObjectsByName(const std::string& name,
                                 std::vector<Core::RefPtr<GameObject>>& objects) const
{
    objects.clear();
    Layer::ObjectList layerObjects;
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->GetGameObjectsByName(name, layerObjects);
        objects.insert(objects.end(), layerObjects.begin(), layerObjects.end());
    }
}

void Level::SetJukeBox(JukeBox* jukeBox)
{
    jukeBox_ = jukeBox;
}

void Level::AddManagedObject(Core::Object* object, const std::string& name)
{
    // The level's record holds its managed objects' records: not its own,
    // nor another level's, which could hold this one's in turn.
    if (dynamic_cast<const Level*>(object) != nullptr ||
        !ScriptAttachment::IsManagedObjectName(name, managedObjectNames_))
    {
        return;
    }
    managedObjects_.emplace_back(object);
    managedObjectNames_.push_back(name);
}

void Level::FrameUpdate(float dt)
{
    Update(dt);
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->FrameUpdate(dt);
    }
    Camera* listener = Camera::GetActiveListener();
    Game* game = Game::GetInstance();
    if (listener != nullptr && game != nullptr && game->GetSoundEngine() != nullptr)
    {
        // A listener camera in no layer hears from depth 0.
        const Layer* layer = listener->GetLayer();
        game->GetSoundEngine()->SetListenerPosition({listener->GetPositionX(), listener->GetPositionY(),
                                                     layer != nullptr ? layer->GetZOrder() : 0.0f});
    }
    if (jukeBox_)
    {
        jukeBox_->Update(dt);
    }
}

void Level::RunExtraUpdate1(float dt)
{
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->RunExtraUpdate1(dt);
    }
}

void Level::RunExtraUpdate2(float dt)
{
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->RunExtraUpdate2(dt);
    }
}

void Level::UpdateObjectTransformations()
{
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->UpdateObjectTransformations();
    }
}

void Level::Render(float dt)
{
    Engine::SceneGraph* sceneGraph = GameSceneGraph();
    if (sceneGraph == nullptr)
    {
        return;
    }
    // The render queue draws part of its work only for the last viewport:
    // both numbers are set before each viewport draws.
    sceneGraph->SetViewportCount(static_cast<std::int32_t>(viewports_.size()));
    for (std::size_t i = 0; i < viewports_.size(); ++i)
    {
        sceneGraph->SetCurrentViewportIndex(static_cast<std::int32_t>(i));
        viewports_[i]->Render(dt);
    }
}

void Level::EndObjects()
{
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->EndObjects();
    }
}

void Level::Clear()
{
    if (cleared_)
    {
        return;
    }
    cleared_ = true;
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->Clear();
        layer->inLevel_ = false;
    }
    layers_.clear();
    viewports_.clear();
    if (jukeBox_)
    {
        jukeBox_->StopMusic();
        jukeBox_.Reset();
    }
    if (Engine::SceneGraph* sceneGraph = GameSceneGraph())
    {
        sceneGraph->RemoveAllChildren();
    }
    managedObjects_.clear();
    managedObjectNames_.clear();
    script_.Release();
}

// --- Record ------------------------------------------------------------------------------

void Level::Write(Core::File& file) const
{
    Core::WriteRefPtrVector(file, layers_);
    Core::WriteRefPtrVector(file, viewports_);
    file << clearColor_.x << clearColor_.y << clearColor_.z << clearColor_.w << name_;
    file.WriteObject(jukeBox_.Get());
    file << static_cast<std::uint8_t>(cleared_ ? 1 : 0)
         << static_cast<std::uint8_t>(clearBackBuffer_ ? 1 : 0);
    // The file is named only with a running script, which writes its part
    // below: the reader expects the part exactly when a name is there.
    file << (script_.IsRunning() ? script_.GetFile() : std::string());
    std::vector<Core::RefPtr<GameObject>> objects;
    GetGameObjects(objects);
    for (const Core::RefPtr<GameObject>& object : objects)
    {
        if (const auto* sprite = dynamic_cast<const Sprite*>(object.Get()))
        {
            sprite->WriteCollidedSpriteIds(file);
        }
    }
    if (script_.IsRunning())
    {
        WriteManagedRecords(file, managedObjects_, managedObjectNames_);
        script_.Call("Save");
    }
}

void Level::Read(Core::File& file)
{
    std::vector<Core::RefPtr<Layer>> layers;
    std::vector<Core::RefPtr<Viewport>> viewports;
    Core::ReadRefPtrVector(file, layers);
    Core::ReadRefPtrVector(file, viewports);
    Math::Vector4 clearColor;
    std::string name;
    Core::RefPtr<JukeBox> jukeBox;
    bool cleared = false;
    bool clearBackBuffer = false;
    std::string scriptFile;
    file >> clearColor.x >> clearColor.y >> clearColor.z >> clearColor.w >> name;
    Core::ReadRefPtr(file, jukeBox);
    file >> cleared >> clearBackBuffer >> scriptFile;
    if (file.Failed())
    {
        return;
    }
    if (!ScriptAttachment::IsFileNameInFolder(scriptFile))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    std::unordered_set<const Layer*> seen;
    for (const Core::RefPtr<Layer>& layer : layers)
    {
        if (!layer || layer->IsInLevel() || !seen.insert(layer.Get()).second)
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
    }
    for (const Core::RefPtr<Viewport>& viewport : viewports)
    {
        if (!viewport)
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
    }
    // A cleared level has let its layers go; no saved game holds one.
    if (cleared || !layers_.empty())
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    for (const Core::RefPtr<Layer>& layer : layers)
    {
        AddLayer(layer.Get());
    }
    viewports_ = std::move(viewports);
    clearColor_ = clearColor;
    name_ = std::move(name);
    SetJukeBox(jukeBox.Get());
    clearBackBuffer_ = clearBackBuffer;
    if (!CheckObjectLinks(file))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    // Contacts name their other sprite by id; they are resolved in this
    // level, the one being read.
    std::vector<Core::RefPtr<GameObject>> objects;
    GetGameObjects(objects);
    for (const Core::RefPtr<GameObject>& object : objects)
    {
        if (auto* sprite = dynamic_cast<Sprite*>(object.Get()))
        {
            sprite->ReadCollidedSpriteIds(file, *this);
        }
    }
    if (!file.Failed() && !scriptFile.empty())
    {
        ReadScriptPart(file, scriptFile);
    }
}

void Level::ReadScriptPart(Core::File& file, const std::string& scriptFile)
{
    const ScriptPartNesting nesting;
    if (nesting.Refuses(file))
    {
        return;
    }
    script_.SetFile(scriptFile);
    RunScript();
    if (!script_.IsRunning())
    {
        // The part is in the bytes, and only the script can read it: without
        // it, what follows would be read from the wrong place.
        file.SetError(Core::FileError::BadData);
        script_.Release();
        return;
    }
    // The saved objects take the place of what the "Constructor" made,
    // under the same names.
    std::vector<Core::RefPtr<Core::Object>> objects;
    std::vector<std::string> names;
    if (ReadManagedRecords(file, objects, names))
    {
        bool namesFit = true;
        std::vector<std::string> given;
        for (std::size_t i = 0; i < names.size() && namesFit; ++i)
        {
            namesFit = ScriptAttachment::IsManagedObjectName(names[i], given);
            given.push_back(names[i]);
        }
        if (!namesFit || std::any_of(objects.begin(), objects.end(),
                                     [](const Core::RefPtr<Core::Object>& object)
                                     { return dynamic_cast<const Level*>(object.Get()) != nullptr; }))
        {
            file.SetError(Core::FileError::BadData);
        }
        else
        {
            // The names the "Constructor" gave go with its objects: one the
            // save lacks would name an object that nothing keeps.
            script_.ClearGlobals(managedObjectNames_);
            managedObjects_ = std::move(objects);
            managedObjectNames_ = std::move(names);
            for (std::size_t i = 0; i < managedObjects_.size(); ++i)
            {
                script_.SetGlobal(managedObjectNames_[i].c_str(), managedObjects_[i].Get());
            }
            script_.Call("Load");
            return;
        }
    }
    // A part that does not read leaves no script and no managed objects.
    ForgetManagedLinks();
    managedObjects_.clear();
    managedObjectNames_.clear();
    script_.Release();
}

void Level::ForgetManagedLinks()
{
    GameObject::ForgetLoadedLinks(managedObjects_);
}

bool Level::CheckObjectLinks(const Core::File& file) const
{
    std::unordered_map<const GameObject*, const Layer*> holder;
    bool held = true;
    for (const Core::RefPtr<Layer>& layer : layers_)
    {
        layer->ForEachHeldObject(
            [&](GameObject& object)
            {
                auto [entry, added] = holder.emplace(&object, layer.Get());
                held = held && (added || entry->second == layer.Get());
            });
    }
    if (!held)
    {
        return false;
    }
    // The objects read, with the managed objects whose records their
    // owners read (the level's own too).
    std::vector<const GameObject*> objects;
    std::unordered_set<const GameObject*> listed;
    auto list = [&objects, &listed](const GameObject& object)
    {
        if (listed.insert(&object).second)
        {
            objects.push_back(&object);
        }
    };
    auto listWithManaged = [&list](const GameObject& object)
    {
        list(object);
        object.ForEachManagedObject(list);
    };
    file.ForEachReadObject(
        [&listWithManaged](Core::Object& object)
        {
            if (const auto* gameObject = dynamic_cast<const GameObject*>(&object))
            {
                listWithManaged(*gameObject);
            }
        });
    for (const Core::RefPtr<Core::Object>& managed : managedObjects_)
    {
        if (const auto* gameObject = dynamic_cast<const GameObject*>(managed.Get()))
        {
            listWithManaged(*gameObject);
        }
    }
    auto isHeld = [&holder](const GameObject* object) { return holder.count(object) != 0; };
    for (const GameObject* object : objects)
    {
        const auto found = holder.find(object);
        const Layer* layer = found != holder.end() ? found->second : nullptr;
        // A layer's objects name it; a detached one names none (a cleared
        // layer keeps its map). Others are in no layer.
        const bool layerHolds = layer != nullptr ? object->GetLayer() == layer ||
                                                       (object->GetLayer() == nullptr && object->IsDetached())
                                                 : object->GetLayer() == nullptr;
        if (!layerHolds)
        {
            return false;
        }
        if (const GameObject* support = object->GetMountSupport())
        {
            const auto& siblings = support->GetMountedChildren();
            if (!isHeld(support) || !isHeld(object) ||
                std::count(siblings.begin(), siblings.end(), object) != 1)
            {
                return false;
            }
        }
        for (const GameObject* child : object->GetMountedChildren())
        {
            if (child->GetMountSupport() != object)
            {
                return false;
            }
        }
        // No object is its own ancestor.
        std::size_t steps = 0;
        for (const GameObject* up = object->GetMountSupport(); up != nullptr; up = up->GetMountSupport())
        {
            if (up == object || ++steps > objects.size())
            {
                return false;
            }
        }
    }
    return true;
}

} // namespace Velkor
