// The file operation dialog on a real main window with real files: which rows are listed and how, the check states
// across refills and the context commands, the "削除" bindings, the messages and confirmations, whole runs through
// the progress dialog, and the settings kept under "Copy".
#include "tests/app/MainWindowTesting.h"

#include "app/tools/CopyDialog.h"
#include "app/tools/CopyListView.h"
#include "app/tools/CopyThread.h"
#include "kit/ui/Menu.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <functional>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using harness::ReadBytes;
using harness::SaveWindowBitmap;

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// the name as stored on disk, to see its letter case
std::wstring StoredName(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return std::wstring();
    FindClose(find);
    return data.cFileName;
}

// the answer to the progress dialog: waits for the end of the run, reads what it shows, then closes it
struct ProgressEnd {
    std::wstring Status;
    std::vector<std::wstring> Log;
    HWND Owner = nullptr;
};

harness::DialogWatcher::Action CloseWhenDone(ProgressEnd& end)
{
    return [&end](HWND dialog) {
        if (harness::ItemText(dialog, IDC_CLOSE) != L"閉じる")
            return false;
        end.Status = harness::ItemText(dialog, IDC_PROGRESS_STATUS);
        end.Owner = GetWindow(dialog, GW_OWNER);
        HWND log = GetDlgItem(dialog, IDC_PROGRESS_ERRORS);
        for (int row = 0; row < harness::ListRowCount(log); ++row)
            end.Log.push_back(harness::ListCellText(log, row, 0));
        return harness::DialogWatcher::PressButton(dialog, IDC_CLOSE);
    };
}

// the items of the pop-up menu that open() shows (read from a timer, then the menu is ended), empty when none opened
std::vector<std::wstring> MenuItemsShownBy(const std::function<void()>& open)
{
    static std::vector<std::wstring> items;
    items.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND menuWindow = FindWindowW(L"#32768", nullptr);
        if (!menuWindow || !IsWindowVisible(menuWindow))
            return;
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        for (int at = 0; menu && at < GetMenuItemCount(menu); ++at) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(at), text, 64, MF_BYPOSITION);
            items.push_back(text);
        }
        EndMenu();
    });
    open();
    KillTimer(nullptr, timer);
    return items;
}

const wchar_t* const Checked = L"checked";

class CopyDialogTest : public MainWindowFixture {
protected:
    void TearDown() override
    {
        Dialog.reset();
        MainWindowFixture::TearDown();
        // no source is lost unless the test moved or deleted it
        for (const auto& source : Sources)
            EXPECT_EQ(source.second, ReadBytes(source.first)) << "source lost or changed";
    }

    // Left, registered from the folder "l": Sub\File.TXT (left only, "←"), a.txt ("○" with the right one),
    // b.txt ("×"), and a row imported from a hash list. Right, from "r": a.txt and b.txt.
    void FillLists()
    {
        Deep = Source(L"l\\Sub\\File.TXT", "deep");
        A = Source(L"l\\a.txt", "left a");
        B = Source(L"l\\b.txt", "left b");
        RightA = Source(L"r\\a.txt", "right a");
        RightB = Source(L"r\\b.txt", "right b");
        Register(0, {Deep, A, B}, Folder.PathOf(L"l\\"));
        Register(1, {RightA, RightB}, Folder.PathOf(L"r\\"));
        Finish(0, 0, L"00000000", L"4");
        Finish(0, 1, L"11111111", L"1,234");
        Finish(1, 1, L"11111111", L"1,234");
        Finish(0, 2, L"22222222", L"6");
        Finish(1, 2, L"33333333", L"7");
        RegisterImported(0, Folder.PathOf(L"l\\imported.txt"), L"12345678", L"-");
        ASSERT_EQ(L"←", MarkText(0));
        ASSERT_EQ(L"○", MarkText(1));
        ASSERT_EQ(L"×", MarkText(2));
    }

