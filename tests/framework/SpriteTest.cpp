#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include "SpriteTestSupport.h"

#include "core/Core_ResourceReport.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Sprite.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{

using SpriteTest::MakeAnimation;
using SpriteTest::SheetFolder;

struct GridCase
{
    int width, height, columns, rows;
    std::vector<float> delays;
    int frameWidth, frameHeight;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> cells;
};

TEST(SpriteAnimationTest, CutsTheSheetRowByRowFromTheTopLeftCell)
{
    SheetFolder folder;
    const GridCase cases[] = {
        {256, 64, 4, 1, {0.1f, 0.1f, 0.2f}, 64, 64, {{0, 0}, {1, 0}, {2, 0}}},
        {96, 64, 3, 2, {0.1f, 0.1f, 0.1f, 0.1f, 0.1f}, 32, 32, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}}},
        // A sheet that does not divide evenly: the cell size is truncated.
        {100, 50, 3, 2, {0.5f}, 33, 25, {{0, 0}}},
    };
    int index = 0;
    for (const GridCase& grid : cases)
    {
        SCOPED_TRACE(index);
        const std::string sheet =
            folder.Sheet("grid" + std::to_string(index++) + ".png", grid.width, grid.height);
        Velkor::SpriteAnimation animation(sheet, grid.columns, grid.rows, grid.delays);
        const Engine::SpriteAnimation& engine = *animation.GetEngineAnimation();
        EXPECT_EQ(engine.GetFrameWidth(), grid.frameWidth);
        EXPECT_EQ(engine.GetFrameHeight(), grid.frameHeight);
        ASSERT_EQ(engine.GetFramesCount(), grid.cells.size());
        for (std::uint32_t i = 0; i < grid.cells.size(); ++i)
        {
            EXPECT_EQ(engine.GetFrame(i).column, grid.cells[i].first) << "frame " << i;
            EXPECT_EQ(engine.GetFrame(i).row, grid.cells[i].second) << "frame " << i;
            EXPECT_EQ(engine.GetFrame(i).delay, grid.delays[i]);
        }
        // The loop runs over every frame while the own fields stay 0.
        EXPECT_EQ(engine.GetLoopStartingFrame(), 0);
        EXPECT_EQ(engine.GetLoopEndingFrame(), static_cast<std::int32_t>(grid.delays.size()) - 1);
        EXPECT_EQ(animation.GetOwnLoopEndingFrame(), 0u);
        EXPECT_EQ(engine.GetTexture()->GetName(), sheet);
    }
}

TEST(SpriteAnimationTest, NameAndLoopRangeReachTheEngineAnimation)
{
    SheetFolder folder;
    Velkor::SpriteAnimation animation(folder.Sheet("walk.png", 64, 16), 4, 1, {0.1f, 0.1f, 0.1f, 0.1f});
    animation.SetName("walk");
    animation.SetLoopStartingFrame(1);
    animation.SetLoopEndingFrame(2);
    EXPECT_EQ(animation.GetEngineAnimation()->GetName(), "walk");
    EXPECT_EQ(animation.GetEngineAnimation()->GetLoopStartingFrame(), 1);
    EXPECT_EQ(animation.GetEngineAnimation()->GetLoopEndingFrame(), 2);
    EXPECT_EQ(animation.GetOwnLoopStartingFrame(), 1u);
}

