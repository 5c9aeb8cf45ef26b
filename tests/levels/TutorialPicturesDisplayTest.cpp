// The tutorial on the OpenGL renderer: a picture of each hint on screen,
// kept for review in the build tree ("screenshots/tutorial_hints"). Rendering every frame in software is slow
// under the sanitizers, so that tree leaves it out.
#include "TutorialTestSupport.h"

#include "framework/Velkor_Text.h"

#include <filesystem>

namespace
{

using namespace BrillowTest;

class TutorialPicturesDisplayTest : public TutorialDisplayTest
{
protected:
    void SetUp() override
    {
#if ENGINE_SANITIZE
        GTEST_SKIP() << "software rendering of every frame is too slow under the sanitizers";
#endif
        TutorialDisplayTest::SetUp();
        Engine::RenderingApplication::SetRendererFactory(nullptr);
        std::filesystem::create_directories(Folder());
    }

    static std::filesystem::path Folder()
    {
        return std::filesystem::path(ENGINE_TEST_BINARY_DIR) / "screenshots" / "tutorial_hints";
    }

    // One frame, its picture written before the buffers swap.
    void Shot(const std::string& name)
    {
        harness->BeginFrame();
        harness->RunFrame();
        EXPECT_TRUE(Harness::WriteScreenshotPng(*game->GetRenderer(), (Folder() / name).string()));
        harness->EndFrame();
    }
};

// The hint's machine into its last state at the next update: the text
// hides and, for a three-state hint, reports done (the script goes on).
template <class Hint> void EndHint(const char* name)
{
    Hint* hint = FindObject<Hint>(name);
    ASSERT_NE(hint, nullptr) << name;
    const auto& states = hint->stateMachine->GetStates();
    const char* last = Hint::Recipe.stateCount == 3 ? "S2" : "S0";
    for (std::uint32_t i = 0; i < states.size(); ++i)
    {
        if (states[i]->name == last)
        {
            hint->stateMachine->SetPendingStateIndex(i);
        }
    }
}

// Each hint in turn: its flag raised, a picture once it shows, then ended
// at once so that the next one has the screen to itself.
TEST_F(TutorialPicturesDisplayTest, EachHintIsPicturedOnScreen)
{
    TutorialClass& tutorial = EnterTutorial();
    const struct
    {
        const char* name;
        std::uint8_t TutorialClass::*flag;
        void (*end)(const char*);
    } hints[] = {
        {"intro", &TutorialClass::hintIntro, &EndHint<VisibilityClass>},
        {"nextblue", &TutorialClass::hintNextBlue, &EndHint<Visibility1Class>},
        {"nextenemy", &TutorialClass::hintNextEnemy, &EndHint<Visibility2Class>},
        {"anotherenemy", &TutorialClass::hintAnotherEnemy, &EndHint<Visibility3Class>},
        {"more", &TutorialClass::hintMore, &EndHint<Visibility4Class>},
        {"destroy", &TutorialClass::hintDestroy, &EndHint<Visibility5Class>},
        {"obstacles", &TutorialClass::hintObstacles, &EndHint<Visibility6Class>},
        {"powerup1", &TutorialClass::hintPowerUp1, &EndHint<Visibility7Class>},
        {"Invincible", &TutorialClass::hintInvincible, &EndHint<Visibility8Class>},
        {"Nextlevel", &TutorialClass::hintNextLevel, &EndHint<Visibility9Class>},
    };
    for (std::size_t i = 0; i < std::size(hints); ++i)
    {
        SCOPED_TRACE(hints[i].name);
        ASSERT_NE(Tutorial(), nullptr);
        tutorial.*hints[i].flag = 1;
        if (std::string(hints[i].name) == "Nextlevel")
        {
            game->stage = 2;
        }
        for (int frame = 0; frame < 90 && !FindObject<Velkor::Text>(hints[i].name)->GetVisible(); ++frame)
        {
            Frame();
        }
        ASSERT_TRUE(FindObject<Velkor::Text>(hints[i].name)->GetVisible());
        Shot(std::to_string(i + 1) + "_" + hints[i].name + ".png");
        if (i + 1 < std::size(hints))
        {
            hints[i].end(hints[i].name);
            Frame();
            EXPECT_FALSE(FindObject<Velkor::Text>(hints[i].name)->GetVisible());
        }
    }
}

} // namespace