    std::wstring Source(const std::wstring& relative, const std::string& bytes)
    {
        const std::wstring path = Folder.WriteFile(relative, bytes);
        Sources[path] = bytes;
        return path;
    }

    // the dialog as the command opens it, but modeless so that the test can drive it between messages
    CopyDialog& Open()
    {
        Dialog.reset(new CopyDialog(*Main));
        EXPECT_TRUE(Dialog->CreateModeless(IDD_COPY, Main.get()));
        ShowWindow(Dialog->Handle, SW_SHOWNOACTIVATE);
        harness::PumpPending();
        return *Dialog;
    }
    HWND Item(int id) { return GetDlgItem(Dialog->Handle, id); }
    HWND Files() { return Item(IDC_COPY_FILES); }
    int Width(const std::wstring& text)
    {
        return static_cast<int>(SendMessageW(Files(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    void Click(int id)
    {
        harness::Click(Item(id));
        harness::PumpPending();
    }
    void Command(int id) { harness::SendCommand(Dialog->Handle, id); }
    void SetFolder(const std::wstring& text) { SetWindowTextW(Item(IDC_COPY_FOLDER), text.c_str()); }
    void Select(std::initializer_list<int> rows)
    {
        CopyListView& list = *Dialog->GetFileList();
        for (int row = 0; row < list.GetItemCount(); ++row)
            list.SetRowSelected(row, false);
        for (int row : rows)
            list.SetRowSelected(row, true);
    }

    // "path mark checked|-" per row, as the list shows it
    std::vector<std::wstring> Rows()
    {
        std::vector<std::wstring> rows;
        for (int row = 0; row < harness::ListRowCount(Files()); ++row)
            rows.push_back(harness::ListCellText(Files(), row, 0) + L" " + harness::ListCellText(Files(), row, 1) +
                           L" " + (harness::ListStateImage(Files(), row) == 2 ? Checked : L"-"));
        return rows;
    }
    std::wstring Row(const std::wstring& path, const std::wstring& mark, bool checked)
    {
        return path + L" " + mark + L" " + (checked ? Checked : L"-");
    }
    std::vector<int> CheckStates()
    {
        std::vector<int> states;
        for (int row = 0; row < harness::ListRowCount(Files()); ++row)
            states.push_back(harness::ListStateImage(Files(), row));
        return states;
    }

    std::unique_ptr<CopyDialog> Dialog;
    std::wstring Deep, A, B, RightA, RightB;
    std::map<std::wstring, std::string> Sources;
};

TEST_F(CopyDialogTest, FillList_chosenSideByMarkWithoutImportedRows)
{
    Start();
    FillLists();
    Main->SetCurrentSide(0);
    Open();

    EXPECT_EQ(L"ファイルの操作", harness::WindowText(Dialog->Handle));
    EXPECT_EQ(L"ファイル名", harness::ListHeaderText(Files(), 0));
    EXPECT_EQ(L"状態", harness::ListHeaderText(Files(), 1));
    const DWORD styles = static_cast<DWORD>(SendMessageW(Files(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES),
              styles & (LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES));
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_LEFT_LIST)));
    EXPECT_EQ((std::vector<std::wstring>{Row(Deep, L"←", true), Row(A, L"○", true), Row(B, L"×", true)}), Rows());
    // each row has the colour of its file list row
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(RowColour(0, row), harness::ListCellColors(Files(), row, 0).Back) << row;

    Click(IDC_COPY_NG);
    EXPECT_EQ((std::vector<std::wstring>{Row(Deep, L"←", true), Row(A, L"○", true)}), Rows());
    // the right side: its first row is the blank partner of the left-only file
    Click(IDC_COPY_RIGHT_LIST);
    EXPECT_EQ((std::vector<std::wstring>{Row(RightA, L"○", true)}), Rows());
    Click(IDC_COPY_NG);
    EXPECT_EQ((std::vector<std::wstring>{Row(RightA, L"○", true), Row(RightB, L"×", true)}), Rows());

    // the list opens on the side that was clicked last
    Dialog.reset();
    Main->SetCurrentSide(1);
    Open();
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_RIGHT_LIST)));
    EXPECT_FALSE(harness::IsChecked(Item(IDC_COPY_LEFT_LIST)));
    EXPECT_EQ(2, harness::ListRowCount(Files()));
}

