#include "DrawableTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_SpriteAnimation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Core::RefPtr;
using Engine::Sprite;
using Engine::SpriteAnimation;
using Engine::SpriteFrame;

namespace
{

// A 128 x 64 sheet of 32 x 32 cells, four to a row.
RefPtr<Renderer::ITexture> Sheet()
{
    return RefPtr<Renderer::ITexture>(new SceneTest::FakeTexture("C:\\Sheets\\walk.png", 128, 64));
}

// `count` frames numbered row by row, each shown for `delay`.
RefPtr<SpriteAnimation> Animation(std::uint32_t count, float delay, const std::string& name = "")
{
    std::vector<SpriteFrame> frames;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        frames.push_back({i % 4, i / 4, delay});
    }
    RefPtr<SpriteAnimation> animation(new SpriteAnimation(Sheet(), 32, 32, frames));
    animation->SetName(name);
    return animation;
}

RefPtr<Sprite> Playing(const RefPtr<SpriteAnimation>& animation)
{
    RefPtr<Sprite> sprite(new Sprite({animation}));
    sprite->SetPlaying(true);
    return sprite;
}

TEST(Sprite, AFrameAdvancesOnlyOnceTheTimerExceedsItsDelay)
{
    const RefPtr<Sprite> sprite = Playing(Animation(3, 0.5f));
    sprite->AdvanceFrame(0.25f);
    sprite->AdvanceFrame(0.25f);
    EXPECT_EQ(sprite->GetFrameTimer(), 0.5f);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    sprite->AdvanceFrame(0.001f);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 1u);
    EXPECT_EQ(sprite->GetFrameTimer(), 0.0f);
    // A step over several delays still moves one frame.
    sprite->AdvanceFrame(10.0f);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 2u);
    // The speed scales the step; a stopped sprite does not move.
    sprite->SetAnimationSpeed(0.0f);
    sprite->AdvanceFrame(10.0f);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 2u);
    const RefPtr<Sprite> stopped(new Sprite({Animation(3, 0.5f)}));
    stopped->Update(10.0f);
    EXPECT_EQ(stopped->GetCurrentFrameIndex(), 0u);
}

TEST(Sprite, LoopRangeRepeatsAndMarksEachWrap)
{
    const RefPtr<SpriteAnimation> animation = Animation(6, 0.1f);
    animation->SetLoopStartingFrame(2);
    animation->SetLoopEndingFrame(4);
    const RefPtr<Sprite> sprite = Playing(animation);
    std::vector<std::uint32_t> shown{sprite->GetCurrentFrameIndex()};
    std::vector<bool> ends{sprite->IsEndOfAnimation()};
    for (int i = 0; i < 8; ++i)
    {
        sprite->Update(0.2f);
        shown.push_back(sprite->GetCurrentFrameIndex());
        ends.push_back(sprite->IsEndOfAnimation());
    }
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 2, 3, 4, 2}));
    EXPECT_EQ(ends, (std::vector<bool>{false, false, false, false, false, true, false, false, true}));
    EXPECT_TRUE(sprite->IsPlaying());
}

TEST(Sprite, WithoutLoopItStopsOnTheLastFrameAndPlayingRestartsIt)
{
    const RefPtr<Sprite> sprite = Playing(Animation(3, 0.1f));
    sprite->SetLoop(false);
    for (int i = 0; i < 5; ++i)
    {
        sprite->Update(0.2f);
    }
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 2u);
    EXPECT_FALSE(sprite->IsPlaying());
    EXPECT_TRUE(sprite->IsEndOfAnimation());

    sprite->SetPlaying(true);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    EXPECT_TRUE(sprite->IsPlaying());
    sprite->Update(0.2f);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 1u);

    // A paused sprite resumes where it was; stopping rewinds.
    sprite->Pause();
    sprite->Update(0.2f);
    sprite->SetPlaying(true);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 1u);
    sprite->SetPlaying(false);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    EXPECT_FALSE(sprite->IsPaused());
}

