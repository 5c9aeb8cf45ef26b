#include "framework/Velkor_Level.h"

#include "audio/Sound_Engine.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Viewport.h"

#include <algorithm>

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

void Level::OnStart() {}

void Level::OnEnd() {}

void Level::Update(float) {}

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
}

} // namespace Velkor
