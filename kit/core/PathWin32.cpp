#include "kit/core/Path.h"

#include "kit/core/LongPath.h"
#include "kit/core/PathString.h"

#include <windows.h>
#include <shlwapi.h>

#include <climits>
#include <vector>

namespace kit {

namespace {

// the shell path functions assume buffers of MAX_PATH characters and refuse (or cut) longer paths
bool FitsShell(const std::wstring& path, size_t extra = 0)
{
    return path.size() + extra < MAX_PATH;
}

// a writable copy of the path with room for MAX_PATH characters and the terminator
std::vector<wchar_t> ShellBuffer(const std::wstring& path)
{
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    path.copy(buffer.data(), path.size());
    return buffer;
}

} // namespace

std::wstring GetModulePath()
{
    std::vector<wchar_t> buffer(1040);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::wstring();
        }
        // a full buffer means the path was cut: try again with more room
        if (length < buffer.size() || buffer.size() >= 32768) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring RenameExtension(const std::wstring& path, const std::wstring& extension)
{
    if (!FitsShell(path, extension.size())) {
        return pathstring::RenameExtension(path, extension);
    }
    std::vector<wchar_t> buffer = ShellBuffer(path);
    if (!PathRenameExtensionW(buffer.data(), extension.c_str())) {
        return pathstring::RenameExtension(path, extension);
    }
    return buffer.data();
}

std::wstring RemoveExtension(const std::wstring& path)
{
    if (!FitsShell(path)) {
        return pathstring::RemoveExtension(path);
    }
    std::vector<wchar_t> buffer = ShellBuffer(path);
    PathRemoveExtensionW(buffer.data());
    return buffer.data();
}

std::wstring FindExtension(const std::wstring& path)
{
    if (!FitsShell(path)) {
        return pathstring::FindExtension(path);
    }
    return PathFindExtensionW(path.c_str());
}

std::wstring FindFileName(const std::wstring& path)
{
    if (!FitsShell(path)) {
        return pathstring::FindFileName(path);
    }
    return PathFindFileNameW(path.c_str());
}

std::wstring RemoveFileName(const std::wstring& path)
{
    if (!FitsShell(path)) {
        return pathstring::RemoveFileName(path);
    }
    std::vector<wchar_t> buffer = ShellBuffer(path);
    PathRemoveFileSpecW(buffer.data());
    return buffer.data();
}

std::wstring AddBackslash(const std::wstring& path)
{
    if (!FitsShell(path, 1)) {
        return pathstring::AddBackslash(path);
    }
    std::vector<wchar_t> buffer = ShellBuffer(path);
    if (!PathAddBackslashW(buffer.data())) {
        return pathstring::AddBackslash(path);
    }
    return buffer.data();
}

std::string ToNarrow(const std::wstring& text)
{
    return ToNarrow(text, nullptr);
}

std::string ToNarrow(const std::wstring& text, bool* usedDefault)
{
    return ToNarrowInCodePage(text, usedDefault, GetACP());
}

std::string ToNarrowInCodePage(const std::wstring& text, bool* usedDefault, unsigned codePage)
{
    if (usedDefault) {
        *usedDefault = false;
    }
    if (text.empty() || text.size() > INT_MAX) {
        return std::string();
    }
    int units = static_cast<int>(text.size());
    BOOL defaulted = FALSE;
    // UTF-7 and UTF-8 have no default character: Windows refuses the call when it is asked about one
    const bool unicode = codePage == CP_UTF8 || codePage == CP_UTF7;
    LPBOOL flag = usedDefault && !unicode ? &defaulted : nullptr;
    int length = WideCharToMultiByte(codePage, 0, text.data(), units, nullptr, 0, nullptr, flag);
    if (length <= 0) {
        return std::string();
    }
    std::string out(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(codePage, 0, text.data(), units, &out[0], length, nullptr, flag) != length) {
        if (usedDefault) {
            *usedDefault = true;
        }
        return std::string();
    }
    if (usedDefault) {
        // a best-fit look-alike (e for é) or a lone surrogate (U+FFFD in UTF-8) is not reported as a default
        // character: only a round trip tells
        *usedDefault = defaulted != FALSE || ToWideInCodePage(out, codePage) != text;
    }
    return out;
}

std::wstring ToWide(const std::string& text)
{
    return ToWideInCodePage(text, GetACP());
}

std::wstring ToWideInCodePage(const std::string& text, unsigned codePage)
{
    if (text.empty() || text.size() > INT_MAX) {
        return std::wstring();
    }
    int bytes = static_cast<int>(text.size());
    int length = MultiByteToWideChar(codePage, 0, text.data(), bytes, nullptr, 0);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring out(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(codePage, 0, text.data(), bytes, &out[0], length) != length) {
        return std::wstring();
    }
    return out;
}

bool CreateFolders(const std::wstring& path)
{
    // the folders above first, top down; those that exist (or a drive such as "C:") simply fail
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] == L'\\' || path[i] == L'/') {
            CreateDirectoryW(SystemPath(path.substr(0, i)).c_str(), nullptr);
        }
    }
    if (!path.empty()) {
        CreateDirectoryW(SystemPath(path).c_str(), nullptr);
    }
    return true;
}

bool PathExists(const std::wstring& path)
{
    if (!FitsShell(path)) {
        return GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    return PathFileExistsW(path.c_str()) != FALSE;
}

} // namespace kit
