// The main window's commands on a real window: the enabling rules while a check runs, removal, clearing, stopping,
// re-checking, switching a hash kind, column widths, the list context menu, the clipboard and the add dialogs.
#include "tests/app/MainWindowTesting.h"

#include "app/check/CheckHashManager.h"
#include "app/lists/PairMarks.h"
#include "kit/ui/MessageDialog.h"
#include "kit/ui/ReberControl.h"
#include "kit/ui/StatusBarPane.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

const std::wstring Crc32Of_abc = L"352441C2";
const std::wstring Sha1Of_abc = L"A9993E364706816ABA3E25717850C26C9CD0D89D";

class CommandsTest : public MainWindowFixture {
protected:
    std::wstring Pane(int pane) { return Main->GetStatusBar()->GetPane(pane)->GetText(); }
    std::vector<std::wstring> Headers(int side)
    {
        std::vector<std::wstring> headers;
        HWND list = List(side).Handle;
        for (int column = 0; column < harness::ListColumnCount(list); ++column)
            headers.push_back(harness::ListHeaderText(list, column));
        return headers;
    }
    int Rows() { return Marks().GetItemCount(); }
    bool Finished(int side, int row)
    {
        FileListView::ItemInfo info;
        return List(side).GetItemInfo(row, info) && info.Finished;
    }
    void Select(int side, const std::vector<int>& rows)
    {
        for (int row : rows)
            List(side).SetRowSelected(row, true);
    }
    // the scheduler has finished its run (the appearance switches back on the way out)
    bool WaitIdle(int timeoutMs = 20000)
    {
        return harness::PumpUntil(
            [&] {
                return !Main->GetChecker()->IsChecking() &&
                       !harness::IsMenuItemEnabled(Main->GetMainMenu()->GetHandle(), ID_STOP);
            },
            timeoutMs);
    }
    std::wstring MenuText(HMENU menu, UINT command)
    {
        wchar_t text[256] = {};
        GetMenuStringW(menu, command, text, 256, MF_BYCOMMAND);
        return text;
    }
    bool MenuEnabled(HMENU menu, UINT command)
    {
        return !(GetMenuState(menu, command, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }
    std::wstring Clipboard()
    {
        std::wstring text;
        if (!OpenClipboard(Main->Handle))
            return L"<not open>";
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        } else {
            text = L"<none>";
        }
        CloseClipboard();
        return text;
    }
    void PutOnClipboard(const std::wstring& text)
    {
        ASSERT_TRUE(OpenClipboard(Main->Handle));
        EmptyClipboard();
        const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
    // left and right folders with "a.txt" (equal) and "b.txt" (different), checked
    void CheckedPairs()
    {
        Folder.WriteFile(L"l\\a.txt", "abc");
        Folder.WriteFile(L"l\\b.txt", "left");
        Folder.WriteFile(L"r\\a.txt", "abc");
        Folder.WriteFile(L"r\\b.txt", "righ");
        Main->RegisterDrop(0, {Folder.PathOf(L"l")});
        Main->RegisterDrop(1, {Folder.PathOf(L"r")});
        ASSERT_TRUE(WaitIdle());
        ASSERT_EQ(2, Rows());
    }
    int RowOf(int side, const std::wstring& name)
    {
        for (int row = 0; row < List(side).GetItemCount(); ++row) {
            const std::wstring path = Cell(side, row, 0);
            if (path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0)
                return row;
        }
        return -1;
    }
};

// the items of the pop-up menu that open() shows (its loop is read from a timer and ended), empty when none opened;
// JUXTA_MENU_HOLD_MS keeps it open that long, for a screenshot
std::vector<std::wstring> MenuItemsShownBy(const std::function<void()>& open)
{
    static std::vector<std::wstring> items;
    static ULONGLONG closeAt;
    items.clear();
    const char* hold = getenv("JUXTA_MENU_HOLD_MS");
    closeAt = GetTickCount64() + (hold ? static_cast<ULONGLONG>(atoi(hold)) : 0);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND menuWindow = FindWindowW(L"#32768", nullptr);
        if (!menuWindow || !IsWindowVisible(menuWindow))
            return;
        if (items.empty()) {
            HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
            for (int at = 0; menu && at < GetMenuItemCount(menu); ++at) {
                wchar_t text[64] = {};
                GetMenuStringW(menu, static_cast<UINT>(at), text, 64, MF_BYPOSITION);
                items.push_back(text);
            }
        }
        if (GetTickCount64() >= closeAt)
            EndMenu();
    });
    open();
    KillTimer(nullptr, timer);
    return items;
}

// the names each toolbar shows a button for: the ids of the list commands present there
std::vector<int> PresentButtons(const kit::ToolBar& bar)
{
    std::vector<int> present;
    for (int command : Commands::ListCommands)
        if (bar.FindButton(command))
            present.push_back(command);
    return present;
}