TEST_F(CopyDialogTest, CollectRows_keySizeAndCheckOfEveryRowShown)
{
    Start();
    FillLists();
    Open();
    std::vector<CopyRow> rows = Dialog->CollectRows();
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(Deep, rows[0].FullPath);
    EXPECT_EQ(L"sub\\file.txt", rows[0].RelativePath);
    EXPECT_EQ(4u, rows[0].Size);
    EXPECT_EQ(1234u, rows[1].Size);
    EXPECT_TRUE(rows[2].Checked);
}

// the band under the relative part is painted in the underline colour, the part in front of it is not
TEST_F(CopyDialogTest, CustomDraw_underlinesTheRelativePart)
{
    kit::SettingsNode stored;
    stored.Child(L"Color").SetInt(L"UnderLine", 0x0000FF);
    Start(stored);
    FillLists();
    Open();
    SetWindowPos(Dialog->Handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(Files(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    harness::PumpPending();
    // the underline spans the relative part as it is written, not its lower-cased key
    struct {
        int RelativeOffset;
    } deep = {Width(Deep) - Width(L"Sub\\File.TXT")};
    ASSERT_GT(deep.RelativeOffset, 0);
    RECT label = {};
    label.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageW(Files(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label)));
    HDC dc = GetDC(Files());
    const COLORREF under = GetPixel(dc, label.left + deep.RelativeOffset + 3, label.bottom - 2);
    const COLORREF prefix = GetPixel(dc, label.left + deep.RelativeOffset / 2, label.bottom - 2);
    ReleaseDC(Files(), dc);
    EXPECT_EQ(0x0000FFu, under);
    EXPECT_NE(0x0000FFu, prefix);

    // with "UnderLine" off no band is painted
    Main->GetSettings().SetBool(L"UnderLine", false);
    RedrawWindow(Files(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    harness::PumpPending();
    dc = GetDC(Files());
    const COLORREF plain = GetPixel(dc, label.left + deep.RelativeOffset + 3, label.bottom - 2);
    ReleaseDC(Files(), dc);
    EXPECT_NE(0x0000FFu, plain);
}

TEST_F(CopyDialogTest, FillList_keepsCheckStatesAcrossAFilterChange)
{
    Start();
    FillLists();
    Open();
    Select({1});
    Command(ID_UNCHECK_SELECTED);
    EXPECT_EQ((std::vector<int>{2, 1, 2}), CheckStates());

    // "×" off and on again: the rows listed both times keep their states, the row of b comes back checked
    Click(IDC_COPY_NG);
    EXPECT_EQ((std::vector<std::wstring>{Row(Deep, L"←", true), Row(A, L"○", false)}), Rows());
    Click(IDC_COPY_NG);
    EXPECT_EQ((std::vector<std::wstring>{Row(Deep, L"←", true), Row(A, L"○", false), Row(B, L"×", true)}), Rows());

    Select({2});
    Command(ID_UNCHECK_SELECTED);
    Click(IDC_COPY_LEFT);
    EXPECT_EQ((std::vector<std::wstring>{Row(A, L"○", false), Row(B, L"×", false)}), Rows());
    // a file that comes back after it was not listed is a new row: checked
    Click(IDC_COPY_LEFT);
    EXPECT_EQ((std::vector<std::wstring>{Row(Deep, L"←", true), Row(A, L"○", false), Row(B, L"×", false)}), Rows());
}

TEST_F(CopyDialogTest, ContextCommands_checkUncheckAndInvert)
{
    Start();
    FillLists();
    Open();
    CopyListView& list = *Dialog->GetFileList();

    Select({});
    kit::Menu* menu = list.PrepareContextMenu();
    ASSERT_TRUE(menu);
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu->GetHandle(), ID_CHECK_SELECTED));
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu->GetHandle(), ID_UNCHECK_SELECTED));
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu->GetHandle(), ID_INVERT_SELECTED));
    EXPECT_TRUE(harness::IsMenuItemEnabled(menu->GetHandle(), ID_CHECK_ALL));
    EXPECT_TRUE(harness::IsMenuItemEnabled(menu->GetHandle(), ID_INVERT_ALL));

    Select({0, 2});
    menu = list.PrepareContextMenu();
    EXPECT_TRUE(harness::IsMenuItemEnabled(menu->GetHandle(), ID_CHECK_SELECTED));
    EXPECT_TRUE(harness::IsMenuItemEnabled(menu->GetHandle(), ID_INVERT_SELECTED));

    // a right click on the list opens "コピーリスト"
    const std::vector<std::wstring> items = MenuItemsShownBy([&] {
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = Files();
        click.hdr.idFrom = IDC_COPY_FILES;
        click.hdr.code = NM_RCLICK;
        click.iItem = 0;
        SendMessageW(Dialog->Handle, WM_NOTIFY, IDC_COPY_FILES, reinterpret_cast<LPARAM>(&click));
    });
    ASSERT_EQ(7u, items.size());
    EXPECT_EQ(L"選択ファイルをチェック(&C)", items.front());
    EXPECT_EQ(L"全てのファイルのチェックを反転(&V)", items.back());

    Command(ID_UNCHECK_SELECTED);
    EXPECT_EQ((std::vector<int>{1, 2, 1}), CheckStates());
    Command(ID_INVERT_ALL);
    EXPECT_EQ((std::vector<int>{2, 1, 2}), CheckStates());
    Command(ID_INVERT_SELECTED);
    EXPECT_EQ((std::vector<int>{1, 1, 1}), CheckStates());
    Command(ID_CHECK_SELECTED);
    EXPECT_EQ((std::vector<int>{2, 1, 2}), CheckStates());
    Command(ID_UNCHECK_ALL);
    EXPECT_EQ((std::vector<int>{1, 1, 1}), CheckStates());
    Command(ID_CHECK_ALL);
    EXPECT_EQ((std::vector<int>{2, 2, 2}), CheckStates());
    // Ctrl+A selects every row
    Select({});
    harness::PressKey(Files(), 'A', harness::Ctrl);
    EXPECT_EQ(3u, list.GetSelectedIndexes().size());
}

