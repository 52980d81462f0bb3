// A file registered into one side but not yet placed into a row: built by the registration and by the hash list
// import, placed into rows by RowModel::MergePending.
#pragma once

#include "app/lists/HashListParser.h"
#include "app/lists/HashText.h"

#include <functional>
#include <string>

struct PendingRecord {
    // the file-name part of PathKey
    std::wstring NameKey;
    // the path below the folder it was registered from, lower-cased; empty for an imported entry
    std::wstring RelativeKey;
    // the path as registered (shown in the list)
    std::wstring Path;
    // Path lower-cased
    std::wstring PathKey;
    // values that came with an imported entry; empty for a file on disk
    std::array<std::wstring, HashKind::Count> HashTexts;
    // "-" or the size for an imported entry; empty for a file on disk
    std::wstring SizeText;

    // the program's lower-casing of keys (kit on Windows)
    typedef std::function<std::wstring(const std::wstring&)> LowerFunction;

    // a file on disk registered from a base folder that ends in "\" and of which the path is an extension
    static PendingRecord ForFile(const std::wstring& path, const std::wstring& baseFolder, const LowerFunction& lower);
    static PendingRecord ForListEntry(const HashListEntry& entry, const LowerFunction& lower);
};
