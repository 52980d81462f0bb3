// File sizes as the lists show them: decimal digits with a "," between groups of three, "-" when a list entry
// carries no size.
#pragma once

#include <cstdint>
#include <string>

class SizeFormat {
public:
    // 1234567 gives "1,234,567"
    static std::wstring Format(uint64_t size);
    // "1234567" gives "1,234,567"; the text is taken as digits and not checked
    static std::string GroupDigits(const std::string& digits);
    static std::wstring GroupDigits(const std::wstring& digits);
    static std::string RemoveCommas(const std::string& text);
    static std::wstring RemoveCommas(const std::wstring& text);
    // digits with any commas, within 64 bits; anything else (empty, "-", too large) is false and leaves value 0
    static bool Parse(const std::wstring& text, uint64_t& value);
    // Two size texts name the same size: equal numbers when both are numbers (so "1234" from a list written by
    // another tool equals "1,234"), otherwise equal texts.
    static bool SameSize(const std::wstring& a, const std::wstring& b);
};
