// The main window: columns, settings at start and exit, layout, status panes, the checking appearance.
#include "tests/app/MainWindowTesting.h"

#include "app/check/CheckHashManager.h"
#include "app/lists/FileListWindow.h"
#include "app/lists/PairMarks.h"
#include "kit/ui/Image.h"
#include "kit/ui/ReberControl.h"
#include "kit/ui/StatusBarPane.h"
#include "kit/ui/ToolTip.h"
#include "resources/resource.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

class JuxtaTest : public MainWindowFixture {
protected:
    std::vector<std::wstring> Headers(int side)
    {
        std::vector<std::wstring> headers;
        HWND list = List(side).Handle;
        for (int column = 0; column < harness::ListColumnCount(list); ++column)
            headers.push_back(harness::ListHeaderText(list, column));
        return headers;
    }
    int Width(int side, int column) { return List(side).GetColumn(column)->GetWidth(); }
    std::wstring Pane(int pane) { return Main->GetStatusBar()->GetPane(pane)->GetText(); }
    RECT ChildRect(HWND child)
    {
        RECT rect = harness::WindowRect(child);
        MapWindowPoints(HWND_DESKTOP, Main->Handle, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // runs f on another thread while this one keeps serving messages, as the scheduler's calls are made
    void OnOtherThread(const std::function<void()>& f)
    {
        std::atomic<bool> done(false);
        std::thread other([&] {
            f();
            done = true;
        });
        harness::PumpUntil([&] { return done.load(); });
        other.join();
    }
};

const std::vector<std::wstring> CrcColumns = {L"ファイル名", L"CRC32", L"サイズ"};

TEST_F(JuxtaTest, BuildColumns_onlyCrc32)
{
    Start();
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(CrcColumns, Headers(side));
        EXPECT_EQ(160, Width(side, 0));
        EXPECT_EQ(80, Width(side, 1));
        EXPECT_EQ(100, Width(side, 2));
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT;
        SendMessageW(List(side).Handle, LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column));
        EXPECT_EQ(LVCFMT_RIGHT, column.fmt & LVCFMT_JUSTIFYMASK);
    }
    EXPECT_EQ(0, Main->GetFileNameColumn());
    EXPECT_EQ(1, Main->GetHashColumn(0));
    EXPECT_EQ(-1, Main->GetHashColumn(1));
    EXPECT_EQ(-1, Main->GetHashColumn(2));
    EXPECT_EQ(2, Main->GetSizeColumn());
}

TEST_F(JuxtaTest, BuildColumns_crc32AndSha1)
{
    kit::SettingsNode stored;
    stored.SetBool(L"Sha1", true);
    Start(stored);
    const std::vector<std::wstring> expected = {L"ファイル名", L"CRC32", L"SHA-1", L"サイズ"};
    EXPECT_EQ(expected, Headers(0));
    EXPECT_EQ(expected, Headers(1));
    EXPECT_EQ(290, Width(1, 2));
    EXPECT_EQ(1, Main->GetHashColumn(0));
    EXPECT_EQ(-1, Main->GetHashColumn(1));
    EXPECT_EQ(2, Main->GetHashColumn(2));
    EXPECT_EQ(3, Main->GetSizeColumn());
}