// While a check runs every list command is greyed in the menu and disabled on the three toolbars, and neither the
// Delete key nor the removal and clear commands touch a row. Stopping then keeps only pairs with a finished side.
TEST_F(CommandsTest, WhileChecking_listCommandsOffAndDeleteDoesNothing)
{
    kit::SettingsNode stored;
    stored.SetInt(L"CheckNum", 1);
    Start(stored);
    for (int n = 0; n < 4; ++n) {
        Folder.WriteSparseFile(L"l\\f" + std::to_wstring(n) + L".bin", 1LL << 30);
        Folder.WriteSparseFile(L"r\\f" + std::to_wstring(n) + L".bin", 1LL << 30);
    }
    Main->RegisterDrop(0, {Folder.PathOf(L"l")});
    Main->RegisterDrop(1, {Folder.PathOf(L"r")});
    ASSERT_TRUE(Main->GetChecker()->IsChecking());
    ASSERT_EQ(4, Rows());

    HMENU menu = Main->GetMainMenu()->GetHandle();
    const kit::ToolBar* bars[3] = {Main->GetMainToolBar(), Main->GetSideWindow(0)->SideToolBar.get(),
                                   Main->GetSideWindow(1)->SideToolBar.get()};
    int inMenu = 0, onBars = 0;
    for (int command : Commands::ListCommands) {
        if (Main->GetMainMenu()->FindItem(static_cast<UINT>(command))) {
            EXPECT_FALSE(harness::IsMenuItemEnabled(menu, static_cast<UINT>(command))) << command;
            ++inMenu;
        }
    }
    for (const kit::ToolBar* bar : bars)
        for (int command : PresentButtons(*bar)) {
            EXPECT_FALSE(harness::IsToolbarButtonEnabled(bar->Handle, command)) << command;
            ++onBars;
        }
    EXPECT_EQ(6, inMenu); // clear, output, file operation, select all, invert, re-check
    EXPECT_EQ(17, onBars); // main: clear, re-check, compare, output, file operation; each side: remove, hash
                           // dialog, open and the three copies
    EXPECT_TRUE(harness::IsMenuItemEnabled(menu, ID_STOP));
    EXPECT_TRUE(harness::IsToolbarButtonEnabled(Main->GetMainToolBar()->Handle, ID_STOP));

    Select(0, {0, 1});
    harness::PressKey(List(0).Handle, VK_DELETE);
    harness::SendCommand(Main->Handle, ID_REMOVE_LEFT);
    harness::SendCommand(Main->Handle, ID_CLEAR);
    Main->SetCurrentSide(0);
    harness::SendCommand(Main->Handle, ID_REMOVE);
    EXPECT_EQ(4, Rows());
    EXPECT_EQ(4, List(0).GetItemCount());
    EXPECT_EQ(4, List(0).FileCount());
    EXPECT_EQ(4, List(1).FileCount());

    // stop: the run ends; what is left has at least one finished side, the rest is gone
    harness::SendCommand(Main->Handle, ID_STOP);
    EXPECT_FALSE(Main->GetChecker()->IsChecking());
    EXPECT_EQ(0u, Main->GetChecker()->GetWorkerCount());
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu, ID_STOP));
    EXPECT_LT(Rows(), 4);
    for (int row = 0; row < Rows(); ++row)
        EXPECT_TRUE(Finished(0, row) || Finished(1, row)) << row;
    EXPECT_EQ(Rows() > 0, harness::IsMenuItemEnabled(menu, ID_CLEAR));
    EXPECT_EQ(Rows(), List(1).GetItemCount());
}

// "チェックを中止": finished files keep their rows, the unfinished side of such a row is blanked (its file leaves
// the counts and the remaining file stands alone), rows where neither side had finished are deleted.
TEST_F(CommandsTest, StopChecks_keepsFinishedBlanksUnfinishedDeletesTheRest)
{
    Start();
    const std::wstring l = Folder.PathOf(L"l\\"), r = Folder.PathOf(L"r\\");
    Register(0, {l + L"a", l + L"b", l + L"c", l + L"d"}, l);
    Register(1, {r + L"a", r + L"b", r + L"c", r + L"e"}, r);
    ASSERT_EQ(5, Rows()); // a, b, c paired; d left only; e right only
    ASSERT_EQ(L"→", MarkText(4));
    Finish(0, 0, L"11111111", L"1,000");
    Finish(1, 0, L"11111111", L"1,000");
    Finish(0, 1, L"22222222", L"1,000");
    Finish(1, 4, L"55555555", L"1,000");
    // cancelled workers had written their sizes; every started row was counted
    List(1).SetSizeText(1, L"1,000");
    List(0).SetSizeText(2, L"1,000");
    List(0).SetSizeText(3, L"1,000");
    Main->GetRows().AddBytes(0, 4000);
    Main->GetRows().AddBytes(1, 3000);
    Main->GetChecker()->SetChecking(true);

    harness::SendCommand(Main->Handle, ID_STOP);
    ASSERT_EQ(3, Rows());
    ASSERT_EQ(3, List(0).GetItemCount());
    ASSERT_EQ(3, List(1).GetItemCount());
    // a: untouched
    EXPECT_EQ(l + L"a", Cell(0, 0, 0));
    EXPECT_EQ(r + L"a", Cell(1, 0, 0));
    EXPECT_EQ(L"○", MarkText(0));
    // b: the right side blanked, the left file alone
    EXPECT_EQ(l + L"b", Cell(0, 1, 0));
    EXPECT_EQ(L"22222222", Cell(0, 1, 1));
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(L"", Cell(1, 1, column)) << column;
    EXPECT_TRUE(List(1).IsBlankRow(1));
    FileListView::ItemInfo info;
    EXPECT_FALSE(List(1).GetItemInfo(1, info));
    EXPECT_EQ(L"←", MarkText(1));
    EXPECT_EQ(Main->GetStateColour(StateColour::Left), RowColour(0, 1));
    // the blanked side has the colour of a blank row (e's left side), not "left only"
    EXPECT_EQ(RowColour(0, 2), RowColour(1, 1));
    // c and d gone; e stays
    EXPECT_EQ(L"", Cell(0, 2, 0));
    EXPECT_EQ(r + L"e", Cell(1, 2, 0));
    EXPECT_EQ(L"→", MarkText(2));

    EXPECT_EQ(2, List(0).FileCount());
    EXPECT_EQ(2, List(1).FileCount());
    EXPECT_EQ(2000u, List(0).TotalSize());
    EXPECT_EQ(2000u, List(1).TotalSize());
    EXPECT_EQ(1, Main->GetRows().MarkCount(PairMark::Ok));
    EXPECT_EQ(1, Main->GetRows().MarkCount(PairMark::Left));
    EXPECT_EQ(1, Main->GetRows().MarkCount(PairMark::Right));
    EXPECT_EQ(0, Main->GetRows().MarkCount(PairMark::Unknown));
    EXPECT_EQ(L"\t\t2 ファイル  2,000 Byte ", Pane(0));
    EXPECT_EQ(L"\t←:1", Pane(3));
    EXPECT_EQ(L"\t？:0", Pane(5));
    EXPECT_TRUE(harness::IsMenuItemEnabled(Main->GetMainMenu()->GetHandle(), ID_CLEAR));

    // the command is off once the run is over: a second stop changes nothing
    harness::SendCommand(Main->Handle, ID_STOP);
    EXPECT_EQ(3, Rows());
}

