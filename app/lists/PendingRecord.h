// A file registered into one side but not yet placed into a row: built by the registration and by the hash list
// import, placed into rows by RowModel::MergePending.
#pragma once

#include "app/lists/HashListParser.h"
#include "app/lists/HashText.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// the values and the size an imported entry came with; shared, never changed once made
struct ImportedValues {
    std::array<std::wstring, HashKind::Count> HashTexts;
    std::wstring SizeText; // "-" or the size
};

// A registered file: its path and its keys. The keys are the trailing parts of the lower-cased path, kept as lengths
// so that a row holds two strings, not five (a million rows per side must fit in memory).
struct RegisteredFile {
    // the path as registered (shown in the list); empty for a blank side
    std::wstring Path;
    // Path lower-cased (lower-casing keeps the length)
    std::wstring PathKey;
    // characters of PathKey that are the path below the folder it was registered from; 0 for an imported entry
    uint32_t RelativeLength = 0;
    // characters of PathKey that are its file name
    uint32_t NameLength = 0;
    // null for a file on disk
    std::shared_ptr<const ImportedValues> Imported;

    std::wstring_view RelativeKey() const { return Tail(RelativeLength); }
    std::wstring_view NameKey() const { return Tail(NameLength); }
    bool IsImported() const { return Imported != nullptr; }
    // what an imported entry came with; "" for a file on disk
    const std::wstring& ImportedHash(int kind) const;
    const std::wstring& ImportedSize() const;
    // sets PathKey from Path, and the name length from it
    void SetKeys(const std::function<std::wstring(const std::wstring&)>& lower);

private:
    std::wstring_view Tail(uint32_t length) const
    {
        return std::wstring_view(PathKey).substr(PathKey.size() - std::min<size_t>(length, PathKey.size()));
    }
};

struct PendingRecord : RegisteredFile {
    // the program's lower-casing of keys (kit on Windows)
    typedef std::function<std::wstring(const std::wstring&)> LowerFunction;

    // a file on disk registered from a base folder that ends in "\" and of which the path is an extension
    static PendingRecord ForFile(const std::wstring& path, const std::wstring& baseFolder, const LowerFunction& lower);
    static PendingRecord ForListEntry(const HashListEntry& entry, const LowerFunction& lower);
};
