// kit::Menu: the walk over pop-ups, item lookup, check marks kept in the settings (one byte "Check" per command id),
// and windows bound to a check-mark item.
#include "kit/ui/Menu.h"

#include "kit/core/SettingsNode.h"
#include "kit/ui/StaticText.h"
#include "kit/ui/ToolBar.h"
#include "resources/resource.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

// bar: "File" (100, 101 checked, separator, "Sub" with 102), "View" (200 checked, 201)
HMENU MakeMenu()
{
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 102, L"Deep");
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 100, L"One");
    AppendMenuW(file, MF_STRING | MF_CHECKED, 101, L"Two");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Sub");
    HMENU view = CreatePopupMenu();
    AppendMenuW(view, MF_STRING | MF_CHECKED, 200, L"Toolbar");
    AppendMenuW(view, MF_STRING, 201, L"Topmost");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"View");
    return bar;
}

TEST(MenuTest, Walk_itemsByIdAndSubmenusByPosition)
{
    boost::shared_ptr<kit::Menu> menu = kit::Menu::Adopt(MakeMenu());
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menu->GetItems().empty());
    ASSERT_EQ(2u, menu->GetSubMenus().size());
    kit::Menu* file = menu->GetSubMenu(0);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(menu.get(), file->GetParent());
    EXPECT_EQ(2u, file->GetItems().size()) << "the separator is no item";
    EXPECT_EQ(nullptr, menu->GetSubMenu(2));

    kit::MenuItem* deep = menu->FindItem(102);
    ASSERT_NE(nullptr, deep);
    EXPECT_EQ(file->GetSubMenu(3), deep->GetOwner());
    EXPECT_EQ(0, deep->GetPosition());
    EXPECT_EQ(3, deep->GetOwner()->GetPosition());
    EXPECT_TRUE(menu->FindItem(101)->IsChecked());
    EXPECT_FALSE(menu->FindItem(100)->IsChecked());
    EXPECT_EQ(nullptr, menu->FindItem(999));

    menu->FindItem(100)->SetChecked(true);
    EXPECT_TRUE(harness::IsMenuItemChecked(menu->GetHandle(), 100));
    menu->FindItem(100)->SetEnabled(false);
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu->GetHandle(), 100));
    EXPECT_TRUE(menu->FindItem(100)->GetState() & MFS_DISABLED);
}

TEST(MenuTest, Load_theMenuBarResource)
{
    boost::shared_ptr<kit::Menu> menu = kit::Menu::Load(IDR_MENU);
    ASSERT_TRUE(menu);
    EXPECT_EQ(4u, menu->GetSubMenus().size());
    kit::MenuItem* left = menu->FindItem(ID_ADD_FILES_LEFT);
    ASSERT_NE(nullptr, left);
    // inside the pop-up "ファイルを登録(&F)" of the file menu
    EXPECT_EQ(menu->GetSubMenu(MENU_FILE_POSITION), left->GetOwner()->GetParent());
    kit::Menu* view = menu->GetSubMenu(MENU_VIEW_POSITION);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(1u, view->GetItems().count(ID_VIEW_TOPMOST));
    EXPECT_FALSE(kit::Menu::Load(4711));
}

TEST(MenuTest, SaveChecks_oneByteCheckPerItemOfEveryPopup)
{
    boost::shared_ptr<kit::Menu> menu = kit::Menu::Adopt(MakeMenu());
    kit::SettingsNode section;
    menu->SaveChecks(section);
    EXPECT_EQ(5u, section.Children.size());
    for (const wchar_t* id : {L"100", L"101", L"102", L"200", L"201"}) {
        const kit::SettingsNode* node = section.FindChild(id);
        ASSERT_NE(nullptr, node) << id;
        ASSERT_EQ(1u, node->Values.at(L"Check").size()) << id;
    }
    EXPECT_TRUE(section.Child(L"101").GetBool(L"Check"));
    EXPECT_TRUE(section.Child(L"200").GetBool(L"Check"));
    EXPECT_FALSE(section.Child(L"102").GetBool(L"Check"));
}