// Removing a row selected on one side removes the whole pair; the counts, sizes, marks and panes follow. Delete on
// the list, the list menu's command and the side toolbar's button all do it; an emptied list turns the commands off.
TEST_F(CommandsTest, RemoveSelected_takesWholePairsAndKeepsTheCounts)
{
    Start();
    const std::wstring l = Folder.PathOf(L"l\\"), r = Folder.PathOf(L"r\\");
    Register(0, {l + L"a", l + L"b", l + L"c", l + L"d"}, l);
    Register(1, {r + L"a", r + L"b", r + L"c"}, r);
    for (int row = 0; row < 3; ++row) {
        Finish(0, row, L"11111111", L"1,000");
        Finish(1, row, row == 1 ? L"22222222" : L"11111111", L"1,000");
    }
    Finish(0, 3, L"33333333", L"-"); // an imported size: counts as a file, adds no bytes
    Main->GetRows().AddBytes(0, 3000);
    Main->GetRows().AddBytes(1, 3000);
    Main->SetCheckingAppearance(false);
    ASSERT_TRUE(Main->GetCommands().ListCommandsAllowed());
    ASSERT_EQ(L"×", MarkText(1));

    // Delete on the left list: row 1 ("×") goes from all three lists
    Select(0, {1});
    harness::PressKey(List(0).Handle, VK_DELETE);
    ASSERT_EQ(3, Rows());
    EXPECT_EQ(l + L"c", Cell(0, 1, 0));
    EXPECT_EQ(r + L"c", Cell(1, 1, 0));
    EXPECT_EQ(3, List(0).FileCount());
    EXPECT_EQ(2, List(1).FileCount());
    EXPECT_EQ(2000u, List(0).TotalSize());
    EXPECT_EQ(2000u, List(1).TotalSize());
    EXPECT_EQ(0, Main->GetRows().MarkCount(PairMark::Ng));
    EXPECT_EQ(2, Main->GetRows().MarkCount(PairMark::Ok));
    EXPECT_EQ(L"\t×:0", Pane(2));
    EXPECT_EQ(L" 2 ファイル  2,000 Byte ", Pane(6));

    // the list menu's command acts on the current side; rows 0 and 2 ("○" and "←")
    Select(1, {0});
    Main->SetCurrentSide(1);
    harness::SendCommand(Main->Handle, ID_REMOVE);
    EXPECT_EQ(2, Rows());
    EXPECT_EQ(l + L"c", Cell(0, 0, 0));
    Select(0, {0, 1});
    harness::ClickToolbarButton(Main->GetSideWindow(0)->SideToolBar->Handle, ID_REMOVE_LEFT);
    EXPECT_EQ(0, Rows());
    EXPECT_EQ(0, List(0).GetItemCount());
    EXPECT_EQ(0, List(1).GetItemCount());
    EXPECT_EQ(0, List(0).FileCount());
    EXPECT_EQ(0, List(1).FileCount());
    EXPECT_EQ(0u, List(0).TotalSize());
    for (int mark = 0; mark < PairMark::Count; ++mark)
        EXPECT_EQ(0, Main->GetRows().MarkCount(mark)) << mark;
    EXPECT_FALSE(harness::IsMenuItemEnabled(Main->GetMainMenu()->GetHandle(), ID_CLEAR));
    EXPECT_FALSE(harness::IsToolbarButtonEnabled(Main->GetSideWindow(1)->SideToolBar->Handle, ID_REMOVE_RIGHT));
}

TEST_F(CommandsTest, Clear_emptiesTheListsAndTheCounters)
{
    Start();
    CheckedPairs();
    ASSERT_TRUE(Main->GetCommands().ListCommandsAllowed());
    harness::ClickToolbarButton(Main->GetMainToolBar()->Handle, ID_CLEAR);
    EXPECT_EQ(0, Rows());
    EXPECT_EQ(0, List(0).GetItemCount());
    EXPECT_EQ(0, List(1).GetItemCount());
    EXPECT_EQ(0, List(0).FileCount());
    EXPECT_EQ(0u, List(1).TotalSize());
    for (int mark = 0; mark < PairMark::Count; ++mark)
        EXPECT_EQ(0, Main->GetRows().MarkCount(mark)) << mark;
    EXPECT_EQ(L"\t\t0 ファイル  0 Byte ", Pane(0));
    EXPECT_EQ(L"\t○:0", Pane(1));
    EXPECT_FALSE(harness::IsMenuItemEnabled(Main->GetMainMenu()->GetHandle(), ID_OUTPUT));
    EXPECT_FALSE(harness::IsToolbarButtonEnabled(Main->GetMainToolBar()->Handle, ID_RECHECK));

    // registering again works from an empty list
    Main->RegisterDrop(0, {Folder.PathOf(L"l")});
    EXPECT_TRUE(WaitIdle());
    EXPECT_EQ(2, Rows());
    EXPECT_EQ(2, Main->GetRows().MarkCount(PairMark::Left));
}

