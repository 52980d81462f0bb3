// What the program keeps across a real restart: the window's placement (maximised as well), the view toggles and
// the column widths, written to the settings file beside the program when it closes and read back at its next
// start. The test runs its own copy of the program in its temporary folder, so the settings file is the test's.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/shell/Juxta.h"
#include "kit/core/SettingsNode.h"
#include "resources/resource.h"
#include "tests/harness/Harness.h"

namespace {

const int StartWait = 20000;
const DWORD ExitWait = 15000;

// the build gives a Unix path; under Wine the root of that file system is drive Z:
std::wstring BuiltProgram()
{
    return harness::HostPath(JUXTA_EXE);
}

// one run of the program copy; ended by force only if a test leaves it running
class Launch {
public:
    explicit Launch(const std::wstring& program)
    {
        std::wstring command = L"\"" + program + L"\"";
        const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                           &Info))
            CloseHandle(Info.hThread);
        else
            Info.hProcess = nullptr;
    }
    ~Launch()
    {
        if (!Info.hProcess)
            return;
        if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(Info.hProcess, 99);
            WaitForSingleObject(Info.hProcess, ExitWait);
        }
        CloseHandle(Info.hProcess);
    }
    Launch(const Launch&) = delete;
    Launch& operator=(const Launch&) = delete;

    // the visible main window of this process, once it has one (null after the wait)
    HWND WaitForWindow()
    {
        HWND found = nullptr;
        harness::PumpUntil(
            [&] {
                for (HWND window : harness::TopLevelWindows(Juxta::ClassName)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == Info.dwProcessId && IsWindowVisible(window))
                        found = window;
                }
                return found != nullptr;
            },
            StartWait);
        return found;
    }
    // closes the window as the close box does; the exit code, or -1 when the program did not end
    long Close(HWND window)
    {
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(Info.hProcess, ExitWait) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(Info.hProcess, &code);
        return static_cast<long>(code);
    }
    bool Started() const { return Info.hProcess != nullptr; }

private:
    PROCESS_INFORMATION Info = {};
};

// the main window's parts, found from outside the process as a user's tools would
struct Parts {
    HWND Rebar = nullptr;
    HWND ToolBar = nullptr;
    HWND StatusBar = nullptr;
    HWND Sides[2] = {};
    HWND SideRebars[2] = {};
    HWND Lists[2] = {};
};

Parts FindParts(HWND main)
{
    Parts parts;
    parts.Rebar = harness::FindChild(main, REBARCLASSNAMEW);
    parts.ToolBar = harness::FindChild(parts.Rebar, TOOLBARCLASSNAMEW);
    parts.StatusBar = harness::FindChild(main, STATUSCLASSNAMEW);
    for (int nth = 0; nth < 2; ++nth) {
        HWND side = harness::FindChild(main, Juxta::ClassName, nth);
        const int at = GetDlgItem(side, IDC_LEFT_FILE_LIST) ? 0 : 1;
        parts.Sides[at] = side;
        parts.SideRebars[at] = harness::FindChild(side, REBARCLASSNAMEW);
        parts.Lists[at] = GetDlgItem(side, at == 0 ? IDC_LEFT_FILE_LIST : IDC_RIGHT_FILE_LIST);
    }
    return parts;
}

