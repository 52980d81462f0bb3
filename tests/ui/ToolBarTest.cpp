// kit::ToolBar and kit::ToolBarButton: buttons found by command, check and enabled states, tooltips.
#include "kit/ui/ToolBar.h"

#include "kit/ui/ToolTip.h"
#include "resources/resource.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolBarTest, Buttons_foundByCommandWithTheirStates)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::ToolBar> bar = kit::ToolBar::Create(&host, TBSTYLE_FLAT | WS_VISIBLE, 0, nullptr, 16, 16);
    ASSERT_TRUE(bar);
    kit::ToolBarButton* clear = bar->AddButton(3, ID_CLEAR, BTNS_BUTTON);
    bar->AddButton(0, 0, BTNS_SEP);
    kit::ToolBarButton* toolbar = bar->AddButton(4, ID_VIEW_TOOLBAR, BTNS_CHECK, TBSTATE_WRAP);
    ASSERT_TRUE(clear && toolbar);
    EXPECT_EQ(3, bar->GetButtonCount());
    EXPECT_EQ(3, static_cast<int>(SendMessageW(bar->Handle, TB_BUTTONCOUNT, 0, 0)));
    EXPECT_EQ(toolbar, bar->FindButton(ID_VIEW_TOOLBAR));
    EXPECT_EQ(2, toolbar->GetIndex());
    EXPECT_EQ(nullptr, bar->FindButton(12345));
    EXPECT_TRUE(SendMessageW(bar->Handle, TB_GETSTATE, ID_VIEW_TOOLBAR, 0) & TBSTATE_WRAP);

    toolbar->SetChecked(true);
    EXPECT_TRUE(toolbar->IsChecked());
    EXPECT_TRUE(harness::IsToolbarButtonChecked(bar->Handle, ID_VIEW_TOOLBAR));
    clear->SetEnabled(false);
    EXPECT_FALSE(clear->IsEnabled());
    EXPECT_FALSE(harness::IsToolbarButtonEnabled(bar->Handle, ID_CLEAR));

    // a click reaches the parent as the button's command
    harness::ClickToolbarButton(bar->Handle, ID_VIEW_TOOLBAR);
    EXPECT_EQ(1u, host.CountCommands(ID_VIEW_TOOLBAR));
}

TEST(ToolBarTest, AddTip_textOverTheButton)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::ToolBar> bar = kit::ToolBar::Create(&host, TBSTYLE_FLAT | WS_VISIBLE, 0, nullptr, 16, 16);
    ASSERT_TRUE(bar && bar->GetTips());
    kit::ToolBarButton* add = bar->AddButton(0, ID_ADD_FILES_LEFT, BTNS_BUTTON);
    ASSERT_TRUE(add->AddTip(L"ファイルの追加"));
    kit::ToolBarButton* remove = bar->AddButton(2, ID_REMOVE_LEFT, BTNS_BUTTON);
    ASSERT_TRUE(remove->AddTip(L"リストから削除"));
    EXPECT_EQ(bar->GetTips()->Handle, reinterpret_cast<HWND>(SendMessageW(bar->Handle, TB_GETTOOLTIPS, 0, 0)));
    EXPECT_EQ(L"ファイルの追加", bar->GetTips()->GetToolText(bar->Handle, ID_ADD_FILES_LEFT));
    EXPECT_EQ(L"リストから削除", bar->GetTips()->GetToolText(bar->Handle, ID_REMOVE_LEFT));
    // one tool per button, whatever the toolbar added on its own
    EXPECT_EQ(2, bar->GetTips()->GetToolCount());
}

} // namespace
