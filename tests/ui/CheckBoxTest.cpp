// kit::CheckBox and kit::RadioButton: windows bound to the check state follow it, and the state is kept in the
// settings as a 4-byte "Check".
#include "kit/ui/CheckBox.h"
#include "kit/ui/RadioButton.h"

#include "kit/core/SettingsNode.h"
#include "kit/ui/Button.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

bool IsTopMost(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(CheckBoxTest, Bindings_followClicksAndSetCheck)
{
    harness::HostWindow host;
    harness::HostWindow floating(200, 100, L"floating");
    boost::shared_ptr<kit::CheckBox> box = kit::CheckBox::Create(&host, L"詳細", RECT{10, 10, 150, 30}, 1004);
    boost::shared_ptr<kit::Button> whenOn = kit::Button::Create(&host, L"on", RECT{10, 40, 100, 60});
    boost::shared_ptr<kit::Button> whenOff = kit::Button::Create(&host, L"off", RECT{10, 70, 100, 90});
    ASSERT_TRUE(box && whenOn && whenOff);
    EXPECT_FALSE(box->Subclassed) << "a box without bindings stays as it is";

    box->AddBinding(whenOn.get(), kit::BindEnable, 1);
    box->AddBinding(whenOff.get(), kit::BindDisable, 1);
    box->AddBinding(&floating, kit::BindTopMost, 1);
    EXPECT_TRUE(box->Subclassed);
    // applied at once, with the box unchecked
    EXPECT_FALSE(harness::IsEnabled(whenOn->Handle));
    EXPECT_TRUE(harness::IsEnabled(whenOff->Handle));
    EXPECT_FALSE(IsTopMost(floating.Handle));

    harness::Click(box->Handle);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_TRUE(harness::IsEnabled(whenOn->Handle));
    EXPECT_FALSE(harness::IsEnabled(whenOff->Handle));
    EXPECT_TRUE(IsTopMost(floating.Handle));
    EXPECT_TRUE(floating.TopMost);

    box->SetChecked(false);
    EXPECT_FALSE(harness::IsEnabled(whenOn->Handle));
    EXPECT_TRUE(harness::IsEnabled(whenOff->Handle));
    EXPECT_FALSE(IsTopMost(floating.Handle));
    EXPECT_FALSE(floating.TopMost);
}

TEST(CheckBoxTest, RadioGroup_bindingsFollowTheButtonUncheckedByItsNeighbour)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::RadioButton> file = kit::RadioButton::Create(&host, L"ファイル", RECT{10, 10, 150, 30}, 1040, true);
    boost::shared_ptr<kit::RadioButton> clipboard =
        kit::RadioButton::Create(&host, L"クリップボード", RECT{10, 40, 150, 60}, 1041, false);
    boost::shared_ptr<kit::Button> browse = kit::Button::Create(&host, L"...", RECT{160, 10, 200, 30});
    ASSERT_TRUE(file && clipboard && browse);
    file->SetChecked(true);
    file->AddBinding(browse.get(), kit::BindEnable, 1);
    EXPECT_TRUE(harness::IsEnabled(browse->Handle));
    harness::Click(clipboard->Handle);
    EXPECT_TRUE(clipboard->IsChecked());
    EXPECT_FALSE(file->IsChecked());
    EXPECT_FALSE(harness::IsEnabled(browse->Handle));
    harness::Click(file->Handle);
    EXPECT_TRUE(harness::IsEnabled(browse->Handle));
}

TEST(CheckBoxTest, LoadAndSave_fourByteCheckOrTheDefault)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::CheckBox> box = kit::CheckBox::Create(&host, L"CRC32", RECT{10, 10, 150, 30}, 1004);
    ASSERT_TRUE(box);
    kit::SettingsNode section;
    box->LoadCheck(section, 1);
    EXPECT_TRUE(box->IsChecked()) << "missing value: the default";
    box->SaveCheck(section);
    ASSERT_EQ(1u, section.Values.count(L"Check"));
    EXPECT_EQ(4u, section.Values[L"Check"].size());
    EXPECT_EQ(1, section.GetInt(L"Check", -1));

    section.SetInt(L"Check", 0);
    box->LoadCheck(section, 1);
    EXPECT_FALSE(box->IsChecked());
    box->SaveCheck(section);
    EXPECT_EQ(0, section.GetInt(L"Check", -1));

    // a one-byte value is not a check box state: the default applies
    section.SetBool(L"Check", false);
    box->LoadCheck(section, 1);
    EXPECT_TRUE(box->IsChecked());
}

TEST(CheckBoxTest, Attach_failsForAMissingItem)
{
    harness::HostWindow host;
    EXPECT_FALSE(kit::CheckBox::Attach(&host, 4711));
    EXPECT_FALSE(kit::RadioButton::Attach(&host, 4711));
    EXPECT_TRUE(host.Children.empty()) << "the half-built object left its parent";
}

} // namespace
