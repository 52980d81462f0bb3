#include "app/tools/ListOutput.h"

#include "app/lists/HashListParser.h"
#include "tests/portable/PortableTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace testing_support;

namespace {

const std::wstring Crc = L"1A2B3C4D";
const std::wstring Md5 = L"D41D8CD98F00B204E9800998ECF8427E";
const std::wstring Sha1 = L"DA39A3EE5E6B4B0D3255BFEF95601890AFD80709";

ListOutputRow Row(const std::wstring& path, const std::wstring& relative, const std::wstring& size,
    int mark = PairMark::Ok)
{
    ListOutputRow row;
    row.Path = path;
    row.RelativeKey = LowerAscii(relative);
    row.HashCells = {{Crc, Md5, Sha1}};
    row.SizeCell = size;
    row.Mark = mark;
    return row;
}

ListOutputRow ImportedRow(const std::wstring& name)
{
    ListOutputRow row = Row(name, L"", L"-", PairMark::Unknown);
    row.RelativeKey.clear();
    row.ImportedSize = L"-";
    return row;
}

ListOutputOptions Options(ListLayout layout, const HashKindFlags& kinds)
{
    ListOutputOptions options;
    options.Layout = layout;
    options.KindEnabled = kinds;
    return options;
}

std::string Build(const std::vector<ListOutputRow>& rows, const ListOutputOptions& options, int limit = -1)
{
    ListOutputText text = ListOutput::Build(rows, options, limit, FakeCodec());
    EXPECT_EQ(Widen(text.Ansi), text.Text);
    return text.Ansi;
}

std::string Narrow(const std::wstring& ascii)
{
    return std::string(ascii.begin(), ascii.end());
}

} // namespace

TEST(ListOutput, Text_titleRuleRowsAndFooter)
{
    std::vector<ListOutputRow> rows = {Row(L"C:\\d\\a.bin", L"a.bin", L"1,234"),
        Row(L"C:\\d\\abcdefghi", L"abcdefghi", L"7")};
    std::string md5 = Narrow(Md5);
    std::string expected =
        "Name       CRC32     MD5                               Bytes\r\n"
        "---------  --------  --------------------------------  -----\r\n"
        "a.bin      1A2B3C4D  " + md5 + "  1,234\r\n"
        "abcdefghi  1A2B3C4D  " + md5 + "      7\r\n"
        + std::string(60, '-') + "\r\n"
        "Total  2 Files  1,241 Bytes\r\n";
    EXPECT_EQ(expected, Build(rows, Options(ListLayout::Text, HashKindFlags{{true, true, false}})));
}

TEST(ListOutput, Text_shortNamesCutTheTitle)
{
    ListOutputOptions options = Options(ListLayout::Text, HashKindFlags{{false, false, false}});
    options.Footer = false;
    EXPECT_EQ("NamBytes\r\n-  -\r\na  5\r\n", Build({Row(L"C:\\a", L"a", L"5")}, options));
}

TEST(ListOutput, Text_footerCountsEntriesWithoutSize)
{
    std::vector<ListOutputRow> rows = {Row(L"C:\\a", L"a", L"4,294,967,296"), ImportedRow(L"list.bin"),
        Row(L"C:\\b", L"b", L""), Row(L"C:\\c", L"c", L"4,294,967,296")};
    ListOutputOptions options = Options(ListLayout::Text, HashKindFlags{{false, false, false}});
    options.Header = false;
    std::string text = Build(rows, options);
    EXPECT_NE(std::string::npos, text.find("Total  4 Files  8,589,934,592 Bytes\r\n")) << text;
}

