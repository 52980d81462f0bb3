// The native build's stand-ins for the Windows path and code page functions: paths take '\' and '/' alike, and the
// "ANSI code page" is UTF-8, with each wchar_t taken as one UTF-16 unit.
#ifndef _WIN32

#include "kit/core/Path.h"

#include "kit/core/PathString.h"

#include <algorithm>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace kit {

namespace {

const char DefaultChar = '?';

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | c >> 18));
        out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void AppendUtf16(std::wstring& out, uint32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<wchar_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 | c >> 10));
        out.push_back(static_cast<wchar_t>(0xDC00 | (c & 0x3FF)));
    }
}

} // namespace

std::string pathstring::NativePath(const std::wstring& path)
{
    std::string narrow = ToNarrow(path);
    std::replace(narrow.begin(), narrow.end(), '\\', '/');
    return narrow;
}

std::wstring GetModulePath()
{
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    return length > 0 ? ToWide(std::string(buffer, static_cast<size_t>(length))) : std::wstring();
}

std::wstring RenameExtension(const std::wstring& path, const std::wstring& extension)
{
    return pathstring::RenameExtension(path, extension);
}

std::wstring RemoveExtension(const std::wstring& path)
{
    return pathstring::RemoveExtension(path);
}

std::wstring FindExtension(const std::wstring& path)
{
    return pathstring::FindExtension(path);
}

std::wstring FindFileName(const std::wstring& path)
{
    return pathstring::FindFileName(path);
}

std::wstring RemoveFileName(const std::wstring& path)
{
    return pathstring::RemoveFileName(path);
}

std::wstring AddBackslash(const std::wstring& path)
{
    return pathstring::AddBackslash(path);
}

std::string ToNarrow(const std::wstring& text)
{
    return ToNarrow(text, nullptr);
}

std::string ToNarrow(const std::wstring& text, bool* usedDefault)
{
    bool defaulted = false;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint16_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            uint32_t low = static_cast<uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (c >= 0xD800 && c < 0xE000) {
            out.push_back(DefaultChar);
            defaulted = true;
        } else {
            AppendUtf8(out, c);
        }
    }
    if (usedDefault) {
        *usedDefault = defaulted;
    }
    return out;
}

std::wstring ToWide(const std::string& text)
{
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        uint8_t lead = static_cast<uint8_t>(text[i]);
        size_t extra = 0;
        uint32_t c = lead;
        bool valid = true;
        if (lead >= 0xC2 && lead < 0xE0) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            extra = 3;
            c = lead & 0x07;
        } else if (lead >= 0x80) {
            valid = false;
        }
        valid = valid && i + extra < text.size();
        for (size_t k = 1; valid && k <= extra; ++k) {
            uint8_t next = static_cast<uint8_t>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = c << 6 | (next & 0x3F);
        }
        // overlong forms, surrogates and values beyond Unicode are not characters
        valid = valid && (extra != 2 || c >= 0x800) && (extra != 3 || (c >= 0x10000 && c < 0x110000)) &&
                !(c >= 0xD800 && c < 0xE000);
        if (valid) {
            AppendUtf16(out, c);
            i += extra + 1;
        } else {
            out.push_back(L'?');
            ++i;
        }
    }
    return out;
}

bool CreateFolders(const std::wstring& path)
{
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] == L'\\' || path[i] == L'/') {
            mkdir(pathstring::NativePath(path.substr(0, i)).c_str(), 0777);
        }
    }
    if (!path.empty()) {
        mkdir(pathstring::NativePath(path).c_str(), 0777);
    }
    return true;
}

bool PathExists(const std::wstring& path)
{
    struct stat info;
    return stat(pathstring::NativePath(path).c_str(), &info) == 0;
}

} // namespace kit

#endif
