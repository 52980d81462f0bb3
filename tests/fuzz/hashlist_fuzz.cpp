// Feeds arbitrary bytes to the hash list import, which decides encoding and grammar. The first byte chooses the
// extension (its low three bits) and the enabled kinds (the next three); the rest is the file. Accepted lists must
// hold well-formed entries, the list output must cope with whatever names they bring in every layout and encoding,
// and an md5sum list written as UTF-8 must read back to the same names.
#include "app/lists/HashListParser.h"
#include "app/lists/UnicodeText.h"
#include "app/tools/ListOutput.h"
#include "tests/portable/PortableTesting.h"

#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// "-", or digits with commas anywhere (the text form keeps the size as the list wrote it)
bool IsSizeText(const std::wstring& text)
{
    if (text == L"-")
        return true;
    bool digit = false;
    for (wchar_t c : text) {
        if (c != L',' && (c < L'0' || c > L'9'))
            return false;
        digit = digit || c != L',';
    }
    return digit;
}

void CheckEntries(const HashListImport& list)
{
    Require(list.Accepted == !list.Entries.empty());
    bool anyValue = false;
    for (const HashListEntry& entry : list.Entries) {
        Require(!entry.Name.empty());
        Require(IsSizeText(entry.SizeText));
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            const std::wstring& hash = entry.HashTexts[kind];
            Require(hash.empty() || HashText::Matches(kind, hash));
            anyValue = anyValue || !hash.empty();
            for (wchar_t c : hash)
                Require(c < L'a' || c > L'f');
        }
    }
    Require(anyValue == list.Accepted);
    if (list.Grammar == HashListGrammar::Sfv || list.Grammar == HashListGrammar::Text)
        Require(list.SwitchOn == HashKindFlags());
}

// the name an md5sum list gives back: "/" between folders, and what UTF-8 cannot hold replaced
std::wstring SumName(const std::wstring& name)
{
    std::wstring expected = UnicodeText::Utf8ToWide(UnicodeText::WideToUtf8(name));
    for (wchar_t& c : expected) {
        if (c == L'\\')
            c = L'/';
    }
    return expected;
}

void ReadBackMd5sum(const std::vector<ListOutputRow>& rows, const ListOutputText& text, ListEncoding encoding)
{
    HashListImport back = HashListParser::ParseFile(L".md5", ListOutput::Encode(text, encoding),
        HashKindFlags{{false, true, false}}, testing_support::FakeToWide);
    size_t next = 0;
    for (const ListOutputRow& row : rows) {
        if (row.HashCells[HashKind::Md5].empty())
            continue;
        Require(next < back.Entries.size());
        Require(back.Entries[next].Name == SumName(row.Path));
        Require(back.Entries[next].HashTexts[HashKind::Md5] == row.HashCells[HashKind::Md5]);
        ++next;
    }
    Require(next == back.Entries.size());
}

void WriteBack(const HashListImport& list, const HashKindFlags& enabled)
{
    std::vector<ListOutputRow> rows;
    for (const HashListEntry& entry : list.Entries) {
        ListOutputRow row;
        row.Path = entry.Name;
        row.ImportedSize = entry.SizeText;
        row.HashCells = entry.HashTexts;
        row.SizeCell = entry.SizeText;
        row.Mark = PairMark::Unknown;
        rows.push_back(row);
    }
    ListOutputOptions options;
    options.KindEnabled = enabled;
    for (ListLayout layout : {ListLayout::Text, ListLayout::Csv, ListLayout::Tsv, ListLayout::Sfv}) {
        options.Layout = layout;
        ListOutputText text = ListOutput::Build(rows, options, -1, testing_support::FakeCodec());
        Require(text.Rows == static_cast<int>(rows.size()));
        for (ListEncoding encoding : {ListEncoding::Ansi, ListEncoding::Utf8Bom, ListEncoding::Utf8})
            ListOutput::Encode(text, encoding);
    }
    options.Layout = ListLayout::Md5sum;
    options.KindEnabled = {{false, true, false}};
    ListOutputText text = ListOutput::Build(rows, options, -1, testing_support::FakeCodec());
    ReadBackMd5sum(rows, text, ListEncoding::Utf8Bom);
    ReadBackMd5sum(rows, text, ListEncoding::Utf8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const wchar_t* const extensions[] = {L".sfv", L".txt", L".csv", L".CRC", L".md5", L".SHA1", L".tsv", L".Txt"};
    std::wstring extension = extensions[data[0] & 7];
    HashKindFlags enabled = {{(data[0] & 8) != 0, (data[0] & 16) != 0, (data[0] & 32) != 0}};
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    HashListImport list = HashListParser::ParseFile(extension, bytes, enabled, testing_support::FakeToWide);
    // the probe of a head never rules out a list that the whole file is
    if (list.Accepted)
        Require(HashListParser::Probe(extension, bytes, true) != HashListGrammar::None);
    CheckEntries(list);
    WriteBack(list, enabled);
    return 0;
}
