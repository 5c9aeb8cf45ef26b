#include "engine/Engine_Mesh.h"
#include "renderer/Renderer_RecordingRenderer.h"
#include "renderer/Renderer_StateText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Engine::DrawRange;
using Engine::Mesh;
using Renderer::ToText;

namespace
{

// An attachment that can tell its clones from itself.
class Attachment : public Core::Object
{
public:
    explicit Attachment(int value) : value(value) {}
    Attachment* Clone() const override { return new Attachment(*this); }
    const char* GetClassName() const override { return "Test::Attachment"; }

    int value;
};

Core::RefPtr<Renderer::RecordingRenderer> MakeRenderer()
{
    return Core::RefPtr<Renderer::RecordingRenderer>(new Renderer::RecordingRenderer());
}

// A quad of two triangles with everything but normals.
Core::RefPtr<Mesh> MakeQuad()
{
    Core::RefPtr<Mesh> mesh(new Mesh());
    const float corners[6][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f},
                                 {0.5f, 0.5f},   {-0.5f, 0.5f}, {-0.5f, -0.5f}};
    mesh->ReservePositions(6);
    mesh->ReserveTexCoords(6);
    mesh->ReserveColors(6);
    for (std::uint32_t i = 0; i < 6; ++i)
    {
        mesh->AddPosition(Math::Vector3(corners[i][0], corners[i][1], 0));
        mesh->AddTexCoord(Math::Vector2D(corners[i][0] + 0.5f, corners[i][1] + 0.5f));
        mesh->AddColor(Math::Vector4(1, 1, 1, 1));
        mesh->AddIndex(i);
    }
    mesh->AddDrawRange(DrawRange{0, 5, -1, true});
    return mesh;
}

TEST(Mesh, CopyClonesItsAttachmentsAndSharesItsBuffers)
{
    const Core::RefPtr<Mesh> mesh = MakeQuad();
    const Core::RefPtr<Attachment> attachment(new Attachment(7));
    mesh->AddObject(attachment);
    mesh->AddObject(nullptr);
    mesh->SetPrimitiveType(Renderer::PrimitiveLines);
    mesh->userVector = Math::Vector4(1, 2, 3, 4);

    const Core::RefPtr<Mesh> copy(mesh->Clone());
    ASSERT_EQ(copy->GetObjects().size(), 1u);
    const Core::Object* cloned = copy->GetObjects()[0].Get();
    EXPECT_NE(cloned, attachment.Get());
    EXPECT_STREQ(cloned->GetClassName(), "Test::Attachment");
    EXPECT_EQ(static_cast<const Attachment*>(cloned)->value, 7);
    EXPECT_EQ(attachment->GetReferenceCount(), 2u);

    EXPECT_STREQ(copy->GetClassName(), "Engine::Mesh");
    EXPECT_EQ(copy->GetPositions().size(), 6u);
    EXPECT_NE(copy->GetPositions().data(), mesh->GetPositions().data());
    EXPECT_EQ(copy->GetIndices(), mesh->GetIndices());
    EXPECT_EQ(copy->GetDrawRangeCount(), 1u);
    EXPECT_EQ(copy->GetPrimitiveType(), Renderer::PrimitiveLines);
    EXPECT_EQ(ToText(copy->userVector), "(1, 2, 3, 4)");
    EXPECT_EQ(copy->GetVertexBuffer(), nullptr);
}

TEST(Mesh, ClearEmptiesTheListsAndKeepsThePrimitiveType)
{
    const Core::RefPtr<Mesh> mesh = MakeQuad();
    mesh->AddSecondPosition(Math::Vector3(1, 1, 1));
    mesh->AddObject(Core::RefPtr<Core::Object>(new Attachment(1)));
    mesh->SetPrimitiveType(Renderer::PrimitiveTriangleFan);
    mesh->Clear();
    EXPECT_EQ(mesh->GetDrawRangeCount(), 0u);
    EXPECT_TRUE(mesh->GetPositions().empty());
    EXPECT_TRUE(mesh->GetSecondPositions().empty());
    EXPECT_TRUE(mesh->GetColors().empty());
    EXPECT_TRUE(mesh->GetTexCoords().empty());
    EXPECT_TRUE(mesh->GetIndices().empty());
    EXPECT_TRUE(mesh->GetObjects().empty());
    EXPECT_EQ(mesh->GetPrimitiveType(), Renderer::PrimitiveTriangleFan);
}

