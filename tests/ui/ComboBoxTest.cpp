// kit::ComboBox: a drop-down list keeps its index as "Index" (default 1), a drop-down combo its text as "Text".
#include "kit/ui/ComboBox.h"

#include "kit/core/SettingsNode.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

TEST(ComboBoxTest, DropDownList_keepsItsIndex)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::ComboBox> box = kit::ComboBox::Create(&host, CBS_DROPDOWNLIST, RECT{10, 10, 200, 200}, 1055);
    ASSERT_TRUE(box);
    for (const wchar_t* text : {L"表示しない", L"5ファイル", L"10ファイル", L"20ファイル", L"全て表示する"})
        box->AddString(text);
    EXPECT_TRUE(box->IsDropDownList());
    kit::SettingsNode section;
    box->Load(section);
    EXPECT_EQ(1, box->GetSelection()) << "missing: index 1";
    box->SetSelection(4);
    box->Save(section);
    EXPECT_EQ(4u, section.Values[L"Index"].size());
    EXPECT_EQ(4, section.GetInt(L"Index", -1));
    box->SetSelection(0);
    box->Load(section);
    EXPECT_EQ(4, box->GetSelection());
    section.SetBool(L"Index", true);
    box->Load(section);
    EXPECT_EQ(1, box->GetSelection()) << "not 4 bytes: index 1";
    EXPECT_FALSE(section.Values.count(L"Text"));
}

TEST(ComboBoxTest, DropDown_keepsItsText)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::ComboBox> box = kit::ComboBox::Create(&host, CBS_DROPDOWN, RECT{10, 10, 200, 200}, 1056);
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->IsDropDownList());
    box->SetText(L"*.txt;*.csv");
    kit::SettingsNode section;
    box->Save(section);
    EXPECT_EQ(L"*.txt;*.csv", section.GetString(L"Text"));
    box->SetText(L"");
    box->Load(section);
    EXPECT_EQ(L"*.txt;*.csv", box->GetText());
}

} // namespace
