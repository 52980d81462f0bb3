// kit::StatusBar: panes with texts, icons and widths; changing one width moves the later right edges.
#include "kit/ui/StatusBar.h"

#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusBarTest, Panes_widthsAndTexts)
{
    harness::HostWindow host(600, 300);
    boost::shared_ptr<kit::StatusBar> bar = kit::StatusBar::Create(&host);
    ASSERT_TRUE(bar);
    EXPECT_EQ(kit::StatusBar::ControlId, GetDlgCtrlID(bar->Handle));
    bar->AddPane(100);
    for (int i = 0; i < 5; ++i)
        bar->AddPane(64);
    bar->AddPane(100);
    ASSERT_EQ(7, bar->GetPaneCount());
    EXPECT_EQ((std::vector<int>{100, 164, 228, 292, 356, 420, 520}), bar->GetRightEdges());

    // a window 500 wide gives the outer panes (500 - 320) / 2
    bar->GetPane(0)->SetWidth(90);
    bar->GetPane(6)->SetWidth(90);
    EXPECT_EQ((std::vector<int>{90, 154, 218, 282, 346, 410, 500}), bar->GetRightEdges());
    EXPECT_EQ(64, bar->GetPane(3)->GetWidth());
    EXPECT_EQ(90, bar->GetPane(6)->GetWidth());

    bar->GetPane(1)->SetText(L"\t○:12");
    bar->GetPane(6)->SetText(L" 3 ファイル  1,234 Byte ");
    EXPECT_EQ(L"\t○:12", bar->GetPane(1)->GetText());
    EXPECT_EQ(L" 3 ファイル  1,234 Byte ", bar->GetPane(6)->GetText());
    EXPECT_EQ(nullptr, bar->GetPane(7));

    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    bar->GetPane(0)->SetIcon(icon);
    EXPECT_EQ(icon, bar->GetPane(0)->GetIcon());
    bar->GetPane(0)->SetIcon(nullptr);
    EXPECT_EQ(nullptr, bar->GetPane(0)->GetIcon());
}

} // namespace
