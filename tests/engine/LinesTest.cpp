#include "DrawableTestSupport.h"

#include "engine/Engine_Circle.h"
#include "engine/Engine_Lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Core::RefPtr;
using Engine::Circle;
using Engine::Lines;
using Math::Vector3;

namespace
{

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(Circle, StepOf90JoinsTheFourQuartersAfterADegenerateFirstSegment)
{
    const float r = 2.0f;
    const Circle circle(r, 90);
    const std::vector<Vector3> expected = {{r, 0, 0},  {r, 0, 0},  {r, 0, 0},  {0, r, 0},  {0, r, 0},
                                           {-r, 0, 0}, {-r, 0, 0}, {0, -r, 0}, {0, -r, 0}, {r, 0, 0}};
    ASSERT_EQ(circle.GetPoints().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        SCOPED_TRACE(i);
        ExpectNear(circle.GetPoints()[i], expected[i]);
    }
    EXPECT_EQ(circle.GetLineCount(), 5u);
}

TEST(Circle, StepThatDoesNotDivide360LeavesAGapAndAStepBelowOneIsRefused)
{
    Circle circle(1.0f, 7);
    // 0, 7, ..., 357: 52 segments, the last ending short of the start.
    ASSERT_EQ(circle.GetLineCount(), 52u);
    const Vector3 last = circle.GetEndPoint(51);
    ExpectNear(last,
               {std::cos(357.0f * 3.14159265f / 180.0f), std::sin(357.0f * 3.14159265f / 180.0f), 0.0f});

    for (const std::int32_t step : {0, -5})
    {
        SCOPED_TRACE(step);
        EXPECT_FALSE(circle.Generate(3.0f, step));
        EXPECT_EQ(circle.GetLineCount(), 52u);
        EXPECT_TRUE(Circle(3.0f, step).GetPoints().empty());
    }
    EXPECT_TRUE(circle.Generate(1.0f, 10));
    EXPECT_EQ(circle.GetLineCount(), 37u);
}

TEST(Lines, SegmentsAreReadAndWrittenByIndexWithinTheList)
{
    Lines lines;
    lines.AddLine({1, 2, 0}, {3, 4, 0});
    lines.AddLine({5, 6, 0}, {7, 8, 0});
    lines.SetEndPoint(1, {9, 9, 9});
    lines.SetStartPoint(2, {1, 1, 1});
    EXPECT_EQ(lines.GetStartPoint(1).x, 5.0f);
    EXPECT_EQ(lines.GetEndPoint(1).z, 9.0f);
    EXPECT_EQ(lines.GetEndPoint(0).y, 4.0f);
    EXPECT_EQ(lines.GetStartPoint(2).x, 0.0f);
    EXPECT_EQ(lines.GetPoints().size(), 4u);
}

class LinesDrawTest : public DrawableTest::DrawableFixture
{
};

TEST_F(LinesDrawTest, SubmitsItsPointsAsLinesUnderTheParentAndNothingWithoutThem)
{
    const RefPtr<Lines> empty(new Lines());
    const RefPtr<Circle> circle(new Circle(5.0f, 90));
    circle->color = Math::Vector4(1.0f, 0.5f, 0.0f, 0.2f);
    circle->opacity = 0.4f;
    circle->SetOverlay(true);
    Place(empty, 0.0f, 0.0f);
    Place(circle, 7.0f, 8.0f, 9.0f);
    scene->MakeCurrentAndUpdate(0.0f);
    empty->Draw();
    circle->Draw();

    const Engine::RenderQueue& queue = scene->GetRenderQueue();
    EXPECT_TRUE(queue.GetBlendedItems().empty());
    ASSERT_EQ(queue.GetOverlayItems().size(), 1u);
    const Engine::RenderQueueItem& item = queue.GetOverlayItems()[0];
    EXPECT_EQ(item.vertexArray, circle->GetPoints().data());
    EXPECT_EQ(item.vertexCount, 10u);
    EXPECT_EQ(item.primitiveType, static_cast<std::uint32_t>(Renderer::PrimitiveLines));
    EXPECT_FALSE(item.mesh);
    EXPECT_EQ(item.worldMatrix.m[12], 7.0f);
    EXPECT_EQ(item.worldMatrix.m[14], 9.0f);
    EXPECT_EQ(item.color.y, 0.5f);
    EXPECT_EQ(item.color.w, 0.4f);
    EXPECT_STREQ(circle->GetClassName(), "Engine::Node");

    const RefPtr<Circle> copy(circle->Clone());
    EXPECT_EQ(copy->GetPoints().size(), 10u);
    EXPECT_EQ(copy->opacity, 0.4f);
}

} // namespace
