#include "kit/core/PathString.h"

namespace kit {
namespace pathstring {

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// offset of the extension's dot, or the length when there is none
size_t ExtensionStart(const std::wstring& path)
{
    size_t dot = path.size();
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsSeparator(path[i]) || path[i] == L' ') {
            dot = path.size();
        } else if (path[i] == L'.') {
            dot = i;
        }
    }
    return dot;
}

} // namespace

std::wstring RenameExtension(const std::wstring& path, const std::wstring& extension)
{
    return RemoveExtension(path) + extension;
}

std::wstring RemoveExtension(const std::wstring& path)
{
    return path.substr(0, ExtensionStart(path));
}

std::wstring FindExtension(const std::wstring& path)
{
    return path.substr(ExtensionStart(path));
}

std::wstring FindFileName(const std::wstring& path)
{
    // a separator or drive colon starts a new component unless it ends the path or another separator follows
    size_t start = 0;
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        if ((IsSeparator(path[i]) || path[i] == L':') && !IsSeparator(path[i + 1])) {
            start = i + 1;
        }
    }
    return path.substr(start);
}

std::wstring RemoveFileName(const std::wstring& path)
{
    size_t i = 0;
    size_t cut = 0;
    // a leading "\" or "\\" (root or network name) is kept
    if (i < path.size() && IsSeparator(path[i])) {
        cut = ++i;
    }
    if (i < path.size() && IsSeparator(path[i])) {
        cut = ++i;
    }
    while (i < path.size()) {
        if (IsSeparator(path[i])) {
            cut = i;
        } else if (path[i] == L':') {
            // the drive stays, with its root backslash
            cut = ++i;
            if (i < path.size() && IsSeparator(path[i])) {
                ++cut;
            }
            if (i >= path.size()) {
                break;
            }
        }
        ++i;
    }
    return path.substr(0, cut);
}

std::wstring AddBackslash(const std::wstring& path)
{
    if (path.empty() || IsSeparator(path.back())) {
        return path;
    }
    return path + L'\\';
}

} // namespace pathstring
} // namespace kit