TEST(SpriteAnimationTest, AGridWithoutColumnsOrRowsHasNoFramesAndNamesTheSheet)
{
    SheetFolder folder;
    const std::string sheet = folder.Sheet("broken.png", 64, 64);
    for (const auto& grid : {std::pair{0, 1}, std::pair{2, 0}, std::pair{-3, 2}})
    {
        Core::ForgetReportedResources();
        testing::internal::CaptureStderr();
        Core::RefPtr<Velkor::SpriteAnimation> animation(
            new Velkor::SpriteAnimation(sheet, grid.first, grid.second, {0.1f, 0.1f}));
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_EQ(animation->GetEngineAnimation()->GetFramesCount(), 0u);
        EXPECT_EQ(animation->GetEngineAnimation()->GetFrameWidth(), 0);
        EXPECT_NE(report.find("broken.png"), std::string::npos) << report;
        // A sprite of it shows and plays nothing.
        Velkor::Sprite sprite({animation});
        sprite.Play(true);
        sprite.GetEngineSprite()->AdvanceFrame(1.0f);
        EXPECT_EQ(sprite.GetCurrentFrameIndex(), 0u);
        EXPECT_EQ(sprite.GetFrameDelay(0, 0), 0.0f);
    }
}

TEST(SpriteAnimationTest, AMissingSheetGivesThePatternAndStillCutsTheGrid)
{
    Core::ForgetReportedResources();
    testing::internal::CaptureStderr();
    Velkor::SpriteAnimation animation("/nonexistent/Sheet.png", 2, 2, {0.1f, 0.1f, 0.1f});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(animation.GetEngineAnimation()->GetFramesCount(), 3u);
    EXPECT_GT(animation.GetEngineAnimation()->GetTexture()->GetWidth(), 0u);
}

// Two animations of frames 0.5 s long.
class SpriteTest : public testing::Test
{
protected:
    void SetUp() override
    {
        walk = MakeAnimation(folder.Sheet("walk.png", 64, 32), 2, 1, 2, 0.5f);
        walk->SetName("walk");
        jump = MakeAnimation(folder.Sheet("jump.png", 96, 32), 3, 1, 3, 0.25f);
        jump->SetName("jump");
        sprite = new Velkor::Sprite({walk, jump});
    }

    void Advance(float dt) { sprite->GetEngineSprite()->AdvanceFrame(dt); }

    SheetFolder folder;
    Core::RefPtr<Velkor::SpriteAnimation> walk;
    Core::RefPtr<Velkor::SpriteAnimation> jump;
    Core::RefPtr<Velkor::Sprite> sprite;
};

TEST_F(SpriteTest, PlaysOnlyAfterPlayAndAdvancesOnlyPastTheDelay)
{
    EXPECT_EQ(sprite->GetEngineSprite()->GetParent(), sprite->GetNode().Get());
    Advance(2.0f);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    sprite->Play(true);
    // A timer that reaches the delay exactly does not advance the frame.
    Advance(0.25f);
    Advance(0.25f);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    Advance(0.25f);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 1u);
    sprite->Play(false);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    EXPECT_FALSE(sprite->IsPlaying());
}

TEST_F(SpriteTest, SettersKeepTheirGuards)
{
    sprite->SetAnimationSpeed(-2.0f);
    EXPECT_EQ(sprite->GetAnimationSpeed(), 0.0f);
    sprite->SetAnimationSpeed(1.5f);
    EXPECT_EQ(sprite->GetAnimationSpeed(), 1.5f);

    // The current index returns at once, force or not: the engine sprite
    // would otherwise rewind to frame 0.
    sprite->SetCurrentFrameIndex(1, false);
    EXPECT_EQ(sprite->SetCurrentAnimationIndex(0, true), 0u);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 1u);
    sprite->Play(true);
    Advance(0.3f);
    EXPECT_EQ(sprite->SetCurrentFrameIndex(1, true), 1u);
    EXPECT_FLOAT_EQ(sprite->GetEngineSprite()->GetFrameTimer(), 0.3f * 1.5f);

    // Out of range: ignored.
    EXPECT_EQ(sprite->SetCurrentAnimationIndex(2, true), 0u);
    EXPECT_EQ(sprite->SetCurrentFrameIndex(2, true), 1u);

    EXPECT_EQ(sprite->SetCurrentAnimationIndex(1, false), 1u);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    sprite->SetCurrentAnimationName("run", false);
    EXPECT_EQ(sprite->GetCurrentAnimationIndex(), 0u);
    sprite->SetCurrentAnimationName("jump", false);
    EXPECT_EQ(sprite->GetCurrentAnimationIndex(), 1u);

    sprite->SetFlipHorizontal(true);
    sprite->SetFlipVertical(true);
    sprite->SetFlipVertical(false);
    EXPECT_TRUE(sprite->GetFlipHorizontal());
    EXPECT_FALSE(sprite->GetFlipVertical());
    sprite->SetHUDObject(true);
    EXPECT_TRUE(sprite->GetEngineSprite()->IsOverlay());
    EXPECT_TRUE(sprite->IsHUDObject());
}