TEST_F(CopyDialogTest, DeleteButton_disablesTheOutputSettings)
{
    const int bound[] = {IDC_COPY_FOLDER, IDC_COPY_BROWSE, IDC_COPY_RELATIVE_PATH, IDC_COPY_CLASH, IDC_COPY_VERIFY};
    kit::SettingsNode stored;
    stored.Child(L"Copy").Child(L"Copy").SetInt(L"Check", 0);
    stored.Child(L"Copy").Child(L"Delete").SetInt(L"Check", 1);
    Start(stored);
    Open();
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_DELETE)));
    for (int id : bound)
        EXPECT_FALSE(harness::IsEnabled(Item(id))) << id;

    Click(IDC_COPY_MOVE);
    for (int id : bound)
        EXPECT_TRUE(harness::IsEnabled(Item(id))) << id;
    Click(IDC_COPY_DELETE);
    for (int id : bound)
        EXPECT_FALSE(harness::IsEnabled(Item(id))) << id;
    Click(IDC_COPY_COPY);
    for (int id : bound)
        EXPECT_TRUE(harness::IsEnabled(Item(id))) << id;
    EXPECT_EQ(CopyThread::OperationCopy, Dialog->GetOperation());
}

TEST_F(CopyDialogTest, Execute_nothingCheckedAndNoFolderAreRefused)
{
    Start();
    Open();
    harness::DialogWatcher watcher;
    // an empty list
    watcher.Answer(IDOK);
    Click(IDC_COPY_RUN);
    Dialog.reset();

    FillLists();
    Open();
    Command(ID_UNCHECK_ALL);
    SetFolder(Folder.PathOf(L"out"));
    watcher.Answer(IDOK);
    Click(IDC_COPY_RUN);

    Command(ID_CHECK_ALL);
    SetFolder(L"");
    watcher.Answer(IDOK);
    Click(IDC_COPY_RUN);
    // a delete needs the folder text too
    Click(IDC_COPY_DELETE);
    watcher.Answer(IDOK);
    Click(IDC_COPY_RUN);

    ASSERT_EQ(4u, watcher.Seen().size());
    EXPECT_EQ(L"出力するファイルがありません", watcher.Seen()[0].Text);
    EXPECT_EQ(L"出力するファイルがありません", watcher.Seen()[1].Text);
    EXPECT_EQ(L"出力先を指定して下さい", watcher.Seen()[2].Text);
    EXPECT_EQ(L"出力先を指定して下さい", watcher.Seen()[3].Text);
    for (const harness::SeenDialog& seen : watcher.Seen()) {
        EXPECT_EQ(L"", seen.Caption);
        EXPECT_TRUE(seen.Expected);
    }
    EXPECT_FALSE(Exists(Folder.PathOf(L"out")));
}

