#include "app/lists/HashListParser.h"

#include "tests/portable/PortableTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testing_support;

namespace {

const HashKindFlags AllKinds = {{true, true, true}};
const HashKindFlags CrcOnly = {{true, false, false}};
const HashKindFlags Md5Only = {{false, true, false}};

HashListImport Parse(const std::wstring& extension, const std::string& bytes, const HashKindFlags& enabled = AllKinds)
{
    return HashListParser::Parse(extension, SplitLines(bytes), enabled, FakeToWide);
}

const std::string Crc = "1A2B3C4D";
const std::string Md5 = "D41D8CD98F00B204E9800998ECF8427E";
const std::string Sha1 = "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709";

std::wstring W(const std::string& ascii)
{
    return Widen(ascii);
}

} // namespace

TEST(HashListParser, ChooseGrammar_extensionThenProbeLine)
{
    EXPECT_EQ(HashListGrammar::Sfv, HashListParser::ChooseGrammar(L".SFV", "a,b"));
    EXPECT_EQ(HashListGrammar::Text, HashListParser::ChooseGrammar(L".csv", "a b,c"));
    EXPECT_EQ(HashListGrammar::Csv, HashListParser::ChooseGrammar(L".txt", "a,b"));
    EXPECT_EQ(HashListGrammar::Csv, HashListParser::ChooseGrammar(L".Crc", "\"a b\",c"));
    EXPECT_EQ(HashListGrammar::Tsv, HashListParser::ChooseGrammar(L".csv", "a\tb,c"));
    EXPECT_EQ(HashListGrammar::None, HashListParser::ChooseGrammar(L".txt", "abc"));
    EXPECT_EQ(HashListGrammar::None, HashListParser::ChooseGrammar(L".md5", "a b"));
    EXPECT_EQ(HashListGrammar::None, HashListParser::ChooseGrammar(L"", "a b"));
    EXPECT_FALSE(Parse(L".txt", "").Accepted);
}

TEST(HashListParser, Sfv_commentsBlanksAndGreedyNames)
{
    HashListImport list = Parse(L".SFV",
        "; made by hand\r\n"
        "   ; indented comment 1A2B3C4D\r\n"
        "\r\n"
        "file name.bin  1A2B3C4D\r\n"
        "  lead.bin\t1a2b3c4d \t FFFFFFFF\r\n"
        "no-hash-here\r\n"
        "md5.bin d41d8cd98f00b204e9800998ecf8427e\r\n"
        "last.bin 00000000");
    ASSERT_TRUE(list.Accepted);
    EXPECT_EQ(HashListGrammar::Sfv, list.Grammar);
    ASSERT_EQ(4u, list.Entries.size());
    EXPECT_EQ(L"file name.bin", list.Entries[0].Name);
    EXPECT_EQ(W(Crc), list.Entries[0].HashTexts[HashKind::Crc32]);
    EXPECT_EQ(L"-", list.Entries[0].SizeText);
    // the value is the last token; blanks in front of the name are dropped, the ones behind it trimmed
    EXPECT_EQ(L"lead.bin\t1a2b3c4d", list.Entries[1].Name);
    EXPECT_EQ(L"FFFFFFFF", list.Entries[1].HashTexts[HashKind::Crc32]);
    EXPECT_EQ(W(Md5), list.Entries[2].HashTexts[HashKind::Md5]);
    EXPECT_TRUE(list.Entries[2].HashTexts[HashKind::Crc32].empty());
    EXPECT_EQ(L"last.bin", list.Entries[3].Name);
}

TEST(HashListParser, Sfv_onlyKindsThatAreOn)
{
    std::string list = "a.bin 1A2B3C4D\nb.bin " + Md5 + "\n";
    HashListImport crc = Parse(L".sfv", list, CrcOnly);
    ASSERT_EQ(1u, crc.Entries.size());
    EXPECT_EQ(L"a.bin", crc.Entries[0].Name);

    HashListImport md5 = Parse(L".sfv", list, Md5Only);
    ASSERT_EQ(1u, md5.Entries.size());
    EXPECT_EQ(L"b.bin", md5.Entries[0].Name);

    EXPECT_FALSE(Parse(L".sfv", list, HashKindFlags{{false, false, true}}).Accepted);
    // a value without a name, a line of blanks, a line ending in a blank
    EXPECT_FALSE(Parse(L".sfv", "   1A2B3C4D\n" + std::string(100000, ' ') + "\nc.bin 1A2B3C4D \n", CrcOnly).Accepted);
    EXPECT_FALSE(Parse(L".sfv", "; nothing but comments\n").Accepted);
    EXPECT_TRUE(Parse(L".sfv", "; nothing but comments\n").Entries.empty());
}

