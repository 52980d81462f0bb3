// Registers a hash list in place of the files it lists: reads the file, hands its bytes to the parser
// (HashListParser, which decides the encoding and the grammar) and, when the whole list was accepted, appends one
// pending record per entry to the side.
// Interface thread (it reads the main settings and may switch a hash kind on).
#pragma once

#include <cstdint>
#include <string>

class FileListView;

// a text file larger than this is not taken for a hash list (it is registered as a file, and not held in memory)
const uint64_t MaxHashListBytes = 256ull << 20;

// True when at least one record was appended to list's pending records, in file order. False, with nothing
// appended, when the path has no hash-list extension, cannot be read, or the grammar rejected it.
bool ImportHashList(const std::wstring& path, FileListView& list);
