// The program's entry as a process: one instance at a time, and a clean exit when the main window closes.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/shell/InstanceMapping.h"
#include "app/shell/Juxta.h"
#include "tests/harness/Harness.h"

namespace {

const DWORD ExitWait = 15000;

// the build gives a Unix path; under Wine the root of that file system is drive Z:
std::wstring ProgramPath()
{
    return harness::HostPath(JUXTA_EXE);
}

// a started program that is ended, if it still runs, when the test leaves
class Program {
public:
    explicit Program(const std::wstring& arguments = L"")
    {
        std::wstring command = L"\"" + ProgramPath() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &Info))
            CloseHandle(Info.hThread);
        else
            Info.hProcess = nullptr;
    }
    ~Program()
    {
        if (Info.hProcess) {
            if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(Info.hProcess, 99);
            CloseHandle(Info.hProcess);
        }
    }
    bool Started() const { return Info.hProcess != nullptr; }
    // the exit code, or -1 while it runs after the wait
    long WaitForExit(DWORD milliseconds)
    {
        if (WaitForSingleObject(Info.hProcess, milliseconds) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(Info.hProcess, &code);
        return static_cast<long>(code);
    }
    DWORD Id() const { return Info.dwProcessId; }

private:
    PROCESS_INFORMATION Info = {};
};

HWND WindowOf(DWORD process)
{
    for (HWND window : harness::TopLevelWindows(Juxta::ClassName)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process)
            return window;
    }
    return nullptr;
}

} // namespace

TEST(WinMain, SecondStart_activatesTheFirstWindowAndExits)
{
    harness::Initialize();
    ASSERT_TRUE(harness::TopLevelWindows(Juxta::ClassName).empty());
    Program first;
    ASSERT_TRUE(first.Started()) << "cannot start " << JUXTA_EXE;
    // the mapping appears only after the main window exists
    ASSERT_TRUE(harness::PumpUntil([] { return InstanceMapping::ReadWindow(Juxta::ClassName) != nullptr; }, 20000));
    HWND main = InstanceMapping::ReadWindow(Juxta::ClassName);
    EXPECT_EQ(WindowOf(first.Id()), main);
    EXPECT_TRUE(harness::IsVisible(main));
    EXPECT_EQ(L"Juxta", harness::WindowText(main));

    // another window takes the front; the second start must hand it back to the first instance
    harness::HostWindow other;
    SetForegroundWindow(other.Handle);
    harness::PumpUntil([&] { return GetForegroundWindow() == other.Handle; }, 2000);

    // arguments are ignored
    Program second(L"--anything C:\\file.txt");
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(0, second.WaitForExit(ExitWait));
    EXPECT_EQ(std::vector<HWND>{main}, harness::TopLevelWindows(Juxta::ClassName));
    EXPECT_TRUE(harness::PumpUntil([&] { return GetForegroundWindow() == main; }, 5000));

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, first.WaitForExit(ExitWait));
    EXPECT_TRUE(harness::TopLevelWindows(Juxta::ClassName).empty());
    // the mapping went with the first instance: the next start runs in full again
    EXPECT_EQ(nullptr, InstanceMapping::ReadWindow(Juxta::ClassName));
}

TEST(WinMain, ExistingMapping_endsTheStartWithoutAWindow)
{
    harness::Initialize();
    // a mapping that holds no window: the start still counts as a second one and activates nothing
    InstanceMapping mapping(Juxta::ClassName);
    ASSERT_TRUE(mapping.Publish(nullptr));
    Program program;
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(0, program.WaitForExit(ExitWait));
    EXPECT_TRUE(harness::TopLevelWindows(Juxta::ClassName).empty());
}

// The program's manifest: common controls 6, no elevation, and every Windows since 7 named, so that Windows runs
// it in no compatibility mode (Wine ignores all of this, hence a read of the resource).
TEST(WinMain, Manifest_commonControls6AsInvokerAndWindows7To11)
{
    HMODULE program = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_TRUE(found);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
    ASSERT_TRUE(bytes);
    const std::string manifest(bytes, SizeofResource(program, found));
    FreeLibrary(program);
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "level=\"asInvoker\"",
                             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}
