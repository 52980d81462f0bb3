// One file of a file operation run.
#pragma once

#include "app/lists/HashText.h"

#include <array>
#include <cstdint>
#include <string>

struct CopyTask {
    std::wstring Source;      // full path of the file
    std::wstring Destination; // full path of the target; empty for delete
    uint64_t Size = 0;        // the size the file list shows; weights the progress
    // the list's values of a finished row, "" where it holds none; a verified copy is compared with them
    std::array<std::wstring, HashKind::Count> Values;
};
