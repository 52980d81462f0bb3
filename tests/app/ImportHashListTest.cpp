// Hash lists registered in place of the files they list, read from real files into a real main window's lists.
#include "tests/app/MainWindowTesting.h"

#include "app/check/Registration.h"
#include "app/check/CheckHashManager.h"
#include "app/lists/ImportHashList.h"

#include <algorithm>

namespace {

class ImportHashListTest : public MainWindowFixture {
protected:
    // a main window with the given kinds switched on
    Juxta& StartWith(bool crc32, bool md5, bool sha1)
    {
        kit::SettingsNode stored;
        stored.SetBool(L"Crc32", crc32);
        stored.SetBool(L"Md5", md5);
        stored.SetBool(L"Sha1", sha1);
        return Start(stored);
    }
    bool Import(int side, const std::wstring& name, const std::string& bytes)
    {
        return ImportHashList(Folder.WriteFile(name, bytes), List(side));
    }
    const std::vector<PendingRecord>& Pending(int side) { return List(side).Pending; }
};

const std::wstring NoHash;
const std::string Md5Lower = "0123456789abcdef0123456789abcdef";
const std::wstring Md5Upper = L"0123456789ABCDEF0123456789ABCDEF";
const std::wstring Sha1 = L"0123456789ABCDEF0123456789ABCDEF01234567";

TEST_F(ImportHashListTest, Sfv_commentsSkippedValuesUpperCasedExtensionInAnyCase)
{
    StartWith(true, true, false);
    ASSERT_TRUE(Import(0, L"list.SFV",
        "; a comment\r\n   ; an indented comment\r\nfile name.bin  1a2b3c4d\r\nsub\\b.bin " + Md5Lower
            + "\r\nno hash here\r\nlast.bin 0000FFFF"));
    const std::vector<PendingRecord>& records = Pending(0);
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(L"file name.bin", records[0].Path);
    EXPECT_EQ(L"1A2B3C4D", records[0].ImportedHash(HashKind::Crc32));
    EXPECT_EQ(L"-", records[0].ImportedSize());
    EXPECT_EQ(L"", records[0].RelativeKey());
    EXPECT_EQ(L"sub\\b.bin", records[1].Path);
    EXPECT_EQ(L"b.bin", records[1].NameKey());
    EXPECT_EQ(Md5Upper, records[1].ImportedHash(HashKind::Md5));
    EXPECT_EQ(NoHash, records[1].ImportedHash(HashKind::Crc32));
    // the last line has no line end and still counts
    EXPECT_EQ(L"last.bin", records[2].Path);
}

TEST_F(ImportHashListTest, Sfv_kindSwitchedOffSkipsItsValuesAndNothingLeftIsFalse)
{
    StartWith(false, true, false);
    EXPECT_FALSE(Import(0, L"list.sfv", "file name.bin  1A2B3C4D\r\n"));
    EXPECT_TRUE(Pending(0).empty());
}

TEST_F(ImportHashListTest, TextForm_titleRuleEntriesFooterWithSizesAsWritten)
{
    StartWith(true, true, false);
    const std::string md5 = "0123456789ABCDEF0123456789ABCDEF";
    ASSERT_TRUE(Import(1, L"out.txt",
        "Name       CRC32     MD5                               Bytes\r\n"
        "---------  --------  --------------------------------  -------------\r\n"
        "a.bin      1A2B3C4D  " + md5 + "          1,234\r\n"
        "big file   00000000  " + md5 + "  5,000,000,000\r\n"
        "c          FFFFFFFF  " + md5 + "              0\r\n"
        "--------------------------------------------------------------------\r\n"
        "Total  3 Files  5,000,001,234 Bytes\r\n"));
    const std::vector<PendingRecord>& records = Pending(1);
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(L"a.bin", records[0].Path);
    EXPECT_EQ(L"1,234", records[0].ImportedSize());
    EXPECT_EQ(L"big file", records[1].Path);
    EXPECT_EQ(L"5,000,000,000", records[1].ImportedSize());
    EXPECT_EQ(L"00000000", records[1].ImportedHash(HashKind::Crc32));
    EXPECT_EQ(Md5Upper, records[1].ImportedHash(HashKind::Md5));
    EXPECT_EQ(L"c", records[2].Path);
    EXPECT_EQ(L"0", records[2].ImportedSize());
}

TEST_F(ImportHashListTest, TextForm_emptyLineRejectsTheWholeFile)
{
    StartWith(true, false, false);
    EXPECT_FALSE(Import(0, L"list.txt", "a.bin  1A2B3C4D  12\r\n\r\nb.bin  1A2B3C4D  13\r\n"));
    EXPECT_TRUE(Pending(0).empty());
}

TEST_F(ImportHashListTest, Csv_titleQuotedNameAndKindSwitchedOn)
{
    StartWith(false, false, false);
    ASSERT_EQ(-1, Main->GetHashColumn(HashKind::Crc32));
    ASSERT_TRUE(Import(0, L"list.csv", "Name,CRC32,Bytes\r\n\"a,b.bin\",1a2b3c4d,1234\r\nc.bin,00000001,5000000000\r\n"));
    EXPECT_TRUE(Main->GetSettings().GetBool(L"Crc32", false));
    EXPECT_GE(Main->GetHashColumn(HashKind::Crc32), 0);
    const std::vector<PendingRecord>& records = Pending(0);
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(L"a,b.bin", records[0].Path);
    EXPECT_EQ(L"1A2B3C4D", records[0].ImportedHash(HashKind::Crc32));
    EXPECT_EQ(L"1,234", records[0].ImportedSize());
    EXPECT_EQ(L"5,000,000,000", records[1].ImportedSize());
}

TEST_F(ImportHashListTest, Csv_secondTitleLineRejects)
{
    StartWith(true, false, false);
    EXPECT_FALSE(Import(0, L"list.csv", "Name,CRC32,Bytes\r\nagain,title,here\r\na.bin,1A2B3C4D,1234\r\n"));
    EXPECT_TRUE(Pending(0).empty());
}

TEST_F(ImportHashListTest, Tsv_allThreeKindsThroughATxtExtension)
{
    StartWith(true, true, true);
    ASSERT_TRUE(Import(0, L"list.txt",
        "dir\\xy.bin\t1A2B3C4D\t" + Md5Lower + "\t0123456789abcdef0123456789abcdef01234567\t42\r\n"));
    const std::vector<PendingRecord>& records = Pending(0);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"dir\\xy.bin", records[0].Path);
    EXPECT_EQ(L"xy.bin", records[0].NameKey());
    EXPECT_EQ(L"dir\\xy.bin", records[0].PathKey);
    EXPECT_EQ(Md5Upper, records[0].ImportedHash(HashKind::Md5));
    EXPECT_EQ(Sha1, records[0].ImportedHash(HashKind::Sha1));
    EXPECT_EQ(L"42", records[0].ImportedSize());
}

