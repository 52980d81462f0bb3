// kit::Dialog and kit::ModalDialog: dialogs from resources, the dialog registry and modeless keyboard handling.
#include <gtest/gtest.h>

#include <windows.h>

#include "kit/ui/Dialog.h"
#include "kit/ui/ModalDialog.h"
#include "tests/harness/Harness.h"

namespace {

const int MessageResource = 107;
const int MessageText = 1030;

// ends on Cancel with a value of its own and records the commands it sees
class TestModal : public kit::ModalDialog {
public:
    std::vector<UINT> Commands;
    bool WasRegistered = false;
    kit::Window* ParentAtInit = nullptr;

    LRESULT OnInitDialog(WPARAM, LPARAM) override
    {
        SetDlgItemTextW(Handle, MessageText, L"モーダル");
        WasRegistered = kit::Dialog::Registry().count(this) != 0;
        ParentAtInit = Parent;
        return TRUE;
    }
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        Commands.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(Handle, 42);
            return TRUE;
        }
        return ModalDialog::OnCommand(wParam, lParam);
    }
};

class TestModeless : public kit::Dialog {
public:
    std::vector<UINT> Commands;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        Commands.push_back(LOWORD(wParam));
        return Dialog::OnCommand(wParam, lParam);
    }
};

} // namespace

TEST(Dialog, DoModal_showsResourceAndReturnsWhenAnswered)
{
    harness::HostWindow host;
    harness::DialogWatcher watcher;
    watcher.Answer(IDCANCEL);
    {
        TestModal dialog;
        EXPECT_EQ(42, dialog.DoModal(MessageResource, &host));
        EXPECT_TRUE(dialog.WasRegistered);
        EXPECT_EQ((std::vector<UINT>{IDCANCEL}), dialog.Commands);
        EXPECT_EQ(nullptr, dialog.Handle);
        EXPECT_EQ(&host, dialog.ParentAtInit);
        // the ended dialog has left the window tree
        EXPECT_EQ(nullptr, dialog.Parent);
        EXPECT_TRUE(host.Children.empty());
        ASSERT_EQ(1u, watcher.Seen().size());
        EXPECT_EQ(L"モーダル", watcher.Seen()[0].Text);
        EXPECT_EQ(host.Handle, watcher.Seen()[0].Owner);
        EXPECT_EQ(1u, kit::Dialog::Registry().count(&dialog));
    }
    EXPECT_TRUE(kit::Dialog::Registry().empty());
    // the owner is enabled again and got nothing from the dialog
    EXPECT_TRUE(harness::IsEnabled(host.Handle));
    EXPECT_EQ(0u, host.CountCommands(IDCANCEL));
}

TEST(Dialog, DoModal_missingResourceReturnsAtOnce)
{
    harness::HostWindow host;
    TestModal dialog;
    EXPECT_EQ(-1, dialog.DoModal(4711, &host));
    EXPECT_TRUE(dialog.Commands.empty());
}

TEST(Dialog, Modeless_keysGoThroughTheLoopButNotThroughPumpMessages)
{
    harness::HostWindow host;
    TestModeless dialog;
    ASSERT_TRUE(dialog.CreateModeless(MessageResource, &host));
    ShowWindow(dialog.Handle, SW_SHOW);

    // PumpMessages dispatches the key straight to the window: the dialog manager never sees it
    PostMessageW(dialog.Handle, WM_KEYDOWN, VK_ESCAPE, 1);
    kit::PumpMessages();
    EXPECT_TRUE(dialog.Commands.empty());

    // the program's loop offers it to the dialog first, which turns Esc into Cancel
    PostMessageW(dialog.Handle, WM_KEYDOWN, VK_ESCAPE, 1);
    PostQuitMessage(0);
    kit::RunMessageLoop();
    EXPECT_EQ((std::vector<UINT>{IDCANCEL}), dialog.Commands);

    // Enter gives the default button's command (IDOK when the dialog has none) the same way
    harness::PostKey(dialog.Handle, VK_RETURN);
    ASSERT_EQ(2u, dialog.Commands.size());
    EXPECT_EQ(static_cast<UINT>(IDOK), dialog.Commands[1]);
    // and never reaches the main window
    EXPECT_TRUE(host.Received.empty());

    HWND handle = dialog.Handle;
    EXPECT_TRUE(IsWindow(handle));
}

TEST(Dialog, Modeless_windowGoesWithTheObject)
{
    harness::HostWindow host;
    HWND handle = nullptr;
    {
        TestModeless dialog;
        ASSERT_TRUE(dialog.CreateModeless(MessageResource, &host));
        handle = dialog.Handle;
        EXPECT_TRUE(IsWindow(handle));
        EXPECT_EQ(1u, host.Children.count(&dialog));
    }
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(host.Children.empty());
    EXPECT_FALSE(TestModeless().CreateModeless(4711, &host));
}
