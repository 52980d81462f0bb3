#include "app/lists/HashText.h"

const wchar_t* const HashText::Unreadable = L"読めません";

namespace {

const size_t DigitCounts[HashKind::Count] = {8, 32, 40};

template <typename Char>
bool IsHexDigit(Char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

template <typename String>
bool MatchesKind(int kind, const String& text)
{
    if (kind < 0 || kind >= HashKind::Count || text.size() != DigitCounts[kind])
        return false;
    for (auto c : text) {
        if (!IsHexDigit(c))
            return false;
    }
    return true;
}

} // namespace

size_t HashText::DigitCount(int kind)
{
    return kind >= 0 && kind < HashKind::Count ? DigitCounts[kind] : 0;
}

bool HashText::Matches(int kind, const std::string& text)
{
    return MatchesKind(kind, text);
}

bool HashText::Matches(int kind, const std::wstring& text)
{
    return MatchesKind(kind, text);
}

std::string HashText::ToUpper(const std::string& text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}
