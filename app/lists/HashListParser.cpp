#include "app/lists/HashListParser.h"

#include "app/lists/ChecksumLists.h"
#include "app/lists/SizeFormat.h"
#include "app/lists/UnicodeText.h"
#include "kit/core/Path.h"

#include <boost/tokenizer.hpp>

namespace {

// more non-numeric size tokens than the title and its rule mean the file is not in the text form
const int MaxTextSkippedLines = 2;
// a csv or tsv list may start with one title line
const int MaxSeparatedTitleLines = 1;

std::wstring LowerAscii(const std::wstring& text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return lower;
}

// hash values and sizes are ASCII, so they widen byte by byte
std::wstring WidenAscii(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string TrimRightSpaces(const std::string& text)
{
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

typedef std::vector<HashListEntry> Entries;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// white space in a widened name: ASCII blanks and the Unicode spaces (the ideographic space among them)
bool IsWideBlank(wchar_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680
        || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// An SFV entry line: blanks, the name, blanks, the value (the last blank-free token). The split that the pattern
// "^\s*(.+)\s+([^\s]+)$" makes, found in one pass: a backtracking match takes minutes on a line of many blanks.
bool SplitSfvLine(const std::string& line, std::string& name, std::string& value)
{
    if (line.empty() || IsBlank(line.back()))
        return false;
    size_t valueStart = line.size();
    while (valueStart > 0 && !IsBlank(line[valueStart - 1]))
        --valueStart;
    size_t nameStart = 0;
    while (nameStart < line.size() && IsBlank(line[nameStart]))
        ++nameStart;
    // the name must hold more than blanks; the pattern would take a single blank for a name here
    if (valueStart == 0 || nameStart + 1 >= valueStart)
        return false;
    name = line.substr(nameStart, valueStart - 1 - nameStart);
    value = line.substr(valueStart);
    return true;
}

std::wstring TrimRightBlanks(const std::wstring& text)
{
    size_t end = text.size();
    while (end > 0 && IsWideBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

// SFV: "name hash" lines and ";" comments. No line rejects the file; a line that does not fit is skipped.
bool ReadSfv(const std::vector<std::string>& lines, const HashKindFlags& enabled,
    const TextCodec::ToWideFunction& toWide, Entries& entries)
{
    for (const std::string& line : lines) {
        size_t first = 0;
        while (first < line.size() && IsBlank(line[first]))
            ++first;
        std::string name, hash;
        if ((first < line.size() && line[first] == ';') || !SplitSfvLine(line, name, hash))
            continue;
        int kind = 0;
        while (kind < HashKind::Count && !(enabled[kind] && HashText::Matches(kind, hash)))
            ++kind;
        if (kind == HashKind::Count)
            continue;
        HashListEntry entry;
        entry.Name = TrimRightBlanks(toWide(name));
        if (entry.Name.empty())
            continue;
        entry.HashTexts[kind] = WidenAscii(HashText::ToUpper(hash));
        entry.SizeText = L"-";
        entries.push_back(entry);
    }
    return true;
}

// The text form's size token: digits with commas, or "-" for an entry that came without a size (the list output
// writes that for imported rows). A rule line of single dashes is no entry.
bool IsTextSize(const std::string& token, const std::string& line)
{
    if (token == "-")
        return line.find_first_not_of("- ") != std::string::npos;
    return kit::IsNumber(SizeFormat::RemoveCommas(token));
}

// Takes the token after the last space off text, with the spaces before it. False when no space is left.
bool TakeLastToken(std::string& text, std::string& token)
{
    size_t space = text.rfind(' ');
    if (space == std::string::npos)
        return false;
    token = text.substr(space + 1);
    text = TrimRightSpaces(text.substr(0, space));
    return true;
}

// the first data line decides which kinds appear, walking left from the size: SHA-1, MD5, CRC32 in this order
void DetectTextLayout(std::string& rest, std::vector<int>& layout, std::vector<std::string>& hashes)
{
    int candidate = HashKind::Sha1;
    std::string remaining = rest;
    std::string token;
    while (TakeLastToken(remaining, token)) {
        int kind = candidate;
        while (kind >= 0 && !HashText::Matches(kind, token))
            --kind;
        if (kind < 0)
            break;
        layout.insert(layout.begin(), kind);
        hashes.insert(hashes.begin(), token);
        rest = remaining;
        candidate = kind;
        if (kind == HashKind::Crc32)
            break;
    }
}

bool TakeTextHashes(std::string& rest, const std::vector<int>& layout, std::vector<std::string>& hashes)
{
    hashes.assign(layout.size(), std::string());
    for (size_t k = layout.size(); k-- > 0;) {
        if (!TakeLastToken(rest, hashes[k]) || !HashText::Matches(layout[k], hashes[k]))
            return false;
    }
    return true;
}

// The column-aligned text form: name, hash tokens, size, separated by spaces; title and rule lines are passed by
// their non-numeric size, the footer rule ends the list.
bool ReadText(const std::vector<std::string>& lines, const TextCodec::ToWideFunction& toWide, Entries& entries)
{
    std::vector<int> layout;
    bool layoutKnown = false;
    int skipped = 0;
    for (const std::string& line : lines) {
        size_t lastSpace = line.rfind(' ');
        if (lastSpace == std::string::npos)
            return line.find('-') != std::string::npos;
        std::string sizeToken = line.substr(lastSpace + 1);
        if (!IsTextSize(sizeToken, line)) {
            if (++skipped > MaxTextSkippedLines)
                return false;
            continue;
        }
        std::string rest = TrimRightSpaces(line.substr(0, lastSpace));
        std::vector<std::string> hashes;
        if (layoutKnown) {
            if (!TakeTextHashes(rest, layout, hashes))
                return false;
        } else {
            DetectTextLayout(rest, layout, hashes);
            layoutKnown = true;
        }
        // a line without a name would give a row that looks blank
        if (rest.empty())
            return false;
        HashListEntry entry;
        entry.Name = toWide(rest);
        for (size_t k = 0; k < layout.size(); ++k)
            entry.HashTexts[layout[k]] = WidenAscii(HashText::ToUpper(hashes[k]));
        entry.SizeText = WidenAscii(sizeToken);
        entries.push_back(entry);
    }
    return true;
}

typedef boost::tokenizer<boost::escaped_list_separator<char>> FieldTokenizer;

std::vector<std::string> SplitFields(const std::string& line, const boost::escaped_list_separator<char>& separator)
{
    FieldTokenizer tokens(line, separator);
    return std::vector<std::string>(tokens.begin(), tokens.end());
}

bool IsSeparatedSize(const std::string& field)
{
    return field == "-" || kit::IsNumber(field);
}

// the kind of a value by its number of digits, from kind first on; -1 when it is none
int KindOfValue(const std::string& field, int first)
{
    for (int kind = first; kind < HashKind::Count; ++kind) {
        if (HashText::Matches(kind, field))
            return kind;
    }
    return -1;
}

// The kinds of a csv/tsv list, tested by position: second field CRC32, third MD5, fourth SHA-1. Fields after the
// fourth and before the size carry no kind this program knows and are ignored.
bool DetectSeparatedLayout(const std::vector<std::string>& fields, std::vector<int>& kinds)
{
    for (size_t position = 1; position + 1 < fields.size() && position <= HashKind::Count; ++position) {
        int kind = static_cast<int>(position) - 1;
        if (HashText::Matches(kind, fields[position]))
            kinds.push_back(kind);
        else if (kind == HashKind::Sha1)
            return false;
    }
    if (!kinds.empty())
        return true;
    // A list without CRC32 column (the output with MD5 or SHA-1 only) would otherwise import no value at all, and
    // its rows would be judged by their sizes alone: take the values that follow the name by their length.
    int next = 0;
    for (size_t position = 1; position + 1 < fields.size(); ++position) {
        int kind = KindOfValue(fields[position], next);
        if (kind < 0)
            break;
        kinds.push_back(kind);
        next = kind + 1;
    }
    return true;
}

bool ReadSeparated(const std::vector<std::string>& lines, char separatorChar, const TextCodec::ToWideFunction& toWide,
    Entries& entries, std::vector<int>& kinds)
{
    // no escape character: a '"' toggles quoting and is dropped
    boost::escaped_list_separator<char> separator(std::string(), std::string(1, separatorChar), std::string("\""));
    size_t fieldCount = 0;
    int titles = 0;
    for (const std::string& line : lines) {
        std::vector<std::string> fields = SplitFields(line, separator);
        if (fields.empty())
            continue;
        if (fieldCount == 0) {
            if (fields.size() < 2)
                return false;
            if (!IsSeparatedSize(fields.back())) {
                if (++titles > MaxSeparatedTitleLines)
                    return false;
                continue;
            }
            if (!DetectSeparatedLayout(fields, kinds))
                return false;
            fieldCount = fields.size();
        }
        if (fields.size() != fieldCount || !IsSeparatedSize(fields.back()) || fields.front().empty())
            return false;
        HashListEntry entry;
        for (size_t k = 0; k < kinds.size(); ++k) {
            if (!HashText::Matches(kinds[k], fields[1 + k]))
                return false;
            entry.HashTexts[kinds[k]] = WidenAscii(HashText::ToUpper(fields[1 + k]));
        }
        entry.Name = toWide(fields.front());
        entry.SizeText = fields.back() == "-" ? L"-" : WidenAscii(SizeFormat::GroupDigits(fields.back()));
        entries.push_back(entry);
    }
    return true;
}

void SwitchOnCarriedKinds(HashListImport& result, const HashKindFlags& enabled)
{
    for (const HashListEntry& entry : result.Entries) {
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            if (!entry.HashTexts[kind].empty() && !enabled[kind])
                result.SwitchOn[kind] = true;
        }
    }
}

bool ReadList(HashListImport& result, const std::vector<std::string>& lines, const HashKindFlags& enabled,
    const TextCodec::ToWideFunction& toWide)
{
    std::vector<int> kinds;
    switch (result.Grammar) {
    case HashListGrammar::Sfv:
        return ReadSfv(lines, enabled, toWide, result.Entries);
    case HashListGrammar::Text:
        return ReadText(lines, toWide, result.Entries);
    case HashListGrammar::Csv:
    case HashListGrammar::Tsv:
        if (!ReadSeparated(lines, result.Grammar == HashListGrammar::Csv ? ',' : '\t', toWide, result.Entries, kinds))
            return false;
        for (int kind : kinds)
            result.SwitchOn[kind] = !enabled[kind];
        return true;
    case HashListGrammar::Sum:
    case HashListGrammar::Tag:
        ChecksumLists::ReadSums(lines, toWide, result.Entries);
        SwitchOnCarriedKinds(result, enabled);
        return true;
    case HashListGrammar::Hashdeep:
        if (!ChecksumLists::ReadHashdeep(lines, toWide, result.Entries))
            return false;
        SwitchOnCarriedKinds(result, enabled);
        return true;
    case HashListGrammar::None:
        break;
    }
    return false;
}

// a list is a list of hash values: entries that carry none (a table of numbers, notes) are no list
bool AnyValue(const Entries& entries)
{
    for (const HashListEntry& entry : entries) {
        for (const std::wstring& hash : entry.HashTexts) {
            if (!hash.empty())
                return true;
        }
    }
    return false;
}

std::string FirstMeaningfulLine(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        if (line.find_first_not_of(" \t") != std::string::npos)
            return line;
    }
    return std::string();
}

// The bytes for the grammars, which read ASCII structure byte by byte, and the conversion of their names: UTF-16 is
// turned into UTF-8 first. In UTF-8 no byte of a multi-byte character is ASCII, so blanks and separators are found
// as in ANSI text.
struct DecodedList {
    HashListEncoding Encoding = HashListEncoding::Ansi;
    std::string Bytes;
};

DecodedList Decode(const std::string& bytes, bool complete)
{
    DecodedList list;
    if (bytes.compare(0, 3, UnicodeText::Utf8Bom) == 0) {
        list.Encoding = HashListEncoding::Utf8;
        list.Bytes = bytes.substr(3);
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        list.Encoding = HashListEncoding::Utf16;
        list.Bytes = UnicodeText::Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
    } else {
        if (UnicodeText::HasNonAscii(bytes) && UnicodeText::IsValidUtf8(bytes, !complete))
            list.Encoding = HashListEncoding::Utf8;
        list.Bytes = bytes;
    }
    return list;
}

} // namespace

bool HashListParser::IsListExtension(const std::wstring& extension)
{
    std::wstring lower = LowerAscii(extension);
    return lower == L".sfv" || lower == L".crc" || lower == L".csv" || lower == L".tsv" || lower == L".txt"
        || lower == L".md5" || lower == L".sha1";
}

HashListGrammar HashListParser::ChooseGrammar(const std::wstring& extension, const std::string& probe)
{
    if (!IsListExtension(extension))
        return HashListGrammar::None;
    const std::wstring lower = LowerAscii(extension);
    if (lower == L".sfv")
        return HashListGrammar::Sfv;
    if (ChecksumLists::IsHashdeepHeader(probe))
        return HashListGrammar::Hashdeep;
    if (ChecksumLists::IsTagLine(probe))
        return HashListGrammar::Tag;
    if (ChecksumLists::IsSumLine(probe) || lower == L".md5" || lower == L".sha1")
        return HashListGrammar::Sum;
    // rhash and cksfv start an SFV list with comment lines
    if ((lower == L".txt" || lower == L".crc") && !probe.empty() && probe[0] == ';')
        return HashListGrammar::Sfv;
    bool quoted = false;
    for (char c : probe) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ' ' && !quoted)
            return HashListGrammar::Text;
    }
    if (probe.find('\t') != std::string::npos)
        return HashListGrammar::Tsv;
    if (probe.find(',') != std::string::npos)
        return HashListGrammar::Csv;
    return HashListGrammar::None;
}

HashListGrammar HashListParser::Probe(const std::wstring& extension, const std::string& head, bool complete)
{
    if (!IsListExtension(extension))
        return HashListGrammar::None;
    std::vector<std::string> lines = SplitLines(Decode(head, complete).Bytes);
    if (!complete && !lines.empty())
        lines.pop_back();
    try {
        return ChooseGrammar(extension, FirstMeaningfulLine(lines));
    } catch (const std::exception&) {
        return HashListGrammar::None;
    }
}

HashListImport HashListParser::ParseFile(const std::wstring& extension, const std::string& bytes,
    const HashKindFlags& enabled, const TextCodec::ToWideFunction& ansiToWide)
{
    const DecodedList decoded = Decode(bytes, true);
    TextCodec::ToWideFunction toWide = ansiToWide;
    if (decoded.Encoding != HashListEncoding::Ansi)
        toWide = &UnicodeText::Utf8ToWide;
    HashListImport result = Parse(extension, SplitLines(decoded.Bytes), enabled, toWide);
    result.Encoding = decoded.Encoding;
    return result;
}

std::vector<std::string> HashListParser::SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r' && c != '\x1a')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

HashListImport HashListParser::Parse(const std::wstring& extension, const std::vector<std::string>& lines,
    const HashKindFlags& enabled, const TextCodec::ToWideFunction& toWide)
{
    HashListImport result;
    bool read = false;
    try {
        result.Grammar = ChooseGrammar(extension, FirstMeaningfulLine(lines));
        read = ReadList(result, lines, enabled, toWide);
    } catch (const std::exception&) {
        // the tokenizer, the number test (a regular expression) and the conversion may throw: such a file is no list
        read = false;
    }
    result.Accepted = read && AnyValue(result.Entries);
    if (!result.Accepted) {
        result.Entries.clear();
        result.SwitchOn = HashKindFlags();
    }
    return result;
}
