// The lower-casing of pairing keys: ASCII A to Z directly, U+0080 to U+00FF unchanged, U+0100 upward with the
// platform's lower-case mapping. Used for the keys of registered files and of the rows they are paired with.
#pragma once

#include <string>

class KeyCase {
public:
    static std::wstring Lower(const std::wstring& text);
};