TEST(HashListParser, Text_titleRuleEntriesAndFooter)
{
    std::string list =
        "Name       CRC32     MD5                               Bytes\r\n"
        "---------  --------  --------------------------------  -----\r\n"
        "a.bin      1A2B3C4D  " + Md5 + "      1\r\n"
        "my file.b  00000000  " + Md5 + "  1,234\r\n"
        "  lead     FFFFFFFF  " + Md5 + "     12\r\n"
        "------------------------------------------------------------\r\n"
        "Total  3 Files  1,247 Bytes\r\n";
    HashListImport text = Parse(L".txt", list, CrcOnly);
    ASSERT_TRUE(text.Accepted);
    EXPECT_EQ(HashListGrammar::Text, text.Grammar);
    ASSERT_EQ(3u, text.Entries.size());
    EXPECT_EQ(L"a.bin", text.Entries[0].Name);
    EXPECT_EQ(L"1A2B3C4D", text.Entries[0].HashTexts[HashKind::Crc32]);
    EXPECT_EQ(W(Md5), text.Entries[0].HashTexts[HashKind::Md5]);
    EXPECT_EQ(L"my file.b", text.Entries[1].Name);
    EXPECT_EQ(L"1,234", text.Entries[1].SizeText);
    EXPECT_EQ(L"  lead", text.Entries[2].Name);
    // the text form does not switch kinds on
    EXPECT_EQ((HashKindFlags{{false, false, false}}), text.SwitchOn);
}

TEST(HashListParser, Text_layoutLearnedFromFirstDataLine)
{
    HashListImport md5Only = Parse(L".txt", "word " + Md5 + " 5\nother name " + Md5 + " 6\n");
    ASSERT_TRUE(md5Only.Accepted);
    EXPECT_EQ(L"word", md5Only.Entries[0].Name);
    EXPECT_EQ(L"other name", md5Only.Entries[1].Name);
    EXPECT_TRUE(md5Only.Entries[1].HashTexts[HashKind::Crc32].empty());

    // an eight-digit word in front of a CRC32 stays part of the name
    HashListImport crc = Parse(L".crc", "x 20240101 1A2B3C4D 7\n");
    ASSERT_TRUE(crc.Accepted);
    EXPECT_EQ(L"x 20240101", crc.Entries[0].Name);

    HashListImport all = Parse(L".txt", "n " + Crc + " " + Md5 + " " + Sha1 + " 1\n");
    ASSERT_TRUE(all.Accepted);
    EXPECT_EQ(W(Sha1), all.Entries[0].HashTexts[HashKind::Sha1]);

    HashListImport none = Parse(L".txt", "plain name 10\nother 11\n");
    ASSERT_TRUE(none.Accepted);
    EXPECT_EQ(L"plain name", none.Entries[0].Name);
}

TEST(HashListParser, Text_rejections)
{
    const char* const lists[] = {
        "a 1A2B3C4D 1\n\nb 1A2B3C4D 2\n",          // an empty line
        "a 1A2B3C4D 1\nnospace\n",                 // a line without space and without '-'
        "title x\nrule y\na 1A2B3C4D \nb 1A2B3C4D 1\n", // the third non-numeric size (a line ending in a space)
        "a 1A2B3C4D 1\nb 2\n",                     // a later line without the layout's value
        "a 1A2B3C4D 1\nb " "D41D8CD98F00B204E9800998ECF8427E" " 2\n", // the wrong kind
        "   1A2B3C4D 1\n",                         // no name left
    };
    for (const char* list : lists)
        EXPECT_FALSE(Parse(L".txt", list).Accepted) << list;
    // two non-numeric lines pass (title and rule)
    EXPECT_TRUE(Parse(L".txt", "title x\nrule y\na 1A2B3C4D 1\n").Accepted);
}