TEST_F(JuxtaTest, BuildColumns_md5SwitchedOnComesBeforeTheSize)
{
    Start();
    RegisterFile(0, Folder.WriteFile(L"a\\x.bin", "1"));
    Main->GetSettings().SetBool(L"Md5", true);
    Main->BuildColumns();
    const std::vector<std::wstring> expected = {L"ファイル名", L"CRC32", L"MD5", L"サイズ"};
    EXPECT_EQ(expected, Headers(0));
    EXPECT_EQ(expected, Headers(1));
    EXPECT_EQ(240, Width(0, 2));
    EXPECT_EQ(2, Main->GetHashColumn(1));
    EXPECT_EQ(3, Main->GetSizeColumn());
    // the cells follow the positions, and the mark list keeps its one column
    List(0).SetHashText(0, 1, L"0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(L"0123456789ABCDEF0123456789ABCDEF", Cell(0, 0, 2));
    EXPECT_EQ(1, harness::ListColumnCount(Marks().Handle));
    // a hidden kind reads empty and is not written
    List(0).SetHashText(0, 2, L"X");
    EXPECT_EQ(L"", List(0).GetHashText(0, 2));
}

TEST_F(JuxtaTest, BuildColumns_storedNarrowWidthsShowAs50)
{
    kit::SettingsNode stored;
    stored.Child(L"Left").Child(L"FileName").SetInt(L"Width", 10);
    stored.Child(L"Left").Child(L"FileSize").SetInt(L"Width", 20);
    stored.Child(L"Right").Child(L"Crc32").SetInt(L"Width", 49);
    stored.Child(L"Right").Child(L"FileName").SetInt(L"Width", 50);
    stored.Child(L"Right").Child(L"FileSize").SetBool(L"Width", true);
    Start(stored);
    EXPECT_EQ(50, Width(0, 0));
    EXPECT_EQ(80, Width(0, 1));
    EXPECT_EQ(50, Width(0, 2));
    EXPECT_EQ(50, Width(1, 0));
    EXPECT_EQ(50, Width(1, 1));
    // a value of the wrong length gives the default
    EXPECT_EQ(100, Width(1, 2));
}

TEST_F(JuxtaTest, OnCreate_defaultsOfEveryKey)
{
    Start();
    const kit::SettingsNode& settings = Main->GetSettings();
    for (const wchar_t* key : {L"Crc32", L"SubDirectory", L"AutoScroll", L"UnderLine", L"CompareHash"}) {
        ASSERT_EQ(1u, settings.Values.count(key)) << key;
        EXPECT_EQ(kit::SettingsNode::Value(1, 1), settings.Values.at(key)) << key;
    }
    for (const wchar_t* key : {L"Md5", L"Sha1", L"AutoSize", L"Open", L"Compare", L"WindowPlacement"})
        EXPECT_EQ(0u, settings.Values.count(key)) << key;
    EXPECT_EQ(8, settings.GetInt(L"CheckNum", 0));
    const kit::SettingsNode* colours = settings.FindChild(L"Color");
    ASSERT_NE(nullptr, colours);
    EXPECT_EQ(0xC0C0C0, colours->GetInt(L"Wait", 0));
    EXPECT_EQ(0x00FF00, colours->GetInt(L"Check", 0));
    EXPECT_EQ(0xFFFF00, colours->GetInt(L"Ok", 0));
    EXPECT_EQ(0xFF00FF, colours->GetInt(L"Ng", 0));
    EXPECT_EQ(0x00FFFF, colours->GetInt(L"Left", 0));
    EXPECT_EQ(0x00FFFF, colours->GetInt(L"Right", 0));
    EXPECT_EQ(0x000000, colours->GetInt(L"UnderLine", -1));
    const kit::SettingsNode* tools = settings.FindChild(L"Tool");
    ASSERT_NE(nullptr, tools);
    EXPECT_EQ(L"txt;html", tools->FindChild(L"0")->GetString(L"Extension"));
    EXPECT_EQ(L"*", tools->FindChild(L"1")->GetString(L"Extension"));
    EXPECT_EQ(nullptr, tools->FindChild(L"2"));
    // the workers' copy holds the same
    EXPECT_TRUE(*Main->GetPublishedSettings() == settings);
}

TEST_F(JuxtaTest, OnCreate_storedValuesReplaceDefaults)
{
    kit::SettingsNode stored;
    stored.SetInt(L"CheckNum", 3);
    stored.Child(L"Color").SetInt(L"Ok", 0x111111);
    Start(stored);
    EXPECT_EQ(3, Main->GetSettings().GetInt(L"CheckNum", 0));
    EXPECT_EQ(0x111111u, Main->GetStateColour(StateColour::Ok));
    // a stored node replaces the defaults' node whole: the lists fall back to the default for a missing key
    EXPECT_EQ(0xFF00FFu, Main->GetStateColour(StateColour::Ng));
    EXPECT_TRUE(Main->GetSettings().GetBool(L"Crc32", false));
}

TEST_F(JuxtaTest, OnCreate_settingsFileOfAnotherVersionIsIgnoredAndRewritten)
{
    kit::SettingsNode stored;
    stored.SetInt(L"CheckNum", 3);
    ASSERT_TRUE(stored.Save(SettingsPath()));
    // the same file with version 2
    HANDLE file = CreateFileW(SettingsPath().c_str(), GENERIC_WRITE, 0, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const int32_t version = 2;
    DWORD written = 0;
    WriteFile(file, &version, sizeof version, &written, 0);
    CloseHandle(file);
    Start();
    EXPECT_EQ(8, Main->GetSettings().GetInt(L"CheckNum", 0));
    Close();
    EXPECT_EQ(1, kit::SettingsNode::ReadVersion(SettingsPath()));
}

TEST_F(JuxtaTest, OnDestroy_restartKeepsPlacementViewChecksAndWidths)
{
    Start();
    SetWindowPos(Main->Handle, 0, 40, 50, 700, 480, SWP_NOZORDER);
    harness::SendCommand(Main->Handle, ID_VIEW_TOOLBAR);
    harness::SendCommand(Main->Handle, ID_VIEW_SIDE_TOOLBAR);
    SendMessageW(List(0).Handle, LVM_SETCOLUMNWIDTH, 0, 222);
    SendMessageW(List(1).Handle, LVM_SETCOLUMNWIDTH, 2, 77);
    WINDOWPLACEMENT before = {};
    before.length = sizeof before;
    GetWindowPlacement(Main->Handle, &before);
    Close();

    Start();
    WINDOWPLACEMENT after = {};
    after.length = sizeof after;
    GetWindowPlacement(Main->Handle, &after);
    EXPECT_TRUE(EqualRect(&before.rcNormalPosition, &after.rcNormalPosition));
    EXPECT_TRUE(IsWindowVisible(Main->Handle));
    HMENU menu = Main->GetMainMenu()->GetHandle();
    EXPECT_FALSE(harness::IsMenuItemChecked(menu, ID_VIEW_TOOLBAR));
    EXPECT_FALSE(harness::IsMenuItemChecked(menu, ID_VIEW_SIDE_TOOLBAR));
    EXPECT_TRUE(harness::IsMenuItemChecked(menu, ID_VIEW_STATUSBAR));
    EXPECT_FALSE(harness::IsMenuItemChecked(menu, ID_VIEW_TOPMOST));
    EXPECT_FALSE(harness::IsToolbarButtonChecked(Main->GetMainToolBar()->Handle, ID_VIEW_TOOLBAR));
    EXPECT_TRUE(harness::IsToolbarButtonChecked(Main->GetMainToolBar()->Handle, ID_VIEW_STATUSBAR));
    EXPECT_FALSE(IsWindowVisible(Main->GetRebar()->Handle));
    EXPECT_FALSE(Main->GetSideWindow(0)->IsSideToolBarVisible());
    EXPECT_TRUE(IsWindowVisible(Main->GetStatusBar()->Handle));
    EXPECT_EQ(222, Width(0, 0));
    EXPECT_EQ(77, Width(1, 2));
    EXPECT_EQ(80, Width(1, 1));
}

TEST_F(JuxtaTest, OnDestroy_widthsOfHiddenKindsStay)
{
    kit::SettingsNode stored;
    stored.Child(L"Left").Child(L"Md5").SetInt(L"Width", 123);
    Start(stored);
    Close();
    kit::SettingsNode saved;
    ASSERT_TRUE(saved.Load(SettingsPath()));
    const kit::SettingsNode* left = saved.FindChild(L"Left");
    ASSERT_NE(nullptr, left);
    EXPECT_EQ(123, left->FindChild(L"Md5")->GetInt(L"Width", 0));
    EXPECT_EQ(160, left->FindChild(L"FileName")->GetInt(L"Width", 0));
    EXPECT_EQ(80, left->FindChild(L"Crc32")->GetInt(L"Width", 0));
    EXPECT_EQ(100, left->FindChild(L"FileSize")->GetInt(L"Width", 0));
    EXPECT_EQ(nullptr, left->FindChild(L"Sha1"));
    WINDOWPLACEMENT placement = {};
    EXPECT_TRUE(saved.GetBinary(L"WindowPlacement", placement));
    EXPECT_EQ(44u, sizeof placement);
}

// (the test display has no window manager, which is what carries out a maximise: the posted command is checked)
TEST_F(JuxtaTest, OnCreate_storedMaximisedPlacementIsRestoredHiddenThenMaximised)
{
    for (UINT show : {static_cast<UINT>(SW_SHOWMAXIMIZED), static_cast<UINT>(SW_SHOWMINIMIZED)}) {
        WINDOWPLACEMENT stored = {};
        stored.length = sizeof stored;
        stored.showCmd = show;
        stored.rcNormalPosition = RECT{30, 40, 670, 460};
        // the window of the round before writes its settings as it closes
        Close();
        kit::SettingsNode settings;
        settings.SetBinary(L"WindowPlacement", stored);
        ASSERT_TRUE(settings.Save(SettingsPath()));
        Main.reset(new Juxta(SettingsPath()));
        ASSERT_TRUE(Main->CreateMainWindow());
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        GetWindowPlacement(Main->Handle, &placement);
        EXPECT_TRUE(EqualRect(&stored.rcNormalPosition, &placement.rcNormalPosition));
        EXPECT_FALSE(IsWindowVisible(Main->Handle));
        MSG message = {};
        ASSERT_TRUE(PeekMessageW(&message, Main->Handle, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE));
        EXPECT_EQ(show == SW_SHOWMAXIMIZED ? SC_MAXIMIZE : SC_MINIMIZE, message.wParam);
    }
    // a placement of the wrong size is ignored: the window is shown at once
    kit::SettingsNode settings;
    settings.SetInt(L"WindowPlacement", 3);
    Start(settings);
    EXPECT_TRUE(IsWindowVisible(Main->Handle));
}

TEST_F(JuxtaTest, RefreshPane_texts)
{
    Start();
    EXPECT_EQ(L"\t\t0 ファイル  0 Byte ", Pane(0));
    EXPECT_EQ(L"\t○:0", Pane(1));
    EXPECT_EQ(L"\t×:0", Pane(2));
    EXPECT_EQ(L"\t←:0", Pane(3));
    EXPECT_EQ(L"\t→:0", Pane(4));
    EXPECT_EQ(L"\t？:0", Pane(5));
    EXPECT_EQ(L" 0 ファイル  0 Byte ", Pane(6));

    Register(0, {Folder.WriteFile(L"a\\1.bin", "1"), Folder.WriteFile(L"a\\2.bin", "1")}, Folder.PathOf(L"a\\"));
    RegisterFile(1, Folder.WriteFile(L"b\\2.bin", "1"));
    Main->GetRows().AddBytes(0, 1234567);
    Main->GetRows().AddBytes(1, 999);
    Main->RefreshPanes();
    EXPECT_EQ(L"\t\t2 ファイル  1,234,567 Byte ", Pane(0));
    EXPECT_EQ(L"\t←:1", Pane(3));
    EXPECT_EQ(L"\t？:1", Pane(5));
    EXPECT_EQ(L" 1 ファイル  999 Byte ", Pane(6));
}

TEST_F(JuxtaTest, OnSize_layout)
{
    Start();
    RECT client = {};
    GetClientRect(Main->Handle, &client);
    const int width = client.right;
    const int middle = 2 * GetSystemMetrics(SM_CXEDGE) + 40 + GetSystemMetrics(SM_CXVSCROLL);
    const int left = width / 2 - middle / 2;
    const int top =
        harness::WindowRect(Main->GetRebar()->Handle).bottom - harness::WindowRect(Main->GetRebar()->Handle).top;
    const RECT bar = harness::WindowRect(Main->GetStatusBar()->Handle);
    const int height = client.bottom - top - (bar.bottom - bar.top);
    ASSERT_GT(top, 0);
    const RECT l = ChildRect(Main->GetSideWindow(0)->Handle);
    const RECT m = ChildRect(Marks().Handle);
    const RECT r = ChildRect(Main->GetSideWindow(1)->Handle);
    EXPECT_EQ(0, l.left);
    EXPECT_EQ(top, l.top);
    EXPECT_EQ(left, l.right);
    EXPECT_EQ(height, l.bottom - l.top);
    EXPECT_EQ(left, m.left);
    EXPECT_EQ(left + middle, m.right);
    EXPECT_EQ(top, m.top);
    EXPECT_EQ(left + middle, r.left);
    EXPECT_EQ(width, r.right);
    EXPECT_EQ(height, r.bottom - r.top);
    for (int pane = 1; pane <= 5; ++pane)
        EXPECT_EQ(64, Main->GetStatusBar()->GetPaneWidth(pane));
    EXPECT_EQ((width - 320) / 2, Main->GetStatusBar()->GetPaneWidth(0));

}

// At the minimum width the side panes keep room for their whole texts (the mark panes give some up), and the
// empty mark list shows no horizontal bar of its own while the side lists are hidden under their drop hints.
TEST_F(JuxtaTest, OnSize_minimumWidthKeepsSidePanesWholeAndNoLoneBar)
{
    Start();
    RECT frame = harness::WindowRect(Main->Handle);
    SetWindowPos(Main->Handle, nullptr, 0, 0, 1, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    harness::PumpPending();
    RECT client = {};
    GetClientRect(Main->Handle, &client);
    HWND bar = Main->GetStatusBar()->Handle;
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(bar, WM_GETFONT, 0, 0)));
    int total = 0;
    for (int pane = 0; pane < 7; ++pane) {
        std::wstring text = Pane(pane);
        text.erase(std::remove(text.begin(), text.end(), L'\t'), text.end());
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        EXPECT_GT(Main->GetStatusBar()->GetPaneWidth(pane), size.cx) << "pane " << pane << ": " << text.c_str();
        total += Main->GetStatusBar()->GetPaneWidth(pane);
    }
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    EXPECT_LE(total, client.right);
    EXPECT_EQ(Main->GetStatusBar()->GetPaneWidth(0), Main->GetStatusBar()->GetPaneWidth(6));

    const auto hasBar = [](HWND list) { return (GetWindowLongPtrW(list, GWL_STYLE) & WS_HSCROLL) != 0; };
    EXPECT_FALSE(hasBar(Marks().Handle));
    // once a side list is shown its wide columns give all three lists the bar, so that their rows stay in line
    Main->GetSideWindow(0)->RemoveDropHint();
    harness::PumpPending();
    EXPECT_TRUE(hasBar(List(0).Handle));
    EXPECT_TRUE(hasBar(Marks().Handle));
    EXPECT_TRUE(hasBar(List(1).Handle));
}

TEST_F(JuxtaTest, OnSize_hiddenToolbarGivesItsHeightToTheLists)
{
    Start();
    const RECT before = ChildRect(Main->GetSideWindow(0)->Handle);
    const RECT rebar = harness::WindowRect(Main->GetRebar()->Handle);
    harness::SendCommand(Main->Handle, ID_VIEW_TOOLBAR);
    harness::PumpPending();
    const RECT after = ChildRect(Main->GetSideWindow(0)->Handle);
    EXPECT_EQ(0, after.top);
    EXPECT_EQ(0, ChildRect(Marks().Handle).top);
    EXPECT_EQ(0, ChildRect(Main->GetSideWindow(1)->Handle).top);
    EXPECT_EQ((before.bottom - before.top) + (rebar.bottom - rebar.top), after.bottom - after.top);
    EXPECT_FALSE(harness::IsToolbarButtonChecked(Main->GetMainToolBar()->Handle, ID_VIEW_TOOLBAR));

    harness::SendCommand(Main->Handle, ID_VIEW_STATUSBAR);
    harness::PumpPending();
    EXPECT_FALSE(IsWindowVisible(Main->GetStatusBar()->Handle));
    RECT client = {};
    GetClientRect(Main->Handle, &client);
    EXPECT_EQ(client.bottom, ChildRect(Main->GetSideWindow(1)->Handle).bottom);
}

TEST_F(JuxtaTest, OnGetMinMaxInfo_minimumSize)
{
    Start();
    MINMAXINFO info = {};
    SendMessageW(Main->Handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(500, info.ptMinTrackSize.x);
    EXPECT_EQ(200, info.ptMinTrackSize.y);
}

// The commands follow the scheduler and the rows: off with no rows, off while a check runs, on after it.
TEST_F(JuxtaTest, SetCheckingAppearance_commandsAndBusyIcon)
{
    Start();
    HMENU menu = Main->GetMainMenu()->GetHandle();
    HWND bar = Main->GetMainToolBar()->Handle;
    HWND sideBar = Main->GetSideWindow(1)->SideToolBar->Handle;
    // at creation: list commands and stop off, registration on
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu, ID_CLEAR));
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu, ID_STOP));
    EXPECT_FALSE(harness::IsToolbarButtonEnabled(bar, ID_RECHECK));
    EXPECT_FALSE(harness::IsToolbarButtonEnabled(sideBar, ID_REMOVE_RIGHT));
    EXPECT_TRUE(harness::IsToolbarButtonEnabled(sideBar, ID_ADD_FILES_RIGHT));
    EXPECT_TRUE(harness::IsMenuItemEnabled(menu, ID_ADD_FILES_LEFT));

    // the scheduler switches the appearance from its own thread
    RegisterFile(0, Folder.PathOf(L"a.txt"));
    OnOtherThread([&] { Main->GetChecker()->SetChecking(true); });
    EXPECT_TRUE(harness::IsMenuItemEnabled(menu, ID_STOP));
    EXPECT_TRUE(harness::IsToolbarButtonEnabled(bar, ID_STOP));
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu, ID_OUTPUT));
    EXPECT_TRUE(harness::IsToolbarButtonEnabled(Main->GetSideWindow(0)->SideToolBar->Handle, ID_ADD_FOLDER_LEFT));
    kit::StatusBarPane* pane = Main->GetStatusBar()->GetPane(0);
    EXPECT_EQ(Main->GetBusyIcon(0), pane->GetIcon());
    // the timer moves through the frames 115, 116, 117, 116
    EXPECT_TRUE(harness::PumpUntil([&] { return pane->GetIcon() == Main->GetBusyIcon(2); }));
    EXPECT_TRUE(harness::PumpUntil([&] { return pane->GetIcon() == Main->GetBusyIcon(3); }));
    EXPECT_TRUE(harness::PumpUntil([&] { return pane->GetIcon() == Main->GetBusyIcon(0); }));

    OnOtherThread([&] { Main->GetChecker()->SetChecking(false); });
    EXPECT_EQ(nullptr, pane->GetIcon());
    EXPECT_FALSE(harness::IsMenuItemEnabled(menu, ID_STOP));
    EXPECT_FALSE(harness::IsToolbarButtonEnabled(bar, ID_STOP));
    for (int command : {ID_CLEAR, ID_OUTPUT, ID_FILE_OPERATION, ID_SELECT_ALL, ID_SELECT_INVERT, ID_RECHECK})
        EXPECT_TRUE(harness::IsMenuItemEnabled(menu, command)) << command;
    EXPECT_TRUE(harness::IsMenuItemEnabled(menu, ID_CLEAR));
    EXPECT_TRUE(harness::IsToolbarButtonEnabled(bar, ID_CLEAR));
    EXPECT_TRUE(harness::IsToolbarButtonEnabled(sideBar, ID_COPY_SHA1_RIGHT));
    // the animation has stopped: the icon stays empty
    harness::PumpUntil([] { return false; }, 150);
    EXPECT_EQ(nullptr, pane->GetIcon());
}

