// kit::ProgressBar::SetPos: a step beyond and back so the themed bar shows the value at once, and nothing sent when
// the maximum is set twice.
#include "kit/ui/ProgressBar.h"

#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

std::vector<WPARAM> Sent;

LRESULT CALLBACK CountPositions(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == PBM_SETPOS)
        Sent.push_back(wParam);
    return DefSubclassProc(window, message, wParam, lParam);
}

class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bar = kit::ProgressBar::Create(&Host, 0, RECT{10, 10, 300, 30}, 1050);
        ASSERT_TRUE(Bar);
        SetWindowSubclass(Bar->Handle, CountPositions, 77, 0);
        Bar->SetRange(100);
        Sent.clear();
    }
    void TearDown() override { RemoveWindowSubclass(Bar->Handle, CountPositions, 77); }

    int Shown() const { return static_cast<int>(SendMessageW(Bar->Handle, PBM_GETPOS, 0, 0)); }

    harness::HostWindow Host;
    boost::shared_ptr<kit::ProgressBar> Bar;
};

TEST_F(ProgressBarTest, SetPos_goesOneBeyondAndBack)
{
    Bar->SetPos(40);
    EXPECT_EQ((std::vector<WPARAM>{41, 40}), Sent);
    EXPECT_EQ(40, Shown());
    EXPECT_EQ(40, Bar->GetPosition());
    Sent.clear();
    Bar->SetPos(0);
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), Sent);
    EXPECT_EQ(0, Shown());
}

TEST_F(ProgressBarTest, SetPos_maximumTwiceSendsNothingTheSecondTime)
{
    Bar->SetPos(99);
    Sent.clear();
    Bar->SetPos(100);
    EXPECT_EQ((std::vector<WPARAM>{100, 99, 100}), Sent);
    EXPECT_EQ(100, Shown());
    Sent.clear();
    Bar->SetPos(100);
    EXPECT_TRUE(Sent.empty());
    EXPECT_EQ(100, Shown());
    // back below and up again: the maximum is shown once more
    Bar->SetPos(50);
    Sent.clear();
    Bar->SetPos(100);
    EXPECT_EQ((std::vector<WPARAM>{100, 99, 100}), Sent);
}

TEST_F(ProgressBarTest, SetPos_fromAWorkerThread)
{
    std::thread worker([this] {
        for (int i = 0; i <= 100; i += 10)
            Bar->SetPos(i);
    });
    // the worker's SendMessageW calls are served while the GUI thread pumps
    EXPECT_TRUE(harness::PumpUntil([this] { return Bar->GetPosition() == 100; }));
    worker.join();
    EXPECT_EQ(100, Shown());
    EXPECT_EQ(WPARAM(100), Sent.back());
}

} // namespace