TEST(HashListParser, Text_entryWithoutSize)
{
    // the list output writes "-" for an imported entry; a rule of single dashes is not an entry
    HashListImport list = Parse(L".txt",
        "Name   CRC32     Bytes\r\n"
        "-----  --------  -\r\n"
        "a.bin  1A2B3C4D  -\r\n"
        "b.bin  1A2B3C4D  -\r\n"
        "-------------------\r\n");
    ASSERT_TRUE(list.Accepted);
    ASSERT_EQ(2u, list.Entries.size());
    EXPECT_EQ(L"-", list.Entries[0].SizeText);
    EXPECT_EQ(L"a.bin", list.Entries[0].Name);
}

TEST(HashListParser, Csv_titleQuotesAndSizes)
{
    HashListImport list = Parse(L".txt", "Name,CRC32,Bytes\r\na.bin,1A2B3C4D,1234\r\n\"x,y.bin\",1a2b3c4d,1234567\r\n",
        Md5Only);
    ASSERT_TRUE(list.Accepted);
    EXPECT_EQ(HashListGrammar::Csv, list.Grammar);
    ASSERT_EQ(2u, list.Entries.size());
    EXPECT_EQ(L"a.bin", list.Entries[0].Name);
    EXPECT_EQ(L"1,234", list.Entries[0].SizeText);
    EXPECT_EQ(L"x,y.bin", list.Entries[1].Name);
    EXPECT_EQ(L"1A2B3C4D", list.Entries[1].HashTexts[HashKind::Crc32]);
    EXPECT_EQ(L"1,234,567", list.Entries[1].SizeText);
    // the list carries CRC32 while only MD5 is on
    EXPECT_EQ((HashKindFlags{{true, false, false}}), list.SwitchOn);
}

TEST(HashListParser, Csv_layouts)
{
    struct Case {
        std::string Line;
        bool Accepted;
        HashKindFlags Kinds;
    };
    const Case cases[] = {
        {"n," + Crc + ",1", true, {{true, false, false}}},
        {"n," + Crc + "," + Md5 + ",1", true, {{true, true, false}}},
        {"n," + Crc + "," + Md5 + "," + Sha1 + ",1", true, {{true, true, true}}},
        // SHA-1 in the third field is tested as MD5 and not recognised
        {"n," + Crc + "," + Sha1 + ",1", true, {{true, false, false}}},
        // a non-hash third field: the SHA-1 in the fourth is then checked against the third
        {"n," + Crc + ",text," + Sha1 + ",1", false, {}},
        {"n," + Crc + "," + Md5 + ",text,1", false, {}},
        {"n,text,1", true, {{false, false, false}}},
        // without CRC32 column the values after the name are taken by their length
        {"n," + Md5 + ",1", true, {{false, true, false}}},
        {"n," + Sha1 + ",1", true, {{false, false, true}}},
        {"n," + Md5 + "," + Sha1 + ",1", true, {{false, true, true}}},
        // an MD5 in the third field is found by position, then checked against the second
        {"n," + Sha1 + "," + Md5 + ",1", false, {}},
        // further fields before the size are ignored
        {"n," + Crc + "," + Md5 + "," + Sha1 + ",ABCDEF,1", true, {{true, true, true}}},
        {",1A2B3C4D,1", false, {}},
    };
    for (const Case& c : cases) {
        HashListImport list = Parse(L".csv", c.Line + "\n", HashKindFlags{{false, false, false}});
        EXPECT_EQ(c.Accepted, list.Accepted) << c.Line;
        if (c.Accepted)
            EXPECT_EQ(c.Kinds, list.SwitchOn) << c.Line;
        else
            EXPECT_EQ((HashKindFlags{{false, false, false}}), list.SwitchOn) << c.Line;
    }
}

