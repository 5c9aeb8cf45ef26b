#include "levels/Brillow_Application.h"

#include "game/Brillow_MyGame.h"
#include "levels/Brillow_MyLevelFactory.h"

Core::RefPtr<Engine::Application> CreateBrillowApplication()
{
    Core::RefPtr<Velkor::LevelFactory> factory(new ("Brillow_Application", __LINE__) MyLevelFactory());
    return Core::RefPtr<Engine::Application>(new ("Brillow_Application", __LINE__)
                                                 MyGame(factory, MyGame::GetDisplayRequest(), 0));
}