TEST_F(SpriteTest, FrameGettersAnswerZeroOutOfRange)
{
    EXPECT_EQ(sprite->GetFrameDelay(1, 2), 0.25f);
    EXPECT_EQ(sprite->GetFramesCount(1), 3u);
    EXPECT_EQ(sprite->GetFrameWidth(1), 32);
    EXPECT_EQ(sprite->GetFrameHeight(0), 32);
    EXPECT_EQ(sprite->GetAnimationFrameCounts(), (std::vector<std::uint32_t>{2, 3}));
    const std::pair<std::uint32_t, std::uint32_t> outside[] = {
        {0, 2}, {2, 0}, {0xFFFFFFFF, 0}, {1, 0xFFFFFFFF}};
    for (const auto& [animation, frame] : outside)
    {
        EXPECT_EQ(sprite->GetFrameDelay(animation, frame), 0.0f) << animation << ", " << frame;
    }
    EXPECT_EQ(sprite->GetFramesCount(2), 0u);
    EXPECT_EQ(sprite->GetFrameWidth(7), 0);
    EXPECT_EQ(sprite->GetFrameHeight(7), 0);

    // A default sprite (what a read completes) has no engine sprite at all.
    Velkor::Sprite empty;
    empty.Play(true);
    EXPECT_EQ(empty.SetCurrentAnimationIndex(1, true), 0u);
    EXPECT_EQ(empty.GetFrameDelay(0, 0), 0.0f);
    EXPECT_FALSE(empty.IsHUDObject());
    EXPECT_EQ(empty.GetCollisionActorIndex(), -1);
}

TEST_F(SpriteTest, ACopySharesTheAnimationsAndKeepsItsOwnState)
{
    sprite->SetCurrentAnimationIndex(1, false);
    sprite->SetCurrentFrameIndex(2, false);
    sprite->SetFlipHorizontal(true);
    sprite->SetCollisionActorIndex(4);
    sprite->SetVisibleCollisionData(true);
    sprite->SetCollisionDataColor(1.0f, 0.0f, 0.0f, 1.0f);
    Core::RefPtr<Velkor::Sprite> copy(static_cast<Velkor::Sprite*>(sprite->Clone()));
    ASSERT_TRUE(copy->GetEngineSprite());
    EXPECT_NE(copy->GetEngineSprite(), sprite->GetEngineSprite());
    EXPECT_EQ(copy->GetEngineSprite()->GetParent(), copy->GetNode().Get());
    EXPECT_EQ(copy->GetEngineSprite()->GetAnimation(1), jump->GetEngineAnimation());
    EXPECT_EQ(copy->GetCurrentAnimationIndex(), 1u);
    EXPECT_EQ(copy->GetCurrentFrameIndex(), 2u);
    EXPECT_TRUE(copy->GetFlipHorizontal());
    EXPECT_EQ(copy->GetCollisionActorIndex(), 4);
    EXPECT_TRUE(copy->GetVisibleCollisionData());
    EXPECT_EQ(copy->GetCollisionDataColor().x, 1.0f);
    EXPECT_EQ(copy->GetAnimationFrameCounts(), sprite->GetAnimationFrameCounts());

    copy->SetCurrentFrameIndex(0, false);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 2u);
}

} // namespace