TEST(HashListParser, Csv_rejections)
{
    const char* const lists[] = {
        "Name,CRC32,Bytes\nSecond,Title,Line\na.bin,1A2B3C4D,1\n", // a second title line
        "a,b\nsingle\n",                                          // fewer than 2 fields before the layout
        "a.bin,1A2B3C4D,1\nb.bin,1A2B3C4D,5,6\n",                 // another field count
        "a.bin,1A2B3C4D,1\nb.bin,1A2B3C4,2\n",                    // a value that breaks the layout
        "a.bin,1A2B3C4D,1\nb.bin,1A2B3C4D,x\n",                   // a size that is no number
    };
    for (const char* list : lists)
        EXPECT_FALSE(Parse(L".csv", list).Accepted) << list;
    // empty lines are skipped
    EXPECT_TRUE(Parse(L".csv", "a.bin,1A2B3C4D,1\n\nb.bin,1A2B3C4D,2\n").Accepted);
    // a csv list whose first name holds a space is taken for the text form and gives nothing
    EXPECT_FALSE(Parse(L".csv", "my file.bin,1A2B3C4D,1\nb.bin,1A2B3C4D,2\nc,1A2B3C4D,3\n").Accepted);
}

TEST(HashListParser, Tsv_tabsAndQuotes)
{
    HashListImport list = Parse(L".csv", "a,b.bin\t1A2B3C4D\t12\n\"t\tab.bin\"\t1A2B3C4D\t13\nx y.bin\t1A2B3C4D\t-\n");
    ASSERT_TRUE(list.Accepted);
    EXPECT_EQ(HashListGrammar::Tsv, list.Grammar);
    ASSERT_EQ(3u, list.Entries.size());
    EXPECT_EQ(L"a,b.bin", list.Entries[0].Name);
    EXPECT_EQ(L"t\tab.bin", list.Entries[1].Name);
    EXPECT_EQ(L"x y.bin", list.Entries[2].Name);
    EXPECT_EQ(L"-", list.Entries[2].SizeText);
}

TEST(HashListParser, Parse_doubleByteNamesWidened)
{
    // 0x82 0x5C is one double-byte character whose trail byte is a backslash
    std::string name = "\x82\x5C\x82\x41.bin";
    HashListImport list = Parse(L".sfv", name + " 1A2B3C4D\r\n");
    ASSERT_TRUE(list.Accepted);
    EXPECT_EQ(std::wstring(L"\u305C\u3041.bin"), list.Entries[0].Name);
}

// ---- lists written by other tools ----

namespace {

struct KnownFile {
    const wchar_t* Name;
    const char* Crc;
    const char* Md5;
    const char* Sha1;
    const wchar_t* Size;
};

// values as rhash 1.4.3 printed them for the sample files
const KnownFile SampleFiles[] = {
    {L"a.txt", "363A3020", "B1946AC92492D2347C6235B4D2611184", "F572D396FAE9206628714FB2CE00F72E94F2258F", L"6"},
    {L"empty file.bin", "00000000", "D41D8CD98F00B204E9800998ECF8427E", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709",
        L"0"},
    {L"sub/zeros.dat", "DA865B0D", "0EFA007088F326BBC072C34315F3EDB8", "790FECB4D723ABEFD9F4E167F19EB7E583AAFE04",
        L"3,000"},
    {L"sub/comma,name.txt", "B54B42CC", "F10BC3C94B77E1D6B9F98106DAF335C1",
        "A9A162101845DC0923FB933B81716015F4F16BD2", L"3"},
};

const KnownFile* FindSample(const std::wstring& name)
{
    for (const KnownFile& file : SampleFiles) {
        if (name == file.Name)
            return &file;
    }
    return nullptr;
}

// every entry is a sample file with the values of the kinds given; returns the number of entries
size_t ExpectSampleEntries(const HashListImport& list, const HashKindFlags& kinds, bool sizes)
{
    for (const HashListEntry& entry : list.Entries) {
        const KnownFile* file = FindSample(entry.Name);
        if (file == nullptr) {
            ADD_FAILURE() << "unexpected entry";
            continue;
        }
        const char* values[] = {file->Crc, file->Md5, file->Sha1};
        for (int kind = 0; kind < HashKind::Count; ++kind)
            EXPECT_EQ(kinds[kind] ? W(values[kind]) : std::wstring(), entry.HashTexts[kind]);
        EXPECT_EQ(sizes ? std::wstring(file->Size) : std::wstring(L"-"), entry.SizeText);
    }
    return list.Entries.size();
}

HashListImport ParseSample(const std::string& file, const HashKindFlags& enabled = AllKinds)
{
    std::filesystem::path path = std::filesystem::path(JUXTA_TEST_DATA) / "hashlists" / file;
    std::string bytes = ReadFileBytes(path);
    EXPECT_FALSE(bytes.empty()) << path;
    return HashListParser::Parse(Widen(path.extension().string()), SplitLines(bytes), enabled, FakeToWide);
}

} // namespace