int ColumnWidth(HWND list, int column)
{
    return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

void SetColumnWidth(HWND list, int column, int width)
{
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

// The "always on top" toggle, as its toolbar button shows it (the test display has no window manager to keep a
// topmost window's style, so the style bit cannot be read back)
bool IsTopMostChecked(const Parts& parts)
{
    return harness::IsToolbarButtonChecked(parts.ToolBar, ID_VIEW_TOPMOST);
}

// the placement the last run wrote into the settings file
WINDOWPLACEMENT StoredPlacement(const std::wstring& file)
{
    kit::SettingsNode settings;
    WINDOWPLACEMENT placement = {};
    if (settings.Load(file))
        settings.GetBinary(L"WindowPlacement", placement);
    return placement;
}

WINDOWPLACEMENT PlacementOf(HWND window)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    return placement;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " - " + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

class Restart : public ::testing::Test {
protected:
    void SetUp() override
    {
        harness::Initialize();
        ASSERT_TRUE(harness::TopLevelWindows(Juxta::ClassName).empty()) << "another main window runs";
        Program = Folder.PathOf(L"juxta.exe");
        ASSERT_TRUE(CopyFileW(BuiltProgram().c_str(), Program.c_str(), FALSE)) << "cannot copy " << JUXTA_EXE;
    }

    std::wstring SettingsFile() const { return Folder.PathOf(L"juxta.dat"); }

    harness::TempFolder Folder;
    std::wstring Program;
};

} // namespace

TEST_F(Restart, PlacementTogglesAndColumnWidths_comeBackAtTheNextStart)
{
    const RECT normal = {120, 90, 120 + 720, 90 + 520};
    {
        Launch first(Program);
        ASSERT_TRUE(first.Started());
        HWND main = first.WaitForWindow();
        ASSERT_TRUE(main);
        Parts parts = FindParts(main);
        ASSERT_TRUE(parts.Rebar && parts.ToolBar && parts.StatusBar && parts.Lists[0] && parts.Lists[1] &&
                    parts.SideRebars[0] && parts.SideRebars[1]);
        // a first start without a settings file shows everything, not on top, the lists at their default widths
        EXPECT_TRUE(harness::IsVisible(parts.Rebar));
        EXPECT_TRUE(harness::IsVisible(parts.StatusBar));
        EXPECT_TRUE(harness::IsVisible(parts.SideRebars[0]));
        EXPECT_TRUE(harness::IsVisible(parts.SideRebars[1]));
        EXPECT_FALSE(IsTopMostChecked(parts));
        EXPECT_EQ(160, ColumnWidth(parts.Lists[0], 0));

        SetWindowPos(main, nullptr, normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        for (int command : {ID_VIEW_TOOLBAR, ID_VIEW_STATUSBAR, ID_VIEW_SIDE_TOOLBAR, ID_VIEW_TOPMOST})
            harness::SendCommand(main, command);
        EXPECT_FALSE(harness::IsVisible(parts.Rebar));
        EXPECT_FALSE(harness::IsVisible(parts.SideRebars[1]));
        EXPECT_TRUE(IsTopMostChecked(parts));
        // path, CRC32 and size columns (only CRC32 is on by default)
        ASSERT_EQ(3, harness::ListColumnCount(parts.Lists[0]));
        SetColumnWidth(parts.Lists[0], 0, 20);
        SetColumnWidth(parts.Lists[0], 1, 77);
        SetColumnWidth(parts.Lists[1], 0, 333);
        SetColumnWidth(parts.Lists[1], 2, 131);
        ASSERT_EQ(20, ColumnWidth(parts.Lists[0], 0));
        EXPECT_EQ(0, first.Close(main));
    }
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(SettingsFile().c_str())) << "no settings file beside it";
    EXPECT_TRUE(SameRect(normal, StoredPlacement(SettingsFile()).rcNormalPosition));

    {
        Launch second(Program);
        ASSERT_TRUE(second.Started());
        HWND main = second.WaitForWindow();
        ASSERT_TRUE(main);
        Parts parts = FindParts(main);
        ASSERT_TRUE(parts.Rebar && parts.ToolBar && parts.StatusBar && parts.Lists[0] && parts.Lists[1]);
        const WINDOWPLACEMENT placement = PlacementOf(main);
        EXPECT_TRUE(SameRect(normal, placement.rcNormalPosition)) << Describe(placement.rcNormalPosition);
        EXPECT_FALSE(IsZoomed(main));
        EXPECT_FALSE(harness::IsVisible(parts.Rebar));
        EXPECT_FALSE(harness::IsVisible(parts.StatusBar));
        EXPECT_FALSE(harness::IsVisible(parts.SideRebars[0]));
        EXPECT_FALSE(harness::IsVisible(parts.SideRebars[1]));
        EXPECT_TRUE(IsTopMostChecked(parts));
        // a stored width below 50 is raised to 50; the others come back as they were
        EXPECT_EQ(50, ColumnWidth(parts.Lists[0], 0));
        EXPECT_EQ(77, ColumnWidth(parts.Lists[0], 1));
        EXPECT_EQ(100, ColumnWidth(parts.Lists[0], 2));
        EXPECT_EQ(333, ColumnWidth(parts.Lists[1], 0));
        EXPECT_EQ(80, ColumnWidth(parts.Lists[1], 1));
        EXPECT_EQ(131, ColumnWidth(parts.Lists[1], 2));

        // now maximised, with the toolbar and the status bar back and no longer on top
        for (int command : {ID_VIEW_TOOLBAR, ID_VIEW_STATUSBAR, ID_VIEW_TOPMOST})
            harness::SendCommand(main, command);
        PostMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        ASSERT_TRUE(harness::PumpUntil([&] { return IsZoomed(main) != FALSE; }, 5000));
        EXPECT_EQ(0, second.Close(main));
    }
    const WINDOWPLACEMENT stored = StoredPlacement(SettingsFile());
    EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), stored.showCmd);
    EXPECT_TRUE(SameRect(normal, stored.rcNormalPosition)) << Describe(stored.rcNormalPosition);

    {
        Launch third(Program);
        ASSERT_TRUE(third.Started());
        HWND main = third.WaitForWindow();
        ASSERT_TRUE(main);
        // the maximise is posted after the window takes its stored normal place
        EXPECT_TRUE(harness::PumpUntil([&] { return IsZoomed(main) != FALSE; }, 5000));
        // (the normal place of another process's maximised window cannot be read under Wine: it answers with the
        // window's rectangle; the restore below shows it)
        EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), PlacementOf(main).showCmd);
        Parts parts = FindParts(main);
        EXPECT_TRUE(harness::IsVisible(parts.Rebar));
        EXPECT_TRUE(harness::IsVisible(parts.StatusBar));
        EXPECT_FALSE(harness::IsVisible(parts.SideRebars[0]));
        EXPECT_FALSE(IsTopMostChecked(parts));
        EXPECT_EQ(50, ColumnWidth(parts.Lists[0], 0));
        // a maximised window fills the screen's work area
        RECT work = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const RECT frame = harness::WindowRect(main);
        EXPECT_GE(frame.right - frame.left, work.right - work.left);

        // restoring it brings back the stored normal place
        ShowWindow(main, SW_RESTORE);
        EXPECT_TRUE(harness::PumpUntil([&] { return SameRect(harness::WindowRect(main), normal); }, 5000))
            << Describe(harness::WindowRect(main));
        EXPECT_EQ(0, third.Close(main));
    }
}

TEST_F(Restart, SettingsFileOfAnotherVersion_isIgnoredAndReplacedAtExit)
{
    // a file whose first value is not the settings version: the defaults apply and the exit writes a good file
    {
        HANDLE file = CreateFileW(SettingsFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        const unsigned char bytes[] = {7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
        DWORD written = 0;
        WriteFile(file, bytes, sizeof bytes, &written, nullptr);
        CloseHandle(file);
    }
    {
        Launch first(Program);
        HWND main = first.WaitForWindow();
        ASSERT_TRUE(main);
        Parts parts = FindParts(main);
        EXPECT_TRUE(harness::IsVisible(parts.Rebar));
        EXPECT_EQ(160, ColumnWidth(parts.Lists[0], 0));
        harness::SendCommand(main, ID_VIEW_STATUSBAR);
        EXPECT_EQ(0, first.Close(main));
    }
    {
        Launch second(Program);
        HWND main = second.WaitForWindow();
        ASSERT_TRUE(main);
        EXPECT_FALSE(harness::IsVisible(FindParts(main).StatusBar));
        EXPECT_EQ(0, second.Close(main));
    }
}