TEST(ListOutput, Csv_quotesCellsWithTheSeparator)
{
    ListOutputOptions options = Options(ListLayout::Csv, HashKindFlags{{true, false, false}});
    EXPECT_EQ("Name,CRC32,Bytes\r\n\"a,b.bin\",1A2B3C4D,1234\r\n",
        Build({Row(L"C:\\x\\a,b.bin", L"a,b.bin", L"1,234")}, options));

    options.Layout = ListLayout::Tsv;
    options.Header = false;
    EXPECT_EQ("a,b.bin\t1A2B3C4D\t1234\r\n\"t\tb\"\t1A2B3C4D\t-\r\n",
        Build({Row(L"C:\\x\\a,b.bin", L"a,b.bin", L"1,234"), Row(L"C:\\t\tb", L"t\tb", L"-")}, options));
}

TEST(ListOutput, Sfv_nameAndFirstHashColumnOnly)
{
    std::vector<ListOutputRow> rows = {Row(L"C:\\a.bin", L"a.bin", L"1"), Row(L"C:\\long.bin", L"long.bin", L"22")};
    ListOutputOptions options = Options(ListLayout::Sfv, HashKindFlags{{true, true, true}});
    std::string crc = Narrow(Crc);
    EXPECT_EQ("a.bin    " + crc + "\r\nlong.bin " + crc + "\r\n", Build(rows, options));

    options.HashChecked = {{false, true, true}};
    EXPECT_EQ("a.bin    " + Narrow(Md5) + "\r\nlong.bin " + Narrow(Md5) + "\r\n", Build(rows, options));

    options.HashChecked = {{false, false, false}};
    EXPECT_EQ("a.bin\r\nlong.bin\r\n", Build(rows, options));
}

TEST(ListOutput, Build_rowsByMarkAndLimit)
{
    std::vector<ListOutputRow> rows = {Row(L"C:\\ok", L"ok", L"1", PairMark::Ok), Row(L"", L"", L"", PairMark::Ng),
        Row(L"C:\\ng", L"ng", L"1", PairMark::Ng), Row(L"C:\\none", L"none", L"1", PairMark::None),
        Row(L"C:\\left-long-name", L"left-long-name", L"1", PairMark::Left)};
    ListOutputOptions options = Options(ListLayout::Sfv, HashKindFlags{{false, false, false}});
    options.Marks = {{true, false, true, true, true}};
    EXPECT_EQ("ok\r\nleft-long-name\r\n", Build(rows, options));
    // the limit counts written rows, and widths are measured on them only
    options.Marks = {{true, true, true, true, true}};
    options.HashChecked = {{true, false, false}};
    options.KindEnabled = {{true, false, false}};
    EXPECT_EQ("ok " + Narrow(Crc) + "\r\nng " + Narrow(Crc) + "\r\n", Build(rows, options, 2));
    EXPECT_EQ("", Build(rows, options, 0));
    options.Marks = {{false, false, false, false, false}};
    options.Layout = ListLayout::Text;
    EXPECT_EQ("", Build(rows, options));
}

TEST(ListOutput, Build_namesFullRelativeOrFileName)
{
    std::vector<ListOutputRow> rows = {Row(L"C:\\Data\\Sub\\File.TXT", L"sub\\file.txt", L"1"),
        ImportedRow(L"list\\Entry.bin")};
    ListOutputOptions options = Options(ListLayout::Csv, HashKindFlags{{false, false, false}});
    options.Header = false;
    options.Names = ListNames::RelativePath;
    EXPECT_EQ("Sub\\File.TXT,1\r\nlist\\Entry.bin,-\r\n", Build(rows, options));
    options.Names = ListNames::FileName;
    EXPECT_EQ("File.TXT,1\r\nlist\\Entry.bin,-\r\n", Build(rows, options));
    options.Names = ListNames::FullPath;
    EXPECT_EQ("C:\\Data\\Sub\\File.TXT,1\r\nlist\\Entry.bin,-\r\n", Build(rows, options));
}

