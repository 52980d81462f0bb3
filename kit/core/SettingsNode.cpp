#include "kit/core/SettingsNode.h"

#include "kit/core/File.h"

#include <cstring>

namespace kit {

namespace {

// the least a value takes in the serialised tree: an empty name's terminator and a zero length
const uint64_t MinValueBytes = 2 + 4;
// the least a child takes: an empty name's terminator, its number and two zero counts
const uint64_t MinChildBytes = 2 + 4 + 4 + 4;

// a name must end with its zero unit; a name cut off by the end of the data is corrupt
bool ReadName(File& in, std::wstring& name)
{
    uint64_t from = in.GetPosition();
    size_t bytes = in.ReadString(name);
    return in.GetPosition() - from == bytes + 2;
}

} // namespace

SettingsNode& SettingsNode::Child(const std::wstring& name)
{
    return Children[name];
}

const SettingsNode* SettingsNode::FindChild(const std::wstring& name) const
{
    ChildMap::const_iterator found = Children.find(name);
    return found == Children.end() ? nullptr : &found->second;
}

bool SettingsNode::GetBool(const std::wstring& name, bool defaultValue) const
{
    ValueMap::const_iterator found = Values.find(name);
    if (found == Values.end() || found->second.size() != 1) {
        return defaultValue;
    }
    return found->second[0] != 0;
}

int32_t SettingsNode::GetInt(const std::wstring& name, int32_t defaultValue) const
{
    ValueMap::const_iterator found = Values.find(name);
    if (found == Values.end() || found->second.size() != 4) {
        return defaultValue;
    }
    const Value& v = found->second;
    return static_cast<int32_t>(static_cast<uint32_t>(v[0]) | static_cast<uint32_t>(v[1]) << 8 |
                                static_cast<uint32_t>(v[2]) << 16 | static_cast<uint32_t>(v[3]) << 24);
}

std::wstring SettingsNode::GetString(const std::wstring& name) const
{
    std::wstring text;
    ValueMap::const_iterator found = Values.find(name);
    if (found != Values.end()) {
        const Value& v = found->second;
        text.reserve(v.size() / 2);
        for (size_t i = 0; i + 1 < v.size(); i += 2) {
            text.push_back(static_cast<wchar_t>(v[i] | v[i + 1] << 8));
        }
    }
    return text;
}

bool SettingsNode::GetBinary(const std::wstring& name, void* record, size_t size) const
{
    ValueMap::const_iterator found = Values.find(name);
    if (found == Values.end() || found->second.size() != size) {
        return false;
    }
    if (size != 0) {
        std::memcpy(record, found->second.data(), size);
    }
    return true;
}

void SettingsNode::SetBool(const std::wstring& name, bool value)
{
    Values[name] = Value(1, value ? 1 : 0);
}

void SettingsNode::SetInt(const std::wstring& name, int32_t value)
{
    uint32_t raw = static_cast<uint32_t>(value);
    Values[name] = Value{static_cast<uint8_t>(raw), static_cast<uint8_t>(raw >> 8), static_cast<uint8_t>(raw >> 16),
                         static_cast<uint8_t>(raw >> 24)};
}

void SettingsNode::SetString(const std::wstring& name, const std::wstring& text)
{
    Value v(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        uint16_t unit = static_cast<uint16_t>(text[i]);
        v[i * 2] = static_cast<uint8_t>(unit);
        v[i * 2 + 1] = static_cast<uint8_t>(unit >> 8);
    }
    Values[name].swap(v);
}

void SettingsNode::SetBinary(const std::wstring& name, const void* record, size_t size)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(record);
    Values[name] = Value(bytes, bytes + size);
}

bool SettingsNode::Load(const std::wstring& path)
{
    File in;
    return in.OpenRead(path) && Load(in);
}

