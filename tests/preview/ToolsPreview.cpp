// The program's own settings, hash comparison and version dialogs over a main window, for screenshots:
//   tools_preview config | hash | version | cmd-refused | link-loop [--seconds n]
// "hash" opens the dialog for a checked file with MD5 and SHA-1 on and types one matching and one differing value;
// "cmd-refused" and "link-loop" show the messages of a compare tool refused a path and of a scan that met links.
// The settings live in a temporary file; every mode closes itself after n seconds (default 6).
#include "app/check/Registration.h"
#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PendingRecord.h"
#include "app/shell/Juxta.h"
#include "app/tools/ConfigDialog.h"
#include "app/tools/ExternalTools.h"
#include "app/tools/HashDialog.h"
#include "kit/core/SettingsNode.h"
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

namespace {

std::wstring Mode;
UINT CloseAfterMs = 6000;
const UINT_PTR FillTimer = 1;
const UINT_PTR CloseTimer = 2;

HWND FindOpenDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(data) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindOpenDialog();
    if (!dialog)
        return;
    if (timer == CloseTimer) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    KillTimer(nullptr, timer);
    if (Mode == L"hash") {
        // typed in lower case: the box shows it in upper case
        SetDlgItemTextW(dialog, IDC_HASH_CRC32_INPUT, L"1a2b3c4d");
        SetDlgItemTextW(dialog, IDC_HASH_MD5_INPUT, L"0123456789ABCDEF0123456789ABCDEE");
        // pasted with blanks around it
        SetDlgItemTextW(dialog, IDC_HASH_SIZE_INPUT, L"\u3000 1234,567\t");
    }
}

void Register(Juxta& main, int side, const std::wstring& path)
{
    FileListView& list = *main.GetList(side);
    list.RevealList();
    list.Pending.push_back(PendingRecord::ForFile(path, path.substr(0, path.rfind(L'\\') + 1), KeyCase::Lower));
    list.MergePending();
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    kit::SetModuleInstance(instance);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    Mode = count > 1 ? arguments[1] : L"config";
    if (count > 3 && std::wstring(arguments[2]) == L"--seconds")
        CloseAfterMs = static_cast<UINT>(_wtoi(arguments[3])) * 1000;
    LocalFree(arguments);

    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring settingsPath = std::wstring(folder) + L"tools_preview.dat";
    DeleteFileW(settingsPath.c_str());
    if (Mode == L"hash") {
        kit::SettingsNode stored;
        stored.SetBool(L"Md5", true);
        stored.SetBool(L"Sha1", true);
        stored.Save(settingsPath);
    }
    Juxta main(settingsPath);
    if (!main.CreateMainWindow())
        return 2;
    SetTimer(nullptr, FillTimer, 800, OnTimer);
    SetTimer(nullptr, CloseTimer, CloseAfterMs, OnTimer);
    if (Mode == L"hash") {
        const std::wstring file = std::wstring(folder) + L"photos\\2024\\001.jpg";
        Register(main, 0, file);
        FileListView& list = *main.GetList(0);
        list.SetHashText(0, 0, L"1A2B3C4D");
        list.SetHashText(0, 1, L"0123456789ABCDEF0123456789ABCDEF");
        list.SetHashText(0, 2, L"2FD4E1C67A2D28FCED849EE1BB76E7391B93EB12");
        list.SetSizeText(0, L"1,234,567");
        main.GetMarkList()->EvaluatePair(0, 0);
        ShowHashDialog(main, 0, 0);
    } else if (Mode == L"cmd-refused") {
        kit::ShowMessageBox(L"", CmdSpecialMessage(L"C:\\Users\\taro\\Downloads\\report&calc&.txt"), &main,
                            MB_ICONERROR);
    } else if (Mode == L"link-loop") {
        kit::ShowMessageBox(L"", Registration::LoopMessage({L"C:\\Data\\photos\\2024\\back", L"C:\\Data\\src\\self"}),
                            &main, MB_ICONINFORMATION);
    } else if (Mode == L"version") {
        ShowVersion(main);
    } else {
        ShowConfigDialog(main);
    }
    DestroyWindow(main.Handle);
    return 0;
}