TEST_F(ImportHashListTest, NoListExtensionOrMissingFileIsFalse)
{
    StartWith(true, false, false);
    EXPECT_FALSE(Import(0, L"list.dat", "a.bin 1A2B3C4D\r\n"));
    EXPECT_FALSE(ImportHashList(Folder.PathOf(L"missing.sfv"), List(0)));
    EXPECT_FALSE(Import(0, L"empty.sfv", ""));
    EXPECT_TRUE(Pending(0).empty());
}

TEST_F(ImportHashListTest, Registration_listWithoutValuesIsRegisteredAsAFile)
{
    StartWith(true, false, false);
    // a table of numbers: entries with sizes, but no hash value
    const std::wstring path = Folder.WriteFile(L"shopping.csv", "milk,2\r\neggs,12\r\n");
    Registration::RegisterBatch(List(0), {path}, true);
    harness::PumpUntil([this] { return !Main->GetChecker() || !Main->GetChecker()->IsChecking(); }, 30000);
    ASSERT_EQ(1, List(0).GetItemCount());
    EXPECT_EQ(path, Cell(0, 0, 0));
    FileListView::ItemInfo info;
    ASSERT_TRUE(List(0).GetItemInfo(0, info));
    EXPECT_EQ(L"shopping.csv", info.RelativeKey);
    EXPECT_EQ(L"", info.SizeText);
}

