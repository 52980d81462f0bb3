// A stand-in for a compare tool: writes the command line it was started with (UTF-16, as received) into the file
// named by the environment variable JUXTA_RECORD_FILE, then ends. The file appears whole: it is written under
// another name first and then renamed.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    wchar_t target[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"JUXTA_RECORD_FILE", target, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 2;
    const std::wstring finished = target;
    const std::wstring partial = finished + L".partial";
    const std::wstring line = GetCommandLineW();
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(line.size() * sizeof(wchar_t));
    const bool ok = WriteFile(file, line.data(), bytes, &written, nullptr) && written == bytes;
    CloseHandle(file);
    if (!ok || !MoveFileExW(partial.c_str(), finished.c_str(), MOVEFILE_REPLACE_EXISTING))
        return 4;
    return 0;
}
