#include "framework/Velkor_Level.h"

#include "engine/Engine_SceneGraph.h"
#include "framework/Velkor_Game.h"

namespace Velkor
{

// A level is no copy of another: Clone makes a plain object, as the root does.
CORE_DEFINE_OBJECT_BASICS(Level, "Velkor::Level", Level::ScriptTypeName, "Velkor_Level", __LINE__)
static const Core::ClassRegistrar g_levelRegistrar("Velkor::Level", &Level::Create);

Core::Object* Level::Clone() const
{
    return Core::Object::Clone();
}

Level::Level() = default;

Level::~Level()
{
    Clear();
}

void Level::OnStart() {}

void Level::OnEnd() {}

void Level::Update(float) {}

void Level::FrameUpdate(float dt)
{
    Update(dt);
}

void Level::RunExtraUpdate1(float) {}

void Level::RunExtraUpdate2(float) {}

void Level::UpdateObjectTransformations() {}

void Level::Render(float)
{
    Game* game = Game::GetInstance();
    if (game == nullptr || !game->GetSceneGraph())
    {
        return;
    }
    game->GetSceneGraph()->SetViewportCount(0);
}

void Level::EndObjects() {}

void Level::Clear()
{
    if (cleared_)
    {
        return;
    }
    Game* game = Game::GetInstance();
    if (game != nullptr && game->GetSceneGraph())
    {
        game->GetSceneGraph()->RemoveAllChildren();
    }
    cleared_ = true;
}

} // namespace Velkor