TEST(ListOutput, Build_widthsInAnsiBytesAndUnrepresentableNames)
{
    // kana take two bytes each, U+0100 and U+4E00 have no equivalent in the test code page
    std::vector<ListOutputRow> rows = {Row(L"C:\\\u3042\u305C", L"\u3042\u305C", L"1"),
        Row(L"C:\\a\u0100", L"a\u0100", L"1"), Row(L"C:\\abcdef", L"abcdef", L"1")};
    for (int i = 0; i < 6; ++i)
        rows.push_back(Row(L"C:\\\u4E00" + std::to_wstring(i), L"\u4E00" + std::to_wstring(i), L"2"));
    ListOutputOptions options = Options(ListLayout::Sfv, HashKindFlags{{false, false, false}});
    options.HashChecked = {{true, false, false}};
    options.KindEnabled = {{true, false, false}};
    ListOutputText text = ListOutput::Build(rows, options, 3, FakeCodec());
    std::string crc = Narrow(Crc);
    EXPECT_EQ("\x82\x42\x82\x5C   " + crc + "\r\na?     " + crc + "\r\nabcdef " + crc + "\r\n", text.Ansi);
    EXPECT_EQ(L"\u3042\u305C   " + Crc + L"\r\na\u0100     " + Crc + L"\r\nabcdef " + Crc + L"\r\n", text.Text);
    EXPECT_EQ(1, text.Unrepresentable);
    ASSERT_EQ(1u, text.UnrepresentableNames.size());
    EXPECT_EQ(L"a\u0100", text.UnrepresentableNames[0]);

    ListOutputText all = ListOutput::Build(rows, options, -1, FakeCodec());
    EXPECT_EQ(9, all.Rows);
    EXPECT_EQ(7, all.Unrepresentable);
    EXPECT_EQ(ListOutput::MaxReportedNames, all.UnrepresentableNames.size());
}

TEST(ListOutput, FilterIndexFor_layouts)
{
    EXPECT_EQ(1, ListOutput::FilterIndexFor(ListLayout::Text, 4));
    EXPECT_EQ(2, ListOutput::FilterIndexFor(ListLayout::Text, 2));
    EXPECT_EQ(3, ListOutput::FilterIndexFor(ListLayout::Tsv, 1));
    EXPECT_EQ(3, ListOutput::FilterIndexFor(ListLayout::Csv, 2));
    EXPECT_EQ(4, ListOutput::FilterIndexFor(ListLayout::Sfv, 1));
    EXPECT_EQ(L"csv", ListOutput::DefaultExtension(ListOutput::FilterIndexFor(ListLayout::Tsv, 1)));
    EXPECT_EQ(L"crc", ListOutput::DefaultExtension(2));
    EXPECT_EQ(L"md5", ListOutput::DefaultExtension(ListOutput::FilterIndexFor(ListLayout::Md5sum, 1)));
    EXPECT_EQ(L"sha1", ListOutput::DefaultExtension(ListOutput::FilterIndexFor(ListLayout::Sha1sum, 1)));
    EXPECT_EQ(L"txt", ListOutput::DefaultExtension(7));
}

TEST(ListOutput, Md5sum_valueStarAndSlashesEscapedLineEnds)
{
    std::vector<ListOutputRow> rows = {Row(L"C:\\d\\Sub\\a b.bin", L"sub\\a b.bin", L"1"),
        ImportedRow(L"x\\new\nline"), Row(L"C:\\d\\unchecked.bin", L"unchecked.bin", L"1")};
    rows[2].HashCells[HashKind::Md5] = L"";
    ListOutputOptions options = Options(ListLayout::Md5sum, HashKindFlags{{true, true, true}});
    // no title, no footer; a row without the value has no line; a line end in a name is escaped as md5sum does
    EXPECT_EQ(Narrow(Md5) + " *Sub/a b.bin\r\n\\" + Narrow(Md5) + " *x/new\\nline\r\n", Build(rows, options));
    options.Layout = ListLayout::Sha1sum;
    options.Names = ListNames::FullPath;
    EXPECT_EQ(Narrow(Sha1) + " *C:/d/Sub/a b.bin\r\n", Build({rows[0]}, options));
    // a kind that is switched off writes nothing
    options.KindEnabled = {{true, true, false}};
    EXPECT_EQ("", Build(rows, options));
}

