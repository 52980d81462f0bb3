// Feeds arbitrary bytes to the three hash list grammars. The first byte chooses the extension (its low two bits) and
// the enabled kinds (the next three); the rest is the file. Accepted lists must hold well-formed entries, and the
// list output must cope with whatever names they bring.
#include "app/lists/HashListParser.h"
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
    for (const HashListEntry& entry : list.Entries) {
        Require(!entry.Name.empty());
        Require(IsSizeText(entry.SizeText));
        for (int kind = 0; kind < HashKind::Count; ++kind) {
            const std::wstring& hash = entry.HashTexts[kind];
            Require(hash.empty() || HashText::Matches(kind, hash));
            for (wchar_t c : hash)
                Require(c < L'a' || c > L'f');
        }
    }
    if (list.Grammar != HashListGrammar::Csv && list.Grammar != HashListGrammar::Tsv)
        Require(list.SwitchOn == HashKindFlags());
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
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const wchar_t* const extensions[] = {L".sfv", L".txt", L".csv", L".CRC"};
    std::wstring extension = extensions[data[0] & 3];
    HashKindFlags enabled = {{(data[0] & 4) != 0, (data[0] & 8) != 0, (data[0] & 16) != 0}};
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    HashListImport list =
        HashListParser::Parse(extension, testing_support::SplitLines(bytes), enabled, testing_support::FakeToWide);
    CheckEntries(list);
    WriteBack(list, enabled);
    return 0;
}