// lists that md5sum and rhash wrote, in UTF-8 and in code page 932, read by the program's own conversion
TEST_F(ImportHashListTest, OtherTools_utf8AndCodePage932ListsKeepEveryName)
{
    StartWith(true, false, false);
    const std::wstring japanese = L"\u30C7\u30FC\u30BF/\u8AAD\u307F\u8FBC\u307F \u30C6\u30B9\u30C8.bin";
    for (const char* file : {"utf8/md5sum.md5", "cp932/md5sum-b.md5", "utf8/rhash-bsd.txt", "cp932/rhash-bsd.txt"}) {
        SCOPED_TRACE(file);
        std::string unix = std::string(JUXTA_TEST_DATA) + "/hashlists/" + file;
        std::replace(unix.begin(), unix.end(), '/', '\\');
        List(0).Pending.clear();
        ASSERT_TRUE(ImportHashList(L"Z:" + std::wstring(unix.begin(), unix.end()), List(0)));
        const std::vector<PendingRecord>& records = Pending(0);
        ASSERT_EQ(5u, records.size());
        EXPECT_EQ(L"empty file.bin", records[1].Path);
        EXPECT_EQ(L"D41D8CD98F00B204E9800998ECF8427E", records[1].ImportedHash(HashKind::Md5));
        EXPECT_EQ(japanese, records[2].Path);
        EXPECT_EQ(L"\u8AAD\u307F\u8FBC\u307F \u30C6\u30B9\u30C8.bin", records[2].NameKey());
        EXPECT_EQ(L"5902335B2404DAA57E9D1581EB894576", records[2].ImportedHash(HashKind::Md5));
        EXPECT_EQ(L"dir2/readme.txt", records[4].Path);
        EXPECT_EQ(L"readme.txt", records[4].NameKey());
    }
    // the lists carry MD5 and SHA-1, which are switched on for them
    EXPECT_TRUE(Main->GetSettings().GetBool(L"Md5", false));
    EXPECT_TRUE(Main->GetSettings().GetBool(L"Sha1", false));
    EXPECT_EQ(L"D6CD9D5B13D82D0C309053BD79A2ECCE64B10908", Pending(0)[2].ImportedHash(HashKind::Sha1));
    List(0).Pending.clear();
}

TEST_F(ImportHashListTest, Registration_acceptedListBecomesRowsWithStoredValues)
{
    StartWith(true, false, false);
    const std::wstring path = Folder.WriteFile(L"list.sfv", "a.bin 1A2B3C4D\r\nb.bin 00000000\r\n");
    Registration::RegisterBatch(List(1), {path}, true);
    harness::PumpUntil([this] { return !Main->GetChecker() || !Main->GetChecker()->IsChecking(); }, 30000);
    ASSERT_EQ(2, List(1).GetItemCount());
    EXPECT_EQ(L"a.bin", Cell(1, 0, 0));
    EXPECT_EQ(L"b.bin", Cell(1, 1, 0));
    FileListView::ItemInfo info;
    ASSERT_TRUE(List(1).GetItemInfo(0, info));
    EXPECT_EQ(L"1A2B3C4D", info.HashTexts[HashKind::Crc32]);
    EXPECT_EQ(L"-", info.SizeText);
    EXPECT_EQ(L"", info.RelativeKey);
}

} // namespace
