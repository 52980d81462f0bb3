// UTF-8 and UTF-16 for the hash lists that other tools write and for lists written as UTF-8. The program's wide
// strings are UTF-16 on Windows; in the native build wchar_t holds whole code points, and these functions follow.
#pragma once

#include <string>

class UnicodeText {
public:
    // the byte-order mark that starts a UTF-8 file
    static const char* const Utf8Bom;

    // Every sequence is well formed (no overlong form, no surrogate, nothing above U+10FFFF). With truncatedEnd,
    // a sequence cut short by the end of the bytes still counts as valid (a file's head that was read in part).
    static bool IsValidUtf8(const std::string& bytes, bool truncatedEnd = false);
    static bool HasNonAscii(const std::string& bytes);
    // UTF-8 to wide text; an ill-formed byte becomes U+FFFD. Surrogates encoded on their own (which the UTF-16
    // conversion below produces for an unpaired one) come back as they were, so no name is changed on the way.
    static std::wstring Utf8ToWide(const std::string& bytes);
    // wide text to UTF-8; an unpaired surrogate becomes U+FFFD, and lossy tells so
    static std::string WideToUtf8(const std::wstring& text, bool* lossy = nullptr);
    // UTF-16 bytes (without their byte-order mark) to UTF-8 for the list grammars, which read ASCII structure in
    // bytes; an odd last byte is dropped, an unpaired surrogate is kept as it is (see Utf8ToWide)
    static std::string Utf16ToUtf8(const std::string& bytes, bool bigEndian);
};