TEST_F(CopyDialogTest, Execute_confirmationsCanStopTheRun)
{
    Start();
    FillLists();
    Open();
    const std::wstring out = Folder.PathOf(L"out");
    SetFolder(out);
    Select({1});
    Command(ID_UNCHECK_SELECTED);

    harness::DialogWatcher watcher;
    watcher.Answer(IDCANCEL);
    Click(IDC_COPY_RUN);
    watcher.Answer(IDOK);
    watcher.Answer(IDCANCEL);
    Click(IDC_COPY_RUN);
    Click(IDC_COPY_MOVE);
    watcher.Answer(IDCANCEL);
    Click(IDC_COPY_RUN);
    Click(IDC_COPY_DELETE);
    watcher.Answer(IDOK);
    watcher.Answer(IDCANCEL);
    Click(IDC_COPY_RUN);

    ASSERT_EQ(6u, watcher.Seen().size());
    EXPECT_EQ(L"チェックされているファイル（全 2 ファイル）を " + out + L" へコピーしますか", watcher.Seen()[0].Text);
    EXPECT_EQ(L"チェックされているファイル（全 2 ファイル）を " + out + L" へコピーしますか", watcher.Seen()[1].Text);
    EXPECT_EQ(L"出力先 " + out + L" を作成しますか", watcher.Seen()[2].Text);
    EXPECT_EQ(L"チェックされているファイル（全 2 ファイル）を " + out + L" へ移動しますか", watcher.Seen()[3].Text);
    EXPECT_EQ(L"チェックされているファイル（全 2 ファイル）を削除しますか", watcher.Seen()[4].Text);
    // a delete asks for the missing folder too
    EXPECT_EQ(L"出力先 " + out + L" を作成しますか", watcher.Seen()[5].Text);
    for (const harness::SeenDialog& seen : watcher.Seen())
        EXPECT_EQ(L"", seen.Caption);
    EXPECT_FALSE(Exists(out));

    // a folder typed without its drive is named in full, as the run would resolve it
    wchar_t current[MAX_PATH] = {};
    ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, current));
    ASSERT_TRUE(SetCurrentDirectoryW(Folder.Path().c_str()));
    Click(IDC_COPY_COPY);
    SetFolder(L"relative");
    watcher.Answer(IDCANCEL);
    Click(IDC_COPY_RUN);
    SetCurrentDirectoryW(current);
    EXPECT_EQ(L"チェックされているファイル（全 2 ファイル）を " + Folder.PathOf(L"relative") + L" へコピーしますか",
              watcher.Seen().back().Text);
}