// SHA-1 switched on with CRC32 on and MD5 off: its column comes at position 2 on both lists (with the stored
// width), every pair is checked and decided again; switched off, the column goes and the pairs are decided by the
// values left.
TEST_F(CommandsTest, SwitchHashKind_sha1InsertedAtItsPlaceAndEveryPairDecidedAgain)
{
    kit::SettingsNode stored;
    stored.Child(L"Left").Child(L"Sha1").SetInt(L"Width", 123);
    Start(stored);
    CheckedPairs();
    const int a = RowOf(0, L"a.txt"), b = RowOf(0, L"b.txt");
    ASSERT_EQ(L"○", MarkText(a));
    ASSERT_EQ(L"×", MarkText(b));
    // the right "a.txt" changes on disk after its check: only a new check can tell
    ASSERT_NE(L"", Folder.WriteFile(L"r\\a.txt", "abd"));

    harness::SendCommand(Main->Handle, ID_HEADER_SHA1);
    const std::vector<std::wstring> withSha1 = {L"ファイル名", L"CRC32", L"SHA-1", L"サイズ"};
    EXPECT_EQ(withSha1, Headers(0));
    EXPECT_EQ(withSha1, Headers(1));
    EXPECT_EQ(1, Main->GetHashColumn(0));
    EXPECT_EQ(-1, Main->GetHashColumn(1));
    EXPECT_EQ(2, Main->GetHashColumn(2));
    EXPECT_EQ(3, Main->GetSizeColumn());
    EXPECT_TRUE(Main->GetSettings().GetBool(L"Sha1", false));
    EXPECT_EQ(123, List(0).GetColumn(2)->GetWidth());
    EXPECT_EQ(290, List(1).GetColumn(2)->GetWidth());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Sha1Of_abc, Cell(0, a, 2));
    EXPECT_EQ(Crc32Of_abc, Cell(0, a, 1));
    EXPECT_EQ(L"3", Cell(0, a, 3));
    EXPECT_NE(L"", Cell(1, a, 2));
    EXPECT_EQ(L"×", MarkText(a));
    EXPECT_EQ(L"×", MarkText(b));
    EXPECT_EQ(2, Main->GetRows().MarkCount(PairMark::Ng));
    EXPECT_EQ(0, Main->GetRows().MarkCount(PairMark::Unknown));
    // the sizes are counted once
    EXPECT_EQ(7u, List(0).TotalSize());

    // off again: the column goes from both lists, the other cells stay, nothing is left undecided
    harness::SendCommand(Main->Handle, ID_HEADER_SHA1);
    const std::vector<std::wstring> crcOnly = {L"ファイル名", L"CRC32", L"サイズ"};
    EXPECT_EQ(crcOnly, Headers(0));
    EXPECT_EQ(crcOnly, Headers(1));
    EXPECT_EQ(-1, Main->GetHashColumn(2));
    EXPECT_EQ(2, Main->GetSizeColumn());
    EXPECT_FALSE(Main->GetSettings().GetBool(L"Sha1", true));
    EXPECT_EQ(Crc32Of_abc, Cell(0, a, 1));
    EXPECT_EQ(L"3", Cell(0, a, 2));
    EXPECT_TRUE(WaitIdle());
    // the CRC32 values (both read before the change) agree: the pair is decided by them again
    EXPECT_EQ(L"○", MarkText(a));
    EXPECT_EQ(Main->GetStateColour(StateColour::Ok), RowColour(1, a));
    EXPECT_EQ(L"×", MarkText(b));
    EXPECT_EQ(0, Main->GetRows().MarkCount(PairMark::Unknown));
}

// A kind switched off decides the finished pairs again by the values still shown.
TEST_F(CommandsTest, SwitchHashKind_offDecidesByWhatIsLeft)
{
    kit::SettingsNode stored;
    stored.SetBool(L"Md5", true);
    Start(stored);
    const std::wstring l = Folder.PathOf(L"l\\"), r = Folder.PathOf(L"r\\");
    Register(0, {l + L"a"}, l);
    Register(1, {r + L"a"}, r);
    List(0).SetHashText(0, 1, L"00000000000000000000000000000001");
    List(1).SetHashText(0, 1, L"00000000000000000000000000000002");
    Finish(0, 0, L"11111111", L"5");
    Finish(1, 0, L"11111111", L"5");
    ASSERT_EQ(L"×", MarkText(0));
    harness::SendCommand(Main->Handle, ID_HEADER_MD5);
    EXPECT_EQ(L"○", MarkText(0));
    EXPECT_EQ(Main->GetStateColour(StateColour::Ok), RowColour(1, 0));
    EXPECT_EQ(1, Main->GetRows().MarkCount(PairMark::Ok));
    EXPECT_EQ(0, Main->GetRows().MarkCount(PairMark::Ng));
    EXPECT_FALSE(Main->GetChecker()->IsChecking());
}

// After the settings changed several kinds at once, the columns follow them without losing the other cells; a kind
// switched on checks every row again.
TEST_F(CommandsTest, ApplyHashKinds_columnsFollowTheSettings)
{
    Start();
    CheckedPairs();
    const int a = RowOf(0, L"a.txt");
    Main->GetSettings().SetBool(L"Crc32", false);
    Main->GetSettings().SetBool(L"Md5", true);
    Main->GetSettings().SetBool(L"Sha1", true);
    Main->GetCommands().ApplyHashKinds();
    const std::vector<std::wstring> headers = {L"ファイル名", L"MD5", L"SHA-1", L"サイズ"};
    EXPECT_EQ(headers, Headers(0));
    EXPECT_EQ(headers, Headers(1));
    EXPECT_EQ(-1, Main->GetHashColumn(0));
    EXPECT_EQ(1, Main->GetHashColumn(1));
    EXPECT_EQ(2, Main->GetHashColumn(2));
    EXPECT_EQ(3, Main->GetSizeColumn());
    EXPECT_EQ(Folder.PathOf(L"l\\a.txt"), Cell(0, a, 0));
    EXPECT_EQ(L"3", Cell(0, a, 3));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(L"900150983CD24FB0D6963F7D28E17F72", Cell(0, a, 1));
    EXPECT_EQ(Sha1Of_abc, Cell(1, a, 2));
    EXPECT_EQ(L"○", MarkText(a));
    EXPECT_EQ(L"×", MarkText(1 - a));

    // nothing changed: nothing moves, nothing is checked
    Main->GetCommands().ApplyHashKinds();
    EXPECT_EQ(headers, Headers(0));
    EXPECT_FALSE(Main->GetChecker()->IsChecking());
    EXPECT_EQ(L"○", MarkText(a));
}

// "ハッシュを再チェック" checks the current side again: a file changed since is found, the total counted once.
TEST_F(CommandsTest, Recheck_findsAChangedFile)
{
    Start();
    CheckedPairs();
    const int a = RowOf(0, L"a.txt");
    ASSERT_NE(L"", Folder.WriteFile(L"l\\a.txt", "abd"));
    Main->SetCurrentSide(0);
    harness::ClickToolbarButton(Main->GetMainToolBar()->Handle, ID_RECHECK);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(L"×", MarkText(a));
    EXPECT_NE(Crc32Of_abc, Cell(0, a, 1));
    EXPECT_EQ(Crc32Of_abc, Cell(1, a, 1));
    EXPECT_EQ(7u, List(0).TotalSize());
    EXPECT_EQ(2, List(0).FileCount());
    EXPECT_TRUE(Finished(0, a));
}