TEST(MenuTest, LoadChecks_storedStateMissingKeepsAndWrongLengthUnchecks)
{
    boost::shared_ptr<kit::Menu> menu = kit::Menu::Adopt(MakeMenu());
    kit::SettingsNode section;
    section.Child(L"100").SetBool(L"Check", true);
    section.Child(L"102").SetBool(L"Check", true);
    section.Child(L"101").SetInt(L"Check", 1); // four bytes: not a menu check
    section.Child(L"201");                     // a node without a value
    menu->LoadChecks(section);
    EXPECT_TRUE(menu->FindItem(100)->IsChecked());
    EXPECT_TRUE(menu->FindItem(102)->IsChecked());
    EXPECT_FALSE(menu->FindItem(101)->IsChecked());
    EXPECT_TRUE(menu->FindItem(200)->IsChecked()) << "no node: the resource state stays";
    EXPECT_FALSE(menu->FindItem(201)->IsChecked());

    // round trip through a settings tree
    kit::SettingsNode saved;
    menu->SaveChecks(saved);
    boost::shared_ptr<kit::Menu> fresh = kit::Menu::Adopt(MakeMenu());
    fresh->LoadChecks(saved);
    for (UINT id : {100u, 101u, 102u, 200u, 201u})
        EXPECT_EQ(menu->FindItem(id)->IsChecked(), fresh->FindItem(id)->IsChecked()) << id;
}

// a check-mark item with windows bound to it: the command toggles the mark, the toolbar button and the windows
TEST(MenuTest, Bindings_windowsFollowTheCheckMark)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::Menu> menu = kit::Menu::Adopt(MakeMenu());
    host.SetMenu(menu);
    EXPECT_EQ(&host, menu->GetOwnerWindow());
    EXPECT_EQ(&host, menu->GetSubMenu(1)->GetOwnerWindow());
    boost::shared_ptr<kit::ToolBar> bar = kit::ToolBar::Create(&host, TBSTYLE_FLAT | WS_VISIBLE, 0, nullptr, 16, 16);
    ASSERT_TRUE(bar);
    bar->AddButton(0, 200, BTNS_CHECK);
    boost::shared_ptr<kit::StaticText> panel = kit::StaticText::Create(&host, L"panel", 0, RECT{10, 50, 100, 70});
    boost::shared_ptr<kit::StaticText> switched = kit::StaticText::Create(&host, L"sw", 0, RECT{10, 80, 100, 100});
    host.AddMenuBinding(menu->FindItem(200), bar.get(), panel.get(), kit::BindShow);
    host.AddMenuBinding(menu->FindItem(200), bar.get(), switched.get(), kit::BindDisable);
    // the item starts checked: the panel shows, the button is pressed, the other control is disabled
    EXPECT_TRUE(harness::IsVisible(panel->Handle));
    EXPECT_TRUE(harness::IsToolbarButtonChecked(bar->Handle, 200));
    EXPECT_FALSE(harness::IsEnabled(switched->Handle));

    harness::SendCommand(host.Handle, 200);
    EXPECT_FALSE(menu->FindItem(200)->IsChecked());
    EXPECT_FALSE(harness::IsVisible(panel->Handle));
    EXPECT_FALSE(harness::IsToolbarButtonChecked(bar->Handle, 200));
    EXPECT_TRUE(harness::IsEnabled(switched->Handle));

    harness::SendCommand(host.Handle, 200);
    EXPECT_TRUE(menu->FindItem(200)->IsChecked());
    EXPECT_TRUE(harness::IsVisible(panel->Handle));
    EXPECT_TRUE(harness::IsToolbarButtonChecked(bar->Handle, 200));
    host.SetMenu(boost::shared_ptr<kit::Menu>());
}

} // namespace