bool SettingsNode::Load(File& in)
{
    int32_t version = 0;
    if (!in.ReadInt32(version) || version != FileVersion) {
        return false;
    }
    std::vector<uint8_t> tree;
    // the block must be whole and the last thing in the file
    if (!in.ReadCompressedBlock(tree) || in.GetRemaining() != 0) {
        return false;
    }
    return Parse(tree);
}

bool SettingsNode::Save(const std::wstring& path)
{
    // the old file is replaced only by a complete new one, so a failure halfway loses nothing
    std::wstring temporary = path + L".tmp";
    File out;
    if (!out.OpenWrite(temporary)) {
        return false;
    }
    bool ok = Save(out) && out.Flush();
    ok = out.Close() && ok;
    ok = ok && File::Replace(temporary, path);
    if (!ok) {
        File::Remove(temporary);
    }
    return ok;
}

bool SettingsNode::Save(File& out)
{
    Number = FileVersion;
    std::vector<uint8_t> tree = Serialise();
    return out.WriteInt32(Number) && out.WriteCompressed(tree.data(), tree.size());
}

int32_t SettingsNode::ReadVersion(const std::wstring& path)
{
    File in;
    int32_t version = 0;
    if (in.OpenRead(path)) {
        in.ReadInt32(version);
    }
    return version;
}

std::vector<uint8_t> SettingsNode::Serialise() const
{
    std::vector<uint8_t> data;
    File out;
    out.AttachBuffer(data);
    SerialiseTo(out);
    return data;
}

void SettingsNode::SerialiseTo(File& out) const
{
    // writes into memory cannot fail
    out.WriteInt32(Number);
    out.WriteUInt32(static_cast<uint32_t>(Values.size()));
    for (const ValueMap::value_type& value : Values) {
        out.WriteString(value.first);
        out.WriteBlock(value.second.data(), value.second.size());
    }
    out.WriteUInt32(static_cast<uint32_t>(Children.size()));
    for (const ChildMap::value_type& child : Children) {
        out.WriteString(child.first);
        child.second.SerialiseTo(out);
    }
}

bool SettingsNode::Parse(const std::vector<uint8_t>& data)
{
    // parse aside and merge only a tree that was read whole: a broken file leaves every setting as it was
    std::vector<uint8_t> copy(data);
    File in;
    in.AttachBuffer(copy);
    SettingsNode parsed;
    if (!ParseFrom(in, parsed, 0) || in.GetRemaining() != 0) {
        return false;
    }
    Merge(parsed);
    return true;
}

bool SettingsNode::ParseFrom(File& in, SettingsNode& node, int depth)
{
    if (depth > MaxDepth || !in.ReadInt32(node.Number)) {
        return false;
    }
    // the counts are not trusted: each entry needs some bytes, so a count the data cannot hold is corrupt
    uint32_t count = 0;
    if (!in.ReadUInt32(count) || count > in.GetRemaining() / MinValueBytes) {
        return false;
    }
    std::wstring name;
    for (uint32_t i = 0; i < count; ++i) {
        Value value;
        if (!ReadName(in, name) || !in.ReadBlock(value)) {
            return false;
        }
        node.Values[name].swap(value);
    }
    if (!in.ReadUInt32(count) || count > in.GetRemaining() / MinChildBytes) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        SettingsNode child;
        if (!ReadName(in, name) || !ParseFrom(in, child, depth + 1)) {
            return false;
        }
        node.Children[name] = std::move(child);
    }
    return true;
}

void SettingsNode::Merge(SettingsNode& parsed)
{
    Number = parsed.Number;
    for (ValueMap::value_type& value : parsed.Values) {
        Values[value.first].swap(value.second);
    }
    // a child in the file replaces the one in memory whole; readers apply their own defaults within it
    for (ChildMap::value_type& child : parsed.Children) {
        Children[child.first] = std::move(child.second);
    }
}

bool SettingsNode::operator==(const SettingsNode& other) const
{
    return Number == other.Number && Values == other.Values && Children == other.Children;
}

} // namespace kit
