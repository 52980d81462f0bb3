// One file of a file operation run.
#pragma once

#include <cstdint>
#include <string>

struct CopyTask {
    std::wstring Source;      // full path of the file
    std::wstring Destination; // full path of the target; empty for delete
    uint64_t Size = 0;        // the size the file list shows; weights the progress
};
