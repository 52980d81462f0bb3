#include "app/lists/KeyCase.h"

#include <windows.h>

std::wstring KeyCase::Lower(const std::wstring& text)
{
    std::wstring lower(text);
    size_t at = 0;
    while (at < lower.size()) {
        wchar_t& c = lower[at];
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
            ++at;
            continue;
        }
        if (c < 0x100) {
            ++at;
            continue;
        }
        // a run of characters from U+0100 goes to the platform in one call; lower-casing keeps the length
        size_t end = at;
        while (end < lower.size() && lower[end] >= 0x100)
            ++end;
        const int length = static_cast<int>(end - at);
        std::wstring mapped(static_cast<size_t>(length), L'\0');
        if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, &lower[at], length, &mapped[0], length) == length)
            lower.replace(at, static_cast<size_t>(length), mapped);
        at = end;
    }
    return lower;
}
