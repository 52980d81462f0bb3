// The program's main window with files registered on each side as drops register them, for the screenshots of the
// lists: before any registration, while the files are checked and after.
//   main_window_preview [--settings file.dat] [--enable Key]... [--left path]... [--right path]... [--delay ms]
//                       [--stop ms] [--seconds n] [--hold file]... [--width pixels]
// Each --left and --right path is a drop of its own, in the order given, the left ones first. --enable switches a
// boolean setting on ("Md5") in the settings file before the window starts. --delay waits before the drops (the
// empty window can be captured first); --stop sends "チェックを中止" that long after the drops; each --hold file is
// kept open without sharing for the whole run, so that its check cannot read it. The window closes itself after
// --seconds (default 30) and writes its settings into the given (or a temporary) file only. --width resizes the
// window (to its minimum when smaller).
#include "app/lists/FileListView.h"
#include "app/shell/Juxta.h"
#include "kit/core/SettingsNode.h"
#include "kit/ui/Window.h"
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

struct Options {
    std::wstring Settings;
    std::vector<std::wstring> Enable;
    std::vector<std::wstring> Paths[2];
    std::vector<std::wstring> Hold;
    int DelayMs = 0;
    int StopMs = -1;
    int Seconds = 30;
    int Width = 0;
};

Options ReadOptions()
{
    Options options;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int at = 1; at + 1 < count; at += 2) {
        const std::wstring name = arguments[at];
        const std::wstring value = arguments[at + 1];
        if (name == L"--settings")
            options.Settings = value;
        else if (name == L"--enable")
            options.Enable.push_back(value);
        else if (name == L"--left")
            options.Paths[0].push_back(value);
        else if (name == L"--right")
            options.Paths[1].push_back(value);
        else if (name == L"--delay")
            options.DelayMs = _wtoi(value.c_str());
        else if (name == L"--stop")
            options.StopMs = _wtoi(value.c_str());
        else if (name == L"--seconds")
            options.Seconds = _wtoi(value.c_str());
        else if (name == L"--hold")
            options.Hold.push_back(value);
        else if (name == L"--width")
            options.Width = _wtoi(value.c_str());
    }
    LocalFree(arguments);
    if (options.Settings.empty()) {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        options.Settings = std::wstring(folder) + L"main_window_preview.dat";
    }
    return options;
}

void Wait(int milliseconds)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (GetTickCount64() < end) {
        kit::PumpMessages();
        MsgWaitForMultipleObjects(0, 0, FALSE, 20, QS_ALLINPUT);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    kit::SetModuleInstance(instance);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const Options options = ReadOptions();
    if (!options.Enable.empty()) {
        kit::SettingsNode settings;
        settings.Load(options.Settings);
        for (const std::wstring& key : options.Enable)
            settings.SetBool(key, true);
        settings.Save(options.Settings);
    }
    std::vector<HANDLE> held;
    for (const std::wstring& path : options.Hold)
        held.push_back(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    {
        Juxta main(options.Settings);
        if (!main.CreateMainWindow())
            return 1;
        if (options.Width > 0) {
            RECT frame = {};
            GetWindowRect(main.Handle, &frame);
            SetWindowPos(main.Handle, nullptr, 0, 0, options.Width, frame.bottom - frame.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Wait(options.DelayMs);
        for (int side = 0; side < 2; ++side)
            for (const std::wstring& path : options.Paths[side])
                main.RegisterDrop(side, std::vector<std::wstring>(1, path));
        if (options.StopMs >= 0) {
            Wait(options.StopMs);
            SendMessageW(main.Handle, WM_COMMAND, ID_STOP, 0);
        }
        Wait(options.Seconds * 1000);
        if (main.Handle)
            DestroyWindow(main.Handle);
        kit::PumpMessages();
    }
    for (HANDLE handle : held)
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    CoUninitialize();
    return 0;
}
