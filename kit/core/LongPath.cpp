#include "kit/core/LongPath.h"

#include <atomic>
#include <vector>

namespace kit {

namespace {

const wchar_t* const Prefix = L"\\\\?\\";
const wchar_t* const UncPrefix = L"\\\\?\\UNC\\";
// CreateDirectoryW refuses a plain path of MAX_PATH - 12 characters or more; files stop at MAX_PATH
const size_t PlainLimit = 260 - 12;

std::atomic<SystemPathObserver> Observer{nullptr};

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool StartsWith(const std::wstring& text, const wchar_t* start)
{
    return text.compare(0, std::wstring(start).size(), start) == 0;
}

bool IsExtended(const std::wstring& path)
{
    // "\\?\" and the device form "\\.\" are both taken as they are
    return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == L'?' || path[2] == L'.') &&
           IsSeparator(path[3]);
}

std::vector<std::wstring> SplitNames(const std::wstring& path, size_t start)
{
    std::vector<std::wstring> names;
    std::wstring name;
    for (size_t i = start; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (!name.empty())
                names.push_back(name);
            name.clear();
        } else {
            name += path[i];
        }
    }
    return names;
}

// the system drops a single trailing dot from every name, and all trailing dots and blanks from the last name
// unless a separator follows it
std::wstring TrimName(std::wstring name, bool last)
{
    if (last) {
        while (!name.empty() && (name.back() == L'.' || name.back() == L' '))
            name.pop_back();
    } else if (name.size() >= 2 && name.back() == L'.' && name[name.size() - 2] != L'.') {
        name.pop_back();
    }
    return name;
}

// resolves the names after the root; fixed is how many leading names ".." never removes (server and share)
std::wstring Resolve(const std::vector<std::wstring>& names, size_t fixed, bool endsWithSeparator)
{
    std::vector<std::wstring> kept(names.begin(), names.begin() + fixed);
    for (size_t i = fixed; i < names.size(); ++i) {
        const bool last = i + 1 == names.size() && !endsWithSeparator;
        if (names[i] == L".")
            continue;
        if (names[i] == L"..") {
            if (kept.size() > fixed)
                kept.pop_back();
            continue;
        }
        const std::wstring name = TrimName(names[i], last);
        if (!name.empty())
            kept.push_back(name);
    }
    std::wstring out;
    for (size_t i = 0; i < kept.size(); ++i)
        out += (i ? L"\\" : L"") + kept[i];
    if (endsWithSeparator && kept.size() > fixed)
        out += L"\\";
    return out;
}

} // namespace

std::wstring ExtendedPath(const std::wstring& path)
{
    if (IsExtended(path))
        return path;
    const bool endsWithSeparator = !path.empty() && IsSeparator(path.back());
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) {
        std::wstring rest = Resolve(SplitNames(path, 3), 0, endsWithSeparator);
        return Prefix + path.substr(0, 2) + L"\\" + rest;
    }
    if (path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2])) {
        std::vector<std::wstring> names = SplitNames(path, 2);
        // a server without a share is no full path
        if (names.size() < 2)
            return path;
        return UncPrefix + Resolve(names, 2, endsWithSeparator);
    }
    return path;
}

std::wstring SystemPath(const std::wstring& path)
{
    if (path.size() < PlainLimit || IsExtended(path))
        return path;
    std::wstring extended = ExtendedPath(path);
    if (SystemPathObserver observer = Observer.load())
        observer(path);
    return extended;
}

std::wstring DisplayPath(const std::wstring& path)
{
    if (StartsWith(path, UncPrefix))
        return L"\\\\" + path.substr(8);
    if (StartsWith(path, Prefix))
        return path.substr(4);
    return path;
}

void SetSystemPathObserver(SystemPathObserver observer)
{
    Observer = observer;
}

} // namespace kit