// the values of 48 MiB of zero bytes (rhash --crc32 --md5 --sha1)
const wchar_t* const ZeroCrc32 = L"DD432CC6";
const wchar_t* const ZeroMd5 = L"F6A7B2F72130B8E4033094CB3B4AB80C";
const wchar_t* const ZeroSha1 = L"5B1371232A8ADC2E5056B097F2E5F00B6B4FBD71";

// dropping more files while 16 workers write their rows, then closing the window, both come to an end: the
// interface thread never waits for a lock without serving the workers' messages
// a scheduler that lets the lock go and takes it again at once does not keep the polling interface thread out
TEST_F(JuxtaTest, YieldMainToInterface_theWaitingInterfaceThreadGetsTheLockFirst)
{
    Start();
    kit::CriticalSection& lock = Main->GetMainLock();
    std::atomic<bool> held(false), done(false), otherGotIt(false);
    std::thread other([&] {
        lock.Lock();
        held = true;
        while (!Main->InterfaceWaitsForMain())
            Sleep(1);
        lock.Unlock();
        Main->YieldMainToInterface();
        otherGotIt = lock.TryLock();
        if (otherGotIt)
            lock.Unlock();
        done = true;
    });
    harness::PumpUntil([&] { return held.load(); });
    Main->AcquireMain();
    harness::PumpUntil([&] { return done.load(); });
    lock.Unlock();
    other.join();
    EXPECT_FALSE(otherGotIt.load());
}

