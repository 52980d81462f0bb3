// The GUI test harness itself: what it sends must be what the system would send, and what it reads must be what
// the user sees, or every GUI test built on it proves nothing.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "kit/ui/ListView.h"
#include "kit/ui/ListViewItem.h"
#include "tests/harness/Harness.h"

namespace {

// keeps what a drop and a key brought
class DropTarget : public kit::Window {
public:
    std::vector<std::wstring> Dropped;
    POINT Point = {-1, -1};
    bool CtrlSeen = false;
    std::vector<UINT> Keys;

    LRESULT OnDropFiles(WPARAM wParam, LPARAM) override
    {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t path[MAX_PATH] = {};
            DragQueryFileW(drop, i, path, MAX_PATH);
            Dropped.push_back(path);
        }
        DragQueryPoint(drop, &Point);
        DragFinish(drop);
        return 0;
    }
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override
    {
        Keys.push_back(static_cast<UINT>(wParam));
        CtrlSeen = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        return DefaultProc(WM_KEYDOWN, wParam, lParam);
    }
};

} // namespace

TEST(Harness, DropFiles_deliversARealHdrop)
{
    harness::HostWindow host;
    DropTarget target;
    ASSERT_TRUE(target.Create(&host, L"JuxtaHarnessDrop", L"", WS_CHILD | WS_VISIBLE, 0));
    const std::vector<std::wstring> paths = {L"C:\\a\\one.txt", L"C:\\b\\日本語 フォルダ"};
    harness::DropFiles(target.Handle, paths, POINT{12, 34});
    EXPECT_EQ(paths, target.Dropped);
    EXPECT_EQ(12, target.Point.x);
    EXPECT_EQ(34, target.Point.y);
}

TEST(Harness, PressKey_holdsModifiersOnlyDuringTheKey)
{
    harness::HostWindow host;
    DropTarget target;
    ASSERT_TRUE(target.Create(&host, L"JuxtaHarnessDrop", L"", WS_CHILD | WS_VISIBLE, 0));
    harness::PressKey(target.Handle, 'A', harness::Ctrl);
    EXPECT_EQ(std::vector<UINT>{'A'}, target.Keys);
    EXPECT_TRUE(target.CtrlSeen);
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
    harness::PressKey(target.Handle, VK_F2);
    EXPECT_FALSE(target.CtrlSeen);
}

TEST(Harness, PumpUntil_isBoundedAndSeesPostedWork)
{
    harness::HostWindow host;
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(harness::PumpUntil([] { return false; }, 200));
    const ULONGLONG spent = GetTickCount64() - start;
    EXPECT_GE(spent, 190u);
    EXPECT_LT(spent, 3000u);

    PostMessageW(host.Handle, WM_COMMAND, MAKEWPARAM(9, 0), 0);
    EXPECT_TRUE(harness::PumpUntil([&] { return host.CountCommands(9) == 1; }, 2000));
    PostQuitMessage(0);
    harness::PumpPending();
    EXPECT_TRUE(harness::QuitReceived());
    harness::ClearQuit();
}

TEST(Harness, DialogWatcher_cancelsAnUnexpectedBoxAndKeepsItsText)
{
    harness::HostWindow host;
    harness::DialogWatcher watcher;
    watcher.SetUnexpectedTimeout(200);
    EXPECT_EQ(IDCANCEL, MessageBoxW(host.Handle, L"予期しない", L"", MB_OKCANCEL));
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_FALSE(watcher.Seen()[0].Expected);
    EXPECT_EQ(L"予期しない", watcher.Seen()[0].Text);
}

TEST(Harness, TempFolder_isPrivateAndRemovedWithItsContent)
{
    std::wstring root;
    {
        harness::TempFolder folder;
        harness::TempFolder other;
        root = folder.Path();
        EXPECT_NE(root, other.Path());
        const std::wstring file = folder.WriteFile(L"sub\\deeper\\file.bin", std::string("\0\1\2", 3));
        ASSERT_FALSE(file.empty());
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(3u, data.nFileSizeLow);
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(root.c_str()));
}

TEST(Harness, ListReadback_cellsAndCustomDrawColours)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::ListView> list = kit::ListView::Create(&host, 100, false);
    ASSERT_TRUE(list);
    SetWindowPos(list->Handle, nullptr, 0, 0, 400, 200, SWP_NOZORDER);
    list->SetBehaviour(kit::ListView::ColorDrawing);
    list->AddColumn(L"名前", 100, LVCFMT_LEFT);
    list->AddColumn(L"CRC32", 100, LVCFMT_LEFT);
    kit::ListViewItem* row = list->AddItem(L"a.txt");
    row->SetText(1, L"ABCDEF01");
    row->SetColors(RGB(1, 2, 3), RGB(0xFF, 0xFF, 0));
    list->AddItem(L"b.txt");

    EXPECT_EQ(2, harness::ListRowCount(list->Handle));
    EXPECT_EQ(2, harness::ListColumnCount(list->Handle));
    EXPECT_EQ(L"CRC32", harness::ListHeaderText(list->Handle, 1));
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"ABCDEF01"}), harness::ListRowTexts(list->Handle, 0));
    const harness::CellColors colors = harness::ListCellColors(list->Handle, 0, 1);
    EXPECT_EQ(RGB(1, 2, 3), colors.Text);
    EXPECT_EQ(RGB(0xFF, 0xFF, 0), colors.Back);
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), harness::ListCellColors(list->Handle, 1, 0).Back);
}