TEST(Sprite, SelectsAnimationsAndFramesOnlyWithinRange)
{
    const RefPtr<Sprite> sprite(
        new Sprite({Animation(3, 0.1f, "idle"), Animation(5, 0.1f, "walk"), Animation(2, 0.1f, "walk")}));
    sprite->SetCurrentAnimationName("walk", false);
    EXPECT_EQ(sprite->GetCurrentAnimationIndex(), 1u);
    EXPECT_EQ(sprite->GetCurrentAnimationName(), "walk");
    sprite->SetCurrentFrameIndex(4, false);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 4u);
    EXPECT_EQ(sprite->SetCurrentFrameIndex(5, true), 4u);
    EXPECT_EQ(sprite->GetCurrentFrame().column, 0u);
    EXPECT_EQ(sprite->GetCurrentFrame().row, 1u);

    // A name no animation has selects the first one, at frame 0.
    sprite->SetCurrentAnimationName("run", false);
    EXPECT_EQ(sprite->GetCurrentAnimationIndex(), 0u);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
    EXPECT_EQ(sprite->SetCurrentAnimationIndex(3, true), 0u);
    EXPECT_FALSE(sprite->GetAnimation(3));

    sprite->GoToLastFrame(false);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 2u);
    sprite->GoToFirstFrame(false);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0u);
}

TEST(SpriteAnimation, LoopRangeIsClampedToTheFrames)
{
    struct Case
    {
        std::uint32_t frames;
        std::int32_t set;
        std::int32_t expected;
    };
    const Case cases[] = {{6, 3, 3}, {6, -3, 0}, {6, 6, 5}, {6, 1000, 5}, {0, 2, 0}, {0, -1, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.frames) + " frames, set " + std::to_string(c.set));
        const RefPtr<SpriteAnimation> animation = Animation(c.frames, 0.1f);
        EXPECT_EQ(animation->GetLoopEndingFrame(),
                  c.frames > 0 ? static_cast<std::int32_t>(c.frames) - 1 : 0);
        animation->SetLoopStartingFrame(c.set);
        animation->SetLoopEndingFrame(c.set);
        EXPECT_EQ(animation->GetLoopStartingFrame(), c.expected);
        EXPECT_EQ(animation->GetLoopEndingFrame(), c.expected);
    }
    // Frames past the end read as zeros instead of past the list.
    EXPECT_EQ(Animation(2, 0.5f)->GetFrame(7).delay, 0.0f);
}

TEST(Sprite, TextureMatrixPicksTheCellCountedFromTheTopOfTheSheet)
{
    const RefPtr<Sprite> sprite(new Sprite({Animation(8, 0.1f)}));
    struct Case
    {
        std::uint32_t frame;
        float u0, v0;
    };
    // Rows from the top: row 0 is the upper half of v (surfaces are bottom-up).
    const Case cases[] = {{0, 0.0f, 0.5f}, {3, 0.75f, 0.5f}, {5, 0.25f, 0.0f}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.frame);
        sprite->SetCurrentFrameIndex(c.frame, true);
        Math::Matrix4 matrix;
        sprite->GetFrameTextureMatrix(matrix);
        const Math::Vector3 low = matrix * Math::Vector3(0.0f, 0.0f, 0.0f);
        const Math::Vector3 high = matrix * Math::Vector3(1.0f, 1.0f, 0.0f);
        EXPECT_FLOAT_EQ(low.x, c.u0);
        EXPECT_FLOAT_EQ(low.y, c.v0);
        EXPECT_FLOAT_EQ(high.x, c.u0 + 0.25f);
        EXPECT_FLOAT_EQ(high.y, c.v0 + 0.5f);
    }
}

class SpriteDrawTest : public DrawableTest::DrawableFixture
{
};