TEST_F(JuxtaTest, RegisterDrop_moreFilesAndCloseWhileSixteenWorkersRun)
{
    kit::SettingsNode stored;
    stored.SetInt(L"CheckNum", 16);
    stored.SetBool(L"Md5", true);
    stored.SetBool(L"Sha1", true);
    Start(stored);
    ASSERT_TRUE(Main->GetChecker());
    for (int n = 0; n < 24; ++n) {
        Folder.WriteSparseFile(L"a\\f" + std::to_wstring(n) + L".bin", 48 << 20);
        Folder.WriteSparseFile(L"b\\f" + std::to_wstring(n) + L".bin", 48 << 20);
    }
    for (int n = 0; n < 8; ++n)
        Folder.WriteSparseFile(L"c\\g" + std::to_wstring(n) + L".bin", 48 << 20);
    Main->RegisterDrop(0, {Folder.PathOf(L"a")});
    Main->RegisterDrop(1, {Folder.PathOf(L"b")});
    ASSERT_TRUE(Main->GetChecker()->IsChecking());
    // Looked at before any pumping: sixteen busy workers keep the queue full, so a pump that drains it first takes
    // seconds, long enough for the first files to be done.
    const auto sixteenRun = [&] { return Main->GetChecker()->GetWorkerCount() >= 16; };
    EXPECT_TRUE(sixteenRun() || harness::PumpUntil(sixteenRun, 10000));

    Main->RegisterDrop(0, {Folder.PathOf(L"c")});
    EXPECT_EQ(32, List(0).GetItemCount());
    EXPECT_EQ(32, Marks().GetItemCount());
    EXPECT_EQ(8, Main->GetRows().MarkCount(PairMark::Left));
    // the pairs in progress are undecided or equal, never different or apart
    EXPECT_EQ(24, Main->GetRows().MarkCount(PairMark::Unknown) + Main->GetRows().MarkCount(PairMark::Ok));
    for (int row = 0; row < 24; ++row)
        EXPECT_TRUE(Marks().GetMark(row) == PairMark::Unknown || Marks().GetMark(row) == PairMark::Ok) << row;
    EXPECT_TRUE(Main->GetChecker()->IsChecking());

    DestroyWindow(Main->Handle);
    harness::PumpPending();
    harness::ClearQuit();
    EXPECT_FALSE(Main->GetChecker()->IsChecking());
    EXPECT_EQ(0u, Main->GetChecker()->GetWorkerCount());
    Main.reset();
}