TEST(Mesh, SecondPositionsOverrideTheFirst)
{
    const auto renderer = MakeRenderer();
    const Core::RefPtr<Mesh> mesh = MakeQuad();
    mesh->BindArrays(*renderer);
    EXPECT_EQ(renderer->GetArrays().vertices, mesh->GetPositions().data());

    mesh->AddSecondPosition(Math::Vector3(2, 2, 0));
    mesh->BindArrays(*renderer);
    EXPECT_EQ(renderer->GetArrays().vertices, mesh->GetSecondPositions().data());
}

TEST(Mesh, BindDrawUnbindHandTheRendererItsArraysInOrder)
{
    const auto renderer = MakeRenderer();
    const Core::RefPtr<Mesh> mesh = MakeQuad();
    mesh->BindArrays(*renderer);
    mesh->Draw(*renderer, 0);
    mesh->Draw(*renderer, 1);
    mesh->Draw(*renderer, -1);
    mesh->UnbindArrays(*renderer);

    const std::string positions = ToText(mesh->GetPositions().data());
    const std::string indices = ToText(mesh->GetIndices().data());
    const std::string colors = ToText(mesh->GetColors().data());
    const std::string texCoords = ToText(mesh->GetTexCoords().data());
    EXPECT_EQ(renderer->GetCallStrings(),
              (std::vector<std::string>{
                  "SetVertexArray(" + positions + ")", "SetIndexArray32(" + indices + ")",
                  "SetNormalArray(none)", "SetColorArray(" + colors + ")", "SetSecondaryColorArray(none)",
                  "SetTexCoordArray(0, " + texCoords + ")", "SetPrimitiveType(4)", "DrawRange(0, 5)",
                  "SetVertexArray(none)", "SetIndexArray32(none)", "SetNormalArray(none)",
                  "SetColorArray(none)", "SetSecondaryColorArray(none)", "SetTexCoordArray(0, none)"}));
    ASSERT_EQ(renderer->GetDraws().size(), 1u);
    EXPECT_EQ(renderer->GetDraws()[0].count, 6u);
    EXPECT_EQ(renderer->GetDraws()[0].indexArray, mesh->GetIndices().data());
}

TEST(Mesh, EmptyListsLeaveTheVertexAndIndexArraysAlone)
{
    const auto renderer = MakeRenderer();
    float positions[3] = {};
    renderer->SetVertexArray(positions);
    renderer->ClearLog();
    Mesh mesh;
    mesh.BindArrays(*renderer);
    EXPECT_EQ(renderer->CountCalls("SetVertexArray"), 0u);
    EXPECT_EQ(renderer->CountCalls("SetIndexArray32"), 0u);
    EXPECT_EQ(renderer->GetArrays().vertices, positions);
    EXPECT_EQ(renderer->GetArrays().colors, nullptr);
}

TEST(Mesh, RangesAndElementsOutsideTheListsAreNotTouched)
{
    const Core::RefPtr<Mesh> mesh = MakeQuad();
    mesh->SetPosition(6, Math::Vector3(9, 9, 9));
    mesh->SetColor(100, Math::Vector4(0, 0, 0, 0));
    mesh->SetPosition(5, Math::Vector3(1, 2, 3));
    EXPECT_EQ(mesh->GetPositions().size(), 6u);
    EXPECT_EQ(ToText(mesh->GetPositions()[5]), "(1, 2, 3)");

    EXPECT_TRUE(mesh->GetDrawRange(0).enabled);
    EXPECT_FALSE(mesh->GetDrawRange(1).enabled);
    EXPECT_FALSE(mesh->GetDrawRange(-1).enabled);
}

TEST(Mesh, BuffersGoToStreamZeroAndTheIndexSlot)
{
    const auto renderer = MakeRenderer();
    Mesh mesh;
    mesh.BindBuffers(*renderer);
    mesh.UnbindBuffers(*renderer);
    EXPECT_EQ(renderer->GetCallStrings(),
              (std::vector<std::string>{"SetVertexBuffer(0, none)", "SetIndexBuffer(none)",
                                        "SetVertexBuffer(0, none)", "SetIndexBuffer(none)"}));
}

} // namespace