TEST(ListOutput, Encode_ansiOrUtf8WithAndWithoutMark)
{
    ListOutputOptions options = Options(ListLayout::Sfv, HashKindFlags{{true, false, false}});
    ListOutputText text = ListOutput::Build({Row(L"C:\\\u3042\u4E00", L"\u3042\u4E00", L"1")}, options, -1, FakeCodec());
    EXPECT_EQ("\x82\x42? " + Narrow(Crc) + "\r\n", ListOutput::Encode(text, ListEncoding::Ansi));
    const std::string utf8 = "\xE3\x81\x82\xE4\xB8\x80 " + Narrow(Crc) + "\r\n";
    EXPECT_EQ(utf8, ListOutput::Encode(text, ListEncoding::Utf8));
    EXPECT_EQ("\xEF\xBB\xBF" + utf8, ListOutput::Encode(text, ListEncoding::Utf8Bom));
}

// ---- what the output writes, the import reads back ----

namespace {

std::wstring RandomHex(std::mt19937& random, size_t digits)
{
    static const wchar_t hex[] = L"0123456789ABCDEF";
    std::wstring text;
    for (size_t i = 0; i < digits; ++i)
        text += hex[random() % 16];
    return text;
}

std::vector<ListOutputRow> RoundTripRows()
{
    std::mt19937 random(7);
    std::vector<ListOutputRow> rows = {
        Row(L"C:\\Data\\a.bin", L"a.bin", L"1"),
        Row(L"C:\\Data\\Sub\\My File.bin", L"sub\\my file.bin", L"5,000,000,000"),
        Row(L"C:\\Data\\x,y.bin", L"x,y.bin", L"1,234"),
        ImportedRow(L"list\\imported one.bin"),
        Row(L"C:\\Data\\\u3042\u305C.txt", L"\u3042\u305C.txt", L"0"),
        Row(L"C:\\Data\\big.iso", L"big.iso", L"18,446,744,073,709,551,615"),
    };
    for (ListOutputRow& row : rows) {
        for (int kind = 0; kind < HashKind::Count; ++kind)
            row.HashCells[kind] = RandomHex(random, HashText::DigitCount(kind));
    }
    return rows;
}

std::wstring ExtensionOf(ListLayout layout)
{
    switch (layout) {
    case ListLayout::Csv:
        return L".csv";
    case ListLayout::Tsv:
        return L".CSV";
    case ListLayout::Sfv:
        return L".sfv";
    case ListLayout::Md5sum:
        return L".md5";
    case ListLayout::Sha1sum:
        return L".sha1";
    default:
        return L".txt";
    }
}

// the kinds a layout writes when the given ones are on
HashKindFlags WrittenKinds(ListLayout layout, const HashKindFlags& kinds)
{
    HashKindFlags written = kinds;
    const int sum = layout == ListLayout::Md5sum ? HashKind::Md5 : layout == ListLayout::Sha1sum ? HashKind::Sha1 : -1;
    for (int kind = 0; kind < HashKind::Count; ++kind) {
        if (sum >= 0)
            written[kind] = kind == sum && kinds[kind];
    }
    if (layout == ListLayout::Sfv) {
        // SFV writes the first column's value only
        bool first = true;
        for (bool& kind : written) {
            kind = kind && first;
            first = first && !kind;
        }
    }
    // csv and tsv test the third field as MD5: after CRC32, a SHA-1 there is not recognised
    const bool separated = layout == ListLayout::Csv || layout == ListLayout::Tsv;
    if (separated && kinds[HashKind::Crc32] && !kinds[HashKind::Md5])
        written[HashKind::Sha1] = false;
    return written;
}

std::wstring ExpectedName(const ListOutputRow& row, ListLayout layout)
{
    std::wstring name =
        row.ImportedSize.empty() ? row.Path.substr(row.Path.size() - row.RelativeKey.size()) : row.Path;
    if (layout == ListLayout::Md5sum || layout == ListLayout::Sha1sum)
        std::replace(name.begin(), name.end(), L'\\', L'/');
    return name;
}

void ExpectReadBack(ListLayout layout, ListEncoding encoding, const HashKindFlags& kinds, bool header, bool footer)
{
    std::string where = "layout " + std::to_string(static_cast<int>(layout)) + " encoding "
        + std::to_string(static_cast<int>(encoding)) + " kinds " + std::to_string(kinds[0]) + std::to_string(kinds[1])
        + std::to_string(kinds[2]) + " header " + std::to_string(header);
    std::vector<ListOutputRow> rows = RoundTripRows();
    ListOutputOptions options = Options(layout, kinds);
    options.Header = header;
    options.Footer = footer;
    ListOutputText text = ListOutput::Build(rows, options, -1, FakeCodec());
    ASSERT_EQ(0, text.Unrepresentable);

    const std::string bytes = ListOutput::Encode(text, encoding);
    HashListImport list = HashListParser::ParseFile(ExtensionOf(layout), bytes, kinds, FakeToWide);
    const HashKindFlags written = WrittenKinds(layout, kinds);
    if (written == HashKindFlags{{false, false, false}}) {
        // names and sizes alone are no hash list
        EXPECT_FALSE(list.Accepted) << where;
        return;
    }
    ASSERT_TRUE(list.Accepted) << where << "\n" << bytes;
    ASSERT_EQ(rows.size(), list.Entries.size()) << where;
    const bool sizes = layout == ListLayout::Text || layout == ListLayout::Csv || layout == ListLayout::Tsv;
    for (size_t i = 0; i < rows.size(); ++i) {
        const HashListEntry& entry = list.Entries[i];
        const ListOutputRow& row = rows[i];
        EXPECT_EQ(ExpectedName(row, layout), entry.Name) << where;
        for (int kind = 0; kind < HashKind::Count; ++kind)
            EXPECT_EQ(written[kind] ? row.HashCells[kind] : std::wstring(), entry.HashTexts[kind]) << where << kind;
        EXPECT_EQ(sizes ? row.SizeCell : std::wstring(L"-"), entry.SizeText) << where;
    }
}

} // namespace

