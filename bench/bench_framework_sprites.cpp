// A play-like level's frame update without drawing: the framework demo's
// arena (walls and bumpers read from its collision file) with sprites over
// one-animation collision actors moving through the collision world, a few
// of them with rigid bodies bouncing through the contact bridge. Each frame
// runs what the game's frame update runs before it draws: the level's walk
// (the sprites' frame hand-over and updates), the extra passes, physics,
// collision, the contact bridge and the transformations.
//
// The Game opens a window, so these runs need a display (xvfb-run).

#include "bench_framework_sprites.h"

#include "Demo_FrameworkLevel.h"

#include "collision/Collision_CollisionEngine.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_Level.h"
#include "physics/Physics_PhysicsEngine.h"

namespace
{

constexpr float FrameStep = 1.0f / 60.0f;
constexpr double FrameBudgetNanoseconds = 2.0e6;

void FrameUpdateWithoutDrawing(Velkor::Game& game)
{
    Velkor::Level& level = *game.GetCurrentLevel();
    level.FrameUpdate(FrameStep);
    level.RunExtraUpdate1(FrameStep);
    level.RunExtraUpdate2(FrameStep);
    game.GetPhysicsEngine()->Update(FrameStep);
    game.GetCollisionEngine()->Update(FrameStep);
    game.GetPhysicsEngine()->PostCollisionUpdate(FrameStep);
    level.UpdateObjectTransformations();
}

// range(0) sprites, 6 of them with bodies.
void BM_SpriteLevelFrame(benchmark::State& state)
{
    FrameworkDemoSettings settings;
    settings.balls = static_cast<std::uint32_t>(state.range(0));
    settings.bodies = 6;
    settings.showCollisionData = false;
    Core::RefPtr<Velkor::Game> game(new Velkor::Game(new FrameworkDemoFactory(settings),
                                                     Engine::DisplayRequest{64, 48, 60, 0, false, false}, 0));
    // The first tick makes the level; two frames start every object.
    game->RunFrame();
    FrameUpdateWithoutDrawing(*game);
    FrameUpdateWithoutDrawing(*game);
    for (auto _ : state)
    {
        FrameUpdateWithoutDrawing(*game);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    game->Shutdown();
}

BENCHMARK(BM_SpriteLevelFrame)->Arg(80)->Arg(500);

} // namespace

namespace bench
{

void CompareSpriteFrames(RatioReporter& reporter)
{
    reporter.CompareWithTime("play-like level frame update, 80 sprites, vs the 2 ms budget",
                             "BM_SpriteLevelFrame/80", FrameBudgetNanoseconds);
    reporter.CompareWithTime("play-like level frame update, 500 sprites, vs the 2 ms budget",
                             "BM_SpriteLevelFrame/500", FrameBudgetNanoseconds);
}

} // namespace bench
