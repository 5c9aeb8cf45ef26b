#include "DrawableTestSupport.h"

#include "engine/Engine_ParticleSystem.h"

#include <gtest/gtest.h>

#include <vector>

using Core::RefPtr;
using Engine::Particle;
using Engine::ParticleSystem;
using Math::Vector3;

namespace
{

class ParticleSystemTest : public DrawableTest::DrawableFixture
{
protected:
    // Two particles of a 4 x 2 texture under a parent at (10, 20, 5).
    void SetUp() override
    {
        DrawableFixture::SetUp();
        system = RefPtr<ParticleSystem>(
            new ParticleSystem(RefPtr<Renderer::ITexture>(new SceneTest::FakeTexture("spark", 4, 2)), 2));
        Particle& first = system->GetParticles()[0];
        first = Particle{1, 2, 0, 1, 1, 0, 0.5f, 0.25f, 1.0f, 0.0f};
        Particle& second = system->GetParticles()[1];
        second = Particle{-3, -4, 0, 0, 0, 0, 1, 1, 1, 1};
        Place(system, 10.0f, 20.0f, 5.0f);
        scene->MakeCurrentAndUpdate(0.0f);
    }

    const Engine::RenderQueueItem& DrawOne()
    {
        system->Draw();
        const std::vector<Engine::RenderQueueItem>& items = scene->GetRenderQueue().GetBlendedItems();
        EXPECT_EQ(items.size(), 1u);
        return items.back();
    }

    Vector3 Position(std::uint32_t i) const { return system->GetMesh()->GetPositions().at(i); }

    RefPtr<ParticleSystem> system;
};

TEST_F(ParticleSystemTest, ConstructionSizesTheMeshForEveryParticle)
{
    EXPECT_EQ(system->GetParticleCount(), 2u);
    EXPECT_EQ(system->particleWidth, 4.0f);
    EXPECT_EQ(system->particleHeight, 2.0f);
    const Engine::Mesh& mesh = *system->GetMesh();
    EXPECT_EQ(mesh.GetPositions().size(), 12u);
    EXPECT_EQ(mesh.GetIndices().back(), 11u);
    EXPECT_EQ(mesh.GetTexCoords()[8].x, 1.0f);
    EXPECT_EQ(mesh.GetTexCoords()[8].y, 1.0f);
    EXPECT_EQ(mesh.GetColors()[0].w, 1.0f);
    EXPECT_EQ(mesh.GetDrawRange(0).last, 11u);
}

TEST_F(ParticleSystemTest, QuadsAreCentredOnTheParticlesAndWorldModeKeepsOnlyTheParentsDepth)
{
    const Engine::RenderQueueItem& item = DrawOne();
    EXPECT_TRUE(item.particle);
    EXPECT_EQ(item.mesh.Get(), system->GetMesh().Get());
    EXPECT_EQ(item.texture.Get(), system->texture.Get());
    EXPECT_EQ(item.sourceBlendFactor, static_cast<std::uint32_t>(Renderer::BlendSourceAlpha));
    // The parent's x and y are ignored, its z is kept.
    EXPECT_EQ(item.worldMatrix.m[12], 0.0f);
    EXPECT_EQ(item.worldMatrix.m[13], 0.0f);
    EXPECT_EQ(item.worldMatrix.m[14], 5.0f);

    // The camera looks straight down z: the quad is the texture's size.
    const Vector3 expected[6] = {{-1, 1, 0}, {3, 1, 0}, {3, 3, 0}, {3, 3, 0}, {-1, 3, 0}, {-1, 1, 0}};
    for (std::uint32_t i = 0; i < 6; ++i)
    {
        EXPECT_FLOAT_EQ(Position(i).x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(Position(i).y, expected[i].y) << i;
    }
    // A particle of scale 0 collapses to its position; an invisible one keeps
    // its colour on all six vertices.
    for (std::uint32_t i = 6; i < 12; ++i)
    {
        EXPECT_FLOAT_EQ(Position(i).x, -3.0f) << i;
        EXPECT_FLOAT_EQ(Position(i).y, -4.0f) << i;
    }
    for (std::uint32_t i = 0; i < 6; ++i)
    {
        EXPECT_EQ(system->GetMesh()->GetColors()[i].x, 0.5f);
        EXPECT_EQ(system->GetMesh()->GetColors()[i].w, 0.0f);
    }
}

TEST_F(ParticleSystemTest, LocalModeFollowsTheParentAndTheFactorsGoWithTheItem)
{
    system->SetUseLocalCoordinates(true);
    system->sourceBlendFactor = Renderer::BlendOne;
    system->destinationBlendFactor = Renderer::BlendOne;
    const Engine::RenderQueueItem& item = DrawOne();
    EXPECT_EQ(item.worldMatrix.m[12], 10.0f);
    EXPECT_EQ(item.worldMatrix.m[13], 20.0f);
    EXPECT_EQ(item.worldMatrix.m[14], 5.0f);
    EXPECT_EQ(item.sourceBlendFactor, static_cast<std::uint32_t>(Renderer::BlendOne));
    EXPECT_EQ(item.destinationBlendFactor, static_cast<std::uint32_t>(Renderer::BlendOne));
}

TEST_F(ParticleSystemTest, QuadsTurnWithTheViewAndTheirOwnRotation)
{
    // A view turned -90 degrees about z: the camera's rotation is +90.
    renderer->SetViewMatrix(Math::Matrix4::RotationZ(-90.0f));
    system->GetParticles()[0].rotation = 90.0f;
    DrawOne();
    // 180 degrees in all: the first corner (-2, -1) goes to (2, 1).
    EXPECT_NEAR(Position(0).x, 1.0f + 2.0f, 1e-5f);
    EXPECT_NEAR(Position(0).y, 2.0f + 1.0f, 1e-5f);
    EXPECT_NEAR(Position(2).x, 1.0f - 2.0f, 1e-5f);
}

TEST_F(ParticleSystemTest, BoundingSizeMakesASquareUnderTheParent)
{
    system->SetBoundingSize(6.0f);
    Math::BoundingBox box;
    system->GetWorldBoundingVolume(box);
    EXPECT_EQ(box.corners[0].x, 13.0f);
    EXPECT_EQ(box.corners[0].y, 23.0f);
    EXPECT_EQ(box.corners[0].z, 5.0f);
    EXPECT_EQ(box.corners[6].x, 7.0f);
    EXPECT_EQ(box.corners[6].z, 4.0f);

    const RefPtr<ParticleSystem> copy(system->Clone());
    EXPECT_EQ(copy->GetParticleCount(), 2u);
    EXPECT_EQ(copy->GetParticles()[0].red, 0.5f);
    EXPECT_NE(copy->GetMesh().Get(), system->GetMesh().Get());
    EXPECT_EQ(copy->GetMesh()->GetPositions().size(), 12u);
}

} // namespace