TEST(ListOutput, RoundTrip_allLayoutsEncodingsAndKinds)
{
    for (ListLayout layout : {ListLayout::Text, ListLayout::Csv, ListLayout::Tsv, ListLayout::Sfv, ListLayout::Md5sum,
             ListLayout::Sha1sum}) {
        for (ListEncoding encoding : {ListEncoding::Ansi, ListEncoding::Utf8Bom, ListEncoding::Utf8}) {
            for (int mask = 0; mask < 8; ++mask) {
                HashKindFlags kinds = {{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0}};
                for (int frame = 0; frame < 4; ++frame) {
                    ExpectReadBack(layout, encoding, kinds, (frame & 1) != 0, (frame & 2) != 0);
                    if (HasFatalFailure())
                        return;
                }
            }
        }
    }
}

TEST(ListOutput, RoundTrip_onlyEntriesWithoutSize)
{
    std::vector<ListOutputRow> rows = {ImportedRow(L"a.bin"), ImportedRow(L"b.bin")};
    ListOutputOptions options = Options(ListLayout::Text, HashKindFlags{{true, false, false}});
    ListOutputText text = ListOutput::Build(rows, options, -1, FakeCodec());
    HashListImport list = HashListParser::Parse(L".txt", SplitLines(text.Ansi), options.KindEnabled, FakeToWide);
    ASSERT_TRUE(list.Accepted) << text.Ansi;
    ASSERT_EQ(2u, list.Entries.size());
    EXPECT_EQ(L"-", list.Entries[1].SizeText);
    EXPECT_EQ(Crc, list.Entries[1].HashTexts[HashKind::Crc32]);
}

#ifdef _WIN32
#include "kit/core/Path.h"

