// What a file operation run needs to know of one row of the file operation list.
#pragma once

#include "app/lists/HashText.h"

#include <array>
#include <cstdint>
#include <string>

struct CopyRow {
    std::wstring FullPath;     // the file as registered, in its own letter case
    std::wstring RelativePath; // the pairing key: the path below the registered folder, lower-cased
    uint64_t Size = 0;
    bool Checked = false;
    // the values of a finished row, "" where it has none
    std::array<std::wstring, HashKind::Count> Values;
};
