#include "ParticleTestSupport.h"
#include "WorldTestSupport.h"

#include "engine/Engine_ParticleSystem.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_ParticleSystem.h"
#include "framework/Velkor_Viewport.h"

#include <gtest/gtest.h>

namespace
{

using Vec = Math::Vector2D;

class ParticleSystemDisplayTest : public WorldTest::WorldDisplayTest
{
protected:
    void SetUp() override
    {
        WorldTest::WorldDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        layer = &AddLayer();
        Tick();
    }

    Velkor::Layer* layer = nullptr;
};

TEST_F(ParticleSystemDisplayTest, IsInViewportTestsTheBoundingBoxAgainstTheCamerasView)
{
    // The level content's arrangement: 1024 x 768 of the play plane in view.
    Velkor::Layer& cameraLayer = AddLayer(927.058f);
    Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera(45.0f));
    cameraLayer.AddGameObject(camera.Get());
    Core::RefPtr<Velkor::Viewport> viewport(new Velkor::Viewport(0, 0, 1024, 768));
    viewport->SetCamera(camera.Get());
    ParticleTest::FreshRecord record;
    record.count = 4;
    record.boundingSize = 100.0f;
    Core::RefPtr<Velkor::ParticleSystem> system = ParticleTest::LoadFresh(record);
    layer->AddGameObject(system.Get());
    Tick();
    // A box of 100 about the position: half of it past the right edge at
    // x = 550 still counts.
    const std::pair<Vec, bool> cases[] = {{Vec(0, 0), true},
                                          {Vec(550, 0), true},
                                          {Vec(-550, 400), true},
                                          {Vec(620, 0), false},
                                          {Vec(0, -450), false}};
    for (const auto& [position, inside] : cases)
    {
        system->SetPosition(position);
        Tick();
        EXPECT_EQ(system->IsInViewport(viewport.Get()), inside) << position.x << ", " << position.y;
    }
    EXPECT_FALSE(system->IsInViewport(nullptr));
    Core::RefPtr<Velkor::Viewport> blind(new Velkor::Viewport(0, 0, 1024, 768));
    EXPECT_FALSE(system->IsInViewport(blind.Get()));
}

TEST_F(ParticleSystemDisplayTest, AnEmitOncePoolLeavesTheLayerWhenDone)
{
    Core::RefPtr<Velkor::PointEmitter> emitter(new Velkor::PointEmitter({0, 0}, 0.0f, 360.0f));
    ParticleTest::FreshRecord record;
    record.count = 5;
    record.emitter = emitter.Get();
    Core::RefPtr<Velkor::ParticleSystem> system = ParticleTest::LoadFresh(record);
    system->SetEmissionRate(600.0f, 600.0f);
    system->SetParticleLifeTime(0.05f, 0.05f);
    system->SetParticleSpeed(100.0f, 100.0f);
    system->SetDestroyIfNotRecycling(true);
    layer->AddGameObject(system.Get());
    Tick(10);
    EXPECT_TRUE(system->IsDestroyed() || system->IsBeingDestroyed());
    EXPECT_EQ(system->GetEmittedCount(), 5u);
    EXPECT_EQ(system->GetDeadCount(), 5u);
}

} // namespace
