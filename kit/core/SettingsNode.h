// The settings tree: a node holds a number, named byte values and named child nodes, and the whole tree is kept in
// one settings file (a 32-bit version, then the serialised tree as one zlib-compressed block).
//
// Values carry no type; the reader gives the meaning by length: 1 byte a boolean, 4 bytes a little-endian integer,
// UTF-16LE units a string, a fixed-size record a binary structure. A value of any other length reads as the
// caller's default.
//
// Threads: a tree has no lock; the main thread owns it and is its only reader and writer. A background thread
// never touches the main tree: it works on a copy (a SettingsNode is a plain value, so a copy is one assignment)
// made on the main thread and handed to it when it is created, or it reads the SettingsSnapshot that the main
// thread publishes (kit/core/SettingsSnapshot.h) and takes a copy of the current tree from there when it starts.
#pragma once

#include <boost/unordered_map.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kit {

class File;

class SettingsNode {
public:
    typedef std::vector<uint8_t> Value;
    typedef boost::unordered_map<std::wstring, Value> ValueMap;
    typedef boost::unordered_map<std::wstring, SettingsNode> ChildMap;

    // the version written into the settings file and the only one read back
    static const int32_t FileVersion = 1;
    // nodes nest at most this deep in a file; deeper input is corrupt (and would exhaust the stack)
    static const int MaxDepth = 64;

    int32_t Number = 0;
    ValueMap Values;
    ChildMap Children;

    // the child of that name, created empty when it does not exist
    SettingsNode& Child(const std::wstring& name);
    // the child of that name, or null; creates nothing
    const SettingsNode* FindChild(const std::wstring& name) const;

    bool GetBool(const std::wstring& name, bool defaultValue = false) const;
    int32_t GetInt(const std::wstring& name, int32_t defaultValue) const;
    std::wstring GetString(const std::wstring& name) const;
    // copies the value into record when it has exactly size bytes; false (record untouched) otherwise
    bool GetBinary(const std::wstring& name, void* record, size_t size) const;
    template <class T> bool GetBinary(const std::wstring& name, T& record) const
    {
        return GetBinary(name, &record, sizeof record);
    }

    void SetBool(const std::wstring& name, bool value);
    void SetInt(const std::wstring& name, int32_t value);
    void SetString(const std::wstring& name, const std::wstring& text);
    void SetBinary(const std::wstring& name, const void* record, size_t size);
    template <class T> void SetBinary(const std::wstring& name, const T& record)
    {
        SetBinary(name, &record, sizeof record);
    }

    // Merges the settings file over this node: values of the root one by one, children whole. A missing, short,
    // corrupt or other-version file changes nothing and returns false.
    bool Load(const std::wstring& path);
    bool Load(File& in);
    // Writes the tree (root number set to FileVersion) to a temporary file beside path and only then puts it in
    // place of the old file; on failure the old file stays as it was and the result is false.
    bool Save(const std::wstring& path);
    bool Save(File& out);
    // the first 32-bit integer of the file; 0 when it cannot be opened or is shorter than 4 bytes
    static int32_t ReadVersion(const std::wstring& path);

    // The serialised tree (the content of the file's compressed block).
    std::vector<uint8_t> Serialise() const;
    // Merges a serialised tree as Load does; false, with this node unchanged, unless data is exactly one tree.
    bool Parse(const std::vector<uint8_t>& data);

    bool operator==(const SettingsNode& other) const;
    bool operator!=(const SettingsNode& other) const { return !(*this == other); }

private:
    void SerialiseTo(File& out) const;
    static bool ParseFrom(File& in, SettingsNode& node, int depth);
    void Merge(SettingsNode& parsed);
};

} // namespace kit