TEST_F(CopyDialogTest, Execute_copyKeepsRelativePathsInTheFilesOwnCase)
{
    Start();
    FillLists();
    Open();
    const std::wstring out = Folder.PathOf(L"out\\new");
    SetFolder(out);
    harness::DialogWatcher watcher;
    ProgressEnd failed;
    watcher.Answer(IDOK);
    watcher.Answer(IDOK);
    watcher.Answer(CloseWhenDone(failed));
    Click(IDC_COPY_RUN);
    // verify is on by default, and the list's values (made up here) are what every copy must match
    EXPECT_EQ(L"コピーできませんでした（コピー 0、検証済み 0、スキップ 0、失敗 3）", failed.Status);
    EXPECT_EQ(Deep + L" の検証に失敗しました", failed.Log.at(0));
    EXPECT_FALSE(Exists(out + L"\\a.txt"));

    Click(IDC_COPY_VERIFY);
    ProgressEnd end;
    watcher.Answer(IDOK);
    watcher.Answer(CloseWhenDone(end));
    Click(IDC_COPY_RUN);
    ASSERT_EQ(5u, watcher.Seen().size());
    EXPECT_EQ(L"進捗", watcher.Seen()[4].Caption);
    EXPECT_EQ(Dialog->Handle, end.Owner);
    EXPECT_EQ(L"コピーが完了しました（コピー 3、スキップ 0、失敗 0）", end.Status);
    EXPECT_TRUE(end.Log.empty());
    EXPECT_EQ("deep", ReadBytes(out + L"\\Sub\\File.TXT"));
    EXPECT_EQ(L"Sub", StoredName(out + L"\\Sub"));
    EXPECT_EQ(L"File.TXT", StoredName(out + L"\\Sub\\File.TXT"));
    EXPECT_EQ("left a", ReadBytes(out + L"\\a.txt"));
    EXPECT_EQ("left b", ReadBytes(out + L"\\b.txt"));
    // the dialog stays with its list as it was
    EXPECT_TRUE(IsWindow(Dialog->Handle));
    EXPECT_EQ(3, harness::ListRowCount(Files()));

    // the same run again with renaming: every file gets a numbered name, the first copies stay
    SendMessageW(Item(IDC_COPY_CLASH), CB_SETCURSEL, CopyThread::ClashRename, 0);
    Click(IDC_COPY_RELATIVE_PATH);
    ProgressEnd again;
    watcher.Answer(IDOK);
    watcher.Answer(CloseWhenDone(again));
    Click(IDC_COPY_RUN);
    EXPECT_EQ("deep", ReadBytes(out + L"\\File.TXT"));
    EXPECT_EQ("left a", ReadBytes(out + L"\\a (1).txt"));
    EXPECT_EQ("left a", ReadBytes(out + L"\\a.txt"));
    ASSERT_EQ(4u, again.Log.size());
    EXPECT_EQ(out + L"\\a.txt が既に存在します", again.Log[0]);
    EXPECT_EQ(L"\u3000→出力ファイル名を a (1).txt に変更しました", again.Log[1]);
}

