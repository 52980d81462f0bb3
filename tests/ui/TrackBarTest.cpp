// kit::TrackBar: a bound window shows the position as text after each repaint of the bar.
#include "kit/ui/TrackBar.h"

#include "kit/ui/StaticText.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

TEST(TrackBarTest, PositionText_followsTheBar)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::TrackBar> bar = kit::TrackBar::Create(&host, TBS_HORZ, RECT{10, 10, 300, 40}, 1020);
    boost::shared_ptr<kit::StaticText> label = kit::StaticText::Create(&host, L"", 0, RECT{310, 10, 360, 30});
    ASSERT_TRUE(bar && label);
    bar->SetRange(1, 64);
    bar->SetPosition(8);
    bar->AddBinding(label.get(), kit::BindPositionText);
    EXPECT_EQ(L"8", label->GetText()) << "applied at once";

    bar->SetPosition(20);
    EXPECT_TRUE(harness::PumpUntil([&] { return label->GetText() == L"20"; })) << harness::WindowText(label->Handle);

    SetFocus(bar->Handle);
    harness::PressKey(bar->Handle, VK_RIGHT);
    EXPECT_EQ(21, bar->GetPosition());
    EXPECT_TRUE(harness::PumpUntil([&] { return label->GetText() == L"21"; })) << harness::WindowText(label->Handle);
    harness::PressKey(bar->Handle, VK_END);
    EXPECT_TRUE(harness::PumpUntil([&] { return label->GetText() == L"64"; })) << harness::WindowText(label->Handle);
}

} // namespace
