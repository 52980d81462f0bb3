// kit::ReberControl: a toolbar band shown and hidden by its child, and the parent laid out when the height changes.
#include "kit/ui/ReberControl.h"

#include "kit/ui/ToolBar.h"
#include "resources/resource.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

class SizeCounter : public harness::HostWindow {
public:
    int Sizes = 0;
    LRESULT OnSize(WPARAM wParam, LPARAM lParam) override
    {
        ++Sizes;
        return HostWindow::OnSize(wParam, lParam);
    }
};

TEST(ReberControlTest, Band_showAndHideByChild)
{
    SizeCounter host;
    boost::shared_ptr<kit::ReberControl> rebar = kit::ReberControl::Create(&host, 0);
    ASSERT_TRUE(rebar);
    boost::shared_ptr<kit::ToolBar> bar =
        kit::ToolBar::Create(rebar.get(), TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | WS_VISIBLE, 0, nullptr, 16, 16);
    ASSERT_TRUE(bar);
    bar->AddButton(0, ID_CLEAR, BTNS_BUTTON);
    const int sizesBefore = host.Sizes;
    kit::ReberControlBand* band = rebar->AddBand(bar.get(), 0, 7, 0, 200);
    ASSERT_NE(nullptr, band);
    EXPECT_EQ(band, rebar->FindBand(bar.get()));
    EXPECT_EQ(7, band->GetId());
    EXPECT_EQ(0, band->GetIndex());
    EXPECT_EQ(1, static_cast<int>(SendMessageW(rebar->Handle, RB_GETBANDCOUNT, 0, 0)));
    harness::PumpPending();
    EXPECT_GT(host.Sizes, sizesBefore) << "the new band's height relaid the parent out";

    EXPECT_TRUE(rebar->IsBandVisible(bar.get()));
    EXPECT_TRUE(rebar->ShowBand(bar.get(), false));
    EXPECT_FALSE(rebar->IsBandVisible(bar.get()));
    EXPECT_TRUE(rebar->ShowBand(bar.get(), true));
    EXPECT_TRUE(rebar->IsBandVisible(bar.get()));
    EXPECT_FALSE(rebar->ShowBand(&host, false)) << "no band holds the host";
}

} // namespace
