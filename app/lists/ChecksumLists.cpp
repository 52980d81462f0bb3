#include "app/lists/ChecksumLists.h"

#include "app/lists/SizeFormat.h"
#include "kit/core/Path.h"

#include <boost/algorithm/string/split.hpp>

#include <cctype>

namespace {

const char* const HashdeepHeader = "%%%% HASHDEEP-";
const char* const HashdeepPrefix = "%%%% ";
const int HashdeepSize = -1;
const int HashdeepOther = -2;

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// hash values and sizes are ASCII, so they widen byte by byte
std::wstring WidenAscii(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsSumBlank(char c)
{
    return c == ' ' || c == '\t';
}

size_t HexRun(const std::string& line, size_t start)
{
    size_t end = start;
    while (end < line.size() && IsHex(line[end]))
        ++end;
    return end - start;
}

// the kind of an md5sum or sha1sum value by its number of digits; -1 for any other length
int SumKind(size_t digits)
{
    if (digits == HashText::DigitCount(HashKind::Md5))
        return HashKind::Md5;
    if (digits == HashText::DigitCount(HashKind::Sha1))
        return HashKind::Sha1;
    return -1;
}

// the kind a BSD tag names ("MD5", "SHA1", and rhash's "CRC32"); -1 for a kind this program does not compute
int TagKind(const std::string& tag)
{
    if (tag == "CRC32")
        return HashKind::Crc32;
    if (tag == "MD5")
        return HashKind::Md5;
    if (tag == "SHA1" || tag == "SHA-1")
        return HashKind::Sha1;
    return -1;
}

// md5sum writes a name that holds a backslash, LF or CR with a leading "\" on the line and "\\", "\n", "\r" in the
// name; any other escape makes the line ill-formed
bool Unescape(const std::string& name, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '\\') {
            out += name[i];
            continue;
        }
        if (++i == name.size())
            return false;
        if (name[i] == '\\')
            out += '\\';
        else if (name[i] == 'n')
            out += '\n';
        else if (name[i] == 'r')
            out += '\r';
        else
            return false;
    }
    return true;
}

struct SumLine {
    int Kind = -1;
    std::string Value;
    std::string Name;
};

// "TAG (name) = value"; rhash pads the tag with blanks. The name ends at the last ") = ", as the BSD tools do not
// escape it.
bool SplitTagLine(const std::string& line, size_t start, SumLine& out)
{
    size_t tagEnd = start;
    while (tagEnd < line.size() && (std::isalnum(static_cast<unsigned char>(line[tagEnd])) || line[tagEnd] == '-'))
        ++tagEnd;
    size_t open = tagEnd;
    while (open < line.size() && line[open] == ' ')
        ++open;
    if (tagEnd == start || open == tagEnd || open >= line.size() || line[open] != '(')
        return false;
    const size_t close = line.rfind(") = ");
    if (close == std::string::npos || close <= open)
        return false;
    out.Value = line.substr(close + 4);
    out.Name = line.substr(open + 1, close - open - 1);
    out.Kind = TagKind(line.substr(start, tagEnd - start));
    if (out.Kind >= 0 && !HashText::Matches(out.Kind, out.Value))
        out.Kind = -1;
    return true;
}

// "value  name" (text mode) or "value *name" (binary mode); BSD "md5 -r" writes "value name", which the first entry
// line of a file decides as md5sum does (reversed: -1 undecided, 0 no, 1 yes)
bool SplitSumLine(const std::string& line, size_t start, int& reversed, SumLine& out)
{
    const size_t digits = HexRun(line, start);
    size_t i = start + digits;
    if (SumKind(digits) < 0 || i >= line.size() || !IsSumBlank(line[i]))
        return false;
    ++i;
    if (i >= line.size())
        return false;
    if (line.size() - i == 1 || (line[i] != ' ' && line[i] != '*')) {
        if (reversed == 0)
            return false;
        reversed = 1;
    } else if (reversed != 1) {
        reversed = 0;
        ++i;
    }
    out.Kind = SumKind(digits);
    out.Value = line.substr(start, digits);
    out.Name = line.substr(i);
    return true;
}

