#include "kit/core/Path.h"

#include <boost/regex.hpp>

namespace kit {

namespace {
const int MaxCopyNumber = 9999;
} // namespace

std::wstring StripCopyNumber(const std::wstring& stem)
{
    static const boost::wregex numbered(L"^(.+) \\(\\d+\\)$");
    try {
        boost::wsmatch match;
        if (boost::regex_match(stem, match, numbered)) {
            return match[1].str();
        }
    } catch (const std::exception&) {
        // a text too complex for the matcher keeps its name
    }
    return stem;
}

std::wstring FindFreeName(const std::wstring& path)
{
    return FindFreeName(path, PathExists);
}

std::wstring FindFreeName(const std::wstring& path, const std::function<bool(const std::wstring&)>& exists)
{
    std::wstring extension = FindExtension(path);
    std::wstring stem = StripCopyNumber(path.substr(0, path.size() - extension.size()));
    for (int n = 1; n <= MaxCopyNumber; ++n) {
        std::wstring candidate = stem + L" (" + std::to_wstring(n) + L")" + extension;
        if (!exists(candidate)) {
            return candidate;
        }
    }
    return path;
}

bool IsNumber(const std::string& text)
{
    static const boost::regex digits("^[0-9]+$");
    try {
        return boost::regex_match(text, digits);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace kit
