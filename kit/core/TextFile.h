// A File that also reads line by line. Lines are raw bytes (the ANSI code page of the file's writer); nothing is
// decoded and no byte-order mark is looked for.
#pragma once

#include "kit/core/File.h"

#include <string>

namespace kit {

class TextFile : public File {
public:
    // Fills line with the next line and returns its length in bytes, or -1 at the end of the file.
    // A line ends at LF, CR LF, CR alone or Ctrl-Z (0x1A); the terminator is consumed and not stored.
    // A last line without terminator is returned as it is.
    int64_t ReadLine(std::string& line);
};

} // namespace kit