TEST_F(SpriteDrawTest, SubmitsTheFrameQuadMirroredByTheFlips)
{
    const RefPtr<Sprite> sprite(new Sprite({Animation(8, 0.1f)}));
    sprite->SetModulationColor(0.5f, 0.25f, 1.0f, 0.1f);
    sprite->SetOpacity(0.75f);
    sprite->SetFlipHorizontal(true);
    Place(sprite, 10.0f, 20.0f);
    scene->MakeCurrentAndUpdate(0.0f);
    sprite->Draw();
    sprite->SetFlipHorizontal(false);
    sprite->SetFlipVertical(true);
    sprite->Draw();

    const std::vector<Engine::RenderQueueItem>& items = scene->GetRenderQueue().GetBlendedItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].sprite);
    EXPECT_EQ(items[0].texture.Get(), sprite->GetCurrentAnimation()->GetTexture().Get());
    EXPECT_EQ(items[0].worldMatrix.m[0], -32.0f);
    EXPECT_EQ(items[0].worldMatrix.m[5], 32.0f);
    EXPECT_EQ(items[0].worldMatrix.m[12], 10.0f);
    EXPECT_EQ(items[0].worldMatrix.m[13], 20.0f);
    EXPECT_EQ(items[1].worldMatrix.m[0], 32.0f);
    EXPECT_EQ(items[1].worldMatrix.m[5], -32.0f);
    EXPECT_EQ(items[0].color.x, 0.5f);
    EXPECT_EQ(items[0].color.y, 0.25f);
    EXPECT_EQ(items[0].color.w, 0.75f);
    EXPECT_EQ(items[0].textureMatrix.m[13], 0.5f);

    // The world box is the frame rectangle under the parent.
    Math::BoundingBox box;
    sprite->GetWorldBoundingVolume(box);
    EXPECT_EQ(box.corners[0].x, 26.0f);
    EXPECT_EQ(box.corners[0].y, 4.0f);
    EXPECT_EQ(box.corners[5].y, 36.0f);
}

TEST_F(SpriteDrawTest, SpriteWithoutAnimationsDoesNothing)
{
    const RefPtr<Sprite> sprite(new Sprite());
    sprite->SetPlaying(true);
    sprite->Update(1.0f);
    sprite->SetCurrentFrameIndex(0, true);
    sprite->GoToLastFrame(true);
    sprite->Draw();
    EXPECT_EQ(sprite->GetCurrentAnimationName(), "");
    EXPECT_EQ(sprite->GetCurrentFrame().delay, 0.0f);
    EXPECT_TRUE(scene->GetRenderQueue().GetBlendedItems().empty());
}

// Write `sprite` through an archive; answers the bytes.
std::vector<std::uint8_t> Archive(Sprite& sprite)
{
    Core::MemoryFile file;
    file.WriteObject(&sprite);
    return file.GetBuffer();
}

TEST(SpriteArchive, KeepsTheStateAndSharesAnAnimationListedTwice)
{
    const RefPtr<SpriteAnimation> walk = Animation(6, 0.25f, "walk");
    walk->SetLoopStartingFrame(1);
    walk->SetLoopEndingFrame(3);
    const RefPtr<Sprite> sprite(new Sprite({Animation(2, 0.1f, "idle"), walk, walk}));
    sprite->SetCurrentAnimationIndex(1, false);
    sprite->SetCurrentFrameIndex(4, false);
    sprite->SetPlaying(true);
    sprite->Update(0.125f);
    sprite->Pause();
    sprite->SetLoop(false);
    sprite->SetFlipVertical(true);
    sprite->SetAnimationSpeed(2.0f);
    sprite->SetOpacity(0.5f);
    const std::vector<std::uint8_t> bytes = Archive(*sprite);

    Core::MemoryFile file;
    file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    const RefPtr<Core::Object> object(file.ReadObject());
    ASSERT_FALSE(file.Failed());
    const auto* read = dynamic_cast<Sprite*>(object.Get());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->GetAnimationsCount(), 3u);
    EXPECT_EQ(read->GetAnimation(1).Get(), read->GetAnimation(2).Get());
    EXPECT_EQ(read->GetCurrentAnimationName(), "walk");
    EXPECT_EQ(read->GetCurrentFrameIndex(), 4u);
    EXPECT_EQ(read->GetFrameTimer(), 0.125f);
    EXPECT_EQ(read->GetAnimationSpeed(), 2.0f);
    EXPECT_EQ(read->GetOpacity(), 0.5f);
    EXPECT_TRUE(read->IsPaused());
    EXPECT_FALSE(read->IsPlaying());
    EXPECT_FALSE(read->GetLoop());
    EXPECT_TRUE(read->GetFlipVertical());
    const RefPtr<SpriteAnimation> readWalk = read->GetAnimation(1);
    EXPECT_EQ(readWalk->GetFramesCount(), 6u);
    EXPECT_EQ(readWalk->GetFrame(5).row, 1u);
    EXPECT_EQ(readWalk->GetFrame(5).delay, 0.25f);
    EXPECT_EQ(readWalk->GetLoopStartingFrame(), 1);
    EXPECT_EQ(readWalk->GetLoopEndingFrame(), 3);
    EXPECT_EQ(readWalk->GetFrameHeight(), 32);
    // Without an application the sheet's directory is empty.
    ASSERT_TRUE(readWalk->GetTexture());
    EXPECT_EQ(readWalk->GetTexture()->GetName(), "\\walk.png");
}

