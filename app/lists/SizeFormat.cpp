#include "app/lists/SizeFormat.h"

#include <limits>

namespace {

template <typename String>
String Group(const String& digits)
{
    String grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

template <typename String>
String WithoutCommas(const String& text)
{
    String plain;
    plain.reserve(text.size());
    for (auto c : text) {
        if (c != ',')
            plain += c;
    }
    return plain;
}

// the digits of a size text without commas and leading zeros ("0" stays "0"); false when it is not a number
bool CanonicalDigits(const std::wstring& text, std::wstring& digits)
{
    digits.clear();
    for (wchar_t c : text) {
        if (c == L',')
            continue;
        if (c < L'0' || c > L'9')
            return false;
        if (digits.empty() && c == L'0')
            continue;
        digits += c;
    }
    if (digits.empty()) {
        // a text of commas only is no number; zeros are
        if (text.find(L'0') == std::wstring::npos)
            return false;
        digits = L"0";
    }
    return true;
}

} // namespace

std::wstring SizeFormat::Format(uint64_t size)
{
    return GroupDigits(std::to_wstring(size));
}

std::string SizeFormat::GroupDigits(const std::string& digits)
{
    return Group(digits);
}

std::wstring SizeFormat::GroupDigits(const std::wstring& digits)
{
    return Group(digits);
}

std::string SizeFormat::RemoveCommas(const std::string& text)
{
    return WithoutCommas(text);
}

std::wstring SizeFormat::RemoveCommas(const std::wstring& text)
{
    return WithoutCommas(text);
}

bool SizeFormat::Parse(const std::wstring& text, uint64_t& value)
{
    value = 0;
    uint64_t parsed = 0;
    bool any = false;
    for (wchar_t c : text) {
        if (c == L',')
            continue;
        if (c < L'0' || c > L'9')
            return false;
        uint64_t digit = static_cast<uint64_t>(c - L'0');
        if (parsed > (std::numeric_limits<uint64_t>::max() - digit) / 10)
            return false;
        parsed = parsed * 10 + digit;
        any = true;
    }
    if (!any)
        return false;
    value = parsed;
    return true;
}

bool SizeFormat::SameSize(const std::wstring& a, const std::wstring& b)
{
    std::wstring digitsA, digitsB;
    if (CanonicalDigits(a, digitsA) && CanonicalDigits(b, digitsB))
        return digitsA == digitsB;
    return a == b;
}