TEST_F(CommandsTest, ColumnWidths_defaultAndAutoSize)
{
    kit::SettingsNode stored;
    stored.SetBool(L"Md5", true);
    Start(stored);
    CheckedPairs();
    for (int side = 0; side < 2; ++side)
        for (int column = 0; column < 4; ++column)
            List(side).GetColumn(column)->SetWidth(400);
    harness::SendCommand(Main->Handle, ID_HEADER_DEFAULT_WIDTH);
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(160, List(side).GetColumn(0)->GetWidth());
        EXPECT_EQ(80, List(side).GetColumn(1)->GetWidth());
        EXPECT_EQ(240, List(side).GetColumn(2)->GetWidth());
        EXPECT_EQ(100, List(side).GetColumn(3)->GetWidth());
    }
    // auto-size fits the texts: the CRC32 column narrows to its value, the path column widens to the path
    harness::SendCommand(Main->Handle, ID_HEADER_AUTOSIZE);
    for (int side = 0; side < 2; ++side) {
        EXPECT_LT(List(side).GetColumn(1)->GetWidth(), 80);
        const std::wstring path = Cell(side, 0, 0);
        EXPECT_GT(List(side).GetColumn(0)->GetWidth(),
                  SendMessageW(List(side).Handle, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(path.c_str())));
    }
}

// The list context menu: the copy items read "CRC32【value】(&C)" for a shown value, the bare name when there is
// none; the items that need a row, a finished check, existing files or an idle scheduler follow them.
TEST_F(CommandsTest, ListMenu_copyItemsAndEnablingRules)
{
    Start();
    const std::wstring l = Folder.PathOf(L"l\\");
    const std::wstring onDisk = Folder.WriteFile(L"l\\a.txt", "abc");
    Folder.WriteFile(L"r\\a.txt", "abc");
    Register(0, {onDisk, l + L"gone.txt"}, l);
    RegisterFile(1, Folder.PathOf(L"r\\a.txt"));
    Finish(0, 0, L"1A2B3C4D", L"3");
    Main->SetCheckingAppearance(false);

    kit::Menu* popup = Main->GetCommands().PrepareListMenu(0, 0);
    ASSERT_TRUE(popup);
    HMENU menu = popup->GetHandle();
    EXPECT_EQ(L"CRC32【1A2B3C4D】(&C)", MenuText(menu, ID_COPY_CRC32));
    EXPECT_TRUE(MenuEnabled(menu, ID_COPY_CRC32));
    EXPECT_EQ(L"MD5(&M)", MenuText(menu, ID_COPY_MD5));
    EXPECT_FALSE(MenuEnabled(menu, ID_COPY_MD5));
    EXPECT_EQ(L"SHA-1(&S)", MenuText(menu, ID_COPY_SHA1));
    EXPECT_FALSE(MenuEnabled(menu, ID_COPY_SHA1));
    EXPECT_EQ(0, Main->GetContextRow());
    EXPECT_EQ(0, Main->GetCurrentSide());
    for (UINT command : {ID_HASH_DIALOG, ID_OPEN, ID_COMPARE_TOOL, ID_REMOVE, ID_CLEAR, ID_OUTPUT, ID_FILE_OPERATION,
                         ID_RECHECK, ID_SELECT_ALL, ID_SELECT_OK, ID_ADD_FILES, ID_ADD_FOLDER})
        EXPECT_TRUE(MenuEnabled(menu, command)) << command;

    // the right list's row: not finished, so no hash dialog; its copy item has no value yet
    menu = Main->GetCommands().PrepareListMenu(1, 0)->GetHandle();
    EXPECT_EQ(1, Main->GetCurrentSide());
    EXPECT_FALSE(MenuEnabled(menu, ID_HASH_DIALOG));
    EXPECT_EQ(L"CRC32(&C)", MenuText(menu, ID_COPY_CRC32));
    EXPECT_FALSE(MenuEnabled(menu, ID_COPY_CRC32));
    EXPECT_TRUE(MenuEnabled(menu, ID_COMPARE_TOOL));

    // a file that is not on disk: neither open nor compare
    menu = Main->GetCommands().PrepareListMenu(0, 1)->GetHandle();
    EXPECT_FALSE(MenuEnabled(menu, ID_OPEN));
    EXPECT_FALSE(MenuEnabled(menu, ID_COMPARE_TOOL));
    EXPECT_TRUE(MenuEnabled(menu, ID_REMOVE));

    // no row under the mouse
    menu = Main->GetCommands().PrepareListMenu(0, -1)->GetHandle();
    EXPECT_EQ(-1, Main->GetContextRow());
    EXPECT_EQ(L"CRC32(&C)", MenuText(menu, ID_COPY_CRC32));
    for (UINT command : {ID_COPY_CRC32, ID_HASH_DIALOG, ID_OPEN, ID_COMPARE_TOOL, ID_REMOVE})
        EXPECT_FALSE(MenuEnabled(menu, command)) << command;
    EXPECT_TRUE(MenuEnabled(menu, ID_SELECT_ALL));

    // while checking: no removal, clearing, output or file operation; re-check and selection stay
    Main->GetChecker()->SetChecking(true);
    menu = Main->GetCommands().PrepareListMenu(0, 0)->GetHandle();
    for (UINT command : {ID_REMOVE, ID_CLEAR, ID_OUTPUT, ID_FILE_OPERATION})
        EXPECT_FALSE(MenuEnabled(menu, command)) << command;
    for (UINT command : {ID_RECHECK, ID_SELECT_ALL, ID_SELECT_INVERT, ID_OPEN})
        EXPECT_TRUE(MenuEnabled(menu, command)) << command;
    Main->GetChecker()->SetChecking(false);
}