TEST(HashListParser, OtherTools_storedSamples)
{
    const HashKindFlags crc = {{true, false, false}};
    EXPECT_EQ(4u, ExpectSampleEntries(ParseSample("rhash.sfv"), crc, false));
    EXPECT_EQ(3u, ExpectSampleEntries(ParseSample("cksfv.sfv"), crc, false));
    HashListImport csv = ParseSample("rhash.csv", CrcOnly);
    EXPECT_EQ(4u, ExpectSampleEntries(csv, AllKinds, true));
    EXPECT_EQ((HashKindFlags{{false, true, true}}), csv.SwitchOn);
    EXPECT_EQ(3u, ExpectSampleEntries(ParseSample("rhash-tab.txt"), HashKindFlags{{true, true, false}}, true));
    HashListImport columns = ParseSample("rhash-columns.txt");
    EXPECT_EQ(HashListGrammar::Text, columns.Grammar);
    // the text form keeps sizes as written
    ASSERT_EQ(4u, columns.Entries.size());
    EXPECT_EQ(L"3000", columns.Entries[2].SizeText);
    EXPECT_EQ(W(SampleFiles[2].Md5), columns.Entries[2].HashTexts[HashKind::Md5]);
}

#ifndef _WIN32
TEST(HashListParser, OtherTools_writtenNow)
{
    if (std::system("command -v rhash >/dev/null && command -v cksfv >/dev/null") != 0)
        GTEST_SKIP() << "rhash or cksfv not installed";
    TempFolder folder;
    std::filesystem::create_directories(folder.Path / "sub");
    WriteFileBytes(folder.Path / "a.txt", "hello\n");
    WriteFileBytes(folder.Path / "empty file.bin", "");
    WriteFileBytes(folder.Path / "sub" / "zeros.dat", std::string(3000, '\0'));
    WriteFileBytes(folder.Path / "sub" / "comma,name.txt", "x,y");
    std::string files = " a.txt 'empty file.bin' sub/zeros.dat 'sub/comma,name.txt'";
    std::string cd = "cd '" + folder.Path.string() + "' && ";
    ASSERT_EQ(0, std::system((cd + "rhash --sfv" + files + " > out.sfv").c_str()));
    ASSERT_EQ(0, std::system((cd + "cksfv a.txt 'empty file.bin' sub/zeros.dat > cksfv.sfv").c_str()));
    ASSERT_EQ(0, std::system((cd + "rhash --printf '\"%p\",%C,%M,%H,%s\\r\\n'" + files + " > out.csv").c_str()));
    ASSERT_EQ(0, std::system((cd + "rhash --printf '%p  %c  %s\\n'" + files + " > out.txt").c_str()));

    auto parse = [&](const std::string& file, const HashKindFlags& enabled) {
        std::filesystem::path path = folder.Path / file;
        return HashListParser::Parse(Widen(path.extension().string()), SplitLines(ReadFileBytes(path)), enabled,
            FakeToWide);
    };
    const HashKindFlags crc = {{true, false, false}};
    EXPECT_EQ(4u, ExpectSampleEntries(parse("out.sfv", AllKinds), crc, false));
    EXPECT_EQ(3u, ExpectSampleEntries(parse("cksfv.sfv", AllKinds), crc, false));
    EXPECT_EQ(4u, ExpectSampleEntries(parse("out.csv", AllKinds), AllKinds, true));
    HashListImport text = parse("out.txt", AllKinds);
    ASSERT_EQ(4u, text.Entries.size());
    EXPECT_EQ(L"363A3020", text.Entries[0].HashTexts[HashKind::Crc32]);
    EXPECT_EQ(L"sub/comma,name.txt", text.Entries[3].Name);
}
#endif