TEST(ListOutput, Build_codePage932)
{
    // Japanese names are two bytes a character in code page 932; "é" has no equivalent there (a best-fit "e" would
    // pass unnoticed without the round trip check)
    std::vector<ListOutputRow> rows = {Row(L"C:\\\u8868\u793A.bin", L"\u8868\u793A.bin", L"1"),
        Row(L"C:\\caf\u00E9.txt", L"caf\u00E9.txt", L"2")};
    ListOutputOptions options = Options(ListLayout::Sfv, HashKindFlags{{true, false, false}});
    TextCodec codec = TextCodec::WithRoundTripCheck(kit::ToWide, kit::ToNarrow);
    ListOutputText text = ListOutput::Build(rows, options, -1, codec);
    EXPECT_EQ(std::string("\x95\x5C\x8E\xA6.bin ") + Narrow(Crc) + "\r\n", text.Ansi.substr(0, 19));
    EXPECT_EQ(1, text.Unrepresentable);
    ASSERT_EQ(1u, text.UnrepresentableNames.size());
    EXPECT_EQ(L"caf\u00E9.txt", text.UnrepresentableNames[0]);
    // the clipboard text keeps the name as the list shows it
    EXPECT_NE(std::wstring::npos, text.Text.find(L"caf\u00E9.txt"));

    // read back with the same code page: the trail byte 0x5C of the first name is no path separator
    HashListImport list = HashListParser::Parse(L".sfv", SplitLines(text.Ansi), options.KindEnabled, kit::ToWide);
    ASSERT_EQ(2u, list.Entries.size());
    EXPECT_EQ(L"\u8868\u793A.bin", list.Entries[0].Name);
}
#endif

#ifndef _WIN32
#include "app/lists/UnicodeText.h"
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"

#include <cstdlib>

// what the md5sum and sha1sum layouts write for relative paths, the tools themselves check
TEST(ListOutput, Md5sumAndSha1sum_passTheToolsCheck)
{
    if (std::system("command -v md5sum >/dev/null && command -v sha1sum >/dev/null") != 0)
        GTEST_SKIP() << "md5sum or sha1sum not installed";
    TempFolder folder;
    const std::wstring names[] = {L"a.bin", L"empty file.bin", L"\u30C7\u30FC\u30BF\\\u8AAD\u307F \u8FBC\u307F.bin",
        L"dir1\\readme.txt", L"dir2\\readme.txt"};
    std::vector<ListOutputRow> rows;
    for (const std::wstring& name : names) {
        std::string path = UnicodeText::WideToUtf8(name);
        std::replace(path.begin(), path.end(), '\\', '/');
        std::filesystem::create_directories((folder.Path / path).parent_path());
        const std::string content = "content of " + path;
        WriteFileBytes(folder.Path / path, content);
        ListOutputRow row = Row(L"C:\\base\\" + name, name, L"1");
        kit::Md5 md5;
        md5.Update(content.data(), static_cast<uint32_t>(content.size()));
        row.HashCells[HashKind::Md5] = md5.Final();
        kit::Sha1 sha1;
        sha1.Update(content.data(), static_cast<uint32_t>(content.size()));
        row.HashCells[HashKind::Sha1] = sha1.Final();
        rows.push_back(row);
    }
    const struct {
        ListLayout Layout;
        const char* Tool;
    } layouts[] = {{ListLayout::Md5sum, "md5sum"}, {ListLayout::Sha1sum, "sha1sum"}};
    for (const auto& layout : layouts) {
        ListOutputText text =
            ListOutput::Build(rows, Options(layout.Layout, HashKindFlags{{true, true, true}}), -1, FakeCodec());
        ASSERT_EQ(5, text.Rows);
        WriteFileBytes(folder.Path / "list", ListOutput::Encode(text, ListEncoding::Utf8));
        const std::string check = "cd '" + folder.Path.string() + "' && " + layout.Tool + " --strict -c list >out 2>&1";
        EXPECT_EQ(0, std::system(check.c_str())) << ReadFileBytes(folder.Path / "out");
    }
}
#endif