// A right click on a row opens "ファイルリスト" at the cursor for that row.
TEST_F(CommandsTest, ListMenu_rightClickOnARowOpensItForThatRow)
{
    Start();
    const std::wstring l = Folder.PathOf(L"l\\");
    Register(0, {l + L"a.txt", l + L"b.txt"}, l);
    Finish(0, 1, L"1A2B3C4D", L"3");
    Main->SetCheckingAppearance(false);
    harness::PumpPending();
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageW(List(0).Handle, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
    POINT point = {rect.left + 20, (rect.top + rect.bottom) / 2};
    POINT screen = point;
    ClientToScreen(List(0).Handle, &screen);
    SetCursorPos(screen.x, screen.y);
    Main->SetContextRow(1, -1);

    const std::vector<std::wstring> items =
        MenuItemsShownBy([&] {
            // what the list sends its window on a right click over a row
            NMITEMACTIVATE click = {};
            click.hdr.hwndFrom = List(0).Handle;
            click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(List(0).Handle));
            click.hdr.code = NM_RCLICK;
            click.iItem = 1;
            click.ptAction = point;
            SendMessageW(Main->GetSideWindow(0)->Handle, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        });
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(L"開く(&O)", items.front());
    EXPECT_EQ(L"リストをクリア(&A)", items.back());
    EXPECT_EQ(1, Main->GetContextRow());
    EXPECT_EQ(0, Main->GetCurrentSide());
    HMENU popup = List(0).PopupMenus->GetSubMenu(POPUP_FILE_LIST)->GetHandle();
    EXPECT_EQ(L"CRC32【1A2B3C4D】(&C)", MenuText(popup, ID_COPY_CRC32));
}

TEST_F(CommandsTest, ListMenu_emptyListOffersOnlyRegistration)
{
    Start();
    HMENU menu = Main->GetCommands().PrepareListMenu(1, -1)->GetHandle();
    for (UINT command : {ID_RECHECK, ID_CLEAR, ID_SELECT_ALL, ID_SELECT_INVERT, ID_SELECT_OK, ID_SELECT_NG,
                         ID_SELECT_LEFT, ID_SELECT_RIGHT, ID_OUTPUT, ID_FILE_OPERATION, ID_REMOVE, ID_OPEN})
        EXPECT_FALSE(MenuEnabled(menu, command)) << command;
    EXPECT_TRUE(MenuEnabled(menu, ID_ADD_FILES));
    EXPECT_TRUE(MenuEnabled(menu, ID_ADD_FOLDER));
}

// The copy commands put a row's value on the clipboard: the list menu's for its row, the side toolbars' for the
// first selected row; a hidden kind gives an empty text, no row leaves the clipboard alone.
TEST_F(CommandsTest, CopyHash_toTheClipboard)
{
    Start();
    const std::wstring l = Folder.PathOf(L"l\\"), r = Folder.PathOf(L"r\\");
    Register(0, {l + L"a", l + L"b"}, l);
    Register(1, {r + L"a", r + L"b"}, r);
    Finish(0, 0, L"1A2B3C4D", L"1");
    Finish(0, 1, L"0000BEEF", L"1");
    Finish(1, 1, L"CAFE0000", L"1");
    Main->SetCheckingAppearance(false);

    Main->GetCommands().PrepareListMenu(0, 1);
    harness::SendCommand(Main->Handle, ID_COPY_CRC32);
    EXPECT_EQ(L"0000BEEF", Clipboard());

    Select(1, {1});
    harness::ClickToolbarButton(Main->GetSideWindow(1)->SideToolBar->Handle, ID_COPY_CRC32_RIGHT);
    EXPECT_EQ(L"CAFE0000", Clipboard());
    Select(0, {0});
    harness::ClickToolbarButton(Main->GetSideWindow(0)->SideToolBar->Handle, ID_COPY_CRC32_LEFT);
    EXPECT_EQ(L"1A2B3C4D", Clipboard());
    harness::ClickToolbarButton(Main->GetSideWindow(0)->SideToolBar->Handle, ID_COPY_SHA1_LEFT);
    EXPECT_EQ(L"", Clipboard());

    // nothing selected on the left any more: the clipboard keeps what it had
    PutOnClipboard(L"kept");
    List(0).SetRowSelected(0, false);
    harness::ClickToolbarButton(Main->GetSideWindow(0)->SideToolBar->Handle, ID_COPY_CRC32_LEFT);
    EXPECT_EQ(L"kept", Clipboard());
    Main->GetCommands().PrepareListMenu(0, -1);
    harness::SendCommand(Main->Handle, ID_COPY_CRC32);
    EXPECT_EQ(L"kept", Clipboard());
}

// the texts of the dialogs this thread creates, read when their WM_INITDIALOG is done
class DialogTexts {
public:
    DialogTexts() { Hook = SetWindowsHookExW(WH_CALLWNDPROCRET, Record, 0, GetCurrentThreadId()); Current = this; }
    ~DialogTexts()
    {
        UnhookWindowsHookEx(Hook);
        Current = 0;
    }
    std::vector<std::wstring> Texts;

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPRETSTRUCT* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && Current && message->message == WM_INITDIALOG)
            if (HWND text = GetDlgItem(message->hwnd, kit::MessageDialog::TextId))
                Current->Texts.push_back(harness::WindowText(text));
        return CallNextHookEx(0, code, wParam, lParam);
    }
    static DialogTexts* Current;
    HHOOK Hook;
};
DialogTexts* DialogTexts::Current = 0;

harness::DialogWatcher::Action Choose(const std::wstring& name)
{
    return [name](HWND dialog) {
        return harness::SetFileDialogName(dialog, name) && harness::DialogWatcher::PressButton(dialog, IDOK);
    };
}