TEST_F(CopyDialogTest, Execute_moveThenDeleteTheOtherSide)
{
    Start();
    FillLists();
    Open();
    const std::wstring out = Folder.MakeFolder(L"out");
    SetFolder(out);
    Click(IDC_COPY_MOVE);
    Click(IDC_COPY_RELATIVE_PATH);
    Select({1});
    Command(ID_UNCHECK_SELECTED);
    harness::DialogWatcher watcher;
    ProgressEnd moved;
    watcher.Answer(IDOK);
    watcher.Answer(CloseWhenDone(moved));
    Click(IDC_COPY_RUN);
    Sources.erase(Deep);
    Sources.erase(B);

    EXPECT_EQ(L"移動が完了しました（移動 2、スキップ 0、失敗 0）", moved.Status);
    EXPECT_EQ("deep", ReadBytes(out + L"\\File.TXT"));
    EXPECT_EQ("left b", ReadBytes(out + L"\\b.txt"));
    EXPECT_FALSE(Exists(Deep));
    EXPECT_FALSE(Exists(B));
    EXPECT_FALSE(Exists(out + L"\\a.txt"));

    Click(IDC_COPY_RIGHT_LIST);
    Click(IDC_COPY_DELETE);
    Select({0});
    Command(ID_UNCHECK_SELECTED);
    ProgressEnd deleted;
    watcher.Answer(IDOK);
    watcher.Answer(CloseWhenDone(deleted));
    Click(IDC_COPY_RUN);
    Sources.erase(RightB);

    EXPECT_EQ(L"チェックされているファイル（全 1 ファイル）を削除しますか", watcher.Seen().at(2).Text);
    EXPECT_EQ(L"削除が完了しました（削除 1、スキップ 0、失敗 0）", deleted.Status);
    EXPECT_FALSE(Exists(RightB));
    EXPECT_TRUE(Exists(RightA));
    // running the move again finds its sources gone
    Click(IDC_COPY_LEFT_LIST);
    Click(IDC_COPY_MOVE);
    Command(ID_CHECK_ALL);
    ProgressEnd again;
    watcher.Answer(IDOK);
    watcher.Answer(CloseWhenDone(again));
    Click(IDC_COPY_RUN);
    Sources.erase(A);
    ASSERT_EQ(2u, again.Log.size());
    EXPECT_EQ(Deep + L" が開けませんでした", again.Log[0]);
    EXPECT_EQ(B + L" が開けませんでした", again.Log[1]);
    EXPECT_EQ("left a", ReadBytes(out + L"\\a.txt"));
}

TEST_F(CopyDialogTest, Settings_storedOnCloseAndReadOnTheNextStart)
{
    Start();
    Open();
    // the defaults
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_COPY)));
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_RELATIVE_PATH)));
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_VERIFY)));
    for (int id : {IDC_COPY_OK, IDC_COPY_NG, IDC_COPY_LEFT, IDC_COPY_RIGHT, IDC_COPY_UNKNOWN})
        EXPECT_TRUE(harness::IsChecked(Item(id))) << id;
    EXPECT_EQ(CopyThread::ClashSkip, SendMessageW(Item(IDC_COPY_CLASH), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(3, SendMessageW(Item(IDC_COPY_CLASH), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"", harness::WindowText(Item(IDC_COPY_FOLDER)));

    Click(IDC_COPY_MOVE);
    Click(IDC_COPY_RELATIVE_PATH);
    Click(IDC_COPY_UNKNOWN);
    Click(IDC_COPY_VERIFY);
    SendMessageW(Item(IDC_COPY_CLASH), CB_SETCURSEL, CopyThread::ClashRename, 0);
    SetFolder(L"D:\\バックアップ");
    Click(IDC_CLOSE);
    const kit::SettingsNode& copy = Main->GetSettings().Child(L"Copy");
    EXPECT_EQ(1, copy.FindChild(L"Move")->GetInt(L"Check", -1));
    EXPECT_EQ(0, copy.FindChild(L"Copy")->GetInt(L"Check", -1));
    EXPECT_EQ(0, copy.FindChild(L"RelativePath")->GetInt(L"Check", -1));
    EXPECT_EQ(0, copy.FindChild(L"Unknown")->GetInt(L"Check", -1));
    EXPECT_EQ(0, copy.FindChild(L"Verify")->GetInt(L"Check", -1));
    EXPECT_EQ(1, copy.FindChild(L"Ok")->GetInt(L"Check", -1));
    EXPECT_EQ(CopyThread::ClashRename, copy.FindChild(L"OverWrite")->GetInt(L"Index", -1));
    EXPECT_EQ(L"D:\\バックアップ", copy.FindChild(L"OutputDirectory")->GetString(L"Text"));

    Dialog.reset();
    Close();
    Start();
    Open();
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_MOVE)));
    EXPECT_FALSE(harness::IsChecked(Item(IDC_COPY_COPY)));
    EXPECT_FALSE(harness::IsChecked(Item(IDC_COPY_RELATIVE_PATH)));
    EXPECT_FALSE(harness::IsChecked(Item(IDC_COPY_UNKNOWN)));
    EXPECT_FALSE(harness::IsChecked(Item(IDC_COPY_VERIFY)));
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_NG)));
    EXPECT_EQ(CopyThread::ClashRename, SendMessageW(Item(IDC_COPY_CLASH), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"D:\\バックアップ", harness::WindowText(Item(IDC_COPY_FOLDER)));
    EXPECT_EQ(CopyThread::OperationMove, Dialog->GetOperation());
}

