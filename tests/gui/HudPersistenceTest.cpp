#include "HudTestSupport.h"

#include "core/Core_DamagedCopies.h"

#include <gtest/gtest.h>

namespace
{

using Core::RefPtr;
using GuiTest::Bytes;
using GuiTest::Written;

class HudPersistence : public HudTest::HudTest
{
protected:
    // Two roots with nested controls, a focused control and a modal root.
    void Build()
    {
        const RefPtr<GUI::Form> first = AddForm("First", 100, 100, 400, 300);
        const RefPtr<GUI::Control> panel = AddChild(*first, "Panel", 10, 10, 200, 200);
        AddChild(*panel, "Inner", 5, 5, 50, 20)->SetText("inner text");
        AddChild(*first, "Side", 250, 10, 100, 40)->SetFont("DefaultFont");
        const RefPtr<GUI::Form> second = AddForm("Second", 600, 300, 200, 200);
        AddChild(*second, "Ok", 10, 10, 80, 30);
        hud->SetModalForm(second.Get());
        MoveTo(620, 320);
        Frames(3);
        ClickAt(620, 320);
    }

    Bytes Save()
    {
        return Written([&](Core::File& file) { hud->Save(file); });
    }
};

TEST_F(HudPersistence, SaveLoadSaveGivesTheSameBytesAndDamageChangesNothing)
{
    Build();
    ASSERT_NE(hud->GetActiveControl(), nullptr);
    ASSERT_NE(hud->GetModalForm(), nullptr);
    const Bytes saved = Save();

    hud->Clear();
    {
        Core::MemoryFile file(saved.data(), static_cast<std::uint32_t>(saved.size()));
        ASSERT_TRUE(hud->Load(file));
        EXPECT_FALSE(hud->IsLoading());
    }
    EXPECT_EQ(hud->GetForms().size(), 2u);
    // Two forms with their close buttons and four controls.
    EXPECT_EQ(hud->GetRegisteredControls().size(), 8u);
    ASSERT_NE(hud->FindFormByName("First"), nullptr);
    EXPECT_EQ(hud->FindFormByName("First")->GetControl("Panel")->GetControl("Inner")->GetText(),
              "inner text");
    EXPECT_EQ(hud->FindFormByName("First")->GetControl("Side")->GetFont()->GetName(),
              GUI::GetFontPath("DefaultFont"));
    EXPECT_EQ(Save(), saved);
    // The loaded display runs.
    Frames(3);
    ClickAt(620, 320);

    hud->Clear();
    {
        Core::MemoryFile file(saved.data(), static_cast<std::uint32_t>(saved.size()));
        ASSERT_TRUE(hud->Load(file));
    }
    const Bytes running = Save();
    // Every prefix would take minutes under the sanitizers: every 7th there.
    const Core::Testing::DamagePlan plan = Core::Testing::PlanForThisBuild(7);
    std::size_t prefixes = 0;
    std::size_t refused = 0;
    testing::internal::CaptureStderr();
    for (const auto& [bytes, prefix] : Core::Testing::DamagedCopies(saved, plan))
    {
        prefixes += prefix ? 1 : 0;
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        if (hud->Load(file))
        {
            // A flip that still reads as a display (a number, a name): put
            // the running display back.
            hud->Clear();
            Core::MemoryFile original(saved.data(), static_cast<std::uint32_t>(saved.size()));
            ASSERT_TRUE(hud->Load(original));
            continue;
        }
        ++refused;
        EXPECT_TRUE(file.Failed());
        ASSERT_EQ(Save(), running) << bytes.size();
    }
    const std::string reports = testing::internal::GetCapturedStderr();
    EXPECT_GE(refused, prefixes);
    EXPECT_NE(reports.find("heads-up display could not be loaded"), std::string::npos);
}

TEST_F(HudPersistence, ControlRecordsRefuseBadLinks)
{
    const RefPtr<GUI::Form> form = AddForm("Root", 0, 0, 100, 100);
    const RefPtr<GUI::Control> child = AddChild(*form, "Child", 0, 0, 10, 10);
    const Bytes bytes = Written([&](Core::File& file) { file.WriteObject(form.Get()); });
    {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        RefPtr<GUI::Form> read;
        Core::ReadRefPtr(file, read);
        ASSERT_FALSE(file.Failed());
        EXPECT_EQ(read->GetControl(0u)->GetParent(), read.Get());
    }
    // A child-to-front that is not a child.
    RefPtr<GUI::Control> stranger(new GUI::Control());
    form->BringChildToFront(stranger.Get());
    const Bytes bad = Written([&](Core::File& file) { file.WriteObject(form.Get()); });
    form->BringChildToFront(nullptr);
    Core::MemoryFile file(bad.data(), static_cast<std::uint32_t>(bad.size()));
    RefPtr<GUI::Form> read;
    Core::ReadRefPtr(file, read);
    EXPECT_TRUE(file.Failed());
}

} // namespace