// A line of an md5sum, sha1sum or BSD tag list. False for a line that is no entry; Kind is -1 for an entry of a
// kind this program does not compute.
bool ReadSumLine(const std::string& line, int& reversed, SumLine& out)
{
    size_t start = 0;
    while (start < line.size() && IsSumBlank(line[start]))
        ++start;
    if (start == line.size() || line[start] == '#')
        return false;
    const bool escaped = line[start] == '\\';
    if (escaped)
        ++start;
    if (!SplitTagLine(line, start, out) && !SplitSumLine(line, start, reversed, out))
        return false;
    if (escaped) {
        std::string name;
        if (!Unescape(out.Name, name))
            return false;
        out.Name = name;
    }
    return !out.Name.empty();
}

// "%%%% size,md5,sha1,filename": the columns of the lines that follow; the file name is always the last
bool ReadHashdeepColumns(const std::string& line, std::vector<int>& columns)
{
    std::vector<std::string> names;
    boost::split(names, line, [](char c) { return c == ','; });
    if (names.size() < 2 || names.back() != "filename")
        return false;
    columns.clear();
    for (size_t k = 0; k + 1 < names.size(); ++k) {
        if (names[k] == "size")
            columns.push_back(HashdeepSize);
        else if (names[k] == "md5")
            columns.push_back(HashKind::Md5);
        else if (names[k] == "sha1")
            columns.push_back(HashKind::Sha1);
        else
            columns.push_back(HashdeepOther);
    }
    return true;
}

// one data line: the columns, then the file name, which may hold commas itself
bool ReadHashdeepEntry(const std::string& line, const std::vector<int>& columns,
    const TextCodec::ToWideFunction& toWide, HashListEntry& entry)
{
    size_t start = 0;
    entry.SizeText = L"-";
    for (int column : columns) {
        const size_t comma = line.find(',', start);
        if (comma == std::string::npos)
            return false;
        const std::string field = line.substr(start, comma - start);
        start = comma + 1;
        if (column == HashdeepSize) {
            if (!kit::IsNumber(field))
                return false;
            entry.SizeText = WidenAscii(SizeFormat::GroupDigits(field));
        } else if (column >= 0) {
            if (!HashText::Matches(column, field))
                return false;
            entry.HashTexts[column] = WidenAscii(HashText::ToUpper(field));
        }
    }
    if (start >= line.size())
        return false;
    entry.Name = toWide(line.substr(start));
    return true;
}

} // namespace

bool ChecksumLists::IsSumLine(const std::string& line)
{
    int reversed = -1;
    SumLine sum;
    return ReadSumLine(line, reversed, sum) && sum.Kind >= 0;
}

bool ChecksumLists::IsTagLine(const std::string& line)
{
    SumLine sum;
    return !line.empty() && SplitTagLine(line, line[0] == '\\' ? 1 : 0, sum);
}

bool ChecksumLists::IsHashdeepHeader(const std::string& line)
{
    return StartsWith(line, HashdeepHeader);
}

// rhash writes one tag line per kind: lines in a row that name the same file make one entry
void ChecksumLists::ReadSums(const std::vector<std::string>& lines, const TextCodec::ToWideFunction& toWide,
    std::vector<HashListEntry>& entries)
{
    int reversed = -1;
    std::string lastName;
    for (const std::string& line : lines) {
        SumLine sum;
        if (!ReadSumLine(line, reversed, sum) || sum.Kind < 0)
            continue;
        const std::wstring value = WidenAscii(HashText::ToUpper(sum.Value));
        if (!entries.empty() && sum.Name == lastName && entries.back().HashTexts[sum.Kind].empty()) {
            entries.back().HashTexts[sum.Kind] = value;
            continue;
        }
        HashListEntry entry;
        entry.Name = toWide(sum.Name);
        entry.HashTexts[sum.Kind] = value;
        entry.SizeText = L"-";
        entries.push_back(entry);
        lastName = sum.Name;
    }
}

// "%%%%" header lines, "##" comments, then size and values by the column line; a line that breaks the columns is
// skipped
bool ChecksumLists::ReadHashdeep(const std::vector<std::string>& lines, const TextCodec::ToWideFunction& toWide,
    std::vector<HashListEntry>& entries)
{
    std::vector<int> columns;
    bool known = false;
    for (const std::string& line : lines) {
        if (line.empty() || StartsWith(line, "##"))
            continue;
        if (StartsWith(line, HashdeepPrefix)) {
            if (!StartsWith(line, HashdeepHeader))
                known = ReadHashdeepColumns(line.substr(5), columns) || known;
            continue;
        }
        if (!known)
            return false;
        HashListEntry entry;
        if (ReadHashdeepEntry(line, columns, toWide, entry))
            entries.push_back(entry);
    }
    return true;
}