// Offsets into a sprite's archive record, from its end: the two indices
// sit before the six flags.
constexpr std::size_t CurrentAnimationFromEnd = 6 + 4;
constexpr std::size_t CurrentFrameFromEnd = 6 + 8;

TEST(SpriteArchive, IndicesOutsideTheAnimationsAreRefused)
{
    const RefPtr<Sprite> sprite(new Sprite({Animation(2, 0.1f, "idle"), Animation(5, 0.1f, "walk")}));
    const std::vector<std::uint8_t> bytes = Archive(*sprite);
    struct Case
    {
        const char* what;
        std::size_t fromEnd;
        std::int32_t value;
        bool accepted;
    };
    const Case cases[] = {
        {"last frame of animation 0", CurrentFrameFromEnd, 1, true},
        {"frame past animation 0", CurrentFrameFromEnd, 2, false},
        {"negative frame", CurrentFrameFromEnd, -1, false},
        {"animation 1", CurrentAnimationFromEnd, 1, true},
        {"animation past the list", CurrentAnimationFromEnd, 2, false},
        {"negative animation", CurrentAnimationFromEnd, -5, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> patched = bytes;
        std::memcpy(patched.data() + patched.size() - c.fromEnd, &c.value, 4);
        Core::MemoryFile file;
        file.Write(patched.data(), static_cast<std::uint32_t>(patched.size()));
        const RefPtr<Core::Object> object(file.ReadObject());
        EXPECT_EQ(!file.Failed(), c.accepted);
    }
}

TEST(SpriteArchive, LoopRangeOutsideTheFramesIsRefused)
{
    const RefPtr<SpriteAnimation> animation = Animation(3, 0.1f);
    Core::MemoryFile whole;
    animation->Write(whole);
    const std::vector<std::uint8_t> bytes = whole.GetBuffer();
    // Loop start, loop end, frame width, frame height close the record.
    struct Case
    {
        std::size_t fromEnd;
        std::int32_t value;
        bool accepted;
    };
    const Case cases[] = {{16, 2, true}, {16, 3, false}, {16, -1, false}, {12, 0, true}, {12, 7, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.fromEnd) + ": " + std::to_string(c.value));
        std::vector<std::uint8_t> patched = bytes;
        std::memcpy(patched.data() + patched.size() - c.fromEnd, &c.value, 4);
        Core::MemoryFile file;
        file.Write(patched.data(), static_cast<std::uint32_t>(patched.size()));
        const RefPtr<SpriteAnimation> target = Animation(1, 0.5f, "kept");
        target->Read(file);
        EXPECT_EQ(!file.Failed(), c.accepted);
        EXPECT_EQ(target->GetFramesCount(), c.accepted ? 3u : 1u);
        EXPECT_EQ(target->GetName(), c.accepted ? "" : "kept");
    }

    // A frame count beyond what the record holds is refused before anything
    // is allocated.
    Core::MemoryFile huge;
    huge << std::uint32_t{0x10000000};
    const RefPtr<SpriteAnimation> target = Animation(1, 0.5f);
    target->Read(huge);
    EXPECT_TRUE(huge.Failed());
    EXPECT_EQ(target->GetFramesCount(), 1u);
}

TEST(SpriteArchive, AnAnimationSlotHoldingAnotherObjectIsRefused)
{
    // A sprite record whose one animation reference names the sprite itself.
    Core::MemoryFile file;
    file << std::uint8_t{1} << std::string("Engine::Sprite") << std::uint32_t{1};
    Engine::Node().Write(file);
    file << std::uint32_t{1};
    file << std::uint8_t{1} << std::string("Engine::Sprite") << std::uint32_t{1};
    const RefPtr<Core::Object> object(file.ReadObject());
    EXPECT_TRUE(file.Failed());
    ASSERT_NE(dynamic_cast<Sprite*>(object.Get()), nullptr);
    EXPECT_EQ(static_cast<Sprite&>(*object).GetAnimationsCount(), 0u);
}

} // namespace
