// The three hash kinds and the texts that stand for their values: upper-case hexadecimal of 8, 32 and 40 digits.
#pragma once

#include <array>
#include <string>

namespace HashKind {
const int Crc32 = 0;
const int Md5 = 1;
const int Sha1 = 2;
const int Count = 3;
} // namespace HashKind

// one flag per hash kind, indexed by HashKind
typedef std::array<bool, HashKind::Count> HashKindFlags;

class HashText {
public:
    // what a value cell shows instead of a value when its file could not be read in full
    static const wchar_t* const Unreadable;

    // number of hex digits of a value of the kind
    static size_t DigitCount(int kind);
    // the whole text is a value of the kind (hex digits of either case, exact count)
    static bool Matches(int kind, const std::string& text);
    static bool Matches(int kind, const std::wstring& text);
    // ASCII letters to upper case; other bytes stay as they are
    static std::string ToUpper(const std::string& text);
};