// "ファイルを登録(&F)": the open dialog starts in "DefaultDirectory", takes several files, and they are registered
// with "ファイル登録中…" shown meanwhile; the folder and the first name are remembered.
TEST_F(CommandsTest, AddFiles_throughTheOpenDialog)
{
    const std::wstring one = Folder.WriteFile(L"in\\one.txt", "abc");
    const std::wstring two = Folder.WriteFile(L"in\\two.txt", "xyz");
    kit::SettingsNode stored;
    stored.SetString(L"DefaultDirectory", Folder.PathOf(L"in"));
    Start(stored);
    DialogTexts texts;
    harness::DialogWatcher watcher;
    watcher.Answer(Choose(L"\"one.txt\" \"two.txt\""));
    harness::SendCommand(Main->Handle, ID_ADD_FILES_RIGHT);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(Main->Handle, watcher.Seen()[0].Owner);
    ASSERT_EQ(2, List(1).GetItemCount());
    EXPECT_EQ(one, Cell(1, 0, 0));
    EXPECT_EQ(two, Cell(1, 1, 0));
    EXPECT_EQ(L"→", MarkText(0));
    EXPECT_EQ(2, List(1).FileCount());
    EXPECT_EQ(1, Main->GetCurrentSide());
    EXPECT_EQ(L"one", Main->GetLastName());
    EXPECT_EQ(0, _wcsicmp(Folder.PathOf(L"in").c_str(), Main->GetSettings().GetString(L"DefaultDirectory").c_str()));
    EXPECT_NE(texts.Texts.end(), std::find(texts.Texts.begin(), texts.Texts.end(), L"ファイル登録中…"));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Crc32Of_abc, Cell(1, 0, 1));

    // cancelled: nothing changes
    watcher.Answer(IDCANCEL);
    Main->SetCurrentSide(0);
    harness::SendCommand(Main->Handle, ID_ADD_FILES);
    EXPECT_EQ(2u, watcher.Seen().size());
    EXPECT_EQ(2, Rows());
    EXPECT_EQ(0, List(0).FileCount());
}

// "フォルダを登録(&D)": the folder dialog starts in "DefaultDirectory"; the chosen folder is scanned into the side.
TEST_F(CommandsTest, AddFolder_throughTheFolderDialog)
{
    Folder.WriteFile(L"tree.d\\a.txt", "abc");
    Folder.WriteFile(L"tree.d\\sub\\b.txt", "b");
    kit::SettingsNode stored;
    stored.SetString(L"DefaultDirectory", Folder.PathOf(L"tree.d"));
    Start(stored);
    harness::DialogWatcher watcher;
    watcher.Answer(IDOK);
    harness::SendCommand(Main->Handle, ID_ADD_FOLDER_LEFT);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(2, List(0).GetItemCount());
    EXPECT_EQ(2, List(0).FileCount());
    EXPECT_EQ(L"tree", Main->GetLastName());
    EXPECT_EQ(0,
              _wcsicmp(Folder.PathOf(L"tree.d").c_str(), Main->GetSettings().GetString(L"DefaultDirectory").c_str()));
    EXPECT_FALSE(Main->GetSideWindow(0)->HasDropHint());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(2, Main->GetRows().MarkCount(PairMark::Left));

    // the list menu's entry adds to the current side; cancelled, nothing happens
    watcher.Answer(IDCANCEL);
    Main->SetCurrentSide(1);
    harness::SendCommand(Main->Handle, ID_ADD_FOLDER);
    EXPECT_EQ(2u, watcher.Seen().size());
    EXPECT_EQ(0, List(1).FileCount());
}

// "表示(&V)" pops up on a right click on the status bar, the rebar, the main toolbar or the menu bar
TEST_F(CommandsTest, ViewMenu_fromTheBarsAndTheMenuBar)
{
    Start();
    const std::vector<std::wstring> view = {L"ツールバー(&T)", L"サイドツールバー(&D)", L"ステータスバー(&S)", L"",
                                            L"常に最前面表示(&M)"};
    for (HWND bar : {Main->GetStatusBar()->Handle, Main->GetRebar()->Handle, Main->GetMainToolBar()->Handle}) {
        NMHDR header = {};
        header.hwndFrom = bar;
        header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(bar));
        header.code = NM_RCLICK;
        EXPECT_EQ(view, MenuItemsShownBy([&] {
                      SendMessageW(Main->Handle, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
                  }));
    }
    const RECT bar = kit::Window::GetMenuBarRect(Main.get());
    ASSERT_GT(bar.right, bar.left);
    const POINT inside = harness::Centre(bar);
    EXPECT_EQ(view, MenuItemsShownBy([&] {
                  SendMessageW(Main->Handle, WM_NCRBUTTONUP, HTMENU, MAKELPARAM(inside.x, inside.y));
              }));
    // the caption is not the menu bar
    EXPECT_TRUE(MenuItemsShownBy([&] {
                    SendMessageW(Main->Handle, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(inside.x, bar.top - 8));
                }).empty());
}

// the output command runs the list output dialog on the main window
TEST_F(CommandsTest, Output_opensTheListOutputDialog)
{
    Start();
    CheckedPairs();
    harness::DialogWatcher watcher;
    watcher.Answer(IDC_CLOSE);
    harness::ClickToolbarButton(Main->GetMainToolBar()->Handle, ID_OUTPUT);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"リスト出力", watcher.Seen()[0].Caption);
    EXPECT_EQ(Main->Handle, watcher.Seen()[0].Owner);
}

// Keys on a side list: Ctrl+A selects every row (A alone nothing); Enter gives the first selected row the
// double-click action, by default the hash comparison once its check has finished.
TEST_F(CommandsTest, Keys_ctrlASelectsEveryRowAndEnterRunsTheRowAction)
{
    Start();
    const std::wstring l = Folder.PathOf(L"l\\");
    Register(0, {l + L"a", l + L"b", l + L"c"}, l);
    Finish(0, 1, L"1A2B3C4D", L"1");
    HWND list = List(0).Handle;
    harness::PressKey(list, 'A');
    EXPECT_TRUE(List(0).GetSelectedIndexes().empty());
    harness::PressKey(list, 'A', harness::Ctrl);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), List(0).GetSelectedIndexes());

    for (int row : {0, 2})
        List(0).SetRowSelected(row, false);
    harness::DialogWatcher watcher;
    watcher.Answer(IDC_CLOSE);
    harness::PressKey(list, VK_RETURN);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"ハッシュ値の比較", watcher.Seen()[0].Caption);
    EXPECT_EQ(1, Main->GetContextRow());

    // a row still unchecked has nothing to compare
    List(0).SetRowSelected(1, false);
    List(0).SetRowSelected(0, true);
    harness::PressKey(list, VK_RETURN);
    harness::PumpPending();
    EXPECT_EQ(1u, watcher.Seen().size());
}