// stored states that check no operation never make a delete out of it
TEST_F(CopyDialogTest, Settings_unclearOperationFallsBackToCopy)
{
    kit::SettingsNode stored;
    for (const wchar_t* key : {L"Copy", L"Move", L"Delete"})
        stored.Child(L"Copy").Child(key).SetInt(L"Check", 0);
    stored.Child(L"Copy").Child(L"OverWrite").SetInt(L"Index", 7);
    Start(stored);
    Open();
    EXPECT_TRUE(harness::IsChecked(Item(IDC_COPY_COPY)));
    EXPECT_FALSE(harness::IsChecked(Item(IDC_COPY_DELETE)));
    EXPECT_EQ(CopyThread::OperationCopy, Dialog->GetOperation());
    EXPECT_EQ(CopyThread::ClashSkip, Dialog->GetClashPolicy());
}

TEST_F(CopyDialogTest, ShowCopyDialog_runsModallyAndSavesOnClose)
{
    Start();
    FillLists();
    int rows = -1;
    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND dialog) {
        rows = harness::ListRowCount(GetDlgItem(dialog, IDC_COPY_FILES));
        harness::Click(GetDlgItem(dialog, IDC_COPY_NG));
        return harness::DialogWatcher::PressButton(dialog, IDCANCEL);
    });
    EXPECT_TRUE(ShowCopyDialog(*Main));
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ(L"ファイルの操作", watcher.Seen()[0].Caption);
    EXPECT_EQ(Main->Handle, watcher.Seen()[0].Owner);
    EXPECT_EQ(3, rows);
    EXPECT_EQ(0, Main->GetSettings().Child(L"Copy").Child(L"Ng").GetInt(L"Check", -1));
}

// With JUXTA_SCREENSHOTS set to a folder, the dialog with rows and the progress dialog after a run with log lines
// are saved there as copy-dialog.bmp and copy-progress.bmp.
TEST_F(CopyDialogTest, Screenshots)
{
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"JUXTA_SCREENSHOTS", folder, MAX_PATH))
        GTEST_SKIP() << "JUXTA_SCREENSHOTS not set";
    const std::wstring shots = folder;
    Start();
    MoveWindow(Main->Handle, 0, 0, 900, 600, TRUE);
    FillLists();
    Open();
    SetWindowPos(Dialog->Handle, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Select({1});
    Command(ID_UNCHECK_SELECTED);
    Select({});
    const std::wstring out = Folder.MakeFolder(L"out");
    Folder.WriteFile(L"out\\b.txt", "existing");
    SetFolder(out);
    Click(IDC_COPY_RELATIVE_PATH);
    SendMessageW(Item(IDC_COPY_CLASH), CB_SETCURSEL, CopyThread::ClashRename, 0);
    RedrawWindow(Dialog->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    harness::PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(SaveWindowBitmap(Dialog->Handle, shots + L"\\copy-dialog.bmp"));

    DeleteFileW(Deep.c_str());
    Sources.erase(Deep);
    harness::DialogWatcher watcher;
    watcher.Answer(IDOK);
    watcher.Answer([&](HWND dialog) {
        if (harness::ItemText(dialog, IDC_CLOSE) != L"閉じる")
            return false;
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        harness::PumpUntil([] { return false; }, 300);
        SaveWindowBitmap(dialog, shots + L"\\copy-progress.bmp");
        return harness::DialogWatcher::PressButton(dialog, IDC_CLOSE);
    });
    Click(IDC_COPY_RUN);
}

} // namespace