// 24 equal pairs read by 16 workers while the right side is dropped: every cell ends with its value and every
// pair "○". (Painting used to wait for the lists' locks by serving every message, painting again from there, one
// level deeper each time; past Wine's depth limit the workers' cell writes were dropped and pairs compared against
// percentages.)
TEST_F(JuxtaTest, RegisterDrop_sixteenWorkersOnEqualPairsAllAgree)
{
    kit::SettingsNode stored;
    stored.SetInt(L"CheckNum", 16);
    stored.SetBool(L"Md5", true);
    stored.SetBool(L"Sha1", true);
    Start(stored);
    for (int n = 0; n < 24; ++n) {
        Folder.WriteSparseFile(L"a\\f" + std::to_wstring(n) + L".bin", 48 << 20);
        Folder.WriteSparseFile(L"b\\f" + std::to_wstring(n) + L".bin", 48 << 20);
    }
    Main->RegisterDrop(0, {Folder.PathOf(L"a")});
    Main->RegisterDrop(1, {Folder.PathOf(L"b")});
    ASSERT_TRUE(harness::PumpUntil([&] { return !Main->GetChecker()->IsChecking(); }, 240000));
    EXPECT_EQ(24, Main->GetRows().MarkCount(PairMark::Ok));
    for (int row = 0; row < 24; ++row) {
        EXPECT_EQ(L"○", MarkText(row)) << row;
        for (int side = 0; side < 2; ++side) {
            EXPECT_EQ(ZeroCrc32, Cell(side, row, 1)) << side << " " << row;
            EXPECT_EQ(ZeroMd5, Cell(side, row, 2)) << side << " " << row;
            EXPECT_EQ(ZeroSha1, Cell(side, row, 3)) << side << " " << row;
            EXPECT_EQ(L"50,331,648", Cell(side, row, 4)) << side << " " << row;
        }
    }
}