// The hash comparison from the side toolbar (first selected row) and from the list menu (its row); the
// context-menu key opens the list menu for the first selected row.
TEST_F(CommandsTest, HashDialogAndMenuKey_actOnTheirRows)
{
    Start();
    const std::wstring r = Folder.PathOf(L"r\\");
    Register(1, {r + L"a", r + L"b"}, r);
    Finish(1, 1, L"1A2B3C4D", L"1");
    Main->SetCheckingAppearance(false);
    harness::DialogWatcher watcher;
    // as the double-click: nothing to compare on a row still unchecked
    List(1).SetRowSelected(0, true);
    harness::ClickToolbarButton(Main->GetSideWindow(1)->SideToolBar->Handle, ID_HASH_DIALOG_RIGHT);
    harness::PumpPending();
    EXPECT_EQ(0u, watcher.Seen().size());
    EXPECT_EQ(-1, Main->GetContextRow());
    List(1).SetRowSelected(0, false);
    List(1).SetRowSelected(1, true);
    watcher.Answer(IDC_CLOSE);
    harness::ClickToolbarButton(Main->GetSideWindow(1)->SideToolBar->Handle, ID_HASH_DIALOG_RIGHT);
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"ハッシュ値の比較", watcher.Seen()[0].Caption);
    EXPECT_EQ(1, Main->GetContextRow());

    Main->SetContextRow(Main->GetCurrentSide(), -1);
    const std::vector<std::wstring> items = MenuItemsShownBy([&] {
        SendMessageW(Main->GetSideWindow(1)->Handle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(1).Handle), -1);
    });
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(L"開く(&O)", items.front());
    EXPECT_EQ(1, Main->GetContextRow());
    EXPECT_EQ(1, Main->GetCurrentSide());
    watcher.Answer(IDC_CLOSE);
    harness::SendCommand(Main->Handle, ID_HASH_DIALOG);
    ASSERT_EQ(2u, watcher.Seen().size());
    EXPECT_EQ(L"ハッシュ値の比較", watcher.Seen()[1].Caption);
}

// The compare tool: the list menu's item starts it for the row the menu was opened on, the main toolbar's button
// for the current side's first selected row. A stand-in tool records the command line it got.
TEST_F(CommandsTest, CompareTool_listMenuRowAndToolbarSelection)
{
    Start();
    std::wstring recorder(RECORDER_EXE, RECORDER_EXE + strlen(RECORDER_EXE));
    if (!recorder.empty() && recorder[0] == L'/') {
        std::replace(recorder.begin(), recorder.end(), L'/', L'\\');
        recorder = L"Z:" + recorder;
    }
    const std::wstring record = Folder.PathOf(L"record.txt");
    SetEnvironmentVariableW(L"JUXTA_RECORD_FILE", record.c_str());
    kit::SettingsNode& tool = Main->GetSettings().Child(L"Tool").Child(L"0");
    tool.SetString(L"Extension", L"*");
    tool.SetString(L"Command", L"\"" + recorder + L"\" %1 %2");
    const std::wstring l = Folder.PathOf(L"l\\"), r = Folder.PathOf(L"r\\");
    Register(0, {Folder.WriteFile(L"l\\a.bin", "1"), Folder.WriteFile(L"l\\b.bin", "2")}, l);
    Register(1, {Folder.WriteFile(L"r\\a.bin", "1"), Folder.WriteFile(L"r\\b.bin", "2")}, r);
    Main->SetCheckingAppearance(false);
    auto recorded = [&] {
        harness::PumpUntil([&] { return GetFileAttributesW(record.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000);
        std::wstring text;
        HANDLE file = CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
        wchar_t buffer[1024];
        DWORD got = 0;
        while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &got, 0) && got > 0)
            text.append(buffer, got / sizeof(wchar_t));
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        DeleteFileW(record.c_str());
        return text;
    };

    ASSERT_TRUE(Main->GetCommands().PrepareListMenu(1, 1));
    harness::SendCommand(Main->Handle, ID_COMPARE_TOOL);
    // the left file, then the right one (each quoted when it holds a blank)
    std::wstring line = recorded();
    EXPECT_LT(line.find(l + L"b.bin"), line.find(r + L"b.bin")) << line;
    EXPECT_NE(std::wstring::npos, line.find(r + L"b.bin")) << line;

    Select(0, {0});
    Main->SetCurrentSide(0);
    harness::ClickToolbarButton(Main->GetMainToolBar()->Handle, ID_COMPARE_TOOL);
    line = recorded();
    EXPECT_LT(line.find(l + L"a.bin"), line.find(r + L"a.bin")) << line;
    EXPECT_NE(std::wstring::npos, line.find(r + L"a.bin")) << line;
    SetEnvironmentVariableW(L"JUXTA_RECORD_FILE", nullptr);
}

// the selection commands act on the current side by the marks
TEST_F(CommandsTest, Select_byMarkOnTheCurrentSide)
{
    Start();
    CheckedPairs();
    const int b = RowOf(0, L"b.txt");
    Main->SetCurrentSide(1);
    harness::SendCommand(Main->Handle, ID_SELECT_NG);
    EXPECT_TRUE(harness::IsListRowSelected(List(1).Handle, b));
    EXPECT_FALSE(harness::IsListRowSelected(List(1).Handle, 1 - b));
    EXPECT_FALSE(harness::IsListRowSelected(List(0).Handle, b));
    harness::SendCommand(Main->Handle, ID_SELECT_INVERT);
    EXPECT_FALSE(harness::IsListRowSelected(List(1).Handle, b));
    EXPECT_TRUE(harness::IsListRowSelected(List(1).Handle, 1 - b));
    harness::SendCommand(Main->Handle, ID_SELECT_ALL);
    EXPECT_EQ(2, static_cast<int>(List(1).GetSelectedIndexes().size()));
}

} // namespace
