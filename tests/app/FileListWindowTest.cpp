// A side window: the hint until the first registration, the side toolbar on the outer edge, the layout.
#include "tests/app/MainWindowTesting.h"

#include "kit/ui/ReberControl.h"
#include "kit/ui/StaticText.h"
#include "kit/ui/ToolTip.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

class FileListWindowTest : public MainWindowFixture {
protected:
    RECT InSide(int side, HWND child)
    {
        RECT rect = harness::WindowRect(child);
        MapWindowPoints(HWND_DESKTOP, Main->GetSideWindow(side)->Handle, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    int ClientWidth(int side)
    {
        RECT client = {};
        GetClientRect(Main->GetSideWindow(side)->Handle, &client);
        return client.right;
    }
};

TEST_F(FileListWindowTest, OnCreate_hintUntilTheFirstFile)
{
    Start();
    for (int side = 0; side < 2; ++side) {
        FileListWindow& window = *Main->GetSideWindow(side);
        HWND hint = harness::FindChildByText(window.Handle, L"ファイル・フォルダをD&Dで登録できます");
        ASSERT_NE(nullptr, hint) << side;
        EXPECT_TRUE(IsWindowVisible(hint));
        EXPECT_FALSE(IsWindowVisible(window.List->Handle));
        EXPECT_EQ(static_cast<LONG_PTR>(SS_CENTER | SS_NOPREFIX | SS_NOTIFY | SS_CENTERIMAGE),
                  GetWindowLongPtrW(hint, GWL_STYLE) & 0xFFFF);
        // the hint covers the list's place
        const RECT hintRect = InSide(side, hint);
        const RECT listRect = InSide(side, window.List->Handle);
        EXPECT_TRUE(EqualRect(&hintRect, &listRect));
        EXPECT_NE(0, GetWindowLongW(window.Handle, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        EXPECT_EQ(side == 0 ? IDC_LEFT_FILE_LIST : IDC_RIGHT_FILE_LIST, GetDlgCtrlID(window.List->Handle));
    }
    RegisterFile(0, Folder.WriteFile(L"a\\x.bin", "1"));
    EXPECT_FALSE(Main->GetSideWindow(0)->HasDropHint());
    EXPECT_EQ(nullptr, harness::FindChildByText(Main->GetSideWindow(0)->Handle, L"ファイル・フォルダをD&Dで登録できます"));
    EXPECT_TRUE(IsWindowVisible(List(0).Handle));
    // the other side still waits for its first file
    EXPECT_TRUE(Main->GetSideWindow(1)->HasDropHint());
}

// The side lists and the mark list show the system's small icons; a list that goes must leave them to the shell
TEST_F(FileListWindowTest, Close_leavesTheSystemIconsAlone)
{
    Start();
    SHFILEINFOW info = {};
    const HIMAGELIST system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_TRUE(system);
    const int count = ImageList_GetImageCount(system);
    ASSERT_GT(count, 0);
    for (HWND list : {List(0).Handle, List(1).Handle, Marks().Handle})
        EXPECT_NE(0, GetWindowLongPtrW(list, GWL_STYLE) & LVS_SHAREIMAGELISTS);
    Close();
    EXPECT_EQ(count, ImageList_GetImageCount(system));
}

TEST_F(FileListWindowTest, OnSize_toolbarStripsOnTheOuterEdges)
{
    Start();
    RegisterFile(0, Folder.WriteFile(L"a\\x.bin", "1"));
    RegisterFile(1, Folder.WriteFile(L"b\\y.bin", "1"));
    const RECT leftBar = InSide(0, Main->GetSideWindow(0)->Rebar->Handle);
    const RECT rightBar = InSide(1, Main->GetSideWindow(1)->Rebar->Handle);
    ASSERT_GT(leftBar.right - leftBar.left, 10);
    // the rebar keeps its divider's two pixels off the edge
    EXPECT_LE(leftBar.left, 2);
    EXPECT_GE(rightBar.right, ClientWidth(1) - 2);
    EXPECT_LE(rightBar.right, ClientWidth(1));
    const RECT leftList = InSide(0, List(0).Handle);
    const RECT rightList = InSide(1, List(1).Handle);
    EXPECT_EQ(leftBar.right, leftList.left);
    EXPECT_EQ(ClientWidth(0), leftList.right);
    EXPECT_EQ(0, rightList.left);
    EXPECT_EQ(rightBar.left, rightList.right);

    // hidden side toolbars: each list takes the whole width of its window
    harness::SendCommand(Main->Handle, ID_VIEW_SIDE_TOOLBAR);
    harness::PumpPending();
    EXPECT_FALSE(IsWindowVisible(Main->GetSideWindow(0)->Rebar->Handle));
    for (int side = 0; side < 2; ++side) {
        const RECT list = InSide(side, List(side).Handle);
        EXPECT_EQ(0, list.left) << side;
        EXPECT_EQ(ClientWidth(side), list.right) << side;
    }
}

TEST_F(FileListWindowTest, OnCreate_sideToolbarButtons)
{
    Start();
    const int left[] = {ID_ADD_FILES_LEFT, ID_ADD_FOLDER_LEFT, ID_REMOVE_LEFT, 0, ID_HASH_DIALOG_LEFT, ID_OPEN_LEFT,
                        0, ID_COPY_CRC32_LEFT, ID_COPY_MD5_LEFT, ID_COPY_SHA1_LEFT};
    const int right[] = {ID_ADD_FILES_RIGHT, ID_ADD_FOLDER_RIGHT, ID_REMOVE_RIGHT, 0, ID_HASH_DIALOG_RIGHT,
                         ID_OPEN_RIGHT, 0, ID_COPY_CRC32_RIGHT, ID_COPY_MD5_RIGHT, ID_COPY_SHA1_RIGHT};
    const int images[] = {0, 1, 2, -1, 16, 11, -1, 8, 9, 10};
    for (int side = 0; side < 2; ++side) {
        kit::ToolBar& bar = *Main->GetSideWindow(side)->SideToolBar;
        ASSERT_EQ(10, SendMessageW(bar.Handle, TB_BUTTONCOUNT, 0, 0));
        for (int index = 0; index < 10; ++index) {
            TBBUTTON button = {};
            SendMessageW(bar.Handle, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
            EXPECT_EQ(side == 0 ? left[index] : right[index], button.idCommand) << index;
            if (images[index] >= 0) {
                EXPECT_EQ(images[index], button.iBitmap) << index;
            } else {
                EXPECT_NE(0, button.fsStyle & BTNS_SEP) << index;
            }
        }
        EXPECT_EQ(L"ファイルの追加", bar.GetTips()->GetToolText(bar.Handle, side == 0 ? left[0] : right[0]));
        EXPECT_EQ(L"SHA-1をコピー", bar.GetTips()->GetToolText(bar.Handle, side == 0 ? left[9] : right[9]));
        // one button per row: every button starts at the same x, each below the one before
        RECT previous = {};
        SendMessageW(bar.Handle, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&previous));
        for (int index = 1; index < 10; ++index) {
            if (images[index] < 0)
                continue;
            RECT rect = {};
            SendMessageW(bar.Handle, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
            EXPECT_EQ(previous.left, rect.left) << index;
            EXPECT_GE(rect.top, previous.bottom) << index;
            previous = rect;
        }
    }
}

} // namespace
