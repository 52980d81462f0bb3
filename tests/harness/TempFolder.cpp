#include "tests/harness/TempFolder.h"

#include <windows.h>

#include <vector>

namespace harness {

namespace {

bool MakeFolders(const std::wstring& folder)
{
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    const size_t slash = folder.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash < 3)
        return false;
    return MakeFolders(folder.substr(0, slash)) && CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
}

} // namespace

TempFolder::TempFolder()
{
    static unsigned counter = 0;
    std::vector<wchar_t> temp(MAX_PATH + 1, L'\0');
    const DWORD length = GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
    std::wstring base(temp.data(), length);
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    for (;;) {
        Root = base + L"\\juxta-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(Root.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(Root);
}

std::wstring TempFolder::PathOf(const std::wstring& relative) const
{
    return Root + L"\\" + relative;
}

std::wstring TempFolder::MakeFolder(const std::wstring& relative) const
{
    const std::wstring folder = PathOf(relative);
    return MakeFolders(folder) ? folder : std::wstring();
}

std::wstring TempFolder::WriteFile(const std::wstring& relative, const std::string& bytes) const
{
    const std::wstring path = PathOf(relative);
    const size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && !MakeFolders(path.substr(0, slash)))
        return std::wstring();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::wstring();
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size() ? path : std::wstring();
}

bool TempFolder::RemoveTree(const std::wstring& folder)
{
    if (folder.empty())
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(folder.c_str()) != FALSE;
}

std::wstring TempFolder::WriteSparseFile(const std::wstring& relative, uint64_t size) const
{
    const std::wstring path = WriteFile(relative, std::string());
    if (path.empty())
        return path;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::wstring();
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok ? path : std::wstring();
}

std::wstring HostPath(const std::string& built)
{
    std::wstring path(built.begin(), built.end());
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path)
            c = c == L'/' ? L'\\' : c;
        path = L"Z:" + path;
    }
    return path;
}

} // namespace harness