TEST_F(JuxtaTest, MainToolBar_buttonsAndTips)
{
    Start();
    const kit::ToolBar& bar = *Main->GetMainToolBar();
    const int commands[] = {ID_CLEAR, ID_STOP, ID_RECHECK, 0, ID_COMPARE_TOOL, ID_OUTPUT, ID_FILE_OPERATION, 0,
                            ID_VIEW_TOOLBAR, ID_VIEW_SIDE_TOOLBAR, ID_VIEW_STATUSBAR, ID_VIEW_TOPMOST, 0, ID_CONFIG,
                            ID_HELP_MANUAL};
    ASSERT_EQ(15, SendMessageW(bar.Handle, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < 15; ++index) {
        TBBUTTON button = {};
        SendMessageW(bar.Handle, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(commands[index], button.idCommand) << index;
    }
    EXPECT_EQ(L"チェックを停止", bar.GetTips()->GetToolText(bar.Handle, ID_STOP));
    EXPECT_EQ(L"常に最前面表示", bar.GetTips()->GetToolText(bar.Handle, ID_VIEW_TOPMOST));
    EXPECT_TRUE(harness::IsToolbarButtonChecked(bar.Handle, ID_VIEW_SIDE_TOOLBAR));
    EXPECT_FALSE(harness::IsToolbarButtonChecked(bar.Handle, ID_VIEW_TOPMOST));

    // the topmost toggle from the toolbar
    harness::ClickToolbarButton(bar.Handle, ID_VIEW_TOPMOST);
    EXPECT_TRUE(harness::IsMenuItemChecked(Main->GetMainMenu()->GetHandle(), ID_VIEW_TOPMOST));
    // (the display of the tests has no window manager to keep a topmost window's style)
    EXPECT_TRUE(Main->TopMost);
}

} // namespace
