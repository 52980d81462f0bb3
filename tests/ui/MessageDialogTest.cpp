// kit::MessageDialog: the busy window over a window whose thread is not in its loop.
#include <gtest/gtest.h>

#include <windows.h>

#include "kit/ui/MessageDialog.h"
#include "kit/ui/StaticText.h"
#include "tests/harness/Harness.h"

TEST(MessageDialog, Show_paintsTextAtOnceCentredOnOwner)
{
    harness::HostWindow host(640, 420);
    SetWindowPos(host.Handle, nullptr, 200, 150, 640, 420, SWP_NOZORDER);
    harness::PumpPending();
    HWND handle = nullptr;
    {
        kit::MessageDialog message(L"ファイル登録中…");
        ASSERT_TRUE(message.Show(&host));
        handle = message.Handle;
        // no pumping here: the caller goes straight on with its job
        EXPECT_TRUE(harness::IsVisible(handle));
        EXPECT_EQ(L"ファイル登録中…", harness::ItemText(handle, kit::MessageDialog::TextId));
        ASSERT_TRUE(message.Label);
        EXPECT_EQ(L"ファイル登録中…", message.Label->GetText());
        RECT pending;
        EXPECT_FALSE(GetUpdateRect(handle, &pending, FALSE));
        const POINT centre = harness::Centre(harness::WindowRect(handle));
        const POINT ownerCentre = harness::Centre(harness::WindowRect(host.Handle));
        EXPECT_NEAR(ownerCentre.x, centre.x, 1);
        EXPECT_NEAR(ownerCentre.y, centre.y, 1);
        // the owner stays usable: the window is modeless
        EXPECT_TRUE(harness::IsEnabled(host.Handle));
    }
    EXPECT_FALSE(IsWindow(handle));
}
